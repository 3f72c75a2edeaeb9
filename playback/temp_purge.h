#pragma once
// Emptying the temporary folder before a play.

#include <string>

namespace kadrel {

// True when `folder` is a folder we may empty: an absolute path other than "/", a real
// folder (not a symbolic link), owned by us and not open to other users.
bool IsOwnPrivateFolder(const std::string& folder);

// Deletes the regular files and symbolic links directly inside `folder` (never what a
// link points to, never sub-folders) when IsOwnPrivateFolder. Returns how many.
int PurgeTemporaryFolder(const std::string& folder);

}  // namespace kadrel
