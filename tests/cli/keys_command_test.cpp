// kadrel-cli keys: show, write-default and check.

#include <gtest/gtest.h>

#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace kadrel {
namespace {

using test::RunCli;

TEST(CliKeys, WriteDefaultThenShowAndCheckIt) {
  test::TempDir dir;
  const std::string file = dir.path() + "Default.Key";
  ASSERT_EQ(RunCli({"keys", "write-default", file}).exitCode, 0);
  EXPECT_EQ(test::ReadFileBytes(file), test::ReadFileBytes(test::TestDataDir() + "keys/Default.Key"));
  EXPECT_EQ(RunCli({"keys", "check", file}).exitCode, 0);

  const test::ProcessResult shown = RunCli({"keys", "show", file});
  ASSERT_EQ(shown.exitCode, 0);
  const auto rows = test::JsonLines(shown.out);
  ASSERT_EQ(rows.size(), 67u);
  EXPECT_EQ(rows[0], nlohmann::json::parse(
                         R"({"row":1,"key":"Return","cells":["最適な方法で開く","ポップアップを開く","関連ﾌｧｲﾙ詳細情報を開く",""]})"));
  EXPECT_EQ(rows[27]["cells"][1], "ファイル情報を完全に再取得");  // "I" with Ctrl, renamed when read
  EXPECT_EQ(rows[55]["key"], "，");
  EXPECT_EQ(rows[55]["cells"][1], "(設定できません)");
  EXPECT_EQ(RunCli({"keys", "show"}).out, shown.out);  // the built-in default
}

TEST(CliKeys, UnknownNamesAreFlaggedAndRefusedFilesFail) {
  test::TempDir dir;
  std::string bytes = test::ReadFileBytes(test::TestDataDir() + "keys/Default.Key");
  const std::string file = dir.Write("odd.key", bytes.replace(bytes.find("\r\nIns,,,,"), 9, "\r\nIns,zzz,,,"));
  const auto rows = test::JsonLines(RunCli({"keys", "show", file}).out);
  ASSERT_EQ(rows.size(), 67u);
  EXPECT_EQ(rows[3]["unknown"], nlohmann::json::parse(R"(["zzz"])"));
  EXPECT_FALSE(rows[2].contains("unknown"));

  const std::string old = dir.Write("old.key", "[KadrelKeyCustomizeFile]\r\n0.01\r\n" + std::string(70, '\n'));
  const test::ProcessResult checked = RunCli({"keys", "check", old});
  EXPECT_EQ(checked.exitCode, 1);
  EXPECT_NE(checked.err.find("キー定義ファイルのVersionが異なります."), std::string::npos);
  EXPECT_EQ(RunCli({"keys", "check", dir.path() + "missing.key"}).exitCode, 1);
  EXPECT_EQ(RunCli({"keys", "write-default", dir.path() + "no/such/folder.key"}).exitCode, 1);
}

}  // namespace
}  // namespace kadrel
