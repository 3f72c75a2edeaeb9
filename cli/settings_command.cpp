// kadrel-cli settings: read, back up and change the user's settings tree.
//   settings [--config-dir DIR] dump [--stored]
//   settings [--config-dir DIR] import FILE.reg
//   settings [--config-dir DIR] get KEY NAME
//   settings [--config-dir DIR] set [--int|--str] KEY NAME VALUE
// KEY is a path below the program's root key ("\Option", "startup\show") or the full
// "HKEY_CURRENT_USER\SOFTWARE\Ostrin\Kadrel\..." form.

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include <fmt/format.h>

#include "base/atomic_file.h"
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
  std::string bytes;
  switch (ReadFileUpTo(file, kMaxRegFileBytes, bytes)) {
    case FileRead::Ok:
      break;
    case FileRead::TooLarge:
      std::cerr << "kadrel-cli settings: " << file << " is larger than " << (kMaxRegFileBytes >> 20)
                << " MiB: nothing was imported\n";
      return kExitFailure;
    case FileRead::Unreadable:
      std::cerr << "kadrel-cli settings: cannot read " << file << "\n";
      return kExitFailure;
  }
  StderrMessageBox box;
  auto store = OpenUserSettings(configFolder, box);
  ImportResult r = ImportSettings(*store, bytes);
  for (const auto& e : r.errors) std::cerr << file << ": " << e << "\n";
  if (!r.ok) {
    std::cerr << "kadrel-cli settings: nothing was imported\n";
    return kExitFailure;
  }
  std::cerr << fmt::format("imported {} keys and {} values\n", r.keys, r.values);
  return kExitOk;
}

struct SettingsArgs {
  std::string configDir;  // --config-dir; empty: the user's folder
  bool stored = false;    // dump --stored
  std::string file;       // import FILE.reg
  std::string key, name, value;
  bool forceInt = false, forceStr = false;  // set --int / --str

  std::string ConfigFolder() const { return DefaultPlatformFolders(configDir).config; }
};

int Dump(const SettingsArgs& args) {
  const std::string configFolder = args.ConfigFolder();
  auto store = OpenForReading(configFolder);
  if (!store) return kExitFailure;
  std::cout << DumpSettings(*store, {args.stored, configFolder});
  return kExitOk;
}

int Import(const SettingsArgs& args) { return Import(args.ConfigFolder(), args.file); }

int Get(const SettingsArgs& args) {
  return Get(args.ConfigFolder(), KeyArgument(args.key), PreferCp932(args.name));
}

int Set(const SettingsArgs& args) {
  std::optional<ValueKind> forced;
  if (args.forceInt) forced = ValueKind::Int;
  if (args.forceStr) forced = ValueKind::Str;
  return Set(args.ConfigFolder(), KeyArgument(args.key), args.name, args.value, forced);
}

constexpr const char* kKeyHelp =
    "KEY is a path below the program's root key (\"\\Option\", \"startup\\show\") or the full\n"
    "\"HKEY_CURRENT_USER\\SOFTWARE\\Ostrin\\Kadrel\\...\" form.";

// A sub-command of settings that shares args, with the --config-dir every one takes.
CLI::App* AddLeaf(CLI::App* settings, const char* name, const char* description, std::shared_ptr<SettingsArgs> args,
                  CommandRunner& run, int (*runner)(const SettingsArgs&)) {
  CLI::App* leaf = settings->add_subcommand(name, description);
  leaf->add_option("--config-dir", args->configDir, "The settings folder to use instead of the user's")
      ->type_name("DIR");
  leaf->callback([&run, args, runner] { run = [args, runner] { return runner(*args); }; });
  return leaf;
}

}  // namespace

void AddSettingsCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* settings = app.add_subcommand("settings", "Read or change the settings");
  settings->require_subcommand(1);
  auto args = std::make_shared<SettingsArgs>();
  settings->add_option("--config-dir", args->configDir, "The settings folder to use instead of the user's")
      ->type_name("DIR");

  CLI::App* dump = AddLeaf(settings, "dump", "Print the settings as a .reg file", args, run, Dump);
  dump->add_flag("--stored", args->stored, "Only the values in the store, without the defaults");

  CLI::App* import = AddLeaf(settings, "import", "Add the keys and values of a .reg file", args, run, Import);
  import->add_option("FILE.reg", args->file, "The .reg file")->required();

  CLI::App* get = AddLeaf(settings, "get", "Print one value (its default when it is not stored)", args, run, Get);
  get->footer(kKeyHelp);
  get->add_option("KEY", args->key, "The key")->required();
  get->add_option("NAME", args->name, "The value's name")->required();

  CLI::App* set = AddLeaf(settings, "set", "Store one value", args, run, Set);
  set->footer(kKeyHelp);
  CLI::Option* asInt = set->add_flag("--int", args->forceInt, "Store VALUE as an integer (decimal or 0x-hex)");
  set->add_flag("--str", args->forceStr, "Store VALUE as a string")->excludes(asInt);
  set->add_option("KEY", args->key, "The key")->required();
  set->add_option("NAME", args->name, "The value's name")->required();
  set->add_option("VALUE", args->value, "Typed as the stored value or its default, else as it reads")->required();
}

}  // namespace kadrel::cli
