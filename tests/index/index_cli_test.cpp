// kadrel-cli index show / refresh / delete on an index written by the store.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "index/index_format.h"
#include "index_fixture.h"

namespace kadrel {
namespace {

using test::Entry;

class IndexCliTest : public test::IndexTest {
 protected:
  // Runs the tool with only a cache folder and home in the test's folder; returns the exit code.
  int Run(const std::string& args, std::string* out) {
    const std::string command = "env -i XDG_CACHE_HOME='" + temp.path() + "cache' HOME='" + temp.path() + "' '" +
                                KADREL_CLI_PATH + "' index " + args + " 2>'" + temp.path() + "err.txt'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    out->clear();
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out->append(buffer, n);
    const int status = ::pclose(pipe);
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
  ASSERT_EQ(Run("show '" + DrivePath() + "'", &text), 0);
  std::istringstream lines(text);
  std::vector<nlohmann::json> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0]["folder"], folder);
  EXPECT_EQ(rows[0]["records"], 2);
  EXPECT_EQ(rows[2]["FileName"], "gone");
  EXPECT_EQ(rows[2]["FileExt"], ".MID");

  ASSERT_EQ(Run("refresh --level 2 '" + DrivePath() + "'", &text), 0);
  EXPECT_EQ(nlohmann::json::parse(text)["Error"], "Lev.2 Fileが見つかりません.");
  EXPECT_EQ(nlohmann::json::parse(text)["FileName"], "gone.MID") << errors;
  ASSERT_EQ(Run("show --folder '" + folder + "'", &text), 0) << errors;
  EXPECT_EQ(nlohmann::json::parse(text.substr(0, text.find('\n')))["records"], 1);

  ASSERT_EQ(Run("delete '" + folder + "'", &text), 0);
  EXPECT_EQ(test::ReadFileBytes(DrivePath()), IndexHeader());
  EXPECT_EQ(Run("show --folder '" + folder + "'", &text), 1);
  EXPECT_EQ(Run("refresh --level 3 '" + DrivePath() + "'", &text), 2);
}

}  // namespace
}  // namespace kadrel
