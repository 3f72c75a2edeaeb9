#include "sorting/column_tables.h"

#include <algorithm>
#include <iterator>

#include "base/text_helpers.h"
#include "catalog/column_ids.h"

namespace kadrel {
namespace {

constexpr TColumnInfo kFileListColumns[] = {
    {1, "FileName", "ファイル名", 110, ColumnAlign::Left},
    {2, "Type", "ファイルタイプ", 50, ColumnAlign::Left},
    {3, "Archiver", "圧縮ファイル名", 110, ColumnAlign::Left},
    {4, "Detail", "ファイル形式詳細", 50, ColumnAlign::Left},
    {5, "Info", "歌詞ファイル情報", 50, ColumnAlign::Left},
    {6, "Size", "ファイルサイズ", 50, ColumnAlign::Right},
    {7, "Date", "作成日時", 90, ColumnAlign::Left},
    {8, "Title", "タイトル", 350, ColumnAlign::Left},
    {9, "Artist", "アーティスト", 100, ColumnAlign::Left},
    {10, "Composer", "作曲者", 100, ColumnAlign::Left},
    {11, "SongWriter", "作詞者", 100, ColumnAlign::Left},
    {12, "DataMaker", "データ作成者", 100, ColumnAlign::Left},
};

constexpr TColumnInfo kPlayListColumns[] = {
    {1, "Player", "PlayerNo.", 50, ColumnAlign::Left},
    {2, "FileName", "ファイル名", 110, ColumnAlign::Left},
    {3, "Type", "ファイルタイプ", 50, ColumnAlign::Left},
    {4, "Place", "ファイルの場所", 150, ColumnAlign::Left},
    {5, "Detail", "ファイル形式詳細", 50, ColumnAlign::Left},
    {6, "Info", "歌詞ファイル情報", 50, ColumnAlign::Left},
    {7, "Size", "ファイルサイズ", 50, ColumnAlign::Left},
    {8, "Date", "作成日時", 90, ColumnAlign::Left},
    {9, "Title", "タイトル", 350, ColumnAlign::Left},
    {10, "Artist", "アーティスト", 100, ColumnAlign::Left},
    {11, "Composer", "作曲者", 100, ColumnAlign::Left},
    {12, "SongWriter", "作詞者", 100, ColumnAlign::Left},
    {13, "DataMaker", "データ作成者", 100, ColumnAlign::Left},
};

const char* Prefix(ListKind list) { return list == ListKind::FileList ? "FL" : "PL"; }

}  // namespace

std::span<const TColumnInfo> ColumnTable(ListKind list) {
  if (list == ListKind::FileList) return kFileListColumns;
  return kPlayListColumns;
}

const TColumnInfo* FindColumn(ListKind list, int32_t id) {
  auto table = ColumnTable(list);
  if (id < 1 || static_cast<size_t>(id) > table.size()) return nullptr;
  return &table[static_cast<size_t>(id - 1)];
}

int32_t ColumnIdByName(ListKind list, std::string_view japaneseName) {
  for (const auto& c : ColumnTable(list))
    if (japaneseName == c.JapaneseName) return c.Id;
  return -1;
}

std::string ColumnNameById(ListKind list, int32_t id) {
  const TColumnInfo* c = FindColumn(list, id);
  return c ? c->JapaneseName : std::string();
}

int32_t ColumnIdByHeader(ListKind list, std::string_view header) {
  for (const auto& c : ColumnTable(list))
    if (EqualsIgnoreCase(header, c.Header)) return c.Id;
  return -1;
}

std::string WidthValueName(ListKind list, int32_t id) {
  return std::string(Prefix(list)) + "W" + std::to_string(id);
}

std::string ItemValueName(ListKind list, int position) {
  return std::string(Prefix(list)) + "item" + std::to_string(position);
}

int32_t DefaultColumnWidth(ListKind list, int32_t id) {
  const TColumnInfo* c = FindColumn(list, id);
  return c ? c->DefaultWidth : 0;
}

int32_t ColumnWidthFromValue(ListKind list, int32_t id, std::optional<int32_t> stored) {
  if (!stored || *stored < 0) return DefaultColumnWidth(list, id);
  return *stored;
}

VisibleColumns DefaultVisibleColumns(ListKind list) {
  if (list == ListKind::FileList)
    return VisibleColumns(std::begin(kDefaultFileListColumns), std::end(kDefaultFileListColumns));
  return VisibleColumns(std::begin(kDefaultPlayListColumns), std::end(kDefaultPlayListColumns));
}

VisibleColumns VisibleColumnsFromValues(ListKind list, const ValueReader& read) {
  if (!read(ItemValueName(list, 1))) return DefaultVisibleColumns(list);
  const size_t count = ColumnTable(list).size();
  VisibleColumns columns;
  // Every id can appear once, so more positions than ids can only hold repeats; the
  // bound also stops a store that holds no terminating 0 from being read for ever.
  for (int position = 1; position <= static_cast<int>(count) * 4; ++position) {
    std::optional<int32_t> id = read(ItemValueName(list, position));
    if (!id || *id == 0) break;
    if (!FindColumn(list, *id)) continue;
    if (std::find(columns.begin(), columns.end(), *id) != columns.end()) continue;
    columns.push_back(*id);
  }
  if (columns.empty()) return DefaultVisibleColumns(list);
  return columns;
}

SettingValues VisibleColumnValues(ListKind list, const VisibleColumns& columns) {
  SettingValues values;
  int position = 1;
  for (int32_t id : columns) values.emplace_back(ItemValueName(list, position++), id);
  values.emplace_back(ItemValueName(list, position), 0);
  return values;
}

SettingValues ColumnWidthValues(ListKind list, const VisibleColumns& columns,
                                const std::function<int32_t(int32_t id)>& widthOf) {
  SettingValues values;
  for (int32_t id : columns)
    if (FindColumn(list, id)) values.emplace_back(WidthValueName(list, id), widthOf(id));
  return values;
}

std::vector<std::string> ShownColumnNames(ListKind list, const VisibleColumns& columns) {
  std::vector<std::string> names;
  for (int32_t id : columns)
    if (id != 1 && FindColumn(list, id)) names.push_back(ColumnNameById(list, id));
  return names;
}

std::vector<std::string> HiddenColumnNames(ListKind list, const VisibleColumns& columns) {
  std::vector<std::string> names;
  for (const auto& c : ColumnTable(list))
    if (c.Id != 1 && std::find(columns.begin(), columns.end(), c.Id) == columns.end())
      names.push_back(c.JapaneseName);
  return names;
}

VisibleColumns VisibleColumnsFromNames(ListKind list, const std::vector<std::string>& names) {
  VisibleColumns columns{1};
  for (const auto& name : names) {
    int32_t id = ColumnIdByName(list, name);
    if (id <= 1 || std::find(columns.begin(), columns.end(), id) != columns.end()) continue;
    columns.push_back(id);
  }
  return columns;
}

}  // namespace kadrel
