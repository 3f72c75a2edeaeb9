#include "settings/jump_folder_choice.h"

#include "base/encoding.h"
#include "base/text_helpers.h"

namespace kadrel {

std::string JumpFolderCommand(int letter) {
  return std::string("ジャンプフォルダ[") + static_cast<char>('A' + letter) + "]を開く";
}

JumpChoice ChooseJumpFolder(const std::array<std::string, 26>& folders, int row,
                            const std::function<bool(const std::string&)>& isFolder) {
  JumpChoice choice;
  if (row < 0 || row >= static_cast<int>(folders.size())) {
    choice.outcome = JumpChoice::Outcome::NoSelection;
    return choice;
  }
  choice.letter = row;
  const std::string folder = TrimBlanks(folders[static_cast<size_t>(row)]);
  if (folder.empty()) return choice;
  if (!isFolder(folder)) {
    choice.outcome = JumpChoice::Outcome::Missing;
    choice.message = DisplayText(folder) + jump_dialog::kMissingSuffix;
    return choice;
  }
  choice.outcome = JumpChoice::Outcome::Open;
  choice.command = JumpFolderCommand(row);
  return choice;
}

int LetterIndexOfKey(int key) {
  if (key >= 'A' && key <= 'Z') return key - 'A';
  if (key >= 'a' && key <= 'z') return key - 'a';
  return -1;
}

}  // namespace kadrel
