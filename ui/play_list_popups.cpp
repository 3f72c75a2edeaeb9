#include "ui/play_list_popups.h"

#include <QMenu>

namespace kadrel {

void FillPlayListMenu(QMenu& menu, const std::vector<PlayListMenuItem>& items,
                      const std::function<void(const PlayListMenuItem&)>& run) {
  for (const PlayListMenuItem& item : items) {
    if (item.separatorBefore) menu.addSeparator();
    if (!item.items.empty()) {
      QMenu* sub = menu.addMenu(QString::fromStdString(item.caption));
      sub->setEnabled(item.enabled);
      FillPlayListMenu(*sub, item.items, run);
      continue;
    }
    QAction* action = menu.addAction(QString::fromStdString(item.caption));
    action->setEnabled(item.enabled);
    action->setVisible(item.visible);
    if (item.command != PlayListMenuCommand::None)
      QObject::connect(action, &QAction::triggered, &menu, [run, item] { run(item); });
  }
}

}  // namespace kadrel
