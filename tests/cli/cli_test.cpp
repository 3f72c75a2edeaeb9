// kadrel-cli as scripts use it: exit codes and JSON Lines output.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using Result = test::ProcessResult;

// Runs the tool with a private configuration and cache folder (never the user's).
Result RunCli(const std::string& arguments) {
  static test::TempDir home;
  return test::RunCliScript(home.path(), arguments);
}

std::vector<nlohmann::json> Lines(const std::string& out) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

const std::string kSamples = KADREL_SAMPLES_DIR;

TEST(CliInfo, PrintsTheRecordOfEachFile) {
  Result r = RunCli("info '" + kSamples + "/SONG1.MID' '" + kSamples + "/DAWN.MP3'");
  ASSERT_EQ(r.exitCode, 0);
  auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["FileName"], "SONG1");
  EXPECT_EQ(lines[0]["Detail"], "SMF0");
  EXPECT_EQ(lines[0]["Title"], "春の小川");
  EXPECT_EQ(lines[0]["ItemKind"], 2);
  EXPECT_EQ(lines[0]["columns"].size(), 12u);
  EXPECT_EQ(lines[1]["Artist"], "サンプル楽団");
}

TEST(CliInfo, OptionsApplyToThisRun) {
  Result r = RunCli("info --option showstyle=0x44 --option 'ErrTitle3=[bad]' '" + kSamples + "/BROKEN.MID'");
  ASSERT_EQ(r.exitCode, 0);
  auto line = Lines(r.out).at(0);
  EXPECT_EQ(line["InfoState"], 3);
  EXPECT_EQ(line["columns"][0], "broken");
  EXPECT_EQ(line["columns"][7], "[bad]");
}

TEST(CliInfo, ExitCodes) {
  EXPECT_EQ(RunCli("info").exitCode, 2);
  EXPECT_EQ(RunCli("info --option NoSuchSetting=1 x").exitCode, 2);
  EXPECT_EQ(RunCli("info --option SMFByte=abc x").exitCode, 2);
  EXPECT_EQ(RunCli("frobnicate").exitCode, 2);
  Result missing = RunCli("info /nonexistent/SONG.MID");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(Lines(missing.out).at(0)["InfoState"], 2);  // still printed with its state
}

TEST(CliList, ListsTheSampleCollection) {
  Result r = RunCli("list --json --no-index '" + kSamples + "'");
  ASSERT_EQ(r.exitCode, 0);
  auto lines = Lines(r.out);
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[0]["FileName"], "..");
  EXPECT_EQ(lines[1]["FileName"], "Extra");
  EXPECT_EQ(lines[1]["ItemKind"], 1);
  bool sawSong2 = false;
  for (const auto& l : lines) {
    if (l["FileName"] == "SONG2" && l["FileExt"] == ".MID") {
      sawSong2 = true;
      EXPECT_EQ(l["Info"], 1);  // SONG2.WRD beside it
    }
    EXPECT_NE(l["FileExt"], ".WRD");
  }
  EXPECT_TRUE(sawSong2);
}

TEST(CliList, SortAndErrors) {
  Result r = RunCli("list --json --no-index --sort Title:desc '" + kSamples + "'");
  ASSERT_EQ(r.exitCode, 0);
  auto lines = Lines(r.out);
  // Kind first whatever the direction; then the titles in Japanese collation order,
  // descending, with leading brackets left out (「夏の夜」 sorts as 夏の夜); equal
  // titles (a loose file and its copy in an archive) stay together; files without a
  // title come last, by file name.
  const std::vector<std::string> titles = {
      "１つ上のフォルダへ移動します",  // ..
      "",                              // Extra
      "夕暮れ",
      "夜明けの歌",
      "表紙",
      "長い曲　～夜明け前～",
      "春風",
      "春の小川",
      "春の歌 ～Spring Song～",
      "春の歌 ～Spring Song～",
      "「夏の夜」 ～Summer Night～",
      "「夏の夜」 ～Summer Night～",
      "ツインサンプル",
      "ソング",
      "サンプル集",
      "Placeholder Melody",
      "kadrel demo tune",
      "",
      "",
  };
  ASSERT_EQ(lines.size(), titles.size());
  for (size_t i = 0; i < titles.size(); ++i) EXPECT_EQ(lines[i]["Title"], titles[i]) << "row " << i;
  EXPECT_EQ(lines[0]["FileName"], "..");
  EXPECT_EQ(lines[1]["FileName"], "Extra");
  EXPECT_EQ(lines[2]["FileName"], "EVENING");
  EXPECT_EQ(lines[17]["FileName"], "BROKEN");
  EXPECT_EQ(lines[18]["FileName"], "CHIME");

  EXPECT_EQ(RunCli("list /nonexistent/folder").exitCode, 1);
  EXPECT_EQ(RunCli("list --sort Nope '" + kSamples + "'").exitCode, 2);
}

TEST(CliList, SecondListingComesFromTheIndex) {
  test::TempDir dir;
  dir.Write("A.MID", test::ReadFileBytes(kSamples + "/SONG1.MID"));
  const std::string folder = dir.path();
  Result first = RunCli("list --json '" + folder + "'");
  ASSERT_EQ(first.exitCode, 0);
  ASSERT_EQ(Lines(first.out).back()["Title"], "春の小川");

  // Another song under the same name: the index keeps the record of a file that is
  // still there, so only a scan reads the new title.
  dir.Write("A.MID", test::ReadFileBytes(kSamples + "/Extra/BONUS.MID"));
  Result second = RunCli("list --json '" + folder + "'");
  ASSERT_EQ(second.exitCode, 0);
  auto b = Lines(second.out);
  EXPECT_EQ(b.back()["FileName"], "A");
  EXPECT_EQ(b.back()["Title"], "春の小川");

  Result scanned = RunCli("list --json --no-index '" + folder + "'");
  ASSERT_EQ(scanned.exitCode, 0);
  EXPECT_EQ(Lines(scanned.out).back()["Title"], "Extra Track");

  // The block the listings came from.
  Result shown = RunCli("index show --folder '" + folder + "'");
  ASSERT_EQ(shown.exitCode, 0);
  auto rows = Lines(shown.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["records"], 1);
  EXPECT_EQ(rows[1]["Title"], "春の小川");
}

TEST(CliUsage, BadArgumentsHelpAndVersion) {
  Result unknown = RunCli("list --no-such-flag '" + kSamples + "'");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("--no-such-flag"), std::string::npos) << unknown.err;
  EXPECT_NE(unknown.err.find("Usage: kadrel-cli list"), std::string::npos) << unknown.err;
  EXPECT_EQ(RunCli("archive rename only-one-argument").exitCode, 2);
  EXPECT_EQ(RunCli("").exitCode, 2);

  Result help = RunCli("archive extract --help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: kadrel-cli archive extract"), std::string::npos) << help.out;
  EXPECT_EQ(RunCli("index show -h").exitCode, 0);

  Result usage = RunCli("help");  // scripts/run looks for the list command this way
  EXPECT_EQ(usage.exitCode, 0);
  EXPECT_NE(usage.out.find("\n  list "), std::string::npos) << usage.out;

  Result version = RunCli("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("kadrel-cli [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
}

}  // namespace
}  // namespace kadrel
