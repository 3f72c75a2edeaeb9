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

constexpr uint64_t kHashStart = 14695981039346656037ull;

// FNV-1a over the name with every ASCII letter folded; `hash` carries on over the
// parts of a name given in pieces.
uint64_t FoldedHash(std::string_view name, uint64_t hash = kHashStart) {
  for (char c : name) {
    hash ^= static_cast<unsigned char>(FoldAscii(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

// A slot holds the entry's position + 1 in its low half and the high half of the
// entry's hash above it, so that a probe past other names reads no entry.
constexpr uint64_t kTagMask = 0xFFFFFFFF00000000ull;

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

// The first eight bytes of an ASCII name with its letters folded, as a number that
// orders as the bytes do (a shorter name is padded with 0, which no name holds).
uint64_t FoldedPrefix(const std::string& name) {
  uint64_t prefix = 0;
  for (size_t i = 0; i < 8; ++i)
    prefix = prefix << 8 | (i < name.size() ? static_cast<unsigned char>(FoldAscii(name[i])) : 0u);
  return prefix;
}

// Sorts the entries in name order (ASCII letters folded; names equal so in byte order)
// and leaves them in a vector of their exact size: one grown by doubling may hold twice
// the room. Small items are sorted, and names compared only where plain ASCII
// prefixes do not decide.
void SortByName(std::vector<DirEntry>& entries) {
  struct Item {
    uint64_t prefix;   // FoldedPrefix, for ASCII names
    uint32_t index;
    bool ascii;
  };
  std::vector<Item> items(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const bool ascii = IsAsciiName(entries[i].name);
    items[i] = {ascii ? FoldedPrefix(entries[i].name) : 0, static_cast<uint32_t>(i), ascii};
  }
  std::sort(items.begin(), items.end(), [&entries](const Item& a, const Item& b) {
    if (a.ascii && b.ascii && a.prefix != b.prefix) return a.prefix < b.prefix;
    const std::string& x = entries[a.index].name;
    const std::string& y = entries[b.index].name;
    const int c = CompareNames(x, a.ascii, y, b.ascii);
    return c != 0 ? c < 0 : x < y;
  });
  std::vector<DirEntry> sorted;
  sorted.reserve(entries.size());
  for (const Item& item : items) sorted.push_back(std::move(entries[item.index]));
  entries = std::move(sorted);
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
// and archives, matched as FilesByExtension matches them.
bool NeedsSizeAndTime(std::string_view name, bool musicFiles) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot + 1);
  if (EqualsIgnoreCase(extension, "LZH")) return true;
  if (!musicFiles) return false;
  for (int row = 0; row < kFormatCount; ++row)
    if (EqualsIgnoreCase(extension, kFormatTable[row].Code)) return true;
  return false;
}

}  // namespace

FolderListing::~FolderListing() {
  if (fd_ >= 0) ::close(fd_);
}

FolderListing::FolderListing(FolderListing&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      entries_(std::move(other.entries_)),
      slots_(std::move(other.slots_)) {}

FolderListing& FolderListing::operator=(FolderListing&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    entries_ = std::move(other.entries_);
    slots_ = std::move(other.slots_);
  }
  return *this;
}

std::optional<FolderListing> FolderListing::Read(const std::string& folder, bool foldersOnly, bool musicFileTimes) {
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
    const bool examine = d->d_type == DT_DIR || d->d_type == DT_LNK || d->d_type == DT_UNKNOWN ||
                         (d->d_type == DT_REG && NeedsSizeAndTime(name, musicFileTimes));
    EntryStat st;
    if (!examine) {
      e.isNormalFile = d->d_type == DT_REG;  // other types (pipes, devices) are no files
    } else if (StatEntry(dirFd, d->d_name, 0, st)) {
      e.isDirectory = st.isDirectory;
      e.isNormalFile = st.isRegular;
      e.listedRegular = st.isRegular && d->d_type == DT_REG;
      e.examined = true;
      e.size = st.size;
      e.mtime = st.mtime;
    } else if (StatEntry(dirFd, d->d_name, AT_SYMLINK_NOFOLLOW, st) && st.isLink) {
      // A dangling link is listed like a file; reading it then reports "cannot be opened".
      e.isNormalFile = true;
      e.examined = true;
      e.mtime = st.mtime;
    } else {
      continue;
    }
    if (foldersOnly && !e.isDirectory) continue;
    listing.entries_.push_back(std::move(e));
  }
  ::closedir(dir);
  SortByName(listing.entries_);
  const size_t count = listing.entries_.size();
  size_t slotCount = 16;
  while (slotCount < count * 2) slotCount *= 2;
  listing.slots_.assign(slotCount, 0);
  // The stems of the normal files, counted in a table of their own for the length of
  // this call: a slot holds the stem's hash with bit 1 set (never 0) and bit 0 marking
  // a second file with that stem.
  std::vector<uint64_t> stems(slotCount, 0);
  std::vector<uint64_t> stemKeys(count, 0);
  for (size_t i = 0; i < count; ++i) {
    const std::string_view name = listing.entries_[i].name;
    const size_t dot = name.rfind('.');
    // FNV-1a runs from the front, so the stem's hash is the name's hash part way.
    const uint64_t stemHash = FoldedHash(dot == std::string_view::npos ? name : name.substr(0, dot));
    const uint64_t hash = dot == std::string_view::npos ? stemHash : FoldedHash(name.substr(dot), stemHash);
    size_t slot = hash & (slotCount - 1);
    while (listing.slots_[slot] != 0) slot = (slot + 1) & (slotCount - 1);
    listing.slots_[slot] = (hash & kTagMask) | static_cast<uint64_t>(i + 1);
    if (!listing.entries_[i].isNormalFile) continue;
    const uint64_t key = (stemHash & ~uint64_t{1}) | 2;
    stemKeys[i] = key;
    for (slot = (key >> 2) & (slotCount - 1);; slot = (slot + 1) & (slotCount - 1)) {
      if (stems[slot] == 0) {
        stems[slot] = key;
        break;
      }
      if ((stems[slot] & ~uint64_t{1}) == key) {
        stems[slot] |= 1;
        break;
      }
    }
  }
  for (size_t i = 0; i < count; ++i) {
    if (stemKeys[i] == 0) continue;
    size_t slot = (stemKeys[i] >> 2) & (slotCount - 1);
    while ((stems[slot] & ~uint64_t{1}) != stemKeys[i]) slot = (slot + 1) & (slotCount - 1);
    listing.entries_[i].stemShared = (stems[slot] & 1) != 0;
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
    if ((slots_[slot] ^ hash) & kTagMask) continue;
    const size_t i = static_cast<size_t>(slots_[slot] & ~kTagMask) - 1;
    const DirEntry& e = entries_[i];
    if (!e.isNormalFile || (found && found < &e)) continue;
    if (EqualsIgnoreCase(e.name, name)) found = &e;
  }
  return found;
}

FolderListing::Stem FolderListing::StemOf(std::string_view stem) { return {stem, FoldedHash(".", FoldedHash(stem))}; }

const DirEntry* FolderListing::FindFile(const Stem& stem, std::string_view extension) const {
  if (slots_.empty()) return nullptr;
  const uint64_t hash = FoldedHash(extension, stem.hash);
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    if ((slots_[slot] ^ hash) & kTagMask) continue;
    // A likely hit (most look-ups miss without getting here): compare in full.
    std::string name;
    name.reserve(stem.text.size() + 1 + extension.size());
    name.append(stem.text).append(1, '.').append(extension);
    return FindFile(name);
  }
  return nullptr;
}

bool FolderListing::Examine(DirEntry& e) const {
  EntryStat st;
  if (!StatEntry(fd_, e.name.c_str(), 0, st)) return false;
  e.isDirectory = st.isDirectory;
  e.isNormalFile = st.isRegular;
  e.examined = true;
  e.size = st.size;
  e.mtime = st.mtime;
  return true;
}

std::vector<std::vector<const DirEntry*>> FolderListing::FilesByExtension(
    const std::vector<std::string_view>& extensions) const {
  std::vector<std::vector<const DirEntry*>> groups(extensions.size());
  size_t longest = 0;
  for (std::string_view ext : extensions) longest = std::max(longest, ext.size());
  std::string folded;
  for (const DirEntry& e : entries_) {
    if (!e.isNormalFile) continue;
    const size_t dot = e.name.rfind('.');
    if (dot == std::string::npos || e.name.size() - dot - 1 > longest) continue;
    // The extensions are ASCII: an extension equal to one under the catalogue's rules
    // is equal to it once its ASCII letters are folded.
    folded.assign(e.name, dot + 1);
    for (char& c : folded) c = FoldAscii(c);
    for (size_t k = 0; k < extensions.size(); ++k) {
      if (folded == extensions[k]) {
        groups[k].push_back(&e);
        break;
      }
    }
  }
  return groups;
}

std::optional<std::time_t> ParentFolderTime(const std::string& folder) {
  struct stat st {};
  if (::stat((folder + "..").c_str(), &st) != 0) return std::nullopt;
  return st.st_mtime;
}

}  // namespace kadrel
