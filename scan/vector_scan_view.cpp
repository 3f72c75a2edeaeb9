#include "scan/vector_scan_view.h"

namespace kadrel {

void VectorScanView::InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) {
  SortedInsert(list, std::move(record), sort, sortOption, &keys_);
}

void VectorScanView::SortAndRefresh() {
  // Without a key the list keeps the kinds-first order and needs no collation keys.
  const bool keyed = sort.EffectiveKey() != kNoSortKey;
  SortList(list, sort, sortOption, keyed ? &keys_ : nullptr);
  if (!keyed) keys_.Clear();  // the list was reordered without the cache
}

}  // namespace kadrel
