#include "pie_chart.h"

#include <QPainter>
#include <QRadialGradient>
#include <cmath>

namespace morvex::gui {
namespace {

const QColor kGradientOuter(72, 72, 72);
const QColor kGradientInner(192, 192, 192);  // silver

constexpr double kTilt = 0.5;   // height of the pie's ellipse over its width
constexpr int kDepthPx = 22;    // thickness of the pie

}  // namespace

PieChart::PieChart(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PieChart::clearSlices() {
  slices_.clear();
  update();
}

void PieChart::addSlice(double value, const QColor& colour) {
  slices_.push_back({value, colour});
  update();
}

void PieChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF area = rect();
  QRadialGradient background(area.center(), std::hypot(area.width(), area.height()) / 2);
  background.setColorAt(0, kGradientInner);
  background.setColorAt(1, kGradientOuter);
  p.fillRect(area, background);

  double total = 0;
  for (const PieSlice& s : slices_) total += std::max(0.0, s.value);
  if (total <= 0) return;

  const double w = std::min(area.width() * 0.74, (area.height() * 0.78 - kDepthPx) / kTilt);
  const double h = w * kTilt;
  const QRectF top(area.center().x() - w / 2, area.center().y() - (h + kDepthPx) / 2, w, h);

  auto drawPies = [&](const QRectF& box, bool side) {
    double start = rotation_;
    for (const PieSlice& s : slices_) {
      const double span = 360.0 * std::max(0.0, s.value) / total;
      if (span <= 0) continue;
      const QColor c = side ? s.colour.darker(170) : s.colour;
      p.setBrush(c);
      p.setPen(side ? QPen(c) : QPen(s.colour.darker(140), 1));
      if (span >= 360.0)
        p.drawEllipse(box);
      else
        p.drawPie(box, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
      start += span;
    }
  };
  // The side wall: the pie drawn darker, layer by layer from the bottom up,
  // then its face on top.
  for (int dz = kDepthPx; dz >= 1; --dz) drawPies(top.translated(0, dz), true);
  drawPies(top, false);
}

}  // namespace morvex::gui
