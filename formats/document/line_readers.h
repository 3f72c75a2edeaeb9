#pragma once
// Readers of one document line: the value that follows a keyword such as 曲名 or
// 作曲者. Lines are Shift-JIS bytes without line breaks. Values are trimmed of the
// separators and blanks around them; enclosing brackets stay.

#include <optional>
#include <string>
#include <string_view>

#include "formats/document/line_keywords.h"

namespace kadrel {

// The value after the first title / artist / data-maker keyword found in the line
// (possibly empty), or nullopt when the line has none of them.
std::optional<std::string> ReadTitleLine(std::string_view line);
std::optional<std::string> ReadArtistLine(std::string_view line);
std::optional<std::string> ReadDataMakerLine(std::string_view line);

struct ComposerLyricistLine {
  bool counts = false;     // a composer or a lyricist keyword was found
  std::string composer;    // empty when none
  std::string lyricist;
};

// Composer and lyricist from one line. A shared label (作詞・作曲：name, 作曲・編曲：name)
// gives the name to each role it names; a value ends where the label of another role
// begins (作曲：A　作詞：B gives A and B).
ComposerLyricistLine ReadComposerLyricistLine(std::string_view line);

// The tables the composer and lyricist reader needs (the arranger only ends values).
inline constexpr unsigned kComposerLyricistTables = kComposerTable | kLyricistTable | kArrangerTable;

// The same readers over a line already walked for their tables (LineKeywords::Scan):
// the value after the table's first keyword, and composer and lyricist.
std::optional<std::string> ValueAfterKeyword(const TableMatch& m, std::string_view line);
ComposerLyricistLine ReadComposerLyricistLine(std::string_view line, const LineKeywords& keywords);

// Trimming applied to every value: separators and blanks in front, separators and
// blanks at the end.
std::string TrimDocumentValue(std::string_view value);

}  // namespace kadrel
