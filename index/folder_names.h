#pragma once
// Names of a folder's entries, listed once and looked up without regard to ASCII
// letter case (song.mid is found as "song.MID").

#include <string>
#include <string_view>
#include <unordered_set>

namespace kadrel {

class FolderNames {
 public:
  explicit FolderNames(std::string folder) : folder_(std::move(folder)) {}
  // The folder is listed at the first look-up. A folder that does not exist has no
  // names; one that cannot be listed for another reason (no permission, an I/O error)
  // is taken to hold every name, so nothing is dropped for it.
  bool Contains(std::string_view name);
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
  bool listed_ = false;
  bool unknown_ = false;
  std::unordered_set<std::string> names_;
};

// True only when the system says the folder is not there (ENOENT, ENOTDIR) or the
// path is no folder; false when it exists or cannot be examined (EACCES, EIO).
bool FolderGone(const std::string& folder);
// The same for any entry (a file, an archive).
bool EntryGone(const std::string& path);

}  // namespace kadrel
