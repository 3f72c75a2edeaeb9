// kadrel-cli rename: the rename of the window for scripts.
//
//   rename PATH NEWNAME                 a loose file or a folder
//   rename ARCHIVE MEMBER NEWNAME       a member of an LZH archive
//
// The folder's index block follows. Prints one JSON object; a refusal prints the
// window's message on standard error and exits with 1.

#include <sys/stat.h>

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/cli_common.h"
#include "cli/cli_view.h"
#include "archive/unlha_turn.h"
#include "base/encoding.h"
#include "base/path_helpers.h"
#include "base/text_helpers.h"
#include "index/folder_index.h"
#include "rename/rename_engine.h"
#include "rename/rename_index.h"
#include "settings/platform_folders.h"

namespace kadrel::cli {
namespace {

struct RenameArgs {
  std::vector<std::string> options;
  std::string path, name, newName;  // PATH NEWNAME, or ARCHIVE MEMBER NEWNAME
};

// The folder (absolute, ending in "/") and the last name of `path`.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec).lexically_normal();
  if (!p.has_filename()) p = p.parent_path();  // "dir/" names the folder
  return {WithTrailingSlash(p.parent_path().string()), p.filename().string()};
}

const char* StatusName(RenameStatus s) {
  switch (s) {
    case RenameStatus::Renamed: return "renamed";
    case RenameStatus::Unchanged: return "unchanged";
    case RenameStatus::Refused: return "refused";
    case RenameStatus::Forgotten: return "missing";
  }
  return "?";
}

const char* BlockName(BlockUpdate b) {
  switch (b) {
    case BlockUpdate::NoBlock: return "none";
    case BlockUpdate::Saved: return "updated";
    case BlockUpdate::Failed: return "failed";
  }
  return "?";
}

int Run(const RenameArgs& args) {
  CatalogueOptions options(args.options);
  if (options.main.IndexFolder.empty()) options.main.IndexFolder = DefaultPlatformFolders().index;
  const bool member = !args.newName.empty();
  const auto [folder, name] = SplitPath(args.path);
  const std::string& newName = member ? args.newName : args.name;
  if (name.empty()) throw UsageError{"no name to rename in " + args.path};

  TMusicFileInfo entry;
  RenameFields fields;
  struct stat st {};
  const bool isFolder = !member && ::stat((folder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  if (member) {
    const std::optional<std::string> memberName = Utf8ToCp932(args.name);
    if (!memberName) throw UsageError{"the member name has no Shift-JIS form: " + args.name};
    entry.ItemKind = kArchiveMember;
    entry.FileName = NameWithoutExtension(*memberName);
    entry.FileExt = ExtensionWithDot(*memberName);
    entry.Archiver = name;
  } else if (isFolder) {
    entry.ItemKind = kFolderEntry;
    entry.FileType = -1;
    entry.FileName = name;
  } else {
    entry.ItemKind = kLooseFile;
    entry.FileName = NameWithoutExtension(name);
    entry.FileExt = ExtensionWithDot(name);
  }
  fields = InitialRenameFields(entry);
  if (isFolder) {
    fields.fileName = newName;
    fields.fileType.clear();
  } else {
    // As in the window, only the name before the extension changes (its letter case may).
    if (!EqualsIgnoreCase(ExtensionWithDot(newName), DisplayText(entry.FileExt)))
      throw UsageError{"the extension cannot be changed (" + DisplayText(entry.FileExt) + ")"};
    fields.fileName = NameWithoutExtension(newName);
    fields.fileType = ExtensionWithoutDot(newName);
  }

  StderrMessageBox messages;
  RenameEngine engine(messages, UnLhaManagement());
  const RenameOutcome out = engine.Apply(entry, fields, folder, nullptr);
  BlockUpdate block = BlockUpdate::NoBlock;
  if (out.status == RenameStatus::Renamed && !isFolder) {
    TFolderIndex index(options.main, messages);
    block = RenameInIndexBlock(index, folder, out);
  }
  nlohmann::ordered_json j;
  j["result"] = StatusName(out.status);
  j["kind"] = member ? "member" : isFolder ? "folder" : "file";
  j["folder"] = DisplayText(folder);
  if (member) {
    j["archive"] = DisplayText(out.oldArchive);
    j["newArchive"] = DisplayText(out.status == RenameStatus::Renamed ? out.entry.Archiver : out.oldArchive);
  }
  j["old"] = DisplayText(out.oldName);
  j["new"] = DisplayText(out.status == RenameStatus::Renamed ? out.entry.FullName() : out.oldName);
  j["index"] = BlockName(block);
  PrintJsonLine(j);
  const bool done = out.status == RenameStatus::Renamed || out.status == RenameStatus::Unchanged;
  return done && block != BlockUpdate::Failed ? kExitOk : kExitFailure;
}

}  // namespace

void AddRenameCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* rename = app.add_subcommand("rename", "Rename a file, a folder, or a member of an LZH archive");
  auto args = std::make_shared<RenameArgs>();
  AddOptionFlag(*rename, args->options);
  rename->add_option("PATH", args->path, "The file or folder; with MEMBER: the archive")->required();
  rename->add_option("NAME", args->name, "The new name; with three words: the member to rename")->required();
  rename->add_option("NEWNAME", args->newName, "The member's new name");
  rename->footer(
      "A music file keeps its extension. Nothing is ever replaced: a name taken by another\n"
      "entry, also in other letter case, is refused. The folder's index block follows.");
  rename->callback([&run, args] { run = [args] { return Run(*args); }; });
}

}  // namespace kadrel::cli
