#include "search/search_cache.h"

#include <algorithm>

#include "index/index_format.h"

namespace kadrel {

std::shared_ptr<const FoldedIndexFile> SearchCache::Get(const std::string& path) {
  const auto now = IdentityOf(path);
  if (!now) return nullptr;
  {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(path);
    if (it != entries_.end() && it->second.identity == *now) return it->second.file;
  }
  auto snapshot = ReadIndexSnapshot(path, kMaxIndexFileBytes);
  if (!snapshot) return nullptr;
  auto file = FoldedIndexFile::Build(std::move(snapshot->bytes));
  std::lock_guard lock(mutex_);
  entries_[path] = Entry{snapshot->identity, file};
  return file;
}

void SearchCache::KeepOnly(const std::vector<std::string>& paths) {
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const auto& e) { return std::find(paths.begin(), paths.end(), e.first) == paths.end(); });
}

size_t SearchCache::MemoryBytes() const {
  std::lock_guard lock(mutex_);
  size_t bytes = 0;
  for (const auto& [path, e] : entries_) bytes += e.file->MemoryBytes() + path.capacity();
  return bytes;
}

size_t SearchCache::Files() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

}  // namespace kadrel
