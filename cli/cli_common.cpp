#include "cli/cli_common.h"

#include <cstdio>
#include <iostream>

#include "catalog/column_text.h"
#include "base/encoding.h"
#include "settings/option_overrides.h"
#include "settings/user_settings.h"

namespace kadrel::cli {

CatalogueOptions::CatalogueOptions() {
  UserListSettings user = LoadUserListSettings();
  main = user.main;
  view = user.view;
  window = user.window;
  columns = user.columns;
  sortItem = user.sortItem;
  sortType = user.sortType;
}

void TakeOptionArguments(std::vector<std::string>& args, CatalogueOptions& options) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string assignment;
    if (args[i] == "--option") {
      if (i + 1 >= args.size()) throw UsageError{"--option needs NAME=VALUE"};
      assignment = args[++i];
    } else if (args[i].rfind("--option=", 0) == 0) {
      assignment = args[i].substr(9);
    } else {
      rest.push_back(args[i]);
      continue;
    }
    std::string error = ApplyOptionOverride(assignment, {options.main, options.view, options.window});
    if (!error.empty()) throw UsageError{error};
  }
  args = std::move(rest);
}

nlohmann::ordered_json RecordToJson(const TMusicFileInfo& r, const TListViewOption& view) {
  nlohmann::ordered_json j = nlohmann::ordered_json::object();
  j["FileName"] = DisplayText(r.FileName);
  j["FileExt"] = DisplayText(r.FileExt);
  j["FileType"] = r.FileType;
  j["Detail"] = DisplayText(r.Detail);
  j["Info"] = r.Info;
  j["DosDate"] = r.DosDate;
  j["DosTime"] = r.DosTime;
  j["Size"] = r.Size;
  j["LinkFile"] = DisplayText(r.LinkFile);
  j["DocFile"] = DisplayText(r.DocFile);
  j["Archiver"] = DisplayText(r.Archiver);
  j["Title"] = DisplayText(r.Title);
  j["Artist"] = DisplayText(r.Artist);
  j["Album"] = DisplayText(r.Album);
  j["Composer"] = DisplayText(r.Composer);
  j["SongWriter"] = DisplayText(r.SongWriter);
  j["DataMaker"] = DisplayText(r.DataMaker);
  j["IconIndex"] = r.IconIndex;
  j["MacBinary"] = r.MacBinary;
  j["ItemKind"] = r.ItemKind;
  j["InfoState"] = r.InfoState;
  nlohmann::ordered_json columns = nlohmann::ordered_json::array();
  for (int c = 1; c <= kFileListColumnCount; ++c) columns.push_back(DisplayText(ColumnText(r, c, view)));
  j["columns"] = columns;
  return j;
}

void PrintJsonLine(const nlohmann::ordered_json& j) {
  std::string line = j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace kadrel::cli
