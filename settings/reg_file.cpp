#include "settings/reg_file.h"

#include <functional>
#include <map>
#include <optional>
#include <set>

#include <fmt/format.h>

#include "base/encoding.h"
#include "base/text_helpers.h"
#include "settings/default_tree.h"
#include "settings/key_path.h"
#include "settings/setting_keys.h"
#include "catalog/smfk_info.h"

namespace kadrel {

namespace {

std::string Quote(std::string_view bytes) {
  std::string out = "\"";
  for (char c : DisplayText(bytes)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

std::string ValueLine(std::string_view name, const StoredValue& v) {
  if (v.kind == ValueKind::Int) return fmt::format("{}=dword:{:08x}\n", Quote(name), static_cast<uint32_t>(v.number));
  return Quote(name) + "=" + Quote(v.text) + "\n";
}

std::string KeyLine(std::string_view path) {
  std::string line = "[" + std::string(kRegRootKey);
  for (const auto& part : SplitKeyPath(path)) line += "\\" + DisplayText(part);
  return line + "]\n";
}

struct DumpKey {
  std::string path;
  std::vector<StoredEntry> values;
  std::set<std::string> names;  // folded
};

}  // namespace

std::string DumpSettings(SettingsStore& store, const DumpOptions& options) {
  std::vector<DumpKey> order;
  std::map<std::string, size_t> byFold;
  std::function<DumpKey&(std::string_view)> keyFor = [&](std::string_view path) -> DumpKey& {
    std::string fold = FoldKeyPath(path);
    auto it = byFold.find(fold);
    if (it != byFold.end()) return order[it->second];
    // Parents first, as a tree reads.
    auto parts = SplitKeyPath(path);
    if (!parts.empty()) {
      auto parent = parts;
      parent.pop_back();
      keyFor(JoinKeyPath(parent));
    }
    byFold.emplace(fold, order.size());
    order.push_back({JoinKeyPath(parts), {}, {}});
    return order.back();
  };
  auto add = [&](DumpKey& k, std::string_view name, const StoredValue& v) {
    if (k.names.insert(FoldName(name)).second) k.values.push_back({std::string(name), v});
  };

  std::map<std::string, StoredKey> stored;
  for (auto& k : store.Snapshot()) stored.emplace(FoldKeyPath(k.path), std::move(k));
  auto storedValue = [&](std::string_view key, std::string_view name) -> const StoredEntry* {
    auto it = stored.find(FoldKeyPath(key));
    if (it == stored.end()) return nullptr;
    for (const auto& e : it->second.values)
      if (FoldName(e.name) == FoldName(name)) return &e;
    return nullptr;
  };

  for (const auto& d : DefaultTree()) {
    DumpKey& k = keyFor(d.key);
    if (const StoredEntry* e = storedValue(d.key, d.name)) {
      add(k, e->name, e->value);
      continue;
    }
    if (options.storedOnly || d.rule == DefaultRule::NoDefault) continue;
    if (d.rule == DefaultRule::ListItem) {
      // A column list is written whole only when its first entry is missing.
      std::string first = d.name.substr(0, d.name.find_first_of("0123456789")) + "1";
      if (storedValue(d.key, first)) continue;
    }
    StoredValue v = d.value;
    if (d.key == keys::kMain && d.name == "KeyCust") v.text = options.configFolder + std::string(kDefaultKeyFileName);
    add(k, d.name, v);
  }
  bool storedModules = false;
  for (const auto& [fold, k] : stored) {
    auto parts = SplitKeyPath(k.path);
    if (parts.size() == 2 && FoldName(parts[0]) == "SMFK") storedModules = true;
  }
  if (!storedModules && !options.storedOnly) {
    for (const auto& m : DefaultSoundModules()) {
      DumpKey& k = keyFor(std::string(keys::kSmfk) + "\\" + m.Name);
      add(k, "Cfg", StoredValue::Str(m.Cfg));
      add(k, "FindStr", StoredValue::Str(m.FindStr));
      add(k, "FindStr2", StoredValue::Str(m.FindStr2));
      add(k, "Priority", StoredValue::Int(m.Priority));
    }
  }
  for (const auto& [fold, k] : stored) {
    DumpKey& dk = keyFor(k.path);
    for (const auto& e : k.values) add(dk, e.name, e.value);
  }

  std::string out = "REGEDIT4\n";
  for (const auto& k : order) {
    out += "\n" + KeyLine(k.path);
    for (const auto& e : k.values) out += ValueLine(e.name, e.value);
  }
  return out;
}

// ---- Import ------------------------------------------------------------------------

namespace {

struct Operation {
  enum Kind { EnsureKey, DeleteKey, Put, DeleteValue } kind;
  std::string key;
  std::string name;
  StoredValue value;
};

}  // namespace

// Values that hold file-system paths keep the bytes given; Linux names are UTF-8.
bool IsPathSetting(std::string_view key, std::string_view name) {
  auto parts = SplitKeyPath(key);
  std::string k = parts.empty() ? "" : FoldName(parts[0]);
  std::string n = FoldName(name);
  if (k == "FOLDER" && parts.size() == 1)
    return n == "START" || n == "TMP" || n == "INDEX" || n == "ENDFOLDER" || n.rfind("JF", 0) == 0;
  if (k == "PLAYER" && parts.size() == 1)
    return n == "TEXTVIEWER" || (n.size() == 6 && n[0] == 'P' && n.substr(2) == "PATH");
  if (k == "MAIN" && parts.size() == 1) return n == "KEYCUST";
  if (k == "DRIVE" && parts.size() == 1) return true;
  if (k == "SMFK") return parts.size() == 1 ? (n == "EXEPATH" || n == "CFGDIR") : n == "CFG";
  return false;
}

std::string SettingTextFromUtf8(std::string_view key, std::string_view name, std::string_view utf8) {
  return IsPathSetting(key, name) ? std::string(utf8) : PreferCp932(utf8);
}

namespace {

// Parses a quoted text at `pos` (at the opening quote); moves past the closing quote.
std::optional<std::string> ParseQuoted(std::string_view line, size_t& pos) {
  if (pos >= line.size() || line[pos] != '"') return std::nullopt;
  std::string out;
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return out;
    }
    if (c == '\\') {
      if (++pos >= line.size()) return std::nullopt;
      c = line[pos];
      if (c != '\\' && c != '"') return std::nullopt;
    }
    out += c;
  }
  return std::nullopt;
}

std::string DecodeFile(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
    return Utf16ToUtf8(bytes.substr(2), false);
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  return std::string(bytes);
}

}  // namespace

ImportResult ImportSettings(SettingsStore& store, std::string_view fileBytes) {
  ImportResult result;
  if (fileBytes.size() > kMaxRegFileBytes) {
    result.errors.push_back(fmt::format("the file is larger than {} MiB ({} bytes)", kMaxRegFileBytes >> 20,
                                        fileBytes.size()));
    return result;
  }
  const std::string text = DecodeFile(fileBytes);
  const bool utf8 = IsValidUtf8(text);
  auto stored = [&](std::string_view s, bool path) {
    if (!utf8 || path) return std::string(s);
    return PreferCp932(s);
  };

  std::vector<Operation> ops;
  std::optional<std::string> key;  // current key below the root; nullopt before the first
  bool header = false;
  int lineNo = 0;
  size_t pos = 0;
  auto error = [&](std::string message) { result.errors.push_back(fmt::format("line {}: {}", lineNo, message)); };

  // Nothing is imported after the first error; a hundred are enough to show the user.
  constexpr size_t kMostErrors = 100;
  while (pos <= text.size()) {
    if (result.errors.size() >= kMostErrors) {
      result.errors.push_back(fmt::format("line {}: too many errors, the rest of the file was not read", lineNo + 1));
      break;
    }
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    if (!header) {
      if (trimmed != "REGEDIT4" && trimmed != "Windows Registry Editor Version 5.00") {
        error("expected the header REGEDIT4");
        break;
      }
      header = true;
      continue;
    }
    if (trimmed[0] == '[') {
      if (trimmed.back() != ']') {
        error("a key line must end with ]");
        key.reset();
        continue;
      }
      bool remove = trimmed.size() > 1 && trimmed[1] == '-';
      std::string_view full = std::string_view(trimmed).substr(remove ? 2 : 1, trimmed.size() - (remove ? 3 : 2));
      const std::string_view root = kRegRootKey;
      if (full.size() < root.size() || !EqualsIgnoreCase(full.substr(0, root.size()), root) ||
          (full.size() > root.size() && full[root.size()] != '\\')) {
        error("key outside " + std::string(root));
        key.reset();
        continue;
      }
      std::string below = stored(full.substr(root.size()), false);
      if (const std::string why = KeyPathProblem(below); !why.empty()) {
        error(why);
        key.reset();
        continue;
      }
      key = JoinKeyPath(SplitKeyPath(below));
      if (remove) {
        ops.push_back({Operation::DeleteKey, *key, {}, {}});
        key.reset();  // values under a deleted key are an error
        ++result.keys;
      } else {
        ops.push_back({Operation::EnsureKey, *key, {}, {}});
        ++result.keys;
      }
      continue;
    }
    if (trimmed[0] == '@') {
      error("unnamed (default) values are not used by these settings");
      continue;
    }
    if (!key) {
      error("value outside a key");
      continue;
    }
    size_t p = 0;
    auto name = ParseQuoted(trimmed, p);
    if (!name || name->empty()) {
      error("expected \"Name\"=value");
      continue;
    }
    std::string_view rest = std::string_view(trimmed).substr(p);
    if (rest.empty() || rest[0] != '=') {
      error("expected = after the value name");
      continue;
    }
    rest.remove_prefix(1);
    std::string valueName = stored(*name, false);
    if (const std::string why = ValueProblem(valueName, {}); !why.empty()) {
      error(why);
      continue;
    }
    if (rest == "-") {
      ops.push_back({Operation::DeleteValue, *key, valueName, {}});
      ++result.values;
      continue;
    }
    if (!rest.empty() && rest[0] == '"') {
      size_t q = 0;
      auto value = ParseQuoted(rest, q);
      if (!value || q != rest.size()) {
        error("malformed string value");
        continue;
      }
      std::string text = stored(*value, IsPathSetting(*key, valueName));
      if (const std::string why = ValueProblem(valueName, text); !why.empty()) {
        error(why);
        continue;
      }
      ops.push_back({Operation::Put, *key, valueName, StoredValue::Str(std::move(text))});
      ++result.values;
      continue;
    }
    if (rest.size() > 6 && EqualsIgnoreCase(rest.substr(0, 6), "dword:")) {
      std::string_view hex = rest.substr(6);
      uint32_t v = 0;
      bool good = !hex.empty() && hex.size() <= 8;
      for (char c : hex) {
        int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (d < 0) good = false;
        v = v * 16 + static_cast<uint32_t>(d < 0 ? 0 : d);
      }
      if (!good) {
        error("dword needs 1 to 8 hexadecimal digits");
        continue;
      }
      ops.push_back({Operation::Put, *key, valueName, StoredValue::Int(static_cast<int32_t>(v))});
      ++result.values;
      continue;
    }
    error("unsupported value kind (only strings and dwords are used)");
  }
  if (!header && result.errors.empty()) {
    lineNo = 1;
    error("expected the header REGEDIT4");
  }
  if (!result.errors.empty()) return result;

  store.ResetErrors();
  SettingsStore::Batch batch(store);
  for (const auto& op : ops) {
    switch (op.kind) {
      case Operation::EnsureKey: store.EnsureKey(op.key); break;
      case Operation::DeleteKey:
        if (op.key.empty()) store.Clear();
        else store.RemoveKey(op.key);
        break;
      case Operation::Put: store.Put(op.key, op.name, op.value); break;
      case Operation::DeleteValue: store.Remove(op.key, op.name); break;
    }
  }
  if (store.errorCount() > 0) {
    batch.Abandon();
    result.errors.push_back("the settings could not be written: " + store.lastError());
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace kadrel
