// Command names: the fixed names, the two families of 26 and names that only look
// like them.

#include <gtest/gtest.h>

#include <set>

#include "commands/command_names.h"

namespace kadrel {
namespace {

std::optional<Command> Parse(std::string_view utf8) { return ParseCommandName(CommandBytes(utf8)); }

TEST(CommandNames, EveryNameIsKnownAndEveryOfferedNameRuns) {
  EXPECT_EQ(FixedCommandNames().size(), 53u);
  std::set<std::string_view> unique(FixedCommandNames().begin(), FixedCommandNames().end());
  EXPECT_EQ(unique.size(), 53u);
  for (std::string_view name : FixedCommandNames()) EXPECT_TRUE(Parse(name)) << name;
  EXPECT_EQ(FunctionListNames().size(), 47u + 52u);
  for (const std::string& name : FunctionListNames()) EXPECT_TRUE(Parse(name)) << name;
  EXPECT_EQ(Parse("プレイリストの読み込み"), Parse("PlayListの読み込み"));
  EXPECT_EQ(Parse("Indexのタイトル編集をする"), (Command{CommandId::EditIndex}));
  EXPECT_EQ(Parse("Player4で再生"), (Command{CommandId::PlayWithSlot, 4}));
}

TEST(CommandNames, FamiliesTakeTheLetterAtTheDesignedByte) {
  EXPECT_EQ(Parse("Aドライブへ移動"), (Command{CommandId::GoToDrive, 0}));
  EXPECT_EQ(Parse("Zドライブへ移動"), (Command{CommandId::GoToDrive, 25}));
  EXPECT_EQ(Parse("Qドライブへ移動です"), (Command{CommandId::GoToDrive, 16}));  // recognised by a part
  EXPECT_EQ(Parse("ジャンプフォルダ[A]を開く"), (Command{CommandId::OpenJumpFolder, 0}));
  EXPECT_EQ(Parse("ジャンプフォルダ(Z)"), (Command{CommandId::OpenJumpFolder, 25}));
  EXPECT_EQ(Parse("ジャンプフォルダのON/OFF"), (Command{CommandId::ToggleJumpFolders}));
}

TEST(CommandNames, MalformedFamilyNamesAreUnknown) {
  for (std::string_view name : {"aドライブへ移動", "[ドライブへ移動", "ドライブへ移動", "１ドライブへ移動",
                                "ドライブへ移動A", "ジャンプフォルダ[a]を開く", "ジャンプフォルダ[", "ジャンプフォルダ",
                                "ジャンプフォルダ[@]を開く", "ジャンプフォルダ[[]を開く", "ジャンプフォルダの", ""})
    EXPECT_FALSE(Parse(name)) << name;
  // Bytes that are no CP932 at all, and a name cut inside a double-byte character.
  const std::string drive = CommandBytes("Bドライブへ移動");
  EXPECT_FALSE(ParseCommandName(drive.substr(0, drive.size() - 1)));
  EXPECT_FALSE(ParseCommandName(std::string("\xff\x81\x40", 3)));
  EXPECT_FALSE(ParseCommandName(std::string(1, '\0') + drive.substr(1)));
}

TEST(CommandNames, OldNamesBecomeCurrentOnes) {
  EXPECT_EQ(RenameOldCommand(CommandBytes("ListPlay : PlayListから削除")), CommandBytes("PlayListからｱｲﾃﾑを削除"));
  EXPECT_EQ(RenameOldCommand(CommandBytes("詳細設定を開く")), CommandBytes("表示設定を開く"));
  EXPECT_EQ(RenameOldCommand(CommandBytes("インデックスの再構築")), CommandBytes("ファイル情報を完全に再取得"));
  EXPECT_EQ(RenameOldCommand("other"), "other");
}

}  // namespace
}  // namespace kadrel
