#pragma once
// What the jump-folder dialog ("フォルダジャンプ") does with a chosen row: nothing, an
// error for a folder that is gone, or the jump-folder command of that letter.

#include <array>
#include <functional>
#include <string>

namespace kadrel {

namespace jump_dialog {
inline constexpr const char* kCaption = "フォルダジャンプ";
inline constexpr const char* kPrompt = "ジャンプしたいフォルダを選択してください..";
inline constexpr const char* kNoSelection = "アイテムが選択されていません.";
inline constexpr const char* kMissingSuffix = " が存在しません.";
}  // namespace jump_dialog

struct JumpChoice {
  enum class Outcome { NoSelection, Nothing, Missing, Open };
  Outcome outcome = Outcome::Nothing;
  int letter = -1;      // 0 = "A"
  std::string message;  // Missing: the error text (UTF-8)
  std::string command;  // Open: "ジャンプフォルダ[X]を開く"
};

// "ジャンプフォルダ[" + letter + "]を開く" (UTF-8).
std::string JumpFolderCommand(int letter);

// Row (0 = "A", -1 = none selected) of `folders` (jump folders as stored, bytes). The
// folder is trimmed of blanks; an empty one does nothing, a missing one is an error
// naming it, an existing one opens by its command.
JumpChoice ChooseJumpFolder(const std::array<std::string, 26>& folders, int row,
                            const std::function<bool(const std::string&)>& isFolder);

// The letter index of a letter key (the jump-folder row it opens, the drive it names) ('a'/'A' -> 0), or -1 for any other key.
int LetterIndexOfKey(int key);

}  // namespace kadrel
