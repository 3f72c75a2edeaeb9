#pragma once
// Editing the play list. Each operation works on the list model, the view's selection
// and a copy of what ListPlay is doing; what the ListPlay engine must do in answer (end,
// reserve the end, go to the next item) is raised as a request in that state. Every
// message and question goes through the message box.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/message_box.h"
#include "catalog/music_file_info.h"
#include "catalog/pl_music_info.h"

namespace kadrel {

struct ListPlayState {
  bool Running = false;        // ListPlay is playing the list
  bool PreparingNext = false;  // the next item is being unpacked or converted
  bool NextReserved = false;   // the item with order 1 is reserved to play next
  int CurrentIndex = -1;       // the item with order 0, or -1
  int NextIndex = -1;          // the item with order 1, or -1

  // Requests raised by the editing operations, for the engine to carry out.
  bool EndRequested = false;   // end ListPlay now
  bool EndReserved = false;    // end ListPlay after the current piece
  bool NextRequested = false;  // stop the current piece and play the next
};

// Selected rows of the list view, ascending, and the focused row (-1 none).
struct PlayListSelection {
  std::vector<int> Selected;
  int Focused = -1;
};

enum class EditResult {
  Done,       // the list may have changed
  Refused,    // a guard stopped the operation (its message was shown)
  Cancelled,  // the user said no
};

// One selected entry of the file list or of the detail window's list.
struct PlayListSource {
  std::string Folder;  // folder of the file (of the archive, for a member), ending in "/"
  TMusicFileInfo Music;
};

// The player slot (1..6) that may play a file in ListPlay, or 0 when none may.
using SlotFinder = std::function<int(const std::string& path)>;

struct AddResult {
  EditResult Result = EditResult::Done;
  int Added = 0;
};

// Adds the entries at `position` (each of them at that same index, so a group lands
// reversed), or at the end for -1. Parents, folders and non-music are skipped; a
// play-list file is replaced by its items.
AddResult AddToPlayList(TPLInfo& list, PlayListSelection& selection, const std::vector<PlayListSource>& sources,
                        int position, const ListPlayState& state, const SlotFinder& slotFor, IMessageBox& box);

// Moves the selected items before the item at `target` (the count appends them).
EditResult MoveSelected(TPLInfo& list, PlayListSelection& selection, int target, ListPlayState& state,
                        IMessageBox& box);
// One step up or down; the first item wraps to the end, the last to the top.
EditResult MoveSelectedUp(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box);
EditResult MoveSelectedDown(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box);

EditResult DeleteSelected(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box);

// During ListPlay the list is cleared only after `waitForListPlayEnd` reports that
// ListPlay has ended (it returns false when the program closes first).
EditResult ClearPlayList(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box,
                         const std::function<bool()>& waitForListPlayEnd);

// Slot command 0 = automatic, 1..6 = that slot.
EditResult SetSlotOfSelected(TPLInfo& list, const PlayListSelection& selection, int slotCommand,
                             const ListPlayState& state, IMessageBox& box);
// Items now playing or reserved next are left alone.
EditResult SetPlayedOfSelected(TPLInfo& list, const PlayListSelection& selection, bool played,
                               const ListPlayState& state, IMessageBox& box);

// Base folder edit: false (after the warning) when the list has no base folder.
bool CanEditBaseFolder(const TPLInfo& list, IMessageBox& box);
// Moves every item from under the old base to the same place under `folder`. Ignored
// for "." and for folders that do not exist; true when the list changed.
bool ChangeBaseFolder(TPLInfo& list, std::string_view folder);

// The title as typed (UTF-8), stored in the file code page where it can be.
void SetPlayListTitle(TPLInfo& list, std::string_view utf8);

void ResetListPlayMarks(TPLInfo& list);
void ClearPlayListItems(TPLInfo& list);

// Header texts (UTF-8): the base folder or "設定出来ません", the title or "タイトル未設定".
std::string BaseFolderHeaderText(const TPLInfo& list);
std::string TitleHeaderText(const TPLInfo& list);

// CurrentIndex and NextIndex from the items' order values.
void SyncListPlayIndices(const TPLInfo& list, ListPlayState& state);

}  // namespace kadrel
