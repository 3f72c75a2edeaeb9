#include "base/heap_settings.h"

#include <malloc.h>

namespace kadrel {

namespace {
// About the records of a folder of 50,000 entries; more than this is still returned.
constexpr int kKeptFreedHeap = 32 * 1024 * 1024;
}  // namespace

void KeepFreedHeapForReuse() {
#if defined(M_TRIM_THRESHOLD) && defined(M_MMAP_THRESHOLD)
  ::mallopt(M_TRIM_THRESHOLD, kKeptFreedHeap);
  // Setting one threshold fixes the other, which the allocator otherwise raises as large
  // blocks are freed: left at its start value, every block over 128 KiB (a list's row
  // vector, an index file read) would be mapped and faulted in anew each time. This is
  // the ceiling the allocator would raise it to.
  ::mallopt(M_MMAP_THRESHOLD, kKeptFreedHeap);
#endif
}

}  // namespace kadrel
