// Member-name rules shared by listing, presence checks, extraction and renaming.

#include <gtest/gtest.h>

#include "archive/lzh_names.h"
#include "base/encoding.h"

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
                      // ア イ are 83 41, 83 43 and ヂ ツ 83 61, 83 63: trail bytes are not case-folded
                      MatchCase{"アイ.MID", "ヂツ.MID", false}, MatchCase{"アイ.mid", "アイ.MID", true},
                      // 表 ends in 0x5C: not a folder separator
                      MatchCase{"表紙.MID", "表紙.MID", true}, MatchCase{"紙.MID", "表紙.MID", false},
                      MatchCase{"*紙.MID", "表紙.MID", true}, MatchCase{"doc/readme.txt", "DOC/README.TXT", true},
                      MatchCase{"doc\\readme.txt", "doc/readme.txt", true},
                      MatchCase{"readme.txt", "other/readme.txt", true},
                      MatchCase{"x/readme.txt", "other/readme.txt", false}, MatchCase{"a*b*c", "aXbYbZc", true},
                      MatchCase{"a*b*c", "aXbYbZ", false}));

TEST(LzhNames, BaseNameSeparatorsAndEquality) {
  EXPECT_EQ(LzhBaseName("doc/readme.txt"), "readme.txt");
  // 表 (95 5C) and ソ (83 5C) end in the byte of "\".
  EXPECT_EQ(LzhBaseName("\x95\x5C/\x83\x5C"), "\x83\x5C");
  EXPECT_EQ(NormalizeMemberSeparators("\x95\x5C\\\x83\x5C.MID"), "\x95\x5C/\x83\x5C.MID");
  EXPECT_FALSE(MemberNamesEqual("\x83\x41\x83\x43.MID", "\x83\x61\x83\x63.MID"));  // アイ, ヂツ
  EXPECT_TRUE(MemberNamesEqual("\x82\x60" "a.mid", "\x82\x60" "a.MID"));            // Ａa
}

TEST(LzhNames, WildcardTextSplitsAtBlanksAndKeepsQuotedBlanks) {
  EXPECT_EQ(SplitWildcardText("*.TXT *.DOC "), (std::vector<std::string>{"*.TXT", "*.DOC"}));
  EXPECT_EQ(SplitWildcardText("\"my song.mid\" *.RCP"), (std::vector<std::string>{"my song.mid", "*.RCP"}));
  EXPECT_TRUE(SplitWildcardText("   ").empty());
}

TEST(LzhNames, ExtractedFileNameIsUtf8AndRefusesUnsafeNames) {
  EXPECT_EQ(ExtractedFileName("\x95\x5C\x8E\x86.MID"), "表紙.MID");
  EXPECT_EQ(ExtractedFileName("\xBF\xDD\xB8\xDE.mid"), "ｿﾝｸﾞ.mid");
  EXPECT_EQ(ExtractedFileName("A\x1B[1mB\n.TXT"), "A%1B[1mB%0A.TXT");
  EXPECT_EQ(ExtractedFileName("\x85\x20.MID"), "%85 .MID");  // no character: escaped byte by byte
  EXPECT_EQ(ExtractedFileName("\xFF.MID"), "%FF.MID");
  for (std::string bad : {"", ".", "..", "a/b"}) EXPECT_EQ(ExtractedFileName(bad), "") << bad;
  // 100 katakana are 200 CP932 bytes but 300 UTF-8 bytes: too long for a file name.
  std::string longName;
  for (int i = 0; i < 100; ++i) longName += "\x83\x41";
  EXPECT_EQ(ExtractedFileName(longName), "");
  EXPECT_EQ(ExtractedFileName(longName.substr(0, 160)).size(), 240u);
}

}  // namespace
}  // namespace kadrel
