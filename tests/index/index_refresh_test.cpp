#include "index/index_refresh.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/byte_cursor.h"
#include "index/folder_names.h"
#include "index/index_format.h"
#include "index_fixture.h"

namespace kadrel {
namespace {

using test::Entry;
using test::ReadFileBytes;

class RefreshTest : public test::IndexTest {
 protected:
  RefreshTest() : index(MakeIndex()) {}

  // Lists `name` (created on disk) with the given entries into the index.
  std::string AddFolder(const std::string& name, std::vector<TMusicFileInfo> list = {Entry("x", kRowMID, kLooseFile)}) {
    const std::string folder = temp.MakeFolder(name);
    EXPECT_TRUE(SaveBlock(index, folder, list));
    return folder;
  }

  IndexRefresher Refresher() {
    RefreshView view;
    view.addRow = [this](const RefreshFinding& f) { rows.push_back(f); };
    view.progress = [this](int pos, int max) { lastProgress = {pos, max}; };
    view.serviceEvents = [this] { if (onService) onService(); };
    return IndexRefresher(
        index,
        [this](const std::string& folder, const std::string& name, const std::string& arc) {
          ++checks;
          return !arc.empty() && goneArchives.count(folder + arc) ? 2 : goneFiles.count(folder + name) ? 1 : 0;
        },
        view);
  }

  std::vector<std::string> BlockFolders() const {
    std::vector<std::string> folders;
    for (size_t p = kIndexHeaderSize; p < index.Image().size();) {
      auto b = BlockAt(index.Image(), p);
      if (!b || !b->sound) break;
      folders.push_back(b->folder);
      p += b->length;
    }
    return folders;
  }

  TFolderIndex index;
  std::vector<RefreshFinding> rows;
  std::pair<int, int> lastProgress;
  std::function<void()> onService;
  std::set<std::string> goneFiles, goneArchives;
  int checks = 0;
};

TEST_F(RefreshTest, KeepsBlocksAnotherProgramAddedAfterTheLoad) {
  AddFolder("a");
  // A second program (here a second store on the same file) adds a block after ours
  // loaded the file; the refresh then saves the whole image.
  TFolderIndex other = MakeIndex();
  ASSERT_TRUE(SaveBlock(other, temp.MakeFolder("b"), {Entry("y", kRowMID, kLooseFile)}));
  EXPECT_EQ(Refresher().RefreshIndex(1), RefreshResult::Done);
  TFolderIndex reader = MakeIndex();
  ASSERT_TRUE(reader.LoadIndexFile(DrivePath()));
  EXPECT_NE(reader.Image().find(temp.path() + "b/"), std::string::npos);
  EXPECT_NE(reader.Image().find(temp.path() + "a/"), std::string::npos);
}

TEST_F(RefreshTest, SoundIndexIsLeftUnchanged) {
  AddFolder("a", {Entry("x", kRowMID, kArchiveMember, "A.LZH")});
  AddFolder("b", {Entry("y", kRowRCP, kLooseFile)});
  const std::string before = ReadFileBytes(DrivePath());
  IndexRefresher r = Refresher();
  EXPECT_EQ(r.RefreshIndex(1), RefreshResult::Done);
  EXPECT_EQ(r.RefreshIndex(2), RefreshResult::Done);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(ReadFileBytes(DrivePath()), before);
  EXPECT_EQ(lastProgress, std::make_pair(1100, 1100));
  EXPECT_EQ(status.back(), std::make_pair(1, std::string()));
  EXPECT_EQ(checks, 2);
}

TEST_F(RefreshTest, GoneFolderIsRemovedAndFollowingBlocksStillExamined) {
  const std::string a = AddFolder("a"), b = AddFolder("b"), c = AddFolder("c");
  std::filesystem::remove(a);
  std::filesystem::remove(b);
  EXPECT_EQ(Refresher().RefreshIndex(1), RefreshResult::Done);
  const std::string gone = "Lev.1 Folderが存在しません.";
  EXPECT_EQ(rows, (std::vector<RefreshFinding>{{a, ".", ".", gone}, {b, ".", ".", gone}}));
  EXPECT_EQ(BlockFolders(), std::vector<std::string>{c});
  EXPECT_EQ(ReadFileBytes(DrivePath()), index.Image());
}

TEST_F(RefreshTest, DamagedBlocksAreReportedAndCut) {
  const std::string a = AddFolder("a"), b = AddFolder("b"), c = AddFolder("c");
  std::string& image = index.MutableImage();
  // a: length too large, its bytes still end in the end marker before b.
  StoreLe32(image, 28, Le32At(image, 28).value_or(0) + 40);
  // c (the last block): length points backwards into the block.
  StoreLe32(image, FindFolderBlock(image, c)->offset + 2, 3);
  ASSERT_TRUE(index.SaveImage());
  EXPECT_EQ(Refresher().RefreshIndex(1), RefreshResult::Done);
  const std::string bad = "Lev.1 Folder情報が不正です.";
  EXPECT_EQ(rows, (std::vector<RefreshFinding>{{a, ".", ".", bad}, {c, ".", ".", bad}}));
  EXPECT_EQ(BlockFolders(), std::vector<std::string>{b});
  EXPECT_EQ(index.Image().size(), kIndexHeaderSize + FindFolderBlock(index.Image(), b)->length);
  EXPECT_EQ(ReadFileBytes(DrivePath()), index.Image());
}

TEST_F(RefreshTest, Level2CutsGoneRecordsAndEmptiedBlocks) {
  const std::string a = AddFolder("a", {Entry("m1", kRowMID, kArchiveMember, "A.LZH"),
                                        Entry("m2", kRowRCP, kArchiveMember, "A.LZH")});
  const std::string b = AddFolder("b", {Entry("keep", kRowMID, kLooseFile), Entry("lost", kRowMID, kLooseFile),
                                        Entry("last", kRowMID, kLooseFile)});
  goneArchives = {a + "A.LZH"};
  goneFiles = {b + "lost.MID", b + "last.MID"};
  EXPECT_EQ(Refresher().RefreshIndex(2), RefreshResult::Done);
  const std::string noArc = "Lev.2 圧縮Fileが見つかりません.", noFile = "Lev.2 Fileが見つかりません.";
  EXPECT_EQ(rows, (std::vector<RefreshFinding>{{a, "m1.MID", "A.LZH", noArc}, {a, "m2.RCP", "A.LZH", noArc},
                                               {b, "lost.MID", "", noFile}, {b, "last.MID", "", noFile}}));
  EXPECT_EQ(BlockFolders(), std::vector<std::string>{b});
  std::vector<TMusicFileInfo> out;
  temp.Write("b/keep.mid", "");
  ASSERT_TRUE(index.OpenFolderIndex(b, out, {0, 10, {}}));
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].FileName, "keep");
  EXPECT_EQ(ReadFileBytes(DrivePath()), index.Image());
}

TEST_F(RefreshTest, StopDuringLevel2KeepsTheLevel1File) {
  const std::string gone = AddFolder("gone");
  const std::string a = AddFolder("a", {Entry("m1", kRowMID, kLooseFile), Entry("m2", kRowMID, kLooseFile)});
  std::filesystem::remove(gone);
  goneFiles = {a + "m1.MID", a + "m2.MID"};
  IndexRefresher r = Refresher();
  int services = 0;
  onService = [&] {
    if (checks == 1 && ++services == 1) r.OnStop();
  };
  EXPECT_EQ(r.RefreshIndex(2), RefreshResult::Done);
  EXPECT_EQ(rows.size(), 2u);  // the gone folder and the first record
  const std::string file = ReadFileBytes(DrivePath());
  EXPECT_FALSE(FindFolderBlock(file, gone));
  auto block = FindFolderBlock(file, a);
  ASSERT_TRUE(block);
  EXPECT_EQ(file.size(), kIndexHeaderSize + block->length);  // both records still in the file
  // The half-walked image is not kept for the next save.
  EXPECT_EQ(index.Image(), file);
  EXPECT_EQ(status[status.size() - 2], std::make_pair(0, std::string("リフレッシュを中止しました..")));
  EXPECT_FALSE(r.Running());
}

TEST_F(RefreshTest, WindowAsksAndHoldsTheBusyFlag) {
  AddFolder("a");
  std::atomic<bool> busy{false};
  IndexRefresher r = Refresher();
  messages.answers = {MessageAnswer::Cancel};
  EXPECT_EQ(r.OnOk(2, busy), std::nullopt);
  EXPECT_EQ(messages.shown.back().text, "Indexをリフレッシュ Level 2 を開始します.\nよろしいですか？");
  bool sawBusy = false;
  onService = [&] {
    sawBusy = busy;
    EXPECT_FALSE(r.OnCloseRequest());
  };
  EXPECT_EQ(r.OnOk(1, busy), RefreshResult::Done);
  EXPECT_TRUE(sawBusy);
  EXPECT_FALSE(busy);
  EXPECT_EQ(messages.shown.back().text, "Indexをリフレッシュ中はwindowを閉じることは出来ません.");
  EXPECT_TRUE(r.OnCloseRequest());
}

TEST(CaseBlindPresence, LooseFilesIgnoreCaseAndArchivesAreDelegated) {
  test::TempDir temp;
  temp.Write("song.mid", "");
  int delegated = 0;
  PresenceCheck check =
      CaseBlindPresence([&](const std::string&, const std::string&, const std::string&) { return ++delegated, 2; });
  EXPECT_EQ(check(temp.path(), "song.MID", ""), 0);
  EXPECT_EQ(check(temp.path(), "SONG.MID", "."), 0);
  EXPECT_EQ(check(temp.path(), "other.MID", ""), 1);
  EXPECT_EQ(check(temp.path() + "gone/", "song.MID", ""), 1);
  EXPECT_EQ(check(temp.path(), "song.MID", "A.LZH"), 2);
  EXPECT_EQ(delegated, 1);
  // An archive that is there but could not be read has not gone.
  temp.Write("B.LZH", "unreadable");
  EXPECT_EQ(check(temp.path(), "song.MID", "B.LZH"), 0);
}

// Only "not there" removes anything: a folder the system cannot examine (here a path
// too long to look up, as for EACCES or EIO) keeps its block and its records.
TEST(FolderGone, OnlyAMissingFolderIsGone) {
  test::TempDir temp;
  const std::string file = temp.Write("plain", "");
  EXPECT_FALSE(FolderGone(temp.path()));
  EXPECT_TRUE(FolderGone(temp.path() + "missing/"));
  EXPECT_TRUE(FolderGone(file));
  EXPECT_TRUE(FolderGone(file + "/below/"));
  const std::string unreachable = temp.path() + std::string(5000, 'x') + "/";
  EXPECT_FALSE(FolderGone(unreachable));
  FolderNames names(unreachable);
  EXPECT_TRUE(names.Contains("SONG.MID"));
  FolderNames missing(temp.path() + "missing/");
  EXPECT_FALSE(missing.Contains("SONG.MID"));
}

}  // namespace
}  // namespace kadrel
