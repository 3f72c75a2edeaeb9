// kadrel-cli listplay with the virtual player: the order of the items, the end of the
// run, and control lines on standard input.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "../playlist/playlist_test_util.h"
#include "playlist/playlist_io.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

struct RunResult {
  int exitCode = -1;
  std::vector<nlohmann::json> events;
};

class ListPlayCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Four loose sample files, each in the list once.
    for (auto [stem, row] : {std::pair{"SONG1", kRowMID}, {"SONG2", kRowMID}, {"TRACKER", kRowMOD}, {"DAWN", kRowMP3}})
      test::AddItem(list_, std::string(KADREL_SAMPLES_DIR) + "/", test::MusicRecord(stem, row));
    SilentMessageBox box;
    listPath_ = home_.path() + "list.mpl";
    ASSERT_EQ(SavePlayListFile(list_, listPath_, false, box), SaveResult::Saved);
  }

  // Runs the tool with a private configuration; `controls` are the lines on its standard input.
  RunResult ListPlay(const std::string& arguments, const std::string& controls = {}) {
    const std::string input = home_.Write("input.txt", controls);
    const test::ProcessResult run =
        test::RunCliScript(home_.path(), "listplay --dry-run " + arguments + " '" + listPath_ + "'", {}, input);
    return {run.exitCode, test::JsonLines(run.out)};
  }

  static std::vector<int> Launched(const RunResult& r) {
    std::vector<int> out;
    for (const auto& e : r.events)
      if (e["event"] == "launch") out.push_back(e["index"].get<int>());
    return out;
  }

  test::TempDir home_;
  TPLInfo list_;
  std::string listPath_;
};

TEST_F(ListPlayCliTest, NormalModeWrapsAndEndsAfterMaxItems) {
  const RunResult r = ListPlay("--mode 0 --start 1 --max-items 6");
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(Launched(r), (std::vector<int>{1, 2, 3, 0, 1, 2}));
  // Every launch is followed by the end of that item before the next launch.
  int open = -1;
  for (const auto& e : r.events) {
    if (e["event"] == "launch") {
      EXPECT_EQ(open, -1);
      open = e["index"].get<int>();
      EXPECT_TRUE(e["file"].get<std::string>().ends_with(list_.Items[static_cast<size_t>(open)]->Music.FullName()));
      EXPECT_GE(e["slot"].get<int>(), 1);
    } else if (e["event"] == "ended") {
      EXPECT_EQ(e["index"].get<int>(), open);
      EXPECT_EQ(e["reason"], "end");
      open = -1;
    }
  }
  ASSERT_FALSE(r.events.empty());
  EXPECT_EQ(r.events.back()["event"], "end");
}

TEST_F(ListPlayCliTest, RandomModeThatEndsPlaysAPermutationReproducibly) {
  const RunResult first = ListPlay("--mode 12 --seed 7");
  ASSERT_EQ(first.exitCode, 0);
  std::vector<int> order = Launched(first);
  std::vector<int> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(first.events.back()["event"], "end");
  EXPECT_EQ(Launched(ListPlay("--mode 12 --seed 7")), order);
}

TEST_F(ListPlayCliTest, StopLineEndsAnEndlessRun) {
  // Mode 0 never ends by itself; only the control line ends it.
  const RunResult r = ListPlay("--mode 0", "pause\nnonsense\nplaynow x\nstop\n");
  ASSERT_EQ(r.exitCode, 0);
  ASSERT_FALSE(r.events.empty());
  EXPECT_EQ(r.events.back()["event"], "end");
  EXPECT_EQ(std::count_if(r.events.begin(), r.events.end(), [](const auto& e) { return e["event"] == "end"; }), 1);
}

TEST_F(ListPlayCliTest, BadArgumentsAreUsageFaults) {
  EXPECT_EQ(ListPlay("--mode 3").exitCode, 2);
  EXPECT_EQ(ListPlay("--answer maybe").exitCode, 2);
  EXPECT_EQ(ListPlay("--start -1").exitCode, 2);
}

}  // namespace
}  // namespace kadrel
