#include "index/title_edit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "index/index_format.h"
#include "index_fixture.h"

namespace kadrel {
namespace {

using test::Entry;

class TitleEditTest : public test::IndexTest {
 protected:
  TitleEditTest() : index(MakeIndex()) {
    TMusicFileInfo parentRow;
    parentRow.ItemKind = kParentEntry;
    list = {parentRow, Entry("a", kRowMID, kLooseFile), Entry("b", kRowRCP, kArchiveMember, "X.LZH"),
            Entry("c", kRowMID, kLooseFile)};
    index.OpenFolderIndex(folder, scratch);
  }

  std::vector<TMusicFileInfo> Indexed() {
    std::vector<TMusicFileInfo> out;
    TFolderIndex fresh = MakeIndex();
    fresh.OpenFolderIndex(folder, out);
    return out;
  }

  TFolderIndex index;
  std::string folder = temp.MakeFolder("m");
  std::vector<TMusicFileInfo> list, scratch;
  std::atomic<bool> busy{false};
};

TEST_F(TitleEditTest, EveryRowUpToTheLastIsSavedAndIndexed) {
  ASSERT_TRUE(index.WriteFolderBlock(list));
  std::vector<TitleRow> rows = BuildTitleGrid(list);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1][kTitleFileName], "b.x");
  rows[0][kTitleTitle] = "  ";
  rows[2][kTitleTitle] = "Last";
  rows[2][kTitleAlbum] = "Album";
  rows[2][kTitleDataMaker] = "\x83\x5E";
  EXPECT_EQ(SaveTitleEdits(rows, list, index, busy), TitleSaveResult::Saved);
  EXPECT_FALSE(busy);
  EXPECT_EQ(list[1].InfoState, kInfoNoTitle);
  EXPECT_EQ(list[2].InfoState, kInfoRead);
  EXPECT_EQ(list[3].Title, "Last");

  const auto stored = Indexed();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[2].Title, "Last");
  EXPECT_EQ(stored[2].Album, "Album");
  EXPECT_EQ(stored[2].DataMaker, "\x83\x5E");
  EXPECT_EQ(stored[0].InfoState, kInfoNoTitle);
}

TEST_F(TitleEditTest, FolderWithoutBlockGetsOne) {
  std::vector<TitleRow> rows = BuildTitleGrid(list);
  rows[1][kTitleArtist] = "Someone";
  EXPECT_EQ(SaveTitleEdits(rows, list, index, busy), TitleSaveResult::Saved);
  const auto stored = Indexed();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[1].Artist, "Someone");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TitleEditTest, MismatchStopsTheRowsButSavesTheOnesBefore) {
  std::vector<TitleRow> rows = BuildTitleGrid(list);
  rows[0][kTitleTitle] = "first";
  rows[1][kTitleFileName] = "renamed.RCP";
  rows[1][kTitleTitle] = "never";
  EXPECT_EQ(SaveTitleEdits(rows, list, index, busy), TitleSaveResult::Mismatch);
  EXPECT_EQ(messages.shown.at(0).text,
            "ファイルリストの情報更新中に予期せぬエラーが発生しました.\nタイトルの編集を強制終了します.");
  EXPECT_EQ(list[2].Title, "T-b");
  EXPECT_EQ(Indexed().at(0).Title, "first");

  // More rows than entries is a mismatch too.
  rows = BuildTitleGrid(list);
  rows.push_back(rows.back());
  EXPECT_EQ(SaveTitleEdits(rows, list, index, busy), TitleSaveResult::Mismatch);
}

TEST_F(TitleEditTest, BusyIndexKeepsTheEditsInMemoryOnly) {
  ASSERT_TRUE(index.WriteFolderBlock(list));
  const std::string before = index.Image();
  std::vector<TitleRow> rows = BuildTitleGrid(list);
  rows[0][kTitleTitle] = "edited";
  busy = true;
  EXPECT_EQ(SaveTitleEdits(rows, list, index, busy), TitleSaveResult::IndexBusy);
  EXPECT_TRUE(busy);
  EXPECT_EQ(list[1].Title, "edited");
  EXPECT_EQ(index.Image(), before);
  EXPECT_EQ(messages.shown.back().text,
            "インデックスが使用中のため、保存に失敗しました.\nもう一度[Indexのタイトルの編集]を行ってみたください.\n"
            "メモリ内の編集内容は破棄されてはいません.");
}

// The block is replaced in one save: when that save fails, the old block stays whole.
TEST_F(TitleEditTest, FailedSaveKeepsTheOldBlock) {
  ASSERT_TRUE(index.WriteFolderBlock(list));
  // A second hard link makes the index file one we refuse to replace.
  ASSERT_EQ(::link(DrivePath().c_str(), (temp.path() + "other-name").c_str()), 0);
  std::vector<TitleRow> rows = BuildTitleGrid(list);
  rows[0][kTitleTitle] = "edited";
  EXPECT_EQ(SaveTitleEdits(rows, list, index, busy), TitleSaveResult::IndexFailed);
  EXPECT_FALSE(busy);
  const auto stored = Indexed();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0].Title, "T-a");
  EXPECT_EQ(index.SaveFailures(), 1);
}

}  // namespace
}  // namespace kadrel
