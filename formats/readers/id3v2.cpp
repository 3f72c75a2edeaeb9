#include "formats/readers/id3v2.h"
#include "base/byte_cursor.h"

#include "base/encoding.h"

namespace kadrel {
namespace {

constexpr size_t kMaxTagBytesRead = 1 << 20;  // text frames come first; pictures may follow

// Four 7-bit groups, most significant first; 0 when the bytes are not there.
uint32_t SyncSafe(std::string_view b, size_t i) {
  const uint32_t v = Be32At(b, i).value_or(0);
  return (v >> 3 & 0x0FE00000) | (v >> 2 & 0x001FC000) | (v >> 1 & 0x00003F80) | (v & 0x7F);
}

// Removes the 0x00 that unsynchronisation inserts after every 0xFF.
std::string Resynchronise(std::string_view data) {
  std::string out;
  out.reserve(data.size());
  for (size_t i = 0; i < data.size(); ++i) {
    out += data[i];
    if (static_cast<unsigned char>(data[i]) == 0xFF && i + 1 < data.size() && data[i + 1] == '\0') ++i;
  }
  return out;
}

// The first string of a text frame, as the bytes we keep.
std::string DecodeTextFrame(std::string_view payload) {
  if (payload.empty()) return {};
  const unsigned char encoding = static_cast<unsigned char>(payload[0]);
  std::string_view text = payload.substr(1);
  switch (encoding) {
    case 0:  // ISO-8859-1 by the standard; CP932 in practice in this domain
    case 3: {  // UTF-8
      size_t nul = text.find('\0');
      if (nul != std::string_view::npos) text = text.substr(0, nul);
      return encoding == 0 ? std::string(text) : PreferCp932(text);
    }
    case 1:
    case 2: {
      bool bigEndian = encoding == 2;
      if (text.size() >= 2) {
        auto b0 = static_cast<unsigned char>(text[0]), b1 = static_cast<unsigned char>(text[1]);
        if (b0 == 0xFF && b1 == 0xFE) { bigEndian = false; text.remove_prefix(2); }
        else if (b0 == 0xFE && b1 == 0xFF) { bigEndian = true; text.remove_prefix(2); }
      }
      size_t end = 0;
      while (end + 1 < text.size() && !(text[end] == '\0' && text[end + 1] == '\0')) end += 2;
      return PreferCp932(Utf16ToUtf8(text.substr(0, end), bigEndian));
    }
    default:
      return {};
  }
}

}  // namespace

std::optional<Id3v2Tag> ReadId3v2Tag(const ByteSource& source, uint64_t offset) {
  std::string header = source.Read(offset, 10);
  if (header.compare(0, 3, "ID3") != 0) return std::nullopt;
  const unsigned version = static_cast<unsigned char>(header[3]);
  const unsigned flags = static_cast<unsigned char>(header[5]);
  if (version < 2 || version > 4) return std::nullopt;
  const uint32_t size = SyncSafe(header, 6);

  Id3v2Tag tag;
  tag.totalSize = 10ull + size + ((version == 4 && (flags & 0x10)) ? 10 : 0);

  std::string body = source.ReadAvailable(offset + 10, std::min<size_t>(size, kMaxTagBytesRead));
  if (version < 4 && (flags & 0x80)) body = Resynchronise(body);

  size_t pos = 0;
  if (version >= 3 && (flags & 0x40) && body.size() >= 4) {
    // Skip the extended header: v2.3 gives its size without the size field, v2.4 with it.
    uint32_t ext = version == 4 ? SyncSafe(body, 0) : Be32At(body, 0).value_or(0) + 4;
    pos = ext;
  }

  const size_t idLength = version == 2 ? 3 : 4;
  const size_t frameHeader = version == 2 ? 6 : 10;
  while (pos + frameHeader <= body.size()) {
    std::string_view id(body.data() + pos, idLength);
    if (id[0] == '\0') break;  // padding
    uint32_t frameSize;
    // The loop condition keeps the whole frame header inside the body.
    if (version == 2) frameSize = Be24At(body, pos + 3).value_or(0);
    else if (version == 3) frameSize = Be32At(body, pos + 4).value_or(0);
    else frameSize = SyncSafe(body, pos + 4);
    const size_t start = pos + frameHeader;
    if (frameSize > body.size() - start) break;
    std::string payload = body.substr(start, frameSize);
    if (version == 4) {
      const unsigned formatFlags = static_cast<unsigned char>(body[pos + 9]);
      if (formatFlags & 0x0C) {  // compressed or encrypted: not ours to read
        pos = start + frameSize;
        continue;
      }
      if (formatFlags & 0x01 && payload.size() >= 4) payload.erase(0, 4);  // data length indicator
      if ((formatFlags & 0x02) || (flags & 0x80)) payload = Resynchronise(payload);
    }
    std::string* target = nullptr;
    if (id == "TIT2" || id == "TT2") target = &tag.title;
    else if (id == "TPE1" || id == "TP1") target = &tag.artist;
    else if (id == "TALB" || id == "TAL") target = &tag.album;
    if (target && target->empty()) *target = DecodeTextFrame(payload);
    pos = start + frameSize;
  }
  return tag;
}

bool FindMpegFrameAfter(const ByteSource& source, uint64_t offset) {
  // Padding or junk may follow the tag; look a little way for a frame sync.
  std::string data = source.ReadAvailable(offset, 4096);
  for (size_t i = 0; i + 1 < data.size(); ++i) {
    auto b0 = static_cast<unsigned char>(data[i]);
    auto b1 = static_cast<unsigned char>(data[i + 1]);
    if (b0 == 0xFF && (b1 & 0xE0) == 0xE0 && (b1 & 0x06) != 0) return true;  // sync, layer not reserved
  }
  return false;
}

}  // namespace kadrel
