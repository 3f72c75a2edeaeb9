#include "formats/readers/header_readers.h"
#include "base/byte_cursor.h"
#include "base/text_helpers.h"

namespace kadrel {

void ReadStandardMidiHeader(const ReaderInput& in, TMusicFileInfo& r) {
  r.InfoState = kInfoFormatMismatch;
  size_t n = 0;
  const size_t limit = static_cast<size_t>(std::max(in.options.SMFByte, 0));
  std::string buf = in.source.Read(in.base, limit, &n);
  if (n < 4 || buf.compare(0, 4, "MThd") != 0) return;

  auto byte = [&](size_t i) { return static_cast<unsigned char>(buf[i]); };
  int tracks = 0;
  for (int64_t p = 0; p <= static_cast<int64_t>(n) - 11; ++p) {
    const size_t i = static_cast<size_t>(p);
    if (tracks == 1 && byte(i) == 0xFF && (byte(i + 1) == 0x01 || byte(i + 1) == 0x03)) {
      // Title event: one length byte (not a variable-length number), cut at the bytes read.
      size_t start = i + 3;
      size_t end = std::min<size_t>(start + byte(i + 2), n);
      r.Title = TextCleanup(std::string_view(buf).substr(start, end - start));
      r.InfoState = r.Title.empty() ? kInfoNoTitle : kInfoRead;
      return;
    }
    if (buf.compare(i, 4, "MTrk") == 0) {
      ++tracks;
      if (tracks == 2) return;  // the first track had no title
      const uint64_t length = Be32At(buf, i + 4).value_or(0);
      // A single track that ends exactly at the end of the file is format 0.
      r.Detail = (in.Size() == i + 8 + length) ? "SMF0" : "SMF1";
      r.InfoState = kInfoNoTitle;
      p += 4;  // go on at the second byte of the length field
    }
  }
}

}  // namespace kadrel
