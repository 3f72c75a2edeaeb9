// The full scan and the update pass over loose files, driven as the window drives them.

#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/column_text.h"
#include "base/encoding.h"
#include "scan/scan_fixture.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

TEST(LooseScan, FolderWithoutMusicListsFoldersOnlyAndSavesNoIndex) {
  TempDir dir;
  dir.MakeFolder("Beta");
  dir.MakeFolder("alpha");
  dir.Write("notes.txt", "hello");
  ScanHarness scan;
  EXPECT_FALSE(scan.Open(dir.path()));
  EXPECT_EQ(scan.Names(), (std::vector<std::string>{"..", "alpha", "Beta"}));
  EXPECT_EQ(scan.view.list[0]->ItemKind, kParentEntry);
  EXPECT_EQ(scan.view.list[1]->IconIndex, 16);  // the folder image
  EXPECT_EQ(scan.index.saves, 0);
  EXPECT_EQ(scan.view.status[0], "検索完了しました..");
  EXPECT_FALSE(scan.view.busy);
  EXPECT_FALSE(scan.view.touchedOffWindowThread);
}

// The worker's one listing gives the sub-folder rows before the pass: coming up from a
// sub-folder focuses its row, whether the files then come from the index or not.
TEST(LooseScan, ComingUpFromASubFolderFocusesItsRow) {
  TempDir dir;
  dir.MakeFolder("alpha");
  dir.MakeFolder("Beta");
  dir.Write("SONG.MID", Midi("song"));
  ScanHarness scan;
  scan.Open(dir.path(), nullptr, true, dir.path() + "beta/");
  EXPECT_EQ(scan.Names(), (std::vector<std::string>{"..", "alpha", "Beta", "SONG.MID"}));
  EXPECT_EQ(scan.view.focused, 2);
  ASSERT_TRUE(scan.Open(dir.path(), nullptr, true, dir.path() + "alpha"));
  EXPECT_EQ(scan.view.focused, 1);
  EXPECT_EQ(scan.Names(), (std::vector<std::string>{"..", "alpha", "Beta", "SONG.MID"}));
  EXPECT_FALSE(scan.view.touchedOffWindowThread);
}

TEST(LooseScan, CompanionsDocumentsAndTheirPriority) {
  TempDir dir;
  dir.Write("SONG.MID", Smf({EndOfTrack()}, 0));
  dir.Write("song.wrd", "w");
  dir.Write("SONG.DV", "d");
  dir.Write("SONG.TXT", Cp932("曲名：テキストの曲\r\n"));
  dir.Write("SONG.DOC", Cp932("曲名：ドキュメントの曲\r\n作曲：山田\r\n"));
  ScanHarness scan;
  scan.settings().main.OthersGetstyle = 2;
  scan.Open(dir.path());
  const TMusicFileInfo* r = scan.Find("SONG.MID");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Info, kCompanionWrd | kCompanionDv);
  EXPECT_EQ(r->IconIndex, 2);  // MIDI with the lyrics badge
  EXPECT_EQ(r->DocFile, dir.path() + "SONG.DOC");  // DOC comes before TXT
  EXPECT_EQ(DisplayText(r->Title), "ドキュメントの曲");
  EXPECT_EQ(DisplayText(r->Composer), "山田");
  EXPECT_EQ(r->InfoState, kInfoRead);
  EXPECT_EQ(scan.index.saves, 1);
}

// A music file whose stem no other file has skips its look-ups, except where a
// document extension holds a dot or names a music format.
TEST(LooseScan, DocumentExtensionsWithADotOrAMusicCode) {
  TempDir dir;
  dir.Write("ONE.MID", Midi("one"));
  dir.Write("one.tar.txt", "x");
  dir.Write("TWO.RCP", "r");
  dir.Write("THREE.MID", Midi("three"));
  ScanHarness scan;
  scan.settings().main.InfoGetType = "TAR.TXT,RCP";
  scan.Open(dir.path());
  ASSERT_TRUE(scan.Find("ONE.MID") && scan.Find("TWO.RCP") && scan.Find("THREE.MID"));
  EXPECT_EQ(scan.Find("ONE.MID")->DocFile, dir.path() + "one.tar.txt");
  EXPECT_EQ(scan.Find("TWO.RCP")->DocFile, dir.path() + "TWO.RCP");  // its own document
  EXPECT_EQ(scan.Find("THREE.MID")->DocFile, "");
}

TEST(LooseScan, DisabledFormatsAndUnknownFilesAreLeftOut) {
  TempDir dir;
  dir.Write("A.MID", Midi("a"));
  dir.Write("B.WAV", "RIFF");
  dir.Write("C.XYZ", "x");
  ScanHarness scan;
  scan.settings().main.Formats = FormatFilter(kDefaultFormatMask & ~(1u << kRowWAV));
  scan.Open(dir.path());
  EXPECT_EQ(scan.Names(), (std::vector<std::string>{"..", "A.MID"}));
}

TEST(LooseScan, MgsScriptsLinkAndHideTheirMusic) {
  TempDir dir;
  dir.Write("SONG.MGS", "#TITLE  \r\n@MIDIPLAY  SONG.MID\r\n");
  dir.Write("NOLINK.MGS", "#TITLE  Lost\r\n");
  dir.Write("SONG.MID", Midi("Linked title"));
  dir.Write("OTHER.MID", Midi("Other"));
  for (bool hide : {false, true}) {
    ScanHarness scan;
    scan.settings().main.Formats = FormatFilter(0x1FFFF);
    scan.settings().main.MgsMusicInVisible = hide;
    scan.Open(dir.path());
    const TMusicFileInfo* script = scan.Find("SONG.MGS");
    ASSERT_TRUE(script) << hide;
    EXPECT_EQ(script->Title, "Linked title");
    EXPECT_EQ(script->Detail, "SMF0");
    EXPECT_EQ(script->FileType, kRowMGS);
    EXPECT_EQ(scan.Find("NOLINK.MGS"), nullptr);
    EXPECT_EQ(scan.Find("SONG.MID") != nullptr, !hide);
    EXPECT_TRUE(scan.Find("OTHER.MID"));
  }
}

TEST(LooseScan, SortedInsertionKeepsTheListInOrder) {
  TempDir dir;
  for (const char* n : {"C", "A", "B"}) dir.Write(std::string(n) + ".MID", Midi(n));
  ScanHarness scan;
  scan.settings().main.ScanSortMode = 1;
  scan.view.sort.Key = kColFileName;
  scan.view.sort.Direction = 1;
  scan.Open(dir.path());
  EXPECT_EQ(scan.Names(), (std::vector<std::string>{"..", "C.MID", "B.MID", "A.MID"}));
}

TEST(UpdatePass, RemovesDeletedFilesAndAddsNewOnes) {
  TempDir dir;
  dir.Write("KEEP.MID", Midi("keep"));
  dir.Write("GONE.MID", Midi("gone"));
  ScanHarness scan;
  scan.Open(dir.path());
  ASSERT_TRUE(scan.Find("GONE.MID"));
  std::filesystem::remove(dir.path() + "GONE.MID");
  dir.Write("NEW.MID", Midi("new song"));
  dir.MakeFolder("Sub");
  scan.Update(ScanMode::UpdateWithSubFolders);
  EXPECT_EQ(scan.Find("GONE.MID"), nullptr);
  EXPECT_TRUE(scan.Find("KEEP.MID"));
  ASSERT_TRUE(scan.Find("NEW.MID"));
  EXPECT_EQ(scan.Find("NEW.MID")->Title, "new song");
  EXPECT_TRUE(scan.Find("Sub"));
  EXPECT_EQ(scan.view.status[0], "ready..");
  EXPECT_EQ(scan.index.replaces, 0);  // the list came from the files, not from the index
}

// Files that appear while a sorted list is shown take their place in its order.
TEST(UpdatePass, NewFilesKeepTheListsOrder) {
  TempDir dir;
  dir.Write("B.MID", Midi("b"));
  dir.Write("D.MID", Midi("d"));
  ScanHarness scan;
  scan.view.sort.Key = kColFileName;
  scan.Open(dir.path());
  dir.Write("C.MID", Midi("c"));
  dir.Write("A.MID", Midi("a"));
  scan.Update(ScanMode::UpdateWithSubFolders);
  EXPECT_EQ(scan.Names(), (std::vector<std::string>{"..", "A.MID", "B.MID", "C.MID", "D.MID"}));
}

TEST(UpdatePass, SecondOpeningComesFromTheIndex) {
  TempDir dir;
  dir.Write("ONE.MID", Midi("one"));
  ScanHarness scan;
  EXPECT_FALSE(scan.Open(dir.path()));
  EXPECT_TRUE(scan.Open(dir.path()));
  EXPECT_EQ(scan.view.status[1], "インデックスを使用しました..");
  EXPECT_EQ(scan.Names(), (std::vector<std::string>{"..", "ONE.MID"}));
  EXPECT_EQ(scan.index.replaces, 0);  // nothing changed
  dir.Write("TWO.MID", Midi("two"));
  scan.Update(ScanMode::UpdateWithSubFolders);
  EXPECT_EQ(scan.index.replaces, 1);  // the count changed: the block is written anew
  ASSERT_EQ(scan.index.blocks[dir.path()].size(), 2u);
  EXPECT_EQ(scan.index.blocks[dir.path()][1].FullName(), "TWO.MID");
}

TEST(LooseScan, StopEndsThePassAndTheEndHandlerStillRuns) {
  TempDir dir;
  for (int i = 0; i < 300; ++i) dir.Write("F" + std::to_string(i) + ".MID", Midi("t"));
  ScanHarness scan;
  scan.view.onAdd = [&](const TMusicFileInfo& r) {
    if (r.ItemKind == kLooseFile) scan.controller->Stop();
  };
  scan.Open(dir.path());
  EXPECT_GE(scan.view.Count(), 2);
  EXPECT_LT(scan.view.Count(), 301);
  EXPECT_FALSE(scan.controller->ScanRunning());
  EXPECT_FALSE(scan.view.busy);
}

TEST(LooseScan, VanishedFolderStillEndsThePass) {
  ScanHarness scan;
  scan.Open("/nonexistent/kadrel/folder/");
  EXPECT_EQ(scan.view.Count(), 0);
  EXPECT_FALSE(scan.controller->ScanRunning());
}

}  // namespace
}  // namespace kadrel
