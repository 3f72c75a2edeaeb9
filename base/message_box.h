#pragma once
// Every message the program shows to the user goes through this interface, so that
// workers never touch a window and tests can assert the exact text and pick the answer.

#include <string>

namespace kadrel {

enum class MessageKind { Warning, Error, Information, Confirmation };

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore, CancelAbortIgnore, CancelIgnore, YesNoIgnore };

enum class MessageAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

enum class BeepKind { Warning, Information, Question, Plain };

struct MessageRequest {
  MessageKind kind = MessageKind::Information;
  MessageButtons buttons = MessageButtons::Ok;
  std::string caption;  // UTF-8; empty = the program's title
  std::string text;     // UTF-8; "\n" separates lines
};

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Shows the box (after its beep) and waits for the answer. Safe to call from any thread.
  virtual MessageAnswer Show(const MessageRequest& request) = 0;
  virtual void Beep(BeepKind kind) = 0;

  // Shorthands for the common boxes.
  void Warn(const std::string& text) { Show({MessageKind::Warning, MessageButtons::Ok, {}, text}); }
  void Error(const std::string& text) { Show({MessageKind::Error, MessageButtons::Ok, {}, text}); }
  void Inform(const std::string& text) { Show({MessageKind::Information, MessageButtons::Ok, {}, text}); }
  MessageAnswer Confirm(const std::string& text, MessageButtons buttons = MessageButtons::OkCancel) {
    return Show({MessageKind::Confirmation, buttons, {}, text});
  }
};

// A message box that answers every question with a fixed answer and shows nothing;
// used by the command-line tool.
class SilentMessageBox final : public IMessageBox {
 public:
  explicit SilentMessageBox(MessageAnswer answer = MessageAnswer::Cancel) : answer_(answer) {}
  MessageAnswer Show(const MessageRequest& request) override;
  void Beep(BeepKind) override {}

 private:
  MessageAnswer answer_;
};

}  // namespace kadrel
