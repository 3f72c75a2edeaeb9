#include "settings/jump_folder_choice.h"

#include <gtest/gtest.h>

namespace kadrel {
namespace {

using Outcome = JumpChoice::Outcome;

TEST(JumpFolderChoice, EmptyRowsDoNothingAndNoRowIsNoSelection) {
  const std::array<std::string, 26> none{};
  auto exists = [](const std::string&) { return true; };
  for (int row = 0; row < 26; ++row) EXPECT_EQ(ChooseJumpFolder(none, row, exists).outcome, Outcome::Nothing) << row;
  EXPECT_EQ(ChooseJumpFolder(none, -1, exists).outcome, Outcome::NoSelection);
  EXPECT_EQ(ChooseJumpFolder(none, 26, exists).outcome, Outcome::NoSelection);
}

TEST(JumpFolderChoice, ExistingFolderRunsItsLetterAndMissingOneIsNamed) {
  std::array<std::string, 26> folders{};
  folders[2] = "  /music/midi  ";
  folders[3] = "/music/\xe6\x9b\xb2";  // UTF-8 name
  folders[4] = "  ";
  std::vector<std::string> probed;
  auto exists = [&](const std::string& f) {
    probed.push_back(f);
    return f == "/music/midi";
  };
  const JumpChoice c = ChooseJumpFolder(folders, 2, exists);
  EXPECT_EQ(c.outcome, Outcome::Open);
  EXPECT_EQ(c.letter, 2);
  EXPECT_EQ(c.command, "ジャンプフォルダ[C]を開く");
  EXPECT_EQ(probed.back(), "/music/midi");  // trimmed

  const JumpChoice d = ChooseJumpFolder(folders, 3, exists);
  EXPECT_EQ(d.outcome, Outcome::Missing);
  EXPECT_EQ(d.message, "/music/曲 が存在しません.");
  EXPECT_EQ(ChooseJumpFolder(folders, 4, exists).outcome, Outcome::Nothing);  // blanks only
  EXPECT_EQ(LetterIndexOfKey('c'), 2);
  EXPECT_EQ(LetterIndexOfKey('Z'), 25);
  EXPECT_EQ(LetterIndexOfKey('1'), -1);
}

}  // namespace
}  // namespace kadrel
