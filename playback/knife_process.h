#pragma once
// Runs the SMF conversion program as a child process with a time limit: it is killed
// (with whatever it started) when the limit passes or when the caller asks to stop.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace kadrel {

struct KnifeProcessResult {
  bool started = false;
  int spawnError = 0;      // errno of a failed start
  bool exited = false;     // ended by itself with an exit status
  int exitCode = -1;
  bool timedOut = false;   // killed at the limit
  bool stopped = false;    // killed because the caller asked to stop
};

using KnifeRunner = std::function<KnifeProcessResult(const std::vector<std::string>& argv,
                                                     std::chrono::milliseconds limit,
                                                     const std::function<bool()>& stopRequested)>;

// The real runner: spawns argv (never through a shell) and waits in short steps.
KnifeProcessResult RunKnifeProcess(const std::vector<std::string>& argv, std::chrono::milliseconds limit,
                                   const std::function<bool()>& stopRequested);

}  // namespace kadrel
