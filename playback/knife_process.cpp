#include "playback/knife_process.h"

#include <sys/wait.h>

#include <csignal>

#include "playback/player_process.h"

namespace kadrel {
namespace {

constexpr auto kPollStep = std::chrono::milliseconds(50);
constexpr auto kKillWait = std::chrono::seconds(5);

}  // namespace

KnifeProcessResult RunKnifeProcess(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
                                   const std::function<bool()>& stopRequested) {
  KnifeProcessResult result;
  SpawnResult spawned = SpawnProcess(argv);
  if (!spawned.process) {
    result.spawnError = spawned.error;
    return result;
  }
  result.started = true;
  SpawnedPlayer& process = *spawned.process;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!process.WaitForExit(kPollStep)) {
    if (stopRequested && stopRequested()) result.stopped = true;
    else if (std::chrono::steady_clock::now() >= deadline) result.timedOut = true;
    else continue;
    // The program gets no second chance: its output is thrown away either way.
    process.SignalGroup(SIGKILL);
    process.WaitForExit(kKillWait);
    return result;
  }
  if (const auto status = process.WaitStatus(); status && WIFEXITED(*status)) {
    result.exited = true;
    result.exitCode = WEXITSTATUS(*status);
  }
  return result;
}

}  // namespace kadrel
