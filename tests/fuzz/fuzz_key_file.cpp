// Arbitrary lines behind the key-file header and version: every accepted table writes
// a file that reads back to the same table (the marker cells aside), and every cell's name parses safely.

#include <cstddef>
#include <cstdint>
#include <string>

#include "commands/command_names.h"
#include "commands/key_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  std::string image = "[KadrelKeyCustomizeFile]\r\n0.02\r\n";
  image.append(reinterpret_cast<const char*>(data), size);
  KeyTable table;
  if (ReadKeyFile(image, table) != KeyFileStatus::Ok) return 0;
  for (int row = 1; row < kKeyRows; ++row)
    for (int column = 1; column < kKeyColumns; ++column) (void)ParseCommandName(table.Cell(row, column));
  // The marker is written as an empty field wherever it stands.
  KeyTable expected = table;
  for (int row = 1; row < kKeyRows; ++row)
    for (int column = 1; column < kKeyColumns; ++column)
      if (table.Cell(row, column) == UnsettableMarkerBytes()) expected.SetCell(row, column, {});
  KeyTable again;
  if (ReadKeyFile(FormatKeyFile(table), again) != KeyFileStatus::Ok || !(again == expected)) __builtin_trap();
  return 0;
}
