#pragma once
// Which controls of the play-list pane are enabled: the editing controls exactly when
// the list has entries, the ListPlay buttons as the engine's flags say.

#include "commands/command_target.h"

namespace kadrel {

struct PlayListPaneControls {
  // Editing.
  bool up = false, down = false, remove = false, save = false, title = false, baseFolder = false;
  // Always usable: loading into an empty list, hiding and moving the pane.
  bool load = true, close = true, place = true;
  // ListPlay.
  bool start = false, next = false, back = false, replay = false, stop = false;
};

PlayListPaneControls PlayListControlsFor(int entries, const PlayControls& play);

}  // namespace kadrel
