// The source's dialog over SANE's test device: generated option editors,
// inactive options and reloads, the preview drag, presets, scanning,
// cancelling, errors, closing and destroying during a scan, remembering.
#include "source_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "case_name.h"
#include "config_home.h"
#include "device_settings.h"
#include "dialog_support.h"
#include "morvex/sane/option_text.h"
#include "morvex/sane/session.h"
#include "preview_widget.h"
#include "sane_fixtures.h"
#include "scan_job.h"

namespace morvex::dsm {
namespace {

using morvex::testing::Settings;
using morvex::testing::WaitFor;

// A slow scan: every small buffer waits, and the picture needs many.
const Settings kSlowScan = {{"resolution", "300"}, {"read-limit", "yes"}, {"read-limit-size", "4096"},
                            {"read-delay", "yes"}, {"read-delay-duration", "100000"}};

std::string Value(const sane::Device& device, const std::string& name) { return sane::FormatValue(device.get(name)); }

class SourceDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    blocksBefore_ = GlobalLiveBlocks();
    testing::Apply(device_, {{"enable-test-options", "yes"}});
  }
  void TearDown() override {
    dialog_.reset();
    EXPECT_EQ(GlobalLiveBlocks(), blocksBefore_) << "a global block was left behind";
  }

  // The dialog over the device as it is now, shown, counting what it says.
  SourceDialog& Open(const std::string& name = "test:0", std::function<bool(const std::string&)> modeAllowed = {}) {
    if (name != device_.name()) device_ = session_.open(name);
    dialog_ = std::make_unique<SourceDialog>(device_, "Noname frontend-tester", nullptr, std::move(modeAllowed));
    QObject::connect(dialog_.get(), &SourceDialog::imageScanned, [this](HGLOBAL dib) { images_.push_back(dib); });
    QObject::connect(dialog_.get(), &SourceDialog::closeRequested, [this] { ++closeRequests_; });
    dialog_->show();
    return *dialog_;
  }
  template <class T>
  T* W(const QString& name) {
    T* w = dialog_->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
  }
  // Lets the queued rebuilds run.
  void Settle() { QTest::qWait(20); }
  bool WaitScanEnded() {
    return WaitFor([this] { return W<QPushButton>("scanButton")->isEnabled() && !W<QProgressBar>("progressBar")->isVisible(); });
  }
  bool ScanStarted() {
    return WaitFor([this] { return W<QProgressBar>("progressBar")->isVisible() && W<QProgressBar>("progressBar")->value() > 0; });
  }
  void FreeImages() {
    for (HGLOBAL dib : images_) GlobalFree(dib);
    images_.clear();
  }

  morvex::testing::ConfigHome home_;
  sane::Session session_;
  sane::Device device_ = session_.open("test:0");
  std::unique_ptr<SourceDialog> dialog_;
  std::vector<HGLOBAL> images_;
  int closeRequests_ = 0;
  std::size_t blocksBefore_ = 0;
};

// ---- the generated editors ----

struct EditorCase {
  std::string option;
  std::string widgetClass;
  bool enabled;
};

class GeneratedEditors : public SourceDialogTest, public ::testing::WithParamInterface<EditorCase> {};

TEST_P(GeneratedEditors, EveryOptionTypeGetsItsEditorInTheOtherOptionsSection) {
  Open();
  QWidget* other = W<QWidget>("otherOptions");
  QWidget* editor = other->findChild<QWidget*>(QString::fromStdString("option-" + GetParam().option));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->metaObject()->className(), GetParam().widgetClass);
  EXPECT_EQ(editor->isEnabled(), GetParam().enabled);
  EXPECT_FALSE(editor->toolTip().isEmpty()) << "the option's description";
}

INSTANTIATE_TEST_SUITE_P(
    Options, GeneratedEditors,
    ::testing::Values(EditorCase{"bool-soft-select-soft-detect", "QCheckBox", true},
                      EditorCase{"int", "QSpinBox", true},
                      EditorCase{"int-constraint-range", "QSpinBox", true},
                      EditorCase{"int-constraint-word-list", "QComboBox", true},
                      EditorCase{"int-constraint-array", "QLineEdit", true},
                      EditorCase{"int-constraint-array-constraint-word-list", "QLineEdit", true},
                      EditorCase{"fixed", "QDoubleSpinBox", true},
                      EditorCase{"fixed-constraint-range", "QDoubleSpinBox", true},
                      EditorCase{"fixed-constraint-word-list", "QComboBox", true},
                      EditorCase{"string", "QLineEdit", true},
                      EditorCase{"string-constraint-string-list", "QComboBox", true},
                      EditorCase{"button", "QPushButton", true},
                      EditorCase{"gamma-table", "QLineEdit", true},
                      EditorCase{"three-pass", "QCheckBox", false},         // inactive in grey
                      EditorCase{"read-limit-size", "QSpinBox", false}),     // inactive until read-limit
    [](const auto& info) { return morvex::testing::CaseName(info.param.option); });

TEST_F(SourceDialogTest, TheModeBoxOffersOnlyTheModesLetThroughAndAlwaysTheCurrentOne) {
  Open("test:0", [](const std::string& mode) { return mode == "Color"; });
  QComboBox* modes = W<QComboBox>("modeBox");
  ASSERT_EQ(modes->count(), 2);
  EXPECT_EQ(modes->itemText(0), "Gray") << "the device's current mode";
  EXPECT_EQ(modes->itemText(1), "Color");
  modes->setCurrentIndex(1);
  Settle();
  EXPECT_EQ(Value(device_, "mode"), "Color");
  EXPECT_EQ(W<QComboBox>("modeBox")->count(), 1) << "once left, a mode not let through is gone";
}

TEST_F(SourceDialogTest, TheMainOptionsAreNotRepeatedAmongTheOthers) {
  Open();
  QWidget* other = W<QWidget>("otherOptions");
  for (const char* name : {"mode", "resolution", "source", "tl-x", "tl-y", "br-x", "br-y"}) {
    EXPECT_EQ(other->findChild<QWidget*>(QString("option-") + name), nullptr) << name;
  }
  EXPECT_NE(dialog_->findChild<QWidget*>("option-tl-x"), nullptr) << "the area's own fields";
  EXPECT_EQ(W<QComboBox>("modeBox")->currentText(), "Gray");
  EXPECT_EQ(W<QComboBox>("sourceBox")->currentText(), "Flatbed");
  EXPECT_EQ(W<QComboBox>("resolutionBox")->currentData().toDouble(), 50);
}

TEST_F(SourceDialogTest, TheRangeOfARangedOptionIsTheSpinBoxs) {
  Open();
  auto* box = W<QSpinBox>("option-int-constraint-range");
  EXPECT_EQ(box->minimum(), 4);
  EXPECT_EQ(box->maximum(), 192);
  EXPECT_EQ(box->singleStep(), 2);
}

struct EditCase {
  std::string option;
  std::string text;      // what the user gives
  std::string expected;  // what the device then holds
};

class Edits : public SourceDialogTest, public ::testing::WithParamInterface<EditCase> {};

// Gives an editor a value the way a user would end up giving it.
void Give(QWidget* editor, const QString& text) {
  if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
    spin->setValue(text.toInt());
  } else if (auto* real = qobject_cast<QDoubleSpinBox*>(editor)) {
    real->setValue(text.toDouble());
  } else if (auto* check = qobject_cast<QCheckBox*>(editor)) {
    check->setChecked(text == "yes");
  } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    int index = combo->findData(text);
    if (index < 0) index = combo->findData(text.toDouble());
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
  } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->setFocus();
    line->setText(text);
    QTest::keyClick(line, Qt::Key_Return);
  } else {
    FAIL() << "no way to give " << editor->metaObject()->className() << " a value";
  }
}

TEST_P(Edits, AnEditorSetsTheDeviceAndShowsWhatItHolds) {
  Open();
  const QString name = QString::fromStdString("option-" + GetParam().option);
  Give(W<QWidget>(name), QString::fromStdString(GetParam().text));
  Settle();
  EXPECT_EQ(Value(device_, GetParam().option), GetParam().expected);
  EXPECT_FALSE(W<QLabel>("errorLabel")->isVisible()) << W<QLabel>("errorLabel")->text().toStdString();
  // The editor (rebuilt or not) shows the device's value.
  QWidget* editor = W<QWidget>(name);
  if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
    EXPECT_EQ(std::to_string(spin->value()), GetParam().expected);
  }
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    EXPECT_EQ(line->text().toStdString(), GetParam().expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, Edits,
    ::testing::Values(EditCase{"int", "7", "7"},
                      EditCase{"fixed", "12.5", "12.5"},
                      EditCase{"bool-soft-select-soft-detect", "yes", "yes"},
                      EditCase{"int-constraint-word-list", "17", "17"},
                      EditCase{"fixed-constraint-word-list", "129.5", "129.5"},
                      EditCase{"string-constraint-string-list", "Second entry", "Second entry"},
                      EditCase{"int-constraint-array", "1,2,3,4,5,6", "1,2,3,4,5,6"},
                      EditCase{"string", "Привет, сканер", "Привет, сканер"}),
    [](const auto& info) { return morvex::testing::CaseName(info.param.option); });

TEST_F(SourceDialogTest, AValueTheDeviceChangesIsShownAsTheDeviceHoldsIt) {
  Open();
  W<QSpinBox>("option-int-inexact")->setValue(68);
  Settle();
  const std::string held = Value(device_, "int-inexact");
  EXPECT_EQ(std::to_string(W<QSpinBox>("option-int-inexact")->value()), held);
}

TEST_F(SourceDialogTest, AModeThatReloadsTheOptionsEnablesWhatBecameActive) {
  Open();
  ASSERT_FALSE(W<QCheckBox>("option-three-pass")->isEnabled());
  W<QComboBox>("modeBox")->setCurrentIndex(W<QComboBox>("modeBox")->findText("Color"));
  Settle();
  EXPECT_EQ(Value(device_, "mode"), "Color");
  EXPECT_TRUE(W<QCheckBox>("option-three-pass")->isEnabled());
  // And back: test options switched off become inactive, and disabled.
  W<QCheckBox>("option-enable-test-options")->setChecked(false);
  Settle();
  EXPECT_FALSE(W<QSpinBox>("option-int")->isEnabled());
}

TEST_F(SourceDialogTest, EnterInAFieldConfirmsTheValueAndDoesNotScan) {
  Open();
  Give(W<QWidget>("option-string"), "typed");
  Settle();
  EXPECT_EQ(Value(device_, "string"), "typed");
  EXPECT_TRUE(W<QPushButton>("scanButton")->isEnabled());
  EXPECT_FALSE(W<QProgressBar>("progressBar")->isVisible());
  QTest::qWait(200);
  EXPECT_TRUE(images_.empty());
}

TEST_F(SourceDialogTest, TextAnOptionDoesNotAcceptIsShownAndChangesNothing) {
  Open();
  const std::string before = Value(device_, "int-constraint-array");
  Give(W<QWidget>("option-int-constraint-array"), "1,2");
  Settle();
  EXPECT_EQ(Value(device_, "int-constraint-array"), before);
  EXPECT_TRUE(W<QLabel>("errorLabel")->isVisible());
  EXPECT_FALSE(W<QLabel>("errorLabel")->text().isEmpty());
}

// ---- the scan area ----

TEST_F(SourceDialogTest, DraggingOnThePreviewSetsTheScanArea) {
  Open();
  auto* preview = W<PreviewWidget>("preview");
  const QRectF bed = preview->bedRect();
  morvex::testing::Drag(preview, bed.topLeft() + QPointF(bed.width() * 0.25, bed.height() * 0.1),
                        bed.topLeft() + QPointF(bed.width() * 0.75, bed.height() * 0.6));
  Settle();
  // The bed is 200 x 200 mm; a pixel of the preview is worth about a millimetre.
  EXPECT_NEAR(std::stod(Value(device_, "tl-x")), 50, 1.5);
  EXPECT_NEAR(std::stod(Value(device_, "tl-y")), 20, 1.5);
  EXPECT_NEAR(std::stod(Value(device_, "br-x")), 150, 1.5);
  EXPECT_NEAR(std::stod(Value(device_, "br-y")), 120, 1.5);
  EXPECT_EQ(W<QComboBox>("areaPresetBox")->currentText(), "Своя область");
  EXPECT_EQ(W<QDoubleSpinBox>("option-br-y")->value(), std::stod(Value(device_, "br-y")));
}

TEST_F(SourceDialogTest, DraggingTheOtherWayAndBeyondTheBedGivesTheSameArea) {
  Open();
  auto* preview = W<PreviewWidget>("preview");
  const QRectF bed = preview->bedRect();
  morvex::testing::Drag(preview, bed.bottomRight() + QPointF(30, 30), bed.topLeft() + QPointF(bed.width() / 2, bed.height() / 2));
  Settle();
  EXPECT_NEAR(std::stod(Value(device_, "tl-x")), 100, 1.5);
  EXPECT_NEAR(std::stod(Value(device_, "tl-y")), 100, 1.5);
  EXPECT_EQ(Value(device_, "br-x"), "200");
  EXPECT_EQ(Value(device_, "br-y"), "200");
}

TEST_F(SourceDialogTest, AClickWithoutADragKeepsTheArea) {
  Open();
  auto* preview = W<PreviewWidget>("preview");
  const QPoint middle = preview->bedRect().center().toPoint();
  QTest::mouseClick(preview, Qt::LeftButton, Qt::NoModifier, middle);
  Settle();
  EXPECT_EQ(Value(device_, "tl-x"), "0");
  EXPECT_EQ(Value(device_, "br-x"), "80");
}

TEST_F(SourceDialogTest, PresetsSetTheWholeBedAndANoteInTheMiddle) {
  Open();
  auto* presets = W<QComboBox>("areaPresetBox");
  EXPECT_EQ(presets->currentText(), "Своя область") << "the device's own default is 80 x 100 mm";
  presets->setCurrentIndex(0);
  Settle();
  EXPECT_EQ(Value(device_, "tl-x") + " " + Value(device_, "tl-y") + " " + Value(device_, "br-x") + " " + Value(device_, "br-y"),
            "0 0 200 200");
  EXPECT_EQ(presets->currentIndex(), 0);
  presets->setCurrentIndex(1);
  Settle();
  EXPECT_NEAR(std::stod(Value(device_, "tl-x")), 20, 1);
  EXPECT_NEAR(std::stod(Value(device_, "tl-y")), 62.5, 1);
  EXPECT_NEAR(std::stod(Value(device_, "br-x")), 180, 1);
  EXPECT_NEAR(std::stod(Value(device_, "br-y")), 137.5, 1);
  EXPECT_EQ(presets->currentIndex(), 1) << "the note preset is recognised after the device's rounding";
}

TEST_F(SourceDialogTest, ThePreviewShowsTheWholeBedAndPutsTheSettingsBack) {
  testing::Apply(device_, {{"resolution", "300"}, {"tl-x", "20"}, {"br-x", "60"}, {"mode", "Color"}});
  Open();
  W<QPushButton>("previewButton")->click();
  ASSERT_TRUE(WaitFor([this] { return W<PreviewWidget>("preview")->hasPicture(); }));
  ASSERT_TRUE(WaitScanEnded());
  Settle();
  EXPECT_EQ(Value(device_, "resolution"), "300");
  EXPECT_EQ(Value(device_, "tl-x"), "20");
  EXPECT_EQ(Value(device_, "br-x"), "60");
  EXPECT_EQ(W<QComboBox>("resolutionBox")->currentData().toDouble(), 300);
  EXPECT_TRUE(images_.empty()) << "a preview is no image for the application";
}

TEST_F(SourceDialogTest, AChangeJustBeforeAPreviewIsShownWhenThePreviewEnds) {
  Open();
  W<QComboBox>("areaPresetBox")->setCurrentIndex(1);
  W<QPushButton>("previewButton")->click();  // before the fields were brought up to date
  ASSERT_TRUE(WaitFor([this] { return W<PreviewWidget>("preview")->hasPicture(); }));
  ASSERT_TRUE(WaitScanEnded());
  Settle();
  EXPECT_NEAR(W<QDoubleSpinBox>("option-tl-x")->value(), 20, 1);
  EXPECT_EQ(W<QDoubleSpinBox>("option-tl-x")->value(), std::stod(Value(device_, "tl-x")));
  EXPECT_EQ(W<QComboBox>("areaPresetBox")->currentIndex(), 1);
}

// ---- scanning ----

TEST_F(SourceDialogTest, AScanGivesOneImageAndRemembersTheSettings) {
  Open();
  W<QComboBox>("modeBox")->setCurrentIndex(W<QComboBox>("modeBox")->findText("Color"));
  Settle();
  W<QPushButton>("scanButton")->click();
  ASSERT_TRUE(WaitFor([this] { return !images_.empty(); }));
  ASSERT_TRUE(WaitScanEnded());
  ASSERT_EQ(images_.size(), 1u);
  const auto* header = static_cast<const std::uint8_t*>(GlobalLock(images_[0]));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header[14], 24);
  GlobalUnlock(images_[0]);
  FreeImages();
  EXPECT_FALSE(W<QLabel>("errorLabel")->isVisible());
  EXPECT_TRUE(dialog_->isVisible());
  std::ifstream in(*SettingsFile("test:0"));
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("mode=Color\n"), std::string::npos) << text.str();
}

TEST_F(SourceDialogTest, ASlowScanCanBeCancelledWhileTheWindowKeepsWorkingAndThenScanAgain) {
  testing::Apply(device_, kSlowScan);
  Open();
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
  ticker.start(10);
  W<QPushButton>("scanButton")->click();
  ASSERT_TRUE(ScanStarted());
  EXPECT_FALSE(W<QPushButton>("scanButton")->isEnabled());
  EXPECT_FALSE(W<QComboBox>("modeBox")->isEnabled()) << "the device belongs to the scan";
  EXPECT_TRUE(W<QPushButton>("cancelScanButton")->isVisible());
  QTest::qWait(300);
  EXPECT_GT(ticks, 10) << "the GUI thread was blocked during the scan";
  EXPECT_FALSE(dialog_->grab().isNull());
  W<QPushButton>("cancelScanButton")->click();
  ASSERT_TRUE(WaitScanEnded());
  EXPECT_TRUE(images_.empty());
  EXPECT_FALSE(W<QLabel>("errorLabel")->isVisible());
  EXPECT_FALSE(W<QPushButton>("cancelScanButton")->isVisible());

  W<QCheckBox>("option-read-delay")->setChecked(false);
  Settle();
  W<QComboBox>("resolutionBox")->setCurrentIndex(W<QComboBox>("resolutionBox")->findData(50.0));
  Settle();
  W<QPushButton>("scanButton")->click();
  ASSERT_TRUE(WaitFor([this] { return !images_.empty(); }));
  EXPECT_EQ(images_.size(), 1u);
  FreeImages();
}

TEST_F(SourceDialogTest, ADeviceErrorIsShownAndTheDialogStaysOpenForAnotherTry) {
  Open();
  Give(W<QWidget>("option-read-return-value"), "SANE_STATUS_JAMMED");
  Settle();
  W<QPushButton>("scanButton")->click();
  ASSERT_TRUE(WaitFor([this] { return W<QLabel>("errorLabel")->isVisible(); }));
  ASSERT_TRUE(WaitScanEnded());
  EXPECT_TRUE(W<QLabel>("errorLabel")->text().contains("jammed")) << W<QLabel>("errorLabel")->text().toStdString();
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(closeRequests_, 0);
  EXPECT_TRUE(images_.empty());

  Give(W<QWidget>("option-read-return-value"), "Default");
  Settle();
  W<QPushButton>("scanButton")->click();
  ASSERT_TRUE(WaitFor([this] { return !images_.empty(); }));
  EXPECT_FALSE(W<QLabel>("errorLabel")->isVisible()) << "the old error is gone";
  FreeImages();
}

struct CloseCase {
  std::string name;
  std::function<void(QDialog*)> close;
};

class ClosingDuringAScan : public SourceDialogTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingDuringAScan, CancelsWaitsAndAsksOnceToClose) {
  testing::Apply(device_, kSlowScan);
  Open();
  W<QPushButton>("scanButton")->click();
  ASSERT_TRUE(ScanStarted());
  GetParam().close(dialog_.get());
  EXPECT_EQ(closeRequests_, 1);
  EXPECT_FALSE(dialog_->isVisible());
  QTest::qWait(100);  // whatever the scan had queued
  EXPECT_TRUE(images_.empty());
  EXPECT_EQ(closeRequests_, 1);
  // The device is free and scans again.
  testing::Apply(device_, {{"read-delay", "no"}, {"resolution", "50"}});
  std::atomic<HGLOBAL> dib = nullptr;
  std::atomic<bool> done = false;
  {
    ScanJob job(device_, nullptr, [&](HGLOBAL d, const std::string&) {
      dib = d;
      done = true;
    });
    ASSERT_TRUE(WaitFor([&] { return done.load(); }));
  }
  EXPECT_NE(dib.load(), nullptr);
  GlobalFree(dib);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingDuringAScan,
    ::testing::Values(CloseCase{"close_button", [](QDialog* d) { d->findChild<QPushButton*>("closeButton")->click(); }},
                      CloseCase{"window_closed", [](QDialog* d) { d->close(); }},
                      CloseCase{"escape_key", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }}),
    [](const auto& info) { return morvex::testing::CaseName(info.param.name); });

TEST_F(SourceDialogTest, ClosingWithoutScanningAsksToCloseAndRemembersTheSettings) {
  Open();
  W<QComboBox>("modeBox")->setCurrentIndex(W<QComboBox>("modeBox")->findText("Color"));
  Settle();
  W<QPushButton>("closeButton")->click();
  EXPECT_EQ(closeRequests_, 1);
  EXPECT_TRUE(images_.empty());
  std::ifstream in(*SettingsFile("test:0"));
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("mode=Color\n"), std::string::npos) << text.str();
}

TEST_F(SourceDialogTest, DestroyingTheDialogDuringAScanEndsItCleanly) {
  testing::Apply(device_, kSlowScan);
  Open();
  W<QPushButton>("scanButton")->click();
  ASSERT_TRUE(ScanStarted());
  dialog_.reset();
  QTest::qWait(100);
  EXPECT_TRUE(images_.empty());
  EXPECT_EQ(GlobalLiveBlocks(), blocksBefore_);
}

TEST_F(SourceDialogTest, ADeviceWithoutModeSourceOrAreaLeavesThoseDisabled) {
  Open("pnm:0");
  EXPECT_FALSE(W<QComboBox>("modeBox")->isEnabled());
  EXPECT_FALSE(W<QComboBox>("sourceBox")->isEnabled());
  EXPECT_FALSE(W<QComboBox>("areaPresetBox")->isEnabled());
  EXPECT_TRUE(W<QComboBox>("resolutionBox")->isEnabled());
  EXPECT_NE(W<QWidget>("otherOptions")->findChild<QWidget*>("option-filename"), nullptr);
  auto* preview = W<PreviewWidget>("preview");
  morvex::testing::Drag(preview, {10, 10}, {100, 100});  // nothing to set, nothing breaks
  Settle();
  EXPECT_FALSE(W<QLabel>("errorLabel")->isVisible());
}

}  // namespace
}  // namespace morvex::dsm
