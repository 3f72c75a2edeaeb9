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
  // The folder is listed at the first look-up; a folder that cannot be listed has no names.
  bool Contains(std::string_view name);
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
  bool listed_ = false;
  std::unordered_set<std::string> names_;
};

}  // namespace kadrel
