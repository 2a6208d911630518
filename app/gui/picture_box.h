// Shows one image centred in the box; an image larger than the box is shrunk
// to fit with its proportions kept, a smaller one is shown at its natural
// size, never enlarged.
#pragma once

#include <QImage>
#include <QWidget>

namespace morvex::gui {

// Where an image of `image` size appears inside a box of `box` size.
QRect PlacedImageRect(const QSize& image, const QSize& box);

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  void setImage(const QImage& image);
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

}  // namespace morvex::gui
