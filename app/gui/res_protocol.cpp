#include "res_protocol.h"

#include <QFile>
#include <QStringList>

#include "gui_resources.h"
#include "morvex/app/html.h"

namespace morvex::gui {
namespace {

QString ExecutablePath() { return QString::fromStdString(app::ExecutablePath()); }

// The "/TYPE/NAME" part of a res: URL's path, or an empty text when the path
// names another executable.
QString ResourcePart(const QString& path) {
  const QString exe = ExecutablePath();
  if (!exe.isEmpty() && path.startsWith(exe + QLatin1Char('/'))) return path.mid(exe.size());
  if (path.count(QLatin1Char('/')) == 2 && path.startsWith(QLatin1Char('/'))) return path;
  return {};
}

std::optional<QByteArray> LoadResource(const QString& resourcePart) {
  const QStringList parts = resourcePart.split(QLatin1Char('/'));
  // "/TYPE/NAME" splits into "", TYPE, NAME.
  if (parts.size() != 3 || parts[1].isEmpty() || parts[2].isEmpty()) return std::nullopt;
  InitGuiResources();
  QFile file(QStringLiteral(":/res/") + parts[1].toUpper() + QLatin1Char('/') + parts[2].toUpper());
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

}  // namespace

QString ResUrl(const QString& type, const QString& name) {
  return QStringLiteral("res://") + ExecutablePath() + QLatin1Char('/') + type + QLatin1Char('/') + name;
}

std::optional<QByteArray> LoadResUrl(const QUrl& url) {
  if (url.scheme().compare(QLatin1String(kResScheme), Qt::CaseInsensitive) != 0) return std::nullopt;
  // "res:///path/exe/TYPE/NAME": the executable's path is the URL's path.
  // A host part appears only when the text had no third slash; it is part
  // of the path then.
  QString path = url.path(QUrl::FullyDecoded);
  if (!url.host().isEmpty()) path = QLatin1Char('/') + url.host() + path;
  const QString part = ResourcePart(path);
  if (part.isEmpty()) return std::nullopt;
  return LoadResource(part);
}

std::optional<QByteArray> LoadResUrl(const QString& url) {
  const QString prefix = QStringLiteral("res://");
  if (!url.startsWith(prefix, Qt::CaseInsensitive)) return std::nullopt;
  const QString part = ResourcePart(url.mid(prefix.size()));
  if (part.isEmpty()) return std::nullopt;
  return LoadResource(part);
}

}  // namespace morvex::gui
