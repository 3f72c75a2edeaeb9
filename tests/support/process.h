#pragma once
// Running other programs from the tests: the command-line tool, and lhasa's tool and a
// MIDI renderer as independent oracles.

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kadrel::test {

struct ProcessResult {
  int exitCode = -1;  // -1: could not be started, or did not exit normally
  std::string out, err;
};

// Runs `args` (no shell; args[0] is looked up on the search path). With `env` the
// program sees only those NAME=VALUE entries, else the test's own environment.
ProcessResult RunProcess(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

// kadrel-cli with these arguments.
ProcessResult RunCli(std::vector<std::string> args, const std::vector<std::string>& env = {});

// kadrel-cli as a script runs it: `arguments` is shell text. The configuration, cache,
// runtime and temporary folders are private ones below `home` (ending in "/"; the cache at
// `cache` when given), standard input is the file `input` (nothing when empty), and a run
// that hangs is killed after two minutes.
ProcessResult RunCliScript(const std::string& home, const std::string& arguments, const std::string& cache = {},
                           const std::string& input = {});

// The objects of the lines of `text` that hold one.
std::vector<nlohmann::json> JsonLines(const std::string& text);

}  // namespace kadrel::test
