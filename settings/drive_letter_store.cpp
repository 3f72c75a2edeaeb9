#include "settings/drive_letter_store.h"

#include "base/text_helpers.h"
#include "settings/setting_keys.h"

namespace kadrel {

namespace {

std::string LetterName(size_t i) { return std::string(1, static_cast<char>('A' + i)); }

}  // namespace

std::array<std::string, 26> LoadDriveLetters(RegTreat& reg) {
  std::array<std::string, 26> folders;
  for (size_t i = 0; i < folders.size(); ++i) {
    std::string folder = TrimBlanks(reg.RegReadStr(LetterName(i), keys::kDrive));
    if (folder.empty() || folder[0] != '/') continue;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    folders[i] = std::move(folder);
  }
  return folders;
}

void SaveDriveLetters(RegTreat& reg, const std::array<std::string, 26>& folders) {
  for (size_t i = 0; i < folders.size(); ++i) {
    if (folders[i].empty()) reg.RegDeleteValue(LetterName(i), keys::kDrive);
    else reg.RegWriteStr(LetterName(i), folders[i], keys::kDrive);
  }
}

}  // namespace kadrel
