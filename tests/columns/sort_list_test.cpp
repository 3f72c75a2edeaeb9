#include <gtest/gtest.h>
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "sorting/compare_items.h"
#include "sorting/sort_list.h"
#include "catalog/pl_music_info.h"

namespace kadrel {
namespace {

using List = std::vector<std::unique_ptr<TMusicFileInfo>>;

// Few distinct values, so that keys and names tie often.
List RandomRecords(size_t count, unsigned seed) {
  static const char* kTitles[] = {"あめ", "「雨」", "Ａｍｅ", "ame", "", "アメ", "ｱﾒ", "雨"};
  static const char* kNames[] = {"song", "SONG", "a", "b", "ｿﾝｸﾞ"};
  std::mt19937 rng(seed);
  List list;
  for (size_t i = 0; i < count; ++i) {
    auto r = std::make_unique<TMusicFileInfo>();
    r->ItemKind = static_cast<int32_t>(rng() % 4);
    r->FileName = Cp932(kNames[rng() % 5]);
    r->FileExt = i % 2 ? ".MID" : ".RCP";
    r->Title = Cp932(kTitles[rng() % 8]);
    r->Artist = Cp932(kTitles[rng() % 8]);
    r->Size = static_cast<int32_t>(rng() % 3);
    r->DosDate = static_cast<uint16_t>(rng() % 2);
    r->DosTime = static_cast<uint16_t>(rng() % 2);
    r->Info = static_cast<int32_t>(i);  // tells the records apart
    list.push_back(std::move(r));
  }
  return list;
}

std::vector<int32_t> Identities(const List& list) {
  std::vector<int32_t> ids;
  for (const auto& r : list) ids.push_back(r->Info);
  return ids;
}

List Copy(const List& list) {
  List copy;
  for (const auto& r : list) copy.push_back(std::make_unique<TMusicFileInfo>(*r));
  return copy;
}

struct SortCase {
  TSortState state;
  bool sortOption;
};

class SortListOrder : public testing::TestWithParam<SortCase> {};

// The fast paths (keys computed once, kept between insertions) give exactly the order
// of a stable sort with CompareItems, and a list kept sorted while it grows ends as a
// sort at the end leaves it.
TEST_P(SortListOrder, AgreesWithCompareItemsAndWithSortedInsertion) {
  const auto [state, sortOption] = GetParam();
  const List arrivals = RandomRecords(300, 7);

  List reference = Copy(arrivals);
  std::stable_sort(reference.begin(), reference.end(), [&](const auto& a, const auto& b) {
    return CompareItems(*a, *b, state, sortOption) < 0;
  });

  List sorted = Copy(arrivals);
  ASSERT_TRUE(SortList(sorted, state, sortOption));
  EXPECT_EQ(Identities(sorted), Identities(reference));

  List grown;
  TSortKeyCache cache;
  for (const auto& r : arrivals) {
    size_t at = SortedInsert(grown, std::make_unique<TMusicFileInfo>(*r), state, sortOption, &cache);
    ASSERT_EQ(grown[at]->Info, r->Info);
  }
  EXPECT_EQ(Identities(grown), Identities(reference));

  List uncached;
  for (const auto& r : arrivals) SortedInsert(uncached, std::make_unique<TMusicFileInfo>(*r), state, sortOption);
  EXPECT_EQ(Identities(uncached), Identities(reference));
}

INSTANTIATE_TEST_SUITE_P(Keys, SortListOrder,
                         testing::Values(SortCase{{0, 0}, true}, SortCase{{1, 0}, true}, SortCase{{1, 1}, true},
                                         SortCase{{2, 1}, true}, SortCase{{6, 1}, true}, SortCase{{7, 0}, true},
                                         SortCase{{8, 0}, true}, SortCase{{8, 1}, true}, SortCase{{8, 0}, false},
                                         SortCase{{9, -1}, true}));

TEST(SortedInsert, CacheFollowsChangesMadeToTheList) {
  const TSortState state{8, 0};
  List list = RandomRecords(50, 3);
  TSortKeyCache cache;
  ASSERT_TRUE(SortList(list, state, true, &cache));

  // The title editor changes a record in place, and another entry is removed, behind
  // the cache's back.
  list[10]->Title = "zzz";
  list.erase(list.begin() + 20);
  ASSERT_TRUE(SortList(list, state, true));  // the owner re-sorts without the cache

  auto added = std::make_unique<TMusicFileInfo>();
  added->ItemKind = kLooseFile;
  added->FileName = "m";
  added->Title = "zzy";
  added->Info = -1;
  List expected = Copy(list);
  SortedInsert(expected, std::make_unique<TMusicFileInfo>(*added), state, true);
  SortedInsert(list, std::move(added), state, true, &cache);
  EXPECT_EQ(Identities(list), Identities(expected));

  // Reordered behind its back with the length unchanged: the keys the cache holds are
  // in order, the list is not, and the insertion must land where the walk puts it.
  std::reverse(list.begin(), list.end());
  auto late = std::make_unique<TMusicFileInfo>(*list[7]);
  late->Info = -2;
  expected = Copy(list);
  SortedInsert(expected, std::make_unique<TMusicFileInfo>(*late), state, true);
  SortedInsert(list, std::move(late), state, true, &cache);
  EXPECT_EQ(Identities(list), Identities(expected));
}

// The key pipeline (CP932 decoded by table, one key buffer, 8-byte prefixes) against
// the plain way: the collator comparing the decoded texts whole. Titles mix CP932
// kana, kanji, full-width and half-width forms, leading marks and a few UTF-8 texts;
// many are equal, so the file names break ties, and some equal pairs too.
TEST(SortList, OrderIsThatOfTheCollatorComparingWholeTexts) {
  static const char* kPieces[] = {"「", "【", "『", "（", "☆", "♪", "・", "　", " ", "-", "あ", "ア", "ｱ",
                                  "ｶﾞ", "が", "ガ", "は", "ぱ", "ば", "ー", "っ", "ッ", "ｯ", "夢", "空", "Ａ",
                                  "a",  "A",  "ａ", "１", "1",  "ﾟ",  "ヴ", "ゔ", "～", "ゝ", "々"};
  std::mt19937 rng(11);
  auto randomText = [&] {
    std::string utf8;
    for (int n = 1 + static_cast<int>(rng() % 6); n > 0; --n) utf8 += kPieces[rng() % std::size(kPieces)];
    return utf8;
  };
  std::vector<std::string> common;
  for (int i = 0; i < 40; ++i) common.push_back(randomText());
  List list;
  for (int i = 0; i < 3000; ++i) {
    auto r = std::make_unique<TMusicFileInfo>();
    r->ItemKind = i % 50 == 0 ? kFolderEntry : kLooseFile;
    const std::string title = rng() % 2 ? common[rng() % common.size()] : randomText();
    r->Title = rng() % 10 == 0 ? title : Cp932(title);
    r->FileName = Cp932(rng() % 4 ? "ｿﾝｸﾞ" + std::to_string(rng() % 30) : "曲" + std::to_string(rng() % 30));
    r->Info = i;
    list.push_back(std::move(r));
  }

  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(icu::Locale("ja"), status));
  ASSERT_TRUE(U_SUCCESS(status));
  for (const TSortState state : {TSortState{8, kAscending}, TSortState{8, kDescending}}) {
    const TSortSpec spec = TSortSpec::From(state, true);
    std::vector<icu::UnicodeString> titles, names;
    for (const auto& r : list) {
      titles.push_back(icu::UnicodeString::fromUTF8(DisplayText(SortKeyText(*r, spec))));
      names.push_back(icu::UnicodeString::fromUTF8(DisplayText(FileNameSortText(*r))));
    }
    std::vector<int32_t> reference(list.size());
    for (size_t i = 0; i < list.size(); ++i) reference[i] = static_cast<int32_t>(i);
    std::stable_sort(reference.begin(), reference.end(), [&](int32_t a, int32_t b) {
      const auto& ra = *list[static_cast<size_t>(a)];
      const auto& rb = *list[static_cast<size_t>(b)];
      if (KindClass(ra) != KindClass(rb)) return KindClass(ra) < KindClass(rb);
      UErrorCode s = U_ZERO_ERROR;
      int c = collator->compare(titles[static_cast<size_t>(a)], titles[static_cast<size_t>(b)], s);
      if (spec.Descending) c = -c;
      if (c == 0) c = collator->compare(names[static_cast<size_t>(a)], names[static_cast<size_t>(b)], s);
      return c < 0;
    });

    List sorted = Copy(list);
    ASSERT_TRUE(SortList(sorted, state, true));
    EXPECT_EQ(Identities(sorted), reference) << state.Direction;
  }
}

TEST(SortEntries, SortsEntriesThatCarryARecord) {
  std::vector<TPLMusicInfo> items(3);
  for (size_t i = 0; i < 3; ++i) {
    items[i].Music.ItemKind = kLooseFile;
    items[i].Music.Title = std::string(1, static_cast<char>('a' + (i + 1) % 3));  // b c a
    items[i].Folder = items[i].Music.Title;
  }
  ASSERT_TRUE(SortEntries(items, [](const TPLMusicInfo& e) -> const TMusicFileInfo& { return e.Music; },
                          TSortState{8, kDescending}, true));
  EXPECT_EQ(items[0].Folder + items[1].Folder + items[2].Folder, "cba");
}

}  // namespace
}  // namespace kadrel
