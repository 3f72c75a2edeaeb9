// A search while the index store saves the file it reads: every search sees whole
// blocks of one saved image, and neither side waits for the other.

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "base/atomic_file.h"
#include "catalog/format_table.h"
#include "search/search_fixture.h"

namespace kadrel {
namespace {
using namespace kadrel::test;

constexpr int kSongsPerFolder = 12;

std::vector<TMusicFileInfo> Songs(int folder) {
  std::vector<TMusicFileInfo> songs;
  for (int i = 0; i < kSongsPerFolder; ++i)
    songs.push_back(Song("song" + std::to_string(folder) + "_" + std::to_string(i), kRowMID, Cp932("歌")));
  return songs;
}

TEST(ConcurrentSave, EverySearchSeesWholeBlocksWhileTheStoreSaves) {
  SearchFixture f;
  constexpr int kFolders = 24;
  std::vector<std::string> folders;
  for (int i = 0; i < kFolders; ++i) folders.push_back(f.temp.MakeFolder("f" + std::to_string(i)));
  f.File("first", Songs(99));
  const std::string indexFile = f.IndexFiles().at(0);

  std::atomic<bool> writing{true};
  std::thread writer([&] {
    TFolderIndex store = f.MakeStore();
    // Adds every folder, then replaces each one (delete, write) as a re-read does.
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < kFolders; ++i) {
        std::vector<TMusicFileInfo> out;
        store.OpenFolderIndex(folders[static_cast<size_t>(i)], out);
        if (round == 1) store.DeleteFolderBlock(folders[static_cast<size_t>(i)], false);
        store.WriteFolderBlock(Songs(i));
      }
    }
    writing = false;
  });

  int searches = 0;
  do {
    SearchCache cache;  // a fresh read each time, to meet the file mid-save
    std::map<std::string, int> perFolder;
    IndexSearch(cache).Run(Query("SONG 歌"), {indexFile}, [&](std::vector<SearchHit>&& hits) {
      for (const SearchHit& h : hits) ++perFolder[h.folder];
    });
    for (const auto& [folder, count] : perFolder) EXPECT_EQ(count, kSongsPerFolder) << folder;
    ++searches;
  } while (writing);
  writer.join();
  EXPECT_EQ(f.messages.shown.size(), 0u);  // no save failed or waited too long
  EXPECT_GE(searches, 1);
}

TEST(ConcurrentSave, ASearchDoesNotWaitForTheIndexFilesLock) {
  SearchFixture f;
  f.File("music", Songs(1));
  const std::string indexFile = f.IndexFiles().at(0);
  auto held = FileLock::Acquire(indexFile + ".lock", 1000);
  ASSERT_TRUE(held);
  const auto hits = f.Search("song1_");
  EXPECT_EQ(hits.size(), static_cast<size_t>(kSongsPerFolder));
}

}  // namespace
}  // namespace kadrel
