#include "core/scan/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "core/text_helpers.h"

namespace kadrel {

std::optional<FolderListing> FolderListing::Read(const std::string& folder) {
  int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return std::nullopt;
  DIR* dir = ::fdopendir(dirFd);
  if (!dir) {
    ::close(dirFd);
    return std::nullopt;
  }
  FolderListing listing;
  while (dirent* d = ::readdir(dir)) {
    std::string_view name = d->d_name;
    if (name.empty() || name[0] == '.') continue;
    DirEntry e;
    e.name = std::string(name);
    struct stat st {};
    if (::fstatat(dirFd, d->d_name, &st, 0) == 0) {
      e.isDirectory = S_ISDIR(st.st_mode);
      e.isNormalFile = S_ISREG(st.st_mode);
      e.size = st.st_size;
      e.mtime = st.st_mtime;
    } else if (::fstatat(dirFd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
      // A dangling link is listed like a file; reading it then reports "cannot be opened".
      e.isNormalFile = true;
      e.mtime = st.st_mtime;
    } else {
      continue;
    }
    listing.entries_.push_back(std::move(e));
  }
  ::closedir(dir);
  std::sort(listing.entries_.begin(), listing.entries_.end(), [](const DirEntry& a, const DirEntry& b) {
    int c = CompareIgnoreCase(a.name, b.name);
    return c != 0 ? c < 0 : a.name < b.name;
  });
  return listing;
}

const DirEntry* FolderListing::FindFile(std::string_view name) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), name,
                             [](const DirEntry& e, std::string_view n) { return CompareIgnoreCase(e.name, n) < 0; });
  for (; it != entries_.end() && CompareIgnoreCase(it->name, name) == 0; ++it)
    if (it->isNormalFile) return &*it;
  return nullptr;
}

std::vector<const DirEntry*> FolderListing::FilesWithExtension(std::string_view extension) const {
  std::vector<const DirEntry*> out;
  for (const DirEntry& e : entries_) {
    if (!e.isNormalFile) continue;
    size_t dot = e.name.rfind('.');
    if (dot != std::string::npos && EqualsIgnoreCase(std::string_view(e.name).substr(dot + 1), extension))
      out.push_back(&e);
  }
  return out;
}

std::optional<std::time_t> ParentFolderTime(const std::string& folder) {
  struct stat st {};
  if (::stat((folder + "..").c_str(), &st) != 0) return std::nullopt;
  return st.st_mtime;
}

}  // namespace kadrel
