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

// The objects of the lines of `text` that hold one.
std::vector<nlohmann::json> JsonLines(const std::string& text);

}  // namespace kadrel::test
