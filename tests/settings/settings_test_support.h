#pragma once
// The settings tests' store in a temporary folder.

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "settings/reg_treat.h"
#include "settings/settings_store.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel::test {

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
