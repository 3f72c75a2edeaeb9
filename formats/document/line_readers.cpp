#include "formats/document/line_readers.h"

#include <algorithm>
#include <vector>

#include "formats/document/keyword_tables.h"
#include "base/trim_marks.h"
#include "base/encoding.h"

namespace kadrel {
namespace {

// Labels closer than this (in bytes) name one shared value (作詞・作曲：).
constexpr int kSharedLabelGap = 5;

// True when the text between two labels joins them into one shared label: short, and
// without a value separator (in 作曲：A　作詞：B the text "：A　" holds the first value).
bool JoinsLabels(std::string_view line, int from, int to) {
  if (to - from > kSharedLabelGap) return false;
  if (to <= from) return true;
  std::string_view gap = line.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
  for (size_t i = 0; i < gap.size();) {
    const unsigned char c = static_cast<unsigned char>(gap[i]);
    if (IsSjisLeadByte(c) && i + 1 < gap.size()) {
      const unsigned char d = static_cast<unsigned char>(gap[i + 1]);
      if (c == 0x81 && (d == 0x46 || d == 0x81)) return false;  // ：＝
      i += 2;
    } else {
      if (c == ':' || c == '=') return false;
      ++i;
    }
  }
  return true;
}

// Where a label begins when it cuts off the value in front of it. Some arranger
// keywords are the tail of a word (アレンジ, 打ち込み); the head stays out of the value.
int LabelStart(std::string_view line, const TableMatch& m, bool arranger) {
  int start = m.match.start;
  if (!arranger || start == 0) return start;
  static const std::string kKatakanaA = Cp932("ア");
  static const std::string kUtsu = Cp932("打");
  const std::string& keyword = Keywords(KeywordTable::Arranger)[static_cast<size_t>(m.position - 1)];
  const std::string_view before = line.substr(0, static_cast<size_t>(start));
  auto endsWithChar = [&](const std::string& ch) {
    // The character must start on a character boundary: check from the line's start.
    if (before.size() < ch.size() || before.substr(before.size() - ch.size()) != ch) return false;
    size_t i = 0;
    while (i < before.size() - ch.size()) i += (IsSjisLeadByte(static_cast<unsigned char>(before[i])) ? 2 : 1);
    return i == before.size() - ch.size();
  };
  if (keyword == Cp932("レンジ") && endsWithChar(kKatakanaA)) return start - 2;
  if (keyword == Cp932("ﾚﾝｼﾞ") && endsWithChar(std::string("\xb1"))) return start - 1;
  if (keyword == Cp932("ち込み") && endsWithChar(kUtsu)) return start - 2;
  return start;
}

struct Label {
  const TableMatch* match;
  bool arranger;
  bool sharesWithLyricist;  // may form a shared label with a lyricist keyword in front
};

// The value of the role labelled by `own`: from the end of its label (extended over
// labels joined to it) to the start of the next label, or to the end of the line.
std::string RoleValue(std::string_view line, const TableMatch& own, const std::vector<Label>& others,
                      bool ownIsLyricist) {
  std::vector<Label> after;
  for (const Label& l : others)
    if (l.match->match.found && l.match->match.start > own.match.start) after.push_back(l);
  std::sort(after.begin(), after.end(),
            [](const Label& a, const Label& b) { return a.match->match.start < b.match->match.start; });
  int from = own.match.end();
  int to = static_cast<int>(line.size());
  for (const Label& l : after) {
    const bool mayShare = ownIsLyricist ? l.sharesWithLyricist : true;
    if (mayShare && JoinsLabels(line, from, l.match->match.start)) {
      from = std::max(from, l.match->match.end());
      continue;
    }
    to = std::max(from, LabelStart(line, *l.match, l.arranger));
    break;
  }
  if (from >= to) return {};
  return TrimDocumentValue(line.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

}  // namespace

std::string TrimDocumentValue(std::string_view value) {
  std::string leading = TrimMarks(value, MarkSet::Closers, TrimSide::Leading);
  return TrimMarks(leading, MarkSet::Separators, TrimSide::Trailing);
}

std::optional<std::string> ValueAfterKeyword(const TableMatch& m, std::string_view line) {
  if (!m.match.found) return std::nullopt;
  return TrimDocumentValue(line.substr(static_cast<size_t>(m.match.end())));
}

std::optional<std::string> ReadTitleLine(std::string_view line) {
  LineKeywords keywords;
  keywords.Scan(line, kTitleTable);
  return ValueAfterKeyword(keywords.First(KeywordTable::Title), line);
}

std::optional<std::string> ReadArtistLine(std::string_view line) {
  LineKeywords keywords;
  keywords.Scan(line, kArtistTable);
  return ValueAfterKeyword(keywords.First(KeywordTable::Artist), line);
}

std::optional<std::string> ReadDataMakerLine(std::string_view line) {
  LineKeywords keywords;
  keywords.Scan(line, kDataMakerTable);
  return ValueAfterKeyword(keywords.First(KeywordTable::DataMaker), line);
}

ComposerLyricistLine ReadComposerLyricistLine(std::string_view line) {
  LineKeywords keywords;
  keywords.Scan(line, kComposerLyricistTables);
  return ReadComposerLyricistLine(line, keywords);
}

ComposerLyricistLine ReadComposerLyricistLine(std::string_view line, const LineKeywords& keywords) {
  ComposerLyricistLine out;
  const TableMatch c = keywords.First(KeywordTable::Composer);
  const TableMatch l = keywords.First(KeywordTable::Lyricist);
  if (!c.match.found && !l.match.found) return out;
  const TableMatch a = keywords.First(KeywordTable::Arranger);
  out.counts = true;
  // Arranger labels 編曲?名, 編曲者 and 編曲 may share a value with a lyricist label.
  const bool arrangerSharesWithLyricist = a.position >= 1 && a.position <= 3;
  if (c.match.found)
    out.composer = RoleValue(line, c, {{&a, true, true}, {&l, false, true}}, false);
  if (l.match.found)
    out.lyricist = RoleValue(line, l, {{&c, false, true}, {&a, true, arrangerSharesWithLyricist}}, true);
  return out;
}

}  // namespace kadrel
