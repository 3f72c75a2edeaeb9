#include "scan/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "base/text_helpers.h"

namespace kadrel {

namespace {

bool IsAsciiName(std::string_view name) {
  for (char c : name)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// CompareIgnoreCase, without its encoding checks when both names are plain ASCII.
int CompareNames(const std::string& a, bool aAscii, const std::string& b, bool bAscii) {
  if (!aAscii || !bAscii) return CompareIgnoreCase(a, b);
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(FoldAscii(a[i]));
    const auto cb = static_cast<unsigned char>(FoldAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

std::optional<FolderListing> FolderListing::Read(const std::string& folder, bool foldersOnly) {
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
    if (foldersOnly && d->d_type != DT_DIR && d->d_type != DT_LNK && d->d_type != DT_UNKNOWN) continue;
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
    if (foldersOnly && !e.isDirectory) continue;
    listing.entries_.push_back(std::move(e));
  }
  ::closedir(dir);
  std::vector<std::pair<DirEntry, bool>> sorted;
  sorted.reserve(listing.entries_.size());
  for (DirEntry& e : listing.entries_) {
    const bool ascii = IsAsciiName(e.name);
    sorted.emplace_back(std::move(e), ascii);
  }
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    const int c = CompareNames(a.first.name, a.second, b.first.name, b.second);
    return c != 0 ? c < 0 : a.first.name < b.first.name;
  });
  for (size_t i = 0; i < sorted.size(); ++i) listing.entries_[i] = std::move(sorted[i].first);
  listing.byFoldedName_.reserve(listing.entries_.size());
  for (size_t i = 0; i < listing.entries_.size(); ++i)
    listing.byFoldedName_[ToUpperAscii(listing.entries_[i].name)].push_back(static_cast<uint32_t>(i));
  return listing;
}

// Names equal under EqualsIgnoreCase are equal once every ASCII letter is folded (it
// only folds less, never more), so the folded name finds every candidate.
const DirEntry* FolderListing::FindFile(std::string_view name) const {
  auto it = byFoldedName_.find(ToUpperAscii(name));
  if (it == byFoldedName_.end()) return nullptr;
  for (uint32_t i : it->second) {
    const DirEntry& e = entries_[i];
    if (e.isNormalFile && EqualsIgnoreCase(e.name, name)) return &e;
  }
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
