#include "gradient_button.h"

#include <QLinearGradient>
#include <QPainter>
#include <utility>

namespace morvex::gui {

GradientButton::GradientButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
}

QSize GradientButton::sizeHint() const {
  const QSize caption = fontMetrics().size(Qt::TextSingleLine, text());
  return {caption.width() + 24, 25};
}

void GradientButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const bool enabled = isEnabled();
  const bool down = isDown() || isChecked();
  QColor top = enabled ? kGradientTop : QColor(236, 236, 236);
  QColor bottom = enabled ? kGradientBottom : QColor(200, 200, 200);
  if (enabled && underMouse() && !down) bottom = bottom.lighter(106);
  if (down) std::swap(top, bottom);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setBrush(g);
  p.setPen(enabled ? QColor(112, 140, 112) : QColor(160, 160, 160));
  p.drawRoundedRect(r, 3, 3);
  if (hasFocus() && enabled) {
    p.setPen(QPen(QColor(112, 140, 112), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 2, 2);
  }
  p.setPen(enabled ? palette().color(QPalette::Active, QPalette::ButtonText) : QColor(128, 128, 128));
  p.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
}

}  // namespace morvex::gui
