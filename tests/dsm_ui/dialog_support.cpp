#include "dialog_support.h"

#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <memory>

namespace morvex::testing {

QWidget* VisibleTopLevel(const QString& objectName) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == objectName && w->isVisible()) return w;
  }
  return nullptr;
}

void WhenShown(const QString& objectName, std::function<void(QWidget*)> act, int limitMs) {
  auto* timer = new QTimer;
  auto waited = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, waited, objectName, act = std::move(act), limitMs] {
    *waited += timer->interval();
    if (QWidget* w = VisibleTopLevel(objectName)) {
      timer->stop();
      timer->deleteLater();
      act(w);
    } else if (*waited > limitMs) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

bool WaitFor(const std::function<bool()>& condition, int limitMs) { return QTest::qWaitFor(condition, limitMs); }

void Drag(QWidget* widget, QPointF from, QPointF to) {
  QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from.toPoint());
  // QTest::mouseMove sends no button state; the drag is sent as events.
  QMouseEvent move(QEvent::MouseMove, (from + to) / 2, widget->mapToGlobal((from + to) / 2), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  QMouseEvent end(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &end);
  QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to.toPoint());
}

}  // namespace morvex::testing
