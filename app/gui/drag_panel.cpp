#include "drag_panel.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace morvex::gui {

DragPanel::DragPanel(const QColor& top, const QColor& bottom, QWidget* parent)
    : QWidget(parent), top_(top), bottom_(bottom) {}

void DragPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0, top_);
  g.setColorAt(1, bottom_);
  p.fillRect(rect(), g);
}

void DragPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragging_ = true;
  grabOffset_ = event->globalPosition().toPoint() - window()->pos();
  event->accept();
}

void DragPanel::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
  window()->move(event->globalPosition().toPoint() - grabOffset_);
  event->accept();
}

void DragPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

}  // namespace morvex::gui
