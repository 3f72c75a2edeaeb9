#pragma once
// The texts the play list shows to the user (UTF-8; "\n" separates lines).

#include <string_view>

namespace kadrel::playlist_text {

inline constexpr std::string_view kListPlayRunning =
    "現在ListPlay中です.\nListPlayを終了させてから作業を行ってください.";
inline constexpr std::string_view kPreparingNext =
    "現在、次の曲の再生準備中です\nしばらく待ってから作業を行ってください";

// Adding: prefixed with the file name and extension.
inline constexpr std::string_view kNoPlayerSuffix =
    " をListPlay可能なPlayerが設定されていません.\n"
    "[中止] ではこのファイルのみ無視して続行します.\n"
    "[ｷｬﾝｾﾙ] では以降のアイテム追加を全て中止します.";
inline constexpr std::string_view kAddErrorSuffix = " のアイテムの追加でエラーが発生しました.\n追加処理は続行します.";

// Deleting.
inline constexpr std::string_view kDeletePlaying =
    "削除対象アイテムに、現在演奏中の曲が含まれています.\n削除を行うとListPlayは終了しますが、よろしいですか？";
inline constexpr std::string_view kDeleteNext =
    "削除対象アイテムに、次に演奏の曲が含まれています.\n削除を行うと、自動的に演奏終了予約が行われます.\nよろしいですか？";
inline constexpr std::string_view kDeletePlayingAndNext =
    "削除対象アイテムに、現在の曲、次の曲両方が含まれています.\n削除を行うとListPlayは終了しますが、よろしいですか？";
inline constexpr std::string_view kDeletePlayingGoNext =
    "削除対象アイテムに、現在演奏中の曲が含まれています.\n演奏を終了して、次の曲に移りますか？\n [はい] 次の曲へ   [いいえ] ListPlay終了";

// Clearing.
inline constexpr std::string_view kClearAsk = "PlayListのアイテムを全て削除します.\nよろしいですか？";
inline constexpr std::string_view kClearDuringListPlay =
    "現在ListPlay中です. ListPlay終了後にPlayListの\nアイテムを全て削除しますがよろしいですか？";

// Base folder edit.
inline constexpr std::string_view kNoBaseFolder = "基準フォルダが存在しません.\n基準フォルダを変更をすることは出来ません.";
inline constexpr std::string_view kChooseBaseFolder = "プレイリストの基準フォルダを選択してください.";

// Title edit.
inline constexpr std::string_view kTitleCaption = "PlayListのタイトル";
inline constexpr std::string_view kTitlePrompt = "タイトル名を入力してください.";

// Header of the list view.
inline constexpr std::string_view kBaseFolderUnset = "設定出来ません";
inline constexpr std::string_view kTitleUnset = "タイトル未設定";

// Saving: the path comes first.
inline constexpr std::string_view kOverwriteSuffix = " は\n既に存在します. 上書きしてもよろしいですか？";
inline constexpr std::string_view kSaveFailedSuffix = " の書き込みに失敗しました.\nファイルの保存は行われませんでした";
inline constexpr std::string_view kSaving = "PlayListの保存中..";
inline constexpr std::string_view kSaved = "PlayListの保存を完了しました..";
inline constexpr std::string_view kEmptyList = "PlayListにアイテムが存在しません.";

// Loading: the file name comes first.
inline constexpr std::string_view kNotPlayListSuffix =
    " はPlayList形式のファイルではないか、\n形式が違います.\nPlayListの読み込みに失敗しました.";
inline constexpr std::string_view kBrokenSuffix = " は壊れている可能性があります.\nPlayListの読み込みに失敗しました.";
inline constexpr std::string_view kLoading = "PlayListの読み込み中..";
inline constexpr std::string_view kReady = "ready..";

}  // namespace kadrel::playlist_text
