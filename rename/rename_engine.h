#pragma once
// The rename of one listed entry (a folder, a loose file, or a member together with
// its archive), shared by the rename window and `kadrel-cli rename`: checks the new
// names, renames on disk and inside the archive, undoes what was done when a later
// step fails, and brings the entries listed from the folder up to date.

#include <string>
#include <vector>

#include "archive/unlha_turn.h"
#include "base/message_box.h"
#include "catalog/music_file_info.h"
#include "rename/rename_names.h"

namespace kadrel {

enum class RenameStatus {
  Renamed,    // the disk changed; the entries were updated (the index block is due)
  Unchanged,  // the names are the old ones: nothing to do
  Refused,    // nothing changed on disk; the window stays open
  Forgotten,  // the entry is no longer on disk; the window forgets it
};

struct RenameOutcome {
  RenameStatus status = RenameStatus::Refused;
  bool restoreFields = false;  // put the old names back into the fields
  TMusicFileInfo entry;        // the entry with its new names (when renamed)
  std::string oldName, newName;        // bytes as on disk or in the archive
  std::string oldArchive, newArchive;  // members only
};

// Gives the entries that stand for the renamed folder, file or archive (matched by
// the old names; members without regard to letter case) the names of `out.entry`.
void ApplyRenameToEntries(const RenameOutcome& out, std::vector<TMusicFileInfo>& entries);

class RenameEngine {
 public:
  RenameEngine(IMessageBox& messages, TUnLhaManagement& turns) : messages_(messages), turns_(turns) {}

  // Renames `entry` of `folder` (ending in "/") to the names of `fields`. Every entry
  // of `listed` (the entries listed from that folder; may be null) that stands for
  // the renamed file, folder or archive gets the new names.
  RenameOutcome Apply(const TMusicFileInfo& entry, const RenameFields& fields, const std::string& folder,
                      std::vector<TMusicFileInfo>* listed);

 private:
  RenameOutcome RenameLoose(RenameOutcome out, RenameKind kind, const std::string& folder);
  RenameOutcome RenameInArchive(RenameOutcome out, const std::string& folder);
  RenameOutcome Refuse(RenameOutcome out, const std::string& text, bool error = false);
  // Renames the archive back after a later step failed; true when it is back.
  bool UndoArchiveRename(const RenameOutcome& out, const std::string& folder);

  IMessageBox& messages_;
  TUnLhaManagement& turns_;
};

}  // namespace kadrel
