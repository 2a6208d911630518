// Renders the Source Manager's dialogs to PNG files, to look at them as a
// user would:  dsm_ui_shots <folder>  (SANE_CONFIG_DIR naming test and pnm).
// Writes selection.png, source.png (after a preview with the note preset)
// and source-error.png.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QComboBox>
#include <QThread>
#include <cstdio>
#include <functional>

#include "morvex/sane/option_text.h"
#include "morvex/sane/session.h"
#include "preview_widget.h"
#include "selection_dialog.h"
#include "source_dialog.h"

namespace {

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 3000 && !condition(); ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return condition();
}

void Set(morvex::sane::Device& device, const char* name, const char* text) {
  device.set(name, morvex::sane::ParseOptionValue(*device.find(name), text));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: dsm_ui_shots FOLDER\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QTimer::singleShot(0, [&] {
    QWidget* dialog = nullptr;
    WaitFor([&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "ScannerSelection" && w->isVisible()) dialog = w;
      }
      return dialog && dialog->findChild<QListWidget*>("scannerList")->count() > 0;
    });
    if (!dialog) return;
    dialog->grab().save(out.filePath("selection.png"));
    dialog->findChild<QPushButton*>("cancelButton")->click();
  });
  morvex::dsm::RunSelectionDialog(nullptr, "test:0");

  morvex::sane::Session session;
  morvex::sane::Device device = session.open("test:0");
  Set(device, "enable-test-options", "yes");
  Set(device, "test-picture", "Color pattern");
  Set(device, "mode", "Color");
  morvex::dsm::SourceDialog source(device, "Noname frontend-tester (test:0)", nullptr);
  source.show();
  source.findChild<QComboBox*>("areaPresetBox")->setCurrentIndex(1);
  source.findChild<QPushButton*>("previewButton")->click();
  WaitFor([&] { return source.findChild<morvex::dsm::PreviewWidget*>("preview")->hasPicture() &&
                       source.findChild<QPushButton*>("scanButton")->isEnabled(); });
  QApplication::processEvents();
  source.grab().save(out.filePath("source.png"));

  Set(device, "read-return-value", "SANE_STATUS_JAMMED");
  source.findChild<QPushButton*>("scanButton")->click();
  WaitFor([&] { return source.findChild<QPushButton*>("scanButton")->isEnabled(); });
  QApplication::processEvents();
  source.grab().save(out.filePath("source-error.png"));
  return 0;
}
