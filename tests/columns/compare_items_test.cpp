#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/trim_marks.h"
#include "sorting/collation_key.h"
#include "sorting/compare_items.h"
#include "sorting/sort_list.h"

namespace kadrel {
namespace {

using List = std::vector<std::unique_ptr<TMusicFileInfo>>;

TMusicFileInfo Entry(int kind, std::string name, std::string title = {}, uint16_t date = 0, int32_t size = 0) {
  TMusicFileInfo r;
  r.ItemKind = kind;
  r.FileName = std::move(name);
  r.Title = std::move(title);
  r.FileType = kind >= kLooseFile ? 1 : -1;
  r.DosDate = date;
  r.Size = size;
  return r;
}

std::vector<std::string> Names(const List& list) {
  std::vector<std::string> names;
  for (const auto& r : list) names.push_back(r->FileName);
  return names;
}

TEST(CompareItems, KindComesFirstInBothDirectionsAndEqualKeysFollowTheName) {
  List list;
  for (const auto& e : {Entry(kArchiveMember, "b2", "Beta"), Entry(kFolderEntry, "zfolder"), Entry(kLooseFile, "a1", "Alpha"),
                        Entry(kLooseFile, "b1", "Beta"), Entry(kParentEntry, ".."), Entry(kFolderEntry, "afolder"),
                        Entry(kLooseFile, "c1", "Gamma")})
    list.push_back(std::make_unique<TMusicFileInfo>(e));
  ASSERT_TRUE(SortList(list, TSortState{kColTitle, kDescending}, true));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"..", "afolder", "zfolder", "c1", "b1", "b2", "a1"}));
  ASSERT_TRUE(SortList(list, TSortState{kColTitle, kAscending}, true));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"..", "afolder", "zfolder", "a1", "b1", "b2", "c1"}));
}

TEST(CompareItems, PairsBySignOfTheResult) {
  const TMusicFileInfo loose = Entry(kLooseFile, "zzz"), member = Entry(kArchiveMember, "aaa");
  // 「Love」 sorts as Love」, between K and M, where leading marks are ignored.
  const TMusicFileInfo love = Entry(kLooseFile, Cp932("「b」"), Cp932("「Love」")), utf8Love = Entry(kLooseFile, "u", "「Love」");
  const TMusicFileInfo k = Entry(kLooseFile, "k", "K"), m = Entry(kLooseFile, "m", "M");
  // The date outweighs any time; equal dates fall back to the name, ascending either way.
  TMusicFileInfo early = Entry(kLooseFile, "b", "", 0x2000), late = Entry(kLooseFile, "a", "", 0x2001);
  const TMusicFileInfo sameDate = Entry(kLooseFile, "c", "", 0x2001), folder = Entry(kFolderEntry, "z");
  const TMusicFileInfo big = Entry(kLooseFile, "x", "", 0, 2'000'000'000), small = Entry(kLooseFile, "y", "", 0, -2'000'000'000);
  early.DosTime = 0xFFFF;
  struct Case {
    const char* what;
    const TMusicFileInfo &a, &b;
    TSortState state;
    bool option;
    int sign;
  } cases[] = {
      {"no key: the kind only", loose, member, {}, true, 0},
      {"a damaged key is no key", loose, member, {42, kAscending}, true, 0},
      {"folders before files", folder, loose, {}, true, -1},
      {"no direction sorts ascending", loose, member, {kColFileName, kNoDirection}, true, 1},
      {"marks ignored: after K", love, k, {kColTitle, kAscending}, true, 1},
      {"marks ignored: before M", love, m, {kColTitle, kAscending}, true, -1},
      {"marks compared with the option off", love, k, {kColTitle, kAscending}, false, -1},
      {"the file name keeps its marks", love, k, {kColFileName, kAscending}, true, -1},
      {"UTF-8 marks ignored: after K", utf8Love, k, {kColTitle, kAscending}, true, 1},
      {"UTF-8 marks ignored: before M", utf8Love, m, {kColTitle, kAscending}, true, -1},
      {"date ascending", early, late, {kColDate, kAscending}, true, -1},
      {"date descending", early, late, {kColDate, kDescending}, true, 1},
      {"equal dates by name", late, sameDate, {kColDate, kAscending}, true, -1},
      {"equal dates by name, descending", late, sameDate, {kColDate, kDescending}, true, -1},
      {"sizes without overflow", big, small, {kColSize, kAscending}, true, 1},
  };
  for (const Case& c : cases) {
    const int result = CompareItems(c.a, c.b, c.state, c.option);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.what;
  }
}

// Titles as a Japanese reader orders them: Latin (full- and half-width together), kana
// in gojūon order with voiced kana beside their plain forms, hiragana and katakana and
// half-width katakana interleaved, kanji last. Byte order of the CP932 texts differs.
TEST(CollationKey, JapaneseTitlesComeOutInDictionaryOrder) {
  const std::vector<std::string> expected = {
      "apple", "ＢＡＮＡＮＡ", "cherry", "あめ", "いか", "がいこつ", "かさ", "カタナ", "ｷﾂﾈ", "さくら", "ソラ", "漢字",
  };
  List list;
  for (auto it = expected.rbegin(); it != expected.rend(); ++it)
    list.push_back(std::make_unique<TMusicFileInfo>(Entry(kLooseFile, "n" + std::to_string(list.size()), Cp932(*it))));
  std::reverse(list.begin() + 3, list.end());  // some disorder
  ASSERT_TRUE(SortList(list, TSortState{kColTitle, kAscending}, true));
  std::vector<std::string> titles;
  for (const auto& r : list) titles.push_back(DisplayText(r->Title));
  EXPECT_EQ(titles, expected);

  // CP932 and UTF-8 spellings of a text collate alike.
  EXPECT_EQ(CollateTexts("\x83\x4A\x83\x5E\x83\x69", "カタナ"), 0);
  // がいこつ before かさ, while the bytes say otherwise (82 AA > 82 A9).
  EXPECT_LT(CollateTexts("\x82\xAA\x82\xA2\x82\xB1\x82\xC2", "\x82\xA9\x82\xB3"), 0);
  // Undecodable bytes still give a key.
  EXPECT_FALSE(CollationKey(std::string("\x81\xFF\xFE", 3)).empty());
}

}  // namespace
}  // namespace kadrel

namespace kadrel {
namespace {

// Texts whose first character is no mark skip the trimming; every possible first
// character (single bytes and every Shift-JIS pair) must still come out as the full
// trimming makes it.
TEST(SortKeyText, FirstCharacterShortcutAgreesWithTrimming) {
  TMusicFileInfo r;
  const TSortSpec spec{8, false, true};
  auto check = [&](const std::string& text) {
    r.Title = text;
    std::string expected = text;
    if (IsValidUtf8(text) && !IsAscii(text)) expected = Utf8ToCp932(text).value_or(text);
    expected = TrimMarks(TrimMarks(expected, MarkSet::Openers, TrimSide::Leading), MarkSet::Closers,
                         TrimSide::Leading);
    if (IsValidUtf8(text) && !IsAscii(text) && !Utf8ToCp932(text)) expected = text;
    ASSERT_EQ(SortKeyText(r, spec), expected + ' ') << testing::PrintToString(text);
  };
  for (int a = 1; a < 256; ++a) {
    check(std::string(1, static_cast<char>(a)) + "x");
    for (int b = 0x40; b < 256; ++b) check(std::string{static_cast<char>(a), static_cast<char>(b)} + "x");
  }
  check("「雨」");
  check("ａｍｅ");
}

}  // namespace
}  // namespace kadrel
