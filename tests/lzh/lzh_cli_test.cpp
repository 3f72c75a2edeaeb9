// kadrel-cli archive, and the bundled sample archives through it.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::JsonLines;
using test::RunCli;
using test::RunProcess;

std::string Sample(const char* name) { return std::string(KADREL_SAMPLES_DIR) + "/" + name; }

TEST(LzhCli, SampleArchivesListWithShiftJisNamesAndExtractByBaseName) {
  auto okiba = JsonLines(RunCli({"archive", "list", Sample("OKIBA.LZH")}).out);
  ASSERT_EQ(okiba.size(), 4u);
  EXPECT_EQ(okiba[0]["path_cp932_hex"], "955c8e862e4d4944");  // 表紙.MID
  EXPECT_EQ(okiba[2]["path"], "長い曲/NAGAI.MID");
  EXPECT_GT(okiba[2]["size"].get<int>(), 700000);
  EXPECT_EQ(okiba[2]["header_level"], 1);

  auto haru = JsonLines(RunCli({"archive", "list", Sample("HARUKAZE.LZH"), "*.wrd"}).out);
  ASSERT_EQ(haru.size(), 1u);
  EXPECT_EQ(haru[0]["path"], "HARUKAZE/春風.WRD");

  test::TempDir dir;
  const std::string dest = dir.MakeFolder("out");
  EXPECT_EQ(RunCli({"archive", "extract", Sample("HARUKAZE.LZH"), dest, "*.*", "-jx*.RCP"}).exitCode, 0);
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dest)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"春風.MID", "春風.TXT", "春風.WRD"}));
}

TEST(LzhCli, RenameAndCreateStoredRoundTrip) {
  test::TempDir dir;
  const std::string src = dir.Write("src.mid", "MThd");
  const std::string archive = dir.path() + "new.lzh";
  ASSERT_EQ(RunCli({"archive", "create-stored", "--level", "1", archive, "曲/ソング.MID=" + src}).exitCode, 0);
  EXPECT_EQ(RunCli({"archive", "rename", archive, "ソング.MID", "表紙.MID"}).exitCode, 0);
  auto list = JsonLines(RunCli({"archive", "list", archive}).out);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]["path"], "曲/表紙.MID");
  EXPECT_EQ(RunProcess({"lha", "t", archive}).exitCode, 0);
  EXPECT_EQ(RunCli({"archive", "rename", archive, "NONE.MID", "X.MID"}).exitCode, 1);
  EXPECT_EQ(RunCli({"archive", "list", dir.path() + "missing.lzh"}).exitCode, 1);
  EXPECT_EQ(RunCli({"archive", "frobnicate"}).exitCode, 2);
}

}  // namespace
}  // namespace kadrel
