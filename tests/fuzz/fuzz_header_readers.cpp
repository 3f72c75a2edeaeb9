// Arbitrary bytes through every header reader, with and without a MacBinary prefix.

#include <cstddef>
#include <cstdint>

#include "catalog/format_table.h"
#include "formats/read_header_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MemoryByteSource source(bytes);
  for (int row = 0; row < kFormatCount; ++row) {
    TMusicFileInfo r;
    r.FileType = row;
    r.FileExt = std::string(".") + std::string(kFormatTable[row].Code);
    HeaderReadOptions options{static_cast<int32_t>(100 + (size % 10) * 100)};
    ReadHeaderInfoFrom(source, r, options);
    if (r.InfoState < 0 || r.InfoState > 5) __builtin_trap();
  }
  return 0;
}
