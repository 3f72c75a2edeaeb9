// kadrel-cli index: show, refresh and delete folder blocks of index files.
//
//   index show [FILE | --folder DIR]   blocks and records as JSON Lines
//   index refresh [--level 1|2] [FILE | --folder DIR]
//   index delete DIR

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_common.h"
#include "cli/cli_view.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "archive/lha_unpack.h"
#include "index/folder_index.h"
#include "index/index_format.h"
#include "index/index_refresh.h"
#include "settings/platform_folders.h"

namespace kadrel::cli {
namespace {

std::string AbsoluteFolder(const std::string& folder) {
  std::error_code ec;
  std::string absolute = std::filesystem::absolute(folder, ec).lexically_normal().string();
  return WithTrailingSlash(ec ? folder : absolute);
}

struct Target {
  std::string file;    // the index file
  std::string folder;  // with --folder: the folder whose block is wanted
};

// The index file named by FILE, or the one that holds DIR's block (--folder DIR; the
// current folder when neither is given).
Target ResolveTarget(const std::string& file, const std::string& folder, const TFolderIndex& index) {
  Target t;
  t.file = file;
  if (t.file.empty()) {
    t.folder = AbsoluteFolder(folder.empty() ? "." : folder);
    t.file = index.IndexPathFor(t.folder);
    if (t.file.empty()) throw UsageError{"no index file is known for " + t.folder};
  }
  return t;
}

// What every index sub-command is given.
struct IndexArgs {
  std::vector<std::string> options;  // --option NAME=VALUE
  std::string file;                  // show, refresh: FILE
  std::string folder;                // show, refresh: --folder DIR; delete: DIR
  int level = 1;                     // refresh --level
};

// The settings with the --option values; the index folder defaults to the user's cache.
CatalogueOptions LoadOptions(const IndexArgs& args) {
  CatalogueOptions options(args.options);
  if (options.main.IndexFolder.empty()) options.main.IndexFolder = DefaultPlatformFolders().index;
  return options;
}

nlohmann::ordered_json BlockToJson(const FolderBlock& b, size_t records) {
  nlohmann::ordered_json j;
  j["block"] = b.offset;
  j["folder"] = DisplayText(b.folder);
  j["length"] = b.length;
  j["sound"] = b.sound;
  j["records"] = records;
  return j;
}

int Show(const IndexArgs& args) {
  const CatalogueOptions options = LoadOptions(args);
  StderrMessageBox messages;
  TFolderIndex index(options.main, messages);
  const Target t = ResolveTarget(args.file, args.folder, index);
  if (!index.LoadIndexFile(t.file)) {
    std::cerr << "kadrel-cli index: " << t.file << ": the index file cannot be read\n";
    return kExitFailure;
  }
  if (!HasIndexHeader(index.Image())) {
    std::cerr << "kadrel-cli index: " << t.file << ": not an index file (foreign header)\n";
    return kExitFailure;
  }
  bool found = t.folder.empty();
  for (const FolderBlock& b : ListBlocks(index.Image())) {
    if (!t.folder.empty() && b.folder != t.folder) continue;
    found = true;
    const auto records = TFolderIndex::BlockRecords(index.Image(), b.offset);
    PrintJsonLine(BlockToJson(b, records.size()));
    for (const TMusicFileInfo& r : records) {
      nlohmann::ordered_json j;
      j["folder"] = DisplayText(b.folder);
      const nlohmann::ordered_json fields = RecordToJson(r, options.view);
      for (auto& [key, value] : fields.items()) j[key] = value;
      PrintJsonLine(j);
    }
  }
  if (!found) {
    std::cerr << "kadrel-cli index: " << t.folder << " has no block in " << t.file << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

int Refresh(const IndexArgs& args) {
  const CatalogueOptions options = LoadOptions(args);
  StderrMessageBox messages;
  TFolderIndex index(options.main, messages, [](int panel, const std::string& text) {
    if (panel == 0 && !text.empty()) std::cerr << "kadrel-cli index: " << text << "\n";
  });
  const Target t = ResolveTarget(args.file, args.folder, index);
  if (!index.LoadIndexFile(t.file)) {
    std::cerr << "kadrel-cli index: " << t.file << ": the index file cannot be read\n";
    return kExitFailure;
  }
  RefreshView view;
  view.addRow = [](const RefreshFinding& f) {
    nlohmann::ordered_json j;
    j["Folder"] = DisplayText(f.folder);
    j["FileName"] = DisplayText(f.fileName);
    j["ArcFile"] = DisplayText(f.arcFile);
    j["Error"] = f.error;
    PrintJsonLine(j);
  };
  IndexRefresher refresher(
      index,
      CaseBlindPresence([](const std::string& folder, const std::string& name, const std::string& archive) {
        return CheckItemPresence(folder, name, archive);
      }),
      view);
  const RefreshResult result = refresher.RefreshIndex(args.level);
  if (result == RefreshResult::NoFile) std::cerr << "kadrel-cli index: " << t.file << ": no index file\n";
  if (result == RefreshResult::Foreign) std::cerr << "kadrel-cli index: " << t.file << ": not an index file\n";
  return result == RefreshResult::Done ? kExitOk : kExitFailure;
}

int Delete(const IndexArgs& args) {
  const CatalogueOptions options = LoadOptions(args);
  const std::string folder = AbsoluteFolder(args.folder);
  StderrMessageBox messages;
  TFolderIndex index(options.main, messages);
  const std::string file = index.IndexPathFor(folder);
  if (file.empty() || !index.LoadIndexFile(file)) {
    std::cerr << "kadrel-cli index: no index file for " << folder << "\n";
    return kExitFailure;
  }
  const bool had = FindFolderBlock(index.Image(), folder).has_value();
  if (!index.DeleteFolderBlock(folder, false)) return kExitFailure;
  std::cerr << "kadrel-cli index: " << folder << (had ? ": block deleted from " : ": no block in ") << file << "\n";
  return kExitOk;
}

// Adds a sub-command of index that shares args, with the --option flag every one takes.
CLI::App* AddLeaf(CLI::App* index, const char* name, const char* description, std::shared_ptr<IndexArgs> args,
                  CommandRunner& run, int (*runner)(const IndexArgs&)) {
  CLI::App* leaf = index->add_subcommand(name, description);
  AddOptionFlag(*leaf, args->options);
  leaf->callback([&run, args, runner] { run = [args, runner] { return runner(*args); }; });
  return leaf;
}

// FILE or --folder DIR, not both.
void AddTarget(CLI::App* leaf, IndexArgs& args) {
  CLI::Option* file = leaf->add_option("FILE", args.file, "The index file");
  leaf->add_option("--folder", args.folder, "The index file that holds DIR's block; that block only")
      ->type_name("DIR")
      ->excludes(file);
}

}  // namespace

void AddIndexCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* index = app.add_subcommand("index", "Show, refresh and delete folder blocks of index files");
  index->require_subcommand(1);
  index->footer("Without FILE or --folder, the index file of the current folder is used.");
  auto args = std::make_shared<IndexArgs>();
  AddOptionFlag(*index, args->options);

  CLI::App* show = AddLeaf(index, "show", "Blocks and records of an index file (JSON Lines)", args, run, Show);
  AddTarget(show, *args);

  CLI::App* refresh = AddLeaf(index, "refresh", "Remove damaged blocks and what is gone from disk (JSON Lines)",
                              args, run, Refresh);
  const CLI::Validator oneOrTwo(
      [](std::string& value) -> std::string {
        return value == "1" || value == "2" ? "" : "takes 1 or 2 (got \"" + value + "\")";
      },
      "");
  refresh->add_option("--level", args->level, "1: folder blocks; 2: also every record (its file or archive)")
      ->type_name("1|2")
      ->capture_default_str()
      ->check(oneOrTwo);
  AddTarget(refresh, *args);

  CLI::App* remove = AddLeaf(index, "delete", "Forget a folder's index block", args, run, Delete);
  remove->add_option("DIR", args->folder, "The folder")->required();
}

}  // namespace kadrel::cli
