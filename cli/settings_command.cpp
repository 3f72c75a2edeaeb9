// kadrel-cli settings: read, back up and change the user's settings tree.
//   settings [--config-dir DIR] dump [--stored]
//   settings [--config-dir DIR] import FILE.reg
//   settings [--config-dir DIR] get KEY NAME
//   settings [--config-dir DIR] set [--int|--str] KEY NAME VALUE
// KEY is a path below the program's root key ("\Option", "startup\show") or the full
// "HKEY_CURRENT_USER\SOFTWARE\Ostrin\Kadrel\..." form.

#include <fstream>
#include <iostream>
#include <sstream>

#include <fmt/format.h>

#include "cli/cli_common.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "settings/default_tree.h"
#include "settings/option_overrides.h"
#include "settings/platform_folders.h"
#include "settings/reg_file.h"
#include "settings/user_settings.h"

namespace kadrel::cli {
namespace {

// Messages of the store (a database moved aside, ...) go to the error stream.
class StderrMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    std::cerr << "kadrel-cli settings: " << request.text << "\n";
    return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
  }
  void Beep(BeepKind) override {}
};

std::string KeyArgument(std::string_view key) {
  const std::string_view root = kRegRootKey;
  if (key.size() >= root.size() && EqualsIgnoreCase(key.substr(0, root.size()), root) &&
      (key.size() == root.size() || key[root.size()] == '\\'))
    key.remove_prefix(root.size());
  return PreferCp932(key);
}

// The store for reading: the existing database read-only, or an empty one when there
// is none yet (so that nothing is created just by looking).
std::unique_ptr<SettingsStore> OpenForReading(const std::string& configFolder) {
  const std::string path = SettingsDatabasePath(configFolder);
  StoreOpenReport report;
  if (auto store = SettingsStore::Open(path, &report, {.readOnly = true})) return store;
  std::ifstream probe(path);
  if (probe) std::cerr << "kadrel-cli settings: " << report.error << "; showing the defaults\n";
  return SettingsStore::OpenInMemory();
}

std::string ValueText(const StoredValue& v) {
  if (v.kind == ValueKind::Int) return std::to_string(v.number);
  return DisplayText(v.text);
}

int Get(const std::string& configFolder, const std::string& key, const std::string& name) {
  auto store = OpenForReading(configFolder);
  if (!store) return kExitFailure;
  if (auto v = store->Get(key, name)) {
    std::cout << ValueText(*v) << "\n";
    return kExitOk;
  }
  const DefaultValue* d = FindDefault(key, name);
  if (d && d->rule == DefaultRule::OnRead) {
    std::cout << ValueText(d->value) << "\n";
    return kExitOk;
  }
  std::cerr << "kadrel-cli settings: " << DisplayText(name) << " is not set\n";
  return kExitFailure;
}

int Set(const std::string& configFolder, const std::string& key, const std::string& name, const std::string& value,
        std::optional<ValueKind> forced) {
  StderrMessageBox box;
  auto store = OpenUserSettings(configFolder, box);
  ValueKind kind = ValueKind::Str;
  if (forced) {
    kind = *forced;
  } else if (auto existing = store->Get(key, name)) {
    kind = existing->kind;
  } else if (const DefaultValue* d = FindDefault(key, name)) {
    kind = d->value.kind;
  } else {
    int32_t ignored = 0;
    kind = ParseSettingInteger(value, ignored) ? ValueKind::Int : ValueKind::Str;
  }
  StoredValue v;
  if (kind == ValueKind::Int) {
    int32_t number = 0;
    if (!ParseSettingInteger(value, number)) throw UsageError{DisplayText(name) + " takes an integer, got \"" + value + "\""};
    v = StoredValue::Int(number);
  } else {
    v = StoredValue::Str(SettingTextFromUtf8(key, name, value));
  }
  store->ResetErrors();
  if (!store->Put(key, PreferCp932(name), v) || store->errorCount() > 0) {
    std::cerr << "kadrel-cli settings: cannot write: " << store->lastError() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

int Import(const std::string& configFolder, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "kadrel-cli settings: cannot read " << file << "\n";
    return kExitFailure;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  StderrMessageBox box;
  auto store = OpenUserSettings(configFolder, box);
  ImportResult r = ImportSettings(*store, bytes.str());
  for (const auto& e : r.errors) std::cerr << file << ": " << e << "\n";
  if (!r.ok) {
    std::cerr << "kadrel-cli settings: nothing was imported\n";
    return kExitFailure;
  }
  std::cerr << fmt::format("imported {} keys and {} values\n", r.keys, r.values);
  return kExitOk;
}

}  // namespace

int RunSettings(std::vector<std::string> args) {
  std::string configOverride;
  std::vector<std::string> rest;
  bool stored = false;
  std::optional<ValueKind> forced;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--config-dir") {
      if (i + 1 >= args.size()) throw UsageError{"--config-dir needs a folder"};
      configOverride = args[++i];
    } else if (args[i].rfind("--config-dir=", 0) == 0) {
      configOverride = args[i].substr(13);
    } else if (args[i] == "--stored") {
      stored = true;
    } else if (args[i] == "--int") {
      forced = ValueKind::Int;
    } else if (args[i] == "--str") {
      forced = ValueKind::Str;
    } else {
      rest.push_back(args[i]);
    }
  }
  if (rest.empty()) throw UsageError{"expected dump, import FILE.reg, get KEY NAME or set KEY NAME VALUE"};
  const std::string configFolder = DefaultPlatformFolders(configOverride).config;
  const std::string& verb = rest[0];

  if (verb == "dump" && rest.size() == 1) {
    auto store = OpenForReading(configFolder);
    if (!store) return kExitFailure;
    std::cout << DumpSettings(*store, {stored, configFolder});
    return kExitOk;
  }
  if (verb == "import" && rest.size() == 2) return Import(configFolder, rest[1]);
  if (verb == "get" && rest.size() == 3) return Get(configFolder, KeyArgument(rest[1]), PreferCp932(rest[2]));
  if (verb == "set" && rest.size() == 4) return Set(configFolder, KeyArgument(rest[1]), rest[2], rest[3], forced);
  throw UsageError{"expected dump, import FILE.reg, get KEY NAME or set KEY NAME VALUE"};
}

}  // namespace kadrel::cli
