// kadrel-cli playlist, run as a separate process.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "support/temp_dir.h"

extern char** environ;

namespace {

// Exit code and the JSON lines printed.
std::pair<int, std::vector<nlohmann::json>> RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), KADREL_CLI_PATH);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int fds[2];
  if (::pipe(fds) != 0) return {-1, {}};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = 0;
  const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  ::close(fds[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t n; started && (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  ::close(fds[0]);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (!started || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return {-1, {}};
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return {WEXITSTATUS(status), lines};
}

TEST(PlayListCli, ShowsTheSampleListAndConvertsAnOldOne) {
  auto [code, lines] = RunCli({"playlist", "show", std::string(KADREL_SAMPLES_DIR) + "/SAMPLES.MPL"});
  ASSERT_EQ(code, 0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0]["record"]["FileName"], "SONG1");
  EXPECT_TRUE(lines.back()["folder"].get<std::string>().ends_with("samples/Extra/"));

  kadrel::test::TempDir dir;
  const std::string old = dir.Write("OLD.MPL", "[Kadrel PlayListFile Ver0.01]\r\nSONG\r\n.MID,,,2KB,4,\x8F\x74,C:\\M\\\r\n");
  const std::string converted = dir.path() + "NEW.MPL";
  ASSERT_EQ(RunCli({"playlist", "convert", old, converted}).first, 0);
  EXPECT_EQ(RunCli({"playlist", "convert", old, converted}).first, 1);  // exists
  std::tie(code, lines) = RunCli({"playlist", "show", converted});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["folder"], "C:/M/");
  EXPECT_EQ(lines[0]["slot"], 4);
  EXPECT_EQ(lines[0]["record"]["Title"], "春");
  EXPECT_EQ(RunCli({"playlist", "show", old + "x"}).first, 1);
}

}  // namespace
