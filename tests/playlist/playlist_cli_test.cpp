// kadrel-cli playlist, run as a separate process.

#include <gtest/gtest.h>

#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using test::JsonLines;
using test::RunCli;

TEST(PlayListCli, ShowsTheSampleListAndConvertsAnOldOne) {
  auto show = RunCli({"playlist", "show", std::string(KADREL_SAMPLES_DIR) + "/SAMPLES.MPL"});
  ASSERT_EQ(show.exitCode, 0);
  auto lines = JsonLines(show.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0]["record"]["FileName"], "SONG1");
  EXPECT_TRUE(lines.back()["folder"].get<std::string>().ends_with("samples/Extra/"));

  test::TempDir dir;
  const std::string old = dir.Write("OLD.MPL", "[Kadrel PlayListFile Ver0.01]\r\nSONG\r\n.MID,,,2KB,4,\x8F\x74,C:\\M\\\r\n");
  const std::string converted = dir.path() + "NEW.MPL";
  ASSERT_EQ(RunCli({"playlist", "convert", old, converted}).exitCode, 0);
  EXPECT_EQ(RunCli({"playlist", "convert", old, converted}).exitCode, 1);  // exists
  lines = JsonLines(RunCli({"playlist", "show", converted}).out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["folder"], "C:/M/");
  EXPECT_EQ(lines[0]["slot"], 4);
  EXPECT_EQ(lines[0]["record"]["Title"], "春");
  EXPECT_EQ(RunCli({"playlist", "show", old + "x"}).exitCode, 1);
}

}  // namespace
}  // namespace kadrel
