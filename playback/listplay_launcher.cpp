#include "playback/listplay_launcher.h"

#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <memory>

#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "playback/player_command.h"
#include "playback/player_process.h"
#include "playback/short_name_stage.h"
#include "playback/slot_choice.h"
#include "playback/temp_purge.h"
#include "settings/platform_folders.h"

namespace kadrel {
namespace {

using namespace std::chrono_literals;

// The player asked to close gets this long before SIGTERM, and as long again before SIGKILL.
constexpr auto kCloseGrace = 2000ms;
// Close waits at most this long for the process to be gone after SIGKILL was due.
constexpr auto kCloseWaitLimit = 10000ms;

std::string WineProgram() {
  const char* path = std::getenv("PATH");
  std::string wine = FindProgramOnPath(path ? path : "", {"wine"});
  return wine.empty() ? std::string("wine") : wine;
}

// The end notice, passed on at most once and never after Close has returned. The
// engine's wake takes the engine's lock, so the notice is sent with only this guard held.
class EndNotice {
 public:
  explicit EndNotice(std::function<void()> onEnded) : onEnded_(std::move(onEnded)) {}
  void Send() {
    std::lock_guard lock(mutex_);
    if (onEnded_) onEnded_();
    onEnded_ = nullptr;
  }
  void Disable() {
    std::lock_guard lock(mutex_);
    onEnded_ = nullptr;
  }

 private:
  std::mutex mutex_;
  std::function<void()> onEnded_;
};

class ProcessListPlayPlayer final : public IListPlayPlayer {
 public:
  ProcessListPlayPlayer(std::shared_ptr<SpawnedPlayer> process, std::function<void()> onEnded)
      : process_(std::move(process)), notice_(std::make_shared<EndNotice>(std::move(onEnded))) {
    process_->SetEndHandler([notice = notice_] { notice->Send(); });
  }
  ~ProcessListPlayPlayer() override { Close(); }

  bool HasEnded() override { return process_->Ended(); }
  bool EndedWithFailure() override {
    if (!process_->Ended()) return false;
    const std::optional<int> status = process_->WaitStatus();
    return status && !(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
  }
  void Pause() override { process_->SignalGroup(SIGSTOP); }
  void Resume() override { process_->SignalGroup(SIGCONT); }
  void Close() override {
    if (!process_->Ended()) {
      // Terminate continues a paused group before it asks it to end.
      process_->Terminate(0ms, kCloseGrace);
      process_->WaitForExit(kCloseGrace + kCloseWaitLimit);
    }
    notice_->Disable();
  }

 private:
  std::shared_ptr<SpawnedPlayer> process_;
  std::shared_ptr<EndNotice> notice_;
};

class VirtualListPlayPlayer final : public IListPlayPlayer {
 public:
  bool HasEnded() override { return true; }
  bool EndedWithFailure() override { return false; }
  void Pause() override {}
  void Resume() override {}
  void Close() override {}
};

// The record BuildPlayerArguments needs for a file that is only known by its path.
TMusicFileInfo RecordForFile(const std::string& file) {
  TMusicFileInfo r;
  const std::string name = file.substr(file.rfind('/') + 1);
  r.FileName = NameWithoutExtension(name);
  r.FileExt = ExtensionWithDot(name);
  const int row = FormatRowForFileName(name);
  r.FileType = row < kFormatCount ? row : -1;
  return r;
}

}  // namespace

int ChooseListPlaySlot(const PlayerSlots& playerSlots, const TPLMusicInfo& item, int lastSlot) {
  const std::string name = item.Music.FullName();
  if (item.Slot >= 1 && item.Slot <= kPlayerSlots)
    return SlotAllowsFile(playerSlots, name, item.Slot) == kSlotRefused ? kSlotRefusesFile : item.Slot;
  if (lastSlot >= 1 && lastSlot <= kPlayerSlots && SlotAllowsFile(playerSlots, name, lastSlot) != kSlotRefused)
    return lastSlot;
  const int slot = ListPlaySlotForFile(playerSlots, name);
  return slot >= 1 ? slot : kNoSlotForFile;
}

ListPlayLauncher::ListPlayLauncher(ListPlayLauncherSettings settings, ListPlayLaunchObserver observer)
    : settings_(std::move(settings)), observer_(std::move(observer)) {}

int ListPlayLauncher::ChooseSlot(const TPLMusicInfo& item, int lastSlot) {
  return ChooseListPlaySlot(settings_.playerSlots, item, lastSlot);
}

std::vector<std::string> ListPlayLauncher::ArgumentsFor(int slot, const std::string& file, bool dryRun) const {
  if (slot < 1 || slot > kPlayerSlots) return {};
  const std::string& program = settings_.playerSlots[static_cast<size_t>(slot - 1)].ExePath;
  if (program.empty()) return {};
  PlayerCommandContext context;
  context.playerDetailInfo = settings_.playerDetailInfo;
  context.wine = WineProgram();
  const std::string folder = settings_.tempFolder;
  context.shortPath = [folder, dryRun](const std::string& path) {
    return IsOwnPrivateFolder(folder) ? StageShortName(path, folder, dryRun) : path;
  };
  return BuildPlayerArguments(program, RecordForFile(file), file, context).argv;
}

ListPlayLaunchOutcome ListPlayLauncher::Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) {
  const std::vector<std::string> argv = ArgumentsFor(launch.Slot, launch.File, false);
  if (observer_) observer_(launch.Slot, launch.File, argv);
  if (argv.empty()) return {nullptr, ENOENT};
  SpawnResult spawned = SpawnProcess(argv);
  if (!spawned.process) return {nullptr, spawned.error};
  return {std::make_unique<ProcessListPlayPlayer>(std::move(spawned.process), std::move(onEnded)), 0};
}

DryRunListPlayLauncher::DryRunListPlayLauncher(ListPlayLauncherSettings settings, ListPlayLaunchObserver observer)
    : real_(std::move(settings)), observer_(std::move(observer)) {}

int DryRunListPlayLauncher::ChooseSlot(const TPLMusicInfo& item, int lastSlot) {
  const int slot = real_.ChooseSlot(item, lastSlot);
  return slot == kNoSlotForFile ? 1 : slot;
}

ListPlayLaunchOutcome DryRunListPlayLauncher::Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) {
  {
    std::lock_guard lock(mutex_);
    ++launches_;
  }
  if (observer_) observer_(launch.Slot, launch.File, real_.ArgumentsFor(launch.Slot, launch.File, true));
  if (onEnded) onEnded();
  return {std::make_unique<VirtualListPlayPlayer>(), 0};
}

int DryRunListPlayLauncher::Launches() const {
  std::lock_guard lock(mutex_);
  return launches_;
}

}  // namespace kadrel
