// Placing top-level windows.
#pragma once

#include <QWidget>

namespace morvex::gui {

// Moves the window so that it sits in the middle of its screen.
void CentreOnScreen(QWidget& window);

}  // namespace morvex::gui
