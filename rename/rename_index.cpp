#include "rename/rename_index.h"

#include <vector>

#include "index/index_format.h"

namespace kadrel {

BlockUpdate RenameInIndexBlock(TFolderIndex& index, const std::string& folder, const RenameOutcome& out) {
  if (out.status != RenameStatus::Renamed) return BlockUpdate::NoBlock;
  std::vector<TMusicFileInfo> scratch;
  index.OpenFolderIndex(folder, scratch);
  if (index.Image().size() <= 28) return BlockUpdate::NoBlock;
  const auto block = FindFolderBlock(index.Image(), index.CurrentFolder());
  if (!block || !block->sound) return BlockUpdate::NoBlock;
  std::vector<TMusicFileInfo> records = TFolderIndex::BlockRecords(index.Image(), block->offset);
  ApplyRenameToEntries(out, records);
  return index.ReplaceFolderBlock(records) ? BlockUpdate::Saved : BlockUpdate::Failed;
}

}  // namespace kadrel
