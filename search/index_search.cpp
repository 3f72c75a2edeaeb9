#include "search/index_search.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "base/atomic_file.h"
#include "base/path_helpers.h"
#include "search/search_text.h"

namespace kadrel {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBatchInterval = std::chrono::milliseconds(20);
constexpr size_t kBatchSize = 256;

// Collects hits and hands them to the sink: the first at once, then in batches.
class Batcher {
 public:
  explicit Batcher(const HitSink& sink) : sink_(sink) {}
  void Add(SearchHit&& hit) {
    batch_.push_back(std::move(hit));
    if (!sentAny_ || batch_.size() >= kBatchSize || Clock::now() - lastSent_ >= kBatchInterval) Flush();
  }
  void Flush() {
    if (batch_.empty()) return;
    sentAny_ = true;
    lastSent_ = Clock::now();
    sink_(std::move(batch_));
    batch_.clear();
  }

 private:
  const HitSink& sink_;
  std::vector<SearchHit> batch_;
  bool sentAny_ = false;
  Clock::time_point lastSent_ = Clock::now();
};

bool Stopped(const SearchRun& run) { return run.stop && run.stop->load(std::memory_order_relaxed); }

}  // namespace

uint32_t MatchRecordText(std::string_view recordText, const std::vector<std::string>& words, uint32_t fields) {
  std::string_view field[kSearchFieldCount];
  size_t start = 0;
  for (int f = 0; f < kSearchFieldCount; ++f) {
    size_t end = recordText.find(FoldedIndexFile::kFieldEnd, start);
    if (end == std::string_view::npos) end = recordText.size();
    field[f] = recordText.substr(start, end - start);
    start = std::min(end + 1, recordText.size());
  }
  uint32_t matched = 0;
  for (const std::string& word : words) {
    bool found = false;
    for (int f = 0; f < kSearchFieldCount; ++f) {
      if (!(fields & (1u << f)) || field[f].find(word) == std::string_view::npos) continue;
      matched |= 1u << f;
      found = true;
    }
    if (!found) return 0;
  }
  return matched;
}

SearchOutcome IndexSearch::Run(const SearchQuery& query, const std::vector<std::string>& indexFiles,
                               const HitSink& sink, const SearchRun& run) {
  SearchOutcome outcome;
  std::vector<std::string> words = QueryWords(query.text);
  if (words.empty() || (query.fields & kAllSearchFields) == 0) return outcome;
  // The longest word is looked for first: it is the one least often found.
  std::stable_sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
  const std::string& first = words.front();
  const std::string under = WithTrailingSlash(query.under);
  Batcher batcher(sink);

  for (const std::string& path : indexFiles) {
    if (Stopped(run) || outcome.truncated) break;
    const auto file = cache_.Get(path);
    if (!file) {
      outcome.unreadable.push_back(path);
      continue;
    }
    const std::string& text = file->Text();
    const auto& records = file->Records();
    for (const FoldedIndexFile::Block& block : file->Blocks()) {
      if (Stopped(run) || outcome.truncated) break;
      if (block.firstRecord == block.endRecord || !block.folder.starts_with(under)) continue;
      int folderExists = -1;  // looked up at the block's first hit
      size_t from = records[block.firstRecord].textStart;
      const size_t end = block.endRecord < records.size() ? records[block.endRecord].textStart : text.size();
      while (from < end) {
        const void* found = memmem(text.data() + from, end - from, first.data(), first.size());
        if (!found) break;
        const size_t at = static_cast<size_t>(static_cast<const char*>(found) - text.data());
        const auto it = std::upper_bound(records.begin() + block.firstRecord, records.begin() + block.endRecord, at,
                                         [](size_t pos, const FoldedIndexFile::Record& r) { return pos < r.textStart; });
        const size_t r = static_cast<size_t>(it - records.begin()) - 1;
        const std::string_view recordText = file->RecordText(r);
        from = records[r].textStart + recordText.size();
        const int32_t row = records[r].formatRow;
        if (query.formats != 0 && (row < 0 || row >= 32 || !(query.formats >> row & 1))) continue;
        const uint32_t matched = MatchRecordText(recordText, words, query.fields);
        if (matched == 0) continue;
        if (folderExists < 0) folderExists = FolderExists(block.folder) ? 1 : 0;
        batcher.Add(SearchHit{path, block.folder, file->Decode(r), matched, folderExists == 1});
        if (++outcome.hits >= run.maxHits) {
          outcome.truncated = true;
          break;
        }
        if (Stopped(run)) break;
      }
    }
  }
  outcome.stopped = Stopped(run);
  batcher.Flush();
  return outcome;
}

}  // namespace kadrel
