#include "jet_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

namespace morvex::gui {

JetButton::JetButton(const QPixmap& strip, QWidget* parent) : QAbstractButton(parent), strip_(strip) {
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::NoFocus);
  setFixedSize(25, 25);
}

void JetButton::setCaptionColour(const QColor& colour) {
  captionColour_ = colour;
  update();
}

void JetButton::setSymbol(SymbolPainter painter) {
  symbol_ = std::move(painter);
  update();
}

JetButton::Frame JetButton::currentFrame() const {
  if (!isEnabled()) return Frame::Disabled;
  if (isDown()) return Frame::Pressed;
  if (underMouse()) return Frame::Hovered;
  return Frame::Normal;
}

void JetButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const int frameWidth = strip_.width() / 4;
  if (frameWidth > 0) {
    const QRect source(static_cast<int>(currentFrame()) * frameWidth, 0, frameWidth, strip_.height());
    p.drawPixmap(rect(), strip_, source);
  }
  const QRectF box = QRectF(rect()).translated(isDown() ? 1 : 0, isDown() ? 1 : 0);
  const QColor colour = isEnabled() ? captionColour_ : QColor(170, 170, 170);
  if (symbol_) {
    symbol_(p, box, colour);
  } else {
    p.setPen(colour);
    p.setFont(font());
    p.drawText(box, Qt::AlignCenter, text());
  }
}

void JetButton::resizeEvent(QResizeEvent*) { setMask(QRegion(rect(), QRegion::Ellipse)); }

bool JetButton::hitButton(const QPoint& pos) const {
  const QPointF c = QRectF(rect()).center();
  const double rx = width() / 2.0, ry = height() / 2.0;
  const double dx = (pos.x() + 0.5 - c.x()) / rx, dy = (pos.y() + 0.5 - c.y()) / ry;
  return dx * dx + dy * dy <= 1.0;
}

void PaintMinimiseArrow(QPainter& p, const QRectF& box, const QColor& colour) {
  const double w = box.width(), h = box.height();
  const double x0 = box.left(), y0 = box.top();
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  // The shaft: from the left, rightwards, then down.
  QPen pen(colour, w * 0.1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  QPainterPath shaft;
  shaft.moveTo(x0 + w * 0.24, y0 + h * 0.33);
  shaft.lineTo(x0 + w * 0.60, y0 + h * 0.33);
  shaft.lineTo(x0 + w * 0.60, y0 + h * 0.56);
  p.drawPath(shaft);
  // The long triangular tip pointing down.
  QPainterPath tip;
  tip.moveTo(x0 + w * 0.44, y0 + h * 0.55);
  tip.lineTo(x0 + w * 0.76, y0 + h * 0.55);
  tip.lineTo(x0 + w * 0.60, y0 + h * 0.80);
  tip.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(tip);
  p.restore();
}

}  // namespace morvex::gui
