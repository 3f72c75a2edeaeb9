#include "index/columns/sort_list.h"

#include <algorithm>
#include <numeric>

#include "core/column_text.h"
#include "index/columns/collation_key.h"

namespace kadrel {
namespace {

int Sign(int64_t v) { return (v > 0) - (v < 0); }
int Sign(int v) { return (v > 0) - (v < 0); }

void FillKey(TItemSortKey& k, const TMusicFileInfo& r, const TSortSpec& spec) {
  k.Record = &r;
  k.Kind = KindClass(r);
  k.Number = IsNumericSortKey(spec.Key) ? NumericSortValue(r, spec.Key) : 0;
  k.Text.clear();
  k.Name.clear();
  k.HasName = false;
  if (spec.Key == kNoSortKey || IsNumericSortKey(spec.Key)) return;
  k.Text = CollationKey(SortKeyText(r, spec));
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

// CompareItems over precomputed keys.
int CompareKeys(TItemSortKey& a, TItemSortKey& b, const TSortSpec& spec) {
  int kind = Sign(static_cast<int64_t>(a.Kind) - b.Kind);
  if (kind != 0) return kind;
  if (spec.Key == kNoSortKey) return 0;
  int result = IsNumericSortKey(spec.Key) ? Sign(a.Number - b.Number) : Sign(a.Text.compare(b.Text));
  if (spec.Descending) result = -result;
  if (result != 0) return result;
  if (a.Record == b.Record) return 0;
  return Sign(NameKey(a).compare(NameKey(b)));
}

}  // namespace

// Keeps the cache's slots in line with a list.
struct SortKeyCacheAccess {
  static void Prepare(TSortKeyCache& c, const TSortSpec& spec, size_t size) {
    if (!c.hasSpec_ || !(c.spec_ == spec)) {
      c.slots_.clear();
      c.spec_ = spec;
      c.hasSpec_ = true;
    }
    c.slots_.resize(size);
  }

  // The key of the entry at `position`, recomputed when the slot does not describe it.
  static TItemSortKey& At(TSortKeyCache& c, size_t position, const TMusicFileInfo& r) {
    TSortKeyCache::Slot& s = c.slots_[position];
    const std::string& field = SortKeyField(r, c.spec_.Key);
    bool valid = s.Key.Record == &r && s.TextSource == field && (!s.Key.HasName || s.NameSource == r.FileName);
    if (!valid) {
      FillKey(s.Key, r, c.spec_);
      s.TextSource = field;
      s.NameSource = r.FileName;
    } else {
      // Numbers and the kind are cheap: always taken from the record as it is now.
      s.Key.Kind = KindClass(r);
      s.Key.Number = IsNumericSortKey(c.spec_.Key) ? NumericSortValue(r, c.spec_.Key) : 0;
      if (!s.Key.HasName) s.NameSource = r.FileName;
    }
    return s.Key;
  }

  static void Insert(TSortKeyCache& c, size_t position, TItemSortKey&& key) {
    TSortKeyCache::Slot s;
    s.TextSource = SortKeyField(*key.Record, c.spec_.Key);
    s.NameSource = key.Record->FileName;
    s.Key = std::move(key);
    c.slots_.insert(c.slots_.begin() + static_cast<std::ptrdiff_t>(position), std::move(s));
  }

  static void Adopt(TSortKeyCache& c, const TSortSpec& spec, std::vector<TItemSortKey>&& keys) {
    c.slots_.clear();
    c.spec_ = spec;
    c.hasSpec_ = true;
    c.slots_.resize(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
      c.slots_[i].TextSource = SortKeyField(*keys[i].Record, spec.Key);
      c.slots_[i].NameSource = keys[i].Record->FileName;
      c.slots_[i].Key = std::move(keys[i]);
    }
  }
};

namespace {

// Sorts keys[] (one per record, in list order) and returns the order.
std::vector<size_t> OrderOfKeys(std::vector<TItemSortKey>& keys, const TSortSpec& spec) {
  std::vector<size_t> order(keys.size());
  std::iota(order.begin(), order.end(), size_t{0});
  // The position breaks the remaining ties, so the result is that of a stable sort
  // whatever the sort algorithm does with equal elements.
  std::sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    int c = CompareKeys(keys[x], keys[y], spec);
    return c != 0 ? c < 0 : x < y;
  });
  return order;
}

}  // namespace

std::optional<std::vector<size_t>> SortOrder(std::span<const TMusicFileInfo* const> records,
                                             const TSortSpec& spec) {
  try {
    std::vector<TItemSortKey> keys(records.size());
    for (size_t i = 0; i < records.size(); ++i) FillKey(keys[i], *records[i], spec);
    return OrderOfKeys(keys, spec);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool SortList(std::vector<std::unique_ptr<TMusicFileInfo>>& list, const TSortState& state, bool sortOption,
              TSortKeyCache* cache) {
  const TSortSpec spec = TSortSpec::From(state, sortOption);
  try {
    std::vector<TItemSortKey> keys(list.size());
    for (size_t i = 0; i < list.size(); ++i) FillKey(keys[i], *list[i], spec);
    std::vector<size_t> order = OrderOfKeys(keys, spec);

    std::vector<std::unique_ptr<TMusicFileInfo>> sorted;
    std::vector<TItemSortKey> sortedKeys;
    sorted.reserve(list.size());
    if (cache) sortedKeys.reserve(list.size());
    // Nothing below allocates: the list changes all at once or not at all.
    for (size_t i : order) {
      sorted.push_back(std::move(list[i]));
      if (cache) sortedKeys.push_back(std::move(keys[i]));
    }
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
  SortKeyCacheAccess::Prepare(keys, spec, list.size());

  TItemSortKey added;
  FillKey(added, *record, spec);
  size_t position = list.size();
  while (position > 0) {
    TItemSortKey& before = SortKeyCacheAccess::At(keys, position - 1, *list[position - 1]);
    if (CompareKeys(before, added, spec) <= 0) break;
    --position;
  }
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), std::move(record));
  if (cache) SortKeyCacheAccess::Insert(*cache, position, std::move(added));
  return position;
}

}  // namespace kadrel
