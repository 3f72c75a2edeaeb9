#pragma once
// The texts of playing, as the user sees them (UTF-8).

namespace kadrel::play_text {

inline constexpr const char* kNotFoundSuffix = " が見つかりません.";
inline constexpr const char* kNoPlayer =
    " 形式のファイルを再生出来るPlayerが見つかりません.\n"
    "もしも再生可能なPlayerがある場合は、[player設定]-[詳細設定]を\n"
    "変更してください.";
inline constexpr const char* kProgramMissing = " に登録されている実行ファイルが\n存在しません. 直ちに設定を変更して下さい.";
inline constexpr const char* kSlotRefuses =
    " 形式のファイルを\n演奏出来ないように設定されています.\n(設定は[player設定]-[詳細設定]で変更できます.)";
inline constexpr const char* kSwitchFromListPlay =
    "現在ListPlay中ですが、ListPlayを終了して\n通常演奏に切り替えてもよろしいですか？";
inline constexpr const char* kLaunchFailed = "音楽ファイルの再生実行時に失敗しました.\nエラーコード : ";
inline constexpr const char* kLaunchError = "音楽ファイルの再生実行時にエラーが発生しました.\nエラーコード : ";
inline constexpr const char* kReplayImpossible = "リプレイを実行出来ませんでした.";
inline constexpr const char* kListPlayCannotEnd =
    "ListPlayの終了は出来ません.\nListPlay中で無い場合は、Kadrelを再起動して下さい.";
inline constexpr const char* kNotMusic = "このファイルは音楽ファイルではありません.\nWindowsの関連付けで実行しますか？";
inline constexpr const char* kUnpackFailed = "ファイルの解凍作業中にエラーが発生しました.\n[ Error : ";
inline constexpr const char* kAssociationFailed = "関連付けで実行 でエラーが発生しました.\n[ Error : ";
inline constexpr const char* kViewerFailed = "テキストビュアー起動 でエラーが発生しました.\n[ Error : ";
inline constexpr const char* kDdeWarningCaption = "警告 [DDE演奏処理]";
inline constexpr const char* kDdeConnectFailed =
    "Failed(12) : DdeConnect\nDDE接続でエラーが発生しました. [ｷｬﾝｾﾙ] で演奏処理を中断します.\n";

}  // namespace kadrel::play_text
