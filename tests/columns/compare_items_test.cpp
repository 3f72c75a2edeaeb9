#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "sorting/collation_key.h"
#include "sorting/compare_items.h"
#include "sorting/sort_list.h"

namespace kadrel {
namespace {

using List = std::vector<std::unique_ptr<TMusicFileInfo>>;

std::unique_ptr<TMusicFileInfo> Entry(int kind, std::string name, std::string title = {}) {
  auto r = std::make_unique<TMusicFileInfo>();
  r->ItemKind = kind;
  r->FileName = std::move(name);
  r->Title = std::move(title);
  r->FileType = kind >= kLooseFile ? 1 : -1;
  return r;
}

std::vector<std::string> Names(const List& list) {
  std::vector<std::string> names;
  for (const auto& r : list) names.push_back(r->FileName);
  return names;
}

List Folder() {
  List list;
  list.push_back(Entry(kArchiveMember, "b2", "Beta"));
  list.push_back(Entry(kFolderEntry, "zfolder"));
  list.push_back(Entry(kLooseFile, "a1", "Alpha"));
  list.push_back(Entry(kLooseFile, "b1", "Beta"));
  list.push_back(Entry(kParentEntry, ".."));
  list.push_back(Entry(kFolderEntry, "afolder"));
  list.push_back(Entry(kLooseFile, "c1", "Gamma"));
  return list;
}

TEST(CompareItems, KindComesFirstInBothDirectionsAndEqualKeysFollowTheName) {
  List list = Folder();
  TSortState state{8, kDescending};
  ASSERT_TRUE(SortList(list, state, true));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"..", "afolder", "zfolder", "c1", "b1", "b2", "a1"}));
  state.Direction = kAscending;
  ASSERT_TRUE(SortList(list, state, true));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"..", "afolder", "zfolder", "a1", "b1", "b2", "c1"}));
}

TEST(CompareItems, WithoutAKeyOnlyTheKindCounts) {
  auto a = Entry(kLooseFile, "zzz"), b = Entry(kArchiveMember, "aaa");
  EXPECT_EQ(CompareItems(*a, *b, TSortState{}, true), 0);
  // A damaged stored key behaves as no key.
  EXPECT_EQ(CompareItems(*a, *b, TSortState{42, 0}, true), 0);
  EXPECT_LT(CompareItems(*Entry(kFolderEntry, "z"), *a, TSortState{}, true), 0);
  // Any direction other than 1 sorts ascending.
  EXPECT_GT(CompareItems(*a, *b, TSortState{1, kNoDirection}, true), 0);
}

TEST(CompareItems, LeadingMarksAreIgnoredInInformationColumnsOnly) {
  const std::string love = Cp932("「Love」");
  auto bracketed = Entry(kLooseFile, Cp932("「b」"), love);
  auto plainM = Entry(kLooseFile, "m", "M");
  auto plainK = Entry(kLooseFile, "k", "K");
  // 「Love」 sorts as Love」, between K and M.
  EXPECT_GT(CompareItems(*bracketed, *plainK, TSortState{8, 0}, true), 0);
  EXPECT_LT(CompareItems(*bracketed, *plainM, TSortState{8, 0}, true), 0);
  // Off: the bracket is compared too and sorts before letters.
  EXPECT_LT(CompareItems(*bracketed, *plainK, TSortState{8, 0}, false), 0);
  // The file name keeps its bracket even with the option on.
  EXPECT_LT(CompareItems(*bracketed, *plainK, TSortState{1, 0}, true), 0);

  // A title kept as UTF-8 is trimmed by whole characters as well.
  auto utf8 = Entry(kLooseFile, "u", "「Love」");
  EXPECT_GT(CompareItems(*utf8, *plainK, TSortState{8, 0}, true), 0);
  EXPECT_LT(CompareItems(*utf8, *plainM, TSortState{8, 0}, true), 0);
}

TEST(CompareItems, NumericKeysAndTheNameFallBack) {
  auto early = Entry(kLooseFile, "b");
  early->DosDate = 0x2000;
  early->DosTime = 0xFFFF;
  auto late = Entry(kLooseFile, "a");
  late->DosDate = 0x2001;  // the date outweighs any time
  auto sameAsLate = Entry(kLooseFile, "c");
  sameAsLate->DosDate = 0x2001;
  EXPECT_LT(CompareItems(*early, *late, TSortState{7, 0}, true), 0);
  EXPECT_GT(CompareItems(*early, *late, TSortState{7, 1}, true), 0);
  // Equal dates fall back to the name, ascending in both directions.
  EXPECT_LT(CompareItems(*late, *sameAsLate, TSortState{7, 0}, true), 0);
  EXPECT_LT(CompareItems(*late, *sameAsLate, TSortState{7, 1}, true), 0);

  early->Size = 2'000'000'000;
  late->Size = -2'000'000'000;  // no overflow in the difference
  EXPECT_GT(CompareItems(*early, *late, TSortState{6, 0}, true), 0);
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
    list.push_back(Entry(kLooseFile, "n" + std::to_string(list.size()), Cp932(*it)));
  std::reverse(list.begin() + 3, list.end());  // some disorder
  ASSERT_TRUE(SortList(list, TSortState{8, 0}, true));
  std::vector<std::string> titles;
  for (const auto& r : list) titles.push_back(DisplayText(r->Title));
  EXPECT_EQ(titles, expected);

  // CP932 and UTF-8 spellings of a text collate alike.
  EXPECT_EQ(CollateTexts(Cp932("カタナ"), "カタナ"), 0);
  EXPECT_LT(CollateTexts(Cp932("がいこつ"), Cp932("かさ")), 0);
  EXPECT_LT(Cp932("かさ"), Cp932("がいこつ"));  // while the bytes say otherwise
  // Undecodable bytes still give a key.
  EXPECT_FALSE(CollationKey(std::string("\x81\xFF\xFE", 3)).empty());
}

}  // namespace
}  // namespace kadrel
