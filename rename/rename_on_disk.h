#pragma once
// Renaming one entry of a folder on disk without ever replacing another entry.

#include <string>

#include "base/message_box.h"

namespace kadrel {

enum class DiskRename { Done, Missing, Exists, Failed };

// Renames folder + oldName to folder + newName (folder ends in "/"). Exists when
// another entry already has the new name, also when the two differ only in letter
// case: the rename never replaces anything. A change of letter case alone of the
// same entry is allowed. `why` gets the system's reason on Failed.
DiskRename RenameEntryNoReplace(const std::string& folder, const std::string& oldName, const std::string& newName,
                                std::string* why = nullptr);

// The same, with the window's messages: the old entry missing, the new name taken,
// or any other failure (error boxes). True when renamed.
bool RenameFileInFolder(const std::string& folder, const std::string& oldName, const std::string& newName,
                        IMessageBox& messages);

// True when folder + name exists (file, folder or link).
bool EntryExists(const std::string& folder, const std::string& name);

}  // namespace kadrel
