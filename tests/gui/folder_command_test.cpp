// The folder command in the window: the run over a folder, the panels it
// opens and closes, the progress window, renaming, and a run that fails.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <set>

#include "bmp_file_list.h"
#include "collapse_splitter.h"
#include "folder_tree.h"
#include "gui_support.h"
#include "html_view.h"
#include "morvex/app/batch.h"
#include "morvex/app/cp1251.h"
#include "morvex/app/html.h"
#include "morvex/app/note_template.h"
#include "morvex/app/utf8.h"
#include "pie_chart.h"

namespace morvex::gui::test {
namespace {

// Notes what the windows looked like when the progress window came up.
class ShowWatcher : public QObject {
 public:
  ShowWatcher(TProgressForm& progress, TMoneyForm& form) : form_(form) { progress.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Show) {
      ++shows;
      mainEnabledAtShow = form_.isEnabled();
    }
    return false;
  }
  int shows = 0;
  bool mainEnabledAtShow = true;

 private:
  TMoneyForm& form_;
};

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

TEST(FolderCommand, ReportsTheFolderInBothPanelsAndOpensTheReport) {
  WindowFixture w;
  std::vector<std::string> names;
  for (int i = 0; i < 3; ++i) names.push_back(WriteNote(w.folderPath(), i));
  ASSERT_TRUE(w.ShowFolder(3));
  // Help first: the run gives the report panel its caption back.
  w.form().HelpClick();
  ASSERT_EQ(w.form().reportGroup()->title(), QStringLiteral("Справка"));
  ShowWatcher watcher(w.progress(), w.form());

  w.form().GradBtn3Click();
  ASSERT_TRUE(w.messages().errors.isEmpty()) << w.messages().errors.join('\n').toStdString();

  // The same folder run through the batch directly gives the same pages.
  app::FolderBatch batch(w.folderPath(), w.form().referenceDigits());
  while (!batch.finished()) batch.step();
  const app::BatchReport expected = batch.finish();
  EXPECT_EQ(w.form().reportView()->pageBytes(), expected.ReportPage);
  EXPECT_EQ(w.form().resultsView()->pageBytes(), expected.SummaryPage);
  EXPECT_EQ(expected.Total, 3);
  EXPECT_EQ(expected.Counts.DenominationCorrect, 3);  // clean notes are read right

  const std::string report = app::FromCp1251(w.form().reportView()->pageBytes());
  std::sort(names.begin(), names.end(), app::CaselessLess);
  std::size_t at = 0;
  for (const std::string& n : names) {  // listed order
    const std::size_t found = report.find(n, at);
    EXPECT_NE(found, std::string::npos) << n;
    at = found;
  }
  EXPECT_TRUE(w.form().reportView()->toPlainText().contains(QStringLiteral("Всего банкнот")));
  EXPECT_EQ(w.form().reportGroup()->title(), QStringLiteral("Отчёт"));
  EXPECT_TRUE(w.form().bodySplitter()->isCollapsed(TMoneyForm::LeftPanel));
  EXPECT_FALSE(w.form().bodySplitter()->isCollapsed(TMoneyForm::ReportPanel));
  EXPECT_TRUE(w.form().statusLabel()->text().contains(
      QRegularExpression(QStringLiteral("^Время анализа: \\d\\d:\\d\\d:\\d\\d+ \\(мин:сек:мсек\\)$"))))
      << w.form().statusLabel()->text().toStdString();

  // The progress window was up with the main window disabled; both are back.
  EXPECT_EQ(watcher.shows, 1);
  EXPECT_FALSE(watcher.mainEnabledAtShow);
  EXPECT_FALSE(w.progress().isVisible());
  EXPECT_TRUE(w.form().isEnabled());
  ASSERT_EQ(w.progress().chart()->slices().size(), 2);
  EXPECT_EQ(w.progress().chart()->slices()[0].value, 0);
  EXPECT_EQ(w.progress().chart()->slices()[1].value, 3);
}

TEST(FolderCommand, AnEmptyFolderGivesTheHeaderRowAndZeroCounts) {
  WindowFixture w;
  ASSERT_TRUE(w.ShowFolder(0));
  w.form().GradBtn3Click();
  ASSERT_TRUE(w.messages().errors.isEmpty());
  const std::string report = app::FromCp1251(w.form().reportView()->pageBytes());
  EXPECT_NE(report.find("<b>Параметр</b>"), std::string::npos);
  EXPECT_EQ(report.find("Имя файла"), std::string::npos);
  EXPECT_NE(report.find("Всего банкнот</td><td width=50>0</td>"), std::string::npos);
  EXPECT_TRUE(w.form().isEnabled());
}

TEST(FolderCommand, WithRenamingTickedRenamesEveryFileAndCountsNothing) {
  WindowFixture w;
  std::vector<std::string> names;
  for (int i = 0; i < 2; ++i) names.push_back(WriteNote(w.folderPath(), i + 4));
  ASSERT_TRUE(w.ShowFolder(2));
  QTest::mouseClick(w.form().renameBox(), Qt::LeftButton);
  ASSERT_TRUE(w.form().renameBox()->isChecked());

  w.form().GradBtn3Click();
  ASSERT_TRUE(w.messages().errors.isEmpty()) << w.messages().errors.join('\n').toStdString();

  const std::set<std::string> now = FilesIn(w.folderPath());
  EXPECT_EQ(now.size(), 2u);
  for (const std::string& n : names) EXPECT_EQ(now.count(n), 0u) << n;  // every file got its result's name
  for (const std::string& n : now) {
    EXPECT_EQ(n.rfind("Note-", 0), 0u) << n;
    EXPECT_NE(n.find("-ХХ"), std::string::npos) << n;
  }
  const std::string report = app::FromCp1251(w.form().reportView()->pageBytes());
  for (const std::string& n : names) EXPECT_NE(report.find(n), std::string::npos) << n;  // old names
  EXPECT_EQ(report.find("<td>Да</td>"), std::string::npos);
  EXPECT_NE(report.find("Верно в зоне1 и/или зоне2</td><td>0</td>"), std::string::npos);
  // The browser shows the new names.
  EXPECT_TRUE(QTest::qWaitFor([&] {
    const QStringList shown = w.form().fileList()->shownNames();
    for (const std::string& n : now)
      if (!shown.contains(QString::fromStdString(n))) return false;
    return shown.size() == 2;
  }, 5000));
}

TEST(FolderCommand, AnErrorEndsTheRunWithoutReportAndGivesTheWindowBack) {
  WindowFixture w;
  WriteNote(w.folderPath(), 0);
  WritePlainBmp(w.folderPath() / "short.bmp", 4, 4);  // "short.bmp" has no face-value field
  ASSERT_TRUE(w.ShowFolder(2));
  w.form().GradBtn3Click();
  ASSERT_EQ(w.messages().errors.size(), 1);
  EXPECT_EQ(w.messages().errors[0], QString::fromUtf8(app::ConversionError("").what()));
  EXPECT_EQ(w.form().reportView()->pageBytes(), app::BlankPage());
  EXPECT_EQ(w.form().resultsView()->pageBytes(), app::BlankPage());
  EXPECT_TRUE(w.form().statusLabel()->text().startsWith(QStringLiteral("Обрабатывается каталог ")));
  EXPECT_TRUE(w.form().statusLabel()->text().endsWith(w.folder() + "/"));
  EXPECT_FALSE(w.progress().isVisible());
  EXPECT_TRUE(w.form().isEnabled());
  EXPECT_TRUE(w.form().bodySplitter()->isCollapsed(TMoneyForm::ReportPanel));
}

TEST(FolderCommand, WithoutASelectedFolderNothingHappens) {
  WindowFixture w;
  w.form().folderTree()->clearSelection();
  w.form().folderTree()->setCurrentIndex(QModelIndex());
  w.form().GradBtn3Click();
  EXPECT_EQ(w.form().statusLabel()->text(), QStringLiteral("#####"));
  EXPECT_TRUE(w.messages().errors.isEmpty());
}

}  // namespace
}  // namespace morvex::gui::test
