// The file list of the file browser: the files of one folder, hidden ones
// included, passed through an item filter (the window's), sorted by name,
// following changes on disk, names editable in place.
#pragma once

#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
#include <QSortFilterProxyModel>
#include <functional>
#include <optional>

namespace morvex::gui {

// Decides whether a file of the listed folder is shown.
using ItemFilter = std::function<bool(const QFileInfo&)>;

class FolderItemsProxy : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;
  void setListedFolder(const QString& path);
  void setItemFilter(ItemFilter filter);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  QString folder_;
  ItemFilter filter_;
};

class BmpFileList : public QListView {
  Q_OBJECT

 public:
  struct Item {
    QString path;         // full file-system path
    QString displayName;  // the name the list shows
  };

  explicit BmpFileList(QWidget* parent = nullptr);

  void setItemFilter(ItemFilter filter);
  // Lists another folder; an empty path lists nothing.
  void setFolder(const QString& path);
  const QString& folder() const { return folder_; }

  std::optional<Item> selectedItem() const;
  // Selects the listed file of that name; false when it is not listed.
  bool selectFile(const QString& fileName);
  // The names the list shows, in order (files not yet read are not there).
  QStringList shownNames() const;

  // Handles a key before the list does; returns true when it used the key.
  void setKeyDownHandler(std::function<bool(int key)> handler) { keyDown_ = std::move(handler); }

  QFileSystemModel& fileSystem() { return fs_; }

 signals:
  // A click on an item that was already selected (a click that selects
  // another item reports selectionChangedByUser instead).
  void itemClicked();
  // The selected item changed, or the selection went away.
  void selectionChangedByUser();
  // A double click anywhere in the list.
  void listDoubleClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QFileSystemModel fs_;
  FolderItemsProxy proxy_;
  QString folder_;
  std::function<bool(int)> keyDown_;
  bool pressOnSelected_ = false;
};

}  // namespace morvex::gui
