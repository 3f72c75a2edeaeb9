// Starting, watching and closing player processes.

#include <gtest/gtest.h>
#include <signal.h>

#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <chrono>
#include <thread>

#include "play_fixture.h"
#include "playback/player_process.h"

namespace kadrel::test {
namespace {

using namespace std::chrono_literals;

struct Spawned {
  TempDir dir;
  std::string log = dir.path() + "log";
  ScopedEnv logEnv{"FAKE_PLAYER_LOG", log};
};

TEST(PlayerProcess, ArgumentsReachThePlayerByteForByte) {
  Spawned s;
  ScopedEnv quick("FAKE_PLAYER_MS", "0");
  const std::vector<std::string> args = {
      KADREL_FAKE_PLAYER,
      "/music/\x83\x5c\x83\x93\x83\x4f.MID",  // ソング in Shift-JIS, with a 0x5C trail byte
      "/music/two  blanks and \"quotes\" 'too'.mid",
      "/music/$(touch " + s.dir.path() + "pwned); rm -rf x.mid",
      "/music/line\nbreak`id`.mid",
      "-leading-dash.mid",
      "",
  };
  SpawnResult r = SpawnProcess(args);
  ASSERT_TRUE(r.process) << r.error;
  ASSERT_TRUE(r.process->WaitForExit(5s));
  auto starts = ReadFakeStarts(s.log);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].args, args);
  EXPECT_FALSE(std::filesystem::exists(s.dir.path() + "pwned")) << "no shell saw the arguments";
  EXPECT_EQ(r.process->WaitStatus(), 0);
}

TEST(PlayerProcess, ThePlayerStartsInAClearSessionOfItsOwn) {
  Spawned s;
  ScopedEnv quick("FAKE_PLAYER_MS", "0");
  // What this process has set up must not leak into the player: a blocked signal, an
  // ignored one, and an open descriptor without close-on-exec.
  sigset_t block, old;
  sigemptyset(&block);
  sigaddset(&block, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &block, &old);
  auto oldUsr2 = ::signal(SIGUSR2, SIG_IGN);
  const int leaked = ::open("/dev/null", O_RDONLY);
  SpawnResult r = SpawnProcess({KADREL_FAKE_PLAYER});
  ::close(leaked);
  ::signal(SIGUSR2, oldUsr2);
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  ASSERT_TRUE(r.process);
  ASSERT_TRUE(r.process->WaitForExit(5s));

  auto starts = ReadFakeStarts(s.log);
  ASSERT_EQ(starts.size(), 1u);
  const FakeStart& f = starts[0];
  EXPECT_EQ(f.pid, r.process->Pid());
  EXPECT_EQ(f.sid, f.pid) << "a session of its own";
  EXPECT_EQ(f.pgid, f.pid);
  EXPECT_EQ(f.fds, (std::vector<int>{0, 1, 2})) << "nothing above standard error";
  EXPECT_TRUE(f.blocked.empty());
  EXPECT_TRUE(f.ignored.empty());
  EXPECT_FALSE(f.stdinTty);
}

TEST(PlayerProcess, AFailedStartReportsItsOwnErrorNumber) {
  TempDir dir;
  EXPECT_EQ(SpawnProcess({dir.path() + "no-such-player"}).error, ENOENT);
  EXPECT_EQ(SpawnProcess({"kadrel-no-such-program-anywhere"}).error, ENOENT);
  const std::string notExecutable = dir.Write("player", "#!/bin/sh\n");
  EXPECT_EQ(SpawnProcess({notExecutable}).error, EACCES);
  EXPECT_EQ(SpawnProcess({}).error, ENOENT);
}

TEST(PlayerProcess, TheEndIsSeenAndTheProcessReaped) {
  ScopedEnv ms("FAKE_PLAYER_MS", "50");
  ScopedEnv code("FAKE_PLAYER_EXIT", "3");
  SpawnResult r = SpawnProcess({KADREL_FAKE_PLAYER});
  ASSERT_TRUE(r.process);
  std::atomic<bool> handled{false};
  r.process->SetEndHandler([&] { handled = true; });
  EXPECT_FALSE(r.process->Ended());
  ASSERT_TRUE(r.process->WaitForExit(5s));
  EXPECT_EQ(r.process->WaitStatus(), 3 << 8);
  // Reaped: no zombie is left, and nothing is signalled any more.
  EXPECT_TRUE(ProcessGone(r.process->Pid()));
  EXPECT_FALSE(r.process->SignalGroup(SIGTERM));
  for (int i = 0; i < 100 && !handled; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_TRUE(handled);
}

TEST(PlayerProcess, ClosingEndsPlayersThatResist) {
  struct Case {
    const char* name;
    bool ignoreTerm;
    bool stop;
    bool fork;
  };
  for (const Case& c : {Case{"ignores SIGTERM", true, false, false}, Case{"stopped", false, true, false},
                        Case{"forked a helper that ignores SIGTERM", true, false, true}}) {
    SCOPED_TRACE(c.name);
    Spawned s;
    ScopedEnv ignore("FAKE_PLAYER_IGNORE_TERM", c.ignoreTerm ? "1" : "0");
    ScopedEnv fork("FAKE_PLAYER_FORK", c.fork ? "1" : "0");
    SpawnResult r = SpawnProcess({KADREL_FAKE_PLAYER});
    ASSERT_TRUE(r.process);
    auto starts = WaitForFakeStarts(s.log, 1);
    ASSERT_EQ(starts.size(), 1u);
    long child = 0;
    if (c.fork) {
      for (int i = 0; i < 200 && child == 0; ++i) {
        std::ifstream in(s.log);
        std::string word;
        while (in >> word)
          if (word == "child") in >> child;
        std::this_thread::sleep_for(5ms);
      }
      ASSERT_NE(child, 0);
    }
    if (c.stop) {
      ASSERT_TRUE(r.process->SignalGroup(SIGSTOP));
      for (int i = 0; i < 200 && !r.process->Stopped(); ++i) std::this_thread::sleep_for(5ms);
      ASSERT_TRUE(r.process->Stopped());
    }
    const auto start = std::chrono::steady_clock::now();
    r.process->Terminate(0ms, 300ms);
    ASSERT_TRUE(r.process->WaitForExit(5s));
    const auto took = std::chrono::steady_clock::now() - start;
    if (c.ignoreTerm) EXPECT_GE(took, 290ms) << "SIGKILL comes after the grace period";
    else EXPECT_LT(took, 290ms);
    if (child) {
      for (int i = 0; i < 200 && !ProcessGone(child); ++i) std::this_thread::sleep_for(5ms);
      EXPECT_TRUE(ProcessGone(child)) << "the helper in the player's group goes too";
    }
  }
}

TEST(PlayerProcess, APlayerThatEndedIsNeverSignalled) {
  ScopedEnv ms("FAKE_PLAYER_MS", "0");
  SpawnResult r = SpawnProcess({KADREL_FAKE_PLAYER});
  ASSERT_TRUE(r.process && r.process->WaitForExit(5s));
  r.process->Terminate(0ms, 0ms);  // must not reach a process that took over the number
  EXPECT_FALSE(r.process->SignalGroup(SIGSTOP));
  EXPECT_FALSE(r.process->Stopped());
}

}  // namespace
}  // namespace kadrel::test
