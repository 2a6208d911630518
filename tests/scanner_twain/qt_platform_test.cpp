// The Qt platform: the modal loop runs for real as a nested Qt event loop on
// the offscreen platform, with the test Source Manager posting its notices
// through morvex_winshim.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "morvex/twain/dib.h"
#include "morvex/twain/layer_state.h"
#include "morvex/twain/multitwain.h"
#include "morvex/twain_qt/qt_platform.h"
#include "twain_fixture.h"

namespace morvex::testing {
namespace {

using namespace morvex::twain;

HWND HandleOf(QWidget* widget) { return static_cast<HWND>(widget); }

// Ends a loop that would otherwise wait for ever: the source's dialog is
// closed after a while, so a broken loop fails its test instead of hanging.
class Watchdog {
 public:
  explicit Watchdog(HWND window) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [window] {
      MorvexMessage close{window, kDsmPrivateMessage, 99, static_cast<intptr_t>(UserAction::CloseDialog)};
      MorvexPostMessage(&close);
    });
    timer_.start(5000);
  }
  bool fired() const { return !timer_.isActive(); }

 private:
  QTimer timer_;
};

class QtModalLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallPlatform(&platform);
    ResetLayerState();
    dsm.Reset();
    liveBlocks = GlobalLiveBlocks();
    window.show();
  }
  void TearDown() override {
    ResetLayerState();
    InstallPlatform(nullptr);
    dsm.Reset();
    EXPECT_EQ(GlobalLiveBlocks(), liveBlocks);
  }

  // The platform looks for the manager in the test Source Manager's folder.
  class TestFolderPlatform : public QtPlatform {
   public:
    std::string WindowsDirectory() override { return TestDsmFolder(); }
  };

  TestFolderPlatform platform;
  DsmControl& dsm = TestDsm();
  QWidget window;
  std::size_t liveBlocks = 0;
};

std::size_t CountOf(const std::vector<std::string>& names, const std::string& name) {
  return static_cast<std::size_t>(std::count(names.begin(), names.end(), name));
}

TEST_F(QtModalLoop, PostedScanNoticeEndsTheLoopWithAnImage) {
  dsm.script.actions = {UserAction::Scan};
  Watchdog watchdog(HandleOf(&window));
  HGLOBAL dib = TWAIN_AcquireDib(HandleOf(&window), 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_FALSE(watchdog.fired());
  EXPECT_EQ(TWAIN_DibWidth(dib), 5);
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_TRUE(window.isEnabled());
  const std::vector<std::string> names = TripletNames(dsm.calls);
  EXPECT_EQ(CountOf(names, "source DAT_IMAGENATIVEXFER MSG_GET"), 1u);
  EXPECT_EQ(names.back(), "manager MSG_CLOSEDSM");
  TWAIN_FreeDib(dib);
}

TEST_F(QtModalLoop, OtherEventsAreOfferedFirstAndStillDelivered) {
  // A timer that fires inside the loop: its event is offered to the source,
  // which does not claim it, and is then delivered, so the timer's slot runs.
  bool timerRan = false;
  QTimer::singleShot(20, [&] {
    timerRan = true;
    MorvexMessage scan{HandleOf(&window), kDsmPrivateMessage, 0, static_cast<intptr_t>(UserAction::Scan)};
    MorvexPostMessage(&scan);
  });
  Watchdog watchdog(HandleOf(&window));
  HGLOBAL dib = TWAIN_AcquireDib(HandleOf(&window), 0);
  EXPECT_TRUE(timerRan);
  ASSERT_NE(dib, nullptr);
  bool offeredQtEvent = false;
  for (const DsmCall& call : dsm.calls) {
    if (call.msg == MSG_PROCESSEVENT && call.eventMessage == kQtEventMessage) offeredQtEvent = true;
  }
  EXPECT_TRUE(offeredQtEvent);
  TWAIN_FreeDib(dib);
}

// Sees whether a quit request got past the layer's filter.
class QuitSpy : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Quit) sawQuit = true;
    return false;
  }
  bool sawQuit = false;
};

TEST_F(QtModalLoop, QuitRequestEndsTheLoopAndIsConsumed) {
  // As in the program, the acquisition runs inside the application's own
  // loop, and a quit request comes while the source's dialog is open.
  QuitSpy spy;
  qApp->installEventFilter(&spy);  // installed first, so asked after the layer's filter
  HGLOBAL result = reinterpret_cast<HGLOBAL>(1);
  bool watchdogFired = true;
  QTimer::singleShot(0, [&] {
    QTimer::singleShot(20, [] { QCoreApplication::quit(); });
    Watchdog watchdog(HandleOf(&window));
    result = TWAIN_AcquireDib(HandleOf(&window), 0);
    watchdogFired = watchdog.fired();
    QCoreApplication::exit(5);
  });
  EXPECT_EQ(qApp->exec(), 5);
  qApp->removeEventFilter(&spy);
  EXPECT_EQ(result, nullptr);
  EXPECT_FALSE(watchdogFired);
  EXPECT_FALSE(spy.sawQuit) << "the quit request was consumed";
  EXPECT_EQ(TWAIN_State(), 1);
  EXPECT_TRUE(window.isEnabled());
  for (const DsmCall& call : dsm.calls) EXPECT_NE(call.dat, DAT_IMAGENATIVEXFER);
}

TEST_F(QtModalLoop, WindowIsDisabledWhileTheLoopRuns) {
  bool enabledDuringLoop = true;
  QTimer::singleShot(20, [&] {
    enabledDuringLoop = window.isEnabled();
    MorvexMessage close{HandleOf(&window), kDsmPrivateMessage, 0, static_cast<intptr_t>(UserAction::CloseDialog)};
    MorvexPostMessage(&close);
  });
  Watchdog watchdog(HandleOf(&window));
  EXPECT_EQ(TWAIN_AcquireDib(HandleOf(&window), 0), nullptr);
  EXPECT_FALSE(enabledDuringLoop);
  EXPECT_TRUE(window.isEnabled());
}

TEST_F(QtModalLoop, ProxyWindowStandsInAndIsGoneAfterwards) {
  QString proxyTitle;
  QTimer::singleShot(20, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != &window && qobject_cast<QLabel*>(w) != nullptr) proxyTitle = w->windowTitle();
    }
    MorvexMessage scan{nullptr, kDsmPrivateMessage, 0, static_cast<intptr_t>(UserAction::Scan)};
    MorvexPostMessage(&scan);
  });
  Watchdog watchdog(nullptr);
  HGLOBAL dib = TWAIN_AcquireDib(nullptr, 0);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(proxyTitle, "Acquire Proxy");
  HWND proxy = static_cast<HWND>(dsm.calls.front().parent);
  EXPECT_NE(proxy, nullptr);
  EXPECT_FALSE(platform.IsWindow(proxy));
  TWAIN_FreeDib(dib);
}

TEST_F(QtModalLoop, ReportBoxShowsTheDetailsCollapsed) {
  dsm.script.enableReturn = TWRC_FAILURE;
  dsm.script.condition = TWCC_OPERATIONERROR;
  QString text, title, details;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      title = box->windowTitle();
      details = box->detailedText();
      icon = box->icon();
      box->accept();
    }
  });
  poll.start(10);
  EXPECT_EQ(TWAIN_AcquireDib(HandleOf(&window), 0), nullptr);
  EXPECT_EQ(text, "TWAIN_ReportLastError: an error occurred");
  EXPECT_EQ(title, "TWAIN Error");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(details,
            "Failed to enable Data Source.\nDataSource operation failed\nReturn code: TWRC_FAILURE\n"
            "Condition code: TWCC_OPERATIONERROR (DS or DSM reported error, app shouldn't)");
}

TEST_F(QtModalLoop, ScanToClipboardPutsTheImageOnTheSystemClipboard) {
  QGuiApplication::clipboard()->clear();
  dsm.script.actions = {UserAction::Scan};
  Watchdog watchdog(HandleOf(&window));
  EXPECT_EQ(TWAIN_ScanToClipboard(HandleOf(&window), 0), 1);
  const QImage image = QGuiApplication::clipboard()->image();
  EXPECT_EQ(image.size(), QSize(5, 3));
  EXPECT_EQ(image.pixel(0, 0), qRgb(1, 1, 1)) << "every byte of the first delivery is 1";
}

TEST(QtWindows, HandlesAreWindowsOnlyWhileTheirWidgetLives) {
  QtPlatform platform;
  auto* widget = new QWidget;
  HWND handle = HandleOf(widget);
  EXPECT_TRUE(platform.IsWindow(handle));
  EXPECT_FALSE(platform.EnableWindow(handle, false));
  EXPECT_FALSE(widget->isEnabled());
  EXPECT_TRUE(platform.EnableWindow(handle, true)) << "was disabled";
  int local = 0;
  EXPECT_FALSE(platform.IsWindow(&local));
  EXPECT_FALSE(platform.IsWindow(nullptr));
  platform.DestroyWindow(handle);
  EXPECT_FALSE(platform.IsWindow(handle));
}

}  // namespace
}  // namespace morvex::testing

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
