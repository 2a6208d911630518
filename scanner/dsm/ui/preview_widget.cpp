#include "preview_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace morvex::dsm {

PreviewWidget::PreviewWidget(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("preview"));
  setMinimumSize(200, 240);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setCursor(Qt::CrossCursor);
  setToolTip(QStringLiteral("Выделите мышью область сканирования"));
}

void PreviewWidget::setBedAspect(double aspect) {
  if (aspect > 0) aspect_ = aspect;
  update();
}

void PreviewWidget::setPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void PreviewWidget::setArea(const std::optional<QRectF>& fractions) {
  area_ = fractions;
  setCursor(area_ ? Qt::CrossCursor : Qt::ArrowCursor);
  update();
}

QSize PreviewWidget::sizeHint() const { return {static_cast<int>(360 * aspect_) + 8, 368}; }

QRectF PreviewWidget::bedRect() const {
  const QRectF room = QRectF(rect()).adjusted(4, 4, -4, -4);
  double w = room.width();
  double h = w / aspect_;
  if (h > room.height()) {
    h = room.height();
    w = h * aspect_;
  }
  return {room.center().x() - w / 2, room.center().y() - h / 2, w, h};
}

QPointF PreviewWidget::fractionAt(const QPointF& point) const {
  const QRectF bed = bedRect();
  return {std::clamp((point.x() - bed.left()) / bed.width(), 0.0, 1.0),
          std::clamp((point.y() - bed.top()) / bed.height(), 0.0, 1.0)};
}

void PreviewWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  const QRectF bed = bedRect();
  painter.fillRect(bed, Qt::white);
  if (!picture_.isNull()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(bed, picture_);
  }
  painter.setPen(QPen(Qt::gray, 1));
  painter.drawRect(bed);
  const std::optional<QRectF> shown = dragStart_ ? std::optional<QRectF>(dragArea_) : area_;
  if (shown) {
    const QRectF area(bed.left() + shown->left() * bed.width(), bed.top() + shown->top() * bed.height(),
                      shown->width() * bed.width(), shown->height() * bed.height());
    // Outside the area is dimmed; the area itself keeps its picture.
    QPainterPath outside;
    outside.addRect(bed);
    QPainterPath inside;
    inside.addRect(area);
    painter.fillPath(outside.subtracted(inside), QColor(0, 0, 0, 70));
    painter.setPen(QPen(QColor(0, 90, 200), 2, Qt::DashLine));
    painter.drawRect(area);
  }
  if (picture_.isNull()) {
    // The hint lies on a plate of its own at the foot of the bed, over
    // whatever area is marked.
    const QString hint = QStringLiteral("Нажмите «Просмотр», чтобы увидеть всё стекло сканера");
    const QRectF room = bed.adjusted(8, 8, -8, -8);
    QRectF plate = painter.boundingRect(room, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, hint);
    plate.adjust(-6, -4, 6, 4);
    plate.moveBottom(room.bottom());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRoundedRect(plate, 4, 4);
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(plate, Qt::AlignCenter | Qt::TextWordWrap, hint);
  }
}

void PreviewWidget::mousePressEvent(QMouseEvent* event) {
  if (!area_ || !isEnabled() || event->button() != Qt::LeftButton) return;
  dragStart_ = fractionAt(event->position());
  dragArea_ = QRectF(*dragStart_, *dragStart_);
  update();
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragStart_) return;
  dragArea_ = QRectF(*dragStart_, fractionAt(event->position())).normalized();
  update();
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragStart_ || event->button() != Qt::LeftButton) return;
  const QRectF dragged = QRectF(*dragStart_, fractionAt(event->position())).normalized();
  dragStart_.reset();
  update();
  // A click without a drag chooses nothing.
  if (dragged.width() * bedRect().width() < 3 || dragged.height() * bedRect().height() < 3) return;
  emit areaDragged(dragged);
}

}  // namespace morvex::dsm
