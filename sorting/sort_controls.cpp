#include "sorting/sort_controls.h"

#include <charconv>

#include "base/text_helpers.h"

namespace kadrel {

bool SortByColumnClick(TSortState& state, const VisibleColumns& visible, int position) {
  if (position < 0 || static_cast<size_t>(position) >= visible.size()) return false;
  const int32_t id = visible[static_cast<size_t>(position)];
  if (!FindColumn(ListKind::FileList, id)) return false;
  if (id == state.Key && state.Sorted) {
    // A direction of -1 (none chosen) sorted ascending, so it turns descending.
    state.Direction = state.IsDescending() ? kAscending : kDescending;
  } else {
    state.Key = id;
    state.Sorted = false;
  }
  return true;
}

TSortMark ShowSortMark(TSortState& state, const VisibleColumns& visible) {
  state.Sorted = true;
  TSortMark mark;
  const int32_t key = state.EffectiveKey();
  if (key == kNoSortKey) return mark;
  for (size_t i = 0; i < visible.size(); ++i) {
    if (visible[i] == key) {
      mark.Position = static_cast<int>(i);
      mark.Descending = state.IsDescending();
      break;
    }
  }
  return mark;
}

namespace sort_window {
namespace {

// Up and Down wrap around at the ends; with nothing selected they start at an end.
int Step(int index, int count, int delta) {
  if (index < 0 || index >= count) return delta > 0 ? 0 : count - 1;
  return (index + delta + count) % count;
}

int ValidIndex(int index, int count) { return index >= 0 && index < count ? index : -1; }

}  // namespace

std::vector<std::string> KeyItems() {
  std::vector<std::string> items;
  for (int id = 1; id <= kKeyCount; ++id) {
    std::string number = id < 10 ? "0" + std::to_string(id) : std::to_string(id);
    items.push_back(number + ". " + ColumnNameById(ListKind::FileList, id));
  }
  return items;
}

std::vector<std::string> DirectionItems() { return {"昇 順", "降 順"}; }

TSortWindowModel::TSortWindowModel(const TSortState& state)
    : initialDirection_(ValidIndex(state.Direction, kDirectionCount)),
      keyIndex_(ValidIndex(state.Key - 1, kKeyCount)) {}

void TSortWindowModel::SelectKey(int index) { keyIndex_ = ValidIndex(index, kKeyCount); }
void TSortWindowModel::SelectDirection(int index) { directionIndex_ = ValidIndex(index, kDirectionCount); }

Action TSortWindowModel::OnKey(Key key) {
  if (focus_ == Focus::KeyList) {
    switch (key) {
      case Key::Enter:
        directionIndex_ = initialDirection_;
        focus_ = Focus::DirectionList;
        return Action::None;
      case Key::Escape: return Action::Cancel;
      case Key::Up: keyIndex_ = Step(keyIndex_, kKeyCount, -1); return Action::None;
      case Key::Down: keyIndex_ = Step(keyIndex_, kKeyCount, +1); return Action::None;
    }
  }
  switch (key) {
    case Key::Enter: return Action::Confirm;
    case Key::Escape:
      directionIndex_ = -1;
      focus_ = Focus::KeyList;
      return Action::None;
    case Key::Up: directionIndex_ = Step(directionIndex_, kDirectionCount, -1); return Action::None;
    case Key::Down: directionIndex_ = Step(directionIndex_, kDirectionCount, +1); return Action::None;
  }
  return Action::None;
}

void TSortWindowModel::Confirm(TSortState& state) const {
  state.Key = keyIndex_ + 1;  // -1 (none) gives 0, no key
  state.Direction = directionIndex_;
}

}  // namespace sort_window

std::optional<TSortState> ParseSortArgument(std::string_view argument) {
  TSortState state;
  std::string_view key = argument;
  if (size_t colon = argument.rfind(':'); colon != std::string_view::npos) {
    std::string_view direction = argument.substr(colon + 1);
    key = argument.substr(0, colon);
    if (EqualsIgnoreCase(direction, "desc")) state.Direction = kDescending;
    else if (!EqualsIgnoreCase(direction, "asc")) return std::nullopt;
  }
  if (key.empty()) return std::nullopt;
  int32_t id = -1;
  auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), id);
  if (error != std::errc() || end != key.data() + key.size()) id = ColumnIdByHeader(ListKind::FileList, key);
  if (id < 0 || id > sort_window::kKeyCount) return std::nullopt;
  state.Key = id;
  return state;
}

}  // namespace kadrel
