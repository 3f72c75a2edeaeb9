#pragma once
// What the play-list pop-ups hold, decided without a menu so that tests can read it:
// the entry pop-up of the play list and the pop-up of a play-list file in the file list.
// Captions are UTF-8; "&" in a caption built from a name is doubled.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_target.h"

namespace kadrel {

enum class PlayListMenuCommand {
  None,  // a submenu, or "閉じる(&C)"
  PlayNow,
  MakeNext,
  Slot,  // argument: 0 automatic, 1..6
  SetPlayed,
  SetUnplayed,
  MoveUp,
  MoveDown,
  Delete,
  EditTitle,
  EditBaseFolder,
  Save,
  // The play-list file pop-up.
  LoadReplacing,
  LoadAppending,
  SaveToFile,
  OpenDetail,
};

struct PlayListMenuItem {
  std::string caption;
  PlayListMenuCommand command = PlayListMenuCommand::None;
  int argument = 0;
  bool enabled = true;
  bool visible = true;
  bool separatorBefore = false;
  std::vector<PlayListMenuItem> items;  // a submenu when not empty
};

// "&" doubled, so that a name shows as it is and gets no accelerator.
std::string EscapeMenuText(std::string_view text);

struct PlayListEntryMenuInput {
  int entries = 0;    // items in the list
  int selected = 0;   // selected items
  bool focused = false;  // an entry has the focus
  PlayControls play;
  std::array<std::string, 6> playerNames;  // UTF-8; empty = slot not in use
};

std::vector<PlayListMenuItem> PlayListEntryMenu(const PlayListEntryMenuInput& in);
std::vector<PlayListMenuItem> PlayListFileMenu(int entries);

}  // namespace kadrel
