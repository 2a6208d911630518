// Shared pieces of the dialog tests: finding widgets, waiting for a dialog
// that another call shows modally, and pressing its buttons.
#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>
#include <functional>

namespace morvex::testing {

// The visible top-level widget of that object name, or null.
QWidget* VisibleTopLevel(const QString& objectName);

// Runs `act` on the dialog of that name as soon as it shows (for dialogs
// that a blocking call such as RunSelectionDialog shows modally). Gives up
// after `limitMs` without it.
void WhenShown(const QString& objectName, std::function<void(QWidget*)> act, int limitMs = 20000);

// Waits (processing events) until the condition holds; false on timeout.
bool WaitFor(const std::function<bool()>& condition, int limitMs = 30000);

// A left-button drag from one point of a widget to another.
void Drag(QWidget* widget, QPointF from, QPointF to);

}  // namespace morvex::testing
