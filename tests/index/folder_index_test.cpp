#include "index/folder_index.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "catalog/index_record.h"
#include "base/atomic_file.h"
#include "base/byte_cursor.h"
#include "index/index_format.h"
#include "index_fixture.h"

namespace kadrel {
namespace {

using test::Entry;
using test::ReadFileBytes;

class FolderIndexTest : public test::IndexTest {
 protected:
  // A folder with loose songs and one archive, and its list as a scan would make it.
  std::string MakeMusicFolder(const std::string& name) {
    temp.Write(name + "/song.mid", "MThd");
    temp.Write(name + "/A.LZH", "lzh");
    return temp.path() + name + "/";
  }
  std::vector<TMusicFileInfo> ListOf(bool withMember = true) {
    std::vector<TMusicFileInfo> list{test::FolderRow(), Entry("song", kRowMID, kLooseFile)};
    if (withMember) list.push_back(Entry("Song", kRowMID, kArchiveMember, "A.LZH"));
    return list;
  }
};

TEST_F(FolderIndexTest, FirstBlockFollowsTheHeaderAndReadsBack) {
  const std::string folder = MakeMusicFolder("m");
  TFolderIndex index = MakeIndex();
  std::vector<TMusicFileInfo> out;
  EXPECT_FALSE(index.OpenFolderIndex(folder, out));
  EXPECT_EQ(index.IndexPath(), DrivePath());
  EXPECT_EQ(ReadFileBytes(DrivePath()), IndexHeader());  // created header-only

  ASSERT_TRUE(index.WriteFolderBlock(ListOf()));
  const std::string file = ReadFileBytes(DrivePath());
  ASSERT_GT(file.size(), 26u);
  EXPECT_EQ(file.substr(26, 2), "\xFF\x20");
  EXPECT_EQ(Le32At(file, 28).value_or(0), file.size() - 26);
  EXPECT_EQ(static_cast<size_t>(static_cast<unsigned char>(file[32])), folder.size());
  EXPECT_EQ(file.substr(33, folder.size()), folder);
  EXPECT_EQ(file.substr(file.size() - 2), "\xFF\x29");
  EXPECT_EQ(status.back(), std::make_pair(1, std::string("インデックスを作成しました ..")));

  // A fresh store (a new program run) takes the entries from the file.
  TFolderIndex again = MakeIndex();
  ASSERT_TRUE(again.OpenFolderIndex(folder, out, {0, 100, {}}));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].FullName(), "song.MID");  // found on disk as song.mid
  EXPECT_EQ(out[1].FullName(), "Song.MID");
  EXPECT_EQ(out[1].Archiver, "A.LZH");
}

TEST_F(FolderIndexTest, ExistingBlockIsNeverRewrittenInPlace) {
  const std::string a = MakeMusicFolder("a"), b = MakeMusicFolder("b");
  TFolderIndex index = MakeIndex();
  SaveBlock(index, a, ListOf());
  SaveBlock(index, b, ListOf());
  const std::string before = ReadFileBytes(DrivePath());

  auto changed = ListOf();
  changed[1].Title = "changed";
  ASSERT_TRUE(SaveBlock(index, a, changed));
  EXPECT_EQ(ReadFileBytes(DrivePath()), before);

  ASSERT_TRUE(index.DeleteFolderBlock(a, false));
  ASSERT_TRUE(index.WriteFolderBlock(changed));
  const std::string after = ReadFileBytes(DrivePath());
  EXPECT_EQ(after.size(), before.size() + 1);  // "changed" vs "T-song"
  EXPECT_EQ(FindFolderBlock(after, b)->offset, 26u);
  EXPECT_LT(FindFolderBlock(after, b)->offset, FindFolderBlock(after, a)->offset);
  EXPECT_TRUE(messages.shown.empty());
}

struct ModeCase {
  int mode;
  bool withMember, written;
};

class IndexModeTest : public FolderIndexTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(IndexModeTest, LooseOnlyFoldersFollowTheMode) {
  options.IndexMode = GetParam().mode;
  const std::string folder = MakeMusicFolder("m");
  TFolderIndex index = MakeIndex();
  ASSERT_TRUE(SaveBlock(index, folder, ListOf(GetParam().withMember)));
  EXPECT_EQ(FindFolderBlock(index.Image(), folder).has_value(), GetParam().written);
  EXPECT_EQ(ReadFileBytes(DrivePath()), index.Image());
}

INSTANTIATE_TEST_SUITE_P(Modes, IndexModeTest,
                         ::testing::Values(ModeCase{1, false, false}, ModeCase{1, true, true},
                                           ModeCase{2, false, true}));

struct StyleCase {
  VolumeKind kind;
  bool flagsOn;
  int place;
  int32_t style;
};

class IndexStyleTest : public FolderIndexTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(IndexStyleTest, VolumeKindAndSettingsPickTheStyle) {
  const StyleCase& c = GetParam();
  options.SaveIndexCdRom = options.SaveIndexRam = options.SaveIndexRemovable = c.flagsOn;
  options.RemovableIndexPlace = c.place;
  EXPECT_EQ(MakeIndex(c.kind).IndexStyleFor("/x/"), c.style);
  options.IndexMode = 0;
  EXPECT_EQ(MakeIndex(c.kind).IndexStyleFor("/x/"), kNoIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, IndexStyleTest,
    ::testing::Values(StyleCase{VolumeKind::Fixed, false, 0, 0}, StyleCase{VolumeKind::CdRom, true, 0, 0},
                      StyleCase{VolumeKind::CdRom, false, 0, -1}, StyleCase{VolumeKind::RamDisk, true, 0, 0},
                      StyleCase{VolumeKind::RamDisk, false, 0, -1}, StyleCase{VolumeKind::Removable, true, 1, 1},
                      StyleCase{VolumeKind::Removable, true, 2, 2}, StyleCase{VolumeKind::Removable, false, 1, -1},
                      StyleCase{VolumeKind::Network, true, 0, -1}, StyleCase{VolumeKind::Unknown, true, 0, -1}));

TEST_F(FolderIndexTest, PerFolderFileAndRootPlace) {
  const std::string folder = MakeMusicFolder("usb");
  options.RemovableIndexPlace = 1;
  TFolderIndex index = MakeIndex(VolumeKind::Removable);
  std::vector<TMusicFileInfo> out;
  EXPECT_FALSE(index.OpenFolderIndex(folder, out));
  EXPECT_EQ(index.IndexPath(), folder + "Kadrel.idx");
  ASSERT_TRUE(index.WriteFolderBlock(ListOf()));
  EXPECT_TRUE(FileExists(folder + "Kadrel.idx"));
  EXPECT_TRUE(index.OpenFolderIndex(folder, out));

  options.RemovableIndexPlace = 2;  // handled as no index
  TFolderIndex root = MakeIndex(VolumeKind::Removable);
  out.clear();
  EXPECT_FALSE(root.OpenFolderIndex(temp.MakeFolder("other"), out));
  EXPECT_TRUE(root.WriteFolderBlock(ListOf()));
  EXPECT_FALSE(FileExists(DrivePath()));
}

TEST_F(FolderIndexTest, ReadDropsGoneDisabledAndNamelessRecords) {
  const std::string folder = MakeMusicFolder("m");
  std::vector<TMusicFileInfo> list = ListOf();
  list.push_back(Entry("gone", kRowMID, kLooseFile));                // not on disk
  list.push_back(Entry("Other", kRowMID, kArchiveMember, "B.LZH"));  // archive not on disk
  list.push_back(Entry("", kRowMID, kLooseFile));                    // empty name
  list.push_back(Entry("mgs", kRowMGS, kLooseFile));                 // MGS is off by default
  list.push_back(Entry("extra", kRowMID, kLooseFile));               // fills the first screenful
  list.push_back(Entry("late", kRowMID, kLooseFile));                // beyond it: not looked up
  temp.Write("m/EXTRA.Mid", "MThd");
  {
    TFolderIndex writer = MakeIndex();
    ASSERT_TRUE(SaveBlock(writer, folder, list));
  }
  TFolderIndex index = MakeIndex();
  std::vector<TMusicFileInfo> out;
  // One entry already in the list; the first screenful ends at 4 entries.
  ASSERT_TRUE(index.OpenFolderIndex(folder, out, {1, 4, {}}));
  std::vector<std::string> names;
  for (const auto& r : out) names.push_back(r.FileName);
  EXPECT_EQ(names, (std::vector<std::string>{"song", "Song", "extra", "late"}));

  int polls = 0;
  out.clear();
  EXPECT_TRUE(index.OpenFolderIndex(folder, out, {0, 0, [&] { return ++polls > 1; }}));
  EXPECT_EQ(out.size(), 1u);
}

TEST_F(FolderIndexTest, ForeignFilesAreOfferedForDeletionAndNeverExtended) {
  const std::string folder = MakeMusicFolder("m");
  std::string foreign(IndexHeader());
  foreign[24] = '\x02';  // another format version
  temp.Write("index/__index.dat", foreign);
  TFolderIndex index = MakeIndex();
  std::vector<TMusicFileInfo> out;
  messages.answers = {MessageAnswer::No};
  EXPECT_FALSE(index.OpenFolderIndex(folder, out));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, DrivePath() + "は、\n形式が違うか、関係のないファイルです.\nこのファイルを削除しますか？");
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(index.WriteFolderBlock(ListOf()));
  EXPECT_EQ(ReadFileBytes(DrivePath()), foreign);
  // Yes deletes the file and forgets it.
  EXPECT_EQ(index.CheckIndexFile(), IndexCheck::Foreign);
  EXPECT_FALSE(FileExists(DrivePath()));
  EXPECT_EQ(index.IndexPath(), "");
  EXPECT_EQ(index.CheckIndexFile(), IndexCheck::Missing);
}

TEST_F(FolderIndexTest, DeleteReportsMissingCancelledDamagedAndAbsent) {
  const std::string folder = MakeMusicFolder("m");
  TFolderIndex index = MakeIndex();
  EXPECT_FALSE(index.DeleteFolderBlock(folder, false));
  EXPECT_EQ(messages.shown.back().text, "Indexファイルが存在しません.");

  SaveBlock(index, folder, ListOf());
  messages.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(index.DeleteFolderBlock(folder, true));
  EXPECT_TRUE(index.DeleteFolderBlock(temp.path() + "none", true));
  EXPECT_EQ(messages.shown.back().kind, MessageKind::Information);
  EXPECT_EQ(messages.shown.back().text, temp.path() + "none/ のIndexは\n存在しませんでした.");

  // Damage the block's length: deletion is refused and the file kept.
  std::string& image = index.MutableImage();
  StoreLe32(image, 28, Le32At(image, 28).value_or(0) - 1);
  ASSERT_TRUE(index.SaveImage());
  EXPECT_FALSE(index.DeleteFolderBlock(folder, false));
  EXPECT_EQ(messages.shown.back().text,
            "Folder情報が正しくありません.\n直ちに[Indexのリフレッシュ]を行って下さい.\nIndexの削除は中止します.");
  EXPECT_EQ(ReadFileBytes(DrivePath()), image);

  StoreLe32(image, 28, Le32At(image, 28).value_or(0) + 1);
  ASSERT_TRUE(index.SaveImage());  // deletion works on the file as it is now
  messages.answers = {MessageAnswer::Ok};
  EXPECT_TRUE(index.DeleteFolderBlock(folder, true));
  EXPECT_EQ(ReadFileBytes(DrivePath()), IndexHeader());
  EXPECT_EQ(status.back(), std::make_pair(0, std::string("正常に終了しました..")));
}

TEST_F(FolderIndexTest, BlockWithoutEndMarkerDoesNotTakeTheNextBlocksRecords) {
  const std::string a = MakeMusicFolder("a");
  TFolderIndex index = MakeIndex();
  SaveBlock(index, a, ListOf());
  auto other = ListOf();
  other[1].FileName = "fromB";
  SaveBlock(index, MakeMusicFolder("b"), other);
  // Overwrite a's end marker and make its length run past the image.
  std::string& image = index.MutableImage();
  const auto block = FindFolderBlock(image, a);
  image[block->offset + block->length - 1] = 0;
  StoreLe32(image, block->offset + 2, 0xFFFFFF);
  ASSERT_TRUE(index.SaveImage());
  std::vector<TMusicFileInfo> out;
  ASSERT_TRUE(index.OpenFolderIndex(a, out));
  EXPECT_EQ(out.size(), 2u);
  for (const auto& r : out) EXPECT_NE(r.FileName, "fromB");
}

TEST_F(FolderIndexTest, FailedSaveIsReportedAndLeavesFileAndImage) {
  TFolderIndex index = MakeIndex();
  SaveBlock(index, MakeMusicFolder("m"), ListOf());
  const std::string saved = index.Image();

  // The index folder disappears under us and a directory takes the file's name.
  ASSERT_EQ(::unlink(DrivePath().c_str()), 0);
  temp.Write("index/__index.dat/keep", "x");
  std::vector<TMusicFileInfo> out;
  index.OpenFolderIndex(MakeMusicFolder("n"), out);
  status.clear();
  EXPECT_FALSE(index.WriteFolderBlock(ListOf()));
  EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
  EXPECT_NE(messages.shown.back().text.find("Indexファイルの保存に失敗しました."), std::string::npos);
  EXPECT_EQ(index.Image(), saved);
  EXPECT_TRUE(status.empty());
}

}  // namespace
}  // namespace kadrel
