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

struct CliRun {
  int exitCode = -1;
  std::string out;
};

CliRun RunCli(std::vector<std::string> args) {
  args.insert(args.begin(), KADREL_CLI_PATH);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int fds[2];
  if (::pipe(fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = 0;
  CliRun run;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    ::close(fds[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) run.out.append(buffer, n);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  } else {
    ::close(fds[1]);
  }
  ::close(fds[0]);
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

std::vector<nlohmann::json> Lines(const std::string& out) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

TEST(PlayListCli, ShowsTheSampleList) {
  const CliRun run = RunCli({"playlist", "show", std::string(KADREL_SAMPLES_DIR) + "/SAMPLES.MPL"});
  ASSERT_EQ(run.exitCode, 0);
  const auto lines = Lines(run.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0]["index"], 0);
  EXPECT_TRUE(lines[0]["folder"].get<std::string>().ends_with("samples/"));
  EXPECT_EQ(lines[0]["record"]["FileName"], "SONG1");
  EXPECT_TRUE(lines.back()["folder"].get<std::string>().ends_with("samples/Extra/"));
}

TEST(PlayListCli, ConvertsAnOldListAndRefusesOtherFiles) {
  kadrel::test::TempDir dir;
  const std::string old = dir.Write("OLD.MPL",
                                    "[Kadrel PlayListFile Ver0.01]\r\nSONG\r\n.MID,SMF1,,2KB,4,\x8F\x74,C:\\M\\\r\n[EOF]\r\n");
  const std::string converted = dir.path() + "NEW.MPL";
  ASSERT_EQ(RunCli({"playlist", "convert", old, converted}).exitCode, 0);
  EXPECT_EQ(RunCli({"playlist", "convert", old, converted}).exitCode, 1);  // exists
  EXPECT_EQ(RunCli({"playlist", "convert", "--force", old, converted}).exitCode, 0);

  const CliRun shown = RunCli({"playlist", "show", converted});
  ASSERT_EQ(shown.exitCode, 0);
  const auto lines = Lines(shown.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["folder"], "C:/M/");
  EXPECT_EQ(lines[0]["slot"], 4);
  EXPECT_EQ(lines[0]["record"]["Title"], "春");

  EXPECT_EQ(RunCli({"playlist", "show", dir.Write("NOT.MPL", "text")}).exitCode, 1);
  EXPECT_EQ(RunCli({"playlist", "frobnicate"}).exitCode, 2);
}

}  // namespace
