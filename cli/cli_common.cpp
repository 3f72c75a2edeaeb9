#include "cli/cli_common.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "catalog/column_text.h"
#include "base/encoding.h"
#include "settings/option_overrides.h"
#include "settings/user_settings.h"

namespace kadrel::cli {

CatalogueOptions::CatalogueOptions(const std::vector<std::string>& assignments) {
  UserListSettings user = LoadUserListSettings();
  main = user.main;
  view = user.view;
  window = user.window;
  columns = user.columns;
  sortItem = user.sortItem;
  sortType = user.sortType;
  for (const std::string& assignment : assignments) {
    std::string error = ApplyOptionOverride(assignment, {main, view, window});
    if (!error.empty()) throw UsageError{error};
  }
}

void AddOptionFlag(CLI::App& app, std::vector<std::string>& assignments) {
  // The value is tried on scratch records: whether it applies depends only on the
  // setting's name and type, not on the values it would replace.
  const CLI::Validator known(
      [](std::string& assignment) {
        TMainOption main;
        TListViewOption view;
        TWindowOption window;
        return ApplyOptionOverride(assignment, {main, view, window});
      },
      "");
  app.add_option_function<std::vector<std::string>>(
         "--option",
         [&assignments](const std::vector<std::string>& values) {
           assignments.insert(assignments.end(), values.begin(), values.end());
         },
         "Change a setting for this run only (repeatable); integers are decimal or 0x-hex")
      ->option_text("NAME=VALUE")  // one per occurrence, though the values gather in a list
      ->allow_extra_args(false)
      ->check(known);
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
