#pragma once
// Temporary files named after the process that makes them, so that a later run can
// tell one whose maker has gone (killed, crashed, the machine went down) from one that
// is still being written, and remove it.
//
//   <prefix><pid>-<start>-<n><suffix>     "__index.dat.kadrel-tmp-4711-883012-0"
//
// <start> is the maker's start time (clock ticks after boot, from /proc/<pid>/stat),
// so a later process that was given the same id is not taken for the maker.

#include <cstdint>
#include <string>
#include <string_view>

namespace kadrel {

// The marker that follows a file's own name in the temporaries of its replacement.
inline constexpr std::string_view kTempMarker = ".kadrel-tmp-";

// A name not used before in this process: prefix + "<pid>-<start>-<n>" + suffix.
std::string OwnedTempName(std::string_view prefix, std::string_view suffix = {});

// The start time of process `pid` (0 when there is no such process).
uint64_t ProcessStartTime(long pid);

// True when `name` is prefix + "<pid>-<start>-<n>" + suffix and that process is gone:
// none with that id runs, or the one that does started at another time. A prefix
// that is empty matches any text ending in kTempMarker.
bool MadeByGoneProcess(std::string_view name, std::string_view prefix, std::string_view suffix = {});

// Removes the regular files directly in `folder` that MadeByGoneProcess names (with
// this prefix and suffix). Returns how many were removed.
int RemoveOrphanedTemporaries(const std::string& folder, std::string_view prefix, std::string_view suffix = {});

}  // namespace kadrel
