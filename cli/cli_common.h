#pragma once
// Shared pieces of the command-line tool's sub-commands.
//
// Each sub-command file registers its CLI11 sub-command (options, positionals, help)
// with an Add...Command function; the sub-command's callback stores the run, with the
// parsed arguments, in the CommandRunner that main() calls once parsing has succeeded.

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

#include "catalog/music_file_info.h"
#include "catalog/options.h"

namespace CLI {
class App;
}

namespace kadrel::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A usage fault found only while the command runs (a value CLI11 cannot check);
// main() reports it like a parse error, with exit code 2.
struct UsageError {
  std::string message;
};

// The chosen sub-command with its parsed arguments; returns the process exit code.
using CommandRunner = std::function<int()>;

// Options every catalogue sub-command works with: the user's settings (read, never
// changed), then the --option values given for this run.
struct CatalogueOptions {
  TMainOption main;
  TListViewOption view;
  TWindowOption window;
  std::vector<int32_t> columns;  // visible file-list columns
  int32_t sortItem = 0;
  int32_t sortType = 0;

  // Applies the "NAME=VALUE" assignments in order; throws UsageError for a bad one.
  explicit CatalogueOptions(const std::vector<std::string>& assignments = {});
};

// Adds "--option NAME=VALUE" (repeatable, also --option=NAME=VALUE) to app. Each value
// is checked against the setting table while parsing and appended to assignments.
void AddOptionFlag(CLI::App& app, std::vector<std::string>& assignments);

// The record's fields by their exact names plus the 12 column texts; bytes shown
// through the display decoding.
nlohmann::ordered_json RecordToJson(const TMusicFileInfo& r, const TListViewOption& view);

// One JSON object per line.
void PrintJsonLine(const nlohmann::ordered_json& j);

// The sub-commands, one file each.
void AddInfoCommand(CLI::App& app, CommandRunner& run);
void AddListCommand(CLI::App& app, CommandRunner& run);
void AddArchiveCommand(CLI::App& app, CommandRunner& run);
void AddIndexCommand(CLI::App& app, CommandRunner& run);
void AddPlaylistCommand(CLI::App& app, CommandRunner& run);
void AddConvertCommand(CLI::App& app, CommandRunner& run);
void AddSettingsCommand(CLI::App& app, CommandRunner& run);
void AddKeysCommand(CLI::App& app, CommandRunner& run);
void AddPlayCommand(CLI::App& app, CommandRunner& run);
void AddRenameCommand(CLI::App& app, CommandRunner& run);
void AddSearchCommand(CLI::App& app, CommandRunner& run);
void AddListPlayCommand(CLI::App& app, CommandRunner& run);
void AddPrepareCommand(CLI::App& app, CommandRunner& run);

}  // namespace kadrel::cli
