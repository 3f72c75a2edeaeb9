// The engine under a storm of requests and list edits from the window's side, and the
// promptness of Stop with the real periods. Runs under ThreadSanitizer too.

#include <gtest/gtest.h>

#include <random>

#include "listplay_fakes.h"
#include "listplay_test_util.h"
#include "playback/listplay_engine.h"
#include "support/recording_box.h"

namespace kadrel {
namespace {

using test::PlayerBehaviour;
using test::WaitUntil;

TEST(ListPlayStress, RequestsAndEditsNeverOverlapPlayersAndStopEndsEverything) {
  TPLInfo list = test::MakeList(8);
  test::SerialBridge bridge;
  test::RecordingMessageBox box;
  test::FakePlayers players;
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  test::FakePreparation preparation;
  test::FastClock clock;
  ListPlayEngine engine({list, bridge, box, players, preparation, clock, {}});

  std::mt19937 random(42);
  for (int mode : {kModeNormal, kModeRandom, kModeShuffle}) {
    ASSERT_TRUE(engine.Start(0, mode, random()));
    for (int step = 0; step < 150 && engine.Running(); ++step) {
      switch (random() % 9) {
        case 0: engine.RequestNext(); break;
        case 1: bridge.RunOnWindowThread([&] { engine.RequestBack(); }); break;
        case 2: engine.RequestReplay(); break;
        case 3: engine.RequestPlayNow(static_cast<int>(random() % 10)); break;
        case 4: engine.RequestPause(); break;
        case 5: players.EndLatest(); break;
        case 6: bridge.RunOnWindowThread([&] { engine.SetNext(static_cast<int>(random() % 8)); }); break;
        case 7:
          bridge.RunOnWindowThread([&] {
            if (list.Items.size() > 3) list.Items.erase(list.Items.begin() + static_cast<long>(random() % list.Items.size()));
          });
          break;
        case 8:
          bridge.RunOnWindowThread([&] {
            if (list.Items.size() < 10) list.Items.push_back(std::move(test::MakeList(1).Items[0]));
          });
          break;
      }
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    }
    engine.Stop();
    engine.Join();
    EXPECT_FALSE(engine.Running());
    EXPECT_EQ(players.alive, 0);
  }
  EXPECT_EQ(players.maxAlive, 1);
  EXPECT_GT(players.LaunchCount(), 10u);
}

TEST(ListPlayStress, StopEndsTheDesignedWaitsAtOnce) {
  TPLInfo list = test::MakeList(3);
  test::SerialBridge bridge;
  test::RecordingMessageBox box;
  test::FakePlayers players;
  players.behaviour = PlayerBehaviour::RunsUntilClosed;
  test::FakePreparation preparation;
  SteadyListPlayClock clock;
  ListPlayEngine engine({list, bridge, box, players, preparation, clock, {}});
  ASSERT_TRUE(engine.Start(0, kModeNormal));
  ASSERT_TRUE(WaitUntil([&] { return players.LaunchCount() == 1; }));
  engine.RequestNext();  // ends the start pause and the wait for the end at once
  ASSERT_TRUE(WaitUntil([&] { return players.LaunchCount() == 2; }));

  const auto before = std::chrono::steady_clock::now();
  engine.Stop();  // the next item's preparation is still in its delay
  engine.Join();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  EXPECT_EQ(players.alive, 0);
}

}  // namespace
}  // namespace kadrel
