#include "progress_form.h"

#include <QCoreApplication>
#include <QRegion>
#include <QVBoxLayout>

#include "pie_chart.h"
#include "window_placement.h"

namespace morvex::gui {

TProgressForm::TProgressForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), chart_(new PieChart(this)) {
  setObjectName(QStringLiteral("ProgressForm"));
  setWindowTitle(QStringLiteral("Morvex Demo"));
  setFixedSize(399, 253);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(chart_);
  chart_->setRotation(315);
  setCursor(Qt::WaitCursor);
  FormCreate();
  CentreOnScreen(*this);
}

void TProgressForm::FormCreate() {
  // The ellipse inscribed in (1, 1) .. (width - 2, height - 2), the right and
  // bottom bounds exclusive.
  setMask(QRegion(QRect(1, 1, width() - 3, height() - 3), QRegion::Ellipse));
}

void TProgressForm::SetProgress(std::int32_t done, std::int32_t total) {
  chart_->clearSlices();
  chart_->addSlice(static_cast<double>(total) - done, kToDoColour);
  chart_->addSlice(done, kDoneColour);
  QCoreApplication::processEvents();
}

}  // namespace morvex::gui
