#include "picture_box.h"

#include <QPainter>

namespace morvex::gui {

QRect PlacedImageRect(const QSize& image, const QSize& box) {
  if (image.isEmpty() || box.isEmpty()) return {};
  QSize shown = image;
  if (image.width() > box.width() || image.height() > box.height()) shown = image.scaled(box, Qt::KeepAspectRatio);
  return {(box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2, shown.width(), shown.height()};
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setImage(const QImage& image) {
  image_ = image;
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(PlacedImageRect(image_.size(), size()), image_);
}

}  // namespace morvex::gui
