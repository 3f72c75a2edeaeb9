// kadrel-cli where its files fail it: an index that cannot be saved, a settings store
// that must stay as it is.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/owned_temp.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

using CliRun = test::ProcessResult;

// Runs the tool with the configuration folders of `home` and the cache folder `cache`.
CliRun RunCliIn(const test::TempDir& home, const std::string& cache, const std::string& arguments) {
  return test::RunCliScript(home.path(), arguments, cache);
}

const std::string kSamples = KADREL_SAMPLES_DIR;

TEST(CliListFailures, AnIndexThatCannotBeSavedFailsTheRunAfterTheListing) {
  test::TempDir home, music;
  music.Write("A.MID", test::ReadFileBytes(kSamples + "/SONG1.MID"));
  // The index folder would lie below a plain file: it can be neither made nor written.
  const std::string blocker = home.Write("blocker", "not a folder");

  CliRun r = RunCliIn(home, blocker, "list --json '" + music.path() + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("春の小川"), std::string::npos) << "the listing is still printed";
  EXPECT_NE(r.err.find("Indexファイルの保存に失敗しました"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("could not be saved"), std::string::npos) << r.err;

  // Where the index can be written, the same listing succeeds.
  CliRun ok = RunCliIn(home, home.path() + "cache", "list --json '" + music.path() + "'");
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  EXPECT_EQ(ok.err.find("could not be saved"), std::string::npos) << ok.err;
}

// Listing reads the settings and leaves their folder as it was: no log or shared-memory
// files beside the store.
TEST(CliListFailures, ListingLeavesTheSettingsFolderAlone) {
  test::TempDir home, music;
  music.Write("A.MID", test::ReadFileBytes(kSamples + "/SONG1.MID"));
  const std::string cache = home.path() + "cache";
  ASSERT_EQ(RunCliIn(home, cache, "settings set --int 'Software\\Kadrel\\Test' Number 7").exitCode, 0);
  auto names = [&] {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(home.path() + "kadrel")) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  };
  const std::vector<std::string> before = names();
  ASSERT_EQ(std::count(before.begin(), before.end(), "settings.db"), 1);
  CliRun r = RunCliIn(home, cache, "list --json '" + music.path() + "'");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(names(), before);
}

// A listing killed while it unpacked archives left its work folder behind; the next
// listing removes it (and never the folder of a listing still running).
TEST(CliListFailures, TheNextListingRemovesAKilledListingsWorkFolder) {
  test::TempDir home, music;
  music.Write("A.MID", test::ReadFileBytes(kSamples + "/SONG1.MID"));
  const std::string temp = home.path() + "run/kadrel/";
  const std::string killed = temp + "list-0-1-0/";  // process 0: never a maker
  fs::create_directories(killed);
  test::WriteFileBytes(killed + ".kadrel-unpack-0-1-0.tmp", "half a member");
  const std::string self = std::to_string(::getpid());
  const std::string live = temp + "list-" + self + "-" + std::to_string(ProcessStartTime(::getpid())) + "-0/";
  fs::create_directories(live);
  CliRun r = RunCliIn(home, home.path() + "cache", "list --json '" + music.path() + "'");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(fs::exists(killed));
  EXPECT_TRUE(fs::exists(live));
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(temp)) left.push_back(e.path().filename().string());
  EXPECT_EQ(left.size(), 1u) << "the listing removes its own work folder";
}

// A .reg file past the designed size is refused before it is read in, and the store is
// left as it was.
TEST(CliSettingsFailures, AnOversizedRegFileIsRefused) {
  test::TempDir home;
  const std::string cache = home.path() + "cache";
  ASSERT_EQ(RunCliIn(home, cache, "settings set --int 'Software\\Kadrel\\Test' Number 7").exitCode, 0);
  // A well-formed file: the header, then one comment line of 17 MiB.
  const std::string reg = home.Write("big.reg", "REGEDIT4\n;" + std::string(17u << 20, 'c') + "\n");
  CliRun r = RunCliIn(home, cache, "settings import '" + reg + "'");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("larger than 16 MiB"), std::string::npos) << r.err;
  CliRun get = RunCliIn(home, cache, "settings get 'Software\\Kadrel\\Test' Number");
  EXPECT_EQ(get.exitCode, 0) << get.err;
  EXPECT_NE(get.out.find('7'), std::string::npos) << get.out;
}

}  // namespace
}  // namespace kadrel
