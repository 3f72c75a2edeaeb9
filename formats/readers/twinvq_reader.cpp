#include "formats/readers/header_readers.h"
#include "base/byte_cursor.h"
#include "base/text_helpers.h"

namespace kadrel {

void ReadTwinVqHeader(const ReaderInput& in, TMusicFileInfo& r) {
  std::string head = in.source.Read(in.base, 16);
  const size_t headerLength = std::min<uint32_t>(Be32At(head, 12).value_or(0), 1024);
  size_t got = 0;
  std::string header = in.source.Read(in.base + 16, headerLength, &got);
  for (size_t k = 0; k + 4 <= got; ++k) {
    if (header.compare(k, 4, "NAME") != 0) continue;
    const size_t textLength = std::min<uint32_t>(Be32At(header, k + 4).value_or(0), 1024);
    r.Title = TextCleanup(in.source.Read(in.base + 16 + k + 8, textLength));
    r.Detail = "SoundVQ";
    if (r.Title.empty()) r.InfoState = kInfoNoTitle;
    return;
  }
  r.InfoState = kInfoFormatMismatch;
}

}  // namespace kadrel
