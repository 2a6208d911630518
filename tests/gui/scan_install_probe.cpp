// Run from an installed copy's bin folder: takes one image from the
// remembered scanner with the source's dialog hidden, through the TWAIN
// Source Manager of the installed library folder. Prints that folder and the
// image's size; exit status 0 when an image came.
#include <QApplication>
#include <QWidget>
#include <iostream>

#include "morvex/sane/default_device.h"
#include "morvex/twain/dib.h"
#include "morvex/twain/library_folder.h"
#include "morvex/twain/multitwain.h"
#include "morvex/twain_qt/qt_platform.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: scan_install_probe DEVICE\n";
    return 2;
  }
  QApplication app(argc, argv);
  using namespace morvex::twain;
  morvex::sane::WriteRememberedDevice(argv[1]);
  QtPlatform platform;
  InstallPlatform(&platform);
  std::cout << ProgramLibraryFolder() << "\n";
  QWidget window;
  window.show();
  TWAIN_SetHideUI(1);
  const HGLOBAL dib = TWAIN_AcquireDib(static_cast<QWidget*>(&window), 0);
  int status = 1;
  if (dib != nullptr) {
    std::cout << TWAIN_DibWidth(dib) << "x" << TWAIN_DibHeight(dib) << "\n";
    TWAIN_FreeDib(dib);
    status = 0;
  }
  InstallPlatform(nullptr);
  return status;
}
