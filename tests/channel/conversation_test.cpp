// The player conversation against a scripted player: connecting, the end of a piece,
// pause in both directions, new files, replay and loop, disconnects and reconnects,
// and the boxes with their answers.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "fake_transport.h"
#include "playback/channel_errors.h"
#include "playback/player_conversation.h"
#include "support/recording_box.h"

namespace kadrel::test {
namespace {

using namespace std::chrono_literals;
using Log = std::vector<std::string>;

class RecordingWatcher final : public IWindowWatcher {
 public:
  bool HasWindow(pid_t) override { return true; }
  void Minimise(pid_t) override {}
  void Raise(pid_t) override {}
  void FocusOwnWindow() override {}
  bool Close(pid_t pid) override {
    closed = pid;
    return true;
  }
  std::atomic<pid_t> closed{0};
};

class ConversationTest : public ::testing::Test {
 protected:
  std::unique_ptr<PlayerConversation> Make(ChannelProfile profile = MprisChannelProfile(),
                                           std::unique_ptr<IChannelTransport> transport = nullptr) {
    ConversationServices services;
    services.box = &box;
    services.clock = &clock;
    services.gate = &gate;
    services.windows = &watcher;
    services.pauseControl = [this](PauseControl c) {
      std::lock_guard lock(controlMutex);
      controls.push_back(c);
    };
    if (!transport) transport = std::make_unique<FakeTransport>(player);
    return std::make_unique<PlayerConversation>(std::move(profile), std::move(transport), services);
  }
  static ChannelPlay Play(int flags = kChannelNormalPlay, std::string file = "/m/a.mid") {
    ChannelPlay p;
    p.program = "/usr/bin/vlc";
    p.file = std::move(file);
    p.flags = flags;
    p.pid = 4242;
    return p;
  }
  bool Saw(PauseControl c, long times = 1) {
    std::lock_guard lock(controlMutex);
    return std::count(controls.begin(), controls.end(), c) >= times;
  }
  bool Playing(PlayerConversation& c) {
    return WaitUntil([&] { return c.State() == PlayerState::Playing && Saw(PauseControl::Enable); });
  }

  std::shared_ptr<FakePlayer> player = std::make_shared<FakePlayer>();
  RecordingMessageBox box;
  FastClock clock;
  ConversationGate gate;
  RecordingWatcher watcher;
  std::mutex controlMutex;
  std::vector<PauseControl> controls;
};

TEST_F(ConversationTest, WindowsProtocolPlayersFailAtOnceWithTheConnectWarning) {
  box.answers = {MessageAnswer::Retry, MessageAnswer::Cancel};
  auto c = Make(*WindowsChannelProfile("/opt/players/dpw.exe"), std::make_unique<UnavailableTransport>());
  c->Start(Play());
  c->Join();
  ASSERT_EQ(box.shown.size(), 2u);  // Retry tried the whole connect again
  EXPECT_EQ(box.shown[0].caption, "警告 [DDE演奏処理]");
  EXPECT_EQ(box.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::RetryCancel);
  EXPECT_EQ(box.shown[0].text, "Failed(12) : DdeConnect\nDDE接続でエラーが発生しました. [ｷｬﾝｾﾙ] で演奏処理を中断します.\n");
  EXPECT_EQ(clock.CountOf(500), 0);  // no connection wait for a protocol that does not exist here
  EXPECT_TRUE(c->EndRequested());
  EXPECT_FALSE(c->Running());
}

TEST_F(ConversationTest, ConnectGivesUpAfterSeventeenAttemptsHalfASecondApart) {
  player->connect = ConnectResult::NotYet;
  auto c = Make();
  c->Start(Play(kChannelListPlay));
  c->Join();
  EXPECT_EQ(player->connects, 17);
  EXPECT_EQ(clock.CountOf(500), 16);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].text.find("[ｷｬﾝｾﾙ] でListPlayを中断します."), std::string::npos);
  EXPECT_TRUE(player->Log().empty());
}

TEST_F(ConversationTest, PlaysUntilThePlayerReportsTheEnd) {
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(Playing(*c));
  player->Report("Stopped");
  c->Join();
  // The piece ended by itself: no stop command, and the player is left running.
  EXPECT_EQ(player->Log(), (Log{"connect", "advise", "play /m/a.mid", "unadvise", "disconnect"}));
  EXPECT_EQ(controls, (std::vector<PauseControl>{PauseControl::Enable, PauseControl::Disable}));
  EXPECT_TRUE(box.shown.empty());
  EXPECT_FALSE(c->EndRequested());
}

TEST_F(ConversationTest, PauseInThePlayersWindowIsMirroredAndExplicitRequestsAreSentOnce) {
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(Playing(*c));

  player->Report("Paused");
  ASSERT_TRUE(WaitUntil([&] { return Saw(PauseControl::ShowPressed); }));
  EXPECT_EQ(c->State(), PlayerState::Paused);
  player->Report("Playing");
  ASSERT_TRUE(WaitUntil([&] { return Saw(PauseControl::ShowReleased); }));
  EXPECT_EQ(player->Count("pause"), 0);  // the player paused itself: nothing to send

  c->Pause();
  ASSERT_TRUE(WaitUntil([&] { return player->Count("pause") == 1; }));
  c->Pause();  // already paused: a second request changes nothing
  c->Resume();
  ASSERT_TRUE(WaitUntil([&] { return player->Count("resume") == 1; }));
  c->Resume();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(player->Count("pause"), 1);
  EXPECT_EQ(player->Count("resume"), 1);

  c->Stop(false);
  c->Join();
  EXPECT_EQ(player->Count("stop"), 1);
  EXPECT_EQ(player->Count("quit"), 0);
}

TEST_F(ConversationTest, PauseFailureEndsWithTheErrorBox) {
  player->failPause = true;
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(Playing(*c));
  c->Pause();
  c->Join();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text,
            "Failed(39) : DdeClientTransaction(xtyp_Execute)\n一時停止でエラーが発生しました.\n演奏処理を中断します.\n");
  EXPECT_EQ(box.shown[0].caption, "エラー [DDE演奏処理]");
  EXPECT_TRUE(c->EndRequested());
  EXPECT_EQ(player->Count("quit"), 1);  // an answer that ends reserves the quit
}

TEST_F(ConversationTest, NewFileReusesTheRunningConversation) {
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(Playing(*c));
  c->NewFile("/m/b.mid", "");
  ASSERT_TRUE(WaitUntil([&] { return Saw(PauseControl::Enable, 2); }));
  player->Report("Stopped");
  c->Join();
  EXPECT_EQ(player->connects, 1);
  EXPECT_EQ(player->Count("advise"), 1);
  EXPECT_EQ(player->Count("play /m/a.mid"), 1);
  EXPECT_EQ(player->Count("stop"), 0);
}

TEST_F(ConversationTest, PlayerThatNeverReportsPlayingKeepsWaitingUntilStop) {
  player->startsPlaying = false;
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(WaitUntil([&] { return player->Count("play /m/a.mid") == 1; }));
  // "Stopped" before "Playing" is the state before loading, not the end.
  player->Report("Stopped");
  std::this_thread::sleep_for(200ms);  // dozens of (shortened) waits
  EXPECT_TRUE(c->Running());
  EXPECT_FALSE(Saw(PauseControl::Enable));
  c->Stop(false);
  c->Join();
  EXPECT_EQ(player->Count("stop"), 1);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(ConversationTest, FailedPlayCommandAsksWhetherToGoOn) {
  player->failPlay = true;
  box.answers = {MessageAnswer::No};
  auto c = Make();
  c->Start(Play(kChannelListPlay));
  c->Join();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(box.shown[0].text,
            "Failed(32) : DdeClientTransaction(xtyp_Execute)\n"
            "演奏されているようであれば続行しても全く差し支えありません.\nListPlayを続行しますか？");
  EXPECT_TRUE(c->EndRequested());
  EXPECT_EQ(player->Count("stop"), 1);
  EXPECT_EQ(player->Count("quit"), 1);

  // Yes: the player may be playing anyway, so its status is waited for.
  auto d = Make();
  box.answers = {MessageAnswer::Yes};
  d->Start(Play());
  ASSERT_TRUE(WaitUntil([&] { return box.ShownCount() == 2; }));
  player->Report("Playing");
  ASSERT_TRUE(Playing(*d));
  player->Report("Stopped");
  d->Join();
  EXPECT_FALSE(d->EndRequested());
}

TEST_F(ConversationTest, PlayerLeavingIsReportedInListPlayOnly) {
  auto c = Make();
  c->Start(Play(kChannelListPlay));
  ASSERT_TRUE(Playing(*c));
  player->Signal(ChannelEvent::Disconnected);
  c->Join();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, "警告 [DDE演奏処理]");
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(box.shown[0].text, "Error(71) : ServerApplication Disconnect\nPlayerが終了しました.ListPlayを続行しますか？");
  EXPECT_FALSE(c->EndRequested());       // Yes goes on with a new player
  EXPECT_EQ(player->Count("stop"), 0);   // nothing is sent to a player that has left
  EXPECT_EQ(player->Count("unadvise"), 0);

  auto d = Make();
  d->Start(Play());
  ASSERT_TRUE(Playing(*d));
  player->Signal(ChannelEvent::Disconnected);
  d->Join();
  EXPECT_EQ(box.shown.size(), 1u);
}

TEST_F(ConversationTest, TransportErrorsAreReportedAtTheEnd) {
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(Playing(*c));
  player->Signal(ChannelEvent::Unexpected);
  player->Report("Stopped");
  c->Join();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text,
            "Error(92) : DDE Result Error\n演奏処理を中断します.\n\n出来る限り、Kadrel、Playerを再起動してください.");
}

TEST_F(ConversationTest, FailedReconnectOffersAbortRetryIgnore) {
  player->reconnect = ReconnectResult::Failed;
  box.answers = {MessageAnswer::Retry, MessageAnswer::Ignore};
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(Playing(*c));
  player->Signal(ChannelEvent::ReconnectNeeded);
  ASSERT_TRUE(WaitUntil([&] { return box.ShownCount() == 2; }));
  EXPECT_EQ(box.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(box.shown[0].buttons, MessageButtons::AbortRetryIgnore);
  EXPECT_EQ(box.shown[0].text, "Error(81) : DdeReConnect\nDDE再接続でエラーが発生しました.\n[中止] で演奏処理を中断します.\n");
  EXPECT_EQ(player->Count("reconnect"), 2);
  std::this_thread::sleep_for(30ms);
  EXPECT_TRUE(c->Running());  // Ignore carries on without the conversation
  c->Stop(false);
  c->Join();
  EXPECT_FALSE(c->EndRequested());
  EXPECT_EQ(player->Count("stop"), 0);
}

TEST_F(ConversationTest, ReconnectThatNeverSucceedsEndsOnAbort) {
  player->reconnect = ReconnectResult::NotYet;
  box.answers = {MessageAnswer::Abort};
  auto c = Make();
  c->Start(Play(kChannelListPlay));
  ASSERT_TRUE(Playing(*c));
  player->Signal(ChannelEvent::ReconnectNeeded);
  c->Join();
  EXPECT_EQ(player->Count("reconnect"), 11);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(box.shown[0].text, "Failed(82) : DdeReConnect\nDDE再接続に失敗しました.\n[中止] でListPlayを中断します.\n");
  EXPECT_TRUE(c->EndRequested());
  EXPECT_EQ(player->Count("quit"), 0);  // the broken conversation gets no commands
}

TEST_F(ConversationTest, ReplayInListPlayAndQuitAtTheEnd) {
  auto c = Make();
  c->Start(Play(kChannelListPlay));
  ASSERT_TRUE(Playing(*c));
  c->Replay();
  ASSERT_TRUE(WaitUntil([&] { return player->Count("play /m/a.mid") == 2; }));
  c->Stop(true);
  c->Join();
  const Log log = player->Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ((Log{log.end() - 3, log.end()}), (Log{"unadvise", "stop", "quit"}));
  EXPECT_TRUE(box.shown.empty());  // its leaving after our quit is no news
}

TEST_F(ConversationTest, NewFileGivenWhileConnectingIsTheOnePlayed) {
  player->connect = ConnectResult::NotYet;
  auto c = Make();
  c->Start(Play());
  ASSERT_TRUE(WaitUntil([&] { return player->connects >= 2; }));
  c->NewFile("/m/b.mid", "");
  {
    std::lock_guard lock(player->mutex);
    player->connect = ConnectResult::Connected;
  }
  ASSERT_TRUE(Playing(*c));
  player->Report("Stopped");
  c->Join();
  EXPECT_EQ(player->Count("play /m/b.mid"), 1);
  EXPECT_EQ(player->Count("play /m/a.mid"), 0);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(ConversationTest, LoopedNormalPlayRepeatsUntilStopped) {
  auto c = Make();
  c->Start(Play(kChannelNormalPlay | kChannelLoopRequested));
  ASSERT_TRUE(Playing(*c));
  player->Report("Stopped");
  ASSERT_TRUE(WaitUntil([&] { return Saw(PauseControl::Enable, 2); }));
  c->Stop(false);
  c->Join();
  EXPECT_EQ(player->connects, 1);
}

TEST_F(ConversationTest, PolledPlayerIsAskedForItsStatusAndQuitsByClosingItsWindows) {
  player->playing = "play";
  player->paused = "pause";
  player->stopped = "stop";
  auto c = Make(*WindowsChannelProfile("C:/tools/TMIDI.EXE"));
  c->Start(Play());
  ASSERT_TRUE(Playing(*c));
  EXPECT_EQ(player->Count("advise"), 0);
  const int asked = player->statusRequests;
  ASSERT_TRUE(WaitUntil([&] { return player->statusRequests > asked + 2; }));
  c->Stop(true);
  c->Join();
  EXPECT_EQ(player->Count("quit"), 0);
  EXPECT_EQ(player->Count("stop"), 1);
  EXPECT_EQ(watcher.closed, 4242);
}

TEST_F(ConversationTest, OneConversationAtATime) {
  auto first = Make();
  first->Start(Play());
  ASSERT_TRUE(Playing(*first));

  auto other = std::make_shared<FakePlayer>();
  auto second = Make(MprisChannelProfile(), std::make_unique<FakeTransport>(other));
  second->Start(Play(kChannelNormalPlay, "/m/b.mid"));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(other->connects, 0);  // waits for the first conversation to end
  first->Stop(false);
  ASSERT_TRUE(WaitUntil([&] { return other->Count("play /m/b.mid") == 1; }));
  EXPECT_FALSE(first->Running());
  second->Stop(false);
  second->Join();
}

TEST(ConversationTiming, StopEndsEveryWaitAtOnce) {
  RecordingMessageBox box;
  auto player = std::make_shared<FakePlayer>();
  ConversationServices services;
  services.box = &box;  // the real clock: waits of 500 and 750 ms
  const auto elapsedUntil = [](const std::function<bool()>& done) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitUntil(done));
    return std::chrono::steady_clock::now() - start;
  };

  player->connect = ConnectResult::NotYet;
  PlayerConversation connecting(MprisChannelProfile(), std::make_unique<FakeTransport>(player), services);
  connecting.Start(ChannelPlay{"/usr/bin/vlc", "/m/a.mid", "", kChannelNormalPlay, 1});
  ASSERT_TRUE(WaitUntil([&] { return player->connects == 1; }));
  connecting.Stop(false);
  EXPECT_LT(elapsedUntil([&] { return !connecting.Running(); }), 200ms);

  player->connect = ConnectResult::Connected;
  PlayerConversation playing(MprisChannelProfile(), std::make_unique<FakeTransport>(player), services);
  playing.Start(ChannelPlay{"/usr/bin/vlc", "/m/a.mid", "", kChannelNormalPlay, 1});
  ASSERT_TRUE(WaitUntil([&] { return playing.State() == PlayerState::Playing; }, 3s));
  std::this_thread::sleep_for(100ms);  // inside the wait for the end
  playing.Stop(false);
  EXPECT_LT(elapsedUntil([&] { return player->Count("stop") == 1; }), 200ms);
  playing.Join();
  EXPECT_TRUE(box.shown.empty());
}

TEST(ChannelErrors, TextsOfTheRemainingCodes) {
  EXPECT_EQ(ChannelErrorMessage(34, true).text,
            "Failed(34) : DdeClientTransaction(xtyp_Execute)\n演奏の停止でエラーが発生しました.\nListPlayを続行しますか？");
  EXPECT_EQ(ChannelErrorMessage(36, false).text,
            "Failed(36) : DdeClientTransaction(xtyp_Execute)\nPlayerの終了でエラーが発生しました.\n演奏処理を中断します.\n");
  EXPECT_EQ(ChannelErrorMessage(2, false).text,
            "Failed(2) : DdeInitialize\n演奏処理を中断します.\n\n出来る限り、Kadrel、Playerを再起動してください.");
  EXPECT_EQ(ChannelErrorMessage(42, true).caption, "エラー [DDE演奏処理]");
  EXPECT_TRUE(ChannelAnswerGoesOn(34, MessageAnswer::Yes));
  EXPECT_FALSE(ChannelAnswerGoesOn(12, MessageAnswer::Cancel));
}

}  // namespace
}  // namespace kadrel::test
