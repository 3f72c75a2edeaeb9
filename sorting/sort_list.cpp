#include "sorting/sort_list.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>
#include <unordered_map>

#include "catalog/column_text.h"
#include "sorting/collation_key.h"

namespace kadrel {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

uint64_t TextPrefix(std::string_view key) {
  // Big-endian, zero-padded: ordering the prefixes as numbers orders the keys by their
  // first 8 bytes (collation keys hold no zero byte).
  uint64_t v = 0;
  for (size_t i = 0; i < 8; ++i)
    v = (v << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  return v;
}

void FillKey(TItemSortKey& k, const TMusicFileInfo& r, const TSortSpec& spec) {
  k.Record = &r;
  k.Kind = static_cast<uint32_t>(KindClass(r));
  k.Prefix = 0;
  k.Text.clear();
  k.Name.clear();
  k.HasName = false;
  if (spec.Key == kNoSortKey) return;
  if (IsNumericSortKey(spec.Key)) {
    k.Prefix = static_cast<uint64_t>(NumericSortValue(r, spec.Key)) ^ (uint64_t{1} << 63);
    return;
  }
  thread_local std::string text;
  text.clear();
  AppendSortKeyText(r, spec, text);
  k.Text = CollationKey(text);
  k.Prefix = TextPrefix(k.Text);
  if (spec.Key == kColFileName) {
    k.Name = k.Text;  // the file-name key is the name's own key
    k.HasName = true;
  }
}

const std::string& NameKey(TItemSortKey& k) {
  if (!k.HasName) {
    k.Name = CollationKey(FileNameSortText(*k.Record));
    k.HasName = true;
  }
  return k.Name;
}

// CompareItems over precomputed keys: the kind and the prefix decide most comparisons
// without leaving the compact arrays.
int CompareKeys(uint32_t kindA, uint64_t prefixA, TItemSortKey& a, uint32_t kindB, uint64_t prefixB,
                TItemSortKey& b, const TSortSpec& spec) {
  if (kindA != kindB) return kindA < kindB ? -1 : 1;
  if (spec.Key == kNoSortKey) return 0;
  int result = 0;
  if (prefixA != prefixB) result = prefixA < prefixB ? -1 : 1;
  else if (!IsNumericSortKey(spec.Key)) result = Sign(a.Text.compare(b.Text));
  if (spec.Descending) result = -result;
  if (result != 0 || &a == &b) return result;
  return Sign(NameKey(a).compare(NameKey(b)));
}

// list.insert(position, record) for the file list, at the cost of a memmove.
// vector::insert moves the owning pointers after the place one by one (each move
// clears its source and checks its target for a record to delete), which costs five
// times the memmove of the same bytes and was most of a sorted insertion into a long
// list. A unique_ptr with the default deleter is the pointer alone and moving it
// leaves nothing behind that its destructor would need, so its bytes can be shifted
// as they are: the vector's storage is grown first (the only step that can fail),
// the entries from `position` on are shifted up by one slot over the empty last one,
// and the new record is put into the slot they left without destroying the copy
// that was shifted away from it.
void InsertAt(std::vector<std::unique_ptr<TMusicFileInfo>>& list, size_t position,
              std::unique_ptr<TMusicFileInfo> record) {
  using Owner = std::unique_ptr<TMusicFileInfo>;
  static_assert(sizeof(Owner) == sizeof(TMusicFileInfo*) && std::is_nothrow_move_constructible_v<Owner>);
  list.emplace_back();
  Owner* slots = list.data();
  const size_t moved = list.size() - 1 - position;
  std::memmove(static_cast<void*>(slots + position + 1), static_cast<const void*>(slots + position),
               moved * sizeof(Owner));
  ::new (static_cast<void*>(slots + position)) Owner(std::move(record));
}

struct SortItem {
  uint64_t prefix;
  uint32_t kind;
  uint32_t position;
};

// The keys of a whole list for one sort: every text key in one buffer, so that building
// them costs no allocation per entry and comparing them is a memcmp. The file-name keys
// that break ties are made when a tie first needs them.
class FlatKeys {
  static constexpr size_t kAhead = 8;  // records fetched ahead of the one keyed

 public:
  FlatKeys(std::span<const TMusicFileInfo* const> records, const TSortSpec& spec)
      : records_(records), spec_(spec), offset_(records.size() + 1), items_(records.size()) {
    const bool text = spec.Key != kNoSortKey && !IsNumericSortKey(spec.Key);
    std::string TMusicFileInfo::*field = SortKeyMember(spec.Key);
    if (text) bytes_.reserve(records.size() * 48);
    std::string keyText;
    const size_t count = records.size();
    for (size_t i = 0; i < count; ++i) {
      // The records lie wherever they were made, in no relation to the list's order:
      // each would cost a cache miss for its kind, one for its field and one for the
      // field's text. They are fetched ahead, the text once its string has arrived.
      if (i + 2 * kAhead < count) {
        const TMusicFileInfo* ahead = records[i + 2 * kAhead];
        __builtin_prefetch(&ahead->ItemKind);
        if (field) __builtin_prefetch(&(ahead->*field));
      }
      if (field && i + kAhead < count) __builtin_prefetch((records[i + kAhead]->*field).data());

      const TMusicFileInfo& r = *records[i];
      SortItem& item = items_[i];
      item.kind = static_cast<uint32_t>(KindClass(r));
      item.position = static_cast<uint32_t>(i);
      item.prefix = 0;
      offset_[i] = bytes_.size();
      if (IsNumericSortKey(spec.Key)) {
        item.prefix = static_cast<uint64_t>(NumericSortValue(r, spec.Key)) ^ (uint64_t{1} << 63);
      } else if (text) {
        keyText.clear();
        AppendSortKeyText(r, spec, keyText);
        AppendCollationKey(keyText, bytes_);
        item.prefix = TextPrefix(std::string_view(bytes_).substr(offset_[i]));
      }
    }
    offset_[records.size()] = bytes_.size();
  }

  // Positions into the records in sorted order; the position breaks the remaining
  // ties, so the result is that of a stable sort.
  std::vector<size_t> Order() {
    std::sort(items_.begin(), items_.end(), [&](const SortItem& x, const SortItem& y) {
      const int c = Compare(x, y);
      return c != 0 ? c < 0 : x.position < y.position;
    });
    std::vector<size_t> order(items_.size());
    for (size_t i = 0; i < items_.size(); ++i) order[i] = items_[i].position;
    return order;
  }

  // After Order(): the keys of the entry at `rank` in the form the key cache keeps.
  TItemSortKey KeyAt(size_t rank) {
    const SortItem& item = items_[rank];
    const size_t i = item.position;
    TItemSortKey k;
    k.Record = records_[i];
    k.Kind = item.kind;
    k.Prefix = item.prefix;
    k.Text = std::string(Text(i));
    if (spec_.Key == kColFileName) {
      k.Name = k.Text;
      k.HasName = true;
    } else if (auto it = names_.find(i); it != names_.end()) {
      k.Name = it->second;
      k.HasName = true;
    }
    return k;
  }

 private:
  std::string_view Text(size_t i) const {
    return std::string_view(bytes_).substr(offset_[i], offset_[i + 1] - offset_[i]);
  }

  std::string_view Name(size_t i) {
    if (spec_.Key == kColFileName) return Text(i);  // the file-name key is the name's own key
    auto it = names_.find(i);
    if (it == names_.end()) it = names_.emplace(i, CollationKey(FileNameSortText(*records_[i]))).first;
    return it->second;
  }

  // CompareItems over the keys.
  int Compare(const SortItem& x, const SortItem& y) {
    if (x.kind != y.kind) return x.kind < y.kind ? -1 : 1;
    if (spec_.Key == kNoSortKey) return 0;
    int result = 0;
    if (x.prefix != y.prefix) result = x.prefix < y.prefix ? -1 : 1;
    else if (!IsNumericSortKey(spec_.Key)) result = Sign(Text(x.position).compare(Text(y.position)));
    if (spec_.Descending) result = -result;
    if (result != 0 || x.position == y.position) return result;
    return Sign(Name(x.position).compare(Name(y.position)));
  }

  std::span<const TMusicFileInfo* const> records_;
  TSortSpec spec_;
  std::string bytes_;
  std::vector<size_t> offset_;  // entry i's text key is bytes_[offset_[i], offset_[i + 1])
  std::vector<SortItem> items_;
  std::unordered_map<size_t, std::string> names_;
};

}  // namespace

struct SortKeyCacheAccess {
  using Slot = TSortKeyCache::Slot;
  using Full = TSortKeyCache::Full;

  static uint32_t AddFull(TSortKeyCache& c, TItemSortKey&& key) {
    Full f;
    f.TextSource = SortKeyField(*key.Record, c.spec_.Key);
    f.NameSource = key.Record->FileName;
    f.Key = std::move(key);
    c.keys_.push_back(std::make_unique<Full>(std::move(f)));
    return static_cast<uint32_t>(c.keys_.size() - 1);
  }

  static bool Describes(const Full& f, const TMusicFileInfo& r, const TSortSpec& spec) {
    return f.Key.Record == &r && f.TextSource == SortKeyField(r, spec.Key) && f.NameSource == r.FileName &&
           f.Key.Kind == static_cast<uint32_t>(KindClass(r)) &&
           (!IsNumericSortKey(spec.Key) ||
            f.Key.Prefix == (static_cast<uint64_t>(NumericSortValue(r, spec.Key)) ^ (uint64_t{1} << 63)));
  }

  static void Refill(TSortKeyCache& c, Slot& s, const TMusicFileInfo& r) {
    TItemSortKey key;
    FillKey(key, r, c.spec_);
    s.Record = &r;
    s.Prefix = key.Prefix;
    s.Kind = key.Kind;
    Full& f = *c.keys_[s.Pool];
    f.TextSource = SortKeyField(r, c.spec_.Key);
    f.NameSource = r.FileName;
    f.Key = std::move(key);
  }

  // Refills every slot that does not hold its list entry and says whether the keys are
  // in order.
  static bool SlotsInOrder(TSortKeyCache& c, const std::vector<std::unique_ptr<TMusicFileInfo>>& list) {
    for (size_t i = 0; i < list.size(); ++i)
      if (c.slots_[i].Record != list[i].get()) Refill(c, c.slots_[i], *list[i]);
    for (size_t i = 1; i < list.size(); ++i) {
      Slot& a = c.slots_[i - 1];
      Slot& b = c.slots_[i];
      if (CompareKeys(a.Kind, a.Prefix, c.keys_[a.Pool]->Key, b.Kind, b.Prefix, c.keys_[b.Pool]->Key, c.spec_) > 0)
        return false;
    }
    return true;
  }

  // Lines the cache up with the list before a search. `checkOrder`: when the list
  // changed behind the cache's back, find out whether it is still in order (else the
  // insertion walks).
  static void Prepare(TSortKeyCache& c, const TSortSpec& spec,
                      const std::vector<std::unique_ptr<TMusicFileInfo>>& list, bool checkOrder) {
    if (!c.hasSpec_ || !(c.spec_ == spec)) {
      c.Clear();
      c.spec_ = spec;
      c.hasSpec_ = true;
    }
    if (c.slots_.size() == list.size()) return;
    // Changed behind the cache's back: records may have been freed and others made at
    // the same addresses, so the texts decide what is still valid. The full keys are
    // repacked so that keys of removed entries do not pile up.
    std::vector<std::unique_ptr<Full>> kept;
    kept.reserve(list.size());
    const size_t old = c.slots_.size();
    c.slots_.resize(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
      Slot& s = c.slots_[i];
      if (i < old && Describes(*c.keys_[s.Pool], *list[i], spec)) {
        kept.push_back(std::move(c.keys_[s.Pool]));
      } else {
        s.Record = nullptr;
        kept.push_back(std::make_unique<Full>());
      }
      s.Pool = static_cast<uint32_t>(i);
    }
    c.keys_.swap(kept);
    c.ordered_ = checkOrder && SlotsInOrder(c, list);
  }

  // The walk's result over keys in order: after the last entry that does not compare
  // above the new one.
  static size_t Search(TSortKeyCache& c, const std::vector<std::unique_ptr<TMusicFileInfo>>& list,
                       TItemSortKey& added) {
    size_t low = 0, high = list.size();
    while (low < high) {
      const size_t middle = low + (high - low) / 2;
      Slot& s = c.slots_[middle];
      if (s.Record != list[middle].get()) {
        // Reordered behind the cache's back with its length unchanged.
        c.ordered_ = SlotsInOrder(c, list);
        if (!c.ordered_) return Walk(c, list, added);
        low = 0;
        high = list.size();
        continue;
      }
      if (CompareKeys(s.Kind, s.Prefix, c.keys_[s.Pool]->Key, added.Kind, added.Prefix, added, c.spec_) > 0)
        high = middle;
      else
        low = middle + 1;
    }
    return low;
  }

  static size_t Walk(TSortKeyCache& c, const std::vector<std::unique_ptr<TMusicFileInfo>>& list,
                     TItemSortKey& added) {
    size_t position = list.size();
    while (position > 0) {
      const size_t i = position - 1;
      Slot& s = c.slots_[i];
      if (s.Record != list[i].get()) Refill(c, s, *list[i]);
      if (CompareKeys(s.Kind, s.Prefix, c.keys_[s.Pool]->Key, added.Kind, added.Prefix, added, c.spec_) <= 0) break;
      position = i;
    }
    return position;
  }

  static size_t Place(TSortKeyCache& c, const std::vector<std::unique_ptr<TMusicFileInfo>>& list,
                      TItemSortKey& added) {
    return c.ordered_ ? Search(c, list, added) : Walk(c, list, added);
  }

  static void Insert(TSortKeyCache& c, size_t position, TItemSortKey&& key) {
    Slot s{key.Record, key.Prefix, key.Kind, 0};
    s.Pool = AddFull(c, std::move(key));
    c.slots_.insert(c.slots_.begin() + static_cast<std::ptrdiff_t>(position), s);
  }

  static void Adopt(TSortKeyCache& c, const TSortSpec& spec, std::vector<TItemSortKey>&& keys) {
    c.Clear();
    c.spec_ = spec;
    c.hasSpec_ = true;
    c.slots_.reserve(keys.size());
    c.keys_.reserve(keys.size());
    for (TItemSortKey& k : keys) {
      Slot s{k.Record, k.Prefix, k.Kind, 0};
      s.Pool = AddFull(c, std::move(k));
      c.slots_.push_back(s);
    }
  }
};

std::optional<std::vector<size_t>> SortOrder(std::span<const TMusicFileInfo* const> records,
                                             const TSortSpec& spec) {
  try {
    FlatKeys keys(records, spec);
    return keys.Order();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool SortList(std::vector<std::unique_ptr<TMusicFileInfo>>& list, const TSortState& state, bool sortOption,
              TSortKeyCache* cache) {
  const TSortSpec spec = TSortSpec::From(state, sortOption);
  try {
    std::vector<const TMusicFileInfo*> records(list.size());
    for (size_t i = 0; i < list.size(); ++i) records[i] = list[i].get();
    FlatKeys keys(records, spec);
    const std::vector<size_t> order = keys.Order();

    std::vector<std::unique_ptr<TMusicFileInfo>> sorted;
    std::vector<TItemSortKey> sortedKeys;
    sorted.reserve(list.size());
    if (cache) {
      sortedKeys.reserve(list.size());
      for (size_t rank = 0; rank < order.size(); ++rank) sortedKeys.push_back(keys.KeyAt(rank));
    }
    // Nothing below allocates: the list changes all at once or not at all.
    for (size_t i : order) sorted.push_back(std::move(list[i]));
    list.swap(sorted);
    if (cache) SortKeyCacheAccess::Adopt(*cache, spec, std::move(sortedKeys));
    return true;
  } catch (const std::bad_alloc&) {
    if (cache) cache->Clear();
    return false;
  }
}

size_t SortedInsert(std::vector<std::unique_ptr<TMusicFileInfo>>& list, std::unique_ptr<TMusicFileInfo> record,
                    const TSortState& state, bool sortOption, TSortKeyCache* cache) {
  const TSortSpec spec = TSortSpec::From(state, sortOption);
  TSortKeyCache local;
  TSortKeyCache& keys = cache ? *cache : local;
  SortKeyCacheAccess::Prepare(keys, spec, list, cache != nullptr);

  TItemSortKey added;
  FillKey(added, *record, spec);
  const size_t position = SortKeyCacheAccess::Place(keys, list, added);
  InsertAt(list, position, std::move(record));
  if (cache) SortKeyCacheAccess::Insert(*cache, position, std::move(added));
  return position;
}

}  // namespace kadrel
