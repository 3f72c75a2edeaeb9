// "基本設定" from the main window: the ListPlay guard, saving, and the window following
// the saved values.

#include "base/encoding.h"
#include "scan/document_step.h"
#include "settings/settings_store.h"
#include "ui/main_settings_dialog.h"
#include "ui/main_window.h"
#include "ui/play_list_pane.h"
#include "ui/play_list_view.h"
#include "ui/tray_rules.h"

namespace kadrel {

namespace {
constexpr const char* kListPlayRunning = "現在ListPlay中です.\nListPlayを終了させてから作業を行ってください.";
}  // namespace

void MainWindow::OpenMainSettings() {
  if (!settingsStore_) return;
  if (listPlayRunning && listPlayRunning()) {
    messages_.Warn(kListPlayRunning);
    return;
  }
  RegTreat& reg = *settingsStore_;
  const SupportLibraries libraries = DetectSupportLibraries();
  MainSettingsValues values;
  LoadMainSettings(reg, libraries, values.main);
  values.folders = LoadFolderChoices(reg);
  auto save = [&reg, libraries](const MainSettingsValues& v) {
    reg.store().ResetErrors();
    {
      // All or nothing: a failed write leaves the stored settings as they were.
      SettingsStore::Batch batch(reg.store());
      SaveMainSettings(reg, libraries, v.main, v.folders);
      if (reg.store().errorCount() != 0) batch.Abandon();
    }
    return reg.store().errorCount() == 0;
  };
  auto* dialog = new TSet_MainForm(values, libraries, save, messages_, settingsChoosers, {}, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, libraries] {
    if (!settingsStore_) return;
    MainSettings now;
    LoadMainSettings(*settingsStore_, libraries, now);
    ApplyMainSettings(now);
  });
  dialog->open();
}

void MainWindow::ApplyMainSettings(const MainSettings& main) {
  settings_.jumpFolders = main.JumpFolders;
  folders_.SetJumpFolders(settings_.jumpFolders);
  UpdateJumpMenu();

  for (std::size_t n = 0; n < settings_.playerNames.size(); ++n) {
    const TPlayer_data& slot = main.Players[n];
    settings_.playerNames[n].clear();
    if (slot.InUse && !slot.ExePath.empty())
      settings_.playerNames[n] = slot.DisplayName.empty() ? std::string("Player") + char('1' + n) : slot.DisplayName;
  }
  settings_.player.playerSlots = main.Players;
  settings_.player.playerDetailInfo = main.PlayerDetailInfo;
  settings_.player.lzhMeltStyle = main.Main.LzhMeltStyle;
  settings_.player.textViewer = main.Main.TextViewer;
  settings_.player.textOpenType = main.Main.TextOpenType;
  play_->Engine().SetSettings(settings_.player);
  UpdatePlayerItems();

  // The working folders stay as resolved at the start: new ones count from the next start.
  TMainOption options = main.Main;
  options.StartFolder = settings_.scan.main.StartFolder;
  options.IndexFolder = settings_.scan.main.IndexFolder;
  options.TempFolder = settings_.scan.main.TempFolder;
  options.Reserved = settings_.scan.main.Reserved;
  settings_.scan.main = options;
  scanSettingsPending_ = true;
  if (!scan_->ScanRunning()) ApplyScanSettings();
}

// The list behaviour, the tray and the player-window watch from the view settings, at once.
void MainWindow::ApplyListOptions(const ViewSettings& values) {
  const TListViewOption& view = values.View;
  settings_.scan.view = view;
  model_.SetOptions(view);
  list_.SetSingleClickOpen(view.SingleClickOpen);
  folders_.SetSingleClickOpen(view.SingleClickOpen);
  playPane_->SetListOptions(view);
  playPane_->View().SetSingleClickOpen(view.SingleClickOpen);
  dispatcher_->SetKeepSelection(view.KeepSelectionOnFocusMove);

  settings_.window = values.Window;
  settings_.player.pwCheckTime = values.Window.PWCheckTime;
  play_->Engine().SetSettings(settings_.player);
  if (tray_) tray_->setVisible(DecideTray(settings_.window, QSystemTrayIcon::isSystemTrayAvailable(), isMinimized()).showIcon);

  // The sort option changes the order of the next sort; a running pass keeps its own.
  settings_.scan.sortOption = values.Window.SortOption;
  model_.SetSortState(&scan_->Sort(), settings_.scan.sortOption);
  scanSettingsPending_ = true;
  if (!scan_->ScanRunning()) ApplyScanSettings();
}

void MainWindow::ApplyScanSettings() {
  if (!scanSettingsPending_) return;
  scanSettingsPending_ = false;
  ScanSettings scan = scan_->Settings();  // keeps what the window set besides the options
  scan.main = settings_.scan.main;
  scan.view = settings_.scan.view;
  scan.sortOption = settings_.scan.sortOption;
  scan_->SetSettings(scan);
  scan_->SetDocumentStep(MakeDocumentStep(settings_.scan.main, messages_));
  index_->SetOptions(settings_.scan.main);
  model_.SetAutoAnnounce(settings_.scan.main.ShowWhileScanning);
}

}  // namespace kadrel
