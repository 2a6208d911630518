// A splitter whose handles can be dragged and which carry a small grip: a
// click on the grip collapses the panel the handle is set to look after, and
// the next click restores it to the size it had.
#pragma once

#include <QMap>
#include <QSplitter>
#include <QSplitterHandle>

namespace morvex::gui {

class CollapseSplitter : public QSplitter {
  Q_OBJECT

 public:
  explicit CollapseSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

  // The handle before widget `handleIndex` (QSplitter's numbering: handle i
  // lies between widgets i - 1 and i) collapses widget `widgetIndex`, which
  // must be i - 1 or i.
  void setCollapseTarget(int handleIndex, int widgetIndex);
  // The widget a handle collapses, or -1.
  int collapseTarget(int handleIndex) const { return targets_.value(handleIndex, -1); }

  void collapse(int widgetIndex);
  void restore(int widgetIndex);
  void toggle(int widgetIndex);
  bool isCollapsed(int widgetIndex) const;

  // The size a widget gets back when restored while it has never been open.
  void setRestoreSize(int widgetIndex, int size) { saved_[widgetIndex] = size; }

 protected:
  QSplitterHandle* createHandle() override;

 private:
  int neighbourOf(int widgetIndex) const;

  QMap<int, int> targets_;  // handle index -> widget index
  QMap<int, int> saved_;    // widget index -> size before collapsing
};

class CollapseHandle : public QSplitterHandle {
  Q_OBJECT

 public:
  CollapseHandle(Qt::Orientation orientation, CollapseSplitter* parent);

  // The grip's rectangle in the handle's coordinates.
  QRect gripRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int index() const;
  CollapseSplitter* owner() const { return static_cast<CollapseSplitter*>(splitter()); }

  QPoint pressPos_;
  bool pressedOnGrip_ = false;
  bool moved_ = false;
};

}  // namespace morvex::gui
