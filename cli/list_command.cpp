// kadrel-cli list DIR: the headless form of opening a folder in the window.

#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>

#include "cli/cli_common.h"
#include "cli/text_width.h"
#include "cli/cli_view.h"
#include "catalog/column_text.h"
#include "base/encoding.h"
#include "base/owned_temp.h"
#include "scan/document_step.h"
#include "scan/folder_index_port.h"
#include "scan/folder_listing.h"
#include "scan/lzh_archive_port.h"
#include "base/text_helpers.h"
#include "base/path_helpers.h"
#include "sorting/column_tables.h"
#include "sorting/sort_controls.h"
#include "settings/platform_folders.h"

namespace kadrel::cli {
namespace {

void PrintTable(const std::vector<std::unique_ptr<TMusicFileInfo>>& list, const std::vector<int>& columns,
                const TListViewOption& view) {
  constexpr size_t kMaxWidth = 40;
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> header;
  for (int id : columns) header.push_back(FindColumn(ListKind::FileList, id)->Header);
  rows.push_back(header);
  for (const auto& r : list) {
    std::vector<std::string> row;
    for (int id : columns) row.push_back(FitWidth(DisplayText(ColumnText(*r, id, view)), kMaxWidth));
    rows.push_back(std::move(row));
  }
  std::vector<size_t> widths(columns.size(), 0);
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  for (const auto& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      const bool right = columns[c] == kColSize;
      const std::string pad(widths[c] - DisplayWidth(row[c]), ' ');
      line += right ? pad + row[c] : row[c] + (c + 1 < row.size() ? pad : "");
      if (c + 1 < row.size()) line += "  ";
    }
    std::cout << line << "\n";
  }
}

struct ListArgs {
  std::vector<std::string> options;  // --option NAME=VALUE
  bool json = false;
  bool noIndex = false;
  std::optional<TSortState> sort;
  std::string folder;
};

int RunList(const ListArgs& args) {
  CatalogueOptions options(args.options);
  const bool json = args.json, useIndex = !args.noIndex;
  const std::string& folder = args.folder;

  std::error_code ec;
  std::string absolute = std::filesystem::absolute(folder, ec).lexically_normal().string();
  if (ec || !FolderListing::Read(WithTrailingSlash(absolute))) {
    std::cerr << "kadrel-cli list: " << folder << ": the folder cannot be listed\n";
    return kExitFailure;
  }
  absolute = WithTrailingSlash(absolute);

  PlatformFolders places = DefaultPlatformFolders();
  if (options.main.IndexFolder.empty()) options.main.IndexFolder = places.index;
  if (useIndex) MakeFolders(options.main.IndexFolder);
  MakeFolders(places.temp);
  // Each run works in a folder named after it; those of runs that were killed are
  // removed with what they hold.
  for (const auto& entry : std::filesystem::directory_iterator(places.temp, ec)) {
    std::error_code typeError;
    if (entry.is_directory(typeError) && !entry.is_symlink(typeError) &&
        MadeByGoneProcess(entry.path().filename().string(), "list-"))
      std::filesystem::remove_all(entry.path(), typeError);
  }
  std::string work = places.temp + OwnedTempName("list-");
  if (::mkdir(work.c_str(), 0700) != 0) work = places.temp;
  else work += "/";

  SortState sortState;
  sortState.Key = options.sortItem;
  sortState.Direction = options.sortType;
  if (args.sort) sortState = *args.sort;
  StderrMessageBox messages;
  CliScanView view(sortState, options.window.SortOption, isatty(STDERR_FILENO) && !json);
  DirectWindowBridge bridge;
  LzhArchivePort archives;
  TFolderIndex index(options.main, messages);
  FolderIndexPort indexPort(index);

  bool fromIndex = false;
  {
    FolderScanController controller(bridge, view, view, messages);
    ScanSettings settings;
    settings.main = options.main;
    settings.view = options.view;
    settings.workFolder = work;
    settings.useIndex = useIndex;
    settings.sortOption = options.window.SortOption;
    controller.SetSettings(settings);
    controller.Sort() = sortState;
    controller.SetArchivePort(&archives);
    controller.SetIndexPort(&indexPort);
    controller.SetDocumentStep(MakeDocumentStep(options.main, messages));

    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    controller.onPassFinished = [&](bool usedIndex) {
      std::lock_guard lock(mutex);
      fromIndex = usedIndex;
      finished = true;
      done.notify_all();
    };
    controller.ShowFolder(absolute, {});
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return finished; });
  }
  view.EndProgressLine();
  if (work != places.temp) std::filesystem::remove_all(work, ec);
  // The order applies to the whole list once the pass has ended.
  if (sortState.EffectiveKey() != kNoSortKey) view.SortAndRefresh();
  if (fromIndex) std::cerr << "kadrel-cli: listed from the index\n";

  if (json) {
    for (const auto& r : view.List()) PrintJsonLine(RecordToJson(*r, options.view));
  } else {
    std::vector<int> columns(options.columns.begin(), options.columns.end());
    if (columns.empty()) columns = {kColFileName, kColType, kColInfo, kColTitle, kColArchiver};
    PrintTable(view.List(), columns, options.view);
  }
  // The listing stands, but the index did not take it: say so and fail, so that a
  // script does not take the folder for indexed.
  if (index.SaveFailures() > 0) {
    std::cerr << "kadrel-cli list: the index file could not be saved\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

void AddListCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* list = app.add_subcommand("list", "List a folder as the window does");
  auto args = std::make_shared<ListArgs>();
  list->add_flag("--json", args->json, "One JSON object per entry instead of the table");
  list->add_flag("--no-index", args->noIndex, "Scan the folder; neither read nor write its index block");
  const CLI::Validator sortKey(
      [](std::string& value) -> std::string {
        if (ParseSortArgument(value)) return {};
        return "takes a column name or id, optionally followed by :desc (got \"" + value + "\")";
      },
      "");
  list->add_option_function<std::string>(
         "--sort", [args](const std::string& value) { args->sort = ParseSortArgument(value); },
         "Order by a column (name or id), ascending or :desc; the kind of entry comes first")
      ->type_name("KEY[:desc]")
      ->check(sortKey);
  AddOptionFlag(*list, args->options);
  list->add_option("FOLDER", args->folder, "The folder to list")->required();
  list->callback([&run, args] { run = [args] { return RunList(*args); }; });
}

}  // namespace kadrel::cli
