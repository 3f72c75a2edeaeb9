#include "index/folder_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>

#include "base/text_helpers.h"

namespace kadrel {

bool FolderNames::Contains(std::string_view name) {
  // Names in an index block are spelled as the scan found them on disk, so the entry
  // itself is nearly always there: one lstat spares listing a folder of many thousand
  // files for the few names of the first screenful.
  if (!listed_ && !name.empty() && name.find('/') == std::string_view::npos) {
    struct stat st {};
    std::string path = folder_;
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    if (::lstat(path.c_str(), &st) == 0) return true;
  }
  if (!listed_) {
    listed_ = true;
    if (DIR* dir = ::opendir(folder_.c_str())) {
      while (const dirent* e = ::readdir(dir)) names_.insert(ToUpperAscii(e->d_name));
      ::closedir(dir);
    } else {
      // Only a folder that is not there has lost its files; one we may not read (or
      // a failing disk) tells nothing.
      unknown_ = errno != ENOENT && errno != ENOTDIR;
    }
  }
  return unknown_ || names_.count(ToUpperAscii(name)) != 0;
}

bool FolderGone(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0) return !S_ISDIR(st.st_mode);
  return errno == ENOENT || errno == ENOTDIR;
}

bool EntryGone(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

}  // namespace kadrel
