#pragma once
// The keywords of the document tables found in one walk over a line. A table's answer
// is the same as searching the line for each of its keywords in turn: the first keyword
// in table order that occurs, at its first occurrence.

#include <array>
#include <cstdint>
#include <string_view>

#include "formats/document/find_keyword.h"
#include "formats/document/keyword_tables.h"

namespace kadrel {

// Which tables a walk looks for.
enum DocumentTableBit : unsigned {
  kTitleTable = 1u << static_cast<unsigned>(KeywordTable::Title),
  kArtistTable = 1u << static_cast<unsigned>(KeywordTable::Artist),
  kComposerTable = 1u << static_cast<unsigned>(KeywordTable::Composer),
  kArrangerTable = 1u << static_cast<unsigned>(KeywordTable::Arranger),
  kLyricistTable = 1u << static_cast<unsigned>(KeywordTable::Lyricist),
  kDataMakerTable = 1u << static_cast<unsigned>(KeywordTable::DataMaker),
};

struct TableMatch {
  KeywordMatch match;
  int position = 0;  // 1-based position of the keyword in its table; 0 = none found
};

class LineKeywords {
 public:
  // Walks `line` once, looking for the keywords of the tables in `tables`
  // (DocumentTableBit), searched with kDocumentKeywordFlags.
  void Scan(std::string_view line, unsigned tables);

  // The table's first keyword found by the last walk (the table must have been asked for).
  TableMatch First(KeywordTable table) const;

 private:
  static constexpr size_t kMaxKeywords = 64;
  uint64_t found_ = 0;
  std::array<KeywordMatch, kMaxKeywords> matches_{};
};

}  // namespace kadrel
