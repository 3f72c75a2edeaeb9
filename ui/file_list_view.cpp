#include "ui/file_list_view.h"

#include <cstdlib>

#include <QHeaderView>
#include <QMouseEvent>

namespace kadrel {

bool BeyondDragThreshold(QPoint pressed, QPoint now) {
  return std::abs(now.x() - pressed.x()) > 8 || std::abs(now.y() - pressed.y()) > 8;
}

FileListView::FileListView(QWidget* parent) : QTreeView(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setDragEnabled(false);  // drags start from our own threshold
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  header()->setSectionsMovable(false);
  header()->setSectionsClickable(true);
  header()->setStretchLastSection(false);
}

void FileListView::VisibleRange(int& top, int& rowsPerPage) const {
  QModelIndex first = indexAt(QPoint(1, 1));
  top = first.isValid() ? first.row() : 0;
  int rowHeight = sizeHintForRow(0);
  if (rowHeight <= 0) rowHeight = fontMetrics().height() + 4;
  rowsPerPage = std::max(1, viewport()->height() / rowHeight);
}

void FileListView::mousePressEvent(QMouseEvent* event) {
  QTreeView::mousePressEvent(event);
  QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid())
    press_ = Press{event->position().toPoint(), event->button(), index.row()};
  else
    press_.reset();
}

void FileListView::mouseMoveEvent(QMouseEvent* event) {
  if (press_ && BeyondDragThreshold(press_->pos, event->position().toPoint())) {
    int row = press_->row;
    press_.reset();
    Q_EMIT dragRequested(row);
    return;
  }
  if (!press_) QTreeView::mouseMoveEvent(event);
}

void FileListView::mouseReleaseEvent(QMouseEvent* event) {
  QTreeView::mouseReleaseEvent(event);
  if (!press_) return;
  Press press = *press_;
  press_.reset();
  QModelIndex index = indexAt(event->position().toPoint());
  if (!index.isValid()) return;
  if (event->button() == Qt::RightButton && press.button == Qt::RightButton)
    Q_EMIT popupRequested(index.row(), event->globalPosition().toPoint());
  else if (event->button() == Qt::LeftButton && singleClickOpen_)
    Q_EMIT openRequested(index.row());
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt delivers the second press of a double-click as this event; it is not a press
  // of its own, so the release that follows neither opens a pop-up nor drags.
  press_.reset();
  QModelIndex index = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && index.isValid() && !singleClickOpen_) Q_EMIT openRequested(index.row());
}

}  // namespace kadrel
