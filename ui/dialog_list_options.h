#pragma once
// The view settings' list options as the small dialogs apply them to their list:
// whole-row highlight, opening with one click, and selection that follows the mouse.

#include <functional>

#include <QTreeWidget>

#include "catalog/options.h"

namespace kadrel {

// `open` runs for a plain left click when single-click opening is on.
void ApplyDialogListOptions(QTreeWidget& list, const TListViewOption& view, std::function<void()> open);

}  // namespace kadrel
