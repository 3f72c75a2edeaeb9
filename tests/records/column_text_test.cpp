#include <gtest/gtest.h>

#include "catalog/column_text.h"
#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "catalog/format_table.h"

namespace kadrel {
namespace {

TMusicFileInfo File(int state = kInfoRead) {
  TMusicFileInfo r;
  r.ItemKind = kLooseFile;
  r.FileName = "Song";
  r.FileExt = ".mid";
  r.FileType = kRowMID;
  r.Detail = "SMF1";
  r.Title = "Title";
  r.InfoState = state;
  r.DosDate = PackDosStamp({1998, 7, 5, 13, 4, 6}).date;
  r.DosTime = PackDosStamp({1998, 7, 5, 13, 4, 6}).time;
  return r;
}

TEST(ColumnText, FoldersAndTheParentEntry) {
  TListViewOption o;
  TMusicFileInfo parent;
  parent.ItemKind = kParentEntry;
  parent.FileName = "..";
  TMusicFileInfo folder = parent;
  folder.ItemKind = kFolderEntry;
  folder.FileName = "Game";
  EXPECT_EQ(ColumnText(parent, kColType, o), "<Dir>");
  EXPECT_EQ(ColumnText(parent, kColArchiver, o), ".");
  EXPECT_EQ(DisplayText(ColumnText(parent, kColTitle, o)), "１つ上のフォルダへ移動します");
  EXPECT_EQ(ColumnText(folder, kColTitle, o), "");
  EXPECT_EQ(ColumnText(folder, kColSize, o), "");
}

TEST(ColumnText, FileColumnsFollowTheState) {
  TListViewOption o;
  EXPECT_EQ(ColumnText(File(), kColArchiver, o), ".");
  EXPECT_EQ(ColumnText(File(), kColType, o), ".MID");
  EXPECT_EQ(ColumnText(File(kInfoNoTitle), kColDetail, o), "SMF1");
  EXPECT_EQ(ColumnText(File(kInfoNoTitle), kColTitle, o), o.ErrTitle[3]);
  EXPECT_EQ(ColumnText(File(kInfoFormatMismatch), kColDetail, o), "***");
  EXPECT_EQ(DisplayText(ColumnText(File(kInfoCannotOpen), kColTitle, o)), " // Fileが使用できません //");
  TMusicFileInfo r = File();
  r.Info = kCompanionWrd | kCompanionSry;
  EXPECT_EQ(ColumnText(r, kColInfo, o), "Wrd SW ");
}

TEST(ColumnText, SizeRoundsUpToKilobytes) {
  EXPECT_EQ(SizeText(0), "0KB");
  EXPECT_EQ(SizeText(1024), "1KB");
  EXPECT_EQ(SizeText(1025), "2KB");
}

TEST(ColumnText, NameCaseAndDateForms) {
  TListViewOption o;
  DecodeShowStyle(0x04 | 0x20 | 0x80, o);  // lower case, hh:nn, four-digit year
  EXPECT_EQ(ColumnText(File(), kColFileName, o), "song");
  EXPECT_EQ(ColumnText(File(), kColType, o), ".mid");
  EXPECT_EQ(ColumnText(File(), kColDate, o), "1998/07/05 13:04");
  DecodeShowStyle(0x02 | 0x10, o);  // upper case, date only, two-digit year
  EXPECT_EQ(ColumnText(File(), kColFileName, o), "SONG");
  EXPECT_EQ(ColumnText(File(), kColDate, o), "98/07/05");
  DecodeShowStyle(0x01 | 0x40, o);
  EXPECT_EQ(ColumnText(File(), kColDate, o), "98/07/05 13:04:06");
}

TEST(ColumnText, InvalidDatesAndFallbacks) {
  TListViewOption o;
  TMusicFileInfo r = File();
  r.DosDate = static_cast<uint16_t>((18 << 9) | (0 << 5) | 5);  // month 0
  EXPECT_EQ(DisplayText(ColumnText(r, kColDate, o)), "取得に失敗");
  r.Composer = "Yamada";
  EXPECT_EQ(ColumnText(r, kColArtist, o), "Yamada");
  EXPECT_EQ(ColumnText(r, kColComposer, o), "Yamada");
  DecodeShowStyle2(0, o);
  EXPECT_EQ(ColumnText(r, kColArtist, o), "");
}

TEST(FormatLookup, LooseFilesAndArchiveMembers) {
  EXPECT_EQ(FormatRowForFileName("song.mid"), kRowMID);
  EXPECT_EQ(FormatRowForFileName("LIST.MPL"), kRowMPL);
  EXPECT_EQ(FormatRowForFileName("readme.txt"), kNoFormatRow);
  EXPECT_EQ(FormatRowForFileName("SONG"), kNoFormatRow);
  EXPECT_EQ(FormatRowForMemberExtension("g36"), kRowG36);
  EXPECT_EQ(FormatRowForMemberExtension("MPL"), -1);  // play lists never come from archives
  EXPECT_EQ(IconIndexFor(kRowRCP, 0), 3);
  EXPECT_EQ(IconIndexFor(kRowRCP, kCompanionWrd), 4);
}

TEST(PackedOptions, HighestSetBitOfAOneHotGroupWins) {
  TListViewOption o;
  DecodeShowStyle(0x07 | 0x70, o);
  EXPECT_EQ(o.NameCase, 2);
  EXPECT_EQ(o.DateForm, 2);
  TMainOption m;
  DecodeIndexStyleEx(1, m);
  EXPECT_EQ(m.IndexMode, 0);
  DecodeIndexStyleEx(660, m);
  EXPECT_EQ(m.IndexMode, 2);
  EXPECT_TRUE(m.SaveIndexRemovable);
  EXPECT_EQ(m.RemovableIndexPlace, 2);
  DecodeSearchStyleEx(9, m);
  EXPECT_TRUE(m.ShowWhileScanning);
  EXPECT_EQ(m.ScanSortMode, 2);
}

}  // namespace
}  // namespace kadrel
