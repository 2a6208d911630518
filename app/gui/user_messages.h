// The message boxes the window shows: the application's error report and the
// About box. Behind an interface so that tests can record them instead of
// blocking on a modal box.
#pragma once

#include <QString>

class QWidget;

namespace morvex::gui {

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  // The application's error report: the text of the error that ended a command.
  virtual void ShowError(const QString& text) = 0;
  // A modal box with the information icon and one OK button.
  virtual void ShowInformation(const QString& caption, const QString& text) = 0;
  // The platform's own error box (caption "Error", error icon, one OK
  // button), for a failure that does not end the command.
  virtual void ShowPlatformError(const QString& text) = 0;
};

// The real message boxes.
class MessageBoxes : public UserMessages {
 public:
  void ShowError(const QString& text) override;
  void ShowInformation(const QString& caption, const QString& text) override;
  void ShowPlatformError(const QString& text) override;
};

}  // namespace morvex::gui
