#include "formats/document/find_keyword.h"

#include <gtest/gtest.h>

#include "base/encoding.h"

namespace kadrel {
namespace {

struct KeywordCase {
  const char* name;
  std::string keyword;  // CP932
  std::string text;     // CP932
  unsigned flags;
  bool found;
  int start;
  int length;
};

std::ostream& operator<<(std::ostream& os, const KeywordCase& c) { return os << c.name; }

class FindKeywordTest : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(FindKeywordTest, Matches) {
  const KeywordCase& c = GetParam();
  KeywordMatch m = FindKeyword(c.keyword, c.text, c.flags);
  EXPECT_EQ(m.found, c.found);
  if (c.found) {
    EXPECT_EQ(m.start, c.start);
    EXPECT_EQ(m.length, c.length);
  }
}

const unsigned kDoc = kDocumentKeywordFlags;

INSTANTIATE_TEST_SUITE_P(
    Cases, FindKeywordTest,
    ::testing::Values(
        KeywordCase{"LowerTextUpperKeyword", "ITLE", "title: x", kDoc, true, 1, 4},
        KeywordCase{"KeywordUpperCased", "rtist", "ARTIST", kDoc, true, 1, 5},
        KeywordCase{"ExactCaseRefuses", "rtist", "ARTIST", kKeywordExactCase, false, 0, 0},
        KeywordCase{"FullWidthSmallText", Cp932("ＩＴＬＥ"), Cp932("ｔｉｔｌｅ："), kDoc, true, 2, 8},
        KeywordCase{"FullWidthSmallKeywordNeverMatches", Cp932("ｉｔｌｅ"), Cp932("ｔｉｔｌｅ"), kDoc, false, 0, 0},
        // A trail byte that looks like a letter is not upper-cased: ド (0x83 0x68) is not 0x83 'H'.
        KeywordCase{"TrailByteIsNotALetter", std::string("\x83H"), Cp932("ド"), kDoc, false, 0, 0},
        KeywordCase{"BlanksInsideMatch", Cp932("イトル"), Cp932("タ イ\tト　ル"), kDoc, true, 3, 9},
        KeywordCase{"BlankNotSkippedBeforeFirstChar", "AB", " AB", kDoc, true, 1, 2},
        KeywordCase{"BlanksNeedFlag", "AB", "A B", kKeywordWildcard, false, 0, 0},
        KeywordCase{"LineBreaksNeedFlag2", "AB", "A\r\nB", kDoc, false, 0, 0},
        KeywordCase{"LineBreaksSkipped", "AB", "A\r\nB", kKeywordSkipLineBreaks, true, 0, 4},
        KeywordCase{"BlankInsideKeywordMatch", Cp932("作曲者"), Cp932("作曲 者"), kDoc, true, 0, 7},
        KeywordCase{"WildcardTakesDoubleByte", Cp932("作曲?名"), Cp932("作曲者名：X"), kDoc, true, 0, 8},
        KeywordCase{"WildcardTakesSingleByte", Cp932("作曲?名"), Cp932("作曲X名"), kDoc, true, 0, 7},
        KeywordCase{"WildcardNeedsFlag", Cp932("作曲?名"), Cp932("作曲者名"), kKeywordSkipBlanks, false, 0, 0},
        KeywordCase{"LeadingQuestionMarkIsPlain", Cp932("?作環境"), Cp932("動作環境"), kDoc, false, 0, 0},
        KeywordCase{"LeadingQuestionMarkMatchesItself", Cp932("?作環境"), Cp932("x?作環境"), kDoc, true, 1, 7},
        KeywordCase{"QuestionMarkInTextMatchesFirst", "A?B", "A?B", kDoc, true, 0, 3},
        // "ア" is 0x83 0x41 and "イ" 0x83 0x43: the search must not start on the trail byte 0x41.
        KeywordCase{"NoStartOnTrailByte", std::string("A\x83"), Cp932("ア") + "\x83" + "C", kDoc, false, 0, 0},
        KeywordCase{"StartsAfterDoubleByte", "A", Cp932("ア") + "A", kDoc, true, 2, 1},
        KeywordCase{"TextEndsInsideMatch", "ABC", "xxAB", kDoc, false, 0, 0},
        KeywordCase{"LoneLeadByteAtEnd", std::string("\x83"), std::string("ab\x83"), kDoc, true, 2, 1},
        KeywordCase{"KeywordWithCutLeadByte", std::string("A\x83"), std::string("A\x83\x41"), kDoc, false, 0, 0},
        KeywordCase{"EmbeddedNulIsAByte", "AB", std::string("x\0AB", 4), kDoc, true, 2, 2},
        KeywordCase{"EmptyKeyword", "", "abc", kDoc, false, 0, 0}));

}  // namespace
}  // namespace kadrel
