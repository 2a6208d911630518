#include "bmp_file_list.h"

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>

namespace morvex::gui {

void FolderItemsProxy::setListedFolder(const QString& path) {
  folder_ = path;
  invalidateFilter();
}

void FolderItemsProxy::setItemFilter(ItemFilter filter) {
  filter_ = std::move(filter);
  invalidateFilter();
}

bool FolderItemsProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
  // Only the listed folder's own items are filtered; the folders above it
  // stay, or the list's root would vanish.
  // With no folder listed, nothing is shown at all.
  if (folder_.isEmpty()) return sourceParent.isValid();
  if (fs->filePath(sourceParent) != folder_) return true;
  const QModelIndex index = fs->index(sourceRow, 0, sourceParent);
  if (fs->isDir(index)) return false;
  return !filter_ || filter_(fs->fileInfo(index));
}

BmpFileList::BmpFileList(QWidget* parent) : QListView(parent) {
  fs_.setFilter(QDir::AllDirs | QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  fs_.setReadOnly(false);  // names can be edited in place
  fs_.setResolveSymlinks(false);
  proxy_.setSourceModel(&fs_);
  proxy_.setSortCaseSensitivity(Qt::CaseInsensitive);
  proxy_.setSortLocaleAware(true);
  proxy_.setDynamicSortFilter(true);
  proxy_.sort(0, Qt::AscendingOrder);
  setModel(&proxy_);
  setViewMode(ListMode);
  setFlow(TopToBottom);
  setWrapping(false);
  setResizeMode(Adjust);
  setSelectionMode(SingleSelection);
  setSelectionBehavior(SelectRows);
  setEditTriggers(EditKeyPressed | SelectedClicked);
  setContextMenuPolicy(Qt::NoContextMenu);
  setUniformItemSizes(true);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection&, const QItemSelection&) { emit selectionChangedByUser(); });
}

void BmpFileList::setItemFilter(ItemFilter filter) { proxy_.setItemFilter(std::move(filter)); }

void BmpFileList::setFolder(const QString& path) {
  folder_ = path.isEmpty() ? QString() : QDir::cleanPath(path);
  clearSelection();
  proxy_.setListedFolder(folder_);
  if (folder_.isEmpty()) {
    setRootIndex(QModelIndex());
    return;
  }
  const QModelIndex root = fs_.setRootPath(folder_);
  setRootIndex(proxy_.mapFromSource(root));
}

std::optional<BmpFileList::Item> BmpFileList::selectedItem() const {
  const QModelIndexList rows = selectionModel()->selectedIndexes();
  if (rows.isEmpty()) return std::nullopt;
  const QModelIndex source = proxy_.mapToSource(rows.first());
  return Item{fs_.filePath(source), fs_.fileName(source)};
}

bool BmpFileList::selectFile(const QString& fileName) {
  const QModelIndex root = rootIndex();
  for (int r = 0; r < proxy_.rowCount(root); ++r) {
    const QModelIndex index = proxy_.index(r, 0, root);
    if (index.data(Qt::DisplayRole).toString() == fileName) {
      setCurrentIndex(index);
      return true;
    }
  }
  return false;
}

QStringList BmpFileList::shownNames() const {
  QStringList names;
  const QModelIndex root = rootIndex();
  if (folder_.isEmpty()) return names;
  for (int r = 0; r < proxy_.rowCount(root); ++r) names << proxy_.index(r, 0, root).data(Qt::DisplayRole).toString();
  return names;
}

void BmpFileList::keyPressEvent(QKeyEvent* event) {
  if (state() != EditingState && keyDown_ && keyDown_(event->key())) {
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
}

void BmpFileList::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  pressOnSelected_ = index.isValid() && selectionModel()->isSelected(index);
  // A press on empty space lets go of the selection, as shell lists do.
  if (!index.isValid()) clearSelection();
  QListView::mousePressEvent(event);
}

void BmpFileList::mouseReleaseEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  QListView::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && pressOnSelected_ && index.isValid() && selectionModel()->isSelected(index))
    emit itemClicked();
  pressOnSelected_ = false;
}

void BmpFileList::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit listDoubleClicked();
}

}  // namespace morvex::gui
