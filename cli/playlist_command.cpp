// kadrel-cli playlist: the items of a play-list file, and the conversion of an old text
// list to the current binary version.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_common.h"
#include "base/encoding.h"
#include "base/message_box.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_io.h"

namespace kadrel::cli {
namespace {

// Messages go to stderr; every question is answered No.
class StderrMessageBox final : public IMessageBox {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    if (request.buttons == MessageButtons::Ok) {
      std::cerr << "kadrel-cli playlist: " << request.text << "\n";
      return MessageAnswer::Ok;
    }
    return MessageAnswer::No;
  }
  void Beep(BeepKind) override {}
};

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

bool ReadList(const std::string& path, PlayListContent& content) {
  const PlayListReadStatus status = ReadPlayListFile(path, content);
  if (status == PlayListReadStatus::Ok) return true;
  StderrMessageBox box;
  ReportPlayListReadFailure(status, path, box);
  return false;
}

struct PlaylistArgs {
  std::vector<std::string> options;  // --option NAME=VALUE
  std::vector<std::string> files;    // show: FILE.MPL...
  std::string from, to;              // convert: OLD.MPL NEW.MPL
  bool force = false;                // convert --force
};

int Show(const PlaylistArgs& args) {
  const CatalogueOptions options(args.options);
  int exitCode = kExitOk;
  for (const std::string& file : args.files) {
    PlayListContent content;
    if (!ReadList(AbsolutePath(file), content)) {
      exitCode = kExitFailure;
      continue;
    }
    for (size_t i = 0; i < content.Items.size(); ++i) {
      const TPLMusicInfo& item = content.Items[i];
      nlohmann::ordered_json j;
      j["index"] = i;
      j["folder"] = DisplayText(item.Folder);
      j["slot"] = item.Slot;
      j["record"] = RecordToJson(item.Music, options.view);
      PrintJsonLine(j);
    }
  }
  return exitCode;
}

int Convert(const PlaylistArgs& args) {
  const std::string& from = args.from;
  const std::string& to = args.to;
  PlayListContent content;
  const std::string source = AbsolutePath(from);
  if (!ReadList(source, content)) return kExitFailure;
  TPLInfo list;
  AppendPlayListContent(list, std::move(content), source);
  StderrMessageBox box;
  switch (SavePlayListFile(list, AbsolutePath(to), !args.force, box)) {
    case SaveResult::Saved: return kExitOk;
    case SaveResult::Declined: std::cerr << "kadrel-cli playlist: " << to << " exists (give --force to replace it)\n"; break;
    case SaveResult::Failed: break;
  }
  return kExitFailure;
}

// A sub-command of playlist that shares args, with the --option flag every one takes.
CLI::App* AddLeaf(CLI::App* playlist, const char* name, const char* description, std::shared_ptr<PlaylistArgs> args,
                  CommandRunner& run, int (*runner)(const PlaylistArgs&)) {
  CLI::App* leaf = playlist->add_subcommand(name, description);
  AddOptionFlag(*leaf, args->options);
  leaf->callback([&run, args, runner] { run = [args, runner] { return runner(*args); }; });
  return leaf;
}

}  // namespace

void AddPlaylistCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* playlist = app.add_subcommand("playlist", "Show play-list files; convert an old text list");
  playlist->require_subcommand(1);
  auto args = std::make_shared<PlaylistArgs>();
  AddOptionFlag(*playlist, args->options);

  CLI::App* show = AddLeaf(playlist, "show", "The items of play-list files (JSON Lines)", args, run, Show);
  show->add_option("FILE.MPL", args->files, "A play-list file")->required();

  CLI::App* convert =
      AddLeaf(playlist, "convert", "Write an old text list as a current (binary) one", args, run, Convert);
  convert->add_flag("--force", args->force, "Replace NEW.MPL when it exists");
  convert->add_option("OLD.MPL", args->from, "The old list")->required();
  convert->add_option("NEW.MPL", args->to, "The list to write")->required();
}

}  // namespace kadrel::cli
