// kadrel-cli index: show, refresh and delete folder blocks of index files.
//
//   index show [FILE | --folder DIR]   blocks and records as JSON Lines
//   index refresh --level 1|2 [FILE | --folder DIR]
//   index delete DIR

#include <filesystem>
#include <iostream>

#include "cli/cli_common.h"
#include "cli/cli_view.h"
#include "base/encoding.h"
#include "base/text_helpers.h"
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

// Takes FILE or --folder DIR out of the remaining arguments.
Target TakeTarget(std::vector<std::string>& args, const TFolderIndex& index) {
  Target t;
  std::string folder;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--folder") {
      if (i + 1 >= args.size()) throw UsageError{"--folder needs a folder"};
      folder = args[++i];
    } else if (a.rfind("--folder=", 0) == 0) {
      folder = a.substr(9);
    } else if (!a.empty() && a[0] == '-') {
      throw UsageError{"unknown option " + a};
    } else if (t.file.empty()) {
      t.file = a;
    } else {
      throw UsageError{"only one index file can be given"};
    }
  }
  if (!t.file.empty() && !folder.empty()) throw UsageError{"give an index FILE or --folder DIR, not both"};
  if (t.file.empty()) {
    t.folder = AbsoluteFolder(folder.empty() ? "." : folder);
    t.file = index.IndexPathFor(t.folder);
    if (t.file.empty()) throw UsageError{"no index file is known for " + t.folder};
  }
  return t;
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

int Show(std::vector<std::string> args, CatalogueOptions& options) {
  StderrMessageBox messages;
  TFolderIndex index(options.main, messages);
  const Target t = TakeTarget(args, index);
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

int Refresh(std::vector<std::string> args, CatalogueOptions& options) {
  int level = 1;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string value;
    if (args[i] == "--level" && i + 1 < args.size()) {
      value = args[i + 1];
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
    } else if (args[i].rfind("--level=", 0) == 0) {
      value = args[i].substr(8);
      args.erase(args.begin() + static_cast<long>(i));
    } else {
      continue;
    }
    if (value != "1" && value != "2") throw UsageError{"--level takes 1 or 2"};
    level = value[0] - '0';
    break;
  }
  StderrMessageBox messages;
  TFolderIndex index(options.main, messages, [](int panel, const std::string& text) {
    if (panel == 0 && !text.empty()) std::cerr << "kadrel-cli index: " << text << "\n";
  });
  const Target t = TakeTarget(args, index);
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
  const int result = refresher.RefreshIndex(level);
  if (result == kRefreshNoFile) std::cerr << "kadrel-cli index: " << t.file << ": no index file\n";
  if (result == kRefreshForeign) std::cerr << "kadrel-cli index: " << t.file << ": not an index file\n";
  return result == kRefreshDone ? kExitOk : kExitFailure;
}

int Delete(std::vector<std::string> args, CatalogueOptions& options) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') throw UsageError{"index delete takes one folder"};
  const std::string folder = AbsoluteFolder(args[0]);
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

}  // namespace

int RunIndex(std::vector<std::string> args) {
  CatalogueOptions options;
  TakeOptionArguments(args, options);
  if (options.main.IndexFolder.empty()) options.main.IndexFolder = DefaultPlatformFolders().index;
  if (args.empty()) throw UsageError{"index needs show, refresh or delete"};
  const std::string sub = args[0];
  args.erase(args.begin());
  if (sub == "show") return Show(std::move(args), options);
  if (sub == "refresh") return Refresh(std::move(args), options);
  if (sub == "delete") return Delete(std::move(args), options);
  throw UsageError{"unknown index command " + sub + " (show, refresh, delete)"};
}

}  // namespace kadrel::cli
