#pragma once
// Shared pieces of the command-line tool's sub-commands.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "catalog/music_file_info.h"
#include "catalog/options.h"

namespace kadrel::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct UsageError {
  std::string message;
};

// Options every catalogue sub-command works with: the user's settings (read, never
// changed), then the --option values given for this run.
struct CatalogueOptions {
  TMainOption main;
  TListViewOption view;
  TWindowOption window;
  std::vector<int32_t> columns;  // visible file-list columns
  int32_t sortItem = 0;
  int32_t sortType = 0;

  CatalogueOptions();
};

// Takes "--option NAME=VALUE" (also "--option=NAME=VALUE") pairs out of args; throws
// UsageError for a malformed or unknown setting.
void TakeOptionArguments(std::vector<std::string>& args, CatalogueOptions& options);

// The record's fields by their exact names plus the 12 column texts; bytes shown
// through the display decoding.
nlohmann::ordered_json RecordToJson(const TMusicFileInfo& r, const TListViewOption& view);

// One JSON object per line.
void PrintJsonLine(const nlohmann::ordered_json& j);

// Command implementations; each returns the process exit code.
int RunInfo(std::vector<std::string> args);
int RunList(std::vector<std::string> args);
int RunArchive(std::vector<std::string> args);
int RunSettings(std::vector<std::string> args);
int RunIndex(std::vector<std::string> args);
int RunPlaylist(std::vector<std::string> args);
int RunConvert(std::vector<std::string> args);

}  // namespace kadrel::cli
