// The HTML views: the res: protocol, Windows-1251 pages, colours without "#",
// the tiled background and the help page.
#include <gtest/gtest.h>

#include <QImage>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "html_view.h"
#include "morvex/app/cp1251.h"
#include "morvex/app/html.h"
#include "morvex/app/result_page.h"
#include "res_protocol.h"

namespace morvex::gui {
namespace {

QString Exe() { return QString::fromStdString(app::ExecutablePath()); }

struct ResCase {
  QString url;
  bool found;
};

TEST(ResProtocol, FindsTheCompiledResourcesByTypeAndNameInAnyCase) {
  const ResCase cases[] = {
      {"res://" + Exe() + "/RT_RCDATA/bgimg", true},
      {"res://" + Exe() + "/RT_RCDATA/BGIMG", true},
      {"res://" + Exe() + "/rt_rcdata/BgImg", true},
      {"res://" + Exe() + "/RT_HTML/helphtml", true},
      {"res:///RT_RCDATA/bgimg", true},                 // a relative link resolved against a res: page
      {"res://" + Exe() + "/RT_HTML/bgimg", false},     // right name, wrong type
      {"res://" + Exe() + "/RT_RCDATA/nothing", false},
      {"res://" + Exe() + "/RT_RCDATA", false},
      {"res:///usr/bin/other/RT_RCDATA/bgimg", false},  // another executable
      {"file://" + Exe() + "/RT_RCDATA/bgimg", false},
  };
  for (const ResCase& c : cases) {
    EXPECT_EQ(LoadResUrl(QUrl(c.url)).has_value(), c.found) << c.url.toStdString();
    EXPECT_EQ(LoadResUrl(c.url).has_value(), c.found) << c.url.toStdString();
  }
}

TEST(ResProtocol, TheBackgroundIsLightBlueAtBothEndsAndWhiteInTheMiddle) {
  const auto bytes = LoadResUrl(QString::fromStdString(app::BackgroundUrl()));
  ASSERT_TRUE(bytes);
  const QImage image = QImage::fromData(*bytes, "JPEG");
  ASSERT_EQ(image.size(), QSize(300, 5));
  for (const int x : {0, 299}) {
    const QColor end = image.pixelColor(x, 2);
    EXPECT_GT(end.blue(), end.red() + 30) << x;
    EXPECT_GT(end.lightness(), 180) << x;
  }
  const QColor middle = image.pixelColor(150, 2);
  EXPECT_GE(middle.red(), 250);
  EXPECT_GE(middle.blue(), 250);
}

struct ColourCase {
  QString in, out;
};

TEST(HtmlView, PutsTheHashBeforeBareColoursInsideTagsOnly) {
  const ColourCase cases[] = {
      {"<td width=130 bgcolor=FFC4C4>", "<td width=130 bgcolor=#FFC4C4>"},
      {"<tr bgcolor=\"C5C5D0\">", "<tr bgcolor=\"#C5C5D0\">"},
      {"<TR BGCOLOR=e0e0ec>x", "<TR BGCOLOR=#e0e0ec>x"},
      {"<td bgcolor=#AAD2FF>", "<td bgcolor=#AAD2FF>"},     // already there
      {"<td bgcolor=red>", "<td bgcolor=red>"},             // a colour name
      {"<td bgcolor=ABCDEF1>", "<td bgcolor=ABCDEF1>"},     // not six digits
      {"<p>bgcolor=ABCDEF</p>", "<p>bgcolor=ABCDEF</p>"},   // page text
  };
  for (const ColourCase& c : cases) EXPECT_EQ(WithHashedColours(c.in), c.out) << c.in.toStdString();
}

// The first table of a view's document.
QTextTable* FirstTable(QTextDocument* doc) {
  for (QTextFrame* f : doc->rootFrame()->childFrames())
    if (auto* t = qobject_cast<QTextTable*>(f)) return t;
  return nullptr;
}

TEST(HtmlView, ShowsAResultPageWithItsCellColoursAndTiledBackground) {
  HtmlView view;
  AnalisysResult r;
  r.Zone1Number = "1234567";
  r.Zone2Number = "12*4567";
  r.Denomination = 500;
  const std::string page = app::ResultPage(app::FileResultTitle("Note-ё.bmp"), r);
  view.SetPageText(page);
  EXPECT_EQ(view.pageBytes(), page);  // the page itself is kept as built

  const QString text = view.toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("Результат анализа файла Note-ё.bmp"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Красная зона (1)")));
  EXPECT_TRUE(text.contains(QStringLiteral("12*4567")));

  QTextTable* table = FirstTable(view.document());
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->rows(), 3);
  EXPECT_EQ(table->cellAt(0, 0).format().background().color(), QColor(0xFF, 0xC4, 0xC4));
  EXPECT_EQ(table->cellAt(1, 0).format().background().color(), QColor(0xAA, 0xD2, 0xFF));
  EXPECT_EQ(table->cellAt(2, 0).format().background().color(), QColor(0xC0, 0xFF, 0xC0));

  // The body's background is the compiled-in picture, as a texture.
  const QBrush background = view.document()->rootFrame()->frameFormat().background();
  EXPECT_EQ(background.textureImage().size(), QSize(300, 5));
}

// The help page's texts, in Windows-1251, exactly.
TEST(HtmlView, TheHelpPageHoldsItsTextsInWindows1251) {
  const auto bytes = LoadResUrl(ResUrl(QStringLiteral("RT_HTML"), QStringLiteral("helphtml")));
  ASSERT_TRUE(bytes);
  const std::string raw = bytes->toStdString();
  const std::string utf8 = app::FromCp1251(raw);
  EXPECT_EQ(app::ToCp1251(utf8), raw);  // nothing outside the code page
  const char* texts[] = {
      "<title>Morvex Demo Help</title>",
      "charset=windows-1251",
      "<body background=\"/RT_RCDATA/bgimg\">",
      "Справка по Morvex Demo.",
      "&nbsp;Morvex Demo - демонстрационная программа по распознаванию номеров денежных купюр РФ.",
      "<b>Функции программы:</b>",
      "пакетная обработка группы файлов изображений купюр с подсчётом статистики успешных распознаваний по "
      "каждой зоне с номером, по верному номеру хотя бы в одной зоне и по определению достоинства купюры (в "
      "случае именования файлов в соответствии с шаблоном).",
      "<b>Ограничения программы:</b>",
      "не распознаётся серия купюры;",
      "купюра должна располагаться под углом не более 30&deg;;",
      "фон должен быть близок к чёрному, а купюра достаточно контрастно выделяться на нём.",
      "<b>Шаблон имени файла для пакетного анализа</b>",
      "<i>Note-dpi-s-o-vvvv-SSnnnnnnn.bmp,</i>",
      "сторона купюры на изображении. 1 - с номером, 0 -без номера;",
      "ориентация купюры. 1 - прямая, 0 - перевёрнутая;",
      "При пакетной обработке итоговые результаты выводятся на панели \"Результаты\", разультаты анализа "
      "каждого файла выводятся на панели \"Отчёт\".",
      "<b>Прочее</b>",
      "\"Зоной 1\" (красная зона) называется номер расположенный в правой части банкноты, \"зоной 2\" (синяя "
      "зона) - номер с левой стороны при нормальной ориентации купюры.",
  };
  for (const char* t : texts) EXPECT_NE(utf8.find(t), std::string::npos) << t;
}

TEST(HtmlView, NavigatesToTheHelpPageWhoseRelativeBackgroundIsFound) {
  HtmlView view;
  view.SetPageText(app::BlankPage());
  const QString help = ResUrl(QStringLiteral("RT_HTML"), QStringLiteral("helphtml"));
  for (int i = 0; i < 2; ++i) {
    view.Navigate(help);
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("Справка по Morvex Demo."))) << i;
    EXPECT_TRUE(view.toPlainText().contains(QStringLiteral("перевёрнутая"))) << i;
    EXPECT_EQ(view.document()->rootFrame()->frameFormat().background().textureImage().size(), QSize(300, 5)) << i;
    // A page set as text in between must not keep the help page from coming back.
    view.SetPageText(app::BlankPage());
    EXPECT_FALSE(view.toPlainText().contains(QStringLiteral("Справка"))) << i;
  }
}

}  // namespace
}  // namespace morvex::gui
