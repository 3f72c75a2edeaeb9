// The header walker. Every read is bounds-checked against the file; a header that
// cannot be parsed ends the listing with damaged = true and a reason.

#include "archive/lzh_archive.h"

#include <fmt/format.h>

#include <algorithm>
#include <optional>

#include "base/byte_cursor.h"
#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "archive/lzh_names.h"

namespace kadrel {
namespace {

constexpr uint64_t kSfxScanLimit = 64 * 1024;
constexpr uint32_t kLevel3HeaderLimit = 1 << 20;

unsigned char U(char c) { return static_cast<unsigned char>(c); }

// "-lh?-", "-lz?-", "-pm?-" at offset 2 and a level byte we know.
bool LooksLikeHeader(std::string_view b) {
  if (b.size() < 21) return false;
  if (b[2] != '-' || b[6] != '-') return false;
  bool family = (b[3] == 'l' && (b[4] == 'h' || b[4] == 'z')) || (b[3] == 'p' && b[4] == 'm');
  return family && U(b[20]) <= 3;
}

bool StartsMembers(std::string_view v) { return LooksLikeHeader(v) && (U(v[0]) != 0 || U(v[20]) == 2); }

uint64_t FindFirstHeader(const ByteSource& src, bool& found) {
  // Nearly every archive starts with its first header: looking there first reads 21
  // bytes (through the listing's window) instead of the whole self-extractor range.
  found = StartsMembers(src.ReadAvailable(0, 21));
  if (found) return 0;
  std::string head = src.ReadAvailable(0, kSfxScanLimit + 21);
  for (size_t p = 1; p + 21 <= head.size() && p <= kSfxScanLimit; ++p) {
    std::string_view v(head.data() + p, 21);
    if (StartsMembers(v)) {
      found = true;
      return p;
    }
  }
  return 0;
}

std::string CutAtNul(std::string_view s) {
  size_t z = s.find('\0');
  return std::string(z == std::string_view::npos ? s : s.substr(0, z));
}

// Folder extended header: 0xFF (and, in broken archives, "\" or "/") separate folders.
std::string FolderFromExtBlock(std::string_view payload) {
  std::string f = CutAtNul(payload);
  for (size_t i = 0; i < f.size(); ++i)
    if (U(f[i]) == 0xFF) f[i] = '/';
  f = NormalizeMemberSeparators(f);
  if (!f.empty() && f.back() != '/') f += '/';
  return f;
}

void SetPath(LzhMember& m, std::string path) {
  size_t start = 0;
  while (start < path.size() && path[start] == '/') ++start;
  path.erase(0, start);
  size_t sep = LastMemberSeparator(path);
  if (sep == std::string::npos) {
    m.folder.clear();
    m.name = path;
  } else {
    m.folder = path.substr(0, sep + 1);
    m.name = path.substr(sep + 1);
  }
}

struct ExtInfo {
  std::string name, folder, utf16Name;
  bool hasName = false, hasFolder = false;
  uint32_t crcOffset = 0;  // of the header CRC bytes, 0 = none
};

// Walks a chain of extended headers inside `hdr` starting at `off` with the first size
// `size`; sizes are `width` bytes wide. Returns the offset after the chain, or npos when
// the chain leaves `limit` (the header's end, or the buffer grown on demand by `more`).
template <typename More>
size_t WalkBlocks(std::string& hdr, size_t off, uint32_t size, int width, size_t limit, LzhMember& m,
                  ExtInfo& ext, More more) {
  const uint32_t overhead = 1 + width;
  while (size != 0) {
    if (size < overhead || off + size > limit) return std::string::npos;
    if (off + size > hdr.size() && !more(off + size)) return std::string::npos;
    std::string_view block(hdr.data() + off, size);
    const uint8_t type = U(block[0]);
    std::string_view payload = block.substr(1, size - overhead);
    m.blocks.push_back({type, static_cast<uint32_t>(off), static_cast<uint32_t>(payload.size())});
    switch (type) {
      case 0x00:
        if (payload.size() >= 2) ext.crcOffset = static_cast<uint32_t>(off + 1);
        break;
      case 0x01:
        ext.name = CutAtNul(payload);
        ext.hasName = true;
        break;
      case 0x02:
        ext.folder = FolderFromExtBlock(payload);
        ext.hasFolder = true;
        break;
      case 0x42: {
        ByteCursor sizes(payload);
        uint64_t compressed = 0, original = 0;
        if (sizes.Le64(compressed) && sizes.Le64(original)) {
          m.compressedSize = compressed;
          m.originalSize = original;
        }
        break;
      }
      case 0x44:
        ext.utf16Name = std::string(payload);
        break;
      case 0x50:
        if (auto mode = Le16At(payload, 0)) m.unixMode = *mode;
        break;
      default:
        break;
    }
    // The block is at least `overhead` bytes long, so its last `width` bytes exist.
    size = width == 2 ? Le16At(block, size - 2).value_or(0) : Le32At(block, size - 4).value_or(0);
    off += block.size();
  }
  return off;
}

bool HeaderCrcMatches(std::string hdr, uint32_t crcOffset) {
  const std::optional<uint16_t> stored = crcOffset == 0 ? std::nullopt : Le16At(hdr, crcOffset);
  if (!stored) return true;
  hdr[crcOffset] = hdr[crcOffset + 1] = 0;
  return LzhCrc16(hdr.data(), hdr.size()) == *stored;
}

uint8_t Checksum(std::string_view hdr, size_t end) {
  unsigned sum = 0;
  for (size_t i = 2; i < end; ++i) sum += U(hdr[i]);
  return static_cast<uint8_t>(sum);
}

void ApplyNames(LzhMember& m, const ExtInfo& ext, std::string baseField) {
  std::string file = ext.hasName ? ext.name : NormalizeMemberSeparators(CutAtNul(baseField));
  if (!ext.hasName && baseField.empty() && !ext.utf16Name.empty())
    file = PreferCp932(Utf16ToUtf8(ext.utf16Name, false));
  SetPath(m, (ext.hasFolder ? ext.folder : std::string()) + file);
}

// Parses the member header at `pos`. Returns false (with `why`) when it cannot.
bool ParseHeader(const ByteSource& src, uint64_t pos, LzhMember& m, std::string& why) {
  const uint64_t fileSize = src.Size();
  std::string head = src.ReadAvailable(pos, 32);
  if (!LooksLikeHeader(head)) {
    why = head.size() < 21 ? "truncated member header" : "not a member header";
    return false;
  }
  m.headerOffset = pos;
  m.method = head.substr(2, 5);
  m.level = U(head[20]);
  // LooksLikeHeader saw 21 bytes: the sizes at 7 and 11 are there.
  m.compressedSize = Le32At(head, 7).value_or(0);
  m.originalSize = Le32At(head, 11).value_or(0);
  ExtInfo ext;
  auto more = [&](std::string& hdr) {
    return [&src, &hdr, pos](size_t want) {
      if (want <= hdr.size()) return true;
      hdr += src.ReadAvailable(pos + hdr.size(), want - hdr.size());
      return hdr.size() >= want;
    };
  };

  if (m.level == 0 || m.level == 1) {
    const size_t len = size_t(U(head[0])) + 2;
    std::string hdr = src.ReadAvailable(pos, len);
    const size_t n = U(hdr.size() > 21 ? hdr[21] : 0);
    const size_t minimum = m.level == 0 ? 22 + n : 27 + n;
    if (hdr.size() < len || len < minimum) {
      why = "member header too short";
      return false;
    }
    // From here on the header holds `minimum` bytes at least.
    m.headerCheckOk = Checksum(hdr, len) == U(hdr[1]);
    m.dosTime = Le16At(hdr, 15).value_or(0);
    m.dosDate = Le16At(hdr, 17).value_or(0);
    std::string nameField = hdr.substr(22, n);
    if (m.level == 0) {
      const std::optional<uint16_t> crc = Le16At(hdr, 22 + n);
      m.hasCrc = crc.has_value();
      m.crc = crc.value_or(0);
      // LHa for UNIX's extended area: 'U', minor version, mtime, mode, uid, gid.
      if (len >= 24 + n + 12 && hdr[24 + n] == 'U') {
        m.os = 'U';
        m.unixMode = Le16At(hdr, 24 + n + 6).value_or(0);
      }
      m.headerSize = static_cast<uint32_t>(len);
      ApplyNames(m, ext, nameField);
    } else {
      m.crc = Le16At(hdr, 22 + n).value_or(0);
      m.os = U(hdr[24 + n]);
      const uint32_t first = Le16At(hdr, len - 2).value_or(0);
      auto grow = more(hdr);
      size_t end = WalkBlocks(hdr, len, first, 2, fileSize - pos, m, ext, grow);
      if (end == std::string::npos) {
        why = "extended header runs past the end of the archive";
        return false;
      }
      const uint64_t extTotal = end - len;
      const uint64_t skip = Le32At(hdr, 7).value_or(0);
      if (extTotal > skip) {
        why = "extended headers larger than the member";
        return false;
      }
      if (!std::any_of(m.blocks.begin(), m.blocks.end(), [](const LzhExtBlock& b) { return b.type == 0x42; }))
        m.compressedSize = skip - extTotal;
      hdr.resize(end);
      m.headerSize = static_cast<uint32_t>(end);
      m.headerCheckOk = m.headerCheckOk && HeaderCrcMatches(hdr, ext.crcOffset);
      ApplyNames(m, ext, nameField);
    }
  } else if (m.level == 2) {
    // The archive may end inside the fixed part of the header.
    const std::optional<uint8_t> os = U8At(head, 23);
    if (!os) {
      why = "truncated member header";
      return false;
    }
    m.os = *os;
    size_t len = Le16At(head, 0).value_or(0);
    if (m.os == 'K') len += 2;  // OS-9/68k writes the length two bytes short
    std::string hdr = src.ReadAvailable(pos, len);
    if (len < 26 || hdr.size() < len) {
      why = "member header too short";
      return false;
    }
    m.crc = Le16At(hdr, 21).value_or(0);
    m.unixTime = Le32At(hdr, 15).value_or(0);
    auto grow = more(hdr);
    if (WalkBlocks(hdr, 26, Le16At(hdr, 24).value_or(0), 2, len, m, ext, grow) == std::string::npos) {
      why = "extended header runs past the member header";
      return false;
    }
    m.headerSize = static_cast<uint32_t>(len);
    m.headerCheckOk = HeaderCrcMatches(hdr, ext.crcOffset);
    ApplyNames(m, ext, {});
  } else {
    const std::optional<uint8_t> os = U8At(head, 23);
    const std::optional<uint32_t> len32 = Le32At(head, 24);
    if (!os || !len32) {
      why = "truncated member header";
      return false;
    }
    m.os = *os;
    const uint32_t len = *len32;
    if (Le16At(head, 0) != 4 || len < 32 || len > kLevel3HeaderLimit) {
      why = "bad level-3 header";
      return false;
    }
    std::string hdr = src.ReadAvailable(pos, len);
    if (hdr.size() < len) {
      why = "member header too short";
      return false;
    }
    m.crc = Le16At(hdr, 21).value_or(0);
    m.unixTime = Le32At(hdr, 15).value_or(0);
    auto grow = more(hdr);
    if (WalkBlocks(hdr, 32, Le32At(hdr, 28).value_or(0), 4, len, m, ext, grow) == std::string::npos) {
      why = "extended header runs past the member header";
      return false;
    }
    m.headerSize = len;
    m.headerCheckOk = HeaderCrcMatches(hdr, ext.crcOffset);
    ApplyNames(m, ext, {});
  }
  if (m.level >= 2) {
    DosStamp s = DosStampFromUnixTime(static_cast<std::time_t>(m.unixTime));
    m.dosDate = s.date;
    m.dosTime = s.time;
  }
  m.dataOffset = pos + m.headerSize;
  return true;
}

}  // namespace

bool LzhMember::IsRegularFile() const {
  if (IsDirectory()) return false;
  const uint32_t type = unixMode & 0170000;
  return type == 0 || type == 0100000;
}

LzhListing ListLzhArchive(const ByteSource& archive) {
  // The headers are read through one window: one read for many small members. A
  // source that is a window already (the scan's archive port) is read as it is.
  const auto* windowed = dynamic_cast<const WindowedByteSource*>(&archive);
  std::optional<WindowedByteSource> own;
  if (!windowed) own.emplace(archive);
  const ByteSource& src = windowed ? static_cast<const ByteSource&>(*windowed) : *own;
  LzhListing out;
  const uint64_t size = src.Size();
  bool found = false;
  uint64_t pos = FindFirstHeader(src, found);
  if (!found) {
    out.damaged = true;
    out.error = size == 0 ? "empty file" : "no LZH member header found";
    return out;
  }
  out.firstHeader = pos;
  while (pos < size) {
    std::string lead = src.ReadAvailable(pos, 21);
    // A 0x00 byte ends the archive, unless it starts a level-2 header of length 256.
    if (U(lead[0]) == 0 && !(LooksLikeHeader(lead) && U(lead[20]) == 2)) break;
    LzhMember m;
    std::string why;
    if (!ParseHeader(src, pos, m, why)) {
      out.damaged = true;
      out.error = fmt::format("{} at offset {} (after {} members)", why, pos, out.members.size());
      break;
    }
    const uint64_t end = m.dataOffset + m.compressedSize;
    const bool truncated = end > size || end < m.dataOffset;
    out.members.push_back(std::move(m));
    if (truncated) {
      out.damaged = true;
      out.error = fmt::format("data of member {} run past the end of the archive", out.members.size());
      pos = size;
      break;
    }
    pos = end;
  }
  out.endOffset = std::min(pos, size);
  return out;
}

LzhListing ListLzhFile(const std::string& path) {
  auto src = FileByteSource::Open(path);
  if (!src) {
    LzhListing out;
    out.damaged = true;
    out.error = "cannot open " + path;
    return out;
  }
  return ListLzhArchive(*src);
}

std::vector<LzhMember> MatchingLzhMembers(const LzhListing& listing, const std::string& wildcardText) {
  std::vector<std::string> patterns = SplitWildcardText(wildcardText);
  std::vector<LzhMember> out;
  for (const auto& m : listing.members) {
    if (m.IsDirectory()) continue;
    if (patterns.empty() || MemberMatchesAny(patterns, m.Path())) out.push_back(m);
  }
  return out;
}

}  // namespace kadrel
