// A process killed in the middle of index saves leaves the index file whole: always
// one of the images it was writing, never a mixture or a truncated file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "index/folder_index.h"
#include "index/index_format.h"
#include "index_fixture.h"

namespace kadrel {
namespace {

using test::Entry;

std::vector<TMusicFileInfo> BigList(const std::string& title) {
  std::vector<TMusicFileInfo> list;
  for (int i = 0; i < 3000; ++i) {
    list.push_back(Entry("song" + std::to_string(i), kRowMID, kArchiveMember, "A.LZH"));
    list.back().Title = title + std::to_string(i);
  }
  return list;
}

class CrashTest : public test::IndexTest {};

TEST_F(CrashTest, KilledWhileSavingLeavesAWholeImage) {
  const std::string folder = temp.MakeFolder("m");
  const auto listA = BigList("first title ");
  const auto listB = BigList("second, longer title ");
  // The three images the saving loop produces: header only, with A, with B.
  std::set<std::string> images{std::string(IndexHeader())};
  for (const auto* l : {&listA, &listB}) {
    test::TempDir other;
    TMainOption o = options;
    o.IndexFolder = other.path();
    TFolderIndex idx(o, messages, {}, [](const std::string&) { return VolumeInfo{"/", "ext4", "8:1", VolumeKind::Fixed}; });
    ASSERT_TRUE(SaveBlock(idx, folder, *l));
    images.insert(idx.Image());
  }
  ASSERT_EQ(images.size(), 3u);

  temp.Write("index/__index.dat", *images.rbegin());  // the file as a previous run left it
  std::set<std::string> seen;
  std::mt19937 random(7);
  for (int round = 0; round < 10; ++round) {
    int progress[2];
    ASSERT_EQ(::pipe(progress), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(progress[0]);
      TFolderIndex index = MakeIndex();
      std::vector<TMusicFileInfo> out;
      index.OpenFolderIndex(folder, out);
      for (int i = 0;; ++i) {
        index.DeleteFolderBlock(folder, false);
        index.WriteFolderBlock(i % 2 ? listA : listB);
        [[maybe_unused]] auto n = ::write(progress[1], "s", 1);
      }
    }
    ::close(progress[1]);
    // Let the child finish one or two saves (alternating, so that both images are met
    // on any machine), then kill it at a random moment of the next one.
    char c;
    for (unsigned saves = 1 + round % 2; saves > 0; --saves) ASSERT_EQ(::read(progress[0], &c, 1), 1);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(progress[0]);
    const std::string file = test::ReadFileBytes(DrivePath());
    EXPECT_EQ(images.count(file), 1u) << "round " << round << ": " << file.size() << " bytes";
    seen.insert(file);
  }
  EXPECT_GE(seen.size(), 2u);  // the kills did land while the loop was saving
}

}  // namespace
}  // namespace kadrel
