#include "ui/main_window.h"
#include "ui/path_text.h"

#include <chrono>
#include <thread>
#include <tuple>

#include <QApplication>
#include <QCloseEvent>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include "catalog/column_text.h"
#include "base/encoding.h"
#include "catalog/format_table.h"
#include "scan/document_step.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "sorting/compare_items.h"
#include "sorting/sort_controls.h"
#include "sorting/sort_list.h"
#include "platform/launch_arguments.h"
#include "platform/temp_folder.h"
#include "ui/about_box.h"
#include "ui/view_settings_dialog.h"
#include "platform/volumes.h"
#include "commands/key_file.h"
#include "settings/platform_folders.h"
#include "ui/icon_set.h"
#include "ui/menu_key_hints.h"
#include "ui/file_drag_data.h"
#include "ui/play_list_drag.h"
#include "ui/play_list_model.h"
#include "ui/play_list_popups.h"
#include "ui/play_list_view.h"
#include "ui/texts.h"
#include "ui/tray_rules.h"
#include "ui/search_hookup.h"

namespace kadrel {
namespace {

using text::U;


// "/a/b/" -> "/a/"; the root stays the root.
// A stored rectangle is used as it is when enough of it lies on a screen; otherwise
// (a screen gone since the last run, damaged values) it is moved and shrunk onto the
// available desktop, so the window is never opened out of sight.
QRect FitOnDesktop(QRect r) {
  QRect desktop;
  for (const QScreen* screen : QGuiApplication::screens()) desktop |= screen->availableGeometry();
  r.setWidth(std::max(r.width(), 200));
  r.setHeight(std::max(r.height(), 150));
  if (!desktop.isValid()) return r;
  r.setWidth(std::min(r.width(), desktop.width()));
  r.setHeight(std::min(r.height(), desktop.height()));
  const QRect seen = r.intersected(desktop);
  if (seen.width() < 100 || seen.height() < 50)
    r.moveTopLeft(desktop.topLeft() + QPoint(desktop.width() * 50 / 1024, desktop.height() * 50 / 768));
  return r;
}

// The first window: most of the primary screen, centred, so that every default column
// shows beside the folder tree.
QRect FirstStartPlacement() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return QRect(50, 50, 1000, 680);
  const QRect desktop = screen->availableGeometry();
  QRect r(0, 0, std::min(desktop.width() * 4 / 5, 1200), std::min(desktop.height() * 4 / 5, 800));
  r.moveCenter(desktop.center());
  return r;
}

Qt::ToolBarArea AreaOf(Dock dock) {
  switch (dock) {
    case Dock::Bottom: return Qt::BottomToolBarArea;
    case Dock::Left: return Qt::LeftToolBarArea;
    case Dock::Right: return Qt::RightToolBarArea;
    default: return Qt::TopToolBarArea;  // a bar saved floating keeps its built-in dock
  }
}

Dock DockOf(Qt::ToolBarArea area) {
  switch (area) {
    case Qt::TopToolBarArea: return Dock::Top;
    case Qt::BottomToolBarArea: return Dock::Bottom;
    case Qt::LeftToolBarArea: return Dock::Left;
    case Qt::RightToolBarArea: return Dock::Right;
    default: return Dock::None;
  }
}

}  // namespace

MainWindow::MainWindow(WindowSettings settings, IMessageBox* messages, QWidget* parent)
    : QMainWindow(parent),
      settings_(std::move(settings)),
      ownMessages_(messages ? nullptr : std::make_unique<QtMessageBox>(this)),
      messages_(messages ? *messages : *ownMessages_),
      bridge_(std::make_unique<QtWindowBridge>(this)),
      archives_(std::make_unique<LzhArchivePort>()),
      index_(std::make_unique<TFolderIndex>(settings_.scan.main, messages_,
                                            [this](int panel, const std::string& text) { ShowIndexStatus(panel, text); })),
      indexPort_(std::make_unique<FolderIndexPort>(*index_)),
      scan_(std::make_unique<FolderScanController>(*bridge_, *this, *this, messages_)),
      watcher_(settings_.watcherDebounceMs, settings_.watcherPollMs) {
  if (ownMessages_) ownMessages_->SetBridge(bridge_.get());
  setWindowTitle(U(text::kTitle));
  setObjectName(QStringLiteral("TMainForm"));
  setWindowIcon(MakeListIcons()[1]);

  settings_.scan.sortOption = settings_.window.SortOption;
  scan_->SetSettings(settings_.scan);
  SetScanPorts(indexPort_.get(), archives_.get(), MakeDocumentStep(settings_.scan.main, messages_));
  scan_->Sort().Key = settings_.sortKey;
  scan_->Sort().Direction = settings_.sortDirection;
  scan_->onPassFinished = [this](bool fromIndex) { Q_EMIT passFinished(fromIndex); };

  model_.SetIcons(MakeListIcons());
  model_.SetOptions(settings_.scan.view);
  model_.SetAutoAnnounce(settings_.scan.main.ShowWhileScanning);
  model_.SetCompare([this](const TMusicFileInfo& a, const TMusicFileInfo& b) {
    return CompareItems(a, b, scan_->Sort(), scan_->Settings().sortOption);
  });
  model_.SetSortState(&scan_->Sort(), settings_.scan.sortOption);
  model_.SetSortOrder([this](std::span<const TMusicFileInfo* const> records) {
    return SortOrder(records, TSortSpec::From(scan_->Sort(), scan_->Settings().sortOption));
  });
  list_.setModel(&model_);
  list_.SetSingleClickOpen(settings_.scan.view.SingleClickOpen);
  folders_.SetSingleClickOpen(settings_.scan.view.SingleClickOpen);
  list_.setObjectName(QStringLiteral("FileList"));
  list_.setAccessibleName(U("ファイル一覧"));

  BuildMainActions(*this, actions_);
  BuildLayout();
  SetupColumns();
  folders_.SetJumpFolders(settings_.jumpFolders);

  // Until the key file is read the lists answer to the built-in default keys.
  ReadKeyFile(DefaultKeyFileBytes(), keys_);
  commandTarget_ = std::make_unique<MainCommandTarget>(*this);
  commandTarget_->hooks.openHelp = [this] {
    if (onOpenManual) onOpenManual();
  };
  executor_ = std::make_unique<CommandExecutor>(*commandTarget_, messages_);
  dispatcher_ = new KeyDispatcher(keys_, *executor_, this);
  dispatcher_->Watch(list_, CommandList::FileList);
  dispatcher_->Watch(playPane_->View(), CommandList::PlayList);
  dispatcher_->Watch(folders_.JumpList(), CommandList::JumpList);
  dispatcher_->SetKeepSelection(settings_.scan.view.KeepSelectionOnFocusMove);
  dispatcher_->focusFileList = [this] { list_.setFocus(); };
  dispatcher_->beforeCommand = [this](QAbstractItemView& view, CommandList list) {
    if (list == CommandList::Detail) commandDetail_ = qobject_cast<DetailWindow*>(view.window());
  };
  titleGrid_ = settings_.titleGrid;
  if (settings_.detailRect.Width > 0 && settings_.detailRect.Height > 0)
    detailPlacement_ = FitOnDesktop(
        QRect(settings_.detailRect.Left, settings_.detailRect.Top, settings_.detailRect.Width, settings_.detailRect.Height));
  ApplyFontGroups();

  SetupPlayListPane();
  UpdateJumpMenu();
  UpdatePlayerItems();
  SetupPlaying();
  ConnectSignals();
  SetupTray();
  SetupListPlay();

  statusTimer_.setInterval(settings_.statusIntervalMs);
  connect(&statusTimer_, &QTimer::timeout, this, &MainWindow::StatusTick);
  SetStatus(nullptr, nullptr, nullptr);
  status_.SetPanel(0, U(text::kReady));

  ApplyWindowState();
}

MainWindow::~MainWindow() {
  bridge_->Close();
  if (forcedClose_) {
    // The worker did not stop in time: it may still hold the controller and the
    // bridge, which therefore outlive the window; the process ends right after.
    (void)scan_.release();
    (void)bridge_.release();
    (void)archives_.release();
    (void)index_.release();
    (void)indexPort_.release();
  } else {
    scan_.reset();
  }
}

void MainWindow::SetScanPorts(IFolderIndexPort* index, IArchivePort* archives, DocumentStep documents) {
  scan_->SetIndexPort(index);
  scan_->SetArchivePort(archives);
  scan_->SetDocumentStep(std::move(documents));
}

void MainWindow::BuildLayout() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  playPane_ = new PlayListPane(messages_);
  playPane_->setVisible(false);

  rightSplit_ = new QSplitter(Qt::Vertical);
  rightSplit_->addWidget(&list_);
  rightSplit_->addWidget(playPane_);
  rightSplit_->setStretchFactor(0, 1);

  split_ = new QSplitter(Qt::Horizontal);
  split_->addWidget(&folders_);
  split_->addWidget(rightSplit_);
  split_->setStretchFactor(1, 1);
  if (settings_.folderPaneWidth <= 0 || settings_.folderPaneWidth > settings_.width - 50) settings_.folderPaneWidth = 170;
  split_->setSizes({settings_.folderPaneWidth, std::max(100, settings_.width - settings_.folderPaneWidth)});
  column->addWidget(split_, 1);
  column->addWidget(&status_);
  setCentralWidget(central);
}

void MainWindow::SetupColumns() {
  // The stored order, as the command-line tool lists it: the file name is not moved to
  // the front. Ids the list has not and repeats are skipped; a list that keeps no
  // column gets the default columns.
  std::vector<int> ids;
  for (int id : settings_.columns)
    if (id >= 1 && id <= kFileListColumnCount && std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  if (ids.empty()) ids = WindowSettings{}.columns;
  model_.SetColumns(ids);
  for (size_t i = 0; i < ids.size(); ++i) {
    int width = settings_.columnWidths[static_cast<size_t>(ids[i])];
    list_.header()->resizeSection(static_cast<int>(i), width > 0 ? width : 100);
  }
  ShowSortMark();
}

void MainWindow::ApplyWindowState() {
  // move() places the frame, title bar included, where setGeometry would place the
  // window's inside and push the title bar off the top of the screen.
  const QRect placed = settings_.firstStart ? FirstStartPlacement()
                                            : FitOnDesktop(QRect(settings_.left, settings_.top, settings_.width, settings_.height));
  resize(placed.size());
  move(placed.topLeft());
  if (!settings_.showFolderPane) {
    folders_.hide();
    actions_.viewAllFolders->setChecked(false);
    actions_.viewJumpFolders->setChecked(false);
  }
  if (!settings_.showStatusBar) {
    status_.hide();
    actions_.viewStatusBar->setChecked(false);
  }
  PlaceToolBars();
  if (!settings_.showToolBars) {
    for (QToolBar* bar : actions_.bars) bar->hide();
    for (QAction* toggle : actions_.barToggles) toggle->setChecked(false);
    actions_.viewToolBars->setChecked(false);
  }
  windowStateFlag_ = settings_.maximised ? 1 : 0;
  if (settings_.maximised) setWindowState(Qt::WindowMaximized);
  restoreMaximised_ = settings_.maximised;
}

void MainWindow::PlaceToolBars() {
  if (!settings_.placeBars) return;
  // Each dock takes its bars row by row, and within a row by position.
  std::array<int, kToolBars> order{0, 1, 2};
  auto key = [this](int i) {
    const BarPlacement& b = settings_.bars[static_cast<size_t>(i)];
    return std::tuple(static_cast<int>(AreaOf(b.dock)), b.DockRow, b.DockPos, i);
  };
  std::sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  int lastArea = -1, lastRow = 0;
  for (int i : order) {
    const BarPlacement& b = settings_.bars[static_cast<size_t>(i)];
    const Qt::ToolBarArea area = AreaOf(b.dock);
    if (static_cast<int>(area) == lastArea && b.DockRow != lastRow) addToolBarBreak(area);
    addToolBar(area, actions_.bars[static_cast<size_t>(i)]);
    lastArea = static_cast<int>(area);
    lastRow = b.DockRow;
  }
}

void MainWindow::ConnectSignals() {
  connect(actions_.quit, &QAction::triggered, this, &QWidget::close);
  connect(actions_.exitButton, &QAction::triggered, this, &QWidget::close);
  connect(actions_.breakButton, &QAction::triggered, this, &MainWindow::BreakScan);
  connect(actions_.update, &QAction::triggered, this, &MainWindow::UpdateFileInformation);
  connect(actions_.updateButton, &QAction::triggered, this, &MainWindow::UpdateFileInformation);
  connect(actions_.reReadAll, &QAction::triggered, this, &MainWindow::ReReadAllFileInformation);
  connect(actions_.reReadButton, &QAction::triggered, this, &MainWindow::ReReadAllFileInformation);
  connect(actions_.deleteSettings, &QAction::triggered, this, &MainWindow::DeleteSettingsAndQuit);
  // The guide is one HTML book per language; its table of contents is where topics are
  // looked up, so both help items open it.
  for (QAction* help : {actions_.contents, actions_.helpTopics}) {
    help->setEnabled(true);
    connect(help, &QAction::triggered, this, [this] {
      if (onOpenManual) onOpenManual();
    });
  }
  connect(this, &MainWindow::passFinished, this, &MainWindow::FocusNamedFile);
  ConnectFileWindows();
  ConnectIndexSearch(*this);
  connect(actions_.about, &QAction::triggered, this, &MainWindow::ShowAboutBox);
  connect(actions_.viewSettings, &QAction::triggered, this, &MainWindow::OpenViewSettings);
  Hooks().dialogs[Dialog::ViewSettings] = [this](CommandList) { OpenViewSettings(); };
  connect(actions_.mainSettings, &QAction::triggered, this, &MainWindow::OpenMainSettings);
  Hooks().dialogs[Dialog::MainSettings] = [this](CommandList) { OpenMainSettings(); };
  connect(this, &MainWindow::passFinished, this, &MainWindow::ApplyScanSettings);
  connect(actions_.shellInfo, &QAction::triggered, this, [this] {
    QMessageBox::aboutQt(this, QStringLiteral("Kadrel Shell Information"));
  });

  // View menu: the folder pane's two views, the play-list pane, bars, status strip.
  connect(actions_.viewAllFolders, &QAction::triggered, this, [this](bool on) {
    if (on) {
      folders_.ShowView(FolderPane::View::Tree);
      folders_.show();
    } else {
      folders_.hide();
      actions_.viewJumpFolders->setChecked(false);
    }
  });
  connect(actions_.viewJumpFolders, &QAction::triggered, this, [this](bool on) {
    if (on) {
      folders_.ShowView(FolderPane::View::JumpList);
      folders_.show();
    } else {
      folders_.hide();
      actions_.viewAllFolders->setChecked(false);
    }
  });
  connect(&folders_, &FolderPane::viewChanged, this, [this](FolderPane::View view) {
    actions_.viewAllFolders->setChecked(view == FolderPane::View::Tree);
    actions_.viewJumpFolders->setChecked(view == FolderPane::View::JumpList);
  });
  connect(&folders_, &FolderPane::hideRequested, this, [this] {
    folders_.hide();
    actions_.viewAllFolders->setChecked(false);
    actions_.viewJumpFolders->setChecked(false);
  });
  connect(actions_.viewPlayList, &QAction::triggered, this, &MainWindow::ShowPlayListPane);
  connect(actions_.viewStatusBar, &QAction::triggered, &status_, &QWidget::setVisible);
  connect(actions_.viewToolBars, &QAction::triggered, this, [this](bool on) {
    for (QToolBar* bar : actions_.bars) bar->setVisible(on);
  });

  connect(&folders_, &FolderPane::folderSelected, this, &MainWindow::OnTreeSelection);
  connect(&folders_, &FolderPane::jumpRequested, this, &MainWindow::OpenJumpFolder);

  connect(&list_, &FileListView::openRequested, this, [this](int row) {
    list_.setCurrentIndex(model_.index(row, 0));
    executor_->Execute(CommandList::FileList, CommandBytes(command::kOpenBest), "return");
  });
  connect(actions_.keyCustomization, &QAction::triggered, this, &MainWindow::ShowKeyWindow);
  connect(&list_, &FileListView::popupRequested, this, &MainWindow::ShowPopup);
  connect(&list_, &FileListView::dragRequested, this, &MainWindow::StartDrag);
  connect(list_.header(), &QHeaderView::sectionClicked, this, &MainWindow::SortByColumnClick);

  connect(&watcher_, &FolderWatcher::folderChanged, this, [this] {
    if (busy_ || phase_ != LifePhase::Running || changing_) return;
    changing_ = true;
    const bool left = LeaveVanishedFolder();
    changing_ = false;
    if (!left) scan_->StartUpdatePass(ScanMode::UpdateWithSubFolders);
  });
}

void MainWindow::Start(const std::string& folder) {
  phase_ = LifePhase::Running;
  statusTimer_.start();
  RefreshDriveLetters();
  std::string start = WithTrailingSlash(folder.empty() ? PathBytes(QDir::homePath()) : folder);
  OpenPath(start);
}

// ---- opening folders -------------------------------------------------------------

bool MainWindow::StopAndWait() {
  scan_->Stop();
  while (scan_->ScanRunning()) {
    if (phase_ == LifePhase::Closing) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return phase_ != LifePhase::Closing;
}

bool MainWindow::OpenFolder(const std::string& path) {
  if (!StopAndWait()) return false;
  const std::string folder = WithTrailingSlash(path);
  const FolderState state = FolderStateOf(PathText(folder));
  if (state == FolderState::Ready) {
    previous_ = current_;
    current_ = folder;
    UpdateTitle();
    scan_->ShowFolder(folder, previous_);
    RecordDriveVisit(folder);
    return true;
  }
  if (state == FolderState::NotReady) {
    messages_.Beep(BeepKind::Warning);
    model_.Clear();
    UpdateTitle();
    status_.SetPanel(1, U(text::kDriveNotReady));
    return false;
  }
  // A folder that is not there or may not be read: say so and keep the folder shown.
  messages_.Warn(text::kFolderMissingPrefix + DisplayText(folder) +
                 (state == FolderState::Missing ? text::kFolderMissingSuffix : text::kFolderUnreadableSuffix));
  if (current_.empty()) OpenNearestFolder(folder);  // nothing shown yet
  return false;
}

void MainWindow::OpenNearestFolder(const std::string& lost) {
  std::string nearest = WithTrailingSlash(PathBytes(NearestExistingFolder(PathText(lost))));
  if (FolderStateOf(PathText(nearest)) != FolderState::Ready) nearest = WithTrailingSlash(PathBytes(QDir::homePath()));
  if (nearest == WithTrailingSlash(lost) || !OpenFolder(nearest)) return;
  folders_.SelectFolder(PathText(nearest), true);
  status_.SetPanel(1, QString::fromStdString(DisplayText(lost) + text::kFolderGoneMiddle + DisplayText(nearest) +
                                             text::kFolderGoneSuffix));
}

bool MainWindow::LeaveVanishedFolder() {
  if (current_.empty() || FolderStateOf(PathText(current_)) != FolderState::Missing) return false;
  const std::string lost = current_;
  current_.clear();
  OpenNearestFolder(lost);
  if (current_.empty()) current_ = lost;
  return true;
}

void MainWindow::OnTreeSelection(const QString&) {
  if (phase_ != LifePhase::Running || changing_) return;  // a change in progress re-reads the tree below
  changing_ = true;
  // The folder shown was deleted and the tree moved its selection to a neighbour: go
  // up to the nearest folder that is still there instead.
  if (LeaveVanishedFolder()) {
    changing_ = false;
    return;
  }
  std::string opened;
  for (;;) {
    QString selected = folders_.SelectedFolder();
    if (selected.isEmpty()) {
      messages_.Inform(text::kFolderNotInTree);
      break;
    }
    if (WithTrailingSlash(PathBytes(selected)) == opened) break;
    if (!StopAndWait()) break;
    // The selection may have moved on while the pass stopped.
    selected = folders_.SelectedFolder();
    if (selected.isEmpty()) break;
    opened = WithTrailingSlash(PathBytes(selected));
    if (!OpenFolder(opened)) {
      // The tree goes back to the folder the list still shows.
      if (!current_.empty()) folders_.SelectFolder(PathText(current_), true);
      break;
    }
  }
  changing_ = false;
}

void MainWindow::OpenPath(const std::string& path) {
  if (changing_ || !StopAndWait()) return;
  const std::string folder = WithTrailingSlash(path);
  changing_ = true;
  OpenFolder(folder);
  // The tree follows without opening the folder a second time.
  if (current_ == folder) folders_.SelectFolder(PathText(folder), true);
  changing_ = false;
}

void MainWindow::OpenListFolder(const std::string& name, bool relative) {
  scan_->Stop();
  if (changing_ || current_.empty()) return;
  if (relative && (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)) return;
  if (!relative && current_ == "/") return;
  OpenPath(relative ? current_ + name + "/" : ParentFolder(current_));
}

void MainWindow::OpenPreviousFolder() {
  if (!previous_.empty()) OpenPath(previous_);
}

void MainWindow::OpenJumpFolder(int letterIndex) {
  if (letterIndex < 0 || letterIndex >= 26) return;
  executor_->Run(CommandList::FileList, Command{CommandId::OpenJumpFolder, letterIndex});
}

// ---- keys ------------------------------------------------------------------------

void MainWindow::CreateKeyWindow(KeyWindowSettings settings, const std::string& configFolder, IMessageBox& startupBox,
                                 std::function<void(const KeyWindowSettings&)> onClosed) {
  keyWindow_ = std::make_unique<KeyCustWindow>(keys_, std::move(settings), configFolder, messages_, this);
  keyWindow_->onBindingsChanged = [this] { RefreshKeyHints(); };
  keyWindow_->onClosed = std::move(onClosed);
  keyWindow_->LoadAtStart(startupBox);
}

void MainWindow::ShowKeyWindow() {
  if (!keyWindow_) {
    const std::string config = DefaultPlatformFolders().config;
    KeyWindowSettings settings;
    settings.keyFile = config + std::string(kDefaultKeyFile);
    CreateKeyWindow(settings, config, messages_, {});
  }
  keyWindow_->Open();
}

void MainWindow::RefreshKeyHints() { ShowKeyHints(actions_, keys_); }

void MainWindow::OpenRow(int row) {
  if (row < 0 || row >= model_.Announced()) return;
  const TMusicFileInfo& r = model_.Record(row);
  if (r.ItemKind == kParentEntry) {
    OpenListFolder({}, false);
  } else if (r.ItemKind == kFolderEntry) {
    std::string name = r.FileName;  // the record goes away when the folder changes
    OpenListFolder(name, true);
  } else {
    PlayItemInSlot(row, -1);
  }
}

void MainWindow::UpdateTitle() {
  QString title = U(text::kTitle);
  if (!current_.empty())
    title += QStringLiteral("  [ ") + QString::fromStdString(DisplayText(ShortenPath(current_, 40))) +
             QStringLiteral(" ]");
  setWindowTitle(title);
}

void MainWindow::HandleArguments(const QStringList& arguments) {
  if (isMinimized() || isHidden()) RestoreFromTray();
  raise();
  activateWindow();
  // Play lists join the play list; the first path still opens its folder, as at the start.
  LoadPlayListArguments(arguments);
  const LaunchTarget target = ClassifyArguments(arguments);
  if (target.kind == LaunchTarget::Kind::Folder)
    OpenPath(PathBytes(target.folder));
  else if (target.kind == LaunchTarget::Kind::Missing)
    messages_.Warn(text::kFolderMissingPrefix + DisplayText(PathBytes(target.folder)) + text::kFolderMissingSuffix);
  else if (target.kind != LaunchTarget::Kind::None)
    OpenFolderFocused(PathBytes(target.folder), PathBytes(target.fileName));
}

void MainWindow::OpenFolderFocused(const std::string& folder, const std::string& fileName) {
  focusName_ = fileName;
  if (phase_ != LifePhase::Running) return;  // Start() opens the folder
  OpenPath(folder);
  if (current_ != WithTrailingSlash(folder)) focusName_.clear();  // it could not be opened
}

void MainWindow::FocusNamedFile() {
  if (focusName_.empty()) return;
  const std::string name = std::exchange(focusName_, {});
  for (int i = 0; i < model_.Count(); ++i) {
    const TMusicFileInfo& r = model_.Record(i);
    if (r.ItemKind == kLooseFile && r.FullName() == name) {
      FocusRow(i);
      list_.selectionModel()->select(model_.index(i, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      return;
    }
  }
}

// ---- commands --------------------------------------------------------------------

void MainWindow::ShowAboutBox() {
  auto* box = new TAboutBox(aboutFacts_, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void MainWindow::OpenViewSettings() {
  if (!settingsStore_) return;
  RegTreat& reg = *settingsStore_;
  ViewSettings view = LoadViewSettings(reg);
  view.FileListItems.assign(model_.Columns().begin(), model_.Columns().end());
  view.PlayListItems.assign(playPane_->Model().Columns().begin(), playPane_->Model().Columns().end());
  auto save = [this, &reg](const ViewSettings& chosen) {
    ViewSettings v = chosen;
    // The widths the columns have now, so that the next start shows them as they are.
    const StartupState now = CurrentStartupState();
    for (auto [id, width] : now.FileListWidths) v.FileListWidths[static_cast<size_t>(id - 1)] = width;
    for (auto [id, width] : now.PlayListWidths) v.PlayListWidths[static_cast<size_t>(id - 1)] = width;
    reg.store().ResetErrors();
    SaveViewSettings(reg, v);
    return reg.store().errorCount() == 0;
  };
  auto* dialog = new TSet_ViewForm(view, save, messages_, ViewChoosers::Standard(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    ApplyFileListColumns(dialog->Values().FileListItems);
    ApplyListOptions(dialog->Values());
    settings_.fonts = dialog->Values().Fonts;
    settings_.dialogFont = dialog->Values().Fonts[5];
    ApplyFontGroups();
    ApplyPlayListColumns(dialog->Values().PlayListItems);
  });
  dialog->open();
}

void MainWindow::ApplyFileListColumns(const std::vector<int32_t>& ids) {
  for (auto [id, width] : CurrentStartupState().FileListWidths) settings_.columnWidths[static_cast<size_t>(id)] = width;
  settings_.columns.assign(ids.begin(), ids.end());
  SetupColumns();
}

void MainWindow::BreakScan() {
  scan_->Stop();
  QString ready = U(text::kReady), empty;
  SetStatus(&ready, &empty, nullptr);
}

bool MainWindow::IndexIdle() {
  if (!scan_->ScanRunning() && !busy_ && !indexBusy_) return true;
  messages_.Warn(text::kIndexBusy);
  return false;
}

void MainWindow::UpdateFileInformation() {
  if (!IndexIdle()) return;
  if (!current_.empty() && phase_ == LifePhase::Running) scan_->StartUpdatePass(ScanMode::UpdateWithSubFolders);
}

void MainWindow::ReReadAllFileInformation() {
  if (current_.empty() || phase_ != LifePhase::Running || !IndexIdle()) return;
  if (messages_.Confirm(text::kReReadConfirm, MessageButtons::OkCancel) != MessageAnswer::Ok) return;
  if (!IndexIdle()) return;  // the watcher may have started a pass while the box was up
  indexBusy_ = true;
  scan_->ReReadFolder(current_);
  indexBusy_ = false;
}

void MainWindow::DeleteSettingsAndQuit() {
  if (phase_ != LifePhase::Running || !ConfirmDeleteSettings(messages_)) return;
  deleteSettings_ = true;
  close();
}

// ---- status ----------------------------------------------------------------------

void MainWindow::SetStatus(const QString* panel0, const QString* panel1, const QString* tip) {
  if (panel0) status_.SetPanel(0, *panel0);
  if (panel1) status_.SetPanel(1, *panel1);
  if (tip && tray_) tray_->setToolTip(*tip);
  for (DetailWindow* detail : details_)
    if (detail) detail->SetStatus(status_.Panel(0), status_.Panel(1));
}

void MainWindow::StatusTick() {
  QString ready = U(text::kReady), tip = U(text::kTipReady);
  SetStatus(&ready, nullptr, &tip);
  status_.SearchBar().setValue(0);
  const QString notReady = U(text::kDriveNotReady);
  if (status_.Panel(1) == notReady) {
    status_.SetPanel(1, notReady + QLatin1Char(' '));  // shown for one more period
    return;
  }
  PlayStatusTick();
}

// ---- the list for the scan -------------------------------------------------------

void MainWindow::AddRecord(std::unique_ptr<TMusicFileInfo> record) { model_.Append(std::move(record)); }

void MainWindow::AddRecords(std::vector<std::unique_ptr<TMusicFileInfo>> records) {
  model_.AppendBatch(std::move(records));
}

void MainWindow::InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) { model_.InsertSorted(std::move(record)); }

int MainWindow::Count() const { return model_.Count(); }

TMusicFileInfo MainWindow::CopyEntry(int index) const {
  if (index < 0 || index >= model_.Count()) return {};
  return model_.Record(index);
}

void MainWindow::RemoveEntry(int index) { model_.Remove(index); }

void MainWindow::CopyEntryKeys(std::vector<ScanEntryKey>& keys) const {
  keys.resize(static_cast<size_t>(model_.Count()));
  for (int i = 0; i < model_.Count(); ++i) AssignKey(keys[static_cast<size_t>(i)], model_.Record(i));
}

void MainWindow::VisibleRange(int& top, int& rowsPerPage) const { list_.VisibleRange(top, rowsPerPage); }

void MainWindow::ResetItemCount(bool repaintAll) {
  model_.Announce();
  if (repaintAll) list_.viewport()->update();
}

void MainWindow::SetStatusText(int panel, const std::string& text) {
  status_.SetPanel(panel, QString::fromStdString(DisplayText(text)));
}

void MainWindow::SetProgressRange(int maximum) { status_.SearchBar().setRange(0, std::max(0, maximum)); }

void MainWindow::SetProgressPosition(int position) { status_.SearchBar().setValue(position); }

int MainWindow::ProgressMaximum() const { return const_cast<StatusStrip&>(status_).SearchBar().maximum(); }

void MainWindow::SetBusy(bool busy) {
  busy_ = busy;
  for (QAction* action : {actions_.update, actions_.updateButton, actions_.reReadAll, actions_.reReadButton})
    action->setEnabled(!busy);
  if (!busy) {
    model_.Announce();
    if (pendingHeaderSort_) {
      pendingHeaderSort_ = false;
      SortAndRefresh();
    }
  }
  UpdateWatcher();
}

void MainWindow::WatchFolder(const std::string& folder) { watcher_.SetFolder(PathText(folder)); }

void MainWindow::SortAndRefresh() {
  if (!SortFileList()) messages_.Error(sort_window::kFailedMessage);
}

bool MainWindow::SortFileList() {
  const bool sorted = model_.Sort();
  scan_->Sort().Sorted = sorted;  // a failed sort leaves the list in its old order
  ShowSortMark();
  list_.viewport()->update();
  return sorted;
}

void MainWindow::Refresh() {
  model_.Announce();
  list_.viewport()->update();
}

void MainWindow::FocusRow(int index) {
  model_.Announce();
  QModelIndex row = model_.index(index, 0);
  if (!row.isValid()) return;
  list_.setCurrentIndex(row);
  list_.scrollTo(row);
}

// ---- sorting ---------------------------------------------------------------------

void MainWindow::ShowSortMark() {
  const auto& ids = model_.Columns();
  auto it = std::find(ids.begin(), ids.end(), scan_->Sort().Key);
  QHeaderView* header = list_.header();
  if (it == ids.end()) {
    header->setSortIndicatorShown(false);
    return;
  }
  header->setSortIndicatorShown(true);
  header->setSortIndicator(static_cast<int>(it - ids.begin()),
                           scan_->Sort().Direction == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void MainWindow::SortByColumnClick(int position) {
  // The sorting layer's rule: a list sorted with no direction chosen (-1) turns descending.
  if (!kadrel::SortByColumnClick(scan_->Sort(), model_.Columns(), position)) return;
  // A pass walks the list by position; it is re-ordered only once the pass is over.
  if (busy_) {
    pendingHeaderSort_ = true;
    ShowSortMark();
    return;
  }
  SortAndRefresh();
}

// ---- folder watcher, tray, window state ------------------------------------------

void MainWindow::UpdateWatcher() {
  watcher_.SetActive(phase_ == LifePhase::Running && !busy_ && !isMinimized() && !current_.empty());
}

void MainWindow::UpdateJumpMenu() {
  QMenu* menu = actions_.jumpMenu;
  menu->clear();
  menu->setEnabled(false);
  for (int i = 0; i < 26; ++i) {
    const std::string& folder = settings_.jumpFolders[static_cast<size_t>(i)];
    if (folder.empty()) continue;
    QString caption = QStringLiteral("&%1 : %2")
                          .arg(QString(QLatin1Char(char('A' + i))), QString::fromStdString(DisplayText(ShortenPath(folder, 30))));
    menu->addAction(caption, this, [this, i] { OpenJumpFolder(i); });
    menu->setEnabled(true);
  }
}

void MainWindow::UpdatePlayerItems() {
  // Captions, hints and visibility follow the slots; playing comes with the player slots.
  for (size_t n = 0; n < settings_.playerNames.size(); ++n) {
    const QString name = QString::fromStdString(DisplayText(settings_.playerNames[n]));
    QAction* item = actions_.playSlot[n];
    // A "&" in the name is shown, not taken as an accelerator.
    item->setText(QStringLiteral("(&%1) : ").arg(n + 1) + QString::fromStdString(EscapeMenuText(name.toStdString())));
    item->setVisible(!name.isEmpty());
    item->setEnabled(!name.isEmpty());
    actions_.playButtons[n]->setEnabled(!name.isEmpty());
    actions_.playButtons[n]->setToolTip(name.isEmpty() ? QStringLiteral("Player%1").arg(n + 1) : name);
  }
  std::array<std::string, 6> names;
  for (size_t n = 0; n < names.size(); ++n) names[n] = DisplayText(settings_.playerNames[n]);
  playPane_->SetPlayerNames(names);
  RefreshKeyHints();  // the captions were rebuilt
}

void MainWindow::SetupTray() {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  tray_ = new QSystemTrayIcon(windowIcon(), this);
  tray_->setToolTip(U(text::kAppName));
  auto* menu = new QMenu(this);
  for (const char* caption : {"リプレイ", "一時停止", "演奏を終了する", "ListPlayの開始", "ListPlay終了予約",
                              "次の曲を演奏", "前の曲へ演奏"})
    menu->addAction(U(caption))->setEnabled(false);
  menu->addSeparator();
  menu->addAction(U("元のサイズに戻す"), this, &MainWindow::RestoreFromTray);
  menu->addAction(U("Ｋadrelの終了"), this, &QWidget::close);
  tray_->setContextMenu(menu);
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) RestoreFromTray();
  });
  tray_->setVisible(DecideTray(settings_.window, true, false).showIcon);
}

void MainWindow::RestoreFromTray() {
  if (restoreMaximised_)
    showMaximized();
  else
    showNormal();
  raise();
  activateWindow();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow() && model_.Announced() > 0) list_.setFocus();
    UpdateWatcher();
  }
  if (event->type() != QEvent::WindowStateChange) return;
  // The tray can go away (the panel restarts): hide only while it is there.
  const bool trayAvailable = tray_ && QSystemTrayIcon::isSystemTrayAvailable();
  const TrayDecision tray = DecideTray(settings_.window, trayAvailable, isMinimized());
  if (isMinimized()) {
    if (windowStateFlag_ != 2)
      restoreMaximised_ = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized;
    windowStateFlag_ = 2;
    if (tray.hideWindow) QTimer::singleShot(0, this, &QWidget::hide);
  } else {
    windowStateFlag_ = isMaximized() ? 1 : 0;
    restoreMaximised_ = isMaximized();
  }
  if (tray_) tray_->setVisible(tray.showIcon);
  UpdateWatcher();
}

QMenu* MainWindow::createPopupMenu() { return BuildBarPopup(this, actions_); }

// ---- pop-ups and drags -------------------------------------------------------------

void MainWindow::ShowPopup(int row, QPoint globalPos) {
  if (row < 0 || row >= model_.Announced()) return;
  const TMusicFileInfo& r = model_.Record(row);
  QMenu menu(this);
  if (r.ItemKind == kParentEntry || r.ItemKind == kFolderEntry) {
    menu.addAction(U("フォルダを開く(&O)"), this, [this, row] { OpenRow(row); });
    menu.addAction(U("１つ上のフォルダへ(&B)"), this, [this] { OpenListFolder({}, false); });
  } else if (r.FileType == kRowMPL) {
    // The items run once the menu has closed, so that their questions do not open inside it.
    std::optional<PlayListMenuCommand> chosen;
    std::vector<PlayListMenuItem> items = PlayListFileMenu(static_cast<int>(playPane_->List().Items.size()));
    items.pop_back();  // "閉じる(&C)" is added below for every pop-up
    FillPlayListMenu(menu, items, [&chosen](const PlayListMenuItem& item) { chosen = item.command; });
    menu.addSeparator();
    menu.addAction(U("閉じる(&C)"));
    menu.exec(globalPos);
    if (chosen) RunPlayListFileCommand(*chosen, row);
    return;
  } else {
    // With two or more rows selected the play items and the documents are off.
    const bool single = list_.selectionModel()->selectedRows().size() <= 1;
    const TMusicFileInfo item = r;  // a copy: the list may change while the documents are found
    const std::string folder = current_;
    menu.addAction(U("最適なPlayerで演奏(&P)"), this, [this, row] { PlayItemInSlot(row, -1); })->setEnabled(single);
    for (size_t n = 0; n < settings_.playerNames.size(); ++n) {
      const QString name = QString::fromStdString(DisplayText(settings_.playerNames[n]));
      const int slotNo = static_cast<int>(n) + 1;
      QAction* slot = menu.addAction(QStringLiteral("(&%1) : ").arg(n + 1) + QString::fromStdString(EscapeMenuText(name.toStdString())), this,
                                     [this, row, slotNo] { PlayItemInSlot(row, slotNo); });
      slot->setVisible(!name.isEmpty());
      slot->setEnabled(single);
    }
    QMenu* documents = menu.addMenu(U("テキストファイル(&V)"));
    documents->setEnabled(false);
    if (single && !FillDocumentMenu(*documents, item, folder)) return;  // the window is closing
    menu.addAction(U("関連ファイル詳細(&D)"), this, [this, row] {
      if (row < model_.Count()) list_.setCurrentIndex(model_.index(row, 0));
      OpenDetailWindow();
    });
    menu.addAction(U("PlayListに追加(&A)"), this, [this] { AddFileListSelectionToPlayList(); });
  }
  menu.addSeparator();
  menu.addAction(U("閉じる(&C)"));
  menu.exec(globalPos);
}

// ---- closing -----------------------------------------------------------------------

StartupState MainWindow::CurrentStartupState() const {
  StartupState s;
  const auto& ids = model_.Columns();
  const QHeaderView* header = list_.header();
  for (size_t i = 0; i < ids.size(); ++i) {
    const int width = header->sectionSize(static_cast<int>(i));
    if (width > 0) s.FileListWidths.emplace_back(ids[i], width);
  }
  s.CurrentFolder = current_.empty() ? settings_.scan.main.StartFolder : current_;
  s.SortItem = scan_ ? scan_->Sort().Key : settings_.sortKey;  // the controller goes at the close
  s.SortType = scan_ ? scan_->Sort().Direction : settings_.sortDirection;
  // The menu's check marks: a hidden or minimised window still knows what it shows.
  s.FolderPaneShown = actions_.viewAllFolders->isChecked() || actions_.viewJumpFolders->isChecked();
  s.StatusBarShown = actions_.viewStatusBar->isChecked();
  s.ToolBarsShown = actions_.viewToolBars->isChecked();
  for (size_t i = 0; i < actions_.bars.size(); ++i) {
    const QToolBar* bar = actions_.bars[i];
    BarPlacement& p = s.Bars[i];
    const QRect g = bar->geometry();
    p.Top = g.y();
    p.Left = g.x();
    if (bar->isFloating()) continue;  // no dock bit
    const Qt::ToolBarArea area = toolBarArea(bar);
    p.dock = DockOf(area);
    const bool across = area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea;
    p.DockPos = across ? g.x() : g.y();
    // The row: how many distinct lines of the same dock lie before this bar's line.
    std::vector<int> lines;
    for (const QToolBar* other : actions_.bars) {
      if (other->isFloating() || toolBarArea(other) != area) continue;
      const int line = across ? other->geometry().y() : other->geometry().x();
      if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
    }
    const int mine = across ? g.y() : g.x();
    p.DockRow = static_cast<int32_t>(std::count_if(lines.begin(), lines.end(), [&](int l) {
      return area == Qt::BottomToolBarArea || area == Qt::RightToolBarArea ? l > mine : l < mine;
    }));
  }
  s.WinFlgMain = windowStateFlag_;
  const QList<int> sizes = split_->sizes();
  s.FolderWidth = (s.FolderPaneShown && !sizes.isEmpty() && sizes.front() > 0) ? sizes.front() : settings_.folderPaneWidth;
  s.PlayListHeight = playPane_->isVisibleTo(this) && playPane_->height() > 0 ? playPane_->height() : settings_.playListHeight;
  s.PlayListWidths = playPane_->ColumnWidths();
  const QRect normal = normalGeometry();
  s.HasMainRect = normal.isValid();
  if (s.HasMainRect) s.MainRect = {normal.height(), normal.width(), normal.y(), normal.x()};
  return s;
}

void MainWindow::SaveState() {
  const StartupState state = CurrentStartupState();
  for (auto [id, width] : state.FileListWidths) settings_.columnWidths[static_cast<size_t>(id)] = width;
  settings_.sortKey = state.SortItem;
  settings_.sortDirection = state.SortType;
  settings_.folderPaneWidth = state.FolderWidth;
  settings_.playListHeight = state.PlayListHeight;
  settings_.maximised = state.WinFlgMain == 1;
  if (state.HasMainRect) {
    settings_.left = state.MainRect.Left;
    settings_.top = state.MainRect.Top;
    settings_.width = state.MainRect.Width;
    settings_.height = state.MainRect.Height;
  }
  settings_.scan.main.StartFolder = state.CurrentFolder;
  if (onSaveState) onSaveState(state);
}

void MainWindow::RunCloseSequence() {
  phase_ = LifePhase::Closing;
  status_.SetPanel(0, U(text::kClosing));
  statusTimer_.stop();
  watcher_.SetActive(false);
  scan_->Stop();
  if (listPlay_) listPlay_->Shutdown();
  if (deleteSettings_) {
    if (onDeleteSettings) onDeleteSettings();
  } else {
    SaveState();
  }

  for (int round = 0; round < settings_.closeWaitRounds && scan_->ScanRunning(); ++round) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const bool ranOut = scan_->ScanRunning();
  bridge_->Close();
  if (ranOut) {
    forcedClose_ = true;  // the destructor leaves the worker's objects alone
  } else {
    scan_.reset();
  }
  model_.Clear();
  if (ranOut) status_.SetPanel(0, U(text::kForcedClose));

  const std::string& temp = settings_.scan.main.TempFolder;
  if (!temp.empty()) {
    DeleteRegularFiles(temp);
    DeleteRegularFiles(temp + "ListPlay/");
    DeleteRegularFiles(temp + "OLE/");
    RemoveDragFolders(temp + "OLE/");
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeDone_) {
    event->accept();
    return;
  }
  if (phase_ == LifePhase::Closing) {
    event->ignore();
    return;
  }
  RunCloseSequence();
  closeDone_ = true;
  if (tray_) tray_->hide();
  event->accept();
}

}  // namespace kadrel
