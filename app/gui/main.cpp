// Morvex Demo, the desktop window.
#include <QApplication>
#include <QIcon>

#include "app_info.h"
#include "gui_resources.h"
#include "progress_form.h"
#include "splash_form.h"
#include "morvex/twain/multitwain.h"
#include "morvex/twain_qt/qt_platform.h"
#include "user_messages.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace morvex::gui;
  InitGuiResources();
  QApplication::setApplicationName(QStringLiteral("morvex-demo"));
  QApplication::setApplicationDisplayName(kApplicationTitle);
  QApplication::setApplicationVersion(kVersion);
  QApplication::setWindowIcon(QIcon(kProgramIcon));
  QGuiApplication::setDesktopFileName(QStringLiteral("morvex-demo"));

  // The scanner layer reaches windows, its message loop and the Source
  // Manager's posted messages through Qt.
  morvex::twain::QtPlatform scannerPlatform;
  morvex::twain::InstallPlatform(&scannerPlatform);

  MessageBoxes messages;
  TProgressForm progressForm;
  TForm2 form2(progressForm, messages);
  form2.show();
  // The main form is the active window once the loop runs, as with any
  // program that has just started.
  form2.activateWindow();
  const int status = app.exec();
  morvex::twain::InstallPlatform(nullptr);
  return status;
}
