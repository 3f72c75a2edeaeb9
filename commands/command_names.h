#pragma once
// The command vocabulary. A command is named by its Japanese display text; key files
// and the key table hold the names as CP932 bytes, so every comparison is made on
// those bytes. The literals here are UTF-8; CommandBytes() gives their CP932 form.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

enum class CommandId {
  OpenBest,              // 最適な方法で開く
  PopupUnlessFolder,     // Folder以外の時ポップアップ
  OpenPopup,             // ポップアップを開く
  OpenByAssociation,     // Windowsの関連付けで開く
  OpenWithTextViewer,    // テキストビュアーで開く
  PlayWithSlot,          // Player1で再生 … Player6で再生 (argument: 1 … 6)
  SelectAndMoveDown,     // アイテムを選択(処理後移動)
  SelectAllOrNone,       // アイテム全選択/選択解除
  PreviousFolder,        // 前回いたFolderに戻る
  GoToDrive,             // Aドライブへ移動 … (argument: 0 … 25)
  ChooseDrive,           // ドライブの選択をする
  OpenDetails,           // 関連ﾌｧｲﾙ詳細情報を開く
  AddToPlayList,         // PlayListに選択ｱｲﾃﾑを追加
  ClearPlayList,         // PlayListを空にする
  ListPlayStart,         // ListPlay : 開始
  ListPlayReserveEnd,    // ListPlay : 終了予約
  ListPlayNext,          // ListPlay : 次の曲へ
  ListPlayPrevious,      // ListPlay : 前の曲へ
  ListPlayMakeNext,      // ListPlay : 次の曲に指定
  DeleteFromPlayList,    // PlayListからｱｲﾃﾑを削除
  Pause,                 // 一時停止をする
  StopPlaying,           // 演奏を終了する
  Replay,                // リプレイをする
  OpenMainSettings,      // 基本設定を開く
  OpenViewSettings,      // 表示設定を開く
  OpenKeyCustomization,  // キーカスタマイズを開く
  ToggleAllFolders,      // すべてのフォルダのON/OFF
  ToggleJumpFolders,     // ジャンプフォルダのON/OFF
  TogglePlayList,        // プレイリストのON/OFF
  ToggleStatusBar,       // ステータスバーのON/OFF
  ToggleToolBars,        // ショートカットバーのON/OFF
  ReReadAll,             // ファイル情報を完全に再取得
  UpdateInformation,     // ファイル情報を更新
  DeleteIndex,           // インデックスの削除
  RefreshIndexes,        // インデックスのリフレッシュ
  LoadPlayList,          // PlayListの読み込み, プレイリストの読み込み
  SavePlayList,          // PlayListの保存, プレイリストの保存
  Sort,                  // ソートをする
  OpenJumpFolder,        // ジャンプフォルダ[A]を開く … (argument: 0 … 25)
  JumpDialog,            // フォルダジャンプをする
  EditIndex,             // インデックスの編集をする, Indexのタイトル編集をする
  Rename,                // ファイル名の変更をする
  UpOneFolder,           // 1つ上のFolderに移動
  DriveRoot,             // 現在のdriveのRootFolderへ
  QuitAsking,            // Ｋadrelの終了(確認あり)
  QuitWithoutAsking,     // Ｋadrelの終了(確認なし)
  Help,                  // ヘルプの起動
};

struct Command {
  CommandId id;
  int argument = 0;  // slot 1 … 6, or letter 0 … 25 for the two families
  bool operator==(const Command&) const = default;
};

// The command a name (CP932 bytes) stands for; nullopt for names the executor does
// not know. The drive family is recognised by "ドライブへ移動" at bytes 2 … 15, the
// jump family by the leading "ジャンプフォルダ" and the letter at byte 18; either
// letter must be A … Z.
std::optional<Command> ParseCommandName(std::string_view cp932);

// Whether the command acts only with a focused item, and only in the file list.
bool NeedsItem(CommandId id);
bool FileListOnly(CommandId id);

// The 53 fixed names (UTF-8), aliases included, in table order.
const std::vector<std::string_view>& FixedCommandNames();
// "Aドライブへ移動" and "ジャンプフォルダ[A]を開く" for letter 0 … 25 (UTF-8).
std::string DriveCommandName(int letter);
std::string JumpCommandName(int letter);
// The names the customisation window offers, in its order (UTF-8).
const std::vector<std::string>& FunctionListNames();

// CP932 bytes of a command name given in UTF-8.
std::string CommandBytes(std::string_view utf8);

// The current name for an old one (CP932 in and out); the name itself otherwise.
std::string RenameOldCommand(std::string_view cp932);

namespace command {
inline constexpr std::string_view kOpenBest = "最適な方法で開く";
inline constexpr std::string_view kOpenKeyCustomization = "キーカスタマイズを開く";
}  // namespace command

}  // namespace kadrel
