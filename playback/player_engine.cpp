#include "playback/player_engine.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "archive/lha_unpack.h"
#include "archive/unlha.h"
#include "base/atomic_file.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "playback/lp_convert_for_play.h"
#include "playback/play_texts.h"
#include "playback/short_name_stage.h"
#include "playback/slot_choice.h"
#include "playback/temp_purge.h"
#include "settings/linux_players.h"
#include "settings/platform_folders.h"

namespace kadrel {

namespace {

using namespace std::chrono_literals;
namespace text = play_text;

constexpr auto kCloseGrace = 2000ms;

bool HasLyrics(const TMusicFileInfo& item) {
  return (item.Info & (kCompanionWrd | kCompanionDv | kCompanionSry)) != 0 || item.FileType == kRowMGS;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The designed viewer default names a Windows program; here it is the desktop's editor.
bool IsDefaultViewer(const std::string& viewer) {
  return viewer.empty() || EqualsIgnoreCase(FileNameOf(viewer), "Notepad.exe") ||
         EqualsIgnoreCase(viewer.substr(viewer.find_last_of('\\') + 1), "Notepad.exe");
}

std::string WineProgram() {
  const char* path = std::getenv("PATH");
  std::string wine = FindProgramOnPath(path ? path : "", {"wine"});
  return wine.empty() ? std::string("wine") : wine;
}

// Runs `body` and clears `flag` however it ends.
class BusyGuard {
 public:
  explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyGuard() { flag_ = false; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

PlayerEngine::PlayerEngine(PlayerEngineSettings settings, IMessageBox& messages, IPlayClock& clock,
                           IWindowWatcher& windows, IPlayerChannelFactory* channels)
    : settings_(std::move(settings)), messages_(messages), clock_(clock), windows_(windows), channels_(channels) {
  info_.PWcontrol1 = settings_.pwControl1;
  info_.PWcontrol2 = settings_.pwControl2;
}

PlayerEngine::~PlayerEngine() {
  windowWatch_.reset();
  channel_.reset();
}

void PlayerEngine::SetSettings(PlayerEngineSettings settings) {
  settings_ = std::move(settings);
  std::lock_guard lock(infoMutex_);
  info_.PWcontrol1 = settings_.pwControl1;
  info_.PWcontrol2 = settings_.pwControl2;
}

TPlayInfo PlayerEngine::PlayInfo() const {
  std::lock_guard lock(infoMutex_);
  return info_;
}

PlayerControls PlayerEngine::Controls() const {
  std::lock_guard lock(infoMutex_);
  return controls_;
}

void PlayerEngine::SetControls(PlayerControls controls) {
  {
    std::lock_guard lock(infoMutex_);
    controls_ = controls;
  }
  if (hooks.controls) hooks.controls(controls);
}

void PlayerEngine::Status(int field, const std::string& text) {
  if (hooks.status) hooks.status(field, text);
}

void PlayerEngine::Keep(std::shared_ptr<SpawnedPlayer> process) {
  std::lock_guard lock(keptMutex_);
  std::erase_if(kept_, [](const auto& p) { return p->Ended(); });
  if (process && !process->Ended()) kept_.push_back(std::move(process));
}

size_t PlayerEngine::PendingProcesses() {
  std::lock_guard lock(keptMutex_);
  std::erase_if(kept_, [](const auto& p) { return p->Ended(); });
  return kept_.size();
}

PlayerCommandContext PlayerEngine::CommandContext(bool dryRun) const {
  PlayerCommandContext context;
  context.playerDetailInfo = settings_.playerDetailInfo;
  context.wine = WineProgram();
  const std::string folder = settings_.tempFolder;
  context.shortPath = [folder, dryRun](const std::string& file) {
    return IsOwnPrivateFolder(folder) ? StageShortName(file, folder, dryRun) : file;
  };
  return context;
}

PlayOutcome PlayerEngine::PlayItem(const TMusicFileInfo& item, const std::string& folder, int slot,
                                   PlayOptions options) {
  // The waits below service the window, where another play command may arrive.
  if (busy_) {
    messages_.Beep(BeepKind::Warning);
    return {};
  }
  BusyGuard busy(busy_);
  windowWatch_.reset();
  if (hooks.statusTimer) hooks.statusTimer(false);
  PlayOutcome outcome = Play(item, folder, slot, options);
  if (hooks.statusTimer && !Closing()) hooks.statusTimer(true);
  return outcome;
}

PlayOutcome PlayerEngine::Play(const TMusicFileInfo& item, const std::string& folder, int slot,
                               const PlayOptions& options) {
  const bool dry = options.dryRun;
  const bool replay = slot == 0;
  const TPlayInfo before = PlayInfo();
  const PlayerSlots& playerSlots = settings_.playerSlots;
  TMusicFileInfo record = item;
  std::string playFile;

  if (!replay) {
    if (item.FileType == kRowMPL) {
      if (hooks.loadPlayList && !dry) hooks.loadPlayList(folder + item.FullName());
      return {};
    }
    const std::string name = item.FullName();
    if (item.ItemKind == kArchiveMember) {
      if (!LhaAvailable()) {
        messages_.Beep(BeepKind::Warning);
        messages_.Error(kLhaMissingMessage);
        return {};
      }
      if (!FileExists(folder + item.Archiver)) {
        messages_.Beep(BeepKind::Warning);
        messages_.Warn(DisplayText(item.Archiver) + text::kNotFoundSuffix);
        return {};
      }
      playFile = settings_.tempFolder + name;
    } else {
      playFile = folder + name;
      if (!FileExists(playFile)) {
        messages_.Beep(BeepKind::Warning);
        messages_.Warn(DisplayText(name) + text::kNotFoundSuffix);
        return {};
      }
    }
    if (hooks.findDocument) hooks.findDocument(record);
  } else {
    slot = before.PlayerSlotNo;
    playFile = before.PlayFile;
    record = lastItem_;
    if (slot < 1 || playFile.empty()) {
      messages_.Warn(text::kReplayImpossible);
      return {};
    }
    // The file may have gone meanwhile (the temporary folder is emptied by other plays).
    if (!FileExists(playFile)) {
      messages_.Beep(BeepKind::Warning);
      messages_.Warn(DisplayText(FileNameOf(playFile)) + text::kNotFoundSuffix);
      return {};
    }
  }

  if (slot == -1) {
    slot = SlotAllowsFile(playerSlots, playFile, before.PlayerSlotNo) >= 1 ? before.PlayerSlotNo
                                                                      : SlotForFile(playerSlots, playFile);
    if (slot == -1) {
      messages_.Warn(DisplayText(item.FileExt) + text::kNoPlayer);
      return {};
    }
  }
  if (slot < 1 || slot > kPlayerSlots) return {};
  if (!replay && !dry) {
    std::lock_guard lock(infoMutex_);
    info_.PlayerSlotNo = slot;
  }

  const TPlayer_data& player = playerSlots[static_cast<size_t>(slot - 1)];
  const std::string& exe = player.ExePath;
  if (exe.empty() || !FileExists(exe)) {
    messages_.Warn("Player No." + std::to_string(slot) + text::kProgramMissing);
    return {};
  }
  if (SlotAllowsFile(playerSlots, playFile, slot) == kSlotRefused) {
    const MessageAnswer answer =
        messages_.Show({MessageKind::Warning, MessageButtons::CancelIgnore, {},
                        "Player No." + std::to_string(slot) + "では、" +
                            DisplayText(ExtensionWithDot(FileNameOf(playFile))) + text::kSlotRefuses});
    if (answer != MessageAnswer::Ignore) {
      messages_.Beep(BeepKind::Warning);
      return {};
    }
  }

  PlayOutcome outcome;
  outcome.slot = slot;
  outcome.program = exe;
  if (!replay) {
    if (!dry && !SwitchFromListPlay()) return {};
    if (!dry) PurgeTemporaryFolder(settings_.tempFolder);
    if (item.ItemKind == kArchiveMember && !dry) {
      Status(0, "ファイルを解凍しています..");
      Status(1, "Melt : " + DisplayText(item.FullName()));
      if (!UnpackMember(record, folder)) return {};
      if (!FileExists(playFile)) {
        messages_.Beep(BeepKind::Warning);
        messages_.Warn(DisplayText(item.FullName()) + text::kNotFoundSuffix);
        return {};
      }
    }
    ConvertForPlaySettings conversion;
    conversion.playerSlots = settings_.playerSlots;
    conversion.smfk = settings_.smfk;
    conversion.wine = WineProgram();
    ConvertForPlay own(std::move(conversion), messages_,
                       {[this](int field, const std::string& t) { Status(field, t); }, [this] { return Closing(); },
                        [this](int ms) { clock_.Wait(ms); }, {}});
    IPlayConverter& converter = converter_ ? *converter_ : own;
    ConversionResult converted = converter.Convert({&record, slot, playFile, settings_.tempFolder, dry});
    if (converted.file.empty()) return {};
    playFile = converted.file;
    outcome.conversion = converted.conversion;
  }

  Status(0, replay ? std::string("リプレイを行います..") : DisplayText(player.DisplayName) + " を起動します..");
  Status(1, "Send: " + DisplayText(FileNameOf(playFile)));
  outcome.playFile = playFile;
  outcome.command = BuildPlayerArguments(exe, record, playFile, CommandContext(dry));
  const PlayerCommand& cmd = outcome.command;
  if (dry) {
    outcome.launched = true;
    return outcome;
  }
  {
    std::lock_guard lock(infoMutex_);
    info_.PlayFile = playFile;
  }

  // A new process, or the running player takes the file.
  const bool dde = cmd.flags & kDdeControlled;
  const LinuxPlayer* linuxPlayer = IsWindowsProgram(exe) ? nullptr : FindLinuxPlayer(exe);
  // A Linux player that is not single-instance plays each file in a process of its own:
  // the one still playing is closed first, as for another program.
  const bool reuses = EqualsIgnoreCase(exe, before.PlayerExe) && !(linuxPlayer && !linuxPlayer->singleInstance);
  bool needed;
  if (reuses) {
    needed = dde ? !(channel_ && channel_->Running()) && !(channels_ && channels_->IsRunning(exe))
                 : !(before.PlayerProcess && !before.PlayerProcess->Ended());
  } else {
    ClosePlayer();
    clock_.Wait(250);
    needed = dde ? !(channels_ && channels_->IsRunning(exe)) : true;
  }

  std::shared_ptr<SpawnedPlayer> started;
  if (!dde || needed) {
    SpawnResult spawned = SpawnProcess(cmd.argv);
    if (!spawned.process) {
      messages_.Error(text::kLaunchFailed + std::to_string(spawned.error));
      return {};
    }
    started = spawned.process;
  }
  outcome.process = started;
  outcome.newProcess = needed;
  if (needed) {
    std::lock_guard lock(infoMutex_);
    info_.PlayerProcess = started;
    info_.PlayerProcessId = started->Pid();
  } else {
    Keep(started);  // a forwarder to the running copy: reaped when it ends
  }

  bool pausable = false;
  if (!dde) {
    const TPlayInfo now = PlayInfo();
    if (now.PlayerProcess) StartWindowWatch(now.PlayerProcessId, HasLyrics(record));
    pausable = now.PlayerProcess && !now.PlayerProcess->Ended();
  } else if (channels_ && channels_->SpeaksChannel(exe)) {
    if (channel_ && channel_->Running()) {
      channel_->NewFile(playFile, cmd.extra);
    } else {
      channel_ = channels_->Create(exe);
      if (channel_) {
        const int flags = kChannelNormalPlay | ((cmd.flags & kLoopRequested) ? kChannelLoopRequested : 0);
        channel_->Start({exe, playFile, cmd.extra, flags, PlayInfo().PlayerProcessId});
      }
    }
    pausable = channel_ != nullptr;
  } else {
    ShowDdeConnectFailure();
  }

  {
    std::lock_guard lock(infoMutex_);
    info_.PlayerExe = exe;
    info_.PlayerSlotNo = slot;
  }
  lastItem_ = record;
  lastFolder_ = folder;
  SetControls({true, true, pausable});
  outcome.launched = true;
  return outcome;
}

void PlayerEngine::ShowDdeConnectFailure() {
  // No channel reaches these programs from here: the connection fails at once instead
  // of after the designed 17 attempts. Retry tries again.
  while (!Closing()) {
    const MessageAnswer answer = messages_.Show(
        {MessageKind::Warning, MessageButtons::RetryCancel, text::kDdeWarningCaption, text::kDdeConnectFailed});
    if (answer != MessageAnswer::Retry) break;
  }
}

bool PlayerEngine::SwitchFromListPlay() {
  if (!hooks.listPlayRunning || !hooks.listPlayRunning()) return true;
  messages_.Beep(BeepKind::Warning);
  if (messages_.Confirm(text::kSwitchFromListPlay) != MessageAnswer::Ok) return false;
  if (hooks.stopListPlay) hooks.stopListPlay();
  while (hooks.listPlayRunning()) {
    if (!clock_.Wait(10)) return false;
  }
  return clock_.Wait(1500);
}

bool PlayerEngine::UnpackMember(const TMusicFileInfo& item, const std::string& folder) {
  std::string members = "\"" + item.FullName() + "\"";
  if (!item.DocFile.empty() && item.DocFile.find('/') == std::string::npos) members += " \"" + item.DocFile + "\"";
  const int style = settings_.lzhMeltStyle % 10;
  std::string others;
  if (!(style == 3 || (style == 1 && !HasLyrics(item)))) {
    others = "*.*";
    for (const TFileTypeInfo& format : kFormatTable) others += " -jx*." + std::string(format.Code);
  }
  return UnpackAndWait(folder + item.Archiver, members, others, settings_.tempFolder, messages_, hooks.service,
                       [this] { return !Closing(); });
}

void PlayerEngine::StartWindowWatch(pid_t pid, bool hasLyrics) {
  windowWatch_.reset();
  windowWatch_ = std::make_unique<WindowWatchThread>(
      windows_, WindowWatchJob{pid, settings_.pwCheckTime, PlayInfo().PWcontrol1, hasLyrics});
}

void PlayerEngine::ClosePlayer() {
  const TPlayInfo info = PlayInfo();
  windowWatch_.reset();
  bool handled = false;
  if (channel_ && channel_->Running()) {
    channel_->Stop(true);
    handled = true;
  } else if (channels_ && !info.PlayerExe.empty() && channels_->SpeaksChannel(info.PlayerExe)) {
    handled = channels_->SendQuit(info.PlayerExe);
  }
  if (const auto& process = info.PlayerProcess; process && !process->Ended()) {
    // Only the player's own windows are closed; what does not go is ended by signals.
    const bool asked = handled || windows_.Close(process->Pid());
    process->Terminate(asked ? kCloseGrace : 0ms, kCloseGrace);
    Keep(process);
  }
  {
    std::lock_guard lock(infoMutex_);
    info_.PlayerProcess.reset();
    info_.PlayerProcessId = 0;
    info_.PlayerExe.clear();
    info_.PlayerSlotNo = -1;
    controls_.pause = false;
  }
}

void PlayerEngine::PlayBest(const TMusicFileInfo& item, const std::string& folder) {
  if (item.ItemKind == kParentEntry || item.ItemKind == kFolderEntry) return;
  if (item.FileType == -2) {
    OpenNonMusic(item.Archiver, item.FullName(), folder, settings_.textOpenType);
  } else if (item.FileType == -1) {
    OpenNonMusic(item.Archiver, item.FullName(), folder, 0);
  } else {
    PlayItem(item, folder, -1);
  }
}

void PlayerEngine::PlayInSlot(const TMusicFileInfo& item, const std::string& folder, int n) {
  if (item.ItemKind == kParentEntry || item.ItemKind == kFolderEntry) return;
  if (item.FileType == -1 || item.FileType == -2) {
    const MessageAnswer answer =
        messages_.Show({MessageKind::Confirmation, MessageButtons::YesNoIgnore, {}, text::kNotMusic});
    if (answer == MessageAnswer::Yes) OpenNonMusic(item.Archiver, item.FullName(), folder, 0);
    if (answer != MessageAnswer::Ignore) return;
  }
  PlayItem(item, folder, n);
}

void PlayerEngine::Replay() {
  if (hooks.listPlayRunning && hooks.listPlayRunning()) return;  // ListPlay replays by itself
  if (!Controls().replay) {
    messages_.Warn(text::kReplayImpossible);
    return;
  }
  const TMusicFileInfo item = lastItem_;
  const std::string folder = lastFolder_;
  PlayItem(item, folder, 0);
}

void PlayerEngine::PlayerExit() {
  if (!Controls().playExit) {
    messages_.Warn(text::kListPlayCannotEnd);
    return;
  }
  if (hooks.listPlayRunning && hooks.listPlayRunning()) {
    if (hooks.quitListPlay) hooks.quitListPlay();
    return;
  }
  ClosePlayer();
  SetControls({});
}

void PlayerEngine::TogglePause() {
  if (!Controls().pause) return;
  // The request follows the player's real state, so a lost request cannot invert it.
  if (channel_ && channel_->Running()) {
    if (channel_->State() == PlayerState::Paused) channel_->Resume();
    else channel_->Pause();
    return;
  }
  const TPlayInfo info = PlayInfo();
  if (!info.PlayerProcess) return;
  info.PlayerProcess->SignalGroup(info.PlayerProcess->Stopped() ? SIGCONT : SIGSTOP);
}

void PlayerEngine::PausePlayer() {
  if (channel_ && channel_->Running()) return channel_->Pause();
  if (const TPlayInfo info = PlayInfo(); info.PlayerProcess) info.PlayerProcess->SignalGroup(SIGSTOP);
}

void PlayerEngine::ResumePlayer() {
  if (channel_ && channel_->Running()) return channel_->Resume();
  if (const TPlayInfo info = PlayInfo(); info.PlayerProcess) info.PlayerProcess->SignalGroup(SIGCONT);
}

bool PlayerEngine::OpenNonMusic(const std::string& archive, const std::string& file, const std::string& folder,
                                int mode) {
  std::string base = folder;
  if (!archive.empty()) {
    if (!LhaAvailable()) {
      messages_.Beep(BeepKind::Warning);
      messages_.Error(kLhaMissingMessage);
      return false;
    }
    errno = 0;
    if (!UnpackAndWait(folder + archive, "\"" + file + "\"", "", settings_.tempFolder, messages_, hooks.service,
                       [this] { return !Closing(); })) {
      messages_.Error(text::kUnpackFailed + std::to_string(errno) + " ]");
      return false;
    }
    base = settings_.tempFolder;
  }
  windowWatch_.reset();
  const std::string target = base + file;
  Status(1, "Open: " + DisplayText(file));
  std::vector<std::string> argv;
  const std::string& viewer = settings_.textViewer;
  if (mode == 0) {
    Status(0, "関連付けで開きます..");
    argv = {"xdg-open", target};
  } else {
    Status(0, "テキストビュアーで開きます..");
    if (IsDefaultViewer(viewer)) argv = {"xdg-open", target};
    else if (IsWindowsProgram(viewer)) argv = {WineProgram(), viewer, WindowsPathOf(target)};
    else argv = {viewer, target};
  }
  SpawnResult spawned = SpawnProcess(argv);
  if (!spawned.process) {
    messages_.Error((mode == 0 ? text::kAssociationFailed : text::kViewerFailed) + std::to_string(spawned.error) +
                    " ]");
    return false;
  }
  Keep(spawned.process);
  return true;
}

}  // namespace kadrel
