// Member-name rules shared by listing, presence checks, extraction and renaming.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "archive/lzh_names.h"

namespace kadrel {
namespace {

struct MatchCase {
  const char* pattern;  // UTF-8, converted to CP932
  const char* member;
  bool matches;
};

class WildcardTable : public ::testing::TestWithParam<MatchCase> {};

TEST_P(WildcardTable, MatchesBaseNamesWithoutCaseAndNeverFoldsTrailBytes) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(MemberMatchesPattern(Cp932(c.pattern), Cp932(c.member)), c.matches) << c.pattern << " vs " << c.member;
}

INSTANTIATE_TEST_SUITE_P(
    Names, WildcardTable,
    ::testing::Values(MatchCase{"*.*", "README", true}, MatchCase{"*.*", "doc/readme.txt", true},
                      MatchCase{"*.mid", "SONG.MID", true}, MatchCase{"*.MID", "song.mid", true},
                      MatchCase{"*.TXT", "doc/readme.txt", true},  // folder ignored
                      MatchCase{"*.MID", "MID.RCP", false}, MatchCase{"?.MID", "ア.MID", true},
                      MatchCase{"??.MID", "ア.MID", false},
                      // ア is 83 41 and チ is 83 60: the trail byte must not be case-folded
                      MatchCase{"アイ.MID", "チツ.MID", false}, MatchCase{"アイ.mid", "アイ.MID", true},
                      // 表 ends in 0x5C: not a folder separator
                      MatchCase{"表紙.MID", "表紙.MID", true}, MatchCase{"紙.MID", "表紙.MID", false},
                      MatchCase{"*紙.MID", "表紙.MID", true}, MatchCase{"doc/readme.txt", "DOC/README.TXT", true},
                      MatchCase{"doc\\readme.txt", "doc/readme.txt", true},
                      MatchCase{"readme.txt", "other/readme.txt", true},
                      MatchCase{"x/readme.txt", "other/readme.txt", false}, MatchCase{"a*b*c", "aXbYbZc", true},
                      MatchCase{"a*b*c", "aXbYbZ", false}));

TEST(LzhNames, BaseNameAndSplitting) {
  EXPECT_EQ(LzhBaseName("doc/readme.txt"), "readme.txt");
  EXPECT_EQ(LzhBaseName("readme.txt"), "readme.txt");
  EXPECT_EQ(LzhBaseName(Cp932("表/ソ")), Cp932("ソ"));
  EXPECT_EQ(NormalizeMemberSeparators(Cp932("表\\ソ.MID")), Cp932("表/ソ.MID"));
  EXPECT_FALSE(MemberNamesEqual(Cp932("アイ.MID"), Cp932("チツ.MID")));
  EXPECT_TRUE(MemberNamesEqual(Cp932("Ａa.mid"), Cp932("Ａa.MID")));
}

TEST(LzhNames, WildcardTextSplitsAtBlanksAndKeepsQuotedBlanks) {
  EXPECT_EQ(SplitWildcardText("*.TXT *.DOC "), (std::vector<std::string>{"*.TXT", "*.DOC"}));
  EXPECT_EQ(SplitWildcardText("\"my song.mid\" *.RCP"), (std::vector<std::string>{"my song.mid", "*.RCP"}));
  EXPECT_TRUE(SplitWildcardText("   ").empty());
}

TEST(LzhNames, ExtractedFileNameIsUtf8AndRefusesUnsafeNames) {
  EXPECT_EQ(ExtractedFileName(Cp932("表紙.MID")), "表紙.MID");
  EXPECT_EQ(ExtractedFileName(Cp932("ｿﾝｸﾞ.mid")), "ｿﾝｸﾞ.mid");
  EXPECT_EQ(ExtractedFileName("A\x1B[1mB\n.TXT"), "A%1B[1mB%0A.TXT");
  EXPECT_EQ(ExtractedFileName("\x85\x20.MID"), "%85 .MID");  // no character: escaped byte by byte
  EXPECT_EQ(ExtractedFileName("\xFF.MID"), "%FF.MID");
  for (std::string bad : {"", ".", "..", "a/b"}) EXPECT_EQ(ExtractedFileName(bad), "") << bad;
  // 100 katakana are 200 CP932 bytes but 300 UTF-8 bytes: too long for a file name.
  std::string longName;
  for (int i = 0; i < 100; ++i) longName += Cp932("ア");
  EXPECT_EQ(ExtractedFileName(longName), "");
  EXPECT_EQ(ExtractedFileName(longName.substr(0, 160)).size(), 240u);
}

}  // namespace
}  // namespace kadrel
