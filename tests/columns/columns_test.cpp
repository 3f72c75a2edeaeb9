#include <gtest/gtest.h>

#include <map>

#include "base/encoding.h"
#include "sorting/column_tables.h"
#include "sorting/playlist_column_text.h"

namespace kadrel {
namespace {

TEST(ColumnTables, LookUpsRefuseWhatIsNotInTheirTable) {
  EXPECT_EQ(ColumnIdByName(ListKind::PlayList, "ファイルの場所"), 4);
  EXPECT_EQ(ColumnIdByName(ListKind::FileList, "ファイルの場所"), -1);
  EXPECT_EQ(ColumnIdByName(ListKind::FileList, "Title"), -1);  // a header, not a dialog name
  EXPECT_EQ(ColumnNameById(ListKind::PlayList, 14), "");
  EXPECT_EQ(ColumnIdByHeader(ListKind::FileList, "songwriter"), 11);
  EXPECT_EQ(ColumnWidthFromValue(ListKind::PlayList, 4, -5), 150);
}

struct StoredColumns {
  const char* name;
  std::map<std::string, int32_t> store;
  VisibleColumns expected;
};

class VisibleColumnsFromStore : public testing::TestWithParam<StoredColumns> {};

TEST_P(VisibleColumnsFromStore, Reads) {
  const auto& p = GetParam();
  ValueReader read = [&](const std::string& name) -> std::optional<int32_t> {
    auto it = p.store.find(name);
    if (it == p.store.end()) return std::nullopt;
    return it->second;
  };
  EXPECT_EQ(VisibleColumnsFromValues(ListKind::FileList, read), p.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, VisibleColumnsFromStore,
    testing::Values(
        StoredColumns{"Missing", {}, {1, 2, 5, 8, 3}},
        StoredColumns{"TitleThenName", {{"FLitem1", 8}, {"FLitem2", 1}, {"FLitem3", 0}}, {8, 1}},
        StoredColumns{"EndsAtMissingEntry", {{"FLitem1", 1}, {"FLitem2", 8}, {"FLitem4", 9}}, {1, 8}},
        StoredColumns{"ValuesAfterZeroIgnored", {{"FLitem1", 1}, {"FLitem2", 0}, {"FLitem3", 9}}, {1}},
        StoredColumns{"BadAndRepeatedIdsSkipped",
                      {{"FLitem1", 1}, {"FLitem2", 13}, {"FLitem3", 8}, {"FLitem4", 8}, {"FLitem5", -1}, {"FLitem6", 3}},
                      {1, 8, 3}},
        StoredColumns{"NothingUsableGivesDefaults", {{"FLitem1", 0}}, {1, 2, 5, 8, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VisibleColumns, StoredFormEndsWithZeroAndReadsBack) {
  VisibleColumns columns{1, 9, 4, 13};
  SettingValues values = VisibleColumnValues(ListKind::PlayList, columns);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values.back(), (std::pair<std::string, int32_t>{"PLitem5", 0}));
  std::map<std::string, int32_t> store(values.begin(), values.end());
  store["PLitem6"] = 2;  // left over from a longer list
  auto read = [&](const std::string& n) -> std::optional<int32_t> {
    auto it = store.find(n);
    return it == store.end() ? std::nullopt : std::optional<int32_t>(it->second);
  };
  EXPECT_EQ(VisibleColumnsFromValues(ListKind::PlayList, read), columns);

  SettingValues widths = ColumnWidthValues(ListKind::PlayList, columns, [](int32_t id) { return id * 10; });
  EXPECT_EQ(widths.front(), (std::pair<std::string, int32_t>{"PLW1", 10}));
  EXPECT_EQ(widths.back(), (std::pair<std::string, int32_t>{"PLW13", 130}));
}

TEST(VisibleColumns, DialogNamesRebuildAfterTheFixedFirstColumn) {
  EXPECT_EQ(VisibleColumnsFromNames(ListKind::FileList, {"作曲者", "ファイル名", "作曲者", "???", "タイトル"}),
            (VisibleColumns{1, 10, 8}));
  EXPECT_EQ(HiddenColumnNames(ListKind::FileList, {1, 8, 3}).size(), 9u);
}

TPLMusicInfo Item() {
  TPLMusicInfo item;
  item.Folder = "/music/game/";
  item.Music.FileName = "SONG";
  item.Music.FileExt = ".mid";
  item.Music.ItemKind = kArchiveMember;
  item.Music.Archiver = "PACK.LZH";
  item.Music.Size = 1025;
  item.Music.Info = 1;
  item.Music.DataMaker = "maker";
  return item;
}

TEST(PlayListColumnText, PlayerStarAndFileListColumnsAroundThePlaceColumn) {
  TListViewOption o;
  TPLMusicInfo item = Item();
  EXPECT_EQ(PlayListColumnText(item, kPlColPlayer, o, ""), "*");
  item.Slot = 3;
  EXPECT_EQ(PlayListColumnText(item, kPlColPlayer, o, ""), "3");
  EXPECT_EQ(PlayListColumnText(item, kPlColType, o, ""), ".MID");
  EXPECT_EQ(PlayListColumnText(item, kPlColInfo, o, ""), "Wrd ");
  EXPECT_EQ(PlayListColumnText(item, kPlColSize, o, ""), "2KB");
  EXPECT_EQ(PlayListColumnText(item, kPlColDataMaker, o, ""), "maker");
  EXPECT_EQ(PlayListColumnText(item, 14, o, ""), "");
}

TEST(PlayListColumnText, PlaceIsRelativeToTheBaseFolder) {
  TListViewOption o;
  TPLMusicInfo item = Item();
  EXPECT_EQ(PlayListColumnText(item, kPlColPlace, o, "/music/"), "game/PACK.LZH");
  EXPECT_EQ(PlayListColumnText(item, kPlColPlace, o, "/music/game/"), "PACK.LZH");
  EXPECT_EQ(PlayListColumnText(item, kPlColPlace, o, ""), "/music/game/PACK.LZH");
  // An item outside the base shows its whole folder instead of a cut-off one.
  EXPECT_EQ(PlayListColumnText(item, kPlColPlace, o, "/other/folder/"), "/music/game/PACK.LZH");
  item.Music.Archiver.clear();
  EXPECT_EQ(PlayListColumnText(item, kPlColPlace, o, "/music/"), "game/");
}

}  // namespace
}  // namespace kadrel
