#include "formats/readers/header_readers.h"
#include "base/byte_cursor.h"

namespace kadrel {
namespace {

constexpr std::string_view kOldSignature = "[Kadrel PlayListFile Ver0.01]";
constexpr size_t kMaxListBytes = 64u << 20;

}  // namespace

std::string_view PlayListSignatureV1() {
  static const std::string sig = std::string("\xFF\x01KadrelPlayListFormat\xFF\x02\x01\x00", 26);
  return sig;
}

void ReadPlayListHeader(const ByteSource& source, TMusicFileInfo& r) {
  std::string head = source.Read(0, 64);
  if (head.compare(0, kOldSignature.size(), kOldSignature) == 0) {
    r.Title.clear();
    r.Detail = "PlayList0.01";
  } else if (std::string_view(head).substr(0, 26) == PlayListSignatureV1()) {
    r.Title.clear();
    r.Detail = "PlayList1.00";
    const uint64_t size = source.Size();
    if (Le32At(head, 28) == size && size <= kMaxListBytes) {
      const std::string data = source.ReadAvailable(0, size);
      // Records start with 0xFF and a tag; tag "0" carries the title, ")" ends the list.
      for (size_t pos = 34 + static_cast<unsigned char>(head[32]); pos < data.size(); ++pos) {
        if (static_cast<unsigned char>(data[pos - 1]) != 0xFF) continue;
        if (data[pos] == ')') break;
        if (data[pos] == '0' && pos + 1 < data.size()) {
          const size_t length = static_cast<unsigned char>(data[pos + 1]);
          const size_t start = pos + 2;
          r.Title = data.substr(start, std::min(length, data.size() - std::min(start, data.size())));
          pos = start + length - 1;
        }
      }
    }
  }
  if (r.Title.empty()) r.InfoState = kInfoNoTitle;
  if (r.Detail.empty()) r.InfoState = kInfoFormatMismatch;
}

}  // namespace kadrel
