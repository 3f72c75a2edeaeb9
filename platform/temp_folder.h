#pragma once
// Emptying the program's temporary folders at the end of a run.

#include <string>

namespace kadrel {

// Deletes the regular files directly inside `folder`. Symbolic links, sub-folders and
// anything outside the folder are left alone. Returns the number of files deleted.
int DeleteRegularFiles(const std::string& folder);

}  // namespace kadrel
