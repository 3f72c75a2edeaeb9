#pragma once
// The key table: 68 rows of 5 cells. Row 0 is the header, column 0 the key names;
// columns 1 … 4 hold the command (CP932 bytes, empty = unbound) for the key alone,
// with Ctrl, with Shift and with Ctrl+Shift. Rows 56 … 67 (typed characters) take
// only column 1; their other cells hold the marker "(設定できません)".

#include <array>
#include <string>
#include <string_view>

namespace kadrel {

inline constexpr int kKeyRows = 68;
inline constexpr int kKeyColumns = 5;
inline constexpr int kReturnRow = 1;
inline constexpr int kFirstFunctionKeyRow = 8;   // F1 … F12: 8 … 19
inline constexpr int kFirstLetterRow = 20;       // A … Z: 20 … 45
inline constexpr int kFirstDigitRow = 46;        // 1 … 9: 46 … 54
inline constexpr int kZeroRow = 55;
inline constexpr int kFirstCharacterRow = 56;    // , . / - + * = \ ^ @ : ;
inline constexpr std::string_view kTypedCharacters = ",./-+*=\\^@:;";

// The marker of the cells that cannot be set (UTF-8).
inline constexpr std::string_view kUnsettableMarker = "(設定できません)";

struct HeldModifiers {
  bool ctrl = false;
  bool shift = false;
};

class KeyTable {
 public:
  // Header, key names and the markers; every command cell empty.
  KeyTable();

  const std::string& Cell(int row, int column) const;
  // Sets a command cell (rows 1 … 67, columns 1 … 4); false for the header, the key
  // column, cells out of range and the marker cells.
  bool SetCell(int row, int column, std::string cp932);
  // Whether the cell holds a command the user may set.
  static bool Settable(int row, int column);
  // Puts the marker into columns 2 … 4 of rows 56 … 67.
  void MarkUnsettableCells();
  void ClearCommands();

  // Column 1 of the row, replaced by column 2 when Ctrl alone is held and allowed, by
  // column 3 for Shift alone, by column 4 for both.
  std::string KeyRowCommand(int row, HeldModifiers held, bool ctrlAllowed = true, bool shiftAllowed = true,
                            bool bothAllowed = true) const;

  // The first cell bound to a command (CP932), as row and column; {0, 0} when none.
  std::pair<int, int> FindCommand(std::string_view cp932) const;

  bool operator==(const KeyTable&) const = default;

 private:
  std::array<std::array<std::string, kKeyColumns>, kKeyRows> cells_;
};

// The key name of a row as shown and stored (UTF-8): "Return", "F･1", "A", "１"…
std::string_view KeyRowName(int row);
// CP932 of the marker.
const std::string& UnsettableMarkerBytes();

}  // namespace kadrel
