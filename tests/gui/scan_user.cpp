#include "scan_user.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSpinBox>

namespace morvex::gui::test {

QWidget* ShownWindow(const QString& objectName) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->objectName() == objectName) return w;
  return nullptr;
}

ScanUser::ScanUser() {
  timer_.setInterval(20);
  connect(&timer_, &QTimer::timeout, this, &ScanUser::tick);
  timer_.start();
  clock_.start();
}

ScanUser& ScanUser::when(std::function<bool()> ready, std::function<void()> act, std::string what) {
  steps_.push_back({std::move(ready), std::move(act), std::move(what)});
  return *this;
}

void ScanUser::tick() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
      boxes << box->windowTitle() + QStringLiteral(": ") + box->text();
      box->done(QMessageBox::Ok);
    }
  }
  if (!steps_.empty() && clock_.hasExpired(kPatienceMs)) {
    // Stuck: the dialogs are closed so that the command returns and the
    // test can say where it stopped.
    stuck_ = steps_.front().what;
    steps_.clear();
    if (QWidget* selection = ShownWindow(QStringLiteral("ScannerSelection"))) selection->close();
    if (QWidget* source = ShownWindow(QStringLiteral("ScannerSource"))) source->close();
    return;
  }
  if (steps_.empty() || !steps_.front().ready()) return;
  // The action may open a nested loop (a modal dialog) that calls tick
  // again: the step leaves the list first.
  Step step = std::move(steps_.front());
  steps_.pop_front();
  step.act();
}

ScanUser& ScanUser::chooseScanner(const std::string& deviceName) {
  const QString name = QString::fromStdString(deviceName);
  auto item = [name]() -> QListWidgetItem* {
    auto* list = ChildOf<QListWidget>(QStringLiteral("ScannerSelection"), QStringLiteral("scannerList"));
    if (!list) return nullptr;
    for (int i = 0; i < list->count(); ++i)
      if (list->item(i)->data(Qt::UserRole).toString() == name) return list->item(i);
    return nullptr;
  };
  return when([item] { return item() != nullptr; },
              [item] {
                QListWidgetItem* it = item();
                it->listWidget()->setCurrentItem(it);
                ChildOf<QAbstractButton>(QStringLiteral("ScannerSelection"), QStringLiteral("okButton"))->click();
              },
              "the scanner " + deviceName + " in the selection dialog");
}

ScanUser& ScanUser::cancelSelection() {
  return when(
      [] { return ChildOf<QAbstractButton>(QStringLiteral("ScannerSelection"), QStringLiteral("cancelButton")); },
      [] { ChildOf<QAbstractButton>(QStringLiteral("ScannerSelection"), QStringLiteral("cancelButton"))->click(); },
      "the selection dialog's Cancel");
}

ScanUser& ScanUser::setOption(const QString& name, const QString& value) {
  const QString object = QStringLiteral("option-") + name;
  auto editor = [object] { return ChildOf<QWidget>(QStringLiteral("ScannerSource"), object); };
  return when([editor] { return editor() && editor()->isEnabled(); },
              [editor, value] {
                QWidget* e = editor();
                if (auto* line = qobject_cast<QLineEdit*>(e)) {
                  line->setText(value);
                  emit line->editingFinished();
                } else if (auto* box = qobject_cast<QComboBox*>(e)) {
                  const int index = box->findText(value);
                  box->setCurrentIndex(index);
                  emit box->activated(index);
                } else if (auto* spin = qobject_cast<QSpinBox*>(e)) {
                  spin->setValue(value.toInt());
                } else if (auto* check = qobject_cast<QCheckBox*>(e)) {
                  check->setChecked(value == QStringLiteral("yes"));
                }
              },
              "the option " + name.toStdString() + " in the source dialog");
}

ScanUser& ScanUser::click(const QString& button) {
  auto find = [button] { return ChildOf<QAbstractButton>(QStringLiteral("ScannerSource"), button); };
  return when([find] { return find() && find()->isEnabled() && find()->isVisible(); }, [find] { find()->click(); },
              "the source dialog's " + button.toStdString());
}

}  // namespace morvex::gui::test
