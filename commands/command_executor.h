#pragma once
// The command executor: runs a command by its name for a list, on the target.

#include <string_view>

#include "base/message_box.h"
#include "commands/command_names.h"
#include "commands/command_target.h"

namespace kadrel {

class CommandExecutor {
 public:
  CommandExecutor(ICommandTarget& target, IMessageBox& messages) : target_(target), messages_(messages) {}

  // `name` is CP932 (as the key table holds it). An empty name with the extra
  // "return" means "最適な方法で開く". Names the executor does not know do nothing;
  // so does every command for no list.
  void Execute(CommandList list, std::string_view name, std::string_view extra = {});
  // The same for a name written in the source (UTF-8).
  void ExecuteUtf8(CommandList list, std::string_view utf8Name);
  void Run(CommandList list, Command command);

 private:
  void OpenBest(CommandList list, const FocusedItem& item);
  void PopupUnlessFolder(CommandList list, const FocusedItem& item);
  void OpenPopup(CommandList list, const FocusedItem& item);
  void ListPlayStart(CommandList list);
  void ListPlayControl(bool enabled, PlayAction action, std::string_view refused);
  void MakeNext();
  void StopPlaying();
  void Replay();
  void GoToDrive(int letter);
  void OpenJumpFolder(int letter);
  void EditIndex();
  void Rename(CommandList list, const FocusedItem& item);
  void Quit();

  ICommandTarget& target_;
  IMessageBox& messages_;
};

namespace commandtext {
inline constexpr std::string_view kCannotStartListPlay = "ListPlayを始める事が出来ません.";
inline constexpr std::string_view kNoListPlay = "ListPlayを現在行っていません.";
inline constexpr std::string_view kCannotReserveEnd = "ListPlay : 終了予約 は出来ません.";
inline constexpr std::string_view kCannotNext = "ListPlay : 次の曲へ は出来ません.";
inline constexpr std::string_view kCannotPrevious = "ListPlay : 前の曲へ は出来ません.";
inline constexpr std::string_view kCannotReplay = "リプレイを実行出来ませんでした.";
inline constexpr std::string_view kCannotEndListPlay =
    "ListPlayの終了は出来ません.\nListPlay中で無い場合は、Kadrelを再起動して下さい.";
inline constexpr std::string_view kOnlyInListPlay = "この機能はListPlay中のみ有効です.";
inline constexpr std::string_view kNextNotReady = "現在、次の曲の再生準備中です\nしばらく待ってから作業を行ってください";
inline constexpr std::string_view kEditWhileFilling =
    "Index情報の編集は、ファイルリスト更新時、又は\n再検索待機時には出来ません.";
inline constexpr std::string_view kNothingToEdit = "Indexの編集が出来るアイテムが存在しません.\nIndex情報の編集を中止します.";
inline constexpr std::string_view kBadItemKind = "Kadrelファィル管理メモリ情報が不正です.\n名前の変更を中止します.";
inline constexpr std::string_view kQuitQuestion = "Kadrelを終了します. よろしいですか？";
inline constexpr std::string_view kFolderPrefix = "フォルダ ";
inline constexpr std::string_view kFolderMissing = " は存在しません.";
inline constexpr std::string_view kDriveFolderMissing = " が存在しないので";
inline constexpr std::string_view kOpensRoot = " を開きます.";
inline constexpr std::string_view kRenameFolder = " [フォルダ名の変更]";
inline constexpr std::string_view kRenameFile = " [ファイル名の変更]";
inline constexpr std::string_view kRenameMember = " [圧縮ファイル名の変更]";
}  // namespace commandtext

}  // namespace kadrel
