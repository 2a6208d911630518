// The res: protocol of the program's HTML views.
//
// "res://" + the running executable's path + "/" + type + "/" + name names a
// resource compiled into the program (Qt's resource system, under
// ":/res/TYPE/NAME" with both parts in capitals). Type and name match without
// regard to case. A URL whose path is just "/TYPE/NAME" (what a relative
// link inside a res: page resolves to) names the same executable's resource.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace morvex::gui {

inline constexpr char kResScheme[] = "res";

// "res://" + executable path + "/" + type + "/" + name.
QString ResUrl(const QString& type, const QString& name);

// The bytes of the resource a res: URL names; nullopt when it names none
// (another scheme, another executable, an unknown resource).
std::optional<QByteArray> LoadResUrl(const QUrl& url);

// The same for a res: URL given as text, as the pages write it.
std::optional<QByteArray> LoadResUrl(const QString& url);

}  // namespace morvex::gui
