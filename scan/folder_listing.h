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
  int64_t size = 0;
  std::time_t mtime = 0;
  // A regular music file whose size and time the listing left for Examined.
  bool sizeLeftOut = false;
};

// How much of each entry a listing reads besides its name and type.
enum class ListingDetail {
  Full,             // size and time of folders, music files, archives and links
  MusicSizesLater,  // the same but for music files, whose size and time Examined reads
  FoldersOnly,      // the sub-folders only (files are not even looked at)
};

class FolderListing {
 public:
  // Nullopt when the folder cannot be listed. "." and ".." are not included;
  // names starting with "." count as hidden and are left out.
  static std::optional<FolderListing> Read(const std::string& folder, ListingDetail detail = ListingDetail::Full);
  ~FolderListing();
  FolderListing(FolderListing&& other) noexcept;
  FolderListing& operator=(FolderListing&& other) noexcept;

  // The folder, open for reading its files (openat) while the listing lives.
  int Fd() const { return fd_; }

  // Entries in name order (ASCII letters folded).
  const std::vector<DirEntry>& Entries() const { return entries_; }
  // A normal file with this name, letter case ignored.
  const DirEntry* FindFile(std::string_view name) const;
  // Normal files whose extension (without dot) equals `extension`, letter case ignored.
  std::vector<const DirEntry*> FilesWithExtension(std::string_view extension) const;
  // The entry as a full listing has it (size and time read now when they were left
  // out); nullopt when it can no longer be examined, as a full listing leaves it out.
  std::optional<DirEntry> Examined(const DirEntry& entry) const;

 private:
  FolderListing() = default;
  int fd_ = -1;
  std::vector<DirEntry> entries_;
  // Open addressing over the entries by a hash of the name with every ASCII letter
  // folded: a superset of the names that equal a given name under the catalogue's
  // rules, found without a search or an allocation. Slots hold position + 1 (0: empty).
  std::vector<uint32_t> slots_;
  std::vector<uint64_t> foldedHash_;  // per entry
};

// The ".." entry's time-stamp for the parent row.
std::optional<std::time_t> ParentFolderTime(const std::string& folder);

}  // namespace kadrel
