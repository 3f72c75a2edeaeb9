#pragma once
// The columns of the file list and of the play list: identities, captions, default
// widths and alignment, and the visible-column lists with their stored form.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalog/column_ids.h"

namespace kadrel {

enum class ListKind { FileList, PlayList };
enum class ColumnAlign { Left, Right };

struct TColumnInfo {
  int32_t Id;
  const char* Header;        // caption of the list header
  const char* JapaneseName;  // name shown by the view-settings dialog and the sort window (UTF-8)
  int32_t DefaultWidth;
  ColumnAlign Align;
};

enum PlayListColumn : int {
  kPlColPlayer = 1, kPlColFileName, kPlColType, kPlColPlace, kPlColDetail, kPlColInfo,
  kPlColSize, kPlColDate, kPlColTitle, kPlColArtist, kPlColComposer, kPlColSongWriter,
  kPlColDataMaker,
};

// Rows in id order (row i has id i + 1).
std::span<const TColumnInfo> ColumnTable(ListKind list);
// Null for an id outside the table.
const TColumnInfo* FindColumn(ListKind list, int32_t id);

// Japanese name -> id, or -1; id -> Japanese name, or empty.
int32_t ColumnIdByName(ListKind list, std::string_view japaneseName);
std::string ColumnNameById(ListKind list, int32_t id);
// English header (any letter case) -> id, or -1.
int32_t ColumnIdByHeader(ListKind list, std::string_view header);

// Settings value names under "\ListView": "FLW8", "PLW4", "FLitem1", "PLitem3".
std::string WidthValueName(ListKind list, int32_t id);
std::string ItemValueName(ListKind list, int position);  // position counts from 1

int32_t DefaultColumnWidth(ListKind list, int32_t id);  // 0 for an unknown id
// The width to use for a stored value: the default when the value is missing or negative.
int32_t ColumnWidthFromValue(ListKind list, int32_t id, std::optional<int32_t> stored);

// Ids of the shown columns in display order (held without the -1 end mark).
using VisibleColumns = std::vector<int32_t>;
using SettingValues = std::vector<std::pair<std::string, int32_t>>;
using ValueReader = std::function<std::optional<int32_t>(const std::string& name)>;

VisibleColumns DefaultVisibleColumns(ListKind list);
// Reads "FLitem1", "FLitem2", … (or "PLitem"…) until a value is 0 or missing. Without
// "FLitem1" the defaults apply. Ids outside the table and repeated ids are skipped, and a
// list that keeps no column at all gives the defaults.
VisibleColumns VisibleColumnsFromValues(ListKind list, const ValueReader& read);
// The values to store: one per column, then a terminating 0.
SettingValues VisibleColumnValues(ListKind list, const VisibleColumns& columns);
// "FLW" + id / "PLW" + id for each visible column, with the width `widthOf` reports.
SettingValues ColumnWidthValues(ListKind list, const VisibleColumns& columns,
                                const std::function<int32_t(int32_t id)>& widthOf);

// The view-settings dialog's two lists: the visible columns after the fixed first one,
// and the other columns, as Japanese names.
std::vector<std::string> ShownColumnNames(ListKind list, const VisibleColumns& columns);
std::vector<std::string> HiddenColumnNames(ListKind list, const VisibleColumns& columns);
// Rebuilds a visible-column list from the dialog: the fixed first column, then the named
// columns in order (unknown names, repeats and the fixed column itself are skipped).
VisibleColumns VisibleColumnsFromNames(ListKind list, const std::vector<std::string>& names);

}  // namespace kadrel
