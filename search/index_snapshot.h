#pragma once
// Reading an index file while a scan may be replacing it. Saves replace the file by a
// rename, so the file opened is always one whole image; its identity (device, inode,
// size, modification time) is taken from the same open file, so it always describes
// the bytes read.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kadrel {

struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` now; nullopt when it is not a readable regular file.
std::optional<FileIdentity> IdentityOf(const std::string& path);

struct IndexSnapshot {
  FileIdentity identity;
  std::string bytes;
};

// The whole file, at most `maxBytes`; nullopt when it cannot be read or is larger.
std::optional<IndexSnapshot> ReadIndexSnapshot(const std::string& path, uint64_t maxBytes);

// The volume index files ("…_index.dat") in the index folder, in name order.
std::vector<std::string> IndexFilesIn(const std::string& indexFolder);

}  // namespace kadrel
