#pragma once
// Key definition files: CP932 text with CR LF line ends, 69 lines — the header
// "[KadrelKeyCustomizeFile]", the version "0.02", then one line per key-table row
// 1 … 67 with five comma-separated fields (key name, then the four commands).

#include <cstdint>
#include <string>
#include <string_view>

#include "base/message_box.h"
#include "commands/key_table.h"

namespace kadrel {

inline constexpr std::string_view kKeyFileHeader = "[KadrelKeyCustomizeFile]";
inline constexpr std::string_view kKeyFileVersion = "0.02";
// A key file is under 2 KiB; anything larger than this is not read.
inline constexpr uint64_t kKeyFileMaxBytes = 64 * 1024;
// The file the configuration folder keeps when no other is chosen.
inline constexpr std::string_view kDefaultKeyFile = "Default.Key";

// The bindings the built-in default file holds, as written (old names included).
KeyTable DefaultKeyTable();
// The built-in default key file, byte for byte (1680 bytes).
std::string DefaultKeyFileBytes();

enum class KeyFileStatus { Ok, WrongFormat, WrongVersion, ReadError };

// Fills columns 1 … 4 from the file's lines, renaming old command names and emptying
// the marker in the digit rows, then marks the cells of rows 56 … 67. Lines may end
// in CR LF, LF or CR. On ReadError the rows before the missing line stay filled; on
// WrongFormat and WrongVersion the table is left as it was (but for the markers).
KeyFileStatus ReadKeyFile(std::string_view bytes, KeyTable& table);
// The message (UTF-8) for a refused file; empty for Ok.
std::string_view KeyFileStatusMessage(KeyFileStatus status);

// The file's bytes for a table. Fields are unquoted; the marker is written as an
// empty field. A name that would not read back as one field (a comma, a quote, blanks
// at either end) is quoted.
std::string FormatKeyFile(const KeyTable& table);

struct KeyFileEnvironment {
  std::string configFolder;  // ends with "/"
  bool starting = false;     // during start-up a failure is a warning
};

struct KeyFileLoad {
  bool ok = false;
  std::string path;  // the current key file when ok
};

// Finds, and when missing writes, the key file and reads it into `table`, with the
// program's messages. Candidates: `path`, the configuration folder + its file name,
// then a file named "default.key" in any letter case in the configuration folder;
// when none exists the default file is written there as "Default.Key".
KeyFileLoad LoadKeyFile(KeyTable& table, const std::string& path, const KeyFileEnvironment& env, IMessageBox& box);

// Replaces the file at `path` with the table. False (with `*error`) on failure; the
// old file is then untouched.
bool SaveKeyFile(const KeyTable& table, const std::string& path, std::string* error = nullptr);
bool WriteDefaultKeyFile(const std::string& path, std::string* error = nullptr);

// "定義ファイル : " + the file name, or "定義ファイル : なし" (UTF-8 of the file name
// for display is the caller's; this takes it as given).
std::string KeyFileLabel(std::string_view fileName);
// The message shown when a key file cannot be written.
std::string KeyFileWriteFailedText(const std::string& path, const std::string& error);

namespace keytext {
inline constexpr std::string_view kWroteDefault =
    "キー定義ファイルが見つからないので,標準の定義ファイルを書き出しました.\n（このメッセージは初回起動時には必ず表示されます）";
inline constexpr std::string_view kWrongFormat = "キー定義ファイルの形式が違うか、Versionが異なります.";
inline constexpr std::string_view kWrongVersion = "キー定義ファイルのVersionが異なります.";
inline constexpr std::string_view kReadError = "キー定義ファイル読み込み中にエラーが発生しました.";
inline constexpr std::string_view kFailedAtStart =
    "キー定義ファイルの読み込みに失敗しました.\n直ちに[設定]-[キーカスタマイズ]を開き、設定を行ってください.";
inline constexpr std::string_view kNoKeyFile =
    "キー定義ファイルが設定されていませんので、まずメニューバーの\n    [ファイル]-[キーの設定を読み込む] か\n    "
    "[ファイル]-[デフォルトのキー定義を書き出す] \nを行い、定義ファイルを決定してください.";
inline constexpr std::string_view kLabelPrefix = "定義ファイル : ";
inline constexpr std::string_view kLabelNone = "定義ファイル : なし";
}  // namespace keytext

}  // namespace kadrel
