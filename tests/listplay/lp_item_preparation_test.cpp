// Preparing items in the work folder: archive members, loose files, conversion,
// staging into the temporary folder, and the results for what is missing.

#include <gtest/gtest.h>

#include "archive/lzh_writer.h"
#include "archive/unlha.h"
#include "playback/lp_item_preparation.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using test::TempDir;

class ItemPreparation : public ::testing::Test {
 protected:
  ItemPreparation() {
    temp = music.MakeFolder("tmp") + "/";
    std::string error;
    EXPECT_TRUE(WriteStoredArchive(music.path() + "PACK.LZH",
                                   {{"SONG.MID", "MThd-song"}, {"SONG.WRD", "lyrics"}, {"OTHER.RCP", "RCP"}}, 2,
                                   &error))
        << error;
  }
  ~ItemPreparation() override { ResetLhaLibraryForTesting(); }

  TPLMusicInfo Member(std::string stem = "SONG", std::string archive = "PACK.LZH") {
    TPLMusicInfo item;
    item.Folder = music.path();
    item.Music.FileName = std::move(stem);
    item.Music.FileExt = ".MID";
    item.Music.Archiver = std::move(archive);
    item.Music.ItemKind = kArchiveMember;
    return item;
  }
  int Prepare(LpItemPreparation& p, const TPLMusicInfo& item, ListPlayPrepared& out, bool stop = false) {
    return p.Prepare(item, 1, out, [stop] { return stop; });
  }

  TempDir music;
  std::string temp;
  TUnLhaManagement turns;
};

TEST_F(ItemPreparation, MemberIsExtractedAndStagedIntoTheTemporaryFolder) {
  const std::string foreign = music.Write("tmp/NOTOURS.TXT", "keep");
  LpItemPreparation prep({temp, 2}, turns);
  ListPlayPrepared out;
  ASSERT_EQ(Prepare(prep, Member(), out), kPrepareOk);
  EXPECT_EQ(out.FileToPlay, temp + "SONG.MID");
  EXPECT_FALSE(prep.FileExists(out.FileToPlay));  // still in the work folder

  const ListPlayStaging staging = prep.Stage(out);
  EXPECT_FALSE(staging.DeleteFailed || staging.MoveFailed);
  EXPECT_EQ(test::ReadFileBytes(out.FileToPlay), "MThd-song");
  EXPECT_TRUE(prep.FileExists(temp + "SONG.WRD"));    // companions with "LzhMeltStyle" 2
  EXPECT_FALSE(prep.FileExists(temp + "OTHER.RCP"));  // other music is not

  // The next staging removes what the last one placed, and nothing else.
  prep.Stage(out);
  EXPECT_FALSE(prep.FileExists(temp + "SONG.MID"));
  EXPECT_TRUE(prep.FileExists(foreign));
}

TEST_F(ItemPreparation, CompanionsFollowLzhMeltStyle) {
  for (int melt : {0, 12}) {
    LpItemPreparation prep({temp, melt}, turns);
    ListPlayPrepared out;
    ASSERT_EQ(Prepare(prep, Member(), out), kPrepareOk);
    prep.Stage(out);
    EXPECT_TRUE(prep.FileExists(temp + "SONG.MID")) << melt;
    EXPECT_FALSE(prep.FileExists(temp + "SONG.WRD")) << melt;
    prep.Stage(out);
  }
}

TEST_F(ItemPreparation, MissingThingsGiveTheirResults) {
  LpItemPreparation prep({temp, 0}, turns);
  ListPlayPrepared out;
  EXPECT_EQ(Prepare(prep, Member("SONG", "GONE.LZH"), out), kPrepareArchiveMissing);
  EXPECT_EQ(Prepare(prep, Member("NOSUCH"), out), kPrepareFileMissing);

  TPLMusicInfo loose = Member("LOOSE", "");
  loose.Music.ItemKind = kLooseFile;
  EXPECT_EQ(Prepare(prep, loose, out), kPrepareFileMissing);
  music.Write("LOOSE.MID", "MThd");
  ASSERT_EQ(Prepare(prep, loose, out), kPrepareOk);
  EXPECT_EQ(out.FileToPlay, music.path() + "LOOSE.MID");  // played where it lies

  SetLhaLibraryForTesting(std::nullopt);
  EXPECT_EQ(Prepare(prep, Member(), out), kPrepareArchiveLibraryMissing);
}

TEST_F(ItemPreparation, GivesUpWaitingForTheArchiveTurnOnStop) {
  LpItemPreparation prep({temp, 0}, turns);
  ASSERT_TRUE(turns.Request(kSlotFolderScan));
  ListPlayPrepared out;
  EXPECT_EQ(Prepare(prep, Member(), out, true), kPrepareAborted);
  turns.Release(kSlotFolderScan);
  EXPECT_FALSE(turns.Requested(kSlotListPlay));
}

TEST_F(ItemPreparation, ConvertedLooseFileIsPlayedFromTheTemporaryFolder) {
  const std::string source = music.Write("HARU.RCP", "RCP");
  LpItemPreparation prep({temp, 0}, turns, [](const TPLMusicInfo&, int, const std::string&, const std::string& out, auto&&) {
    test::WriteFileBytes(out + "HARU.MID", "MThd");
    return out + "HARU.MID";
  });
  TPLMusicInfo item;
  item.Folder = music.path();
  item.Music.FileName = "HARU";
  item.Music.FileExt = ".RCP";
  item.Music.ItemKind = kLooseFile;
  ListPlayPrepared out;
  ASSERT_EQ(Prepare(prep, item, out), kPrepareOk);
  EXPECT_EQ(out.FileToPlay, temp + "HARU.MID");
  prep.Stage(out);
  EXPECT_TRUE(prep.FileExists(out.FileToPlay));
  EXPECT_TRUE(prep.FileExists(source));

  LpItemPreparation failing({temp, 0}, turns, [](auto&&...) { return std::string(); });
  EXPECT_EQ(Prepare(failing, item, out), kPrepareFileMissing);
}

}  // namespace
}  // namespace kadrel
