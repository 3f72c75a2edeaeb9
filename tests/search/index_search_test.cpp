// The search over index files written by the index store: limits, what a hit
// carries, files that changed or went bad, and the cache.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "base/atomic_file.h"
#include "catalog/format_table.h"
#include "search/search_fixture.h"

namespace kadrel {
namespace {
using namespace kadrel::test;
using ::testing::ElementsAre;

class IndexSearchTest : public ::testing::Test, public SearchFixture {
 protected:
  void SetUp() override {
    music = File("music", {Song("HARU", kRowMID, Cp932("春の海"), "SPRING.LZH"), Song("natsu", kRowRCP, Cp932("夏祭り"))});
    game = File("music/game", {Song("BOSS", kRowMID, "Boss Battle"), Song("HARUKA", kRowMP3, Cp932("はるかな旅"))});
    usb = File("usb/old", {Song("SAKURA", kRowMID, Cp932("ｻｸﾗ咲く"))});
  }
  std::string music, game, usb;
};

TEST_F(IndexSearchTest, FindsRecordsInEveryIndexFileWithTheirFolderAndArchive) {
  ASSERT_EQ(IndexFiles().size(), 2u);  // one per volume
  auto hits = Search("Haru");
  EXPECT_THAT(Names(hits), ElementsAre("HARU", "HARUKA"));
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].folder, music);
  EXPECT_EQ(hits[0].record.Archiver, "SPRING.LZH");
  EXPECT_EQ(hits[0].record.FileExt, ".MID");
  EXPECT_EQ(hits[0].matchedFields, FieldBit(SearchField::FileName));
  EXPECT_EQ(hits[1].folder, game);
  // Both words, each in its own field.
  auto both = Search("haruka はるか");
  ASSERT_EQ(both.size(), 1u);
  EXPECT_EQ(both[0].matchedFields, FieldBit(SearchField::FileName) | FieldBit(SearchField::Title));
  EXPECT_TRUE(hits[0].folderExists);

  auto onUsb = Search("さくら");
  ASSERT_EQ(onUsb.size(), 1u);
  EXPECT_EQ(onUsb[0].folder, usb);
  EXPECT_TRUE(onUsb[0].indexFile.ends_with("_media_usb_index.dat"));
}

TEST_F(IndexSearchTest, FieldsFormatsAndTheFolderLimitTheSearch) {
  SearchQuery titles = Query("haru");
  titles.fields = FieldBit(SearchField::Title);
  EXPECT_TRUE(Search(titles).empty());  // "haru" is only in file names

  SearchQuery mp3 = Query("はる");
  mp3.formats = 1u << kRowMP3;
  EXPECT_THAT(Names(Search(mp3)), ElementsAre("HARUKA"));

  SearchQuery below = Query("a");
  below.under = game.substr(0, game.size() - 1);  // given without its trailing "/"
  EXPECT_THAT(Names(Search(below)), ElementsAre("BOSS", "HARUKA"));
  // "music/game" is below "music/", "music/gamex" would not be below "music/game/".
  below.under = music;
  EXPECT_THAT(Names(Search(below)), ElementsAre("HARU", "natsu", "BOSS", "HARUKA"));

  EXPECT_TRUE(Search("zzz").empty());
  EXPECT_TRUE(Search("   ").empty());
}

TEST_F(IndexSearchTest, AFolderThatIsGoneIsMarkedNotHidden) {
  std::filesystem::remove_all(game);
  auto hits = Search("haruka");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_FALSE(hits[0].folderExists);
}

TEST_F(IndexSearchTest, ASavedChangeIsSeenAndAnUnchangedFileIsFoldedOnce) {
  Search("x");
  auto first = cache.Get(IndexFiles()[0]);
  Search("x");
  EXPECT_EQ(cache.Get(IndexFiles()[0]), first);

  File("music/new", {Song("FUYU", kRowMID, Cp932("冬の歌"))});
  EXPECT_THAT(Names(Search("冬")), ElementsAre("FUYU"));
  EXPECT_NE(cache.Get(IndexFiles()[0]), first);
  EXPECT_EQ(cache.Files(), 2u);
  EXPECT_GT(cache.MemoryBytes(), 0u);
}

// A save within the same clock tick that keeps the size must not leave the old texts
// in the cache: the file is known by its inode too, which every save changes.
TEST_F(IndexSearchTest, AReplacedFileOfTheSameSizeAndTimeIsReadAgain) {
  const std::string drive = IndexFiles()[0];
  EXPECT_EQ(Search("natsu").size(), 1u);
  std::string bytes = ReadFileBytes(drive);
  const size_t at = bytes.find("natsu");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 5, "fuyu_");
  const auto time = std::filesystem::last_write_time(drive);
  ASSERT_TRUE(ReplaceFileAtomically(drive, bytes));
  std::filesystem::last_write_time(drive, time);
  EXPECT_TRUE(Search("natsu").empty());
  EXPECT_EQ(Search("fuyu_").size(), 1u);
}

TEST_F(IndexSearchTest, BadFilesGiveNothingFromThemAndTheRestIsStillSearched) {
  const std::string drive = IndexFiles()[0];
  std::string bytes = ReadFileBytes(drive);
  // A foreign file, a truncated copy, and one that cannot be read.
  WriteFileBytes(options.IndexFolder + "foreign_index.dat", "not an index file at all");
  WriteFileBytes(options.IndexFolder + "cut_index.dat", bytes.substr(0, bytes.size() - 7));
  std::filesystem::create_directory(options.IndexFolder + "dir_index.dat");
  SearchOutcome outcome;
  auto hits = Search(Query("haru"), &outcome);
  // The cut copy still gives the records before the cut.
  EXPECT_THAT(Names(hits), ElementsAre("HARU", "HARUKA", "HARU"));
  EXPECT_TRUE(outcome.unreadable.empty());  // the folder is not listed as an index file
}

TEST_F(IndexSearchTest, TheHitLimitAndTheStopFlagEndTheSearch) {
  IndexSearch search(cache);
  size_t delivered = 0;
  auto count = [&](std::vector<SearchHit>&& batch) { delivered += batch.size(); };
  SearchOutcome limited = search.Run(Query("a"), IndexFiles(), count, SearchRun{.stop = nullptr, .maxHits = 2});
  EXPECT_TRUE(limited.truncated);
  EXPECT_EQ(delivered, 2u);

  std::atomic<bool> stop{true};
  SearchRun stopping;
  stopping.stop = &stop;
  delivered = 0;
  SearchOutcome stopped = search.Run(Query("a"), IndexFiles(), count, stopping);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(delivered, 0u);
}

}  // namespace
}  // namespace kadrel
