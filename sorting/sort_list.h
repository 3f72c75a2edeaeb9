#pragma once
// Sorting a list of entries and inserting into a sorted list. Collation keys are
// computed once per entry, so sorting costs one key per entry plus cheap byte
// comparisons.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "catalog/music_file_info.h"
#include "sorting/compare_items.h"

namespace kadrel {

// The comparison keys of one entry.
struct TItemSortKey {
  const TMusicFileInfo* Record = nullptr;
  uint32_t Kind = 0;
  uint64_t Prefix = 0;   // numeric keys: the value, biased; text keys: first 8 key bytes
  std::string Text;      // collation key of the key text (text keys)
  std::string Name;      // collation key of the file name, made when first needed
  bool HasName = false;
};

// Keys of a list's entries kept between insertions, so that keeping a growing list
// sorted does not recompute them. Each slot is checked against the list's record at its
// position on every use; when the list's length is not what the cache left it at (rows
// were added, removed or the list was refilled behind its back) every slot is also
// checked against the record's texts. A record edited in place keeps the keys it was
// placed by until the list is sorted again. Clear it when the list is cleared, or
// reordered without it.
//
// While the cached keys are known to be in order, an insertion finds its place by
// binary search; otherwise it walks back from the end.
class TSortKeyCache {
 public:
  void Clear() {
    slots_.clear();
    keys_.clear();
    hasSpec_ = false;
    ordered_ = true;
  }

 private:
  friend struct SortKeyCacheAccess;
  struct Slot {
    const TMusicFileInfo* Record = nullptr;
    uint64_t Prefix = 0;
    uint32_t Kind = 0;
    uint32_t Pool = 0;  // index of the slot's full key in keys_
  };
  struct Full {
    TItemSortKey Key;
    std::string TextSource;  // the field the text key was made from
    std::string NameSource;  // the file name when the key was made
  };
  TSortSpec spec_;
  bool hasSpec_ = false;
  bool ordered_ = true;      // each slot's keys compare at or below the next slot's
  std::vector<Slot> slots_;  // one per list entry, walked on every insertion
  // Not moved by insertions; slots point into it. One allocation each, so that growing
  // the cache moves pointers, not keys.
  std::vector<std::unique_ptr<Full>> keys_;
};

// The sorted order of the records, as positions into `records`: CompareItems, and equal
// entries in their present order. Nullopt when memory runs out.
std::optional<std::vector<size_t>> SortOrder(std::span<const TMusicFileInfo* const> records,
                                             const TSortSpec& spec);

// Sorts the file list. Returns false and leaves the list as it was when the sort
// cannot be done. A cache, when given, holds the new keys afterwards.
bool SortList(std::vector<std::unique_ptr<TMusicFileInfo>>& list, const TSortState& state, bool sortOption,
              TSortKeyCache* cache = nullptr);

// Sorts any list whose entries carry a record (the detail window's entries, play-list
// items): `musicOf(entry)` returns the entry's `const TMusicFileInfo&`.
template <class T, class MusicOf>
bool SortEntries(std::vector<T>& entries, MusicOf musicOf, const TSortState& state, bool sortOption) {
  std::vector<const TMusicFileInfo*> records;
  std::vector<T> sorted;
  try {
    records.reserve(entries.size());
    sorted.reserve(entries.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (const T& e : entries) records.push_back(&musicOf(e));
  std::optional<std::vector<size_t>> order = SortOrder(records, TSortSpec::From(state, sortOption));
  if (!order) return false;
  for (size_t i : *order) sorted.push_back(std::move(entries[i]));
  entries.swap(sorted);
  return true;
}

// Inserts the record where CompareItems puts it, walking back from the last entry to
// the first one that does not compare above it (so equal entries keep their arrival
// order). Returns the position of the new entry; rows from there on need redrawing.
size_t SortedInsert(std::vector<std::unique_ptr<TMusicFileInfo>>& list, std::unique_ptr<TMusicFileInfo> record,
                    const TSortState& state, bool sortOption, TSortKeyCache* cache = nullptr);

}  // namespace kadrel
