// The library's own Qt dialogs behind the triplets, on the offscreen platform:
// the selection chooses and remembers a scanner; the source's dialog opens
// over the program's window, scans, and asks to be closed.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "dsm_fixture.h"
#include "morvex/sane/default_device.h"

namespace morvex::testing {
namespace {

QWidget* TopLevel(const char* objectName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == objectName && widget->isVisible()) return widget;
  }
  return nullptr;
}

// Processes events until `done` holds or 20 s pass.
template <typename Condition>
bool WaitFor(Condition done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 20000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class QtDialogsTest : public DsmTest {
 protected:
  QtDialogsTest() { window = static_cast<HWND>(&mainWindow); }
  // The posted notice handed back to the source, waiting with the GUI live.
  TW_UINT16 NextNotice() {
    std::optional<MorvexMessage> message;
    if (!WaitFor([&] { return (message = queue.Next(std::chrono::milliseconds(0))).has_value(); })) {
      ADD_FAILURE() << "no notice";
      return 0xFFFF;
    }
    TW_EVENT event{&*message, 0xFFFF};
    EXPECT_EQ(Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
    return event.TWMessage;
  }
  QWidget mainWindow;
  dsm::QtFrontend qt;
  dsm::SourceManager real{qt};
};

TEST_F(QtDialogsTest, SelectionChoosesAndRemembersAScanner) {
  mainWindow.show();
  HWND parent = window;
  ASSERT_EQ(real.Entry(&application, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent), TWRC_SUCCESS);
  bool clicked = false;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* dialog = TopLevel("ScannerSelection");
    if (dialog == nullptr || clicked) return;
    auto* list = dialog->findChild<QListWidget*>("scannerList");
    for (int row = 0; list != nullptr && row < list->count(); ++row) {
      if (list->item(row)->data(Qt::UserRole).toString() == "pnm:0") {
        list->setCurrentRow(row);
        dialog->findChild<QPushButton*>("okButton")->click();
        clicked = true;
      }
    }
  });
  driver.start(50);
  TW_IDENTITY chosen{};
  EXPECT_EQ(real.Entry(&application, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &chosen), TWRC_SUCCESS);
  EXPECT_TRUE(clicked);
  EXPECT_EQ(sane::ReadRememberedDevice(), "pnm:0");
  EXPECT_EQ(real.Entry(&application, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent), TWRC_SUCCESS);
}

TEST_F(QtDialogsTest, SourceDialogScansAndAsksToBeClosed) {
  mainWindow.show();
  sane::WriteRememberedDevice("test:0");
  HWND parent = window;
  ASSERT_EQ(real.Entry(&application, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent), TWRC_SUCCESS);
  ASSERT_EQ(real.Entry(&application, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source), TWRC_SUCCESS);
  // DsmTest's Source() goes to `manager`; these go to the real one.
  auto call = [&](TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    return real.Entry(&application, &source, dg, dat, msg, data);
  };
  ui = TW_USERINTERFACE{1, 0, reinterpret_cast<TW_HANDLE>(window)};
  ASSERT_EQ(call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), TWRC_SUCCESS);
  QWidget* dialog = TopLevel("ScannerSource");
  ASSERT_NE(dialog, nullptr);
  // Over the program's window, yet a window of its own: the program disables
  // its window while the source is enabled, and the dialog must stay usable.
  ASSERT_NE(dialog->windowHandle(), nullptr);
  EXPECT_EQ(dialog->windowHandle()->transientParent(), mainWindow.windowHandle());
  EXPECT_FALSE(dialog->isModal());
  mainWindow.setEnabled(false);
  EXPECT_TRUE(dialog->findChild<QPushButton*>("scanButton")->isEnabled());
  mainWindow.setEnabled(true);

  dialog->findChild<QPushButton*>("scanButton")->click();
  std::optional<MorvexMessage> notice;
  ASSERT_TRUE(WaitFor([&] { return (notice = queue.Next(std::chrono::milliseconds(0))).has_value(); }));
  TW_EVENT event{&*notice, 0xFFFF};
  ASSERT_EQ(call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  ASSERT_EQ(event.TWMessage, MSG_XFERREADY);
  TW_UINTPTR handle = 0;
  ASSERT_EQ(call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle), TWRC_XFERDONE);
  TW_PENDINGXFERS pending{};
  ASSERT_EQ(call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending), TWRC_SUCCESS);
  EXPECT_GT(DibSize(reinterpret_cast<HGLOBAL>(handle)).first, 0);
  GlobalFree(reinterpret_cast<HGLOBAL>(handle));
  EXPECT_TRUE(dialog->isVisible());

  dialog->findChild<QPushButton*>("closeButton")->click();
  ASSERT_TRUE(WaitFor([&] { return (notice = queue.Next(std::chrono::milliseconds(0))).has_value(); }));
  event = TW_EVENT{&*notice, 0xFFFF};
  ASSERT_EQ(call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event), TWRC_DSEVENT);
  EXPECT_EQ(event.TWMessage, MSG_CLOSEDSREQ);
  EXPECT_EQ(call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), TWRC_SUCCESS);
  EXPECT_EQ(TopLevel("ScannerSource"), nullptr);
  EXPECT_EQ(real.Entry(&application, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source), TWRC_SUCCESS);
  EXPECT_EQ(real.Entry(&application, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent), TWRC_SUCCESS);
}

}  // namespace
}  // namespace morvex::testing

int main(int argc, char** argv) {
  // Test discovery runs the program without the tests' environment.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
