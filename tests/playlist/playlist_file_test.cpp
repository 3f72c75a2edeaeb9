// Play-list files: round trips, the stored layout, damaged files and the old text lists.

#include <gtest/gtest.h>

#include "base/byte_cursor.h"
#include "base/byte_source.h"
#include "base/encoding.h"
#include "catalog/index_record.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_io.h"
#include "playlist/playlist_texts.h"
#include "playlist_test_util.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using test::AddItem;
using test::MusicRecord;
using test::RecordingMessageBox;

// A record as the reader gives it back: with the image of its format and companions,
// the state from its title.
TMusicFileInfo Stored(TMusicFileInfo r, int32_t image) {
  r.IconIndex = image;
  r.InfoState = r.Title.empty() ? kInfoNoTitle : kInfoRead;
  return r;
}

TPLInfo MixedList() {
  TPLInfo list;
  list.BaseFolder = "/music/";
  list.Title = "\x95\x5C\x8E\x86";  // CP932 with a 0x5C second byte
  TMusicFileInfo a = MusicRecord("SONG", kRowMID);
  a.Title = "\x8F\x74";
  a.Artist = std::string(300, 'a');  // two-byte length
  a.Info = kCompanionWrd | kCompanionDv;
  a.Size = 123456;
  a.DosDate = 0x2A21;
  a.DosTime = 0x6000;
  a.MacBinary = 1;
  AddItem(list, "/music/a/", Stored(a, 2));  // MIDI with the lyrics badge
  list.Items.back()->Slot = 3;
  AddItem(list, "/music/b/\x95\x5C/", Stored(MusicRecord("RCP1", kRowRCP, "PACK.LZH"), 3));  // Recomposer
  AddItem(list, "/music/", Stored(MusicRecord("TOP", kRowMP3), 9));                         // wave
  return list;
}

void ExpectSameItems(const TPLInfo& list, const PlayListContent& content) {
  ASSERT_EQ(content.Items.size(), list.Items.size());
  for (size_t i = 0; i < list.Items.size(); ++i) {
    EXPECT_EQ(content.Items[i].Folder, list.Items[i]->Folder) << i;
    EXPECT_EQ(content.Items[i].Slot, list.Items[i]->Slot) << i;
    EXPECT_EQ(content.Items[i].Music, list.Items[i]->Music) << i;
  }
}

TEST(PlayListFile, SaveAndLoadGiveEqualItems) {
  test::TempDir dir;
  const TPLInfo list = MixedList();
  RecordingMessageBox box;
  const std::string path = dir.path() + "new/sub/LIST.MPL";  // missing folders are made
  ASSERT_EQ(SavePlayListFile(list, path, true, box), SaveResult::Saved);
  EXPECT_TRUE(box.shown.empty());

  const std::string bytes = test::ReadFileBytes(path);
  EXPECT_EQ(bytes.substr(0, 28), std::string("\xFF\x01KadrelPlayListFormat\xFF\x02\x01\x00\xFF\x20", 28));
  EXPECT_EQ(Le32At(bytes, 28), bytes.size());
  EXPECT_EQ(bytes.substr(32, 10), std::string("\x07/music/\xFF\x30", 10));
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\x29");

  PlayListContent content;
  ASSERT_EQ(ReadPlayListFile(path, content), PlayListReadStatus::Ok);
  EXPECT_EQ(content.BaseFolder, "/music/");
  EXPECT_EQ(content.Title, list.Title);
  ExpectSameItems(list, content);
}

TEST(PlayListFile, StoredBaseFolderAndRelativeParts) {
  TPLInfo list;
  list.BaseFolder = "/music/a/";
  AddItem(list, "/music/a/", MusicRecord("ONE"));
  AddItem(list, "/music/a/", MusicRecord("TWO", kRowMID, "ARC.LZH"));
  const std::string image = *EncodePlayList(list);

  std::vector<std::string> archiverFields;
  for (size_t pos = image.find("\xFF\x21"); pos != std::string::npos; pos = image.find("\xFF\x21", pos + 1)) {
    size_t next = 0;
    auto r = DecodeIndexRecord(image, pos, &next);
    ASSERT_TRUE(r);
    archiverFields.push_back(r->Archiver);
    EXPECT_EQ(r->IconIndex, kAutomaticSlot);  // the slot travels in the icon field
  }
  EXPECT_EQ(archiverFields, (std::vector<std::string>{"", "ARC.LZH"}));

  // A base longer than its length byte is shortened to whole folders.
  TPLInfo deepList;
  const std::string deep = "/" + std::string(200, 'x') + "/" + std::string(100, 'y') + "/";
  deepList.BaseFolder = deep;
  AddItem(deepList, deep, MusicRecord("DEEP"));
  const std::string deepImage = *EncodePlayList(deepList);
  EXPECT_EQ(static_cast<unsigned char>(deepImage[32]), 202);
  PlayListContent content;
  ASSERT_EQ(ReadBinaryPlayList(deepImage, "", content), PlayListReadStatus::Ok);
  ASSERT_EQ(content.Items.size(), 1u);
  EXPECT_EQ(content.Items[0].Folder, deep);
}

TEST(PlayListFile, OverwriteQuestionAndFailuresKeepTheOldFile) {
  test::TempDir dir;
  const std::string path = dir.Write("LIST.MPL", "old");
  const TPLInfo list = MixedList();

  // An item that cannot be stored fails the save.
  TPLInfo tooLong;
  tooLong.BaseFolder = "/";
  AddItem(tooLong, "/" + std::string(250, 'z') + "/", MusicRecord("X", kRowMID, "LONGNAME.LZH"));
  RecordingMessageBox failed;
  EXPECT_EQ(SavePlayListFile(tooLong, path, false, failed), SaveResult::Failed);
  ASSERT_EQ(failed.shown.size(), 1u);
  EXPECT_EQ(failed.shown[0].text, path + std::string(playlist_text::kSaveFailedSuffix));
  EXPECT_EQ(test::ReadFileBytes(path), "old");

  RecordingMessageBox no({MessageAnswer::No});
  EXPECT_EQ(SavePlayListFile(list, path, true, no), SaveResult::Declined);
  ASSERT_EQ(no.shown.size(), 1u);
  EXPECT_EQ(no.shown[0].text, path + " は\n既に存在します. 上書きしてもよろしいですか？");
  EXPECT_EQ(test::ReadFileBytes(path), "old");

  RecordingMessageBox yes({MessageAnswer::Yes});
  EXPECT_EQ(SavePlayListFile(list, path, true, yes), SaveResult::Saved);
  EXPECT_EQ(test::ReadFileBytes(path), *EncodePlayList(list));

  // The target's folder is a file: reported, not claimed as saved.
  RecordingMessageBox box;
  EXPECT_EQ(SavePlayListFile(list, path + "/INNER.MPL", false, box), SaveResult::Failed);
  EXPECT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(test::ReadFileBytes(path), *EncodePlayList(list));
}

// Damaged current-version images: every one is reported, none crashes.
struct DamagedCase {
  const char* name;
  void (*damage)(std::string& image);
  PlayListReadStatus expected;
};

void SetSize(std::string& image, uint32_t size) {
  for (int i = 0; i < 4; ++i) image[28 + i] = static_cast<char>(size >> (8 * i));
}

class DamagedPlayList : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedPlayList, IsReportedWithoutCrashing) {
  std::string image = *EncodePlayList(MixedList());
  GetParam().damage(image);
  PlayListContent content;
  EXPECT_EQ(ReadPlayListImage(image, "", content), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedPlayList,
    ::testing::Values(
        DamagedCase{"SizeOneMore", [](std::string& i) { SetSize(i, static_cast<uint32_t>(i.size() + 1)); },
                    PlayListReadStatus::Broken},
        DamagedCase{"Truncated", [](std::string& i) { i.resize(i.size() / 2); }, PlayListReadStatus::Broken},
        DamagedCase{"HeaderOnly", [](std::string& i) { i.resize(30); }, PlayListReadStatus::Broken},
        DamagedCase{"BaseLengthPastEnd", [](std::string& i) { i.resize(40), i[32] = char(200), SetSize(i, 40); },
                    PlayListReadStatus::Broken},
        DamagedCase{"TitleLengthPastEnd",
                    [](std::string& i) {
                      const size_t title = 33 + static_cast<unsigned char>(i[32]) + 2;
                      i.resize(title + 3);
                      i[title] = static_cast<char>(250);
                      SetSize(i, static_cast<uint32_t>(i.size()));
                    },
                    PlayListReadStatus::Broken},
        DamagedCase{"GarbageAfterEndTag",
                    [](std::string& i) {
                      i += std::string("\xFF\x21\x01garbage\xFF\x30\xFF", 13);
                      SetSize(i, static_cast<uint32_t>(i.size()));
                    },
                    PlayListReadStatus::Ok}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlayListFile, SizeFieldOneByteOffIsReportedAndLeavesTheListAlone) {
  test::TempDir dir;
  std::string image = *EncodePlayList(MixedList());
  SetSize(image, static_cast<uint32_t>(image.size() - 1));
  const std::string path = dir.Write("BAD.MPL", image);
  const std::string other = dir.Write("TEXT.TXT", "hello");
  TPLInfo list = MixedList();
  RecordingMessageBox box;
  EXPECT_EQ(LoadPlayListFile(list, path, {}, box), LoadResult::Broken);
  EXPECT_EQ(LoadPlayListFile(list, other, {}, box), LoadResult::NotPlayList);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].text, path + " は壊れている可能性があります.\nPlayListの読み込みに失敗しました.");
  EXPECT_EQ(box.shown[1].text, other + " はPlayList形式のファイルではないか、\n形式が違います.\nPlayListの読み込みに失敗しました.");
  EXPECT_EQ(list.Items.size(), 3u);
  EXPECT_TRUE(list.FileName.empty());
}

// An image as a Windows build writes it: "\\" folders, relative part + archive in Archiver.
std::string WindowsImage(const std::string& base, const std::string& archiverField) {
  TMusicFileInfo r = MusicRecord("A", kRowMID);
  r.Archiver = archiverField;
  r.IconIndex = 2;
  std::string image = std::string("\xFF\x01KadrelPlayListFormat\xFF\x02\x01\x00\xFF\x20", 28) + std::string(4, '\0');
  image += static_cast<char>(base.size()) + base + std::string("\xFF\x30\x00", 3) + EncodeIndexRecord(r) + "\xFF\x29";
  SetSize(image, static_cast<uint32_t>(image.size()));
  return image;
}

TEST(PlayListFile, WindowsListsGetSlashesButKeepShiftJisNames) {
  PlayListContent content;
  ASSERT_EQ(ReadPlayListImage(WindowsImage("C:\\Music\\", "\x95\x5C\\X.LZH"), "/ignored/", content),
            PlayListReadStatus::Ok);
  EXPECT_EQ(content.BaseFolder, "C:/Music/");
  ASSERT_EQ(content.Items.size(), 1u);
  EXPECT_EQ(content.Items[0].Folder, "C:/Music/\x95\x5C/");
  EXPECT_EQ(content.Items[0].Slot, 2);
  EXPECT_EQ(content.Items[0].Music.Archiver, "X.LZH");
  EXPECT_EQ(content.Items[0].Music.ItemKind, kArchiveMember);
}

TEST(PlayListFile, ListWithoutBaseHoldsItsItemsBesideItself) {
  test::TempDir dir;
  dir.Write("sub/song.mid", "MThd");
  TPLInfo list;
  AddItem(list, "sub/", MusicRecord("song"));
  const std::string path = dir.Write("REL.MPL", *EncodePlayList(list));
  PlayListContent content;
  ASSERT_EQ(ReadPlayListFile(path, content), PlayListReadStatus::Ok);
  EXPECT_EQ(content.BaseFolder, dir.path());
  ASSERT_EQ(content.Items.size(), 1u);
  EXPECT_EQ(content.Items[0].Folder, dir.path() + "sub/");
  EXPECT_EQ(content.Items[0].Music.FileExt, ".mid");  // found under its own letter case
}

// The old text version.
constexpr std::string_view kOldList =
    "[Kadrel PlayListFile Ver0.01]\r\n"
    "SONG\r\n"
    ".mid,SMF1,\"Wrd,SW\",12KB,*,\"Say \"\"hi\"\"\",C:\\Music\\\x95\x5C\\\r\n"
    "PACKED\r\n"
    ".RCP,RCM2,DV,\"1,234KB\",3,,C:\\Music\\sub\\ARC.LZH\r\n"
    "SHORT\r\n"
    ".MP3\r\n"
    "\r\n"
    "ignored,no stem\r\n"
    "[EOF]\r\n"
    "AFTER\r\n"
    ".MID,,,1KB,*,,C:\\x\\\r\n";

TEST(OldPlayListFile, FieldsFolderAndEnd) {
  PlayListContent content;
  ASSERT_EQ(ReadPlayListImage(kOldList, "", content), PlayListReadStatus::Ok);
  ASSERT_EQ(content.Items.size(), 3u);
  EXPECT_EQ(content.BaseFolder, "");  // the item without a folder shares none
  EXPECT_TRUE(content.Title.empty());

  const TPLMusicInfo& song = content.Items[0];
  EXPECT_EQ(song.Folder, "C:/Music/\x95\x5C/");
  EXPECT_EQ(song.Slot, kAutomaticSlot);
  EXPECT_EQ(song.Music.FullName(), "SONG.mid");
  EXPECT_EQ(song.Music.FileType, kRowMID);
  EXPECT_EQ(song.Music.Info, kCompanionWrd | kCompanionSry);
  EXPECT_EQ(song.Music.Size, 12 * 1024);
  EXPECT_EQ(song.Music.Title, "Say \"hi\"");
  EXPECT_EQ(song.Music.ItemKind, kLooseFile);
  EXPECT_EQ(song.Music.InfoState, kInfoRead);
  EXPECT_EQ(song.Music.IconIndex, 2);  // MIDI with the lyrics badge

  const TPLMusicInfo& packed = content.Items[1];
  EXPECT_EQ(packed.Folder, "C:/Music/sub/");
  EXPECT_EQ(packed.Music.Archiver, "ARC.LZH");
  EXPECT_EQ(packed.Music.ItemKind, kArchiveMember);
  EXPECT_EQ(packed.Music.Info, kCompanionDv);
  EXPECT_EQ(packed.Music.Size, 1234 * 1024);
  EXPECT_EQ(packed.Slot, 3);
  EXPECT_EQ(packed.Music.InfoState, kInfoNoTitle);

  // Missing fields read as empty.
  EXPECT_EQ(content.Items[2].Music.FileType, kRowMP3);
  EXPECT_EQ(content.Items[2].Folder, "");
}

TEST(OldPlayListFile, WithoutEndMarkAndConvertedToTheCurrentVersion) {
  const std::string text = "[Kadrel PlayListFile Ver0.01]\nA\n.MID,,,2KB,5,T,C:\\M\\\nB\n.MOD,,,1KB,*,,C:\\M\\s\\";
  PlayListContent content;
  ASSERT_EQ(ReadPlayListImage(text, "", content), PlayListReadStatus::Ok);
  ASSERT_EQ(content.Items.size(), 2u);
  EXPECT_EQ(content.Items[0].Slot, 5);

  TPLInfo list;
  AppendPlayListContent(list, content, "old.mpl");
  PlayListContent again;
  ASSERT_EQ(ReadPlayListImage(*EncodePlayList(list), "", again), PlayListReadStatus::Ok);
  EXPECT_EQ(again.BaseFolder, "C:/M/");
  ASSERT_EQ(again.Items.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(again.Items[i].Folder, content.Items[i].Folder);
    EXPECT_EQ(again.Items[i].Slot, content.Items[i].Slot);
    EXPECT_EQ(again.Items[i].Music.Title, content.Items[i].Music.Title);
    EXPECT_EQ(again.Items[i].Music.Size, content.Items[i].Music.Size);
  }
}

}  // namespace
}  // namespace kadrel
