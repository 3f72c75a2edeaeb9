#pragma once
// Folder arithmetic of the play list: the common folder of items, the slashes of
// lists made on Windows.

#include <string>
#include <string_view>

#include "catalog/pl_music_info.h"

namespace kadrel {

// Longest common folder of two folders (each taken with a trailing "/"), compared byte
// for byte and cut back to a whole folder. Empty when either side is empty or nothing
// is shared.
std::string CommonFolder(std::string_view a, std::string_view b);

// Common folder of the folders of all items; empty for an empty list.
std::string CommonFolderOfItems(const TPLInfo& list);

// "\" separators become "/". Text that is not valid UTF-8 is taken as Shift-JIS, whose
// second bytes may be 0x5C and are left alone.
std::string SlashesFromBackslashes(std::string_view text);

// "/..." or a drive form "X:\" / "X:/".
bool IsFullPath(std::string_view path);

}  // namespace kadrel
