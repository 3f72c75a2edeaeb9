#include "sorting/sort_list.h"

#include <algorithm>

#include "catalog/column_text.h"
#include "sorting/collation_key.h"

namespace kadrel {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

uint64_t TextPrefix(const std::string& key) {
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
  k.Text = CollationKey(SortKeyText(r, spec));
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

struct SortItem {
  uint64_t prefix;
  uint32_t kind;
  uint32_t position;
};

std::vector<size_t> OrderOfKeys(std::vector<TItemSortKey>& keys, const TSortSpec& spec) {
  std::vector<SortItem> items(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) items[i] = {keys[i].Prefix, keys[i].Kind, static_cast<uint32_t>(i)};
  // The position breaks the remaining ties, so the result is that of a stable sort
  // whatever the sort algorithm does with equal elements.
  std::sort(items.begin(), items.end(), [&](const SortItem& x, const SortItem& y) {
    int c = CompareKeys(x.kind, x.prefix, keys[x.position], y.kind, y.prefix, keys[y.position], spec);
    return c != 0 ? c < 0 : x.position < y.position;
  });
  std::vector<size_t> order(items.size());
  for (size_t i = 0; i < items.size(); ++i) order[i] = items[i].position;
  return order;
}

}  // namespace

struct SortKeyCacheAccess {
  using Slot = TSortKeyCache::Slot;
  using Full = TSortKeyCache::Full;

  static uint32_t AddFull(TSortKeyCache& c, TItemSortKey&& key) {
    Full f;
    f.TextSource = SortKeyField(*key.Record, c.spec_.Key);
    f.NameSource = key.Record->FileName;
    f.Key = std::move(key);
    c.keys_.push_back(std::move(f));
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
    Full& f = c.keys_[s.Pool];
    f.TextSource = SortKeyField(r, c.spec_.Key);
    f.NameSource = r.FileName;
    f.Key = std::move(key);
  }

  // Lines the cache up with the list before a walk.
  static void Prepare(TSortKeyCache& c, const TSortSpec& spec,
                      const std::vector<std::unique_ptr<TMusicFileInfo>>& list) {
    if (!c.hasSpec_ || !(c.spec_ == spec)) {
      c.Clear();
      c.spec_ = spec;
      c.hasSpec_ = true;
    }
    if (c.slots_.size() == list.size()) return;
    // Changed behind the cache's back: records may have been freed and others made at
    // the same addresses, so the texts decide what is still valid. The full keys are
    // repacked so that keys of removed entries do not pile up.
    std::vector<Full> kept;
    kept.reserve(list.size());
    const size_t old = c.slots_.size();
    c.slots_.resize(list.size());
    for (size_t i = 0; i < list.size(); ++i) {
      Slot& s = c.slots_[i];
      Full f;
      if (i < old && Describes(c.keys_[s.Pool], *list[i], spec)) f = std::move(c.keys_[s.Pool]);
      else s.Record = nullptr;
      kept.push_back(std::move(f));
      s.Pool = static_cast<uint32_t>(i);
    }
    c.keys_.swap(kept);
  }

  static size_t Walk(TSortKeyCache& c, const std::vector<std::unique_ptr<TMusicFileInfo>>& list,
                     TItemSortKey& added) {
    size_t position = list.size();
    while (position > 0) {
      const size_t i = position - 1;
      Slot& s = c.slots_[i];
      if (s.Record != list[i].get()) Refill(c, s, *list[i]);
      if (CompareKeys(s.Kind, s.Prefix, c.keys_[s.Pool].Key, added.Kind, added.Prefix, added, c.spec_) <= 0) break;
      position = i;
    }
    return position;
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
  SortKeyCacheAccess::Prepare(keys, spec, list);

  TItemSortKey added;
  FillKey(added, *record, spec);
  const size_t position = SortKeyCacheAccess::Walk(keys, list, added);
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), std::move(record));
  if (cache) SortKeyCacheAccess::Insert(*cache, position, std::move(added));
  return position;
}

}  // namespace kadrel
