#include "collapse_splitter.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace morvex::gui {

CollapseSplitter::CollapseSplitter(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {
  setHandleWidth(7);
  setChildrenCollapsible(true);
  setOpaqueResize(true);
}

void CollapseSplitter::setCollapseTarget(int handleIndex, int widgetIndex) {
  targets_[handleIndex] = widgetIndex;
  if (QSplitterHandle* h = handle(handleIndex)) h->update();
}

int CollapseSplitter::neighbourOf(int widgetIndex) const {
  for (auto it = targets_.cbegin(); it != targets_.cend(); ++it)
    if (it.value() == widgetIndex) return it.key() == widgetIndex ? widgetIndex - 1 : widgetIndex + 1;
  return widgetIndex + 1 < count() ? widgetIndex + 1 : widgetIndex - 1;
}

bool CollapseSplitter::isCollapsed(int widgetIndex) const {
  const QList<int> s = sizes();
  return widgetIndex >= 0 && widgetIndex < s.size() && s[widgetIndex] == 0;
}

void CollapseSplitter::collapse(int widgetIndex) {
  QList<int> s = sizes();
  const int n = neighbourOf(widgetIndex);
  if (widgetIndex < 0 || widgetIndex >= s.size() || n < 0 || n >= s.size() || s[widgetIndex] == 0) return;
  saved_[widgetIndex] = s[widgetIndex];
  s[n] += s[widgetIndex];
  s[widgetIndex] = 0;
  setSizes(s);
  for (int i = 0; i <= count(); ++i)
    if (QSplitterHandle* h = handle(i)) h->update();
}

void CollapseSplitter::restore(int widgetIndex) {
  QList<int> s = sizes();
  const int n = neighbourOf(widgetIndex);
  if (widgetIndex < 0 || widgetIndex >= s.size() || n < 0 || n >= s.size() || s[widgetIndex] != 0) return;
  int want = saved_.value(widgetIndex, 0);
  if (want <= 0) {
    const QSize hint = widget(widgetIndex)->sizeHint();
    want = orientation() == Qt::Horizontal ? hint.width() : hint.height();
  }
  want = std::min(want, std::max(0, s[n] - 1));
  s[widgetIndex] = want;
  s[n] -= want;
  setSizes(s);
  for (int i = 0; i <= count(); ++i)
    if (QSplitterHandle* h = handle(i)) h->update();
}

void CollapseSplitter::toggle(int widgetIndex) {
  if (isCollapsed(widgetIndex))
    restore(widgetIndex);
  else
    collapse(widgetIndex);
}

QSplitterHandle* CollapseSplitter::createHandle() { return new CollapseHandle(orientation(), this); }

CollapseHandle::CollapseHandle(Qt::Orientation orientation, CollapseSplitter* parent)
    : QSplitterHandle(orientation, parent) {}

int CollapseHandle::index() const {
  for (int i = 0; i < splitter()->count(); ++i)
    if (splitter()->handle(i) == this) return i;
  return -1;
}

QRect CollapseHandle::gripRect() const {
  constexpr int kLength = 60;
  if (orientation() == Qt::Horizontal) return {0, (height() - kLength) / 2, width(), kLength};
  return {(width() - kLength) / 2, 0, kLength, height()};
}

void CollapseHandle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(233, 233, 233));
  const int target = owner()->collapseTarget(index());
  if (target < 0) return;
  const QRect g = gripRect();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QColor(150, 150, 170));
  p.setBrush(QColor(205, 205, 225));
  p.drawRoundedRect(QRectF(g).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
  // An arrow pointing the way the click moves the handle.
  const bool collapsed = owner()->isCollapsed(target);
  const bool targetBefore = target < index();
  const bool pointsBack = targetBefore != collapsed;  // towards the start of the splitter
  const QPoint c = g.center();
  QPolygon arrow;
  if (orientation() == Qt::Horizontal) {
    if (pointsBack) arrow << QPoint(c.x() + 2, c.y() - 4) << QPoint(c.x() + 2, c.y() + 4) << QPoint(c.x() - 2, c.y());
    else arrow << QPoint(c.x() - 2, c.y() - 4) << QPoint(c.x() - 2, c.y() + 4) << QPoint(c.x() + 2, c.y());
  } else {
    if (pointsBack) arrow << QPoint(c.x() - 4, c.y() + 2) << QPoint(c.x() + 4, c.y() + 2) << QPoint(c.x(), c.y() - 2);
    else arrow << QPoint(c.x() - 4, c.y() - 2) << QPoint(c.x() + 4, c.y() - 2) << QPoint(c.x(), c.y() + 2);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 60, 110));
  p.drawPolygon(arrow);
}

void CollapseHandle::mousePressEvent(QMouseEvent* event) {
  pressPos_ = event->position().toPoint();
  pressedOnGrip_ = event->button() == Qt::LeftButton && gripRect().contains(pressPos_) &&
                   owner()->collapseTarget(index()) >= 0;
  moved_ = false;
  QSplitterHandle::mousePressEvent(event);
}

void CollapseHandle::mouseMoveEvent(QMouseEvent* event) {
  if ((event->position().toPoint() - pressPos_).manhattanLength() > 2) moved_ = true;
  QSplitterHandle::mouseMoveEvent(event);
}

void CollapseHandle::mouseReleaseEvent(QMouseEvent* event) {
  QSplitterHandle::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && pressedOnGrip_ && !moved_) owner()->toggle(owner()->collapseTarget(index()));
  pressedOnGrip_ = false;
}

}  // namespace morvex::gui
