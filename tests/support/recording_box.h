#pragma once
// A message box for the tests: it records every box and beep instead of showing them.
// A question gets the next scripted answer, else `otherwise`, else Yes (to Yes/No
// questions) or OK; a box with only an OK button is answered OK without taking a
// scripted answer. Safe to call from any thread.

#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "base/message_box.h"

namespace kadrel::test {

class RecordingMessageBox final : public IMessageBox {
 public:
  explicit RecordingMessageBox(std::deque<MessageAnswer> script = {}, std::optional<MessageAnswer> otherwise = {})
      : answers(std::move(script)), otherwise(otherwise) {}
  MessageAnswer Show(const MessageRequest& r) override {
    std::lock_guard lock(mutex_);
    shown.push_back(r);
    if (r.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (!answers.empty()) {
      const MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    if (otherwise) return *otherwise;
    const bool yesNo = r.buttons == MessageButtons::YesNo || r.buttons == MessageButtons::YesNoCancel;
    return yesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
  }
  // For a test that waits while a worker may still show boxes.
  std::size_t ShownCount() {
    std::lock_guard lock(mutex_);
    return shown.size();
  }
  void Beep(BeepKind kind) override {
    std::lock_guard lock(mutex_);
    beeps.push_back(kind);
  }

  std::vector<MessageRequest> shown;
  std::vector<BeepKind> beeps;
  std::deque<MessageAnswer> answers;
  std::optional<MessageAnswer> otherwise;

 private:
  std::mutex mutex_;
};

}  // namespace kadrel::test
