// Arbitrary bytes after a valid header folded for the search, then searched: every
// record's folded text must lie inside the text, decode again, and the search must end.

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>

#include "index/index_format.h"
#include "search/folded_index.h"
#include "search/index_search.h"
#include "search/search_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  std::string image(IndexHeader());
  image.append(reinterpret_cast<const char*>(data), size);
  const auto file = FoldedIndexFile::Build(image);
  const auto& records = file->Records();
  static const std::vector<std::string> words = QueryWords("a あ");
  for (size_t r = 0; r < records.size(); ++r) {
    if (records[r].block >= file->Blocks().size() || records[r].marker >= image.size()) __builtin_trap();
    const std::string_view text = file->RecordText(r);
    if (text.empty() || text.back() != FoldedIndexFile::kRecordEnd) __builtin_trap();
    if (file->Decode(r).FileName.empty()) __builtin_trap();
    MatchRecordText(text, words, kAllSearchFields);
  }
  // The input's first bytes as a query, too.
  const std::string query(reinterpret_cast<const char*>(data), std::min<size_t>(size, 64));
  MatchRecordText(file->Text(), QueryWords(query), kAllSearchFields);
  return 0;
}
