// The preview: a picture of the whole bed on which the user drags the scan area.
#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>
#include <optional>

namespace morvex::dsm {

class PreviewWidget : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewWidget(QWidget* parent = nullptr);

  // The bed's proportions (width / height); the bed is drawn as large as
  // fits with them.
  void setBedAspect(double aspect);
  // The low-resolution picture of the whole bed; a null image clears it.
  void setPicture(const QImage& picture);
  // The scan area as fractions (0..1) of the bed's width and height, or
  // nothing when the device has no area to choose.
  void setArea(const std::optional<QRectF>& fractions);
  bool hasPicture() const { return !picture_.isNull(); }
  // Where the bed is drawn in the widget.
  QRectF bedRect() const;

  QSize sizeHint() const override;

 signals:
  // The user dragged out a new area (fractions of the bed, normalised).
  void areaDragged(const QRectF& fractions);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPointF fractionAt(const QPointF& point) const;

  double aspect_ = 210.0 / 297.0;
  QImage picture_;
  std::optional<QRectF> area_;
  std::optional<QPointF> dragStart_;
  QRectF dragArea_;
};

}  // namespace morvex::dsm
