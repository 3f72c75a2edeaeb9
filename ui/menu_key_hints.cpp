#include "ui/menu_key_hints.h"

#include <utility>

#include <QAction>

#include "commands/command_names.h"
#include "ui/texts.h"

namespace kadrel {
namespace {

std::string KeyName(int row) {
  static const char* const named[] = {"", "Enter", "Backspace", "Esc", "Ins", "Del", "Home", "Space"};
  if (row >= 1 && row < kFirstFunctionKeyRow) return named[row];
  if (row < kFirstLetterRow) return "F" + std::to_string(row - kFirstFunctionKeyRow + 1);
  if (row < kFirstDigitRow) return std::string(1, char('A' + row - kFirstLetterRow));
  if (row <= kZeroRow) return std::string(1, "1234567890"[row - kFirstDigitRow]);
  if (row < kKeyRows) return std::string(1, kTypedCharacters[static_cast<size_t>(row - kFirstCharacterRow)]);
  return {};
}

}  // namespace

std::string KeyHintText(const KeyTable& table, std::string_view commandUtf8) {
  const auto [row, column] = table.FindCommand(CommandBytes(commandUtf8));
  if (row == 0) return {};
  static const char* const modifiers[] = {"", "", "Ctrl+", "Shift+", "Ctrl+Shift+"};
  return modifiers[column] + KeyName(row);
}

void ShowKeyHints(const MainActions& a, const KeyTable& table) {
  const std::pair<QAction*, const char*> items[] = {
      {a.rename, "ファイル名の変更をする"},
      {a.details, "関連ﾌｧｲﾙ詳細情報を開く"},
      {a.loadPlayList, "PlayListの読み込み"},
      {a.savePlayList, "PlayListの保存"},
      {a.quit, "Ｋadrelの終了(確認なし)"},
      {a.update, "ファイル情報を更新"},
      {a.reReadAll, "ファイル情報を完全に再取得"},
      {a.addToPlayList, "PlayListに選択ｱｲﾃﾑを追加"},
      {a.clearPlayList, "PlayListを空にする"},
      {a.deleteIndex, "インデックスの削除"},
      {a.editIndex, "インデックスの編集をする"},
      {a.refreshIndex, "インデックスのリフレッシュ"},
      {a.playBest, "最適な方法で開く"},
      {a.listPlayStart, "ListPlay : 開始"},
      {a.controls[0], "リプレイをする"},
      {a.controls[1], "一時停止をする"},
      {a.controls[2], "ListPlay : 前の曲へ"},
      {a.controls[3], "ListPlay : 次の曲へ"},
      {a.controls[4], "ListPlay : 終了予約"},
      {a.controls[5], "演奏を終了する"},
      {a.viewAllFolders, "すべてのフォルダのON/OFF"},
      {a.viewJumpFolders, "ジャンプフォルダのON/OFF"},
      {a.viewPlayList, "プレイリストのON/OFF"},
      {a.viewToolBars, "ショートカットバーのON/OFF"},
      {a.viewStatusBar, "ステータスバーのON/OFF"},
      {a.mainSettings, "基本設定を開く"},
      {a.viewSettings, "表示設定を開く"},
      {a.keyCustomization, "キーカスタマイズを開く"},
      {a.helpTopics, "ヘルプの起動"},
  };
  for (const auto& [action, command] : items) {
    if (!action) continue;
    const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
    std::string hint = KeyHintText(table, command);
    // The two spellings of the commands with an alias.
    if (hint.empty() && std::string_view(command) == "PlayListの読み込み") hint = KeyHintText(table, "プレイリストの読み込み");
    if (hint.empty() && std::string_view(command) == "PlayListの保存") hint = KeyHintText(table, "プレイリストの保存");
    if (hint.empty() && std::string_view(command) == "インデックスの編集をする")
      hint = KeyHintText(table, "Indexのタイトル編集をする");
    action->setText(hint.empty() ? caption : caption + QLatin1Char('\t') + QString::fromStdString(hint));
  }
  for (size_t n = 0; n < a.playSlot.size(); ++n) {
    QAction* action = a.playSlot[n];
    const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
    const std::string hint = KeyHintText(table, "Player" + std::to_string(n + 1) + "で再生");
    action->setText(hint.empty() ? caption : caption + QLatin1Char('\t') + QString::fromStdString(hint));
  }
}

}  // namespace kadrel
