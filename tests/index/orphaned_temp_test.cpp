// Temporary files of runs that were killed: their names tell their maker, and the
// next run removes those whose maker is gone, never those of a run still at work.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/atomic_file.h"
#include "base/owned_temp.h"
#include "index/index_fixture.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

TEST(OwnedTemp, NamesTellWhetherTheirMakerIsGone) {
  const std::string self = std::to_string(::getpid());
  const std::string start = std::to_string(ProcessStartTime(::getpid()));
  ASSERT_NE(start, "0");
  struct Case {
    std::string name;
    bool gone;
  };
  test::TempDir tmp;
  const std::string killed = test::LeftByKilledProcess(tmp.path(), "f.kadrel-tmp-");
  const Case cases[] = {
      {OwnedTempName("f.kadrel-tmp-"), false},              // this process
      {"f.kadrel-tmp-" + self + "-" + start + "-9", false},
      {killed, true},                                       // killed
      {"f.kadrel-tmp-" + self + "-1-0", true},              // same id, another start: a reused id
      {"f.kadrel-tmp-0-5-0", true},
      {"f.kadrel-tmp-" + self + "-" + start, false},        // not a mark
      {"f.kadrel-tmp-x-1-0", false},
      {"f.XXXXXX", false},
      {"other-" + self + "-1-0", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MadeByGoneProcess(c.name, "f.kadrel-tmp-"), c.gone) << c.name;
  EXPECT_TRUE(MadeByGoneProcess(".kadrel-unpack-0-1-2.tmp", ".kadrel-unpack-", ".tmp"));
  EXPECT_FALSE(MadeByGoneProcess(".kadrel-unpack-0-1-2.tmp", ".kadrel-unpack-"));
  EXPECT_TRUE(MadeByGoneProcess("__index.dat.kadrel-tmp-0-1-2", {}));  // any file's temporaries
  EXPECT_FALSE(MadeByGoneProcess("__index.dat", {}));
}

class OrphanedTempTest : public test::IndexTest {};

// A run killed in the middle of saving the index leaves its temporary file; the next
// run removes it when it starts, and keeps the file of a save still at work.
TEST_F(OrphanedTempTest, TheNextRunRemovesWhatAKilledSaveLeft) {
  const std::string folder = options.IndexFolder;
  fs::create_directories(folder);
  const std::string killed = test::LeftByKilledProcess(folder, "__index.dat.kadrel-tmp-");
  const std::string live = OwnedTempName("__index.dat.kadrel-tmp-");
  test::WriteFileBytes(folder + live, "being written");
  test::WriteFileBytes(folder + "__index.dat.XXXXXX.note", "not a temporary of ours");

  TFolderIndex index = MakeIndex();
  EXPECT_FALSE(fs::exists(folder + killed));
  EXPECT_TRUE(fs::exists(folder + live));
  EXPECT_TRUE(fs::exists(folder + "__index.dat.XXXXXX.note"));
}

// Files replaced elsewhere (play lists, a folder's own index file) are cleared of a
// killed run's temporaries at their next save.
TEST_F(OrphanedTempTest, ASaveClearsItsFilesLeftovers) {
  const std::string folder = temp.MakeFolder("lists") + "/";
  const std::string killed = test::LeftByKilledProcess(folder, "A.MPL.kadrel-tmp-");
  const std::string otherFiles = test::LeftByKilledProcess(folder, "B.MPL.kadrel-tmp-");
  ASSERT_TRUE(ReplaceFileAtomically(folder + "A.MPL", "list"));
  EXPECT_FALSE(fs::exists(folder + killed));
  EXPECT_TRUE(fs::exists(folder + otherFiles)) << "only A.MPL's temporaries are looked at";
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  EXPECT_EQ(names.size(), 2u);
}

}  // namespace
}  // namespace kadrel
