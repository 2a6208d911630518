// TForm2: the splash window and the application's main form. Its first
// activation starts a short timer whose tick creates the main window, hides
// the splash and shows the main window. Closing it ends the program.
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>

namespace morvex::gui {

class TMoneyForm;
class TProgressForm;
class UserMessages;

inline constexpr int kSplashTimerInterval = 100;  // milliseconds

class TForm2 : public QWidget {
  Q_OBJECT

 public:
  TForm2(TProgressForm& progressForm, UserMessages& messages);
  ~TForm2() override;

  void FormActivate();

  // The main window, once the timer has made it.
  TMoneyForm* moneyForm() const { return moneyForm_.get(); }

 signals:
  void mainWindowShown();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void TimerTick();

  TProgressForm& progressForm_;
  UserMessages& messages_;
  QTimer timer_;
  bool activated_ = false;
  std::unique_ptr<TMoneyForm> moneyForm_;
};

}  // namespace morvex::gui
