// kadrel-cli play: plays one file (or one member of an LZH archive) the way the window's
// play command does, on the record the folder scan makes for it, and prints what was
// started as one JSON object.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>

#include "base/encoding.h"
#include "base/owned_temp.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "cli/cli_common.h"
#include "cli/listplay_settings.h"
#include "cli/cli_view.h"
#include "playback/player_engine.h"
#include "scan/document_step.h"
#include "scan/lzh_archive_port.h"
#include "settings/linux_players.h"
#include "settings/platform_folders.h"
#include "settings/settings_store.h"
#include "settings/startup_settings.h"

namespace kadrel::cli {
namespace {

struct PlayArgs {
  std::vector<std::string> options;
  int slot = -1;
  bool dryRun = false;
  bool wait = false;
  std::string file;
  std::string member;
};

// The player settings of the user's store, read without changing it. Without a store
// the slots are those a first start would register.
PlayerEngineSettings LoadPlaySettings() {
  PlayerEngineSettings s;
  const PlatformFolders platform = DefaultPlatformFolders();
  auto store = SettingsStore::Open(SettingsDatabasePath(platform.config), nullptr, {.readOnly = true});
  if (!store) {
    s.playerSlots = FirstStartPlayerSlots();
    s.tempFolder = platform.temp;
    return s;
  }
  RegTreat reg(*store, platform.config);
  const SupportLibraries libraries = DetectSupportLibraries();
  MainSettings main;
  LoadMainSettings(reg, libraries, main);
  const ViewSettings view = LoadViewSettings(reg);
  s.playerSlots = main.Players;
  s.playerDetailInfo = main.PlayerDetailInfo;
  s.textViewer = main.Main.TextViewer;
  s.textOpenType = main.Main.TextOpenType;
  s.lzhMeltStyle = main.Main.LzhMeltStyle;
  s.smfk = main.Smfk;
  s.pwControl1 = view.PWcontrol1;
  s.pwControl2 = view.PWcontrol2;
  s.pwCheckTime = view.Window.PWCheckTime;
  s.tempFolder = ResolveWorkingFolders(reg, platform).temp;
  return s;
}

// The folder's records as the scan makes them (no index: the run leaves nothing behind).
std::vector<std::unique_ptr<TMusicFileInfo>> ScanFolder(const std::string& folder, const CatalogueOptions& options,
                                                        const std::string& workFolder, IMessageBox& messages) {
  SortState sort;
  CliScanView view(sort, false, false);
  DirectWindowBridge bridge;
  LzhArchivePort archives;
  FolderScanController controller(bridge, view, view, messages);
  ScanSettings settings;
  settings.main = options.main;
  settings.view = options.view;
  settings.workFolder = workFolder;
  settings.useIndex = false;
  controller.SetSettings(settings);
  controller.SetArchivePort(&archives);
  controller.SetDocumentStep(MakeDocumentStep(options.main, messages));
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  controller.onPassFinished = [&](bool) {
    std::lock_guard lock(mutex);
    finished = true;
    done.notify_all();
  };
  controller.ShowFolder(folder, {});
  {
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return finished; });
  }
  std::vector<std::unique_ptr<TMusicFileInfo>> out;
  for (const auto& r : view.List()) out.push_back(std::make_unique<TMusicFileInfo>(*r));
  return out;
}

TMusicFileInfo FindRecord(const std::vector<std::unique_ptr<TMusicFileInfo>>& list, const std::string& name,
                          const std::string& member) {
  const std::string wanted = member.empty() ? name : MemberBaseName(member);
  for (const auto& r : list) {
    if (member.empty() && r->ItemKind == kLooseFile && r->FullName() == name) return *r;
    if (!member.empty() && r->ItemKind == kArchiveMember && EqualsIgnoreCase(r->Archiver, name) &&
        EqualsIgnoreCase(r->FullName(), wanted))
      return *r;
  }
  // Not listed (missing, or no music): the record a play command would still meet.
  TMusicFileInfo r;
  r.ItemKind = member.empty() ? kLooseFile : kArchiveMember;
  r.FileName = NameWithoutExtension(wanted);
  r.FileExt = ExtensionWithDot(wanted);
  const int row = FormatRowForFileName(wanted);
  r.FileType = row < kFormatCount ? row : -1;
  if (!member.empty()) r.Archiver = name;
  return r;
}

nlohmann::ordered_json OutcomeJson(const PlayOutcome& out) {
  nlohmann::ordered_json j;
  j["slot"] = out.slot;
  j["program"] = DisplayText(out.program);
  nlohmann::ordered_json argv = nlohmann::ordered_json::array();
  for (const std::string& a : out.command.argv) argv.push_back(DisplayText(a));
  j["argv"] = argv;
  j["commandLine"] = DisplayText(out.command.commandLine);
  j["fileArg"] = DisplayText(out.command.fileArg);
  nlohmann::ordered_json flags = nlohmann::ordered_json::array();
  if (out.command.flags & kDdeControlled) flags.push_back("DdeControlled");
  if (out.command.flags & kLoopRequested) flags.push_back("LoopRequested");
  j["flags"] = flags;
  j["extra"] = DisplayText(out.command.extra);
  j["playFile"] = DisplayText(out.playFile);
  j["conversion"] = PlayConversionName(out.conversion);
  return j;
}

// Work folders of earlier runs whose process has gone are removed with what they hold.
void RemoveGoneRunFolders(const std::string& temp) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(temp, ec)) {
    std::error_code typeError;
    if (entry.is_directory(typeError) && !entry.is_symlink(typeError) &&
        MadeByGoneProcess(entry.path().filename().string(), "play-"))
      std::filesystem::remove_all(entry.path(), typeError);
  }
}

int RunPlay(const PlayArgs& args) {
  const CatalogueOptions options(args.options);
  if (args.slot < -1 || args.slot == 0 || args.slot > kPlayerSlots)
    throw UsageError{"--slot takes a slot number 1 to 6"};
  std::error_code ec;
  const std::string path = std::filesystem::absolute(args.file, ec).lexically_normal().string();
  const size_t slash = path.rfind('/');
  const std::string folder = path.substr(0, slash + 1);
  const std::string name = path.substr(slash + 1);

  PlayerEngineSettings settings = LoadPlaySettings();
  // Each run plays from a private folder of its own: the window's temporary files and
  // those of another run are never touched.
  std::string runFolder;
  if (!args.dryRun && MakeFolders(settings.tempFolder)) {
    RemoveGoneRunFolders(settings.tempFolder);
    runFolder = WithTrailingSlash(settings.tempFolder) + OwnedTempName("play-") + "/";
    if (::mkdir(runFolder.c_str(), 0700) != 0) runFolder.clear();
  }
  settings.tempFolder = runFolder.empty() ? WithTrailingSlash(settings.tempFolder) : runFolder;

  StderrMessageBox messages;
  const auto list = ScanFolder(folder, options, settings.tempFolder, messages);
  const TMusicFileInfo record = FindRecord(list, name, args.member);
  const std::string itemFolder = folder;

  SteadyPlayClock clock;
  NullWindowWatcher windows;
  PlayerEngine engine(settings, messages, clock, windows);
  const auto start = std::chrono::steady_clock::now();
  PlayOutcome out = engine.PlayItem(record, itemFolder, args.slot, {args.dryRun});
  if (!out.launched) {
    if (!runFolder.empty()) std::filesystem::remove_all(runFolder, ec);
    return kExitFailure;
  }
  nlohmann::ordered_json j = OutcomeJson(out);
  if (out.process) j["pid"] = out.process->Pid();
  if (args.wait && out.process) {
    out.process->WaitForExit(std::chrono::hours(24 * 365));
    const auto ended = out.process->EndedAt().value_or(std::chrono::steady_clock::now());
    const int status = out.process->WaitStatus().value_or(-1);
    j["exit"] = status < 0 ? -1 : WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    j["ms"] = std::chrono::duration_cast<std::chrono::milliseconds>(ended - start).count();
    if (!runFolder.empty()) std::filesystem::remove_all(runFolder, ec);
  }
  PrintJsonLine(j);
  return kExitOk;
}

}  // namespace

void AddPlayCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* play = app.add_subcommand("play", "Play a file (or a member of an LZH archive) as the window does");
  auto args = std::make_shared<PlayArgs>();
  play->add_option("--slot", args->slot, "The player slot (1-6); without it the best slot for the file");
  play->add_flag("--dry-run", args->dryRun, "Print the command that would run; start and prepare nothing");
  play->add_flag("--wait", args->wait, "Wait for the player to end; print its exit status and the time");
  AddOptionFlag(*play, args->options);
  play->add_option("FILE", args->file, "A music file, or an LZH archive when MEMBER follows")->required();
  play->add_option("MEMBER", args->member, "A member of the archive FILE");
  play->callback([&run, args] { run = [args] { return RunPlay(*args); }; });
}

}  // namespace kadrel::cli
