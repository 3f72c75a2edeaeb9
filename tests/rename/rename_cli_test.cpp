// kadrel-cli rename: the JSON result, and a refusal with the window's message.

#include <gtest/gtest.h>

#include "archive/lzh_archive.h"
#include "archive/lzh_writer.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace kadrel {
namespace {

using test::JsonLines;

class RenameCliTest : public ::testing::Test {
 protected:
  test::ProcessResult Rename(std::vector<std::string> args) {
    args.insert(args.begin(), "rename");
    return test::RunCli(args, {"XDG_CACHE_HOME=" + temp.path() + "cache", "HOME=" + temp.path(),
                               "XDG_CONFIG_HOME=" + temp.path() + "config"});
  }
  test::TempDir temp;
};

TEST_F(RenameCliTest, RenamesAMemberAndRefusesATakenName) {
  const std::string archive = temp.Write("PACK.LZH", BuildStoredArchive({{"SONG.MID", "d"}, {"READ.MID", "r"}}));
  auto done = Rename({archive, "SONG.MID", "ソング.MID"});
  ASSERT_EQ(done.exitCode, 0) << done.err;
  const auto result = JsonLines(done.out).at(0);
  EXPECT_EQ(result["result"], "renamed");
  EXPECT_EQ(result["kind"], "member");
  EXPECT_EQ(result["new"], "ソング.MID");
  EXPECT_EQ(ListLzhFile(archive).members.at(0).name, "\x83\x5C\x83\x93\x83\x4F.MID");

  auto taken = Rename({archive, "READ.MID", "read.mid"});
  EXPECT_EQ(taken.exitCode, 0) << "a case-only change of a member is no change";
  taken = Rename({archive, "READ.MID", "ソング.mid"});
  EXPECT_EQ(taken.exitCode, 1);
  EXPECT_EQ(JsonLines(taken.out).at(0)["result"], "refused");
  EXPECT_NE(taken.err.find("圧縮ファイル内に既に ソング.mid は既に存在します."), std::string::npos) << taken.err;

  temp.Write("loose.mid", "MThd");
  temp.Write("Other.MID", "MThd");
  auto clash = Rename({temp.path() + "loose.mid", "other.mid"});
  EXPECT_EQ(clash.exitCode, 1);
  EXPECT_NE(clash.err.find("other.mid は既に存在します.\n名前の変更に失敗しました."), std::string::npos) << clash.err;
  EXPECT_EQ(Rename({temp.path() + "loose.mid", "loose.wav"}).exitCode, 2);
}

}  // namespace
}  // namespace kadrel
