#pragma once
// Recognising a music file by its content and reading what its header says.

#include <optional>
#include <string>

#include "catalog/music_file_info.h"
#include "formats/readers/header_readers.h"

namespace kadrel {

// Reads folder + FileName + FileExt. Clears the fields the readers own, sets
// InfoState 2 when the file cannot be opened, else runs the format row's reader.
void ReadHeaderInfo(const std::string& folder, TMusicFileInfo& r, const HeaderReadOptions& options);

// The same for `name` in the folder open as `folderFd`; `listedSize` as for
// FileByteSource::OpenAt (the scan's listing already knows a regular file's size).
void ReadHeaderInfoAt(int folderFd, const std::string& name, std::optional<uint64_t> listedSize, TMusicFileInfo& r,
                      const HeaderReadOptions& options);

// The same for data already at hand (an archive member decoded into memory).
void ReadHeaderInfoFrom(const ByteSource& source, TMusicFileInfo& r, const HeaderReadOptions& options);

// The scan's variant for archive members: a member left out for its size keeps state 1.
void ReadHeaderInfoUnlessTooLarge(const std::string& folder, TMusicFileInfo& r, const HeaderReadOptions& options);

// Placeholder titles ("untitled", or "CVS" with "Creat") are cleared.
void ApplyPlaceholderTitleRule(TMusicFileInfo& r);

}  // namespace kadrel
