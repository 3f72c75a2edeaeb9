// kadrel-cli index show / refresh / delete on an index written by the store.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "index/store/index_format.h"
#include "index_fixture.h"

extern char** environ;

namespace kadrel {
namespace {

using test::Entry;

class IndexCliTest : public test::IndexTest {
 protected:
  // Runs the tool with the cache folder in the test's folder; returns the exit code.
  int Run(std::vector<std::string> args, std::string* out) {
    args.insert(args.begin(), {KADREL_CLI_PATH, "index"});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env{"XDG_CACHE_HOME=" + temp.path() + "cache", "HOME=" + temp.path()};
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string outPath = temp.path() + "out.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (temp.path() + "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    *out = test::ReadFileBytes(outPath);
    errors = test::ReadFileBytes(temp.path() + "err.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string errors;
};

TEST_F(IndexCliTest, ShowRefreshAndDelete) {
  options.IndexFolder = temp.path() + "cache/kadrel/index/";
  TFolderIndex index = MakeIndex();
  const std::string folder = temp.MakeFolder("m");
  temp.Write("m/keep.mid", "MThd");
  std::vector<TMusicFileInfo> out;
  index.OpenFolderIndex(folder, out);
  ASSERT_TRUE(index.WriteFolderBlock({Entry("keep", kRowMID, kLooseFile), Entry("gone", kRowMID, kLooseFile)}));

  std::string text;
  ASSERT_EQ(Run({"show", DrivePath()}, &text), 0);
  std::istringstream lines(text);
  std::vector<nlohmann::json> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0]["folder"], folder);
  EXPECT_EQ(rows[0]["records"], 2);
  EXPECT_EQ(rows[2]["FileName"], "gone");
  EXPECT_EQ(rows[2]["FileExt"], ".MID");

  ASSERT_EQ(Run({"refresh", "--level", "2", DrivePath()}, &text), 0);
  EXPECT_EQ(nlohmann::json::parse(text)["Error"], "Lev.2 Fileが見つかりません.");
  EXPECT_EQ(nlohmann::json::parse(text)["FileName"], "gone.MID") << errors;
  ASSERT_EQ(Run({"show", "--folder", folder}, &text), 0) << errors;
  EXPECT_EQ(nlohmann::json::parse(text.substr(0, text.find('\n')))["records"], 1);

  ASSERT_EQ(Run({"delete", folder}, &text), 0);
  EXPECT_EQ(test::ReadFileBytes(DrivePath()), IndexHeader());
  EXPECT_EQ(Run({"show", "--folder", folder}, &text), 1);
  EXPECT_EQ(Run({"refresh", "--level", "3", DrivePath()}, &text), 2);
}

}  // namespace
}  // namespace kadrel
