// A three-dimensional pie of a few slices on a radial grey gradient, without
// title, legend, labels or frame.
#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

namespace morvex::gui {

struct PieSlice {
  double value = 0;
  QColor colour;
};

class PieChart : public QWidget {
  Q_OBJECT

 public:
  explicit PieChart(QWidget* parent = nullptr);

  void clearSlices();
  void addSlice(double value, const QColor& colour);
  const QList<PieSlice>& slices() const { return slices_; }

  // Where the first slice starts, in degrees counter-clockwise from three
  // o'clock.
  void setRotation(double degrees) { rotation_ = degrees; update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QList<PieSlice> slices_;
  double rotation_ = 0;
};

}  // namespace morvex::gui
