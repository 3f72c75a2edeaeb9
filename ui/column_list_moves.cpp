#include "ui/column_list_moves.h"

#include <algorithm>

namespace kadrel {
namespace {

// Valid, distinct rows in ascending order.
std::vector<int> CleanRows(const std::vector<int>& selected, std::size_t size) {
  std::vector<int> rows;
  for (int r : selected)
    if (r >= 0 && static_cast<std::size_t>(r) < size) rows.push_back(r);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

// Removes the rows from `list` and returns their entries in list order.
ColumnNames TakeRows(ColumnNames& list, const std::vector<int>& rows) {
  ColumnNames taken;
  for (int r : rows) taken.push_back(list[static_cast<std::size_t>(r)]);
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) list.erase(list.begin() + *it);
  return taken;
}

}  // namespace

void DropFromOtherList(ColumnNames& source, const std::vector<int>& selected, ColumnNames& target, int row) {
  const ColumnNames moved = TakeRows(source, CleanRows(selected, source.size()));
  const bool onRow = row >= 0 && static_cast<std::size_t>(row) < target.size();
  for (const std::string& entry : moved) {
    if (onRow)
      target.insert(target.begin() + row, entry);
    else
      target.push_back(entry);
  }
}

void ReorderWithinList(ColumnNames& list, const std::vector<int>& selected, int row) {
  std::vector<int> rows = CleanRows(selected, list.size());
  if (rows.empty()) return;
  const bool toEnd = row < 0 || static_cast<std::size_t>(row) + 1 >= list.size();
  if (toEnd) {
    const ColumnNames moved = TakeRows(list, rows);
    list.insert(list.end(), moved.begin(), moved.end());
    return;
  }
  // The target row itself does not move; the entries above it gather just below it and
  // those below it just above it, each group in its order.
  const std::string anchor = list[static_cast<std::size_t>(row)];
  std::erase(rows, row);
  ColumnNames above, below;
  for (int r : rows) (r < row ? above : below).push_back(list[static_cast<std::size_t>(r)]);
  TakeRows(list, rows);
  auto at = std::find(list.begin(), list.end(), anchor);
  at = list.insert(at, below.begin(), below.end()) + static_cast<std::ptrdiff_t>(below.size());
  list.insert(at + 1, above.begin(), above.end());
}

void MoveSelectedToEnd(ColumnNames& source, const std::vector<int>& selected, ColumnNames& target) {
  ColumnNames moved = TakeRows(source, CleanRows(selected, source.size()));
  target.insert(target.end(), moved.rbegin(), moved.rend());
}

}  // namespace kadrel
