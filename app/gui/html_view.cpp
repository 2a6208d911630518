#include "html_view.h"

#include <QRegularExpression>
#include <QTextDocument>

#include "morvex/app/cp1251.h"
#include "res_protocol.h"

namespace morvex::gui {

QString WithHashedColours(const QString& html) {
  static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
  static const QRegularExpression colour(QStringLiteral("(\\bbgcolor\\s*=\\s*[\"']?)([0-9A-Fa-f]{6})(?![0-9A-Za-z])"),
                                         QRegularExpression::CaseInsensitiveOption);
  QString out;
  out.reserve(html.size() + 64);
  qsizetype done = 0;
  for (auto it = tag.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    out += QStringView(html).mid(done, m.capturedStart() - done);
    QString t = m.captured();
    t.replace(colour, QStringLiteral("\\1#\\2"));
    out += t;
    done = m.capturedEnd();
  }
  out += QStringView(html).mid(done);
  return out;
}

QString PageForDisplay(const std::string& cp1251Page) {
  return WithHashedColours(QString::fromStdString(app::FromCp1251(cp1251Page)));
}

HtmlView::HtmlView(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  setUndoRedoEnabled(false);
  // Break lines between words only, as browsers do: a word wider than its
  // table cell ("#######" in a 60 pixel cell) widens the cell instead.
  setWordWrapMode(QTextOption::WordWrap);
}

void HtmlView::SetPageText(const std::string& cp1251Page) {
  pageBytes_ = cp1251Page;
  // A page set as text has no address of its own: links in it resolve like
  // those of the program's res: pages.
  document()->setBaseUrl(QUrl());
  setHtml(PageForDisplay(cp1251Page));
}

void HtmlView::Navigate(const QString& url) {
  const QUrl target(url);
  const auto bytes = LoadResUrl(target);
  pageBytes_ = bytes ? bytes->toStdString() : std::string();
  // QTextBrowser skips loading when the address equals the current one,
  // although a page set as text may have replaced that page since.
  if (source() == target)
    reload();
  else
    setSource(target, QTextDocument::HtmlResource);
}

QVariant HtmlView::loadResource(int type, const QUrl& name) {
  const auto bytes = LoadResUrl(name);
  if (!bytes) return QTextBrowser::loadResource(type, name);
  if (type == QTextDocument::HtmlResource) return PageForDisplay(bytes->toStdString());
  return *bytes;
}

}  // namespace morvex::gui
