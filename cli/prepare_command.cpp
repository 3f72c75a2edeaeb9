// kadrel-cli prepare: what continuous play would hand to the player for one file or
// archive member — unpacked, converted for its slot and moved into place — as JSON.

#include <sys/stat.h>

#include <CLI/CLI.hpp>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>

#include "archive/unlha_turn.h"
#include "base/encoding.h"
#include "base/owned_temp.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "catalog/format_table.h"
#include "cli/cli_common.h"
#include "cli/listplay_settings.h"
#include "formats/read_header_info.h"
#include "playback/listplay_launcher.h"
#include "playback/lp_convert_for_play.h"
#include "playback/lp_item_preparation.h"
#include "settings/platform_folders.h"

namespace kadrel::cli {
namespace {

struct PrepareArgs {
  int slot = 0;  // 0: the slot ListPlay would choose
  std::string out;
  std::vector<std::string> names;  // FILE, or ARCHIVE MEMBER
};

constexpr std::string_view kRunPrefix = "prepare-";

// Boxes go to standard error; questions are answered No.
class ErrorStreamBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    std::cerr << "kadrel-cli prepare: " << request.text << "\n";
    return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
  }
  void Beep(BeepKind) override {}
};

std::string Absolute(const std::string& path) {
  std::error_code ec;
  return std::filesystem::absolute(path, ec).lexically_normal().string();
}

// The play-list item for a loose file or an archive member given on the command line.
TPLMusicInfo ItemFor(const PrepareArgs& args) {
  TPLMusicInfo item;
  const std::string first = Absolute(args.names[0]);
  item.Folder = FolderOfPath(first);
  std::string name;
  if (args.names.size() == 2) {
    item.Music.ItemKind = kArchiveMember;
    item.Music.Archiver = first.substr(item.Folder.size());
    // Member names are kept as the archive stores them.
    name = PreferCp932(args.names[1]);
  } else {
    item.Music.ItemKind = kLooseFile;
    name = first.substr(item.Folder.size());
  }
  item.Music.FileExt = ExtensionWithDot(name);
  item.Music.FileName = name.substr(0, name.size() - item.Music.FileExt.size());
  item.Music.FileType = FormatRowForFileName(name);
  if (item.Music.ItemKind == kLooseFile) ReadHeaderInfo(item.Folder, item.Music, HeaderReadOptions{});
  if (args.slot > 0) item.Slot = args.slot;
  return item;
}

// Folders of earlier runs whose process has gone are removed with what they hold.
void RemoveGoneRunFolders(const std::string& temp) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(temp, ec)) {
    std::error_code typeError;
    if (entry.is_directory(typeError) && !entry.is_symlink(typeError) &&
        MadeByGoneProcess(entry.path().filename().string(), kRunPrefix))
      std::filesystem::remove_all(entry.path(), typeError);
  }
}

int RunPrepare(const PrepareArgs& args) {
  if (args.names.empty() || args.names.size() > 2) throw UsageError{"give a FILE, or an ARCHIVE and a MEMBER"};
  if (args.slot < 0 || args.slot > kPlayerSlots) throw UsageError{"--slot takes a slot number 1 to 6"};

  ListPlaySettings settings = LoadListPlaySettings();
  std::string folder;
  if (!args.out.empty()) {
    folder = WithTrailingSlash(Absolute(args.out));
    if (!MakeFolders(folder)) folder.clear();
  } else if (MakeFolders(settings.launcher.tempFolder)) {
    // A folder of this run's own, left for the caller; a later run removes it.
    const std::string temp = WithTrailingSlash(settings.launcher.tempFolder);
    RemoveGoneRunFolders(temp);
    folder = temp + OwnedTempName(kRunPrefix) + "/";
    if (::mkdir(folder.c_str(), 0700) != 0) folder.clear();
  }
  if (folder.empty()) {
    std::cerr << "kadrel-cli prepare: no folder to prepare in could be made\n";
    return kExitFailure;
  }
  settings.launcher.tempFolder = folder;

  const TPLMusicInfo item = ItemFor(args);
  const int slot = ChooseListPlaySlot(settings.launcher.playerSlots, item, 0);

  ErrorStreamBox box;
  ConversionResult conversion;
  TUnLhaManagement turns;
  LpItemPreparation preparation(
      {folder, settings.lzhMeltStyle}, turns,
      MakeListPlayConversion(ConversionSettings(settings), box, {},
                             [&conversion](const ConversionResult& r) { conversion = r; }));
  const auto start = std::chrono::steady_clock::now();
  ListPlayPrepared prepared;
  const int result = preparation.Prepare(item, std::max(slot, 0), prepared, [] { return false; });
  if (result == kPrepareOk) preparation.Stage(prepared);
  const auto ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

  nlohmann::ordered_json j;
  j["destination"] = result == kPrepareOk ? nlohmann::ordered_json(DisplayText(prepared.FileToPlay)) : nullptr;
  j["slot"] = slot > 0 ? nlohmann::ordered_json(slot) : nullptr;
  j["conversion"] = PlayConversionName(conversion.conversion);
  j["module"] = conversion.module.empty() ? nullptr : nlohmann::ordered_json(DisplayText(conversion.module));
  j["result"] = result;
  j["ms"] = static_cast<double>(static_cast<int64_t>(ms * 1000)) / 1000;
  PrintJsonLine(j);
  return result == kPrepareOk ? kExitOk : kExitFailure;
}

}  // namespace

void AddPrepareCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* cmd =
      app.add_subcommand("prepare", "Unpack and convert one file as continuous play would, and say what plays");
  auto args = std::make_shared<PrepareArgs>();
  cmd->add_option("--slot", args->slot, "The player slot (1 to 6); default: the one continuous play chooses");
  cmd->add_option("--out", args->out, "The folder to prepare in; default: a new folder under the temporary folder");
  cmd->add_option("FILE", args->names, "A music file, or an LZH archive followed by the member's name")
      ->required()
      ->expected(1, 2);
  cmd->footer("Prints one JSON object: destination, slot, conversion, module, result, ms.");
  cmd->callback([&run, args] { run = [args] { return RunPrepare(*args); }; });
}

}  // namespace kadrel::cli
