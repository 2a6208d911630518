// The program's name, version and About text.
#pragma once

#include <QString>

namespace morvex::gui {

inline const QString kApplicationTitle = QStringLiteral("Morvex Demo");
// The project's version, given by the build.
inline const QString kVersion = QStringLiteral(MORVEX_DEMO_VERSION);
// The title label's own text; the version is appended when the window is made.
inline const QString kTitleLabelText = QStringLiteral("Morvex Demo v");

inline const QString kAboutCaption = QStringLiteral("About");
// "Morvex Demo", the version line, then three contact lines.
QString AboutText();

}  // namespace morvex::gui
