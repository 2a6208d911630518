#include "splash_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "app_info.h"
#include "gui_resources.h"
#include "money_form.h"
#include "window_placement.h"

namespace morvex::gui {

TForm2::TForm2(TProgressForm& progressForm, UserMessages& messages)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), progressForm_(progressForm), messages_(messages) {
  InitGuiResources();
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(kApplicationTitle);
  setFixedSize(600, 445);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* panel = new QFrame;
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  auto* inner = new QVBoxLayout(panel);
  inner->setContentsMargins(2, 2, 2, 2);
  // The picture is larger than the window: shown centred, its edges cut off.
  auto* picture = new QLabel;
  picture->setObjectName(QStringLiteral("SplashPicture"));
  picture->setPixmap(QPixmap(kSplashPicture));
  picture->setAlignment(Qt::AlignCenter);
  picture->setMinimumSize(1, 1);
  picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  inner->addWidget(picture);
  layout->addWidget(panel);
  setCursor(Qt::WaitCursor);
  CentreOnScreen(*this);

  timer_.setInterval(kSplashTimerInterval);
  connect(&timer_, &QTimer::timeout, this, &TForm2::TimerTick);
}

TForm2::~TForm2() = default;

bool TForm2::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  // A desktop that keeps new windows from taking the focus would never
  // activate the splash: it then carries on after a second all the same.
  if (event->type() == QEvent::Show && !activated_) QTimer::singleShot(1000, this, &TForm2::FormActivate);
  return QWidget::event(event);
}

void TForm2::FormActivate() {
  // Only the first activation starts the timer: later ones (the main form
  // is activated again whenever the user returns to the program) do nothing.
  if (activated_) return;
  activated_ = true;
  QCoreApplication::processEvents();  // the splash paints before the wait
  timer_.start();
}

void TForm2::TimerTick() {
  timer_.stop();
  moneyForm_ = std::make_unique<TMoneyForm>(progressForm_, messages_, this);
  hide();
  QCoreApplication::processEvents();
  moneyForm_->show();
  moneyForm_->activateWindow();
  emit mainWindowShown();
}

void TForm2::closeEvent(QCloseEvent* event) {
  // The main form: closing it ends the program.
  event->accept();
  QCoreApplication::quit();
}

}  // namespace morvex::gui
