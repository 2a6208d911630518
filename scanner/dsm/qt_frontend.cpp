// The Source Manager's desktop side over the Qt dialogs and the scan job of ui/.
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "frontend.h"
#include "ui/device_settings.h"
#include "ui/scan_job.h"
#include "ui/selection_dialog.h"
#include "ui/source_dialog.h"

namespace morvex::dsm {

namespace {

// The program's window behind a handle, or null when the handle is none or
// no live widget (a dialog over a vanished window would crash).
QWidget* LiveWidget(HWND window) {
  if (window == nullptr || QApplication::instance() == nullptr) return nullptr;
  for (QWidget* widget : QApplication::allWidgets()) {
    if (static_cast<HWND>(widget) == window) return widget;
  }
  return nullptr;
}

class RunningDialog final : public Running {
 public:
  explicit RunningDialog(SourceDialog* dialog) : dialog_(dialog) {}
  ~RunningDialog() override { delete dialog_.data(); }

 private:
  QPointer<SourceDialog> dialog_;
};

class RunningScan final : public Running {
 public:
  RunningScan(sane::Device& device, ImageHandler image, CloseHandler failed)
      : job_(device, [](double) {}, [image = std::move(image), failed = std::move(failed)](HGLOBAL dib, const std::string& error) {
          if (dib != nullptr) {
            image(dib);
          } else {
            failed(error);
          }
        }) {}

 private:
  ScanJob job_;
};

}  // namespace

std::optional<std::string> QtFrontend::ChooseScanner(HWND parent, const std::string& remembered) {
  if (QApplication::instance() == nullptr) return std::nullopt;  // no desktop to show a dialog on
  return RunSelectionDialog(LiveWidget(parent), remembered);
}

std::unique_ptr<Running> QtFrontend::ShowSource(sane::Device& device, const std::string& scannerName, HWND parent,
                                                ModeFilter modeAllowed, ImageHandler image, CloseHandler close) {
  if (QApplication::instance() == nullptr) throw std::runtime_error("no desktop for the source's dialog");
  // The program disables its window while the source is enabled; a Qt child
  // would be disabled with it. The dialog is therefore a window of its own,
  // kept above the program's window as its transient and centred on it.
  auto* dialog = new SourceDialog(device, QString::fromStdString(scannerName), nullptr, std::move(modeAllowed));
  if (QWidget* owner = LiveWidget(parent)) {
    QWidget* ownerWindow = owner->window();
    dialog->winId();
    if (ownerWindow->windowHandle() != nullptr && dialog->windowHandle() != nullptr) {
      dialog->windowHandle()->setTransientParent(ownerWindow->windowHandle());
    }
    dialog->adjustSize();
    dialog->move(ownerWindow->geometry().center() - dialog->rect().center());
  }
  auto running = std::make_unique<RunningDialog>(dialog);
  QObject::connect(dialog, &SourceDialog::imageScanned, dialog, [image](HGLOBAL dib) { image(dib); });
  QObject::connect(dialog, &SourceDialog::closeRequested, dialog, [close] { close(std::string()); });
  dialog->show();
  return running;
}

std::unique_ptr<Running> QtFrontend::Scan(sane::Device& device, ImageHandler image, CloseHandler failed) {
  return std::make_unique<RunningScan>(device, std::move(image), std::move(failed));
}

void QtFrontend::ApplySettings(sane::Device& device) { ApplyRememberedSettings(device); }

}  // namespace morvex::dsm
