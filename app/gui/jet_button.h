// A round picture button of the title bar, drawn from a strip of four
// equally wide images side by side: normal, disabled, pressed, hovered. The
// button is clipped to the circle inscribed in its rectangle, and its
// caption, a text or a drawn symbol, is painted over the picture.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>
#include <functional>

namespace morvex::gui {

class JetButton : public QAbstractButton {
  Q_OBJECT

 public:
  enum class Frame { Normal = 0, Disabled = 1, Pressed = 2, Hovered = 3 };
  // Paints the caption symbol into the given rectangle.
  using SymbolPainter = std::function<void(QPainter&, const QRectF&, const QColor&)>;

  JetButton(const QPixmap& strip, QWidget* parent = nullptr);

  void setCaptionColour(const QColor& colour);
  // Draws this symbol instead of the text caption.
  void setSymbol(SymbolPainter painter);

  // The strip image the button shows in its present state.
  Frame currentFrame() const;

  QSize sizeHint() const override { return {25, 25}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  QPixmap strip_;
  QColor captionColour_ = Qt::white;
  SymbolPainter symbol_;
};

// The minimise symbol: an arrow running right and turning down with a long
// triangular tip, the shape of "?" in the "Wingdings 3" font.
void PaintMinimiseArrow(QPainter& painter, const QRectF& box, const QColor& colour);

}  // namespace morvex::gui
