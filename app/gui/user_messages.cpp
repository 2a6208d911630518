#include "user_messages.h"

#include <QApplication>
#include <QMessageBox>

#include "app_info.h"

namespace morvex::gui {

void MessageBoxes::ShowError(const QString& text) {
  QMessageBox::critical(QApplication::activeWindow(), kApplicationTitle, text);
}

void MessageBoxes::ShowPlatformError(const QString& text) {
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"), text);
}

void MessageBoxes::ShowInformation(const QString& caption, const QString& text) {
  QMessageBox::information(QApplication::activeWindow(), caption, text);
}

}  // namespace morvex::gui
