// A panel painted as a vertical gradient that moves its top-level window
// when dragged with the left mouse button. Labels on it should let mouse
// events through (Qt::WA_TransparentForMouseEvents) so they drag too.
#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

namespace morvex::gui {

class DragPanel : public QWidget {
  Q_OBJECT

 public:
  DragPanel(const QColor& top, const QColor& bottom, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QColor top_, bottom_;
  bool dragging_ = false;
  QPoint grabOffset_;  // cursor position minus window position
};

}  // namespace morvex::gui
