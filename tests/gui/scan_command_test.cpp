// The scan command's own logic, against the scanner layer's test Source
// Manager: what the window does when the user cancels, when no image comes,
// when an image comes, and when the image is too large for a bitmap.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <string>

#include "gradient_button.h"
#include "gui_support.h"
#include "html_view.h"
#include "morvex/app/result_page.h"
#include "morvex/twain/layer_state.h"
#include "morvex/twain/multitwain.h"
#include "morvex/twain_qt/qt_platform.h"
#include "picture_box.h"
#include "scan_platform.h"
#include "test_dsm/test_dsm.h"
#include "twain_fixture.h"

namespace morvex::gui::test {
namespace {

using morvex::testing::TestDsm;
using morvex::testing::UserAction;

class ScanCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.windowsDirectory = morvex::testing::TestDsmFolder();
    twain::InstallPlatform(&platform_);
    twain::ResetLayerState();
    TestDsm().Reset();
    liveBlocks_ = GlobalLiveBlocks();
  }
  void TearDown() override {
    twain::ResetLayerState();
    twain::InstallPlatform(nullptr);
    TestDsm().Reset();
    // The command releases the scanned DIB however it ends.
    EXPECT_EQ(GlobalLiveBlocks(), liveBlocks_);
  }

  // Runs the command from the toolbar button, as the user does.
  void ClickScan() {
    ASSERT_TRUE(w_.form().scanButton()->isEnabled());
    QTest::mouseClick(w_.form().scanButton(), Qt::LeftButton);
  }
  QString Status() { return w_.form().statusLabel()->text(); }

  ScanPlatform platform_;
  WindowFixture w_;
  std::size_t liveBlocks_ = 0;
};

// A window that already shows something: status, preview and page.
void ShowSomething(WindowFixture& w) {
  w.form().statusLabel()->setText(QStringLiteral("earlier text"));
  w.form().resultsView()->SetPageText("<p>earlier page</p>");
}

TEST_F(ScanCommand, CancelInTheSelectionDialogOnlyResetsTheStatusLine) {
  ShowSomething(w_);
  const QImage previewBefore = w_.form().preview()->image();
  TestDsm().script.userSelect = TWRC_CANCEL;
  ClickScan();
  EXPECT_EQ(Status(), QStringLiteral("#####"));
  EXPECT_EQ(w_.form().resultsView()->pageBytes(), "<p>earlier page</p>");
  EXPECT_EQ(w_.form().preview()->image(), previewBefore);
  EXPECT_TRUE(w_.messages().errors.isEmpty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // Nothing was enabled: the command stopped after the selection.
  EXPECT_EQ(TestDsm().scans, 0u);
}

TEST_F(ScanCommand, ClosingTheSourceDialogWithoutScanningChangesNothingElse) {
  ShowSomething(w_);
  TestDsm().script.actions = {UserAction::CloseDialog};
  ClickScan();
  EXPECT_EQ(Status(), QStringLiteral("#####"));
  EXPECT_EQ(w_.form().resultsView()->pageBytes(), "<p>earlier page</p>");
  EXPECT_TRUE(w_.form().previewBitmap().empty());
  EXPECT_TRUE(w_.messages().errors.isEmpty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(w_.form().isEnabled());
}

TEST_F(ScanCommand, AScannedImageIsShownGreyAndAnalysed) {
  TestDsm().script.actions = {UserAction::Scan};
  TestDsm().script.width = 40;
  TestDsm().script.height = 30;
  ClickScan();
  // The test source fills its first image's bytes with 1: a dark 24-bit
  // picture, shown as 8-bit grey of the same size, plain (no outlines).
  const Bitmap& preview = w_.form().previewBitmap();
  ASSERT_EQ(preview.width(), 40);
  ASSERT_EQ(preview.height(), 30);
  EXPECT_EQ(preview.format(), PixelFormat::Indexed8);
  EXPECT_TRUE(preview.hasGreyPalette());
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(preview.pixel(x, y), MakeColour(1, 1, 1)) << x << "," << y;
  EXPECT_EQ(w_.form().preview()->image().size(), QSize(40, 30));
  // No note on it: the engine's failure answer under the scanner's heading.
  AnalisysResult failed;
  failed.Zone1Number = failed.Zone2Number = "#######";
  failed.Denomination = -1;
  EXPECT_EQ(w_.form().resultsView()->pageBytes(), app::ResultPage(app::kScanResultTitle, failed));
  EXPECT_TRUE(w_.messages().errors.isEmpty()) << w_.messages().errors.join("\n").toStdString();
  const QString expected = QStringLiteral("Изображение: 30x40x8  |  ");
  EXPECT_TRUE(Status().startsWith(expected)) << Status().toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ScanCommand, AScanTooLargeForABitmapSaysSoAndGoesOn) {
  TestDsm().script.actions = {UserAction::Scan};
  TestDsm().script.width = (1 << 20) + 1;
  TestDsm().script.height = 1;
  ClickScan();
  ASSERT_EQ(w_.messages().platformErrors.size(), 1);
  EXPECT_EQ(w_.messages().platformErrors[0], QStringLiteral("TBitMap: Нет ресурсов для загрузки изображения!"));
  // The command went on with the empty bitmap it had.
  EXPECT_TRUE(w_.form().previewBitmap().empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ScanCommand, ScansAgainAfterACancelledOne) {
  TestDsm().script.userSelect = TWRC_CANCEL;
  ClickScan();
  TestDsm().script.userSelect = TWRC_SUCCESS;
  TestDsm().script.actions = {UserAction::Scan};
  ClickScan();
  EXPECT_EQ(w_.form().previewBitmap().width(), TestDsm().script.width);
  EXPECT_EQ(w_.form().previewBitmap().height(), TestDsm().script.height);
  const QString expected = QStringLiteral("Изображение: 3x5x8  |  ");
  EXPECT_TRUE(Status().startsWith(expected)) << Status().toStdString();
}

}  // namespace
}  // namespace morvex::gui::test
