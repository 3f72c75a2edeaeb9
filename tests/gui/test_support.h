#pragma once
// Helpers shared by the desktop-program tests.

#include <functional>
#include <string>
#include <vector>

#include <QString>
#include <QTemporaryDir>

#include "base/message_box.h"

namespace kadrel::test {

// Records every message instead of showing it, and gives `answer` to every question.
class RecordingMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    texts.push_back(request.text);
    return answer;
  }
  void Beep(BeepKind) override { ++beeps; }
  std::vector<std::string> texts;
  int beeps = 0;
  MessageAnswer answer = MessageAnswer::Ok;
};

// Runs the event loop until `done` holds or `timeoutMs` passed; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// Copies the bundled sample collection into `target`.
void CopySamples(const QString& target);
// Writes `count` small Standard MIDI files into `folder`.
void MakeMidiFiles(const QString& folder, int count);

}  // namespace kadrel::test
