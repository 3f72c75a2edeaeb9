#pragma once
// The access layer of the settings tree: every read and write of a setting goes
// through these operations. Each takes the value name first and the key path (below
// the root, e.g. "\Player") last, and creates the key with its parents when missing,
// also for reads.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace kadrel {

class RegTreat {
 public:
  // `configFolder` (ends with "/") is where the key definition file lives by default.
  explicit RegTreat(SettingsStore& store, std::string configFolder = {})
      : store_(store), configFolder_(std::move(configFolder)) {}

  // Writes the default first when the value is missing, then reads it.
  int32_t RegReadIntDef(std::string_view name, int32_t def, std::string_view key);
  // The value, or -1 when missing; writes nothing.
  int32_t RegReadInt(std::string_view name, std::string_view key);
  void RegWriteInt(std::string_view name, int32_t value, std::string_view key);
  std::string RegReadStrDef(std::string_view name, std::string_view def, std::string_view key);
  // The value, or "" when missing; a value that exists but is empty is deleted.
  std::string RegReadStr(std::string_view name, std::string_view key);
  void RegWriteStr(std::string_view name, std::string_view value, std::string_view key);
  // True when the value was present.
  bool RegDeleteValue(std::string_view name, std::string_view key);
  // Deletes `subkey` of `key` with everything below it; true when it was present.
  bool RegDeleteKey(std::string_view subkey, std::string_view key);
  // Names of the subkeys of `key` (used for "\SMFK").
  std::vector<std::string> RegSubKeys(std::string_view key);

  // Reads with the default that the settings tree declares for this value.
  int32_t ReadInt(std::string_view name, std::string_view key);
  std::string ReadStr(std::string_view name, std::string_view key);

  SettingsStore& store() { return store_; }
  const std::string& configFolder() const { return configFolder_; }

 private:
  SettingsStore& store_;
  std::string configFolder_;
};

}  // namespace kadrel
