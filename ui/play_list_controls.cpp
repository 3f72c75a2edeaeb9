#include "ui/play_list_controls.h"

namespace kadrel {

PlayListPaneControls PlayListControlsFor(int entries, const PlayControls& play) {
  PlayListPaneControls c;
  const bool any = entries > 0;
  c.up = c.down = c.remove = c.save = c.title = c.baseFolder = any;
  // Starting needs something to play and no ListPlay running; the others need a
  // running ListPlay and the engine's consent.
  c.start = any && !play.listPlayRunning;
  c.next = play.listPlayRunning && play.nextEnabled;
  c.back = play.listPlayRunning && play.previousEnabled;
  c.replay = play.listPlayRunning && play.replayEnabled;
  c.stop = play.listPlayRunning;
  return c;
}

}  // namespace kadrel
