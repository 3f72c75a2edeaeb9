#pragma once
// How the C library's allocator treats memory given back by the program.

namespace kadrel {

// Opening a folder allocates its records on the scan thread and frees the previous
// folder's; by default the allocator hands the freed memory back to the system, so the
// next folder's records fault it in anew (a tenth of a scan). Up to 32 MiB of freed
// memory (the records of about 50,000 entries) are kept for reuse instead. Called once
// at start, before any thread exists.
void KeepFreedHeapForReuse();

}  // namespace kadrel
