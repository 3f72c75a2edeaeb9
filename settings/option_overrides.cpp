#include "settings/option_overrides.h"

#include <charconv>
#include <functional>
#include <map>

#include "base/encoding.h"
#include "base/text_helpers.h"

namespace kadrel {

bool ParseSettingInteger(std::string_view t, int32_t& value) {
  bool negative = false;
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  int base = 10;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    t.remove_prefix(2);
  }
  int64_t v = 0;
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v, base);
  if (ec != std::errc() || p != t.data() + t.size() || t.empty()) return false;
  if (negative) v = -v;
  if (v < INT32_MIN || v > UINT32_MAX) return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

namespace {

using IntSetter = std::function<void(OptionRecords&, int32_t)>;
using StrSetter = std::function<void(OptionRecords&, const std::string&)>;

struct Lower {
  bool operator()(const std::string& a, const std::string& b) const { return CompareIgnoreCase(a, b) < 0; }
};

const std::map<std::string, IntSetter, Lower>& IntSettings() {
  static const std::map<std::string, IntSetter, Lower> table = {
      {"SMFByte", [](OptionRecords& o, int32_t v) { o.main.SMFByte = ClampSmfByte(v); }},
      {"LZHByte", [](OptionRecords& o, int32_t v) { o.main.LZHByte = ClampLzhByte(v); }},
      {"LzhStyle", [](OptionRecords& o, int32_t v) { o.main.LzhStyle = v; }},
      {"LzhMeltStyle", [](OptionRecords& o, int32_t v) { o.main.LzhMeltStyle = v; }},
      {"TitleGetstyle", [](OptionRecords& o, int32_t v) { o.main.TitleGetstyle = v; }},
      {"OthersGetstyle", [](OptionRecords& o, int32_t v) { o.main.OthersGetstyle = v; }},
      {"SearchStyleEx", [](OptionRecords& o, int32_t v) { DecodeSearchStyleEx(v, o.main); }},
      {"IndexStyleEx", [](OptionRecords& o, int32_t v) { DecodeIndexStyleEx(v, o.main); }},
      {"FTypeInfo", [](OptionRecords& o, int32_t v) { o.main.Formats = FormatFilter(static_cast<uint32_t>(v)); }},
      {"MgsMusicInVisible", [](OptionRecords& o, int32_t v) { o.main.MgsMusicInVisible = v & 1; }},
      {"TextOpenType", [](OptionRecords& o, int32_t v) { o.main.TextOpenType = v; }},
      {"showstyle", [](OptionRecords& o, int32_t v) { DecodeShowStyle(v, o.view); }},
      {"showstyle2", [](OptionRecords& o, int32_t v) { DecodeShowStyle2(v, o.view); }},
      {"operation", [](OptionRecords& o, int32_t v) { DecodeOperation(v, o.view); }},
      {"tasktray", [](OptionRecords& o, int32_t v) { DecodeTaskTray(v, o.window); }},
      {"PWCheckTime", [](OptionRecords& o, int32_t v) { o.window.PWCheckTime = v; }},
      {"SortOption", [](OptionRecords& o, int32_t v) { o.window.SortOption = v & 1; }},
  };
  return table;
}

const std::map<std::string, StrSetter, Lower>& StringSettings() {
  static const std::map<std::string, StrSetter, Lower> table = {
      {"InfoGetType", [](OptionRecords& o, const std::string& v) { o.main.InfoGetType = v; }},
      {"TextViewType", [](OptionRecords& o, const std::string& v) { o.main.TextViewType = v; }},
      {"TextViewer", [](OptionRecords& o, const std::string& v) { o.main.TextViewer = v; }},
      {"ErrTitle1", [](OptionRecords& o, const std::string& v) { o.view.ErrTitle[0] = v; }},
      {"ErrTitle2", [](OptionRecords& o, const std::string& v) { o.view.ErrTitle[1] = v; }},
      {"ErrTitle3", [](OptionRecords& o, const std::string& v) { o.view.ErrTitle[2] = v; }},
      {"ErrTitle4", [](OptionRecords& o, const std::string& v) { o.view.ErrTitle[3] = v; }},
      {"ErrTitle5", [](OptionRecords& o, const std::string& v) { o.view.ErrTitle[4] = v; }},
  };
  return table;
}

}  // namespace

std::string ApplyOptionOverride(std::string_view assignment, OptionRecords records) {
  size_t eq = assignment.find('=');
  if (eq == std::string_view::npos || eq == 0) return "expected NAME=VALUE, got \"" + std::string(assignment) + "\"";
  std::string name(assignment.substr(0, eq));
  std::string_view value = assignment.substr(eq + 1);
  if (auto it = IntSettings().find(name); it != IntSettings().end()) {
    int32_t v = 0;
    if (!ParseSettingInteger(value, v)) return "setting " + name + " takes an integer, got \"" + std::string(value) + "\"";
    it->second(records, v);
    return {};
  }
  if (auto it = StringSettings().find(name); it != StringSettings().end()) {
    it->second(records, Cp932(value));
    return {};
  }
  return "unknown setting " + name;
}

}  // namespace kadrel
