// What compares equal for the search: the query and the record texts folded alike.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "search/folded_index.h"
#include "search/index_search.h"
#include "search/search_text.h"

namespace kadrel {
namespace {

// The folded record text of one record whose Title holds `titleBytes`.
std::string TitleText(std::string_view titleBytes) {
  std::string text;
  for (int f = 0; f < kSearchFieldCount; ++f) {
    if (f == static_cast<int>(SearchField::Title)) text += FoldRecordText(titleBytes);
    text += FoldedIndexFile::kFieldEnd;
  }
  return text;
}

bool TitleMatches(std::string_view titleBytes, std::string_view query) {
  return MatchRecordText(TitleText(titleBytes), QueryWords(query), kAllSearchFields) != 0;
}

TEST(SearchText, FormsAJapaneseUserCallsTheSameCompareEqual) {
  struct Case {
    const char* what;
    std::string title;  // record bytes (CP932 unless stated)
    const char* query;  // UTF-8
    bool matches;
  } cases[] = {
      {"ASCII case", "Dragon Quest", "dragon QUEST", true},
      {"full-width letters in the record", Cp932("ＡＢＣのテーマ"), "abc", true},
      {"full-width letters in the query", "ABC Theme", "ＡＢＣ", true},
      {"full-width digits", Cp932("ステージ１"), "ステージ1", true},
      {"half-width kana with voiced mark", Cp932("ｶﾞﾝﾀﾞﾑ"), "ガンダム", true},
      {"half-width kana against hiragana", Cp932("ｶﾞﾝﾀﾞﾑ"), "がんだむ", true},
      {"katakana record, hiragana query", Cp932("ファイナル"), "ふぁいなる", true},
      {"hiragana record, katakana query", Cp932("さくら"), "サクラ", true},
      {"NFKC: circled digit and roman numeral", Cp932("①Ⅱ"), "1ii", true},
      {"NFKC: the unit sign ㌔", Cp932("㌔"), "キロ", true},
      {"full-width space separates words", Cp932("春の海"), "春　海", true},
      {"UTF-8 file name bytes", "夏の日", "なつ", false},
      {"UTF-8 kanji", "夏の日", "夏 日", true},
      {"a word that is not there", "Dragon Quest", "dragon warrior", false},
      {"several words, in any order", "Dragon Quest III", "iii dragon", true},
      {"voiced and plain kana differ", Cp932("カタ"), "ガタ", false},
  };
  for (const Case& c : cases) EXPECT_EQ(TitleMatches(c.title, c.query), c.matches) << c.what;
}

// Bytes that do not decode as CP932 show as U+FFFD: they never match, they do not
// hide the readable rest, and a query holding U+FFFD does not match them.
TEST(SearchText, UndecodableShiftJisBytesMatchNothingButHideNothing) {
  const std::string title = "\x82" "\xFF" "Song" "\x81";  // a lead byte with a bad trail, a lone lead at the end
  EXPECT_TRUE(TitleMatches(title, "song"));
  EXPECT_FALSE(TitleMatches(title, "\xEF\xBF\xBD"));
  EXPECT_TRUE(QueryWords("\xEF\xBF\xBD").empty());
  EXPECT_TRUE(QueryWords("  \t ").empty());
  // Malformed UTF-8 in the query is folded, not trusted.
  EXPECT_EQ(QueryWords("ab\xC3"), std::vector<std::string>{"ab"});
}

TEST(SearchText, ControlCharactersNeverReachTheFoldedText) {
  const std::string folded = FoldRecordText("a\x1F" "b\x1E" "c\n");
  EXPECT_EQ(folded.find(FoldedIndexFile::kFieldEnd), std::string::npos);
  EXPECT_EQ(folded.find(FoldedIndexFile::kRecordEnd), std::string::npos);
}

TEST(SearchText, FieldsLimitWhereAWordMayBeFoundAndTellWhereItWas) {
  std::string text;
  for (const char* f : {"haru", "spring song", "", "", "haru", "", "maker"}) {
    text += f;
    text += FoldedIndexFile::kFieldEnd;
  }
  const auto words = QueryWords("HARU");
  EXPECT_EQ(MatchRecordText(text, words, kAllSearchFields),
            FieldBit(SearchField::FileName) | FieldBit(SearchField::Composer));
  EXPECT_EQ(MatchRecordText(text, words, FieldBit(SearchField::Title)), 0u);
  // Two words found in different fields make a match.
  EXPECT_EQ(MatchRecordText(text, QueryWords("song maker"), kAllSearchFields),
            FieldBit(SearchField::Title) | FieldBit(SearchField::DataMaker));
}

}  // namespace
}  // namespace kadrel
