// Arbitrary bytes through the record decoder at every record marker; whatever decodes
// must encode and decode back to the same record.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalog/index_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kadrel;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (size_t p = 0; p + 1 < bytes.size(); ++p) {
    size_t next = 0;
    auto r = DecodeIndexRecord(bytes, p, &next);
    if (!r) continue;
    if (next <= p || next > bytes.size()) __builtin_trap();
    const std::string again = EncodeIndexRecord(*r);
    size_t end = 0;
    auto back = DecodeIndexRecord(again, 0, &end);
    if (!back || !(*back == *r) || end != again.size()) __builtin_trap();
  }
  return 0;
}
