#pragma once
// The main window: folder pane, file list, hidden play-list pane, status strip, menus
// and tool bars. It opens folders through the folder scan, keeps the status bar
// alive, watches the shown folder, and runs the start and the close of the program.

#include <array>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QMainWindow>
#include <QPointer>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTimer>

#include "base/message_box.h"
#include "commands/command_executor.h"
#include "commands/key_table.h"
#include "settings/key_window_settings.h"
#include "scan/folder_index_port.h"
#include "scan/folder_scan_controller.h"
#include "scan/lzh_archive_port.h"
#include "index/folder_index.h"
#include "index/volume_info.h"
#include "scan/scan_view.h"
#include "platform/folder_watcher.h"
#include "platform/media_controls_service.h"
#include "platform/qt_window_bridge.h"
#include "rename/rename_engine.h"
#include "ui/detail_window.h"
#include "ui/about_lines.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/folder_pane.h"
#include "ui/key_cust_window.h"
#include "ui/key_dispatch.h"
#include "ui/listplay_controller.h"
#include "ui/main_command_target.h"
#include "ui/main_actions.h"
#include "ui/main_settings_choosers.h"
#include "ui/play_controller.h"
#include "ui/play_list_pane.h"
#include "ui/qt_message_box.h"
#include "ui/status_strip.h"
#include "ui/title_editor.h"
#include "ui/window_settings.h"

namespace kadrel {

class MainWindow : public QMainWindow, public IScanView, public IScanWindowHooks {
  Q_OBJECT
  friend class MainCommandTarget;

 public:
  enum class LifePhase { Starting, Running, Closing };

  // Without `messages` the window shows its own message boxes.
  explicit MainWindow(WindowSettings settings, IMessageBox* messages = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Replaces the scan's collaborators (the window starts with the LZH archives, the
  // index store and the document step); each may be null or empty.
  void SetScanPorts(IFolderIndexPort* index, IArchivePort* archives, DocumentStep documents);
  // End of start-up: life phase running, status timer on, `folder` opened.
  void Start(const std::string& folder);

  // Opening folders. Every path ends up with a trailing "/".
  // False when the folder was not opened: a folder that is not there or cannot be read
  // is reported and the folder shown stays.
  bool OpenFolder(const std::string& folder);
  // Opens the nearest existing ancestor of `lost` and says so in the status bar.
  void OpenNearestFolder(const std::string& lost);
  // When the folder shown is gone, its nearest existing ancestor is opened (true).
  bool LeaveVanishedFolder();
  void OpenListFolder(const std::string& name, bool relative);
  void OpenPath(const std::string& folder);  // a folder named in full (jump, previous, argument)
  void OpenPreviousFolder();
  void OpenJumpFolder(int letterIndex);
  void OpenRow(int row);
  // Dialogs (ui/main_window_dialogs.cpp).
  void ShowJumpFolderDialog();
  void ShowDriveDialog();
  void ShowSortWindow();
  // Drive letters: go to the folder last visited on a drive (0 = "A"), or to the root
  // folder of the current folder's drive.
  void ChangeDrive(int letterIndex);
  void OpenDriveRoot();
  // Gives new volumes their letters; the table is stored when it changed.
  void RefreshDriveLetters();
  const std::array<std::string, 26>& DriveLetters() const { return settings_.driveLetters; }
  // Called when the drive-letter table has changed and should be stored.
  std::function<void(const std::array<std::string, 26>&)> onSaveDriveLetters;
  // The mount table the drive letters are read from (tests give their own).
  std::function<VolumeTable()> volumeSource = [] { return VolumeTable::System(); };
  // Keys and commands: the live key table, the executor, the hooks through which later
  // windows join, and the key customisation window.
  KeyTable& Keys() { return keys_; }
  CommandExecutor& Executor() { return *executor_; }
  CommandHooks& Hooks() { return commandTarget_->hooks; }
  KeyDispatcher& Dispatcher() { return *dispatcher_; }
  // Start-up: makes the key customisation window and reads the key file with `startupBox`.
  void CreateKeyWindow(KeyWindowSettings settings, const std::string& configFolder, IMessageBox& startupBox,
                       std::function<void(const KeyWindowSettings&)> onClosed);
  void ShowKeyWindow();
  KeyCustWindow* KeyWindow() { return keyWindow_.get(); }
  QTreeView& PlayListView();
  // The play-list pane and the list it owns (ui/main_window_playlist.cpp).
  PlayListPane& PlayListPaneWidget() { return *playPane_; }
  // Shows or hides the pane at its stored height, as "プレイリスト(&L)" does.
  void ShowPlayListPane(bool on);
  // Puts the pane above or below the file list.
  void SetPlayListAbove(bool above);
  // Adds the file list's selected entries to the play list (at the end, or at `row`).
  void AddFileListSelectionToPlayList(int row = -1);
  // The load and save dialogs; the save dialog returns true when the list was saved.
  void ShowLoadPlayListDialog();
  bool ShowSavePlayListDialog(bool firstStepOfLoading = false);
  // The file list's focused entry when it is a play-list file (a loose file), else "".
  std::string FocusedPlayListFile() const;
  // Play-list files among `paths` (absolute) are loaded; true when one was.
  bool LoadPlayListArguments(const QStringList& paths);
  void RefreshKeyHints();
  // Playing (ui/main_window_play.cpp). `row` is a file-list row; slot -1 is the best
  // slot ("最適な方法で開く"), 1..6 "PlayerNで再生".
  // "現在のフォルダのIndexの消去(&C)": the current folder's block, after the question.
  void DeleteCurrentFolderIndex();
  void ShowIndexStatus(int panel, const std::string& text);
  void PlayDetailEntry(int slot);
  void OpenDetailEntryWithAssociation(int mode);
  void PlayItemInSlot(int row, int slot);
  void OpenRowWithAssociation(int row, int mode);  // 0 association, 1 text viewer
  void ReplayLastPlay();
  void TogglePlayerPause();
  void ExitPlayer();
  PlayerEngine& Player() { return play_->Engine(); }
  // Continuous play (ui/main_window_listplay.cpp): the play list's items, the pane's
  // refresh after they changed, the controller, and the start with its dialog.
  TPLInfo& PlayListData() { return playPane_->List(); }
  void PlayListChanged();
  ListPlayController& ListPlay() { return *listPlay_; }
  void StartListPlayWithDialog();
  // The program on the desktop's media controls; silent without a session bus.
  bool PublishMediaControls();
  MediaControlsService* MediaControls() { return media_.get(); }
  // Commands.
  void BreakScan();
  void UpdateFileInformation();
  // Deletes the folder's index block and lists the folder anew by a full scan.
  void ReReadAllFileInformation();
  // Opens the rename window for the file list's focused entry.
  void RenameFocusedEntry();
  // After a rename in `folder`: the file list (when it shows that folder) and the
  // folder's index block follow.
  void ApplyRename(const RenameOutcome& out, const std::string& folder);
  // The index tools' windows (each after its opening guards).
  void ShowRefreshIndex();
  void EditIndexTitles();
  // Opens a detail window for the file list's focused file or member.
  DetailWindow* OpenDetailWindow();
  // Fills the player pop-up's "テキストファイル(&V)" with the documents of `item`: first
  // those inside its archive ("* " + name), then the loose ones. False when the window
  // began to close during the search.
  bool FillDocumentMenu(QMenu& menu, const TMusicFileInfo& item, const std::string& folder);
  // The detail window a command of the detail list is for: the one whose list or menu
  // ran it last.
  DetailWindow* CommandDetail() const { return commandDetail_; }
  const QList<QPointer<DetailWindow>>& DetailWindows() const { return details_; }
  // Asks, then closes the window deleting every setting instead of saving the state.
  void DeleteSettingsAndQuit();
  // Paths given at the start or handed over by a second start: a folder is opened; a
  // file opens its folder and is focused there; play lists are also loaded into the
  // play list (see LoadPlayListArguments).
  void HandleArguments(const QStringList& arguments);
  // Opens `folder` and focuses the loose file `fileName` (file-system bytes) once it is
  // listed. Before Start() it only remembers the name: Start(folder) opens the folder.
  void OpenFolderFocused(const std::string& folder, const std::string& fileName);
  // Writes panel 0, panel 1 and the tray tip; a null pointer leaves one alone.
  void SetStatus(const QString* panel0, const QString* panel1, const QString* tip);
  void StatusTick();

  LifePhase Phase() const { return phase_; }
  FolderScanController& Scan() { return *scan_; }
  FileListModel& FileList() { return model_; }
  FileListView& FileListWidget() { return list_; }
  StatusStrip& Status() { return status_; }
  FolderPane& Folders() { return folders_; }
  FolderWatcher& Watcher() { return watcher_; }
  TFolderIndex& Index() { return *index_; }
  const MainActions& Actions() const { return actions_; }
  const std::string& CurrentFolder() const { return current_; }
  const std::string& PreviousFolder() const { return previous_; }
  bool Busy() const { return busy_; }
  bool DeleteSettingsRequested() const { return deleteSettings_; }
  bool ForcedClose() const { return forcedClose_; }
  // The settings as they stand at the close (column widths, window state).
  const WindowSettings& Settings() const { return settings_; }
  // What the close saves: column widths, folder, sort, panes, bars, window rectangle.
  StartupState CurrentStartupState() const;
  // Called by the close sequence: the state to save, or (after the delete-settings
  // command) the request to delete every setting instead.
  std::function<void(const StartupState&)> onSaveState;
  // The session manager asks the program to keep its state (the logout may end it
  // without a close): saved as at a close.
  void CommitState() {
    if (phase_ == LifePhase::Running) SaveState();
  }
  std::function<void()> onDeleteSettings;
  // Help → "目次(&C)" and F1.
  std::function<void()> onOpenManual;
  // What Help → "バージョン情報(&A)" reports (the start-up pass's findings).
  void SetAboutFacts(AboutFacts facts) { aboutFacts_ = std::move(facts); }
  void ShowAboutBox();
  // The store the settings dialogs read and write (none: the dialogs stay closed).
  void SetSettingsStore(RegTreat* reg) { settingsStore_ = reg; }
  // "表示設定": opens the dialog (window-modal); OK saves and applies at once.
  void OpenViewSettings();
  // Shows the file list's columns in `ids` (display order); the other widths are kept.
  void ApplyFileListColumns(const std::vector<int32_t>& ids);
  // "基本設定" (ui/main_window_settings.cpp): refused while ListPlay runs; OK saves and the
  // window follows. Scan values changed during a pass take effect when it ends.
  void OpenMainSettings();
  void ApplyMainSettings(const MainSettings& main);
  void ApplyListOptions(const ViewSettings& values);
  // Whether ListPlay runs (the ListPlay controller answers; none: never).
  std::function<bool()> listPlayRunning;
  // The folder and file dialogs of the settings dialog (tests give their own).
  MainChoosers settingsChoosers = MainChoosers::Standard();
  // The same for the play list.
  void ApplyPlayListColumns(const std::vector<int32_t>& ids);

  // IScanView
  void AddRecord(std::unique_ptr<TMusicFileInfo> record) override;
  void InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) override;
  void AddRecords(std::vector<std::unique_ptr<TMusicFileInfo>> records) override;
  int Count() const override;
  TMusicFileInfo CopyEntry(int index) const override;
  void RemoveEntry(int index) override;
  void CopyEntryKeys(std::vector<ScanEntryKey>& keys) const override;
  void VisibleRange(int& top, int& rowsPerPage) const override;
  void ResetItemCount(bool repaintAll) override;
  void SetStatusText(int panel, const std::string& text) override;
  void SetProgressRange(int maximum) override;
  void SetProgressPosition(int position) override;
  int ProgressMaximum() const override;
  // IScanWindowHooks
  void SetBusy(bool busy) override;
  void WatchFolder(const std::string& folder) override;
  void SortAndRefresh() override;
  void Refresh() override;
  void FocusRow(int index) override;

 Q_SIGNALS:
  void passFinished(bool fromIndex);
  // A play list named on the command line or handed over by a second start was loaded.
  void playListOpenedFromCommandLine();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  QMenu* createPopupMenu() override;

 private:
  void BuildLayout();
  void ConnectSignals();
  // The menu items of the rename, detail and index windows.
  void ConnectFileWindows();
  void SetupColumns();
  void ApplyWindowState();
  // The stored font groups on the folder tree, the lists and the jump list.
  void ApplyFontGroups();
  QFont GroupFont(size_t group, const char* name, const QFont& fallback) const;
  void PlaceToolBars();
  // The index idle guard: false (after the designed warning) while a pass or an index
  // operation runs.
  bool IndexIdle();
  void ShowSortMark();
  void SortByColumnClick(int position);
  // Sorts the file list and shows the mark; false (the list unchanged) on failure.
  bool SortFileList();
  void RecordDriveVisit(const std::string& folder);
  void OnTreeSelection(const QString& folder);
  // Sets the stop flag and waits for the pass to end, servicing the window every 5 ms;
  // false when the program began closing meanwhile.
  bool StopAndWait();
  void UpdateTitle();
  void UpdateWatcher();
  void UpdateJumpMenu();
  void UpdatePlayerItems();
  void SetupPlaying();
  void SetupListPlay();
  void ConnectListPlayActions();
  void SetupListPlayTray();
  bool RunListPlayAction(PlayAction action);  // false: normal play handles it
  PlayControls CurrentPlayControls() const;
  void UpdateListPlayControls();
  void PlayStatusTick();
  void PublishMediaState();
  int PlayListFocusedRow() const;
  int FocusedRow() const;
  void ShowPopup(int row, QPoint globalPos);
  void StartDrag(int row);
 public:
  // The data a drag of the file list's selection offers (ui/main_window_drag.cpp): the
  // private rows for the play list, files for other programs (members unpacked when
  // asked for). `token` receives the drag's token. Null when nothing can be dragged.
  QMimeData* MakeFileListDragData(quint64& token);

 private:
  void SetupPlayListPane();
  void RunPlayListFileCommand(PlayListMenuCommand command, int row);
  std::vector<PlayListSource> FileListSelectionSources() const;
  void SetupTray();
  void RestoreFromTray();
  void RunCloseSequence();
  void SaveState();
  void FocusNamedFile();
  void ApplyScanSettings();

  WindowSettings settings_;
  AboutFacts aboutFacts_;
  RegTreat* settingsStore_ = nullptr;
  std::unique_ptr<QtMessageBox> ownMessages_;
  IMessageBox& messages_;
  std::unique_ptr<QtWindowBridge> bridge_;
  std::unique_ptr<LzhArchivePort> archives_;
  std::unique_ptr<TFolderIndex> index_;
  std::unique_ptr<FolderIndexPort> indexPort_;
  std::unique_ptr<FolderScanController> scan_;

  MainActions actions_;
  std::unique_ptr<PlayController> play_;
  FolderPane folders_;
  FileListModel model_;
  FileListView list_;
  PlayListPane* playPane_ = nullptr;
  StatusStrip status_;
  QSplitter* split_ = nullptr;
  QSplitter* rightSplit_ = nullptr;
  QSystemTrayIcon* tray_ = nullptr;
  FolderWatcher watcher_;
  QTimer statusTimer_;

  LifePhase phase_ = LifePhase::Starting;
  std::string current_;
  std::string previous_;
  std::string focusName_;  // a loose file to focus when the current pass ends
  std::array<std::string, 26> lastFolderOnDrive_;  // by drive letter; empty: the drive's folder
  bool busy_ = false;
  std::atomic<bool> indexBusy_{false};
  bool deleteSettings_ = false;
  bool changing_ = false;
  bool pendingHeaderSort_ = false;
  bool forcedClose_ = false;
  bool closeDone_ = false;
  bool scanSettingsPending_ = false;  // new scan values wait for the end of the pass
  TitleGridSettings titleGrid_;
  QList<QPointer<DetailWindow>> details_;
  QRect detailPlacement_;
  QPointer<DetailWindow> commandDetail_;
  int dragCount_ = 0;
  int windowStateFlag_ = 0;  // 0 normal, 1 maximised, 2 minimised
  bool restoreMaximised_ = false;  // a minimised window comes back maximised

  std::unique_ptr<ListPlayController> listPlay_;
  std::unique_ptr<MediaControlRouter> mediaRouter_;
  std::unique_ptr<MediaControlsService> media_;
  std::unique_ptr<MediaPublishing> mediaPublishing_;
  QTimer mediaTimer_;
  std::array<QAction*, 7> trayItems_{};  // replay, pause, exit, start, end reservation, next, previous
  KeyTable keys_;
  std::unique_ptr<MainCommandTarget> commandTarget_;
  std::unique_ptr<CommandExecutor> executor_;
  KeyDispatcher* dispatcher_ = nullptr;
  std::unique_ptr<KeyCustWindow> keyWindow_;
};

}  // namespace kadrel
