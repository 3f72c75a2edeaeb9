#include "catalog/column_ids.h"
#include "settings/default_tree.h"

#include <map>

#include <fmt/format.h>

#include "base/encoding.h"
#include "settings/key_path.h"
#include "catalog/options.h"
#include "settings/setting_keys.h"

namespace kadrel {

namespace {

std::vector<DefaultValue> BuildTree() {
  std::vector<DefaultValue> t;
  auto num = [&](std::string_view key, std::string name, int32_t v, DefaultRule rule = DefaultRule::OnRead) {
    t.push_back({std::string(key), std::move(name), StoredValue::Int(v), rule});
  };
  auto str = [&](std::string_view key, std::string name, std::string v, DefaultRule rule = DefaultRule::OnRead) {
    t.push_back({std::string(key), std::move(name), StoredValue::Str(std::move(v)), rule});
  };
  using namespace keys;
  const auto none = DefaultRule::NoDefault;

  num(kRoot, "version", 0, none);

  num(kMain, "FTypeInfo", 0xFFFFE);
  num(kMain, "MgsMusicInVisible", 0);
  str(kMain, "KeyCust", "");  // the configuration folder + "Default.Key"; see RegTreat::ReadStr
  num(kMain, "Mes", 0, none);

  num(kFolder, "Info", 7);
  str(kFolder, "Start", "");
  str(kFolder, "tmp", "");
  str(kFolder, "Index", "");
  str(kFolder, "endfolder", "", none);
  for (int i = 1; i <= 26; ++i) str(kFolder, fmt::format("JF{}", i), "", none);

  for (int n = 1; n <= 6; ++n) {
    str(kPlayer, fmt::format("P{}name", n), "");
    str(kPlayer, fmt::format("P{}path", n), "");
    num(kPlayer, fmt::format("P{}Info", n), 1);
    num(kPlayer, fmt::format("P{}FTypeInfo", n), 65534);
  }
  num(kPlayer, "PlayerDetailInfo", 15);
  const TMainOption mainDefaults;
  str(kPlayer, "TextViewer", mainDefaults.TextViewer);
  str(kPlayer, "TextViewType", mainDefaults.TextViewType);
  str(kPlayer, "InfoGetType", mainDefaults.InfoGetType);
  num(kPlayer, "TextOpenType", 0);

  num(kOption, "LzhStyle", 2);
  num(kOption, "LzhMeltStyle", 1);
  num(kOption, "TitleGetstyle", 2);
  num(kOption, "OthersGetstyle", 0);
  num(kOption, "SearchStyleEx", kDefaultSearchStyleEx);
  num(kOption, "IndexStyleEx", kDefaultIndexStyleEx);
  num(kOption, "LZHByte", 700);
  num(kOption, "SMFByte", 300);
  num(kOption, "operation", kDefaultOperation);
  num(kOption, "showstyle", kDefaultShowStyle);
  num(kOption, "showstyle2", kDefaultShowStyle2);
  num(kOption, "savewinstate", 15, none);  // missing counts as every bit set
  num(kOption, "forcewinstate", 0);
  num(kOption, "tasktray", kDefaultTaskTray);
  num(kOption, "PWCheckTime", 5000);
  num(kOption, "PWcontrol1", 9);
  num(kOption, "PWcontrol2", 9);
  num(kOption, "SortOption", 1);

  for (const auto& g : kFontGroups) {
    str(kFont, fmt::format("{}_Font", g.prefix), "");
    num(kFont, fmt::format("{}_pt", g.prefix), g.points);
    num(kFont, fmt::format("{}_Color", g.prefix), kColorWindowText);
    if (g.hasBackColor) num(kFont, fmt::format("{}_BColor", g.prefix), kColorWindow);
    num(kFont, fmt::format("{}_Bold", g.prefix), 1);
    num(kFont, fmt::format("{}_Italic", g.prefix), 1);
  }
  for (const char* bar : {"B1", "B2"}) {
    num(kFont, fmt::format("{}_BColor", bar), kColorHighlight);
    num(kFont, fmt::format("{}_Color", bar), kColorButtonFace);
  }

  static constexpr int32_t kFileWidths[kFileListColumnCount] = {110, 50, 110, 50, 50, 50, 90, 350, 100, 100, 100, 100};
  static constexpr int32_t kPlayWidths[kPlayListColumnCount] = {50, 110, 50, 150, 50, 50, 50, 90, 350, 100, 100, 100, 100};
  for (int i = 0; i < kFileListColumnCount; ++i) num(kListView, fmt::format("FLW{}", i + 1), kFileWidths[i]);
  for (int i = 0; i < kPlayListColumnCount; ++i) num(kListView, fmt::format("PLW{}", i + 1), kPlayWidths[i]);
  auto list = [&](const char* prefix, const auto& items) {
    int i = 1;
    for (int32_t id : items) num(kListView, fmt::format("{}{}", prefix, i++), id, DefaultRule::ListItem);
    num(kListView, fmt::format("{}{}", prefix, i), 0, DefaultRule::ListItem);
  };
  list("FLitem", kDefaultFileListColumns);
  list("PLitem", kDefaultPlayListColumns);
  for (int i = 0; i < 5; ++i) str(kListView, fmt::format("ErrTitle{}", i + 1), DefaultErrTitles()[i]);

  num(kGrid, "IEdit_H", 400);
  num(kGrid, "IEdit_W", 640);
  static constexpr int32_t kEditWidths[] = {100, 80, 80, 80, 80, 220, 70};
  for (int i = 0; i < 7; ++i) num(kGrid, fmt::format("IEdit_{}", i), kEditWidths[i]);
  num(kGrid, "KeyCust_H", 400);
  num(kGrid, "KeyCust_W", 620);
  num(kGrid, "KeyCust_Splt", 174);
  static constexpr int32_t kKeyWidths[] = {40, 100, 100, 100, 100};
  for (int i = 0; i < 5; ++i) num(kGrid, fmt::format("KeyCust_{}", i), kKeyWidths[i]);

  num(kStartupShow, "save", 15);
  num(kStartupShow, "splitter", 1);
  num(kStartupSort, "SortItem", 0);
  num(kStartupSort, "SortType", 0);

  for (const char* w : {"Main", "Detail"}) {
    num(kStartupWindow, fmt::format("{}_H", w), 440);
    num(kStartupWindow, fmt::format("{}_W", w), 620);
    num(kStartupWindow, fmt::format("{}_T", w), 10);
    num(kStartupWindow, fmt::format("{}_L", w), 10);
    if (std::string_view(w) == "Main") {
      num(kStartupWindow, "Folder_W", 170);
      num(kStartupWindow, "PLSplt_H", 20);
      num(kStartupWindow, "WinFlg_Main", 0);
    }
  }

  num(kStartupBar, "Place", 273);
  struct Bar {
    const char* prefix;
    int32_t dp, dr, top, left;
  };
  for (const Bar& b : {Bar{"MainB", 0, 0, 0, 0}, Bar{"PB", 69, 0, 0, 69}, Bar{"LPB", 284, 0, 0, 284}}) {
    num(kStartupBar, fmt::format("{}_DP", b.prefix), b.dp);
    num(kStartupBar, fmt::format("{}_DR", b.prefix), b.dr);
    num(kStartupBar, fmt::format("{}_T", b.prefix), b.top);
    num(kStartupBar, fmt::format("{}_L", b.prefix), b.left);
  }

  num(kSmfk, "Use", 0);
  str(kSmfk, "ExePath", "W95SMFK.EXE");
  str(kSmfk, "CfgDir", "");
  num(kSmfk, "FindStyle", 7);
  return t;
}

std::string LookupKey(std::string_view key, std::string_view name) {
  return FoldKeyPath(key) + '\n' + FoldName(name);
}

}  // namespace

const std::vector<DefaultValue>& DefaultTree() {
  static const std::vector<DefaultValue> tree = BuildTree();
  return tree;
}

const DefaultValue* FindDefault(std::string_view key, std::string_view name) {
  static const std::map<std::string, const DefaultValue*> index = [] {
    std::map<std::string, const DefaultValue*> m;
    for (const auto& d : DefaultTree()) m.emplace(LookupKey(d.key, d.name), &d);
    return m;
  }();
  auto it = index.find(LookupKey(key, name));
  return it == index.end() ? nullptr : it->second;
}

}  // namespace kadrel
