#pragma once
// The order of two entries of the file list under the sort state.

#include <cstdint>
#include <string>

#include "catalog/music_file_info.h"
#include "catalog/sort_state.h"

namespace kadrel {

// What a comparison needs to know: the key, the direction and whether leading marks of
// the information texts are ignored (the "SortOption" setting).
struct TSortSpec {
  int32_t Key = kNoSortKey;  // 0..12
  bool Descending = false;
  bool IgnoreLeadingMarks = true;

  static TSortSpec From(const TSortState& state, bool sortOption) {
    return {state.EffectiveKey(), state.IsDescending(), sortOption};
  }
  bool operator==(const TSortSpec&) const = default;
};

// Negative, 0 or positive. Parent entry, then folders, then files whatever the
// direction; then the key (numbers for Info, Size and date, collation otherwise); then,
// when a key is set, the file names in ascending order.
int CompareItems(const TMusicFileInfo& a, const TMusicFileInfo& b, const TSortState& state, bool sortOption);
int CompareItems(const TMusicFileInfo& a, const TMusicFileInfo& b, const TSortSpec& spec);

// The pieces a comparison is made of, for computing them once per entry.
bool IsNumericSortKey(int32_t key);             // 5, 6, 7
int32_t KindClass(const TMusicFileInfo& r);     // 0 parent, 1 folder, 2 file
int64_t NumericSortValue(const TMusicFileInfo& r, int32_t key);
// The record field a text key compares (empty for numeric keys and key 0).
const std::string& SortKeyField(const TMusicFileInfo& r, int32_t key);
// The same field as a member (null for numeric keys and key 0).
std::string TMusicFileInfo::*SortKeyMember(int32_t key);
// The text that is collated for a text key: leading marks trimmed when asked (keys 8 to
// 12 only), one blank appended.
std::string SortKeyText(const TMusicFileInfo& r, const TSortSpec& spec);
// The same text appended to `out`.
void AppendSortKeyText(const TMusicFileInfo& r, const TSortSpec& spec, std::string& out);
std::string FileNameSortText(const TMusicFileInfo& r);

}  // namespace kadrel
