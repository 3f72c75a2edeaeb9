// kadrel-cli search over the index that kadrel-cli list wrote while scanning a copy of
// the sample collection.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {
using test::JsonLines;

class SearchCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = temp.path() + "samples/";
    std::filesystem::copy(KADREL_SAMPLES_DIR, folder, std::filesystem::copy_options::recursive);
    auto list = Cli({"list", folder});
    ASSERT_EQ(list.exitCode, 0) << list.err;
  }
  test::ProcessResult Cli(std::vector<std::string> args) {
    return test::RunCli(std::move(args), {"XDG_CACHE_HOME=" + temp.path() + "cache", "HOME=" + temp.path()});
  }
  test::TempDir temp;
  std::string folder;
};

TEST_F(SearchCliTest, JsonLinesCarryTheFolderTheRecordAndTheMatchedFields) {
  auto found = Cli({"search", "--json", "spring", "はる"});  // the title "春の歌 ～Spring Song～" is in kanji
  EXPECT_EQ(found.exitCode, 1) << found.out;

  found = Cli({"search", "--json", "ＳＰＲＩＮＧ", "song"});
  ASSERT_EQ(found.exitCode, 0) << found.err;
  auto rows = JsonLines(found.out);
  ASSERT_EQ(rows.size(), 2u);  // the loose HARU.RCP and the one in HARUKAZE.LZH
  for (const auto& row : rows) {
    EXPECT_EQ(row["folder"], folder);
    EXPECT_EQ(row["FileName"], "HARU");
    EXPECT_EQ(row["matched"], nlohmann::json::array({"Title"}));
    EXPECT_EQ(row["folderExists"], true);
  }
  EXPECT_EQ(rows[0]["Archiver"].get<std::string>() + rows[1]["Archiver"].get<std::string>(), "HARUKAZE.LZH");
}

TEST_F(SearchCliTest, FieldFormatAndFolderOptionsLimitTheHits) {
  auto byName = Cli({"search", "--json", "--field", "FileName", "haru"});
  ASSERT_EQ(byName.exitCode, 0) << byName.err;
  EXPECT_EQ(JsonLines(byName.out).size(), 2u);  // not 春風 (HARUKAZE is the archive's name)
  EXPECT_EQ(Cli({"search", "--field", "Artist", "haru"}).exitCode, 1);
  EXPECT_EQ(Cli({"search", "--format", "MP3", "haru"}).exitCode, 1);
  EXPECT_EQ(Cli({"search", "--under", temp.path() + "elsewhere", "haru"}).exitCode, 1);

  auto table = Cli({"search", "--under", folder, "--format", "rcp", "春"});
  ASSERT_EQ(table.exitCode, 0) << table.err;
  EXPECT_NE(table.out.find("Folder"), std::string::npos);
  EXPECT_NE(table.out.find("HARU.RCP"), std::string::npos);
}

TEST_F(SearchCliTest, AGoneFolderIsMarkedAndWrongArgumentsAreUsageFaults) {
  std::filesystem::remove_all(folder);
  auto gone = Cli({"search", "--json", "夜明け"});
  ASSERT_EQ(gone.exitCode, 0) << gone.err;
  for (const auto& row : JsonLines(gone.out)) EXPECT_EQ(row["folderExists"], false);
  auto table = Cli({"search", "夜明け"});
  EXPECT_NE(table.out.find("(gone)"), std::string::npos);

  EXPECT_EQ(Cli({"search", "--field", "Size", "x"}).exitCode, 2);
  EXPECT_EQ(Cli({"search", "--format", "XYZ", "x"}).exitCode, 2);
  EXPECT_EQ(Cli({"search", "\xEF\xBF\xBD"}).exitCode, 2);
  EXPECT_EQ(Cli({"search"}).exitCode, 2);
}

}  // namespace
}  // namespace kadrel
