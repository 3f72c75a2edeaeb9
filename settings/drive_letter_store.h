#pragma once
// The stored drive-letter table: "\Drive" "A" … "Z", each the folder that letter names.
// A missing value is a free letter. Users may edit the values; the program only adds.

#include <array>
#include <string>

#include "settings/reg_treat.h"

namespace kadrel {

// Folders without a trailing "/" (the root stays "/"); blanks trimmed; a value that is
// not an absolute path is taken as free.
std::array<std::string, 26> LoadDriveLetters(RegTreat& reg);
// Writes every set letter and deletes the values of free ones.
void SaveDriveLetters(RegTreat& reg, const std::array<std::string, 26>& folders);

}  // namespace kadrel
