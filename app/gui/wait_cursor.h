// The hourglass over the whole application for as long as this object lives
// (or until release()).
#pragma once

#include <QApplication>

namespace morvex::gui {

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { release(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  void release() {
    if (active_) QApplication::restoreOverrideCursor();
    active_ = false;
  }

 private:
  bool active_ = true;
};

}  // namespace morvex::gui
