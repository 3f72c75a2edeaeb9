#include "ui/dialog_list_options.h"

#include <QApplication>

#include "ui/font_group.h"

namespace kadrel {

void ApplyDialogListOptions(QTreeWidget& list, const DialogListLook& look, std::function<void()> open) {
  if (look.font) ApplyFontGroup(list, *look.font);
  const TListViewOption& view = look.view;
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
