// The scanner layer's platform over Qt 6 Widgets.
#include "morvex/twain_qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "dib_image.h"

namespace morvex::twain {

namespace {

// A posted message as an event of the GUI thread.
class MessageEvent final : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  explicit MessageEvent(const Message& message) : QEvent(Kind()), message_(message) {}
  const Message& message() const { return message_; }

 private:
  Message message_;
};

QWidget* LiveWidget(HWND window) {
  if (window == nullptr) return nullptr;
  for (QWidget* widget : QApplication::allWidgets()) {
    if (static_cast<void*>(widget) == window) return widget;
  }
  return nullptr;
}

// Offers every event of the GUI thread to the modal loop's client first.
class ModalFilter final : public QObject {
 public:
  ModalFilter(ModalClient& client, QEventLoop& loop) : client_(client), loop_(loop) {}

  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (offering_ || done_) return false;  // events sent while the source works are delivered as usual
    if (event->type() == QEvent::Quit) {
      Finish();
      return true;  // consumed: the program's own loop does not see it
    }
    Message message{};
    const bool posted = event->type() == MessageEvent::Kind();
    if (posted) {
      message = static_cast<MessageEvent*>(event)->message();
    } else {
      auto* widget = qobject_cast<QWidget*>(receiver);
      message = {static_cast<HWND>(widget), kQtEventMessage, static_cast<std::uintptr_t>(event->type()),
                 reinterpret_cast<std::intptr_t>(event)};
    }
    offering_ = true;
    const bool claimed = client_.Offer(message);
    offering_ = false;
    if (!client_.KeepWaiting()) Finish();
    // A posted message that nobody claims has no window procedure to go to.
    return claimed || posted;
  }

  void Finish() {
    done_ = true;
    loop_.exit();
  }

 private:
  ModalClient& client_;
  QEventLoop& loop_;
  bool offering_ = false;
  bool done_ = false;
};

}  // namespace

// The receiver of posted messages outside a modal loop: unclaimed, dropped.
class QtPlatform::Queue final : public QObject {
 public:
  bool event(QEvent* event) override { return event->type() == MessageEvent::Kind() || QObject::event(event); }
};

QtPlatform::QtPlatform() : queue_(std::make_unique<Queue>()) {}
QtPlatform::~QtPlatform() = default;

bool QtPlatform::IsWindow(HWND window) { return LiveWidget(window) != nullptr; }

bool QtPlatform::EnableWindow(HWND window, bool enable) {
  QWidget* widget = LiveWidget(window);
  if (widget == nullptr) return false;
  const bool wasDisabled = !widget->isEnabled();
  widget->setEnabled(enable);
  return wasDisabled;
}

HWND QtPlatform::CreateProxyWindow(const std::string& title) {
  auto* proxy = new QLabel;
  proxy->setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowTitleHint);
  proxy->setWindowTitle(QString::fromStdString(title));
  proxy->show();
  return static_cast<HWND>(static_cast<QWidget*>(proxy));
}

void QtPlatform::DestroyWindow(HWND window) { delete LiveWidget(window); }

bool QtPlatform::PostMessage(const Message& message) {
  QCoreApplication::postEvent(queue_.get(), new MessageEvent(message));
  return true;
}

void QtPlatform::RunModalLoop(ModalClient& client) {
  if (!client.KeepWaiting()) return;
  QEventLoop loop;
  ModalFilter filter(client, loop);
  qApp->installEventFilter(&filter);
  loop.exec();
  qApp->removeEventFilter(&filter);
}

void QtPlatform::MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                            const std::string& details) {
  QMessageBox box(icon == BoxIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
  if (!details.empty()) box.setDetailedText(QString::fromStdString(details));
  box.exec();
}

bool QtPlatform::OpenClipboard(HWND) {
  clipboardOpen_ = true;
  return true;
}

bool QtPlatform::EmptyClipboard() {
  if (!clipboardOpen_) return false;
  QGuiApplication::clipboard()->clear();
  return true;
}

bool QtPlatform::SetClipboardData(std::uint32_t format, HGLOBAL block) {
  if (!clipboardOpen_ || format != CF_DIB) return false;
  const QImage image = DibToImage(block);
  if (image.isNull()) return false;
  QGuiApplication::clipboard()->setImage(image);
  GlobalFree(block);  // the clipboard keeps its own copy
  return true;
}

void QtPlatform::CloseClipboard() { clipboardOpen_ = false; }

std::optional<std::string> QtPlatform::FileDialog(FileDialogKind kind, const std::string& filterName,
                                                  const std::string&) {
  const QString filter = QString::fromStdString(filterName);  // the name carries its pattern
  const QString chosen = kind == FileDialogKind::Save
                             ? QFileDialog::getSaveFileName(nullptr, QString(), QString(), filter)
                             : QFileDialog::getOpenFileName(nullptr, QString(), QString(), filter);
  if (chosen.isEmpty()) return std::nullopt;
  return QFile::encodeName(chosen).toStdString();
}

}  // namespace morvex::twain
