// Many conversations with requests, player news and stops arriving from other threads at
// once; run under ThreadSanitizer by scripts/test-tsan.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "fake_transport.h"
#include "playback/player_conversation.h"
#include "support/recording_box.h"

namespace kadrel::test {
namespace {

TEST(ConversationStress, RequestsNewsAndStopsFromEveryThread) {
  RecordingMessageBox box({}, MessageAnswer::Ignore);
  FastClock clock;
  ConversationGate gate;
  std::atomic<int> controlCalls{0};
  ConversationServices services;
  services.box = &box;
  services.clock = &clock;
  services.gate = &gate;
  services.pauseControl = [&](PauseControl) { ++controlCalls; };

  for (int round = 0; round < 12; ++round) {
    auto player = std::make_shared<FakePlayer>();
    std::vector<std::unique_ptr<PlayerConversation>> conversations;
    for (int i = 0; i < 3; ++i) {
      conversations.push_back(std::make_unique<PlayerConversation>(
          MprisChannelProfile(), std::make_unique<FakeTransport>(player), services));
      conversations.back()->Start(ChannelPlay{"/usr/bin/vlc", "/m/a.mid", "", kChannelNormalPlay, 1});
    }
    std::atomic<bool> done{false};
    std::thread window([&] {
      for (int i = 0; !done; ++i) {
        auto& c = *conversations[i % conversations.size()];
        switch (i % 4) {
          case 0: c.Pause(); break;
          case 1: c.Resume(); break;
          case 2: c.NewFile("/m/b.mid", ""); break;
          default: (void)c.State(); break;
        }
        std::this_thread::yield();
      }
    });
    std::thread news([&] {
      const char* statuses[] = {"Playing", "Paused", "Playing", "Stopped"};
      for (int i = 0; !done; ++i) {
        player->Report(statuses[i % 4]);
        if (i % 97 == 0) player->Signal(ChannelEvent::ReconnectNeeded);
        std::this_thread::yield();
      }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    for (auto& c : conversations) c->Stop(round % 2 == 0);
    for (auto& c : conversations) {
      c->Join();
      EXPECT_FALSE(c->Running());
    }
    done = true;
    window.join();
    news.join();
  }
}

}  // namespace
}  // namespace kadrel::test
