#include "commands/key_file.h"

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <fmt/format.h>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "commands/command_names.h"

namespace kadrel {
namespace {

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

std::string FieldText(const std::string& cell) {
  if (cell.empty() || cell == UnsettableMarkerBytes()) return {};
  const bool plain = cell.find_first_of(",\"") == std::string::npos && TrimBlanks(cell) == cell;
  if (plain) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string FileNameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// A file in `folder` named `name` in any ASCII letter case; empty when none.
std::string FindNoCase(const std::string& folder, std::string_view name) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return {};
  const std::string wanted = ToLowerAscii(name);
  std::vector<std::string> found;
  while (const dirent* entry = readdir(dir.get())) {
    if (ToLowerAscii(entry->d_name) == wanted && FileExists(folder + entry->d_name)) found.emplace_back(entry->d_name);
  }
  if (found.empty()) return {};
  // The exact spelling first, then the first by name, so the choice never depends on
  // the directory's order.
  for (const std::string& f : found)
    if (f == kDefaultKeyFile) return folder + f;
  std::sort(found.begin(), found.end());
  return folder + found.front();
}

}  // namespace

KeyTable DefaultKeyTable() {
  KeyTable t;
  auto set = [&t](int row, int column, std::string_view utf8) { t.SetCell(row, column, CommandBytes(utf8)); };
  set(1, 1, "最適な方法で開く");
  set(1, 2, "ポップアップを開く");
  set(1, 3, "関連ﾌｧｲﾙ詳細情報を開く");
  set(2, 1, "1つ上のFolderに移動");
  set(2, 2, "前回いたFolderに戻る");
  set(3, 1, "Ｋadrelの終了(確認あり)");
  set(3, 2, "Ｋadrelの終了(確認なし)");
  set(5, 1, "PlayListからｱｲﾃﾑを削除");
  set(5, 2, "インデックスの削除");
  set(6, 1, "アイテム全選択/選択解除");
  set(6, 3, "PlayListを空にする");
  set(6, 4, "PlayListを空にする");
  set(7, 1, "アイテムを選択(処理後移動)");
  set(8, 1, "ヘルプの起動");
  for (int n = 2; n <= 6; ++n) set(kFirstFunctionKeyRow + n - 1, 1, "Player" + std::to_string(n) + "で再生");
  auto letter = [](char c) { return kFirstLetterRow + (c - 'A'); };
  set(letter('A'), 1, "PlayListに選択ｱｲﾃﾑを追加");
  set(letter('B'), 1, "ListPlay : 前の曲へ");
  set(letter('B'), 3, "ステータスバーのON/OFF");
  set(letter('E'), 1, "Indexのタイトル編集をする");
  set(letter('F'), 3, "すべてのフォルダのON/OFF");
  set(letter('I'), 2, "インデックスの再構築");
  set(letter('J'), 3, "ジャンプフォルダのON/OFF");
  set(letter('K'), 2, "キーカスタマイズを開く");
  set(letter('L'), 1, "ドライブの選択をする");
  set(letter('L'), 2, "プレイリストの読み込み");
  set(letter('L'), 3, "ListPlay : 開始");
  set(letter('N'), 1, "ListPlay : 次の曲へ");
  set(letter('P'), 1, "リプレイをする");
  set(letter('P'), 3, "プレイリストのON/OFF");
  set(letter('Q'), 1, "演奏を終了する");
  set(letter('R'), 1, "ファイル名の変更をする");
  set(letter('S'), 1, "ソートをする");
  set(letter('S'), 2, "プレイリストの保存");
  set(letter('S'), 3, "ショートカットバーのON/OFF");
  set(letter('T'), 1, "フォルダジャンプをする");
  set(letter('V'), 1, "最適な方法で開く");
  set(letter('W'), 1, "インデックスの再構築");
  for (int d = 0; d < 9; ++d) set(kFirstDigitRow + d, 1, DriveCommandName(d));  // A … I
  for (int d = 0; d < 6; ++d) set(kFirstDigitRow + d, 2, "Player" + std::to_string(d + 1) + "で再生");
  set(kZeroRow, 1, DriveCommandName('Q' - 'A'));
  for (int j = 0; j < 3; ++j) set(kFirstCharacterRow + j, 1, JumpCommandName(j));
  set(kFirstCharacterRow + 7, 1, "現在のdriveのRootFolderへ");
  return t;
}

std::string DefaultKeyFileBytes() { return FormatKeyFile(DefaultKeyTable()); }

KeyFileStatus ReadKeyFile(std::string_view bytes, KeyTable& table) {
  const std::vector<std::string_view> lines = SplitLines(bytes);
  KeyFileStatus status = KeyFileStatus::Ok;
  if (lines.size() < 67 || lines[0] != kKeyFileHeader) {
    status = KeyFileStatus::WrongFormat;
  } else if (lines[1] != kKeyFileVersion) {
    status = KeyFileStatus::WrongVersion;
  } else {
    const std::string& marker = UnsettableMarkerBytes();
    for (int row = 1; row < kKeyRows; ++row) {
      const size_t line = static_cast<size_t>(row) + 1;
      if (line >= lines.size()) {
        status = KeyFileStatus::ReadError;
        break;
      }
      for (int column = 1; column < kKeyColumns; ++column) {
        std::string name = RenameOldCommand(CsvField(lines[line], column + 1));
        if (row >= kFirstDigitRow && row <= kZeroRow && column >= 2 && name == marker) name.clear();
        table.SetCell(row, column, std::move(name));
      }
    }
  }
  table.MarkUnsettableCells();
  return status;
}

std::string_view KeyFileStatusMessage(KeyFileStatus status) {
  switch (status) {
    case KeyFileStatus::WrongFormat: return keytext::kWrongFormat;
    case KeyFileStatus::WrongVersion: return keytext::kWrongVersion;
    case KeyFileStatus::ReadError: return keytext::kReadError;
    default: return {};
  }
}

std::string FormatKeyFile(const KeyTable& table) {
  std::string out;
  out.reserve(2048);
  out.append(kKeyFileHeader).append("\r\n").append(kKeyFileVersion).append("\r\n");
  for (int row = 1; row < kKeyRows; ++row) {
    out += table.Cell(row, 0);
    for (int column = 1; column < kKeyColumns; ++column) out += "," + FieldText(table.Cell(row, column));
    out += "\r\n";
  }
  return out;
}

KeyFileLoad LoadKeyFile(KeyTable& table, const std::string& path, const KeyFileEnvironment& env, IMessageBox& box) {
  const std::string& config = env.configFolder;
  std::string current = path;
  if (current.empty() || !FileExists(current)) {
    const std::string byName = config + FileNameOf(path);
    if (!FileNameOf(path).empty() && FileExists(byName)) {
      current = byName;
    } else {
      current = FindNoCase(config, kDefaultKeyFile);
      if (current.empty()) current = config + std::string(kDefaultKeyFile);
    }
    // The chosen file's folder is gone or is not a folder: say where the keys come from now.
    const std::string storedFolder = FolderOfPath(path);
    if (!path.empty() && !storedFolder.empty() && storedFolder != config && !FolderExists(storedFolder))
      box.Inform(fmt::format("キー定義ファイルのフォルダ {} が使えないので,\n{} を使います.",
                             DisplayText(storedFolder), DisplayText(current)));
  }

  KeyFileLoad result;
  bool readable = true;
  if (!FileExists(current)) {
    std::string error;
    if (WriteDefaultKeyFile(current, &error)) {
      box.Inform(std::string(keytext::kWroteDefault));
    } else {
      box.Error(KeyFileWriteFailedText(current, error));
      readable = false;
    }
  }
  if (readable) {
    std::string bytes;
    const FileRead read = ReadFileUpTo(current, kKeyFileMaxBytes, bytes);
    const KeyFileStatus status = read == FileRead::Ok          ? ReadKeyFile(bytes, table)
                                 : read == FileRead::TooLarge ? KeyFileStatus::WrongFormat
                                                               : KeyFileStatus::ReadError;
    if (status == KeyFileStatus::Ok) {
      result.ok = true;
      result.path = current;
    } else {
      box.Warn(std::string(KeyFileStatusMessage(status)));
    }
  }
  if (!result.ok) {
    if (env.starting)
      box.Warn(std::string(keytext::kFailedAtStart));
    else
      box.Inform(std::string(keytext::kNoKeyFile));
  }
  table.MarkUnsettableCells();
  return result;
}

bool SaveKeyFile(const KeyTable& table, const std::string& path, std::string* error) {
  return ReplaceFileAtomically(path, FormatKeyFile(table), error);
}

bool WriteDefaultKeyFile(const std::string& path, std::string* error) {
  return ReplaceFileAtomically(path, DefaultKeyFileBytes(), error);
}

std::string KeyFileLabel(std::string_view fileName) {
  if (fileName.empty()) return std::string(keytext::kLabelNone);
  return std::string(keytext::kLabelPrefix) + std::string(fileName);
}

std::string KeyFileWriteFailedText(const std::string& path, const std::string& error) {
  return fmt::format("キー定義ファイルを書き込めませんでした.\n{}\n{}", DisplayText(path), error);
}

}  // namespace kadrel
