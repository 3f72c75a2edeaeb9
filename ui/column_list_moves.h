#pragma once
// The moves of the view-settings dialog's column lists ("表示する項目" and "表示しない
// 項目"), on plain lists of entry names. `selected` holds row numbers; rows outside the
// list and repeats are ignored.

#include <string>
#include <vector>

namespace kadrel {

using ColumnNames = std::vector<std::string>;

// A drop from the other list of the pair. The selected entries leave `source` in list
// order; dropped on row `row` of `target` each is inserted at that row in turn (the
// group stands above the row in reverse order); dropped below the last row (row < 0 or
// row >= size) they are appended in order.
void DropFromOtherList(ColumnNames& source, const std::vector<int>& selected, ColumnNames& target, int row);

// A drop inside a visible list: the selected entries move next to row `row`, keeping
// their order; entries from below the row go just above it, entries from above it go
// just below it. On the last row or below every row they go to the end, in order.
// A selected target row stays where the others gather. Each entry ends up exactly once.
void ReorderWithinList(ColumnNames& list, const std::vector<int>& selected, int row);

// "<< 追加" and "削除 >>": the selected entries of `source` go to the end of `target`,
// taken from the last selected to the first.
void MoveSelectedToEnd(ColumnNames& source, const std::vector<int>& selected, ColumnNames& target);

}  // namespace kadrel
