#include "scan/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "base/text_helpers.h"
#include "catalog/format_table.h"

namespace kadrel {

namespace {

bool IsAsciiName(std::string_view name) {
  for (char c : name)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// FNV-1a over the name with every ASCII letter folded.
uint64_t FoldedHash(std::string_view name) {
  uint64_t hash = 14695981039346656037ull;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(FoldAscii(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

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

struct EntryStat {
  bool isDirectory = false;
  bool isRegular = false;
  bool isLink = false;
  int64_t size = 0;
  std::time_t mtime = 0;
};

// Type, size and time only (statx asks for nothing else); fstatat where the kernel has
// no statx.
bool StatEntry(int folderFd, const char* name, int flags, EntryStat& out) {
  struct statx sx {};
  if (::statx(folderFd, name, flags | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_SIZE | STATX_MTIME, &sx) == 0) {
    out.isDirectory = S_ISDIR(sx.stx_mode);
    out.isRegular = S_ISREG(sx.stx_mode);
    out.isLink = S_ISLNK(sx.stx_mode);
    out.size = static_cast<int64_t>(sx.stx_size);
    out.mtime = sx.stx_mtime.tv_sec;
    return true;
  }
  if (errno != ENOSYS) return false;
  struct stat st {};
  if (::fstatat(folderFd, name, &st, flags) != 0) return false;
  out.isDirectory = S_ISDIR(st.st_mode);
  out.isRegular = S_ISREG(st.st_mode);
  out.isLink = S_ISLNK(st.st_mode);
  out.size = st.st_size;
  out.mtime = st.st_mtime;
  return true;
}

// Files whose size and time a record shows or an update pass compares: music files
// and archives, matched as FilesWithExtension matches them.
enum class SizedKind { None, Music, Archive };
SizedKind SizedKindOf(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return SizedKind::None;
  const std::string_view extension = name.substr(dot + 1);
  if (EqualsIgnoreCase(extension, "LZH")) return SizedKind::Archive;
  for (int row = 0; row < kFormatCount; ++row)
    if (EqualsIgnoreCase(extension, kFormatTable[row].Code)) return SizedKind::Music;
  return SizedKind::None;
}

// Size, time and type of an entry that a full listing examines; false when it is to be
// left out.
bool ExamineEntry(int folderFd, const char* name, bool listedAsRegular, DirEntry& e) {
  EntryStat st;
  if (StatEntry(folderFd, name, 0, st)) {
    e.isDirectory = st.isDirectory;
    e.isNormalFile = st.isRegular;
    e.listedRegular = st.isRegular && listedAsRegular;
    e.size = st.size;
    e.mtime = st.mtime;
    return true;
  }
  if (StatEntry(folderFd, name, AT_SYMLINK_NOFOLLOW, st) && st.isLink) {
    // A dangling link is listed like a file; reading it then reports "cannot be opened".
    e.isNormalFile = true;
    e.mtime = st.mtime;
    return true;
  }
  return false;
}

}  // namespace

FolderListing::~FolderListing() {
  if (fd_ >= 0) ::close(fd_);
}

FolderListing::FolderListing(FolderListing&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      entries_(std::move(other.entries_)),
      slots_(std::move(other.slots_)),
      foldedHash_(std::move(other.foldedHash_)) {}

FolderListing& FolderListing::operator=(FolderListing&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    entries_ = std::move(other.entries_);
    slots_ = std::move(other.slots_);
    foldedHash_ = std::move(other.foldedHash_);
  }
  return *this;
}

std::optional<FolderListing> FolderListing::Read(const std::string& folder, ListingDetail detail) {
  const bool foldersOnly = detail == ListingDetail::FoldersOnly;
  int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return std::nullopt;
  // The listing keeps its own descriptor for opening files; the stream gets a copy.
  const int streamFd = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
  DIR* dir = streamFd < 0 ? nullptr : ::fdopendir(streamFd);
  if (!dir) {
    if (streamFd >= 0) ::close(streamFd);
    ::close(dirFd);
    return std::nullopt;
  }
  FolderListing listing;
  listing.fd_ = dirFd;
  // readdir reads the folder with getdents64 and gives each entry's type, so most
  // entries need no stat at all.
  while (dirent* d = ::readdir(dir)) {
    std::string_view name = d->d_name;
    if (name.empty() || name[0] == '.') continue;
    if (foldersOnly && d->d_type != DT_DIR && d->d_type != DT_LNK && d->d_type != DT_UNKNOWN) continue;
    DirEntry e;
    e.name = std::string(name);
    const SizedKind sized = d->d_type == DT_REG ? SizedKindOf(name) : SizedKind::None;
    const bool examine = d->d_type == DT_DIR || d->d_type == DT_LNK || d->d_type == DT_UNKNOWN ||
                         sized == SizedKind::Archive ||
                         (sized == SizedKind::Music && detail != ListingDetail::MusicSizesLater);
    if (!examine) {
      e.isNormalFile = d->d_type == DT_REG;  // other types (pipes, devices) are no files
      e.sizeLeftOut = sized == SizedKind::Music;
    } else if (!ExamineEntry(dirFd, d->d_name, d->d_type == DT_REG, e)) {
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
  size_t slotCount = 16;
  while (slotCount < listing.entries_.size() * 2) slotCount *= 2;
  listing.slots_.assign(slotCount, 0);
  listing.foldedHash_.resize(listing.entries_.size());
  for (size_t i = 0; i < listing.entries_.size(); ++i) {
    const uint64_t hash = FoldedHash(listing.entries_[i].name);
    listing.foldedHash_[i] = hash;
    size_t slot = hash & (slotCount - 1);
    while (listing.slots_[slot] != 0) slot = (slot + 1) & (slotCount - 1);
    listing.slots_[slot] = static_cast<uint32_t>(i + 1);
  }
  return listing;
}

// Names equal under EqualsIgnoreCase are equal once every ASCII letter is folded (it
// only folds less, never more), so the folded hash finds every candidate. Of several,
// the first in name order wins.
const DirEntry* FolderListing::FindFile(std::string_view name) const {
  if (slots_.empty()) return nullptr;
  const uint64_t hash = FoldedHash(name);
  const size_t mask = slots_.size() - 1;
  const DirEntry* found = nullptr;
  for (size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const uint32_t i = slots_[slot] - 1;
    const DirEntry& e = entries_[i];
    if (foldedHash_[i] != hash || !e.isNormalFile || (found && found < &e)) continue;
    if (EqualsIgnoreCase(e.name, name)) found = &e;
  }
  return found;
}

std::optional<DirEntry> FolderListing::Examined(const DirEntry& entry) const {
  if (!entry.sizeLeftOut) return entry;
  DirEntry e;
  e.name = entry.name;
  // Read from a regular file's name, as the listing itself would have.
  if (!ExamineEntry(fd_, e.name.c_str(), true, e)) return std::nullopt;
  return e;
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
