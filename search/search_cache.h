#pragma once
// The folded index files of earlier searches, each kept while its file is unchanged
// (same device, inode, size and modification time: a save replaces the file, so it
// always changes the inode). Safe to use from several threads; the lock guards only
// the table, never a read or a fold, and no index-file lock is ever taken.

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "search/folded_index.h"
#include "search/index_snapshot.h"

namespace kadrel {

class SearchCache {
 public:
  // The folded form of the file as it is now: the cached one when the file has not
  // changed, else the file read and folded anew. Null when it cannot be read.
  std::shared_ptr<const FoldedIndexFile> Get(const std::string& path);
  // Drops the files not in `paths` (index files that went away).
  void KeepOnly(const std::vector<std::string>& paths);
  // Bytes held by the cached files.
  size_t MemoryBytes() const;
  size_t Files() const;

 private:
  struct Entry {
    FileIdentity identity;
    std::shared_ptr<const FoldedIndexFile> file;
  };
  mutable std::mutex mutex_;
  std::map<std::string, Entry> entries_;
};

}  // namespace kadrel
