// The folder tree of the file browser: folders only, under one root that
// stands for the desktop and holds the home folder and the file-system root.
// Folders are read when first expanded and re-read when they change on disk.
#pragma once

#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QStandardItemModel>
#include <QTreeView>

namespace morvex::gui {

class FolderTree : public QTreeView {
  Q_OBJECT

 public:
  explicit FolderTree(QWidget* parent = nullptr);

  // The full path of the selected folder; empty when nothing, or the desktop
  // root, is selected.
  QString selectedPath() const;
  // Opens the tree down to an existing folder and selects it.
  bool selectPath(const QString& path);

  static constexpr int kPathRole = Qt::UserRole + 1;

 signals:
  // The selection moved to another folder (empty: to no folder).
  void folderSelected(const QString& path);

 private:
  QStandardItem* addFolderItem(QStandardItem* parent, int row, const QString& path, const QString& label);
  void populate(QStandardItem* item);
  void reread(const QString& path);
  QStandardItem* childByPath(QStandardItem* parent, const QString& path) const;
  QStandardItem* branchFor(const QString& path, QString& branchPath) const;

  QStandardItemModel model_;
  QFileSystemWatcher watcher_;
  QFileIconProvider icons_;
  QStandardItem* desktop_ = nullptr;
  QStandardItem* home_ = nullptr;
  QStandardItem* fsRoot_ = nullptr;
};

}  // namespace morvex::gui
