#pragma once
// What the list headers, the sort arrow and the sort window do to the sort state. The
// windows call these and then sort and redraw.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sorting/column_tables.h"
#include "catalog/sort_state.h"

namespace kadrel {

// A header click on the column at `position` of the visible columns: the sorted column
// reverses its direction, another column becomes the key with the direction kept and
// the sorted flag cleared. False (nothing changed) for a position outside the columns.
// Afterwards the caller sorts the list and shows the sort mark.
bool SortByColumnClick(TSortState& state, const VisibleColumns& visible, int position);

// Which visible column shows the sort arrow. Position -1: no arrow (no key, or the key's
// column is hidden).
struct TSortMark {
  int Position = -1;
  bool Descending = false;
  bool operator==(const TSortMark&) const = default;
};
// Decides the arrow and sets the sorted flag.
TSortMark ShowSortMark(TSortState& state, const VisibleColumns& visible);

// The sort window ("ソート").
namespace sort_window {

inline constexpr const char* kCaption = "ソート";
inline constexpr const char* kKeyListLabel = "ソート条件";
inline constexpr const char* kDirectionListLabel = "設定";
inline constexpr const char* kCancelCaption = "ｷｬﾝｾﾙ(&C)";
inline constexpr const char* kFailedMessage = "ソートにおいて予期せぬエラーが発生しました.\nソートは失敗しました.";
inline constexpr int kKeyCount = kFileListColumnCount;
inline constexpr int kDirectionCount = 2;

// "01. ファイル名" … "12. データ作成者"; "昇 順", "降 順".
std::vector<std::string> KeyItems();
std::vector<std::string> DirectionItems();

enum class Key { Enter, Escape, Up, Down };
enum class Focus { KeyList, DirectionList };
enum class Action { None, Confirm, Cancel };

// The window's selection and focus while it is open.
class TSortWindowModel {
 public:
  explicit TSortWindowModel(const TSortState& state);

  int KeyIndex() const { return keyIndex_; }            // -1: none selected
  int DirectionIndex() const { return directionIndex_; }// -1: none selected
  Focus FocusedList() const { return focus_; }

  void SelectKey(int index);        // a mouse selection; out of range clears it
  void SelectDirection(int index);  // likewise
  void FocusList(Focus f) { focus_ = f; }
  Action OnKey(Key key);

  // OK: the key becomes the selected key index + 1 (0 when none), the direction the
  // selected direction index (-1 when none, which sorts ascending).
  void Confirm(TSortState& state) const;

 private:
  int initialDirection_;
  int keyIndex_;
  int directionIndex_ = -1;
  Focus focus_ = Focus::KeyList;
};

}  // namespace sort_window

// "KEY[:desc]" or "KEY[:asc]" of the command line: KEY is a file-list header name in any
// letter case ("title") or a column id (0 for none). Nullopt when it is not one.
std::optional<TSortState> ParseSortArgument(std::string_view argument);

}  // namespace kadrel
