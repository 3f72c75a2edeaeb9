#include "ui/dialog_list_options.h"

#include <QApplication>

namespace kadrel {

void ApplyDialogListOptions(QTreeWidget& list, const TListViewOption& view, std::function<void()> open) {
  list.setSelectionBehavior(view.WholeRowHighlight ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
  list.setAllColumnsShowFocus(view.WholeRowHighlight);
  if (!view.SingleClickOpen) return;
  QObject::connect(&list, &QTreeWidget::itemClicked, &list, [open](QTreeWidgetItem*, int) {
    if (QApplication::keyboardModifiers() == Qt::NoModifier) open();
  });
  if (!view.HoverSelect) return;
  list.setMouseTracking(true);
  QObject::connect(&list, &QTreeWidget::itemEntered, &list, [&list](QTreeWidgetItem* item, int) {
    list.setCurrentItem(item);
  });
}

}  // namespace kadrel
