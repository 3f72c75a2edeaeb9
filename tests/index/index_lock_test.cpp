// Several programs adding blocks to one index file at once: every block is kept, and a
// change that cannot get the file's lock fails as a save does.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "base/atomic_file.h"
#include "catalog/format_table.h"
#include "index/index_fixture.h"
#include "index/index_format.h"

namespace kadrel {
namespace {

using test::Entry;

std::vector<TMusicFileInfo> ListFor(const std::string& name) { return {test::FolderRow(), Entry(name, kRowMID, kLooseFile)}; }

class IndexLockTest : public test::IndexTest {
 protected:
  std::set<std::string> FoldersInFile() {
    std::set<std::string> out;
    auto image = ReadWholeFile(DrivePath());
    if (!image) return out;
    for (const FolderBlock& b : ListBlocks(*image)) out.insert(b.folder);
    return out;
  }
};

// Two processes list different folders over and over, each run a fresh store that
// loads the file, adds its folder's block and saves, as two command-line runs do.
TEST_F(IndexLockTest, TwoProcessesAddingBlocksLoseNone) {
  constexpr int kRuns = 25;
  std::vector<std::string> folders[2];
  for (int p = 0; p < 2; ++p)
    for (int i = 0; i < kRuns; ++i) folders[p].push_back(temp.MakeFolder("p" + std::to_string(p) + "-" + std::to_string(i)));
  {
    TFolderIndex index = MakeIndex();
    ASSERT_TRUE(index.EnsureIndexFile(DrivePath()));
  }

  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = ::fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      ::close(start[1]);
      char go;
      if (::read(start[0], &go, 1) != 1) ::_exit(3);
      int failures = 0;
      for (const std::string& folder : folders[p]) {
        TFolderIndex index = MakeIndex();
        if (!SaveBlock(index, folder, ListFor("song"))) ++failures;
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
  }
  ::close(start[0]);
  ASSERT_EQ(::write(start[1], "gg", 2), 2);  // both start together
  ::close(start[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
  }

  const std::set<std::string> inFile = FoldersInFile();
  EXPECT_EQ(inFile.size(), 2u * kRuns);
  for (const auto& list : folders)
    for (const std::string& folder : list) EXPECT_TRUE(inFile.count(folder)) << folder << " lost";
}

// A store that loaded the file before another run added a block, then deletes its
// own: the other run's block stays.
TEST_F(IndexLockTest, ChangesApplyToTheFileAsItIsNow) {
  const std::string a = temp.MakeFolder("a"), b = temp.MakeFolder("b");
  TFolderIndex first = MakeIndex(), second = MakeIndex();
  std::vector<TMusicFileInfo> out;
  first.OpenFolderIndex(a, out);
  second.OpenFolderIndex(b, out);
  ASSERT_TRUE(first.WriteFolderBlock(ListFor("x")));
  ASSERT_TRUE(second.WriteFolderBlock(ListFor("y")));  // its image predates a's block
  EXPECT_EQ(FoldersInFile(), (std::set<std::string>{a, b}));
  ASSERT_TRUE(first.DeleteFolderBlock(a, false));  // its image predates b's block
  EXPECT_EQ(FoldersInFile(), std::set<std::string>{b});
}

TEST_F(IndexLockTest, ALockHeldElsewhereFailsTheSaveAndChangesNothing) {
  const std::string folder = temp.MakeFolder("m");
  TFolderIndex index = MakeIndex();
  std::vector<TMusicFileInfo> out;
  index.OpenFolderIndex(folder, out);
  const std::string before = *ReadWholeFile(DrivePath());

  auto held = FileLock::Acquire(DrivePath() + ".lock", 0);
  ASSERT_TRUE(held);
  index.SetLockWait(0);
  EXPECT_FALSE(index.WriteFolderBlock(ListFor("song")));
  EXPECT_EQ(index.SaveFailures(), 1);
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
  EXPECT_EQ(messages.shown.back().text.rfind("Indexファイルの保存に失敗しました.", 0), 0u);
  EXPECT_NE(messages.shown.back().text.find("locked"), std::string::npos);
  EXPECT_EQ(*ReadWholeFile(DrivePath()), before);

  held.reset();
  EXPECT_TRUE(index.WriteFolderBlock(ListFor("song")));
  EXPECT_EQ(FoldersInFile(), std::set<std::string>{folder});
}

}  // namespace
}  // namespace kadrel
