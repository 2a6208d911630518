// The main window: its start state, the file browser and the file command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextFrame>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "bitmap_image.h"
#include "bmp_file_list.h"
#include "collapse_splitter.h"
#include "folder_tree.h"
#include "gradient_button.h"
#include "gui_support.h"
#include "html_view.h"
#include "jet_button.h"
#include "morvex/app/cp1251.h"
#include "morvex/app/html.h"
#include "morvex/app/result_page.h"
#include "morvex/bmp.h"
#include "morvex/engine.h"
#include "picture_box.h"

namespace morvex::gui::test {
namespace {

TEST(MoneyForm, StartsWithBlankPagesCollapsedReportAndTheTitle) {
  WindowFixture w;
  TMoneyForm& f = w.form();
  EXPECT_EQ(f.size(), QSize(772, 588));
  EXPECT_TRUE(f.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(f.palette().color(QPalette::Window), QColor(233, 233, 233));
  EXPECT_EQ(f.resultsView()->pageBytes(), app::BlankPage());
  EXPECT_EQ(f.reportView()->pageBytes(), app::BlankPage());
  EXPECT_EQ(f.resultsView()->document()->rootFrame()->frameFormat().background().textureImage().size(),
            QSize(300, 5));
  EXPECT_TRUE(f.bodySplitter()->isCollapsed(TMoneyForm::ReportPanel));
  EXPECT_FALSE(f.bodySplitter()->isCollapsed(TMoneyForm::LeftPanel));
  EXPECT_EQ(f.statusLabel()->text(), QStringLiteral("#####"));
  EXPECT_EQ(f.titleLabel()->text(), QStringLiteral("Morvex Demo v0.971"));
  EXPECT_EQ(f.reportGroup()->title(), QStringLiteral("Отчёт"));
  EXPECT_TRUE(f.referenceDigits().loaded());
  EXPECT_TRUE(f.scanButton()->isEnabled());
  EXPECT_FALSE(f.renameBox()->isChecked());
  EXPECT_TRUE(f.renameBox()->isEnabled());
}

TEST(MoneyForm, ThePanelsHaveTheirSizes) {
  WindowFixture w;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form()));
  CollapseSplitter* body = w.form().bodySplitter();
  EXPECT_EQ(body->widget(TMoneyForm::LeftPanel)->width(), 233);
  EXPECT_EQ(body->height(), 588 - 28 - 41 - 24);
  EXPECT_EQ(w.form().folderTree()->height(), 170);
  EXPECT_EQ(w.form().resultsView()->parentWidget()->height(), 185);  // the "Результаты" group
  w.form().HelpClick();
  EXPECT_EQ(body->widget(TMoneyForm::ReportPanel)->width(), 388);
  EXPECT_EQ(w.form().statusLabel()->width(), 585);
}

TEST(MoneyForm, ClosingTheWindowFreesTheReferenceDigits) {
  WindowFixture w;
  ASSERT_TRUE(w.form().referenceDigits().loaded());
  w.form().close();
  EXPECT_FALSE(w.form().referenceDigits().loaded());
  EXPECT_FALSE(w.form().isVisible());
}

struct FilterCase {
  const char* name;
  bool shown;
};

TEST(MoneyForm, ListsOnlyFilesWithTheBmpExtensionInAnyCase) {
  const FilterCase cases[] = {
      {"x.bmp", true},   {"x.BMP", true},    {"y.Bmp", true},     {".hidden.bmp", true},
      {"x.bmp.txt", false}, {"x.bmpx", false}, {"xbmp", false},   {"x.bm", false},
  };
  WindowFixture w;
  for (const FilterCase& c : cases) {
    EXPECT_EQ(w.form().ShellListView1AddFolder(QFileInfo(w.folder() + "/" + c.name)), c.shown) << c.name;
    WritePlainBmp(w.folderPath() / c.name, 2, 2);
  }
  std::filesystem::create_directory(w.folderPath() / "folder.bmp");  // folders are not listed
  ASSERT_TRUE(w.ShowFolder(4));
  const QStringList names = w.form().fileList()->shownNames();
  for (const FilterCase& c : cases) EXPECT_EQ(names.contains(QString::fromUtf8(c.name)), c.shown) << c.name;
  // Sorted by name.
  for (int i = 1; i < names.size(); ++i)
    EXPECT_LE(QString::localeAwareCompare(names[i - 1].toLower(), names[i].toLower()), 0) << names.join(' ').toStdString();
}

TEST(MoneyForm, TheListFollowsTheFolder) {
  WindowFixture w;
  WritePlainBmp(w.folderPath() / "a.bmp", 2, 2);
  ASSERT_TRUE(w.ShowFolder(1));
  WritePlainBmp(w.folderPath() / "b.bmp", 2, 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.form().fileList()->shownNames().contains("b.bmp"); }, 5000));
  std::filesystem::rename(w.folderPath() / "a.bmp", w.folderPath() / "c.bmp");
  EXPECT_TRUE(QTest::qWaitFor([&] {
    const QStringList n = w.form().fileList()->shownNames();
    return n.contains("c.bmp") && !n.contains("a.bmp");
  }, 5000));
}

TEST(MoneyForm, TheFolderTreeShowsFoldersOnlyAndFollowsChanges) {
  WindowFixture w;
  std::filesystem::create_directory(w.folderPath() / "sub");
  WritePlainBmp(w.folderPath() / "a.bmp", 2, 2);
  FolderTree* tree = w.form().folderTree();
  ASSERT_TRUE(tree->selectPath(w.folder() + "/sub"));
  EXPECT_EQ(tree->selectedPath(), w.folder() + "/sub");
  const QModelIndex folder = tree->currentIndex().parent();
  EXPECT_EQ(tree->model()->rowCount(folder), 1);  // "sub" and no file
  std::filesystem::create_directory(w.folderPath() / "later");
  EXPECT_TRUE(QTest::qWaitFor([&] { return tree->model()->rowCount(folder) == 2; }, 5000));
  // The root holds the home folder and the file-system root.
  const QModelIndex desktop = tree->model()->index(0, 0);
  QStringList tops;
  for (int r = 0; r < tree->model()->rowCount(desktop); ++r)
    tops << tree->model()->index(r, 0, desktop).data(FolderTree::kPathRole).toString();
  EXPECT_TRUE(tops.contains(QDir::rootPath()));
  EXPECT_TRUE(tops.contains(QDir::homePath()) || QDir::homePath() == QDir::rootPath());
}

TEST(MoneyForm, AFileCanBeRenamedInPlace) {
  WindowFixture w;
  WritePlainBmp(w.folderPath() / "old.bmp", 2, 2);
  ASSERT_TRUE(w.ShowFolder(1));
  ASSERT_TRUE(w.SelectFile("old.bmp"));
  BmpFileList* list = w.form().fileList();
  list->setFocus();
  QTest::keyClick(list, Qt::Key_F2);
  auto* editor = list->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "new.bmp");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(w.folderPath() / "new.bmp"); }, 5000));
  EXPECT_FALSE(std::filesystem::exists(w.folderPath() / "old.bmp"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return list->shownNames() == QStringList{"new.bmp"}; }, 5000));
  // Confirming the new name with Enter is not the file command.
  EXPECT_EQ(w.form().statusLabel()->text(), QStringLiteral("#####"));
}

TEST(MoneyForm, TheCloseButtonClosesTheMainForm) {
  RecordingMessages messages;
  TProgressForm progress;
  QWidget mainForm;
  mainForm.show();
  TMoneyForm form(progress, messages, &mainForm);
  form.show();
  QTest::mouseClick(form.closeButton(), Qt::LeftButton, {}, QPoint(12, 12));
  EXPECT_FALSE(mainForm.isVisible());
}

TEST(MoneyForm, TheMinimiseButtonMinimisesTheWindow) {
  WindowFixture w;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.form()));
  QTest::mouseClick(w.form().minimiseButton(), Qt::LeftButton, {}, QPoint(12, 12));
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.form().isMinimized(); }, 2000));
}

TEST(MoneyForm, SelectingAFileShowsItInThePreview) {
  WindowFixture w;
  WritePlainBmp(w.folderPath() / "a.bmp", 40, 20);
  WritePlainBmp(w.folderPath() / "b.bmp", 10, 30);
  ASSERT_TRUE(w.ShowFolder(2));
  ASSERT_TRUE(w.SelectFile("a.bmp"));
  EXPECT_EQ(w.form().preview()->image().size(), QSize(40, 20));
  QTest::keyClick(w.form().fileList(), Qt::Key_Down);
  EXPECT_EQ(w.form().preview()->image().size(), QSize(10, 30));
  EXPECT_TRUE(w.messages().errors.isEmpty());
}

TEST(MoneyForm, ADamagedFileIsReportedAndThePreviewKeepsItsImage) {
  WindowFixture w;
  WritePlainBmp(w.folderPath() / "a.bmp", 40, 20);
  WriteDamagedBmp(w.folderPath() / "b.bmp");
  ASSERT_TRUE(w.ShowFolder(2));
  ASSERT_TRUE(w.SelectFile("a.bmp"));
  const QImage before = w.form().preview()->image();
  ASSERT_TRUE(w.SelectFile("b.bmp"));
  ASSERT_EQ(w.messages().errors.size(), 1);
  EXPECT_EQ(w.messages().errors[0], QStringLiteral("Bitmap image is not valid"));
  EXPECT_EQ(w.form().preview()->image(), before);

  // The file command ends at the load: status of its first step, page and
  // preview unchanged, cursor back.
  w.form().GradBtn2Click();
  ASSERT_EQ(w.messages().errors.size(), 2);
  EXPECT_EQ(w.messages().errors[1], QStringLiteral("Bitmap image is not valid"));
  EXPECT_EQ(w.form().statusLabel()->text(), QStringLiteral("Обрабатывается файл b.bmp"));
  EXPECT_EQ(w.form().resultsView()->pageBytes(), app::BlankPage());
  EXPECT_EQ(w.form().preview()->image(), before);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The expected outcome of the file command, worked out with the engine
// directly.
struct Expected {
  std::string status;
  std::string page;
  Bitmap marked;
};

Expected Analyse(const std::filesystem::path& file, const ReferenceDigits& refs) {
  Bitmap image = LoadBmpFile(file);
  const std::string depth = app::BitDepthLabel(image);
  std::vector<std::string> details;
  AnalisysResult result;
  AnalyzeNote(image, true, &details, result, refs);
  Expected e;
  e.page = app::ResultPage(app::FileResultTitle(file.filename().string()), result);
  e.status = app::AnalysisStatusText(image, depth, details);
  e.marked = std::move(image);
  return e;
}

// Everything but the processing time, which differs from run to run.
std::string WithoutTime(const QString& status) {
  return status.left(status.indexOf(QStringLiteral("Время обработки: "))).toStdString();
}

TEST(MoneyForm, TheFileCommandShowsTheMarkedNoteItsStatusAndItsPage) {
  WindowFixture w;
  const std::string name = WriteNote(w.folderPath(), 1);
  ASSERT_TRUE(w.ShowFolder(1));
  ASSERT_TRUE(w.SelectFile(QString::fromStdString(name)));
  const Bitmap plain = LoadBmpFile(w.folderPath() / name);

  w.form().GradBtn2Click();
  ASSERT_TRUE(w.messages().errors.isEmpty()) << w.messages().errors.join('\n').toStdString();
  const Expected e = Analyse(w.folderPath() / name, w.form().referenceDigits());
  EXPECT_EQ(w.form().resultsView()->pageBytes(), e.page);
  const QString status = w.form().statusLabel()->text();
  EXPECT_EQ(WithoutTime(status), WithoutTime(QString::fromStdString(e.status)));
  const QString size = QString("Изображение: %1x%2x24  |  Банкнота: ").arg(plain.height()).arg(plain.width());
  EXPECT_TRUE(status.startsWith(size)) << status.toStdString();
  EXPECT_TRUE(status.contains(QStringLiteral("°  |  Время обработки: "))) << status.toStdString();
  // The note's number, read from the clean scan, is on the page.
  const std::string number = name.substr(name.size() - 11, 7);
  EXPECT_NE(app::FromCp1251(e.page).find(number), std::string::npos) << name;

  // The preview holds the engine's marked image: the same size, not the
  // plain file, with coloured outlines on the grey picture.
  const Bitmap& shown = w.form().previewBitmap();
  ASSERT_EQ(shown.width(), plain.width());
  ASSERT_EQ(shown.height(), plain.height());
  EXPECT_EQ(w.form().preview()->image(), ToQImage(e.marked));
  int coloured = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      const Colour c = shown.pixel(x, y);
      if (RedOf(c) != GreenOf(c) || GreenOf(c) != BlueOf(c)) ++coloured;
    }
  EXPECT_GT(coloured, 100);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(w.form().bodySplitter()->isCollapsed(TMoneyForm::ReportPanel));  // the report is not touched
}

TEST(MoneyForm, AnEightBitFileShowsEightAsItsDepth) {
  WindowFixture w;
  const std::string name = WriteNote(w.folderPath(), 2, /*grey8=*/true);
  ASSERT_TRUE(w.ShowFolder(1));
  ASSERT_TRUE(w.SelectFile(QString::fromStdString(name)));
  w.form().GradBtn2Click();
  const QString status = w.form().statusLabel()->text();
  EXPECT_TRUE(status.contains(QRegularExpression("^Изображение: \\d+x\\d+x8  \\|"))) << status.toStdString();
  EXPECT_EQ(w.form().previewBitmap().format(), PixelFormat::Rgb24);
}

// The three ways to start the file command.
struct Trigger {
  const char* how;
  std::function<void(TMoneyForm&)> run;
};

void DoubleClickItem(TMoneyForm& f) {
  BmpFileList* list = f.fileList();
  const QRect item = list->visualRect(list->currentIndex());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

const Trigger kTriggers[] = {
    {"button", [](TMoneyForm& f) { QTest::mouseClick(f.fileButton(), Qt::LeftButton); }},
    {"double click", DoubleClickItem},
    {"Enter", [](TMoneyForm& f) { QTest::keyClick(f.fileList(), Qt::Key_Return); }},
    {"keypad Enter", [](TMoneyForm& f) { QTest::keyClick(f.fileList(), Qt::Key_Enter, Qt::KeypadModifier); }},
};

TEST(MoneyForm, ButtonDoubleClickAndEnterRunTheSameFileCommand) {
  WindowFixture w;
  const std::string name = WriteNote(w.folderPath(), 3);
  ASSERT_TRUE(w.ShowFolder(1));
  ASSERT_TRUE(w.SelectFile(QString::fromStdString(name)));
  const std::string expected = Analyse(w.folderPath() / name, w.form().referenceDigits()).page;
  for (const Trigger& t : kTriggers) {
    w.form().resultsView()->SetPageText(app::BlankPage());
    w.form().statusLabel()->setText("#####");
    t.run(w.form());
    EXPECT_EQ(w.form().resultsView()->pageBytes(), expected) << t.how;
    EXPECT_TRUE(w.form().statusLabel()->text().startsWith(QStringLiteral("Изображение: "))) << t.how;
  }
  EXPECT_TRUE(w.messages().errors.isEmpty());
}

TEST(MoneyForm, WithNothingSelectedTheFileCommandDoesNothing) {
  WindowFixture w;
  WriteNote(w.folderPath(), 3);
  ASSERT_TRUE(w.ShowFolder(1));
  ASSERT_FALSE(w.form().fileList()->selectedItem());
  for (const Trigger& t : kTriggers) {
    if (std::string(t.how) == "double click") {
      // On empty space below the one item.
      QTest::mouseDClick(w.form().fileList()->viewport(), Qt::LeftButton, {}, QPoint(20, 150));
    } else {
      t.run(w.form());
    }
    EXPECT_EQ(w.form().statusLabel()->text(), QStringLiteral("#####")) << t.how;
    EXPECT_EQ(w.form().resultsView()->pageBytes(), app::BlankPage()) << t.how;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << t.how;
  }
}

TEST(MoneyForm, HelpOpensTheReportPanelWithTheHelpPageAndStaysOpen) {
  WindowFixture w;
  for (int i = 0; i < 2; ++i) {
    QTest::mouseClick(w.form().helpButton(), Qt::LeftButton);
    EXPECT_FALSE(w.form().bodySplitter()->isCollapsed(TMoneyForm::ReportPanel)) << i;
    EXPECT_EQ(w.form().reportGroup()->title(), QStringLiteral("Справка")) << i;
    EXPECT_TRUE(w.form().reportView()->toPlainText().contains(QStringLiteral("Справка по Morvex Demo."))) << i;
  }
  EXPECT_EQ(w.form().resultsView()->pageBytes(), app::BlankPage());
}

TEST(MoneyForm, TheAboutButtonShowsTheAboutBox) {
  WindowFixture w;
  QTest::mouseClick(w.form().aboutButton(), Qt::LeftButton, {}, QPoint(12, 12));
  ASSERT_EQ(w.messages().information.size(), 1u);
  EXPECT_EQ(w.messages().information[0].first, QStringLiteral("About"));
  const QStringList lines = w.messages().information[0].second.split('\n');
  ASSERT_EQ(lines.size(), 5);
  EXPECT_EQ(lines[0], QStringLiteral("Morvex Demo"));
  EXPECT_EQ(lines[1], QStringLiteral("    version 0.971"));
}

}  // namespace
}  // namespace morvex::gui::test
