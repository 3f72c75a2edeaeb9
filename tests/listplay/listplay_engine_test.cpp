// The ListPlay engine over fake players and preparation: the order of launches, the
// window's requests, the error boxes and how each of them ends or goes on.

#include <gtest/gtest.h>

#include "listplay_fakes.h"
#include "listplay_test_util.h"
#include "playback/listplay_engine.h"
#include "support/recording_box.h"

namespace kadrel {
namespace {

using test::FakePlayers;
using test::PlayerBehaviour;
using test::WaitUntil;

class ListPlayEngineTest : public ::testing::Test {
 protected:
  void Make() {
    engine = std::make_unique<ListPlayEngine>(
        ListPlayEnvironment{list, bridge, box, players, preparation, clock, [this] { ++finished; }});
  }
  void RunToEnd(int start, int mode) {
    Make();
    ASSERT_TRUE(engine->Start(start, mode, 1));
    ASSERT_TRUE(WaitUntil([&] { return !engine->Running(); }));
    engine->Join();
  }
  void StartAndWaitForLaunches(int start, int mode, std::size_t launches) {
    Make();
    ASSERT_TRUE(engine->Start(start, mode, 1));
    ASSERT_TRUE(WaitUntil([&] { return players.LaunchCount() >= launches; }));
  }
  std::string Path(int i) { return "/music/SONG" + std::to_string(i) + ".MID"; }
  std::vector<std::string> Paths(std::initializer_list<int> items) {
    std::vector<std::string> paths;
    for (int i : items) paths.push_back(Path(i));
    return paths;
  }
  // Waits until the launch count reaches `count` and the engine published the new current item.
  void ExpectLaunch(std::size_t count, int item) {
    ASSERT_TRUE(WaitUntil([&] { return players.LaunchCount() >= count; })) << count;
    EXPECT_EQ(players.Launches().back(), Path(item));
    ASSERT_TRUE(WaitUntil([&] { return engine->Positions().Current == item; }));
  }
  void OnWindow(const std::function<void()>& call) { bridge.RunOnWindowThread(call); }

  TPLInfo list = test::MakeList(5);
  test::SerialBridge bridge;
  test::RecordingMessageBox box;
  FakePlayers players;
  test::FakePreparation preparation;
  test::FastClock clock;
  std::atomic<int> finished{0};
  std::unique_ptr<ListPlayEngine> engine;
};

TEST_F(ListPlayEngineTest, PlaysInOrderAndEndsWhenEveryItemWasPlayed) {
  list.Items.resize(3);
  RunToEnd(1, kModeNormal + 10);
  EXPECT_EQ(players.Launches(), Paths({1, 2, 0}));
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(players.maxAlive, 1);
  EXPECT_EQ(players.alive, 0);
  for (const auto& item : list.Items) EXPECT_EQ(item->Order, kNoOrder);  // marks reset at the end
}

TEST_F(ListPlayEngineTest, ReservedEndStopsAfterTheCurrentItem) {
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  StartAndWaitForLaunches(0, kModeNormal, 1);
  ExpectLaunch(1, 0);
  OnWindow([&] { engine->ReserveEnd(); });
  EXPECT_TRUE(engine->EndReserved());
  EXPECT_EQ(list.Items[1]->Mark, kNoMark);
  players.EndLatest();
  ASSERT_TRUE(WaitUntil([&] { return !engine->Running(); }));
  EXPECT_EQ(players.LaunchCount(), 1u);
  EXPECT_EQ(finished, 1);
}

TEST_F(ListPlayEngineTest, RequestsMoveWithoutEverOverlappingTwoPlayers) {
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  StartAndWaitForLaunches(0, kModeNormal, 1);
  ExpectLaunch(1, 0);

  bool accepted = true;
  OnWindow([&] { accepted = engine->RequestBack(); });  // nothing played before
  EXPECT_FALSE(accepted);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "前回再生したファイルの記録が見つかりませんでした.\n現在この機能は利用出来ません.");

  engine->RequestNext();
  ExpectLaunch(2, 1);
  OnWindow([&] { accepted = engine->RequestBack(); });
  EXPECT_TRUE(accepted);
  ExpectLaunch(3, 0);
  engine->RequestPlayNow(3);
  ExpectLaunch(4, 3);
  engine->RequestReplay();
  ExpectLaunch(5, 3);
  OnWindow([&] { EXPECT_TRUE(engine->SetNext(1)); });
  engine->RequestNext();
  ExpectLaunch(6, 1);
  EXPECT_EQ(players.maxAlive, 1);

  engine->Stop();
  engine->Join();
  EXPECT_EQ(players.alive, 0);
  EXPECT_EQ(finished, 1);
}

TEST_F(ListPlayEngineTest, CancellingTheReservedEndIsAskedFirst) {
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  StartAndWaitForLaunches(0, kModeNormal, 1);
  OnWindow([&] { engine->ReserveEnd(); });
  box.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  EXPECT_FALSE(engine->RequestNext());
  EXPECT_TRUE(engine->EndReserved());
  EXPECT_TRUE(engine->RequestNext());
  EXPECT_FALSE(engine->EndReserved());
  ExpectLaunch(2, 1);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].text, "すでにListPlay終了予約が設定されています.\n終了予約を取り消して命令を実行しますか？");
}

TEST_F(ListPlayEngineTest, ReservationCancelledAfterThePreparationGaveUpStillGoesOn) {
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  StartAndWaitForLaunches(0, kModeNormal, 1);
  OnWindow([&] { engine->ReserveEnd(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the delayed preparation gives up
  EXPECT_TRUE(engine->RequestNext());                          // OK: the reservation is cancelled
  ExpectLaunch(2, 1);
  ASSERT_EQ(box.shown.size(), 1u);  // only the question, no "Unpacking stoped"
}

TEST_F(ListPlayEngineTest, PlayNowOutOfRangeIsReportedAndPlayGoesOn) {
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  StartAndWaitForLaunches(0, kModeNormal, 1);
  OnWindow([&] { list.Items.resize(3); });  // items deleted meanwhile
  engine->RequestPlayNow(4);
  ExpectLaunch(2, 1);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, "エラー [ListPlay処理]");
  EXPECT_EQ(box.shown[0].text,
            "Error(211) : Error Unexpected\n再生要求のアイテム番号 4 は不適です.\n"
            "要求が無かったとみなしてListPlayは続行されます.");
}

TEST_F(ListPlayEngineTest, PauseAndResumeReachThePlayer) {
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  StartAndWaitForLaunches(0, kModeNormal, 1);
  engine->RequestPause();
  ASSERT_TRUE(WaitUntil([&] { return players.pauses == 1; }));
  engine->RequestResume();
  ASSERT_TRUE(WaitUntil([&] { return players.resumes == 1; }));
  EXPECT_EQ(players.LaunchCount(), 1u);
  // A pause right after "next" (a media key pressed twice) does not swallow the next.
  OnWindow([&] { EXPECT_TRUE(engine->RequestNext()); });
  engine->RequestPause();
  ExpectLaunch(2, 1);
}

struct SkipCase {
  int code;
  std::function<void(FakePlayers&, test::FakePreparation&)> arrange;
  std::string textStart;
};

TEST_F(ListPlayEngineTest, SkipQuestionsSkipOnYesAndEndOnNo) {
  const std::vector<SkipCase> cases = {
      {151, [](auto& p, auto&) { p.slots["SONG1"] = kNoSlotForFile; }, "MID 形式をListPlay可能なPlayerが"},
      {152, [](auto& p, auto&) { p.slots["SONG1"] = kSlotRefusesFile; }, "Player No.99では、MID 形式"},
      {201, [](auto&, auto& r) { r.results["SONG1"] = kPrepareArchiveMissing; }, "Error(201) : File is not found\n指定されたファイルが存在する"},
      {202, [](auto&, auto& r) { r.results["SONG1"] = kPrepareFileMissing; }, "Error(202) : File is not found\n指定された"},
      {203, [](auto&, auto& r) { r.missing.insert("/music/SONG1.MID"); }, "Error(203) : File is not found\n/music/SONG1.MIDが見つかりません."},
  };
  for (const auto& c : cases) {
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
      SCOPED_TRACE(testing::Message() << c.code << (answer == MessageAnswer::Yes ? " yes" : " no"));
      list = test::MakeList(3);
      players.Reset();
      preparation.results.clear();
      preparation.missing.clear();
      box.shown.clear();
      box.answers = {answer};
      c.arrange(players, preparation);
      RunToEnd(0, kModeNormal + 10);
      ASSERT_EQ(box.shown.size(), 1u);
      EXPECT_EQ(box.shown[0].caption, "警告 [ListPlay処理]");
      EXPECT_EQ(box.shown[0].buttons, MessageButtons::YesNo);
      EXPECT_TRUE(box.shown[0].text.starts_with(c.textStart)) << box.shown[0].text;
      EXPECT_TRUE(box.shown[0].text.ends_with("このファイルを飛ばしてListPlayを続行しますか？"));
      EXPECT_EQ(players.Launches(), answer == MessageAnswer::Yes ? Paths({0, 2}) : Paths({0}));
    }
  }
}

TEST_F(ListPlayEngineTest, UnexpectedStatesEndListPlay) {
  const std::vector<std::pair<int, int>> results = {
      {204, kPrepareAborted}, {205, kPrepareArchiveLibraryMissing}, {102, kPrepareNoResult}};
  for (const auto& [code, result] : results) {
    SCOPED_TRACE(code);
    players.Reset();
    box.shown.clear();
    preparation.results = {{"SONG1", result}};
    RunToEnd(0, kModeNormal);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, "エラー [ListPlay処理]");
    EXPECT_TRUE(box.shown[0].text.starts_with("Error(" + std::to_string(code) + ") : ")) << box.shown[0].text;
    EXPECT_EQ(players.Launches(), Paths({0}));
  }
  players.Reset();
  box.shown.clear();
  RunToEnd(7, kModeNormal);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text,
            "Error(122) : Error Unexpected(ListPlay GetInformation)\n予期せぬエラーが発生しました.ListPlayを終了します.");
  EXPECT_EQ(players.LaunchCount(), 0u);
}

TEST_F(ListPlayEngineTest, PlayersFailingAtOnceEndListPlayInsteadOfCycling) {
  players.behaviour = PlayerBehaviour::FailsAtOnce;
  RunToEnd(0, kModeNormal);
  EXPECT_EQ(players.LaunchCount(), 3u);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, "警告 [ListPlay処理]");

  players.Reset();
  players.failLaunch = true;
  box.shown.clear();
  RunToEnd(0, kModeNormal);
  EXPECT_EQ(players.LaunchCount(), 3u);
  ASSERT_EQ(box.shown.size(), 4u);
  EXPECT_EQ(box.shown[0].text, "Error : CreateProcess(Case1)\nErrorNo : 2");
}

}  // namespace
}  // namespace kadrel
