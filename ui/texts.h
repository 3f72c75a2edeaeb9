#pragma once
// The window's own texts (UTF-8). Converted with U() where a QString is needed.

#include <QString>

namespace kadrel::text {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

inline constexpr const char* kAppName = "Kadrel";
inline constexpr const char* kTitle = "Kadrel ～TrackChooser～";
inline constexpr const char* kReady = "ready..";
inline constexpr const char* kTipReady = "Kadrel / ready..";
inline constexpr const char* kDriveNotReady = "ドライブの準備が出来ていません ..";
inline constexpr const char* kClosing = "終了処理中です .. ";
inline constexpr const char* kForcedClose = "強制終了中です .. ";
inline constexpr const char* kIndexBusy =
    "現在、Indexを操作しています.\n現在の処理が終了してから作業を行ってください.";
inline constexpr const char* kFolderNotInTree =
    "ツリーに表示されていないフォルダを開くことは出来ません.\n[すべてのフォルダ]に切り替えた後に作業を行ってください.";
inline constexpr const char* kAllFolders = "   すべてのフォルダ";
inline constexpr const char* kFolderShortcuts = "   フォルダのショートカット";
inline constexpr const char* kPlayListCaption = "プレイリスト";
inline constexpr const char* kNoTitle = "タイトル未設定";
inline constexpr const char* kNoBaseFolder = "設定出来ません";
inline constexpr const char* kFolderMissingPrefix = "フォルダ ";
inline constexpr const char* kFolderMissingSuffix = " は存在しません.";
inline constexpr const char* kFolderUnreadableSuffix = " は読み込めません.\nこのフォルダを読む権限がありません.";
inline constexpr const char* kFolderGoneMiddle = " が無くなったので ";
inline constexpr const char* kFolderGoneSuffix = " を開きました.";
inline constexpr const char* kReReadConfirm =
    "現在のフォルダの情報を全て再取得します.\n編集されたIndexの内容も全て破棄されます.\nよろしいですか？";
inline constexpr const char* kFileListReleaseFailed =
    "FileListのメモリ解放に失敗しました.\n起動前よりもリソースが減る場合があります.";

}  // namespace kadrel::text
