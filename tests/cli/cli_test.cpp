// kadrel-cli as scripts use it: exit codes and JSON Lines output.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/temp_dir.h"

namespace kadrel {
namespace {

struct Result {
  int exitCode = -1;
  std::string out;
};

// Runs the tool with a private configuration and cache folder (never the user's).
Result RunCli(const std::string& arguments) {
  static test::TempDir home;
  const std::string command = "XDG_CONFIG_HOME=" + home.path() + "config XDG_CACHE_HOME=" + home.path() +
                              "cache KADREL_CONFIG_DIR=" + home.path() + "kadrel " + KADREL_CLI_PATH + " " +
                              arguments + " 2>/dev/null";
  Result r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) r.out.append(buffer, n);
  int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
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
  EXPECT_EQ(lines[0]["FileName"], "..");  // kind first whatever the direction
  EXPECT_EQ(RunCli("list /nonexistent/folder").exitCode, 1);
  EXPECT_EQ(RunCli("list --sort Nope '" + kSamples + "'").exitCode, 2);
}

TEST(CliList, SecondListingComesFromTheIndex) {
  test::TempDir dir;
  dir.Write("A.MID", test::ReadFileBytes(kSamples + "/SONG1.MID"));
  const std::string folder = dir.path();
  Result first = RunCli("list --json '" + folder + "'");
  Result second = RunCli("list --json '" + folder + "'");
  ASSERT_EQ(first.exitCode, 0);
  ASSERT_EQ(second.exitCode, 0);
  auto a = Lines(first.out), b = Lines(second.out);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(b.back()["Title"], a.back()["Title"]);
  EXPECT_EQ(b.back()["FileExt"], ".MID");
}

}  // namespace
}  // namespace kadrel
