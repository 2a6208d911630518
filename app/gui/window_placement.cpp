#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace morvex::gui {

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect desk = screen->geometry();
  window.move(desk.x() + (desk.width() - window.width()) / 2, desk.y() + (desk.height() - window.height()) / 2);
}

}  // namespace morvex::gui
