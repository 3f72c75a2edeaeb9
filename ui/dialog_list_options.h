#pragma once
// The view settings' list options as the small dialogs apply them to their list:
// whole-row highlight, opening with one click, and selection that follows the mouse.

#include <functional>

#include <QTreeWidget>

#include "catalog/options.h"
#include "settings/startup_settings.h"

namespace kadrel {

// How the small dialogs' lists look and behave: the view settings' list options and the
// font group "FJ" (none: the desktop's).
struct DialogListLook {
  TListViewOption view;
  const FontSetting* font = nullptr;
};

// `open` runs for a plain left click when single-click opening is on.
void ApplyDialogListOptions(QTreeWidget& list, const DialogListLook& look, std::function<void()> open);

}  // namespace kadrel
