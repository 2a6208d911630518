// The pictures and pages compiled into the program.
#pragma once

#include <QString>

namespace morvex::gui {

// Registers the compiled-in resources; safe to call any number of times.
void InitGuiResources();

// Qt resource paths of the window's own pictures.
inline const QString kSplashPicture = QStringLiteral(":/gui/splash.png");
inline const QString kBlueButtonStrip = QStringLiteral(":/gui/jet_blue.png");
inline const QString kGreyButtonStrip = QStringLiteral(":/gui/jet_grey.png");
inline const QString kProgramIcon = QStringLiteral(":/gui/morvex-demo.png");

}  // namespace morvex::gui
