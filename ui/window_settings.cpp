#include "ui/window_settings.h"

#include <algorithm>

#include <QFile>

#include "base/text_helpers.h"
#include "settings/drive_letter_store.h"
#include "settings/user_settings.h"

namespace kadrel {
namespace {

// A stored width outside this range is damaged; the column gets its default.
constexpr int kMaxColumnWidth = 4000;

void ApplyFolders(WindowSettings& s, const std::string& start, const std::string& temp, const std::string& index) {
  s.scan.main.StartFolder = start;
  s.scan.main.TempFolder = temp;
  s.scan.main.IndexFolder = index;
  s.scan.workFolder = temp;
}

}  // namespace

WindowSettings DefaultWindowSettings() {
  WindowSettings s;
  const PlatformFolders folders = DefaultPlatformFolders();
  for (const std::string& folder : {folders.temp, folders.temp + "ListPlay/", folders.temp + "OLE/", folders.index})
    MakeFolders(folder);
  ApplyFolders(s, folders.home, folders.temp, folders.index);
  s.player.tempFolder = folders.temp;
  return s;
}

WindowSettings WindowSettingsFrom(const StartupSettings& startup) {
  WindowSettings s;
  const WindowRestore& w = startup.window;
  s.scan.main = startup.main.Main;
  s.scan.view = w.View.View;
  s.scan.sortOption = w.View.Window.SortOption;
  ApplyFolders(s, startup.folders.start, startup.folders.temp, startup.folders.index);
  s.window = w.View.Window;
  s.window.WinFlgMain = w.Maximised ? 1 : 0;

  s.columns.assign(w.View.FileListItems.begin(), w.View.FileListItems.end());
  const std::array<int, 13> defaults = s.columnWidths;
  for (size_t id = 1; id < s.columnWidths.size(); ++id) {
    const int width = w.View.FileListWidths[id - 1];
    s.columnWidths[id] = (width > 0 && width <= kMaxColumnWidth) ? width : defaults[id];
  }
  if (!w.View.PlayListItems.empty()) s.playListColumns.assign(w.View.PlayListItems.begin(), w.View.PlayListItems.end());
  for (size_t i = 0; i < s.playListWidths.size(); ++i) {
    const int width = w.View.PlayListWidths[i];
    s.playListWidths[i] = (width > 0 && width <= kMaxColumnWidth) ? width : 0;
  }
  s.jumpFolders = startup.main.JumpFolders;
  s.dialogFont = w.View.Fonts[5];  // "FJ"
  s.fonts = w.View.Fonts;
  s.detailRect = w.Detail;
  for (size_t n = 0; n < s.playerNames.size(); ++n) {
    const TPlayer_data& slot = startup.main.Players[n];
    if (slot.InUse && !slot.ExePath.empty())
      s.playerNames[n] = slot.DisplayName.empty() ? std::string("Player") + char('1' + n) : slot.DisplayName;
  }
  s.player.playerSlots = startup.main.Players;
  s.player.playerDetailInfo = startup.main.PlayerDetailInfo;
  s.player.pwControl1 = w.View.PWcontrol1;
  s.player.pwControl2 = w.View.PWcontrol2;
  s.player.pwCheckTime = w.View.Window.PWCheckTime;
  s.player.tempFolder = startup.folders.temp;
  s.player.lzhMeltStyle = startup.main.Main.LzhMeltStyle;
  s.player.textViewer = startup.main.Main.TextViewer;
  s.player.textOpenType = startup.main.Main.TextOpenType;
  s.player.smfk = startup.main.Smfk;
  s.sortKey = (w.SortItem >= 0 && w.SortItem <= kFileListColumnCount) ? w.SortItem : 0;
  s.sortDirection = w.SortType == 1 ? 1 : 0;

  s.left = w.Main.Left;
  s.top = w.Main.Top;
  s.width = w.Main.Width;
  s.height = w.Main.Height;
  s.maximised = w.Maximised;
  s.firstStart = startup.upgrade.freshInstallation;
  s.folderPaneWidth = w.FolderWidth;
  s.playListHeight = w.PlayListHeight;
  s.showFolderPane = w.ShowFolderPane;
  s.showStatusBar = w.ShowStatusBar;
  s.showToolBars = w.ShowToolBars;
  s.placeBars = w.PlaceBars;
  s.bars = w.Bars;
  return s;
}

// ---- the session -------------------------------------------------------------------

SettingsSession::SettingsSession(PlatformFolders folders, IMessageBox& box)
    : folders_(std::move(folders)),
      store_(OpenUserSettings(folders_.config, box)),
      reg_(*store_, folders_.config) {}

SettingsSession::~SettingsSession() = default;

WindowSettings SettingsSession::Start(IMessageBox& box, const UpgradeEnvironment& env, ScreenSize screen) {
  startup_ = RunStartupSettings(reg_, box, folders_, env, screen);
  WindowSettings settings = WindowSettingsFrom(startup_);
  settings.driveLetters = LoadDriveLetters(reg_);
  settings.titleGrid = ReadTitleGridSettings(reg_);
  return settings;
}

bool SettingsSession::Save(const StartupState& state, IMessageBox& box) {
  if (deleted_) return false;
  return SaveStartupState(reg_, state, box);
}

bool SettingsSession::Delete() {
  deleted_ = true;
  return DeleteAllSettings(reg_);
}

std::string TakeConfigDirArgument(QStringList& arguments) {
  static const QString kOption = QStringLiteral("--config-dir");
  std::string folder;
  for (qsizetype i = 0; i < arguments.size();) {
    const QString& a = arguments[i];
    if (a == kOption) {
      if (i + 1 < arguments.size()) folder = QFile::encodeName(arguments[i + 1]).toStdString();
      arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
    } else if (a.startsWith(kOption + QLatin1Char('='))) {
      folder = QFile::encodeName(a.mid(kOption.size() + 1)).toStdString();
      arguments.remove(i);
    } else {
      ++i;
    }
  }
  return folder;
}

}  // namespace kadrel
