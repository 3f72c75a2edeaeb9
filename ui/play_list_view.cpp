#include "ui/play_list_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>

namespace kadrel {

PlayListView::PlayListView(QWidget* parent) : FileListView(parent) {
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

void PlayListView::Highlight(int row) {
  // The row under the cursor is shown by the focus frame; the selection is untouched.
  if (row == hover_) return;
  hover_ = row;
  viewport()->update();
  if (row >= 0 && model()) selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
}

void PlayListView::dragEnterEvent(QDragEnterEvent* event) {
  if (canDrop && canDrop(event->mimeData())) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void PlayListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!canDrop || !canDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  Highlight(indexAt(event->position().toPoint()).row());
  event->acceptProposedAction();
}

void PlayListView::dragLeaveEvent(QDragLeaveEvent* event) {
  hover_ = -1;
  event->accept();
}

void PlayListView::dropEvent(QDropEvent* event) {
  hover_ = -1;
  if (!canDrop || !canDrop(event->mimeData())) {
    event->ignore();
    return;
  }
  const int row = indexAt(event->position().toPoint()).row();
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (onDrop) onDrop(event->mimeData(), row);
}

}  // namespace kadrel
