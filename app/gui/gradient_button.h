// A toolbar push button drawn as a vertical gradient: white at the top to
// pale green at the bottom, greys when disabled, the gradient turned over
// while pressed.
#pragma once

#include <QColor>
#include <QPushButton>

namespace morvex::gui {

inline const QColor kGradientTop(255, 255, 255);
inline const QColor kGradientBottom(192, 220, 192);

class GradientButton : public QPushButton {
  Q_OBJECT

 public:
  explicit GradientButton(const QString& caption, QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace morvex::gui
