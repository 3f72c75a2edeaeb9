#include "ui/folder_tree_view.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

namespace kadrel {

FolderTreeView::FolderTreeView(QWidget* parent) : QTreeView(parent) {
  // Drag events reach only a viewport that takes drops; every drop is refused below.
  setDragDropMode(QAbstractItemView::NoDragDrop);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
}

void FolderTreeView::dragEnterEvent(QDragEnterEvent* event) {
  // Accepting the entry keeps the move events coming; each move then refuses the drop.
  event->accept();
  SetDragHighlight(indexAt(event->position().toPoint()));
}

void FolderTreeView::dragMoveEvent(QDragMoveEvent* event) {
  SetDragHighlight(indexAt(event->position().toPoint()));
  event->ignore();
}

void FolderTreeView::dragLeaveEvent(QDragLeaveEvent* event) {
  SetDragHighlight({});
  event->accept();
}

void FolderTreeView::dropEvent(QDropEvent* event) {
  SetDragHighlight({});
  event->ignore();
}

void FolderTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (!dragHighlight_.isValid() || index.siblingAtColumn(0) != dragHighlight_) {
    QTreeView::drawRow(painter, option, index);
    return;
  }
  QStyleOptionViewItem highlighted = option;
  highlighted.state |= QStyle::State_Selected | QStyle::State_Active;
  QTreeView::drawRow(painter, highlighted, index);
}

void FolderTreeView::SetDragHighlight(const QModelIndex& index) {
  const QModelIndex row = index.isValid() ? index.siblingAtColumn(0) : QModelIndex();
  if (row == dragHighlight_) return;
  dragHighlight_ = row;
  viewport()->update();
}

}  // namespace kadrel
