#pragma once
// Every key and value of the settings tree with the default the program writes when
// it reads the value and finds it missing. The loaders take their defaults from here
// and "settings dump" shows this table merged with the stored values.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_store.h"

namespace kadrel {

enum class DefaultRule {
  OnRead,      // written when read and missing
  NoDefault,   // missing reads as "" or -1; nothing written
  ListItem,    // one entry of a column list written whole when its first entry is missing
};

struct DefaultValue {
  std::string key;   // "\Option"
  std::string name;  // "LzhStyle"
  StoredValue value; // the default (kind and value); for NoDefault only the kind counts
  DefaultRule rule = DefaultRule::OnRead;
};

// The whole table in tree order. String defaults are CP932 bytes.
const std::vector<DefaultValue>& DefaultTree();

// The table row of a value (case-insensitive names); null when the tree has none.
const DefaultValue* FindDefault(std::string_view key, std::string_view name);

// Font groups of "\Font" and their built-in sizes in points.
struct FontGroup {
  std::string_view prefix;
  int32_t points;
  bool hasBackColor;
};
inline constexpr FontGroup kFontGroups[] = {
    {"AF", 9, false}, {"FL", 11, true}, {"PL", 10, true},
    {"FW", 10, true}, {"DW", 11, true}, {"FJ", 10, true},
};

inline constexpr int32_t kColorWindowText = static_cast<int32_t>(0x80000008u);
inline constexpr int32_t kColorWindow = static_cast<int32_t>(0x80000005u);
inline constexpr int32_t kColorHighlight = static_cast<int32_t>(0x8000000Du);
inline constexpr int32_t kColorButtonFace = static_cast<int32_t>(0x8000000Fu);


// Name of the key definition file used when "\Main" "KeyCust" is missing.
inline constexpr std::string_view kDefaultKeyFileName = "Default.Key";

}  // namespace kadrel
