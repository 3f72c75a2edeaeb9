#pragma once
// The search over the index files: every record of every folder block whose texts
// hold all the query's words (search_text.h), within the query's fields, formats and
// folder. Reads the files only (through SearchCache) and never changes them.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "catalog/music_file_info.h"
#include "search/search_cache.h"
#include "search/search_fields.h"

namespace kadrel {

struct SearchHit {
  std::string indexFile;
  std::string folder;           // the folder the record was listed in, ending in "/"
  TMusicFileInfo record;        // as stored (FileExt rebuilt from the format)
  uint32_t matchedFields = 0;   // FieldBit of each field holding a query word
  bool folderExists = true;     // false: the folder is gone since it was indexed
};

struct SearchOutcome {
  size_t hits = 0;
  bool truncated = false;  // stopped at the hit limit
  bool stopped = false;    // stopped by the caller
  std::vector<std::string> unreadable;  // index files that could not be read
};

// Receives the hits in batches, in file and block order, on the searching thread. The
// first hit is handed over at once, later ones at least every few milliseconds.
using HitSink = std::function<void(std::vector<SearchHit>&& hits)>;

struct SearchRun {
  const std::atomic<bool>* stop = nullptr;  // polled between blocks and hits
  size_t maxHits = std::numeric_limits<size_t>::max();
};

// Fields of one record's folded text (FoldedIndexFile::RecordText) that hold the
// words: 0 unless every word is found in one of the `fields`.
uint32_t MatchRecordText(std::string_view recordText, const std::vector<std::string>& words, uint32_t fields);

class IndexSearch {
 public:
  explicit IndexSearch(SearchCache& cache) : cache_(cache) {}
  // A query without words finds nothing.
  SearchOutcome Run(const SearchQuery& query, const std::vector<std::string>& indexFiles, const HitSink& sink,
                    const SearchRun& run = {});

 private:
  SearchCache& cache_;
};

}  // namespace kadrel
