// kadrel-cli index show / refresh / delete on an index written by the store.

#include <gtest/gtest.h>

#include "index/index_format.h"
#include "index_fixture.h"
#include "support/process.h"

namespace kadrel {
namespace {

using test::Entry;
using test::JsonLines;

class IndexCliTest : public test::IndexTest {
 protected:
  // The tool with only a cache folder and a home in the test's folder.
  test::ProcessResult Index(std::vector<std::string> args) {
    args.insert(args.begin(), "index");
    return test::RunCli(args, {"XDG_CACHE_HOME=" + temp.path() + "cache", "HOME=" + temp.path()});
  }
};

TEST_F(IndexCliTest, ShowRefreshAndDelete) {
  options.IndexFolder = temp.path() + "cache/kadrel/index/";
  TFolderIndex index = MakeIndex();
  const std::string folder = temp.MakeFolder("m");
  temp.Write("m/keep.mid", "MThd");
  ASSERT_TRUE(SaveBlock(index, folder, {Entry("keep", kRowMID, kLooseFile), Entry("gone", kRowMID, kLooseFile)}));

  auto show = Index({"show", DrivePath()});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  auto rows = JsonLines(show.out);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0]["folder"], folder);
  EXPECT_EQ(rows[0]["records"], 2);
  EXPECT_EQ(rows[2]["FileName"], "gone");
  EXPECT_EQ(rows[2]["FileExt"], ".MID");

  auto refresh = Index({"refresh", "--level", "2", DrivePath()});
  ASSERT_EQ(refresh.exitCode, 0) << refresh.err;
  rows = JsonLines(refresh.out);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]["Error"], "Lev.2 Fileが見つかりません.");
  EXPECT_EQ(rows[0]["FileName"], "gone.MID");
  show = Index({"show", "--folder", folder});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  EXPECT_EQ(JsonLines(show.out).at(0)["records"], 1);

  ASSERT_EQ(Index({"delete", folder}).exitCode, 0);
  EXPECT_EQ(test::ReadFileBytes(DrivePath()), IndexHeader());
  EXPECT_EQ(Index({"show", "--folder", folder}).exitCode, 1);
  EXPECT_EQ(Index({"refresh", "--level", "3", DrivePath()}).exitCode, 2);
}

}  // namespace
}  // namespace kadrel
