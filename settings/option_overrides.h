#pragma once
// Setting values given for one run (the command line's --option NAME=VALUE), applied
// to the in-memory option records after they were loaded.

#include <string>
#include <string_view>

#include "catalog/options.h"

namespace kadrel {

struct OptionRecords {
  TMainOption& main;
  TListViewOption& view;
  TWindowOption& window;
};

// Parses "NAME=VALUE" and applies it. Integers are decimal or 0x-hex ("SMFByte" and
// "LZHByte" are brought into their ranges as when loaded); strings are given in UTF-8
// and kept as CP932. Returns an error text (UTF-8) or an empty string.
std::string ApplyOptionOverride(std::string_view assignment, OptionRecords records);

// Integer in decimal or 0x-hex, with an optional sign.
bool ParseSettingInteger(std::string_view text, int32_t& value);

}  // namespace kadrel
