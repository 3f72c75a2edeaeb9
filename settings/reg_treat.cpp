#include "settings/reg_treat.h"

#include "settings/default_tree.h"
#include "settings/key_path.h"
#include "settings/setting_keys.h"

namespace kadrel {

// A value stored with the other kind (an imported string where a number belongs)
// reads as missing but is left in place: it is the user's data, not ours to replace.

int32_t RegTreat::RegReadIntDef(std::string_view name, int32_t def, std::string_view key) {
  auto v = store_.Get(key, name);
  if (v) return v->kind == ValueKind::Int ? v->number : def;
  store_.Put(key, name, StoredValue::Int(def));
  return def;
}

int32_t RegTreat::RegReadInt(std::string_view name, std::string_view key) {
  auto v = store_.Get(key, name);
  if (v) return v->kind == ValueKind::Int ? v->number : -1;
  store_.EnsureKey(key);
  return -1;
}

void RegTreat::RegWriteInt(std::string_view name, int32_t value, std::string_view key) {
  store_.Put(key, name, StoredValue::Int(value));
}

std::string RegTreat::RegReadStrDef(std::string_view name, std::string_view def, std::string_view key) {
  auto v = store_.Get(key, name);
  if (v) return v->kind == ValueKind::Str ? v->text : std::string(def);
  store_.Put(key, name, StoredValue::Str(std::string(def)));
  return std::string(def);
}

std::string RegTreat::RegReadStr(std::string_view name, std::string_view key) {
  auto v = store_.Get(key, name);
  if (!v) {
    store_.EnsureKey(key);
    return {};
  }
  if (v->kind != ValueKind::Str) return {};
  if (v->text.empty()) store_.Remove(key, name);
  return v->text;
}

void RegTreat::RegWriteStr(std::string_view name, std::string_view value, std::string_view key) {
  store_.Put(key, name, StoredValue::Str(std::string(value)));
}

bool RegTreat::RegDeleteValue(std::string_view name, std::string_view key) {
  store_.EnsureKey(key);
  return store_.Remove(key, name);
}

bool RegTreat::RegDeleteKey(std::string_view subkey, std::string_view key) {
  store_.EnsureKey(key);
  auto parts = SplitKeyPath(key);
  auto below = SplitKeyPath(subkey);
  if (below.empty()) return false;  // never the key itself
  parts.insert(parts.end(), below.begin(), below.end());
  return store_.RemoveKey(JoinKeyPath(parts));
}

std::vector<std::string> RegTreat::RegSubKeys(std::string_view key) {
  store_.EnsureKey(key);
  return store_.SubKeys(key);
}

int32_t RegTreat::ReadInt(std::string_view name, std::string_view key) {
  const DefaultValue* d = FindDefault(key, name);
  if (d && d->rule == DefaultRule::OnRead && d->value.kind == ValueKind::Int)
    return RegReadIntDef(name, d->value.number, key);
  return RegReadInt(name, key);
}

std::string RegTreat::ReadStr(std::string_view name, std::string_view key) {
  const DefaultValue* d = FindDefault(key, name);
  if (d && d->rule == DefaultRule::OnRead && d->value.kind == ValueKind::Str) {
    if (d == FindDefault(keys::kMain, "KeyCust"))
      return RegReadStrDef(name, configFolder_ + std::string(kDefaultKeyFileName), key);
    return RegReadStrDef(name, d->value.text, key);
  }
  return RegReadStr(name, key);
}

}  // namespace kadrel
