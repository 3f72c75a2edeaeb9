#include "playback/listplay_errors.h"

#include <fmt/format.h>

namespace kadrel {
namespace {

constexpr const char* kErrorCaption = "エラー [ListPlay処理]";
constexpr const char* kWarningCaption = "警告 [ListPlay処理]";
constexpr const char* kSkipQuestion = "このファイルを飛ばしてListPlayを続行しますか？";
constexpr const char* kUnexpectedEnd = "予期せぬエラーが発生しました.ListPlayを終了します.";

std::string Text(int code, const ListPlayErrorDetail& d) {
  switch (code) {
    case 102: return std::string("Error Unexpected(ListPlay WaitingUnpack)\n") + kUnexpectedEnd;
    case 111: return "Delete files\nファイルの削除でエラーが発生しました. 作業は続行します.";
    case 113: return "Move files\nファイルの移動でエラーが発生しました. 作業は続行します.";
    case 122: return std::string("Error Unexpected(ListPlay GetInformation)\n") + kUnexpectedEnd;
    case 151:
      return d.Extension + " 形式をListPlay可能なPlayerが見つかりません.\n"
             "もしも演奏可能なPlayerがある場合は、ListPlay終了後\n"
             "  [基本設定]-[Player設定]-[詳細設定]\nを変更してください.\n" + kSkipQuestion;
    case 152:
      return fmt::format("Player No.{}では、{} 形式のファイルを\n演奏出来ないように設定されています.\n"
                         "設定は[基本設定]-[Player設定]-[詳細設定]で行えます.\n{}",
                         d.Slot, d.Extension, kSkipQuestion);
    case 201:
      return std::string("File is not found\n指定されたファイルが存在する圧縮ファイルが見つかりません.\n") + kSkipQuestion;
    case 202: return std::string("File is not found\n指定されたファイルが見つかりません.\n") + kSkipQuestion;
    case 203: return "File is not found\n" + d.FilePath + "が見つかりません.\n" + kSkipQuestion;
    case 204: return "Unpacking stoped\n圧縮ファイルの解凍を中断しました. ListPlayを終了します.";
    case 205: return "UnLha32.dll do not exist\nUNLHA32.DLL が存在しません.ListPlayを終了します.";
    case 211:
      return fmt::format("Error Unexpected\n再生要求のアイテム番号 {} は不適です.\n"
                         "要求が無かったとみなしてListPlayは続行されます.",
                         d.Index);
    default: return std::string(kUnexpectedEnd);
  }
}

}  // namespace

ListPlayErrorOutcome ListPlayErrorOutcomeOf(int code) {
  switch (code) {
    case 111:
    case 113:
    case 211: return ListPlayErrorOutcome::GoOn;
    case 151:
    case 152:
    case 201:
    case 202:
    case 203: return ListPlayErrorOutcome::Skip;
    default: return ListPlayErrorOutcome::End;
  }
}

MessageRequest ListPlayErrorBox(int code, const ListPlayErrorDetail& detail) {
  const ListPlayErrorOutcome outcome = ListPlayErrorOutcomeOf(code);
  const bool warning = outcome == ListPlayErrorOutcome::Skip || code == 111 || code == 113;
  MessageRequest r;
  r.kind = warning ? MessageKind::Warning : MessageKind::Error;
  r.buttons = outcome == ListPlayErrorOutcome::Skip ? MessageButtons::YesNo : MessageButtons::Ok;
  r.caption = warning ? kWarningCaption : kErrorCaption;
  const bool prefixed = code != 151 && code != 152;
  r.text = (prefixed ? fmt::format("Error({}) : ", code) : std::string()) + Text(code, detail);
  return r;
}

MessageRequest ListPlayLaunchErrorBox(int errorNumber) {
  return {MessageKind::Error, MessageButtons::Ok, "エラー",
          fmt::format("Error : CreateProcess(Case1)\nErrorNo : {}", errorNumber)};
}

MessageRequest ListPlayFailingPlayersBox(int count) {
  return {MessageKind::Warning, MessageButtons::Ok, kWarningCaption,
          fmt::format("Playerが起動直後に異常終了しました ({}曲続けて).\n"
                      "Playerの設定を確認してください. ListPlayを終了します.",
                      count)};
}

}  // namespace kadrel
