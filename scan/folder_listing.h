#pragma once
// One listing of a folder, taken once per pass, with look-ups that ignore ASCII
// letter case as the catalogue's name rules require (SONG.WRD is found as song.wrd).

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

struct DirEntry {
  std::string name;        // bytes as stored in the file system
  bool isDirectory = false;
  bool isNormalFile = false;  // a file (or a link to one, or a dangling link), not hidden
  // The listing named a regular file itself, not a link, and read its size and time.
  // Only folders, music files, archives and links are examined; the size and time of
  // other files (documents, companions) stay 0.
  bool listedRegular = false;
  // The listing read the size and time (false for files it did not examine).
  bool examined = false;
  // Another normal file has the same name before its last dot (ASCII letters folded;
  // hash collisions may set it too). Without it no file stem + "." + anything is
  // there but this one.
  bool stemShared = false;
  int64_t size = 0;
  std::time_t mtime = 0;
};

class FolderListing {
 public:
  // Nullopt when the folder cannot be listed. "." and ".." are not included;
  // names starting with "." count as hidden and are left out. With `foldersOnly` only
  // the sub-folders are listed (files are not even looked at). Without
  // `musicFileTimes` the music files (regular files by the listing's type) are not
  // examined: a full pass opens each of them anyway and takes size and time from the
  // open file, which costs less than a look-up by name.
  static std::optional<FolderListing> Read(const std::string& folder, bool foldersOnly = false,
                                           bool musicFileTimes = true);
  ~FolderListing();
  FolderListing(FolderListing&& other) noexcept;
  FolderListing& operator=(FolderListing&& other) noexcept;

  // The folder, open for reading its files (openat) while the listing lives.
  int Fd() const { return fd_; }

  // Entries in name order (ASCII letters folded).
  const std::vector<DirEntry>& Entries() const { return entries_; }
  // A normal file with this name, letter case ignored.
  const DirEntry* FindFile(std::string_view name) const;
  // A stem to be looked up with several extensions: its hash is taken once.
  struct Stem {
    std::string_view text;
    uint64_t hash;  // of text + "."
  };
  static Stem StemOf(std::string_view stem);
  // The same for stem + "." + extension, without putting the name together first.
  const DirEntry* FindFile(const Stem& stem, std::string_view extension) const;
  const DirEntry* FindFile(std::string_view stem, std::string_view extension) const {
    return FindFile(StemOf(stem), extension);
  }
  // Examines an entry the listing did not (size, time, type) as the listing would
  // have; false when it is gone.
  bool Examine(DirEntry& e) const;
  // Normal files whose extension (without dot) is one of `extensions` (ASCII, upper
  // case), letter case ignored, in one walk over the listing: one group per extension,
  // in their order, each in name order.
  std::vector<std::vector<const DirEntry*>> FilesByExtension(const std::vector<std::string_view>& extensions) const;

 private:
  FolderListing() = default;
  int fd_ = -1;
  std::vector<DirEntry> entries_;
  // Open addressing over the entries by a hash of the name with every ASCII letter
  // folded: a superset of the names that equal a given name under the catalogue's
  // rules, found without a search or an allocation. Slots hold position + 1 (0: empty)
  // and the high half of the entry's hash, which stands in for the whole hash.
  std::vector<uint64_t> slots_;
};

// The ".." entry's time-stamp for the parent row.
std::optional<std::time_t> ParentFolderTime(const std::string& folder);

}  // namespace kadrel
