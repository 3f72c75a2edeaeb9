// Moving, deleting and marking the selected items, and clearing the list.

#include <algorithm>

#include "playlist/playlist_edit.h"
#include "playlist/playlist_folders.h"
#include "playlist/playlist_texts.h"

namespace kadrel {
namespace {

// The selected rows that exist, ascending, without repeats.
std::vector<int> ValidRows(const TPLInfo& list, const PlayListSelection& selection) {
  std::vector<int> rows;
  for (int row : selection.Selected) {
    if (row >= 0 && row < static_cast<int>(list.Items.size())) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

bool RefusedWhilePreparing(const ListPlayState& state, IMessageBox& box) {
  if (!state.PreparingNext) return false;
  box.Inform(std::string(playlist_text::kPreparingNext));
  return true;
}

bool IsPlayingOrNext(const TPLMusicInfo& item) { return item.Order == 0 || item.Order == 1; }

}  // namespace

EditResult MoveSelected(TPLInfo& list, PlayListSelection& selection, int target, ListPlayState& state,
                        IMessageBox& box) {
  if (RefusedWhilePreparing(state, box)) return EditResult::Refused;
  const std::vector<int> rows = ValidRows(list, selection);
  if (rows.empty()) return EditResult::Done;
  const int count = static_cast<int>(list.Items.size());
  target = std::clamp(target, 0, count);

  std::vector<std::unique_ptr<TPLMusicInfo>> moved;
  std::vector<std::unique_ptr<TPLMusicInfo>> rest;
  std::vector<bool> selected(count, false);
  for (int row : rows) selected[row] = true;
  int insertAt = 0;  // unselected items before the target
  for (int i = 0; i < count; ++i) {
    if (selected[i]) {
      moved.push_back(std::move(list.Items[i]));
    } else {
      if (i < target) ++insertAt;
      rest.push_back(std::move(list.Items[i]));
    }
  }
  const int movedCount = static_cast<int>(moved.size());
  rest.insert(rest.begin() + insertAt, std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
  list.Items = std::move(rest);

  selection.Selected.clear();
  for (int i = 0; i < movedCount; ++i) selection.Selected.push_back(insertAt + i);
  selection.Focused = insertAt;
  SyncListPlayIndices(list, state);
  return EditResult::Done;
}

EditResult MoveSelectedUp(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box) {
  const std::vector<int> rows = ValidRows(list, selection);
  if (rows.empty()) return RefusedWhilePreparing(state, box) ? EditResult::Refused : EditResult::Done;
  const int target = rows.front() == 0 ? static_cast<int>(list.Items.size()) : rows.front() - 1;
  return MoveSelected(list, selection, target, state, box);
}

EditResult MoveSelectedDown(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box) {
  const std::vector<int> rows = ValidRows(list, selection);
  if (rows.empty()) return RefusedWhilePreparing(state, box) ? EditResult::Refused : EditResult::Done;
  const int last = static_cast<int>(list.Items.size()) - 1;
  const int target = rows.back() == last ? 0 : rows.back() + 2;
  return MoveSelected(list, selection, target, state, box);
}

EditResult DeleteSelected(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box) {
  if (RefusedWhilePreparing(state, box)) return EditResult::Refused;
  const std::vector<int> rows = ValidRows(list, selection);
  if (rows.empty()) return EditResult::Done;

  // A: the playing item is selected; B: the reserved next one is; C: it is not.
  bool a = false, b = false, c = false;
  std::vector<bool> selected(list.Items.size(), false);
  for (int row : rows) selected[row] = true;
  for (size_t i = 0; i < list.Items.size(); ++i) {
    const int32_t order = list.Items[i]->Order;
    if (selected[i] && order == 0) a = true;
    if (state.NextReserved && order == 1) (selected[i] ? b : c) = true;
  }

  auto ask = [&](std::string_view text, MessageButtons buttons) { return box.Confirm(std::string(text), buttons); };
  if (a && b) {
    if (ask(playlist_text::kDeletePlayingAndNext, MessageButtons::OkCancel) != MessageAnswer::Ok) return EditResult::Cancelled;
    state.EndRequested = true;
  } else if (a && c) {
    const MessageAnswer answer = ask(playlist_text::kDeletePlayingGoNext, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Yes) state.NextRequested = true;
    else if (answer == MessageAnswer::No) state.EndRequested = true;
    else return EditResult::Cancelled;
  } else if (a) {
    if (ask(playlist_text::kDeletePlaying, MessageButtons::OkCancel) != MessageAnswer::Ok) return EditResult::Cancelled;
    state.EndRequested = true;
  } else if (b) {
    if (ask(playlist_text::kDeleteNext, MessageButtons::OkCancel) != MessageAnswer::Ok) return EditResult::Cancelled;
    state.EndReserved = true;
  }

  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    const int32_t order = list.Items[*row]->Order;
    list.Items.erase(list.Items.begin() + *row);
    // The play history closes the gap the deleted item leaves.
    if (order <= 0) {
      for (auto& item : list.Items) {
        if (item->Order < order) ++item->Order;
      }
    }
  }
  if (b) {
    for (size_t i = 0; i < list.Items.size(); ++i) {
      if (list.Items[i]->Order != 0) continue;
      list.Items[(i + 1) % list.Items.size()]->Order = 1;
      break;
    }
  }

  selection.Selected.clear();
  selection.Focused = -1;
  list.BaseFolder = CommonFolderOfItems(list);
  SyncListPlayIndices(list, state);
  return EditResult::Done;
}

EditResult ClearPlayList(TPLInfo& list, PlayListSelection& selection, ListPlayState& state, IMessageBox& box,
                         const std::function<bool()>& waitForListPlayEnd) {
  if (state.Running) {
    if (box.Confirm(std::string(playlist_text::kClearDuringListPlay)) != MessageAnswer::Ok) return EditResult::Cancelled;
    state.EndRequested = true;
    if (!waitForListPlayEnd || !waitForListPlayEnd()) return EditResult::Cancelled;
  } else if (box.Confirm(std::string(playlist_text::kClearAsk)) != MessageAnswer::Ok) {
    return EditResult::Cancelled;
  }
  ClearPlayListItems(list);
  selection = {};
  SyncListPlayIndices(list, state);
  return EditResult::Done;
}

EditResult SetSlotOfSelected(TPLInfo& list, const PlayListSelection& selection, int slotCommand,
                             const ListPlayState& state, IMessageBox& box) {
  if (RefusedWhilePreparing(state, box)) return EditResult::Refused;
  if (slotCommand < 0 || slotCommand > 6) return EditResult::Refused;
  for (int row : ValidRows(list, selection)) list.Items[row]->Slot = slotCommand == 0 ? kAutomaticSlot : slotCommand;
  return EditResult::Done;
}

EditResult SetPlayedOfSelected(TPLInfo& list, const PlayListSelection& selection, bool played,
                               const ListPlayState& state, IMessageBox& box) {
  if (RefusedWhilePreparing(state, box)) return EditResult::Refused;
  for (int row : ValidRows(list, selection)) {
    TPLMusicInfo& item = *list.Items[row];
    if (IsPlayingOrNext(item)) continue;
    item.Mark = played ? 2 : kNoMark;
    item.Played = played ? kPlayed : kUnplayed;
  }
  return EditResult::Done;
}

}  // namespace kadrel
