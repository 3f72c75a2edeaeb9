#include "playback/channel_errors.h"

#include <string>

namespace kadrel {

namespace {

const char kErrorCaption[] = "エラー [DDE演奏処理]";
const char kWarningCaption[] = "警告 [DDE演奏処理]";
const char kRestart[] = "\n出来る限り、Kadrel、Playerを再起動してください.";
const char kAbandon[] = "を中断します.\n";
const char kExecute[] = "DdeClientTransaction(xtyp_Execute)\n";

std::string Failed(int code) { return "Failed(" + std::to_string(code) + ") : "; }
std::string Error(int code) { return "Error(" + std::to_string(code) + ") : "; }

MessageRequest Box(bool warning, MessageButtons buttons, std::string text) {
  return {warning ? MessageKind::Warning : MessageKind::Error, buttons, warning ? kWarningCaption : kErrorCaption,
          std::move(text)};
}

}  // namespace

MessageRequest ChannelErrorMessage(int code, bool listPlay) {
  const std::string context = listPlay ? "ListPlay" : "演奏処理";
  const std::string abandon = context + kAbandon;
  const std::string ask = context + "を続行しますか？";
  using B = MessageButtons;
  switch (code) {
    case 2: return Box(false, B::Ok, Failed(2) + "DdeInitialize\n" + abandon + kRestart);
    case 12:
      return Box(true, B::RetryCancel,
                 Failed(12) + "DdeConnect\n" + "DDE接続でエラーが発生しました. [ｷｬﾝｾﾙ] で" + abandon);
    case 13: return Box(false, B::Ok, Failed(13) + "DdeCreateStringHandle\n" + abandon + kRestart);
    case 22: return Box(false, B::Ok, Failed(22) + "DdeClientTransaction(xtyp_AdvStart)\n" + abandon + kRestart);
    case 32:
      return Box(true, B::YesNo,
                 Failed(32) + kExecute + "演奏されているようであれば続行しても全く差し支えありません.\n" + ask);
    case 34: return Box(true, B::YesNo, Failed(34) + kExecute + "演奏の停止でエラーが発生しました.\n" + ask);
    case 36: return Box(false, B::Ok, Failed(36) + kExecute + "Playerの終了でエラーが発生しました.\n" + abandon);
    case 39: return Box(false, B::Ok, Failed(39) + kExecute + "一時停止でエラーが発生しました.\n" + abandon);
    case 42: return Box(false, B::Ok, Failed(42) + "DdeClientTransaction(xtyp_AdvStop)\n" + abandon + kRestart);
    case 71:
      return Box(true, B::YesNo, Error(71) + "ServerApplication Disconnect\n" + "Playerが終了しました." + ask);
    case 81:
      return Box(false, B::AbortRetryIgnore,
                 Error(81) + "DdeReConnect\n" + "DDE再接続でエラーが発生しました.\n" + "[中止] で" + abandon);
    case 82:
      return Box(true, B::AbortRetryIgnore,
                 Failed(82) + "DdeReConnect\n" + "DDE再接続に失敗しました.\n" + "[中止] で" + abandon);
    case 91: return Box(false, B::Ok, Error(91) + "DDE一般\n" + abandon + kRestart);
    default: return Box(false, B::Ok, Error(code) + "DDE Result Error\n" + abandon + kRestart);
  }
}

bool ChannelAnswerGoesOn(int code, MessageAnswer answer) {
  switch (code) {
    case 12: return answer == MessageAnswer::Retry;
    case 32:
    case 34:
    case 71: return answer == MessageAnswer::Yes;
    case 81:
    case 82: return answer == MessageAnswer::Retry || answer == MessageAnswer::Ignore;
    default: return false;
  }
}

}  // namespace kadrel
