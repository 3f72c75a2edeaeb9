#pragma once
// The file list's sort state (shared with the detail window's list).

#include <cstdint>

#include "catalog/column_ids.h"

namespace kadrel {

inline constexpr int32_t kNoSortKey = 0;
inline constexpr int32_t kAscending = 0;
inline constexpr int32_t kDescending = 1;
inline constexpr int32_t kNoDirection = -1;  // the sort window was confirmed without one

struct TSortState {
  int32_t Key = kNoSortKey;       // file-list column id 1..12, 0 none
  int32_t Direction = kAscending; // 1 descending; any other value sorts ascending
  bool Sorted = false;            // the list is in this order and shows the sort mark

  bool IsDescending() const { return Direction == kDescending; }
  // The key that takes effect: an id outside 1..12 (a damaged stored value) is none.
  int32_t EffectiveKey() const { return Key >= 1 && Key <= kFileListColumnCount ? Key : kNoSortKey; }
};

}  // namespace kadrel
