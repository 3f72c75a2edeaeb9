#pragma once
// Shared pieces of the settings tests: a store in a temporary folder and a message
// box that records what it was asked.

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/message_box.h"
#include "settings/reg_treat.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace kadrel::test {

class RecordingMessageBox final : public IMessageBox {
 public:
  explicit RecordingMessageBox(MessageAnswer answer = MessageAnswer::No) : answer_(answer) {}
  MessageAnswer Show(const MessageRequest& request) override {
    shown.push_back(request);
    return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer_;
  }
  void Beep(BeepKind) override {}
  std::vector<MessageRequest> shown;

 private:
  MessageAnswer answer_;
};

struct StoreFixture {
  TempDir dir;
  std::unique_ptr<SettingsStore> store = SettingsStore::Open(dir.path() + "settings.db", nullptr);
  RegTreat reg{*store, dir.path()};

  // Writes several whole-number values under one key.
  void Ints(const std::string& key, std::initializer_list<std::pair<const char*, int32_t>> values) {
    for (const auto& [name, value] : values) reg.RegWriteInt(name, value, key);
  }
};

}  // namespace kadrel::test
