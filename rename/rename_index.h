#pragma once
// The index block of a folder after a rename, for runs that do not hold the folder's
// list in memory (the command-line tool, a detail window showing another folder).

#include <string>

#include "index/folder_index.h"
#include "rename/rename_engine.h"

namespace kadrel {

enum class BlockUpdate { NoBlock, Saved, Failed };

// Gives the records of `folder`'s block the new names and replaces the block in one
// save. The records are taken as stored (also those of formats the settings hide).
// `index` is made to work on that folder. A failure has been shown.
BlockUpdate RenameInIndexBlock(TFolderIndex& index, const std::string& folder, const RenameOutcome& out);

}  // namespace kadrel
