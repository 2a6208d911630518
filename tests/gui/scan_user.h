// A scripted user for the scan dialogs, which appear while the scan command
// runs (inside the scanner layer's modal loops): a list of steps, each a
// condition and an action, tried in order from a timer. Message boxes that
// turn up on the way are recorded and closed, so that a test never hangs on
// one.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>

class QAbstractButton;


namespace morvex::gui::test {

// The visible top-level widget with this object name, or null.
QWidget* ShownWindow(const QString& objectName);
// The child of the visible top-level window `window` named `child`, or null.
template <typename T>
T* ChildOf(const QString& window, const QString& child) {
  QWidget* w = ShownWindow(window);
  return w ? w->findChild<T*>(child) : nullptr;
}

class ScanUser : public QObject {
 public:
  ScanUser();

  // Waits for `ready`, then runs `act`.
  ScanUser& when(std::function<bool()> ready, std::function<void()> act, std::string what);

  // Common steps.
  ScanUser& chooseScanner(const std::string& deviceName);
  ScanUser& cancelSelection();
  // Sets an option of the source dialog's generated section from its text:
  // a line, a list (the entry with that text), a whole number or a check box
  // ("yes" or "no").
  ScanUser& setOption(const QString& name, const QString& value);
  // Clicks a button of the source dialog once it is enabled and shown.
  ScanUser& click(const QString& button);

  // Every step ran; otherwise stuck() says where the user gave up waiting
  // (after kPatienceMs, closing the dialogs).
  bool done() const { return steps_.empty() && stuck_.empty(); }
  std::string stuck() const { return !stuck_.empty() ? stuck_ : steps_.empty() ? std::string() : steps_.front().what; }
  static constexpr int kPatienceMs = 30000;
  QStringList boxes;  // texts of the message boxes that were shown

 private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
    std::string what;
  };
  void tick();

  std::deque<Step> steps_;
  std::string stuck_;
  QTimer timer_;
  QElapsedTimer clock_;
};

}  // namespace morvex::gui::test
