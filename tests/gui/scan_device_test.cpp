// The scan command end to end: the window, the scanner layer, our Source
// Manager (TWAIN_32.DLL of the build's library folder) and SANE's test and
// pnm devices, driven through the dialogs as a user drives them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "gradient_button.h"
#include "gui_support.h"
#include "html_view.h"
#include "morvex/app/result_page.h"
#include "morvex/bmp.h"
#include "morvex/engine.h"
#include "morvex/grey_image.h"
#include "morvex/twain/layer_state.h"
#include "morvex/twain/multitwain.h"
#include "morvex/twain_qt/qt_platform.h"
#include "sane_fixtures.h"
#include "scan_user.h"

namespace morvex::gui::test {
namespace {

// With MORVEX_SCAN_SHOTS naming a folder, a picture of the window goes there.
void Shoot(QWidget* window, const char* name) {
  const QString folder = qEnvironmentVariable("MORVEX_SCAN_SHOTS");
  if (folder.isEmpty() || window == nullptr) return;
  window->grab().save(folder + QStringLiteral("/") + QLatin1String(name));
}

class ScanDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    // SANE's virtual devices through the tests' own dll.conf; the remembered
    // scanner and settings in a folder of this test.
    qputenv("SANE_CONFIG_DIR", MORVEX_TEST_SANE_CONFIG ":");
    ASSERT_TRUE(config_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    twain::InstallPlatform(&platform_);
    twain::ResetLayerState();
    w_.form().statusLabel()->setText(QStringLiteral("earlier text"));
    w_.form().resultsView()->SetPageText("<p>earlier page</p>");
  }
  void TearDown() override {
    twain::ResetLayerState();
    twain::InstallPlatform(nullptr);
    qunsetenv("XDG_CONFIG_HOME");
  }

  // Presses "Обработать скан" and lets the user do their part.
  void Scan(ScanUser& user) {
    ASSERT_TRUE(w_.form().scanButton()->isEnabled());
    QTest::mouseClick(w_.form().scanButton(), Qt::LeftButton);
    EXPECT_TRUE(user.done()) << "stuck waiting for " << user.stuck();
    EXPECT_TRUE(user.boxes.isEmpty()) << user.boxes.join("\n").toStdString();
    EXPECT_TRUE(w_.messages().errors.isEmpty()) << w_.messages().errors.join("\n").toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
  QString Status() { return w_.form().statusLabel()->text(); }
  void ExpectUnchangedButTheStatus() {
    EXPECT_EQ(Status(), QStringLiteral("#####"));
    EXPECT_EQ(w_.form().resultsView()->pageBytes(), "<p>earlier page</p>");
    EXPECT_TRUE(w_.form().previewBitmap().empty());
  }
  void ExpectFailurePage() {
    AnalisysResult failed;
    failed.Zone1Number = failed.Zone2Number = "#######";
    failed.Denomination = -1;
    EXPECT_EQ(w_.form().resultsView()->pageBytes(), app::ResultPage(app::kScanResultTitle, failed));
  }

  QTemporaryDir config_;
  twain::QtPlatform platform_;
  WindowFixture w_;
};

TEST_F(ScanDevice, ANoteScannedThroughPnmIsReadAndReported) {
  const std::string name = WriteNote(w_.folderPath(), 2);
  Bitmap note;
  LoadBmpFile(w_.folderPath() / name, note);
  const auto ppm = w_.folderPath() / "note.ppm";
  morvex::testing::WritePpm(ppm, note);

  // What the engine answers for the note's grey image.
  Bitmap grey = note;
  MakeGreyImage(grey);
  std::vector<std::string> details;
  AnalisysResult expected;
  AnalyzeNote(grey, true, &details, expected, w_.form().referenceDigits());
  ASSERT_NE(name.find(expected.Zone1Number), std::string::npos) << name << " read as " << expected.Zone1Number;

  ScanUser user;
  user.chooseScanner("pnm:0").setOption("filename", QString::fromStdString(ppm.string())).click("previewButton");
  // After the preview, the dialog as the user sees it (tools/screenshots.sh
  // asks for the picture).
  user.when(
      [] {
        auto* scan = ChildOf<QWidget>(QStringLiteral("ScannerSource"), QStringLiteral("scanButton"));
        return scan && scan->isEnabled();
      },
            [] { Shoot(ShownWindow(QStringLiteral("ScannerSource")), "9-scanner-source-preview.png"); },
            "the end of the preview");
  user.click("scanButton");
  Scan(user);
  Shoot(&w_.form(), "10-after-scan.png");
  EXPECT_EQ(w_.form().resultsView()->pageBytes(), app::ResultPage(app::kScanResultTitle, expected));
  const QString size = QStringLiteral("Изображение: %1x%2x8  |  Банкнота: %3  |  ")
                           .arg(note.height())
                           .arg(note.width())
                           .arg(QString::fromStdString(details[0]));
  EXPECT_TRUE(Status().startsWith(size)) << Status().toStdString();
  // The preview shows the plain grey scan, without outlines.
  EXPECT_EQ(w_.form().previewBitmap().width(), note.width());
  EXPECT_EQ(w_.form().previewBitmap().height(), note.height());
  EXPECT_TRUE(w_.form().previewBitmap().hasGreyPalette());
  EXPECT_EQ(w_.form().previewBitmap().pixel(note.width() / 2, note.height() / 2),
            grey.pixel(note.width() / 2, note.height() / 2));
}

TEST_F(ScanDevice, ASolidBlackPictureGivesTheFailurePage) {
  ScanUser user;
  user.chooseScanner("test:0").click("scanButton");
  Scan(user);
  ExpectFailurePage();
  const QString label = QStringLiteral("x8  |  ");
  EXPECT_TRUE(Status().startsWith(QStringLiteral("Изображение: "))) << Status().toStdString();
  EXPECT_TRUE(Status().contains(label)) << Status().toStdString();
  EXPECT_FALSE(w_.form().previewBitmap().empty());
}

TEST_F(ScanDevice, CancelInTheSelectionDialogChangesOnlyTheStatusLine) {
  ScanUser user;
  user.cancelSelection();
  Scan(user);
  ExpectUnchangedButTheStatus();
}

TEST_F(ScanDevice, ClosingTheSourceDialogWithoutScanningChangesOnlyTheStatusLine) {
  ScanUser user;
  user.chooseScanner("test:0").click("closeButton");
  Scan(user);
  ExpectUnchangedButTheStatus();
  EXPECT_EQ(ShownWindow(QStringLiteral("ScannerSource")), nullptr);
}

TEST_F(ScanDevice, ASlowScanCancelledThenScannedAgain) {
  ScanUser user;
  user.chooseScanner("test:0")
      .setOption("read-delay", "yes")
      .setOption("read-delay-duration", "200000")
      .click("scanButton")
      .click("cancelScanButton")
      .setOption("read-delay", "no")
      .click("scanButton");
  Scan(user);
  ExpectFailurePage();
  EXPECT_FALSE(w_.form().previewBitmap().empty());
}

TEST_F(ScanDevice, ADeviceErrorIsShownInTheDialogWhichStaysOpen) {
  ScanUser user;
  QString shownError;
  bool stillOpen = false;
  user.chooseScanner("test:0").setOption("read-return-value", "SANE_STATUS_JAMMED").click("scanButton");
  user.when(
      [] {
        auto* label = ChildOf<QLabel>(QStringLiteral("ScannerSource"), QStringLiteral("errorLabel"));
        return label && label->isVisible() && !label->text().isEmpty();
      },
      [&] {
        shownError = ChildOf<QLabel>(QStringLiteral("ScannerSource"), QStringLiteral("errorLabel"))->text();
        stillOpen = ShownWindow(QStringLiteral("ScannerSource")) != nullptr;
      },
      "the error in the source dialog");
  user.click("closeButton");
  Scan(user);
  EXPECT_FALSE(shownError.isEmpty());
  EXPECT_TRUE(stillOpen);
  ExpectUnchangedButTheStatus();
}

}  // namespace
}  // namespace morvex::gui::test
