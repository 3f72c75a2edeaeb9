// "\ListView", the view values of "\option", "\Font" and "\startup\show" "splitter".

#include <algorithm>
#include <iterator>

#include <fmt/format.h>

#include "catalog/column_ids.h"
#include "settings/default_tree.h"
#include "settings/setting_keys.h"
#include "settings/startup_settings.h"

namespace kadrel {

namespace {

using namespace keys;

// A stored list longer than this is damaged; reading stops there.
constexpr int kMaxListEntries = 64;

std::string FontName(std::string_view prefix, const char* what) { return fmt::format("{}_{}", prefix, what); }

}  // namespace

std::vector<int32_t> LoadColumnList(RegTreat& reg, std::string_view prefix, int columns) {
  std::vector<int32_t> ids;
  if (reg.RegReadInt(fmt::format("{}1", prefix), kListView) == -1 &&
      !reg.store().Get(kListView, fmt::format("{}1", prefix))) {
    std::vector<int32_t> defaults;
    if (prefix == "FLitem") defaults.assign(std::begin(kDefaultFileListColumns), std::end(kDefaultFileListColumns));
    else defaults.assign(std::begin(kDefaultPlayListColumns), std::end(kDefaultPlayListColumns));
    SaveColumnList(reg, prefix, defaults);
    return defaults;
  }
  for (int i = 1; i <= kMaxListEntries; ++i) {
    int32_t id = reg.RegReadInt(fmt::format("{}{}", prefix, i), kListView);
    if (id == 0 || id == -1) break;
    // An id the list does not have, or one already shown, is skipped rather than
    // handed to the list as a column.
    if (id < 1 || id > columns) continue;
    if (std::find(ids.begin(), ids.end(), id) != ids.end()) continue;
    ids.push_back(id);
  }
  return ids;
}

void SaveColumnList(RegTreat& reg, std::string_view prefix, const std::vector<int32_t>& ids) {
  int i = 1;
  for (int32_t id : ids) reg.RegWriteInt(fmt::format("{}{}", prefix, i++), id, kListView);
  reg.RegWriteInt(fmt::format("{}{}", prefix, i), 0, kListView);
}

std::pair<int32_t, int32_t> EncodeFontStyle(const FontSetting& f) {
  if (f.Underline || f.StrikeOut) return {1, 1};
  if (f.Bold && f.Italic) return {0, 0};
  if (f.Bold) return {0, 1};
  if (f.Italic) return {1, 0};
  return {1, 1};
}

ViewSettings LoadViewSettings(RegTreat& reg) {
  ViewSettings v;
  v.FileListItems = LoadColumnList(reg, "FLitem", kFileListColumnCount);
  v.PlayListItems = LoadColumnList(reg, "PLitem", kPlayListColumnCount);
  for (int i = 0; i < kFileListColumnCount; ++i) v.FileListWidths[i] = reg.ReadInt(fmt::format("FLW{}", i + 1), kListView);
  for (int i = 0; i < kPlayListColumnCount; ++i) v.PlayListWidths[i] = reg.ReadInt(fmt::format("PLW{}", i + 1), kListView);
  for (int i = 0; i < 5; ++i) v.View.ErrTitle[i] = reg.ReadStr(fmt::format("ErrTitle{}", i + 1), kListView);

  DecodeOperation(reg.ReadInt("operation", kOption), v.View);
  DecodeShowStyle(reg.ReadInt("showstyle", kOption), v.View);
  DecodeShowStyle2(reg.ReadInt("showstyle2", kOption), v.View);
  DecodeTaskTray(reg.ReadInt("tasktray", kOption), v.Window);
  v.Window.PWCheckTime = reg.ReadInt("PWCheckTime", kOption);
  v.Window.SortOption = reg.ReadInt("SortOption", kOption) & 1;
  v.PWcontrol1 = reg.ReadInt("PWcontrol1", kOption);
  v.PWcontrol2 = reg.ReadInt("PWcontrol2", kOption);
  v.SaveWinState = reg.RegReadInt("savewinstate", kOption);  // -1 (missing): every bit
  v.ForceWinState = reg.ReadInt("forcewinstate", kOption);
  v.Splitter = reg.ReadInt("splitter", kStartupShow);

  for (size_t g = 0; g < std::size(kFontGroups); ++g) {
    const auto& group = kFontGroups[g];
    FontSetting& f = v.Fonts[g];
    f.Face = reg.ReadStr(FontName(group.prefix, "Font"), kFont);
    f.Points = reg.ReadInt(FontName(group.prefix, "pt"), kFont);
    f.Color = reg.ReadInt(FontName(group.prefix, "Color"), kFont);
    f.BackColor = group.hasBackColor ? reg.ReadInt(FontName(group.prefix, "BColor"), kFont) : kColorWindow;
    f.Bold = reg.ReadInt(FontName(group.prefix, "Bold"), kFont) == 0;
    f.Italic = reg.ReadInt(FontName(group.prefix, "Italic"), kFont) == 0;
  }
  for (int b = 0; b < 2; ++b) {
    std::string prefix = fmt::format("B{}", b + 1);
    v.ProgressBars[b].Bar = reg.ReadInt(FontName(prefix, "BColor"), kFont);
    v.ProgressBars[b].Back = reg.ReadInt(FontName(prefix, "Color"), kFont);
  }
  return v;
}

void SaveViewSettings(RegTreat& reg, const ViewSettings& v) {
  SettingsStore::Batch batch(reg.store());
  SaveColumnList(reg, "FLitem", v.FileListItems);
  SaveColumnList(reg, "PLitem", v.PlayListItems);
  for (int i = 0; i < kFileListColumnCount; ++i) reg.RegWriteInt(fmt::format("FLW{}", i + 1), v.FileListWidths[i], kListView);
  for (int i = 0; i < kPlayListColumnCount; ++i) reg.RegWriteInt(fmt::format("PLW{}", i + 1), v.PlayListWidths[i], kListView);
  for (int i = 0; i < 5; ++i) reg.RegWriteStr(fmt::format("ErrTitle{}", i + 1), v.View.ErrTitle[i], kListView);

  reg.RegWriteInt("operation", EncodeOperation(v.View), kOption);
  reg.RegWriteInt("showstyle", EncodeShowStyle(v.View), kOption);
  reg.RegWriteInt("showstyle2", EncodeShowStyle2(v.View), kOption);
  reg.RegWriteInt("tasktray",
                  (v.Window.TrayIcon ? 1 : 0) | (v.Window.TrayAlways ? 2 : 0) | (v.Window.TrayHideTaskbar ? 4 : 0),
                  kOption);
  reg.RegWriteInt("PWCheckTime", v.Window.PWCheckTime, kOption);
  reg.RegWriteInt("SortOption", v.Window.SortOption ? 1 : 0, kOption);
  reg.RegWriteInt("PWcontrol1", v.PWcontrol1, kOption);
  reg.RegWriteInt("PWcontrol2", v.PWcontrol2, kOption);
  reg.RegWriteInt("savewinstate", v.SaveWinState < 0 ? 15 : v.SaveWinState, kOption);
  reg.RegWriteInt("forcewinstate", v.ForceWinState, kOption);
  reg.RegWriteInt("splitter", v.Splitter, kStartupShow);

  for (size_t g = 0; g < std::size(kFontGroups); ++g) {
    const auto& group = kFontGroups[g];
    const FontSetting& f = v.Fonts[g];
    reg.RegWriteStr(FontName(group.prefix, "Font"), f.Face, kFont);
    reg.RegWriteInt(FontName(group.prefix, "pt"), f.Points, kFont);
    reg.RegWriteInt(FontName(group.prefix, "Color"), f.Color, kFont);
    if (group.hasBackColor) reg.RegWriteInt(FontName(group.prefix, "BColor"), f.BackColor, kFont);
    auto [bold, italic] = EncodeFontStyle(f);
    reg.RegWriteInt(FontName(group.prefix, "Bold"), bold, kFont);
    reg.RegWriteInt(FontName(group.prefix, "Italic"), italic, kFont);
  }
  for (int b = 0; b < 2; ++b) {
    std::string prefix = fmt::format("B{}", b + 1);
    reg.RegWriteInt(FontName(prefix, "BColor"), v.ProgressBars[b].Bar, kFont);
    reg.RegWriteInt(FontName(prefix, "Color"), v.ProgressBars[b].Back, kFont);
  }
}

}  // namespace kadrel
