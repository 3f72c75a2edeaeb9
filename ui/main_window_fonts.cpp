// The stored font groups on the main window's panes and on the windows it opens.

#include "ui/main_window.h"

#include "ui/font_group.h"
#include "ui/play_list_view.h"
#include "ui/view_fonts.h"

namespace kadrel {

namespace {

// Store order of the groups in WindowSettings::fonts.
constexpr size_t kAllFolders = 0, kFileList = 1, kPlayList = 2, kJumpList = 3;
constexpr int32_t kSystemWindowColour = static_cast<int32_t>(0x80000005u);

}  // namespace

void MainWindow::ApplyFontGroups() {
  if (!settings_.fonts) return;  // no store: the desktop's fonts
  const auto& fonts = *settings_.fonts;
  FontSetting allFolders = fonts[kAllFolders];
  allFolders.BackColor = kSystemWindowColour;  // the tree keeps no background of its own
  ApplyFontGroup(folders_.Tree(), allFolders);
  ApplyFontGroup(list_, fonts[kFileList]);
  if (playPane_) ApplyFontGroup(playPane_->View(), fonts[kPlayList]);
  ApplyFontGroup(folders_.JumpList(), fonts[kJumpList]);
}

QFont MainWindow::GroupFont(size_t group, const char* name, const QFont& fallback) const {
  if (!settings_.fonts || group >= settings_.fonts->size()) return fallback;
  return FontFromSetting((*settings_.fonts)[group], name);
}

}  // namespace kadrel
