// An HTML panel of the main window: shows a page given as Windows-1251 text
// or loads one from a res: URL. Pictures and links inside a page resolve
// through the res: protocol (res_protocol.h).
#pragma once

#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <string>

namespace morvex::gui {

// Qt's rich text reads a bgcolor of six hexadecimal digits only with a
// leading "#" (without one it paints black). Returns the HTML with "#" put
// before such values inside tags; text outside tags is left alone.
QString WithHashedColours(const QString& html);

// A page in Windows-1251 bytes as the text Qt's rich-text engine is given.
QString PageForDisplay(const std::string& cp1251Page);

class HtmlView : public QTextBrowser {
  Q_OBJECT

 public:
  explicit HtmlView(QWidget* parent = nullptr);

  // Shows the page (Windows-1251 bytes) in place of the one shown.
  void SetPageText(const std::string& cp1251Page);
  // Loads the page a res: URL names and shows it in place of the one shown.
  void Navigate(const QString& url);

  // The page last given to SetPageText, or the bytes of the page last
  // navigated to.
  const std::string& pageBytes() const { return pageBytes_; }

 protected:
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  std::string pageBytes_;
};

}  // namespace morvex::gui
