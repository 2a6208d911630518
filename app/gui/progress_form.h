// TProgressForm: the elliptical window with the progress pie that a folder
// run shows on top of everything while it works.
#pragma once

#include <QWidget>
#include <cstdint>

namespace morvex::gui {

class PieChart;

inline const QColor kToDoColour(0, 0, 128);    // navy
inline const QColor kDoneColour(255, 255, 0);  // yellow

class TProgressForm : public QWidget {
  Q_OBJECT

 public:
  explicit TProgressForm(QWidget* parent = nullptr);

  // Redraws the pie for `done` of `total` files and lets the window paint.
  void SetProgress(std::int32_t done, std::int32_t total);

  PieChart* chart() const { return chart_; }

 private:
  void FormCreate();

  PieChart* chart_;
};

}  // namespace morvex::gui
