#pragma once
// Turns the play-list pop-up contents into a menu.

#include <functional>
#include <vector>

#include "ui/play_list_menus.h"

class QMenu;

namespace kadrel {

// Adds the items (submenus included) to `menu`; choosing one calls `run` with it.
void FillPlayListMenu(QMenu& menu, const std::vector<PlayListMenuItem>& items,
                      const std::function<void(const PlayListMenuItem&)>& run);

}  // namespace kadrel
