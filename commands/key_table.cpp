#include "commands/key_table.h"

#include "base/encoding.h"

namespace kadrel {
namespace {

constexpr std::string_view kHeader[kKeyColumns] = {"Key", "Key Only", "Key +CTRL", "Key +SHIFT", "Key +CTRL+SHIFT"};

constexpr std::string_view kRowNames[kKeyRows] = {
    "",     "Return", "BS",   "ESC",  "Ins",  "Del",  "Home", "Space", "F･1", "F･2", "F･3", "F･4",
    "F･5",  "F･6",    "F･7",  "F･8",  "F･9",  "F･10", "F･11", "F･12",  "A",   "B",   "C",   "D",
    "E",    "F",      "G",    "H",    "I",    "J",    "K",    "L",     "M",   "N",   "O",   "P",
    "Q",    "R",      "S",    "T",    "U",    "V",    "W",    "X",     "Y",   "Z",   "１",  "２",
    "３",   "４",     "５",   "６",   "７",   "８",   "９",   "０",    "，",  "．",  "／",  "－",
    "＋",   "＊",     "＝",   "￥",   "＾",   "＠",   "：",   "；"};

bool InRange(int row, int column) { return row >= 0 && row < kKeyRows && column >= 0 && column < kKeyColumns; }

}  // namespace

std::string_view KeyRowName(int row) { return row >= 0 && row < kKeyRows ? kRowNames[row] : std::string_view{}; }

const std::string& UnsettableMarkerBytes() {
  static const std::string marker = Cp932(kUnsettableMarker);
  return marker;
}

KeyTable::KeyTable() {
  for (int c = 0; c < kKeyColumns; ++c) cells_[0][c] = std::string(kHeader[c]);
  for (int r = 1; r < kKeyRows; ++r) cells_[r][0] = Cp932(kRowNames[r]);
  MarkUnsettableCells();
}

const std::string& KeyTable::Cell(int row, int column) const {
  static const std::string empty;
  return InRange(row, column) ? cells_[row][column] : empty;
}

bool KeyTable::Settable(int row, int column) {
  if (row < 1 || row >= kKeyRows || column < 1 || column >= kKeyColumns) return false;
  return row < kFirstCharacterRow || column == 1;
}

bool KeyTable::SetCell(int row, int column, std::string cp932) {
  if (!Settable(row, column)) return false;
  cells_[row][column] = std::move(cp932);
  return true;
}

void KeyTable::MarkUnsettableCells() {
  for (int r = kFirstCharacterRow; r < kKeyRows; ++r)
    for (int c = 2; c < kKeyColumns; ++c) cells_[r][c] = UnsettableMarkerBytes();
}

void KeyTable::ClearCommands() {
  for (int r = 1; r < kKeyRows; ++r)
    for (int c = 1; c < kKeyColumns; ++c) cells_[r][c].clear();
  MarkUnsettableCells();
}

std::string KeyTable::KeyRowCommand(int row, HeldModifiers held, bool ctrlAllowed, bool shiftAllowed,
                                    bool bothAllowed) const {
  if (row < 1 || row >= kKeyRows) return {};
  int column = 1;
  if (held.ctrl && !held.shift && ctrlAllowed) column = 2;
  if (held.shift && !held.ctrl && shiftAllowed) column = 3;
  if (held.ctrl && held.shift && bothAllowed) column = 4;
  const std::string& name = cells_[row][column];
  return name == UnsettableMarkerBytes() ? std::string() : name;
}

std::pair<int, int> KeyTable::FindCommand(std::string_view cp932) const {
  if (cp932.empty()) return {0, 0};
  for (int r = 1; r < kKeyRows; ++r)
    for (int c = 1; c < kKeyColumns; ++c)
      if (cells_[r][c] == cp932) return {r, c};
  return {0, 0};
}

}  // namespace kadrel
