// The full scan over real LZH archives (stored archives written for the test), read
// through the LZH layer and the document readers, driven as the window drives it.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "scan/lzh_archive_port.h"
#include "archive/lzh_writer.h"
#include "archive/unlha.h"
#include "scan/scan_fixture.h"

namespace kadrel {
namespace {
using namespace kadrel::test;
namespace fs = std::filesystem;

constexpr uint32_t kStamp = 1000000000;  // 2001-09-09

StoredMember Member(const std::string& path, const std::string& data) { return {path, data, kStamp, false}; }

void Archive(const TempDir& dir, const std::string& name, const std::vector<StoredMember>& members, int level = 2) {
  std::string error;
  ASSERT_TRUE(WriteStoredArchive(dir.path() + name, members, level, &error)) << error;
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A scan with the real archive port and a work folder that holds files of its own.
class ArchiveScan : public ::testing::Test {
 protected:
  void SetUp() override {
    work_.Write("KEEP.TXT", "the user's file");
    work_.MakeFolder("keep");
    scan_.settings().workFolder = work_.path();
    scan_.settings().main.Formats = FormatFilter(0x1FFFF);  // MGS rows too
    scan_.settings().main.ScanSortMode = 0;                 // rows stay in scan order
  }
  void Open() { scan_.Open(dir_.path(), &port_); }
  // Only the files that were there before the scan are left in the work folder.
  void ExpectWorkFolderUntouched() {
    EXPECT_EQ(Listing(work_.path()), (std::vector<std::string>{"KEEP.TXT", "keep"}));
    EXPECT_EQ(ReadFileBytes(work_.path() + "KEEP.TXT"), "the user's file");
  }

  TempDir dir_, work_;
  LzhArchivePort port_;
  ScanHarness scan_;
};

TEST_F(ArchiveScan, MembersInFoldersListByBaseNameAndShareCompanions) {
  dir_.Write("LOOSE.MID", Midi("loose"));
  Archive(dir_, "PACK.LZH", {Member("A/SONG.MID", Midi("Archived")), Member("A/SONG.WRD", "w"),
                             Member("B/SONG.WRD", "w"), Member("C/song.sry", "s"), Member("OTHER.RCP", "x")});
  Open();
  EXPECT_EQ(scan_.Names(), (std::vector<std::string>{"..", "LOOSE.MID", "SONG.MID", "OTHER.RCP"}));
  const TMusicFileInfo* r = scan_.Find("SONG.MID");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->ItemKind, kArchiveMember);
  EXPECT_EQ(r->Archiver, "PACK.LZH");
  EXPECT_EQ(r->Title, "Archived");
  EXPECT_EQ(r->InfoState, kInfoRead);
  EXPECT_EQ(r->Info, kCompanionWrd | kCompanionSry);  // two WRD members count once
  EXPECT_EQ(r->IconIndex, 2);  // MIDI with the lyrics badge
  EXPECT_EQ(r->Size, static_cast<int32_t>(Midi("Archived").size()));
  const DosStamp stamp = DosStampFromUnixTime(kStamp);
  EXPECT_EQ(r->DosDate, stamp.date);
  EXPECT_EQ(r->DosTime, stamp.time);
  EXPECT_EQ(scan_.index.saves, 1);
  EXPECT_FALSE(scan_.view.touchedOffWindowThread);
  ExpectWorkFolderUntouched();
}

// "LzhStyle" decides which members are read; "LZHByte" is a limit in units of 1024 bytes.
struct StyleCase {
  int style;
  int32_t atLimit, belowLimit;  // states of the two members; -1: not listed
};

class ArchiveStyle : public ArchiveScan, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(ArchiveStyle, SizeLimitAndUnreadMembers) {
  auto sized = [](const std::string& title, size_t size) {
    std::string data = Midi(title);
    data.resize(size, '\0');
    return data;
  };
  Archive(dir_, "SIZES.LZH", {Member("LIMIT.MID", sized("at limit", 700 * 1024)),
                              Member("BELOW.MID", sized("below limit", 700 * 1024 - 1))});
  scan_.settings().main.LzhStyle = GetParam().style;
  scan_.settings().main.LZHByte = 700;
  Open();
  const TMusicFileInfo* limit = scan_.Find("LIMIT.MID");
  const TMusicFileInfo* below = scan_.Find("BELOW.MID");
  if (GetParam().atLimit < 0) {
    EXPECT_EQ(limit, nullptr);
    EXPECT_EQ(below, nullptr);
    return;
  }
  ASSERT_TRUE(limit && below);
  EXPECT_EQ(limit->InfoState, GetParam().atLimit);
  EXPECT_EQ(below->InfoState, GetParam().belowLimit);
  EXPECT_EQ(limit->Title.empty(), GetParam().atLimit != kInfoRead);
  EXPECT_EQ(below->Title.empty(), GetParam().belowLimit != kInfoRead);
  ExpectWorkFolderUntouched();
}

INSTANTIATE_TEST_SUITE_P(Styles, ArchiveStyle,
                         ::testing::Values(StyleCase{0, -1, -1}, StyleCase{1, kInfoNotSearched, kInfoNotSearched},
                                           StyleCase{2, kInfoTooLarge, kInfoRead}, StyleCase{3, kInfoRead, kInfoRead}));

// The document of a member: one with its own name inside, else one named after the
// archive beside it (any letter case, the extension as the settings spell it or in
// UTF-8), else the first document inside. The work folder is left as it was.
struct DocumentCase {
  std::string beside;   // document beside the archive; empty: none
  int othersGetstyle;   // 0: only the title is looked for (single extraction); 2: bulk extraction
  std::string title, composer;
};

class ArchiveDocuments : public ArchiveScan, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(ArchiveDocuments, DocumentBesideTheArchiveComesFirst) {
  const DocumentCase& c = GetParam();
  Archive(dir_, "SONG.LZH", {Member("SONG.MID", Midi("")), Member("B/OTHER.MID", Midi("")),
                             Member("DOCS/README.TXT", Cp932("曲名：中の曲\r\n作曲：鈴木\r\n"))});
  if (!c.beside.empty()) {
    dir_.Write("SONG.DOC", Cp932("曲名：横の曲\r\n作曲：山田\r\n"));
    if (c.beside != "SONG.DOC") dir_.Write(c.beside, Cp932("曲名：前の曲\r\n作曲：佐藤\r\n"));
  }
  scan_.settings().main.OthersGetstyle = c.othersGetstyle;
  std::atomic<int> extractions{0};
  SetUnlhaCommandObserver([&](const std::string&) { ++extractions; });
  Open();
  SetUnlhaCommandObserver({});
  // Documents inside the archive are read from memory: nothing is extracted.
  EXPECT_EQ(extractions, 0);
  for (const char* name : {"SONG.MID", "OTHER.MID"}) {
    const TMusicFileInfo* r = scan_.Find(name);
    ASSERT_TRUE(r) << name;
    EXPECT_EQ(r->DocFile, c.beside.empty() ? "README.TXT" : dir_.path() + c.beside) << name;
    EXPECT_EQ(DisplayText(r->Title), c.title) << name;
    EXPECT_EQ(DisplayText(r->Composer), c.composer) << name;
  }
  ExpectWorkFolderUntouched();
  EXPECT_TRUE(scan_.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Documents, ArchiveDocuments,
                         ::testing::Values(DocumentCase{"SONG.DOC", 0, "横の曲", ""},
                                           DocumentCase{"", 0, "中の曲", ""},
                                           DocumentCase{"SONG.DOC", 2, "横の曲", "山田"},
                                           DocumentCase{"", 2, "中の曲", "鈴木"},
                                           DocumentCase{"song.ﾎｿｸ", 2, "前の曲", "佐藤"}));

TEST_F(ArchiveScan, MgsScriptsInArchives) {
  auto script = [](const std::string& link) { return "#TITLE  \r\n" + (link.empty() ? "" : "@MIDIPLAY  " + link + "\r\n"); };
  Archive(dir_, "MGS.LZH", {Member("NOLINK.MGS", script("")), Member("SONG.MGS", script("SONG.MID")),
                            Member("SONG.MID", Midi("Linked title")), Member("TWO.MGS", script("two.mid")),
                            Member("TWO.MID", Midi("Second")), Member("NEXT.MID", Midi("Next"))});
  struct Case {
    uint32_t formats;
    bool hide;
    std::vector<std::string> listed;
  };
  const uint32_t withMgs = 0x1FFFF;
  for (const Case& c : {Case{withMgs, false, {"TWO.MGS", "SONG.MGS", "SONG.MID", "TWO.MID", "NEXT.MID"}},
                        Case{withMgs, true, {"TWO.MGS", "SONG.MGS", "NEXT.MID"}},
                        Case{kDefaultFormatMask, true, {"SONG.MID", "TWO.MID", "NEXT.MID"}}}) {
    ScanHarness scan;
    scan.settings().workFolder = work_.path();
    scan.settings().main.Formats = FormatFilter(c.formats);
    scan.settings().main.MgsMusicInVisible = c.hide;
    scan.settings().main.ScanSortMode = 0;
    scan.Open(dir_.path(), &port_);
    std::vector<std::string> expected{".."};
    expected.insert(expected.end(), c.listed.begin(), c.listed.end());
    EXPECT_EQ(scan.Names(), expected) << c.formats << " " << c.hide;
    if (const TMusicFileInfo* s = scan.Find("SONG.MGS")) {
      EXPECT_EQ(s->Title + " " + s->Detail, "Linked title SMF0");
    }
    if (const TMusicFileInfo* s = scan.Find("TWO.MGS")) {
      EXPECT_EQ(s->Title, "Second");
    }
  }
  ExpectWorkFolderUntouched();
}

TEST_F(ArchiveScan, DocumentsExtractedForHiddenMusicAreRemovedToo) {
  Archive(dir_, "ALT.LZH", {Member("ALT.MGS", "@MIDIPLAY  OTHER.MID\r\n"), Member("NEXT.MID", Midi("Next")),
                            Member("NEXT.TXT", Cp932("作曲：次\r\n")), Member("OTHER.MID", Midi("Other")),
                            Member("OTHER.TXT", Cp932("作曲：別\r\n"))});
  scan_.settings().main.MgsMusicInVisible = true;
  scan_.settings().main.OthersGetstyle = 2;  // documents extracted in bulk
  Open();
  EXPECT_EQ(scan_.Names(), (std::vector<std::string>{"..", "ALT.MGS", "NEXT.MID"}));
  EXPECT_EQ(DisplayText(scan_.Find("NEXT.MID")->Composer), "次");
  ExpectWorkFolderUntouched();
}

// Member names are CP932 bytes; a trail byte 0x5C is no folder separator.
class ArchiveNames : public ArchiveScan, public ::testing::WithParamInterface<int> {};

TEST_P(ArchiveNames, ShiftJisNamesKeepTheirBytes) {
  const std::string folder = Cp932("表");        // 0x95 0x5C
  const std::string stem = Cp932("ソング十");     // ソ is 0x83 0x5C
  Archive(dir_, "JP.LZH", {Member(folder + "/" + stem + ".MID", Midi("Named in kana")), Member(stem + ".WRD", "w")}, GetParam());
  Open();
  const TMusicFileInfo* r = scan_.Find(stem + ".MID");
  ASSERT_TRUE(r) << ::testing::PrintToString(scan_.Names());
  EXPECT_EQ(r->FileName, stem);
  EXPECT_EQ(r->Title, "Named in kana");
  EXPECT_EQ(r->Info, kCompanionWrd);
}

INSTANTIATE_TEST_SUITE_P(HeaderLevels, ArchiveNames, ::testing::Values(0, 1, 2));

TEST_F(ArchiveScan, DamagedArchivesGiveStatesNotCrashes) {
  // Three members, the file cut inside the last one's data.
  const std::string whole = BuildStoredArchive(
      {Member("A.MID", Midi("first")), Member("B.MID", Midi("second")), Member("C.MID", Midi("third") + std::string(400, 'x'))});
  ASSERT_FALSE(whole.empty());
  dir_.Write("CUT.LZH", whole.substr(0, whole.size() - 200));
  // A data byte changed: the member is listed but its CRC fails.
  std::string flipped = BuildStoredArchive({Member("D.MID", Midi("crc")), Member("E.MID", Midi("fine"))});
  const size_t at = flipped.find("crc");
  ASSERT_NE(at, std::string::npos);
  flipped[at] = 'C';
  dir_.Write("CRC.LZH", flipped);
  dir_.Write("JUNK.LZH", std::string(5000, '\x7f'));
  dir_.Write("EMPTY.LZH", "");
  dir_.Write("LOOSE.MID", Midi("still here"));
  Open();
  auto state = [&](const std::string& name) { return scan_.Find(name) ? scan_.Find(name)->InfoState : -1; };
  EXPECT_EQ(state("LOOSE.MID"), kInfoRead);
  EXPECT_EQ(state("A.MID"), kInfoRead);
  EXPECT_EQ(state("B.MID"), kInfoRead);
  EXPECT_EQ(state("C.MID"), kInfoCannotOpen);
  EXPECT_EQ(state("D.MID"), kInfoCannotOpen);
  EXPECT_EQ(state("E.MID"), kInfoRead);
  EXPECT_EQ(scan_.Find("C.MID")->Title, "");
  EXPECT_EQ(scan_.view.Count(), 7);
  EXPECT_EQ(scan_.view.status[0], "検索完了しました..");
  ExpectWorkFolderUntouched();
}

TEST_F(ArchiveScan, StopDuringALargeArchiveKeepsTheRowsAndEndsThePass) {
  dir_.Write("LOOSE.MID", Midi("loose"));
  std::vector<StoredMember> many;
  for (int i = 0; i < 400; ++i) many.push_back(Member("M" + std::to_string(i) + ".MID", Midi("m")));
  many.push_back(Member("M0.TXT", Cp932("作曲：誰か\r\n")));
  Archive(dir_, "BIG.LZH", many);
  Archive(dir_, "ZED.LZH", {Member("LAST.MID", Midi("last"))});
  scan_.settings().main.OthersGetstyle = 2;  // documents extracted in bulk
  int members = 0;
  scan_.view.onAdd = [&](const TMusicFileInfo& r) {
    if (r.ItemKind == kArchiveMember && ++members == 1) scan_.controller->Stop();
  };
  Open();
  EXPECT_TRUE(scan_.Find("LOOSE.MID"));
  EXPECT_TRUE(scan_.Find("M0.MID"));
  EXPECT_EQ(scan_.Find("LAST.MID"), nullptr);
  EXPECT_EQ(scan_.view.status[0], "検索完了しました..");
  EXPECT_FALSE(scan_.controller->ScanRunning());
  EXPECT_FALSE(scan_.view.busy);
  // A stopped pass does not store its partial list.
  EXPECT_EQ(scan_.index.saves, 0);
  ExpectWorkFolderUntouched();

  // Opened again, the folder is scanned in full.
  scan_.view.onAdd = nullptr;
  EXPECT_FALSE(scan_.Open(dir_.path(), &port_));
  EXPECT_EQ(scan_.view.Count(), 1 + 1 + 400 + 1);
  EXPECT_EQ(scan_.index.saves, 1);
}

}  // namespace
}  // namespace kadrel

namespace kadrel {
namespace {

// The update pass keeps the members an archive still holds and removes the others, and
// the rows of an archive that is gone.
TEST_F(ArchiveScan, UpdatePassChecksMembersAgainstTheArchive) {
  Archive(dir_, "PACK.LZH", {Member("ONE.MID", Midi("one")), Member("TWO.MID", Midi("two"))});
  Archive(dir_, "GONE.LZH", {Member("THREE.MID", Midi("three"))});
  Open();
  ASSERT_TRUE(scan_.Find("TWO.MID"));
  ASSERT_TRUE(scan_.Find("THREE.MID"));
  Archive(dir_, "PACK.LZH", {Member("one.mid", Midi("one"))});  // rewritten without TWO.MID
  fs::remove(dir_.path() + "GONE.LZH");
  scan_.Update(ScanMode::UpdateAfterIndexLoad);
  EXPECT_TRUE(scan_.Find("ONE.MID"));  // found again in any letter case
  EXPECT_EQ(scan_.Find("TWO.MID"), nullptr);
  EXPECT_EQ(scan_.Find("THREE.MID"), nullptr);
}

}  // namespace
}  // namespace kadrel
