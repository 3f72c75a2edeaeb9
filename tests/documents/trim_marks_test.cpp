#include "base/trim_marks.h"

#include <gtest/gtest.h>

#include "base/encoding.h"

namespace kadrel {
namespace {

struct TrimCase {
  const char* name;
  MarkSet set;
  TrimSide side;
  std::string input;  // CP932
  std::string expected;
};

std::ostream& operator<<(std::ostream& os, const TrimCase& c) { return os << c.name; }

class TrimMarksTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimMarksTest, Trims) {
  const TrimCase& c = GetParam();
  EXPECT_EQ(TrimMarks(c.input, c.set, c.side), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimMarksTest,
    ::testing::Values(
        TrimCase{"LeadingBlanksAndColon", MarkSet::Closers, TrimSide::Leading, Cp932("　 \t：　Song Name　"), "Song Name\x81\x40"},
        TrimCase{"TrailingBlanks", MarkSet::Separators, TrimSide::Trailing, Cp932("Song Name　 \t"), "Song Name"},
        // Enclosing brackets are not closers on the leading side, and not separators on the trailing side.
        TrimCase{"BracketsStay", MarkSet::Closers, TrimSide::Leading, Cp932("：『Song』"), "\x81\x77Song\x81\x78"},
        TrimCase{"BracketsStayTrailing", MarkSet::Separators, TrimSide::Trailing, Cp932("『Song』："), "\x81\x77Song\x81\x78"},
        TrimCase{"OpenersRemoveBrackets", MarkSet::Openers, TrimSide::Leading, Cp932("【『（Song"), "Song"},
        TrimCase{"HalfWidthCornerBrackets", MarkSet::Openers, TrimSide::Leading, std::string("\xa2\xa5Song"), "Song"},
        TrimCase{"HalfWidthCloser", MarkSet::Closers, TrimSide::Trailing, std::string("Song\xa3\xa5"), "Song"},
        TrimCase{"DoubleQuoteIsAMark", MarkSet::Closers, TrimSide::Trailing, "\"Song\"", "\"Song"},
        TrimCase{"SingleByteSeparators", MarkSet::Separators, TrimSide::Trailing, "abc :;|~", "abc"},
        TrimCase{"EverythingRemoved", MarkSet::Closers, TrimSide::Leading, Cp932("：　－＝"), ""},
        TrimCase{"Empty", MarkSet::Closers, TrimSide::Trailing, "", ""},
        // A kana whose trail byte is a lead-range byte is not taken apart: ソ is 0x83 0x5C.
        TrimCase{"TrailByteNotALead", MarkSet::Closers, TrimSide::Trailing, "\x83\x5C", "\x83\x5C"},
        // "ａ" is 0x82 0x81 and "：" is 0x81 0x46: in "ａF" the bytes 0x81 'F' are not a colon.
        TrimCase{"NoMisreadAcrossCharacters", MarkSet::Separators, TrimSide::Trailing, "\x82\x81" "F", "\x82\x81" "F"},
        // 亜 is 0x88 0x9F: the hyphen after it is still a one-byte mark.
        TrimCase{"MarkAfterLeadRangeTrailByte", MarkSet::Closers, TrimSide::Trailing, "\x88\x9F-", "\x88\x9F"},
        // A lead byte cut off at the end stays and stops the trimming.
        TrimCase{"LoneLeadByteAtEnd", MarkSet::Closers, TrimSide::Trailing, std::string("ab\x81"), std::string("ab\x81")},
        TrimCase{"LoneLeadByteOnly", MarkSet::Closers, TrimSide::Leading, std::string("\x81"), std::string("\x81")}));

}  // namespace
}  // namespace kadrel
