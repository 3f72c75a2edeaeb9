// "\Player", "\Main", "\Folder" jump folders, "\Option" search values and "\SMFK".

#include <fmt/format.h>
#include <unistd.h>

#include <cstdlib>

#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "settings/key_path.h"
#include "settings/platform_folders.h"
#include "settings/setting_keys.h"
#include "settings/startup_settings.h"

namespace kadrel {

namespace {

using namespace keys;

std::string SlotName(int n, const char* what) { return fmt::format("P{}{}", n, what); }
std::string JumpName(int i) { return fmt::format("JF{}", i + 1); }

}  // namespace

SupportLibraries DetectSupportLibraries() {
  SupportLibraries libs;
  libs.lzh = true;
  libs.lzhVersion = "lhasa";
  libs.rcpcv = true;
  libs.rcpcvVersion = KADREL_VERSION;
  libs.smfk = false;
  return libs;
}

ConversionAvailability ConversionsFor(const SupportLibraries& libs, const TSmfkInfo& smfk) {
  ConversionAvailability available = libs.conversions();
  if (!available.smfKnife && !smfk.ExePath.empty()) {
    // The knife program is enough: a path, or a name found on PATH.
    if (smfk.ExePath.find('/') != std::string::npos) {
      available.smfKnife = ::access(smfk.ExePath.c_str(), F_OK) == 0;
    } else {
      const char* path = std::getenv("PATH");
      available.smfKnife = !FindProgramOnPath(path ? path : "", {smfk.ExePath}).empty();
    }
  }
  return available;
}

void LoadMainSettings(RegTreat& reg, const SupportLibraries& libs, MainSettings& out) {
  out.Smfk = LoadSmfkInfo(reg, libs);
  const ConversionAvailability available = ConversionsFor(libs, out.Smfk);
  for (int n = 1; n <= kPlayerSlots; ++n) {
    TPlayer_data& slot = out.Players[n - 1];
    int32_t info = reg.ReadInt(SlotName(n, "Info"), kPlayer);
    int32_t formats = reg.ReadInt(SlotName(n, "FtypeInfo"), kPlayer);
    slot.ExePath = reg.ReadStr(SlotName(n, "path"), kPlayer);
    slot.DisplayName = reg.ReadStr(SlotName(n, "name"), kPlayer);
    DecodePlayerSlot(info, formats, available, slot);
  }
  out.PlayerDetailInfo = reg.ReadInt("PlayerDetailInfo", kPlayer);

  TMainOption& m = out.Main;
  m.Formats = FormatFilter(static_cast<uint32_t>(reg.ReadInt("FTypeInfo", kMain)));
  m.MgsMusicInVisible = reg.ReadInt("MgsMusicInVisible", kMain) & 1;
  m.TextViewer = reg.ReadStr("TextViewer", kPlayer);
  m.TextViewType = reg.ReadStr("TextViewType", kPlayer);
  m.InfoGetType = reg.ReadStr("InfoGetType", kPlayer);
  m.TextOpenType = reg.ReadInt("TextOpenType", kPlayer);

  for (int i = 0; i < kJumpFolders; ++i) out.JumpFolders[i] = TrimBlanks(reg.RegReadStr(JumpName(i), kFolder));

  m.LzhStyle = reg.ReadInt("LzhStyle", kOption);
  m.LzhMeltStyle = reg.ReadInt("LzhMeltStyle", kOption);
  m.TitleGetstyle = reg.ReadInt("TitleGetstyle", kOption);
  m.OthersGetstyle = reg.ReadInt("OthersGetstyle", kOption);
  DecodeSearchStyleEx(reg.ReadInt("SearchStyleEx", kOption), m);
  DecodeIndexStyleEx(reg.ReadInt("IndexStyleEx", kOption), m);
  m.LZHByte = ClampLzhByte(reg.ReadInt("LZHByte", kOption));
  m.SMFByte = ClampSmfByte(reg.ReadInt("SMFByte", kOption));
}

FolderChoices LoadFolderChoices(RegTreat& reg) {
  FolderChoices f;
  f.Info = reg.ReadInt("Info", kFolder);
  f.Start = reg.ReadStr("Start", kFolder);
  f.Tmp = reg.ReadStr("tmp", kFolder);
  f.Index = reg.ReadStr("Index", kFolder);
  return f;
}

void SaveMainSettings(RegTreat& reg, const SupportLibraries& libs, const MainSettings& in,
                      const FolderChoices& folders) {
  SettingsStore::Batch batch(reg.store());
  reg.RegWriteInt("Info", folders.Info, kFolder);
  reg.RegWriteStr("Start", folders.Start, kFolder);
  reg.RegWriteStr("tmp", folders.Tmp, kFolder);
  reg.RegWriteStr("Index", folders.Index, kFolder);
  for (int i = 0; i < kJumpFolders; ++i) {
    std::string folder = TrimBlanks(in.JumpFolders[i]);
    if (folder.empty()) reg.RegDeleteValue(JumpName(i), kFolder);
    else reg.RegWriteStr(JumpName(i), folder, kFolder);
  }

  const ConversionAvailability available = ConversionsFor(libs, in.Smfk);
  for (int n = 1; n <= kPlayerSlots; ++n) {
    const TPlayer_data& slot = in.Players[n - 1];
    int32_t stored = reg.RegReadInt(SlotName(n, "Info"), kPlayer);
    reg.RegWriteStr(SlotName(n, "name"), slot.DisplayName, kPlayer);
    reg.RegWriteStr(SlotName(n, "path"), slot.ExePath, kPlayer);
    reg.RegWriteInt(SlotName(n, "Info"), EncodePlayerInfo(slot, available, stored), kPlayer);
    reg.RegWriteInt(SlotName(n, "FTypeInfo"), EncodePlayerFormats(slot), kPlayer);
  }
  reg.RegWriteInt("PlayerDetailInfo", in.PlayerDetailInfo, kPlayer);

  const TMainOption& m = in.Main;
  reg.RegWriteStr("TextViewer", m.TextViewer, kPlayer);
  reg.RegWriteStr("TextViewType", m.TextViewType, kPlayer);
  reg.RegWriteStr("InfoGetType", m.InfoGetType, kPlayer);
  reg.RegWriteInt("TextOpenType", m.TextOpenType, kPlayer);
  reg.RegWriteInt("FTypeInfo", static_cast<int32_t>(m.Formats.Mask()), kMain);
  reg.RegWriteInt("MgsMusicInVisible", m.MgsMusicInVisible ? 1 : 0, kMain);

  reg.RegWriteInt("LzhStyle", m.LzhStyle, kOption);
  reg.RegWriteInt("LzhMeltStyle", m.LzhMeltStyle, kOption);
  reg.RegWriteInt("TitleGetstyle", m.TitleGetstyle, kOption);
  reg.RegWriteInt("OthersGetstyle", m.OthersGetstyle, kOption);
  reg.RegWriteInt("SearchStyleEx", EncodeSearchStyleEx(m), kOption);
  reg.RegWriteInt("IndexStyleEx", EncodeIndexStyleEx(m), kOption);
  reg.RegWriteInt("LZHByte", m.LZHByte, kOption);
  reg.RegWriteInt("SMFByte", m.SMFByte, kOption);

  SaveSmfkInfo(reg, in.Smfk);
}

TSmfkInfo LoadSmfkInfo(RegTreat& reg, const SupportLibraries& libs) {
  TSmfkInfo info;
  info.Use = reg.ReadInt("Use", kSmfk);
  // The library form is unavailable here; the program form works with any program.
  if (info.Use == 1 && !libs.smfk) info.Use = 0;
  info.ExePath = reg.ReadStr("ExePath", kSmfk);
  info.CfgDir = reg.ReadStr("CfgDir", kSmfk);
  info.FindStyle = reg.ReadInt("FindStyle", kSmfk);
  for (const std::string& name : reg.RegSubKeys(kSmfk)) {
    std::string key = std::string(kSmfk) + "\\" + name;
    TSmfkItem item;
    item.Name = name;
    item.Cfg = reg.RegReadStrDef("Cfg", "", key);
    item.FindStr = reg.RegReadStrDef("FindStr", "", key);
    item.FindStr2 = reg.RegReadStrDef("FindStr2", "", key);
    item.Priority = reg.RegReadIntDef("Priority", 10, key);
    info.Items.push_back(std::move(item));
  }
  return info;
}

void SaveSmfkInfo(RegTreat& reg, const TSmfkInfo& info) {
  SettingsStore::Batch batch(reg.store());
  for (const std::string& name : reg.RegSubKeys(kSmfk)) reg.RegDeleteKey(name, kSmfk);
  reg.RegWriteInt("Use", info.Use, kSmfk);
  reg.RegWriteStr("ExePath", info.ExePath, kSmfk);
  reg.RegWriteStr("CfgDir", info.CfgDir, kSmfk);
  reg.RegWriteInt("FindStyle", info.FindStyle, kSmfk);
  for (const auto& m : info.Items) {
    // A module is one key: a name that is empty or holds a "\" would make none or several.
    if (SplitKeyPath(m.Name).size() != 1 || SplitKeyPath(m.Name)[0] != m.Name) continue;
    std::string key = std::string(kSmfk) + "\\" + m.Name;
    reg.RegWriteStr("Cfg", m.Cfg, key);
    reg.RegWriteStr("FindStr", m.FindStr, key);
    reg.RegWriteStr("FindStr2", m.FindStr2, key);
    reg.RegWriteInt("Priority", m.Priority, key);
  }
}

// ---- Working folders ---------------------------------------------------------------

namespace {
// Only absolute folders count: a relative one would depend on the working folder.
bool UsableFolder(const std::string& path) { return !path.empty() && path[0] == '/' && IsFolder(path); }
}  // namespace

WorkingFolders ResolveWorkingFolders(RegTreat& reg, const PlatformFolders& platform) {
  const int32_t info = reg.ReadInt("Info", kFolder);
  std::string tmp, index, start;
  if (!(info & 1)) tmp = reg.RegReadStrDef("tmp", "", kFolder);
  if (!(info & 2)) index = reg.RegReadStrDef("index", "", kFolder);
  start = reg.RegReadStrDef((info & 4) ? "endfolder" : "start", "", kFolder);

  WorkingFolders f;
  f.start = UsableFolder(start) ? WithTrailingSlash(start) : platform.home;
  f.temp = UsableFolder(tmp) ? WithTrailingSlash(tmp) + "Kadrel_tmp/" : platform.temp;
  f.index = UsableFolder(index) ? WithTrailingSlash(index) : platform.index;
  return f;
}

bool CreateWorkingFolders(WorkingFolders& folders, IMessageBox& box) {
  bool ok = true;
  for (const std::string& folder : {folders.temp, folders.temp + "ListPlay/", folders.temp + "OLE/", folders.index})
    ok = MakeFolders(folder) && ok;
  folders.created = ok;
  if (!ok)
    box.Error(
        "フォルダの作成に失敗しました.\n"
        "Kadrelの動作が正常に行われない場合があります.\n"
        "これが毎回表示される場合は、サポート先にご一報下さい.");
  return ok;
}

WorkingFolders PrepareWorkingFolders(RegTreat& reg, const PlatformFolders& platform, IMessageBox& box) {
  WorkingFolders f = ResolveWorkingFolders(reg, platform);
  CreateWorkingFolders(f, box);
  return f;
}

}  // namespace kadrel
