#include "folder_tree.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

namespace morvex::gui {
namespace {

constexpr int kPopulatedRole = Qt::UserRole + 2;
constexpr int kPlaceholderRole = Qt::UserRole + 3;

constexpr QDir::Filters kFolderFilter = QDir::Dirs | QDir::NoDotAndDotDot;

// The sub-folders of a folder, sorted by name without regard to case.
QStringList SubFolders(const QString& path) {
  QDir dir(path);
  QStringList names = dir.entryList(kFolderFilter, QDir::Name | QDir::IgnoreCase);
  return names;
}

bool HasSubFolder(const QString& path) {
  QDirIterator it(path, kFolderFilter);
  return it.hasNext();
}

QString JoinPath(const QString& folder, const QString& name) {
  return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
  setModel(&model_);
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setEditTriggers(NoEditTriggers);
  setSelectionMode(SingleSelection);
  setContextMenuPolicy(Qt::NoContextMenu);
  setItemsExpandable(true);
  setIndentation(14);

  desktop_ = new QStandardItem(icons_.icon(QFileIconProvider::Desktop), QStringLiteral("Рабочий стол"));
  desktop_->setEditable(false);
  desktop_->setData(true, kPopulatedRole);
  model_.appendRow(desktop_);
  const QString home = QDir::homePath();
  if (QDir(home) != QDir::root()) {
    home_ = addFolderItem(desktop_, desktop_->rowCount(), home, QStringLiteral("Домашняя папка"));
    home_->setIcon(icons_.icon(QFileIconProvider::Folder));
  }
  fsRoot_ = addFolderItem(desktop_, desktop_->rowCount(), QDir::rootPath(), QStringLiteral("Файловая система"));
  fsRoot_->setIcon(icons_.icon(QFileIconProvider::Drive));
  expand(desktop_->index());

  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
    populate(model_.itemFromIndex(index));
  });
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex&, const QModelIndex&) { emit folderSelected(selectedPath()); });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderTree::reread);
}

QStandardItem* FolderTree::addFolderItem(QStandardItem* parent, int row, const QString& path, const QString& label) {
  auto* item = new QStandardItem(icons_.icon(QFileIconProvider::Folder), label);
  item->setEditable(false);
  item->setData(path, kPathRole);
  item->setToolTip(path);
  if (HasSubFolder(path)) {
    // A placeholder gives the item its expand button until it is read.
    auto* placeholder = new QStandardItem();
    placeholder->setData(true, kPlaceholderRole);
    item->appendRow(placeholder);
  }
  parent->insertRow(row, item);
  return item;
}

void FolderTree::populate(QStandardItem* item) {
  if (!item || item->data(kPopulatedRole).toBool()) return;
  item->setData(true, kPopulatedRole);
  const QString path = item->data(kPathRole).toString();
  item->removeRows(0, item->rowCount());
  const QStringList names = SubFolders(path);
  for (const QString& name : names) addFolderItem(item, item->rowCount(), JoinPath(path, name), name);
  if (!watcher_.directories().contains(path)) watcher_.addPath(path);
}

// Brings the children of every read item showing `path` in line with the disk.
void FolderTree::reread(const QString& path) {
  QList<QStandardItem*> items;
  const QModelIndexList found =
      model_.match(desktop_->index(), kPathRole, path, -1, Qt::MatchExactly | Qt::MatchRecursive);
  for (const QModelIndex& index : found) {
    QStandardItem* item = model_.itemFromIndex(index);
    if (item && item->data(kPopulatedRole).toBool()) items.push_back(item);
  }
  const bool exists = QFileInfo(path).isDir();
  if (!exists) watcher_.removePath(path);
  const QStringList names = exists ? SubFolders(path) : QStringList();
  for (QStandardItem* item : items) {
    // Drop children that are gone, then insert the new ones in name order.
    for (int r = item->rowCount() - 1; r >= 0; --r) {
      const QString childPath = item->child(r)->data(kPathRole).toString();
      if (!names.contains(QFileInfo(childPath).fileName())) item->removeRow(r);
    }
    int row = 0;
    for (const QString& name : names) {
      const QString childPath = JoinPath(path, name);
      if (row < item->rowCount() && item->child(row)->data(kPathRole).toString() == childPath) {
        ++row;
        continue;
      }
      addFolderItem(item, row++, childPath, name);
    }
  }
}

QString FolderTree::selectedPath() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  const QModelIndex index = rows.isEmpty() ? currentIndex() : rows.first();
  if (!index.isValid() || !selectionModel()->isSelected(index)) return {};
  return index.data(kPathRole).toString();
}

QStandardItem* FolderTree::childByPath(QStandardItem* parent, const QString& path) const {
  for (int r = 0; r < parent->rowCount(); ++r)
    if (parent->child(r)->data(kPathRole).toString() == path) return parent->child(r);
  return nullptr;
}

// The top folder under which `path` is reached: the home folder for paths
// inside it, the file-system root otherwise.
QStandardItem* FolderTree::branchFor(const QString& path, QString& branchPath) const {
  if (home_) {
    const QString home = home_->data(kPathRole).toString();
    if (path == home || path.startsWith(home + QLatin1Char('/'))) {
      branchPath = home;
      return home_;
    }
  }
  branchPath = fsRoot_->data(kPathRole).toString();
  return fsRoot_;
}

bool FolderTree::selectPath(const QString& path) {
  const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  if (!QFileInfo(target).isDir()) return false;
  QString current;
  QStandardItem* item = branchFor(target, current);
  const QStringList rest = target.mid(current.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
  for (const QString& part : rest) {
    populate(item);
    expand(item->index());
    current = JoinPath(current, part);
    QStandardItem* child = childByPath(item, current);
    if (!child) return false;
    item = child;
  }
  setCurrentIndex(item->index());
  scrollTo(item->index());
  return true;
}

}  // namespace morvex::gui
