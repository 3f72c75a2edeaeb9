#include "ui/column_list_widget.h"

#include <QDropEvent>


namespace kadrel {
std::vector<int> ColumnListWidget::SelectedRows() const {
  std::vector<int> rows;
  for (int r = 0; r < count(); ++r)
    if (item(r)->isSelected()) rows.push_back(r);
  return rows;
}

ColumnNames ColumnListWidget::Entries() const {
  ColumnNames names;
  for (int r = 0; r < count(); ++r) names.push_back(item(r)->text().toStdString());
  return names;
}

void ColumnListWidget::SetEntries(const ColumnNames& names) {
  clear();
  for (const std::string& name : names) addItem(QString::fromStdString(name));
}

ColumnListWidget::ColumnListWidget(bool visibleList, QWidget* parent) : QListWidget(parent), visibleList_(visibleList) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(visibleList);  // outlines the row under the cursor
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
}

bool ColumnListWidget::Accepts(const QObject* source) const {
  if (source == partner_ && partner_) return true;
  return source == this && visibleList_;
}

void ColumnListWidget::DropFrom(ColumnListWidget* source, int row) {
  if (!Accepts(source)) return;
  ColumnNames here = Entries();
  if (source == this) {
    ReorderWithinList(here, SelectedRows(), row);
  } else {
    ColumnNames there = source->Entries();
    DropFromOtherList(there, source->SelectedRows(), here, row);
    source->SetEntries(there);
  }
  SetEntries(here);
}

void ColumnListWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (Accepts(event->source()))
    QListWidget::dragEnterEvent(event);
  else
    event->ignore();
}

void ColumnListWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (Accepts(event->source()))
    QListWidget::dragMoveEvent(event);
  else
    event->ignore();
}

void ColumnListWidget::dropEvent(QDropEvent* event) {
  auto* source = qobject_cast<ColumnListWidget*>(event->source());
  if (!source || !Accepts(source)) {
    event->ignore();
    return;
  }
  const QModelIndex at = indexAt(event->position().toPoint());
  DropFrom(source, at.isValid() ? at.row() : -1);
  // The entries are moved already; the source must not remove anything itself.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

}  // namespace kadrel
