// kadrel-cli playlist, run as a separate process.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include "support/temp_dir.h"

namespace {

// Exit code and the JSON lines printed.
std::pair<int, std::vector<nlohmann::json>> RunCli(const std::vector<std::string>& args) {
  std::string command = KADREL_CLI_PATH;
  for (const auto& a : args) command += " '" + a + "'";
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return {-1, {}};
  std::string out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = ::pclose(pipe);
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, lines};
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
