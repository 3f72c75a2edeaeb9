// The one-walk keyword search against the search it replaced: each table's keywords
// looked for one after the other with FindKeyword. Lines come from the sample
// documents and from a generator that mixes keywords, their pieces, letter-case forms,
// blanks inside them, cut-off double-byte characters and stray bytes.

#include "formats/document/line_keywords.h"

#include <gtest/gtest.h>

#include <random>

#include "formats/document/document_readers.h"
#include "formats/document/load_document.h"
#include "base/encoding.h"

namespace kadrel {
namespace {

constexpr KeywordTable kTables[] = {KeywordTable::Title,    KeywordTable::Artist,   KeywordTable::Composer,
                                    KeywordTable::Arranger, KeywordTable::Lyricist, KeywordTable::DataMaker};

TableMatch OneKeywordAtATime(KeywordTable table, std::string_view line) {
  const std::vector<std::string>& keywords = Keywords(table);
  for (size_t i = 0; i < keywords.size(); ++i) {
    const KeywordMatch m = FindKeyword(keywords[i], line, kDocumentKeywordFlags);
    if (m.found) return {m, static_cast<int>(i) + 1};
  }
  return {};
}

std::string Hex(std::string_view line) {
  std::string out;
  for (unsigned char c : line) out += "0123456789ABCDEF"[c >> 4], out += "0123456789ABCDEF"[c & 15], out += ' ';
  return out;
}

void ExpectSameMatches(std::string_view line) {
  LineKeywords walked;
  walked.Scan(line, ~0u);
  LineKeywords single;
  for (KeywordTable table : kTables) {
    const TableMatch expected = OneKeywordAtATime(table, line);
    const TableMatch got = walked.First(table);
    ASSERT_EQ(got.position, expected.position) << "table " << static_cast<int>(table) << ": " << Hex(line);
    ASSERT_EQ(got.match.found, expected.match.found);
    ASSERT_EQ(got.match.start, expected.match.start) << Hex(line);
    ASSERT_EQ(got.match.length, expected.match.length) << Hex(line);
    // Asking for one table alone gives the same.
    single.Scan(line, 1u << static_cast<unsigned>(table));
    ASSERT_EQ(single.First(table).position, expected.position) << Hex(line);
  }
}

// Pieces a generated line is made of.
std::vector<std::string> Pieces() {
  std::vector<std::string> pieces;
  for (KeywordTable table : kTables) {
    for (const std::string& k : Keywords(table)) {
      pieces.push_back(k);
      pieces.push_back(k.substr(0, k.size() - 1));  // cut inside the last character
      pieces.push_back(k.substr(0, 2));
      pieces.push_back(k.substr(2));  // a trail byte first: off the character grid
    }
  }
  for (const char* utf8 : {"ｔｉｔｌｅ", "ＴＩＴＬＥ", "ｔｉＴｌｅ", "タ　イトル", "曲　名", "作 曲", "アーティスト",
                           "作詞・作曲", "作・編曲", "データ制作", "打ち込み", "ｱﾚﾝｼﾞ", "：", "＝", "『", "』", "　"})
    pieces.push_back(Cp932(utf8));
  for (const char* ascii : {"TITLE", "title", "TiTlE", "Artist", "ARTIST", "?", ":", "=", " ", "\t", "a", "Z"})
    pieces.push_back(ascii);
  // Bytes that are lead bytes, trail bytes of small full-width letters, half-width kana.
  for (int b : {0x81, 0x82, 0x83, 0x89, 0x8D, 0x93, 0x40, 0x60, 0x79, 0x81, 0x9A, 0xB1, 0xA0, 0xE0, 0xFC, 0x00, 0x7F})
    pieces.emplace_back(1, static_cast<char>(b));
  return pieces;
}

TEST(LineKeywordsTest, SameAsOneKeywordAtATimeOverTheSampleDocuments) {
  for (const char* name : {"SONG1.TXT", "SONG2.DOC", "PLACEHOLDER.TXT"}) {
    DocumentText text;
    ASSERT_TRUE(text.Load(std::string(KADREL_SAMPLES_DIR) + "/" + name, 1000)) << name;
    ASSERT_FALSE(text.Lines().empty());
    for (std::string_view line : text.Lines()) ExpectSameMatches(line);
  }
}

TEST(LineKeywordsTest, SameAsOneKeywordAtATimeOverGeneratedLines) {
  const std::vector<std::string> pieces = Pieces();
  std::mt19937 rng(20240611);
  for (int n = 0; n < 20000; ++n) {
    std::string line;
    const int count = static_cast<int>(rng() % 8);
    for (int i = 0; i < count; ++i) {
      if (rng() % 6 == 0)
        line += static_cast<char>(rng() % 256);
      else
        line += pieces[rng() % pieces.size()];
    }
    ExpectSameMatches(line);
    if (HasFatalFailure()) return;
  }
}

// All fields in one walk give what the readers give one after the other, also when
// some fields are settled early and the walk goes on for the others.
TEST(LineKeywordsTest, AllFieldsInOneWalkAsTheReadersOneByOne) {
  const std::vector<std::string> pieces = Pieces();
  std::mt19937 rng(7);
  SilentMessageBox messages;
  for (int n = 0; n < 3000; ++n) {
    std::vector<std::string> lines;
    const int count = static_cast<int>(rng() % 6);
    for (int i = 0; i < count; ++i) {
      std::string line;
      for (int k = static_cast<int>(rng() % 5); k > 0; --k) line += pieces[rng() % pieces.size()];
      lines.push_back(line);
    }
    TMusicFileInfo one;
    one.Composer = n % 3 == 0 ? "kept" : "";
    TMusicFileInfo all = one;
    ReadTitleFromDocument(lines, one, messages);
    ReadArtistFromDocument(lines, one, messages);
    ReadComposerLyricistFromDocument(lines, one, messages);
    ReadDataMakerFromDocument(lines, one, messages);
    ReadDocumentFields({lines.begin(), lines.end()},
                       kDocumentTitle | kDocumentArtist | kDocumentComposerLyricist | kDocumentDataMaker, all, messages);
    ASSERT_EQ(all.Title, one.Title);
    ASSERT_EQ(all.InfoState, one.InfoState);
    ASSERT_EQ(all.Artist, one.Artist);
    ASSERT_EQ(all.Composer, one.Composer);
    ASSERT_EQ(all.SongWriter, one.SongWriter);
    ASSERT_EQ(all.DataMaker, one.DataMaker);
  }
}

}  // namespace
}  // namespace kadrel
