#pragma once
// The settings tree as REGEDIT4 text, for reading, backing up and moving settings:
//   [HKEY_CURRENT_USER\SOFTWARE\Ostrin\Kadrel\Option]
//   "LzhStyle"=dword:00000002
//   "TextViewer"="xdg-open"

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace kadrel {

inline constexpr std::string_view kRegRootKey = "HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel";

struct DumpOptions {
  bool storedOnly = false;  // without the defaults of missing values
  std::string configFolder;  // for the default of "\Main" "KeyCust"
};

// The tree in REGEDIT4 form (UTF-8; stored bytes shown through the display decoding).
// Unless storedOnly, values missing from the store show their defaults, so a fresh
// store shows the whole tree as a first start leaves it.
std::string DumpSettings(SettingsStore& store, const DumpOptions& options = {});

struct ImportResult {
  bool ok = false;
  std::vector<std::string> errors;  // "line N: ..."
  int keys = 0;
  int values = 0;
};

// The largest .reg file taken.
inline constexpr size_t kMaxRegFileBytes = 16u << 20;

// Reads REGEDIT4 text (or the version 5 header; UTF-8, UTF-16LE with byte-order mark,
// or CP932) and applies it in one transaction. Nothing is changed when any line is
// malformed, or when the file is over kMaxRegFileBytes or names a key, value name or
// value past the limits of key_path.h. "Name"=- deletes a value, [-key] a key with everything below it.
// Texts given in UTF-8 are stored as CP932 where they can be, except paths, which keep
// the file system's bytes.
ImportResult ImportSettings(SettingsStore& store, std::string_view fileBytes);

// True for the values that hold file-system paths ("\Folder" "Start", "P1path", ...).
bool IsPathSetting(std::string_view key, std::string_view name);

// A text typed by the user (UTF-8) as it is stored: paths unchanged, other texts as
// CP932 where every character has a CP932 form.
std::string SettingTextFromUtf8(std::string_view key, std::string_view name, std::string_view utf8);

}  // namespace kadrel
