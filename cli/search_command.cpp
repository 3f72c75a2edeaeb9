// kadrel-cli search: the records of every index file whose texts hold all the words.
//
//   search [--field F]... [--format CODE]... [--under DIR] [--json] TEXT...
//
// Exit 0 with hits, 1 when nothing matches (or no index file could be read).

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "base/encoding.h"
#include "base/path_helpers.h"
#include "catalog/column_text.h"
#include "catalog/format_table.h"
#include "cli/cli_common.h"
#include "cli/text_width.h"
#include "search/index_search.h"
#include "search/index_snapshot.h"
#include "search/search_text.h"
#include "settings/platform_folders.h"

namespace kadrel::cli {
namespace {

struct SearchArgs {
  std::vector<std::string> options;  // --option NAME=VALUE
  std::vector<std::string> fields;
  std::vector<std::string> formats;
  std::string under;
  bool json = false;
  std::vector<std::string> words;
};

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : " ") + w;
  return text;
}

nlohmann::ordered_json MatchedNames(uint32_t fields) {
  nlohmann::ordered_json names = nlohmann::ordered_json::array();
  for (int f = 0; f < kSearchFieldCount; ++f)
    if (fields & (1u << f)) names.push_back(std::string(SearchFieldName(static_cast<SearchField>(f))));
  return names;
}

nlohmann::ordered_json HitToJson(const SearchHit& h, const TListViewOption& view) {
  nlohmann::ordered_json j;
  j["folder"] = DisplayText(h.folder);
  const nlohmann::ordered_json fields = RecordToJson(h.record, view);
  for (auto& [key, value] : fields.items()) j[key] = value;
  j["matched"] = MatchedNames(h.matchedFields);
  j["folderExists"] = h.folderExists;
  return j;
}

void PrintTable(const std::vector<SearchHit>& hits, const TListViewOption& view) {
  constexpr size_t kMaxWidth = 40;
  std::vector<std::vector<std::string>> rows{{"Folder", "FileName", "Archiver", "Title", "Artist", "Matched"}};
  for (const SearchHit& h : hits) {
    std::string matched;
    for (const auto& name : MatchedNames(h.matchedFields)) matched += (matched.empty() ? "" : ",") + name.get<std::string>();
    rows.push_back({FitWidth(DisplayText(h.folder) + (h.folderExists ? "" : " (gone)"), kMaxWidth),
                    FitWidth(DisplayText(h.record.FullName()), kMaxWidth),
                    FitWidth(DisplayText(ColumnText(h.record, kColArchiver, view)), kMaxWidth),
                    FitWidth(DisplayText(ColumnText(h.record, kColTitle, view)), kMaxWidth),
                    FitWidth(DisplayText(ColumnText(h.record, kColArtist, view)), kMaxWidth), matched});
  }
  std::vector<size_t> widths(rows[0].size(), 0);
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  for (const auto& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      line += row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] - DisplayWidth(row[c]) + 2, ' ');
    }
    std::cout << line << "\n";
  }
}

SearchQuery MakeQuery(const SearchArgs& args) {
  SearchQuery q;
  q.text = Joined(args.words);
  if (!args.fields.empty()) {
    q.fields = 0;
    for (const std::string& name : args.fields) q.fields |= FieldBit(*SearchFieldByName(name));
  }
  for (const std::string& code : args.formats) q.formats |= 1u << FormatRowForCode(code);
  if (!args.under.empty()) {
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(args.under, ec).lexically_normal().string();
    q.under = WithTrailingSlash(ec ? args.under : absolute);
  }
  return q;
}

int RunSearch(const SearchArgs& args) {
  CatalogueOptions options(args.options);
  if (options.main.IndexFolder.empty()) options.main.IndexFolder = DefaultPlatformFolders().index;
  const SearchQuery query = MakeQuery(args);
  if (QueryWords(query.text).empty()) throw UsageError{"TEXT holds no word to look for"};

  const std::vector<std::string> files = IndexFilesIn(options.main.IndexFolder);
  SearchCache cache;
  std::vector<SearchHit> table;
  const SearchOutcome outcome = IndexSearch(cache).Run(query, files, [&](std::vector<SearchHit>&& hits) {
    for (SearchHit& h : hits) {
      if (args.json) PrintJsonLine(HitToJson(h, options.view));
      else table.push_back(std::move(h));
    }
  });
  if (!args.json && outcome.hits > 0) PrintTable(table, options.view);
  for (const std::string& file : outcome.unreadable)
    std::cerr << "kadrel-cli search: " << file << ": the index file cannot be read\n";
  if (files.empty()) std::cerr << "kadrel-cli search: no index file in " << options.main.IndexFolder << "\n";
  return outcome.hits > 0 ? kExitOk : kExitFailure;
}

}  // namespace

void AddSearchCommand(CLI::App& app, CommandRunner& run) {
  CLI::App* search = app.add_subcommand("search", "Find records in every index file by their texts");
  auto args = std::make_shared<SearchArgs>();
  const CLI::Validator fieldName(
      [](std::string& value) -> std::string {
        if (SearchFieldByName(value)) return {};
        return "is not a field: FileName, Title, Artist, Album, Composer, SongWriter or DataMaker";
      },
      "FIELD");
  const CLI::Validator formatCode(
      [](std::string& value) -> std::string {
        if (FormatRowForCode(value) >= 0) return {};
        return "is not a format code (MID, RCP, MP3, ...)";
      },
      "CODE");
  search->add_option("--field", args->fields, "Look only in this field (repeatable)")
      ->check(fieldName)
      ->allow_extra_args(false);
  search->add_option("--format", args->formats, "Only records of this format (repeatable)")
      ->check(formatCode)
      ->allow_extra_args(false);
  search->add_option("--under", args->under, "Only folders at or below DIR")->type_name("DIR");
  search->add_flag("--json", args->json, "One JSON object per record (with its folder) instead of the table");
  AddOptionFlag(*search, args->options);
  search->add_option("TEXT", args->words, "Words that must all be found (case, width and kana do not matter)")
      ->required();
  search->callback([&run, args] { run = [args] { return RunSearch(*args); }; });
}

}  // namespace kadrel::cli
