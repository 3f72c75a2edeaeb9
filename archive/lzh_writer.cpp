// Writing LZH archives: stored archives for tests and samples, and the member rename
// that rebuilds only the headers of matching members.

#include "archive/lzh_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/atomic_file.h"
#include "base/byte_cursor.h"
#include "base/byte_source.h"
#include "base/dos_datetime.h"
#include "base/encoding.h"
#include "archive/lzh_archive.h"
#include "archive/lzh_names.h"

namespace kadrel {
namespace {

unsigned char U(char c) { return static_cast<unsigned char>(c); }

void Put16(std::string& s, uint32_t v) { AppendLe16(s, static_cast<uint16_t>(v)); }
void Put32(std::string& s, uint32_t v) { AppendLe32(s, v); }
void Set16(std::string& s, size_t at, uint32_t v) { StoreLe16(s, at, static_cast<uint16_t>(v)); }
void Set32(std::string& s, size_t at, uint32_t v) { StoreLe32(s, at, v); }

uint8_t Checksum(std::string_view hdr) {
  unsigned sum = 0;
  for (size_t i = 2; i < hdr.size(); ++i) sum += U(hdr[i]);
  return static_cast<uint8_t>(sum);
}

struct Block {
  uint8_t type;
  std::string payload;
};

// Blocks serialised as a chain: type, payload, size of the next block (0 after the last).
std::string Chain(const std::vector<Block>& blocks) {
  std::string out;
  for (size_t i = 0; i < blocks.size(); ++i) {
    out += static_cast<char>(blocks[i].type);
    out += blocks[i].payload;
    Put16(out, i + 1 < blocks.size() ? blocks[i + 1].payload.size() + 3 : 0);
  }
  return out;
}
uint32_t FirstSize(const std::vector<Block>& blocks) {
  return blocks.empty() ? 0 : static_cast<uint32_t>(blocks[0].payload.size() + 3);
}

void StoreHeaderCrc(std::string& hdr, size_t crcOffset) {
  hdr[crcOffset] = hdr[crcOffset + 1] = 0;
  Set16(hdr, crcOffset, LzhCrc16(hdr.data(), hdr.size()));
}

// Offset of the first 0x00 block's CRC bytes in a header built as base + Chain(blocks).
size_t CrcOffsetIn(size_t baseSize, const std::vector<Block>& blocks) {
  size_t off = baseSize;
  for (const auto& b : blocks) {
    if (b.type == 0x00 && b.payload.size() >= 2) return off + 1;
    off += b.payload.size() + 3;
  }
  return 0;
}

void PadLevel2(std::string& hdr) {
  if ((hdr.size() & 0xFF) == 0) hdr += '\0';
  Set16(hdr, 0, static_cast<uint32_t>(hdr.size()));
}

std::string FolderBlockPayload(std::string_view folder) {
  std::string f(folder);
  for (auto& c : f)
    if (c == '/') c = static_cast<char>(0xFF);
  if (!f.empty() && U(f.back()) != 0xFF) f += static_cast<char>(0xFF);
  return f;
}

std::string CommonPart(const StoredMember& m, uint32_t stamp, int level) {
  std::string s = m.directory ? "-lhd-" : "-lh0-";
  const uint32_t size = m.directory ? 0 : static_cast<uint32_t>(m.data.size());
  Put32(s, size);
  Put32(s, size);
  Put32(s, stamp);
  s += static_cast<char>(0x20);
  s += static_cast<char>(level);
  return s;
}

// Replaces the base name inside a name field that may hold a folder part and a NUL tail.
std::string ReplaceBaseInField(std::string_view field, const std::string& newName, bool backslashToo) {
  size_t nul = field.find('\0');
  std::string_view main = nul == std::string_view::npos ? field : field.substr(0, nul);
  std::string_view tail = nul == std::string_view::npos ? std::string_view() : field.substr(nul);
  size_t sep = LastMemberSeparator(main, backslashToo);
  std::string out(sep == std::string_view::npos ? std::string_view() : main.substr(0, sep + 1));
  out += newName;
  out += tail;
  return out;
}

std::string Utf8ToUtf16Le(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = U(s[i]);
    uint32_t cp = 0;
    int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (i + len > s.size()) break;
    cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (U(s[i + k]) & 0x3F);
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      Put16(out, 0xD800 + (cp >> 10));
      Put16(out, 0xDC00 + (cp & 0x3FF));
    } else {
      Put16(out, cp);
    }
  }
  return out;
}

bool ValidNewName(const std::string& name, std::string& why) {
  if (name.empty() || name == "." || name == "..") {
    why = "the new name is empty or a dot name";
    return false;
  }
  if (LastMemberSeparator(name, true) != std::string::npos) {
    why = "the new name contains a folder separator";
    return false;
  }
  for (char c : name)
    if (c == '\0' || U(c) == 0xFF) {
      why = "the new name contains a NUL or 0xFF byte";
      return false;
    }
  return true;
}

bool NameMatches(const std::string& oldName, const LzhMember& m) {
  if (m.IsDirectory()) return false;
  if (LastMemberSeparator(oldName, true) != std::string::npos) {
    std::string p = NormalizeMemberSeparators(oldName);
    while (!p.empty() && p[0] == '/') p.erase(0, 1);
    return MemberNamesEqual(p, m.Path());
  }
  return MemberNamesEqual(oldName, m.name);
}

std::vector<Block> BlocksOf(std::string_view hdr, const LzhMember& m) {
  std::vector<Block> out;
  for (const auto& b : m.blocks) out.push_back({b.type, std::string(hdr.substr(b.offset + 1, b.payload))});
  return out;
}

// Rebuilds one header with the new base name. Empty result (and why) when it cannot.
std::string RenamedHeader(std::string_view hdr, const LzhMember& m, const std::string& newName, std::string& why) {
  if (m.level == 0) {
    const size_t n = U(hdr[21]);
    std::string field = ReplaceBaseInField(hdr.substr(22, n), newName, true);
    std::string out(hdr.substr(0, 21));
    out += static_cast<char>(field.size() & 0xFF);
    out += field;
    out += hdr.substr(22 + n);
    if (field.size() > 255 || out.size() - 2 > 255) {
      why = "the new name does not fit a level-0 header";
      return {};
    }
    out[0] = static_cast<char>(out.size() - 2);
    out[1] = static_cast<char>(Checksum(out));
    return out;
  }
  std::vector<Block> blocks = BlocksOf(hdr, m);
  bool inBlock = false;
  for (auto& b : blocks) {
    if (b.type == 0x01) {
      b.payload = ReplaceBaseInField(b.payload, newName, m.level == 1);
      inBlock = true;
    }
  }
  for (auto& b : blocks) {
    if (b.type == 0x44) {
      std::string utf8 = DisplayText(newName);
      if (utf8.find("\xEF\xBF\xBD") != std::string::npos) {
        why = "the new name has no Unicode form";
        return {};
      }
      b.payload = Utf8ToUtf16Le(utf8);
    }
  }
  size_t oldExt = 0, newExt = 0;
  for (const auto& b : m.blocks) oldExt += b.payload + 3;
  for (const auto& b : blocks) newExt += b.payload.size() + 3;
  if (m.level == 1) {
    const size_t baseLen = size_t(U(hdr[0])) + 2;
    const size_t n = U(hdr[21]);
    std::string out(hdr.substr(0, baseLen));
    if (!inBlock) {
      std::string field = ReplaceBaseInField(hdr.substr(22, n), newName, true);
      if (field.size() > 230) {
        why = "the new name does not fit a level-1 header";
        return {};
      }
      out = std::string(hdr.substr(0, 21)) + static_cast<char>(field.size()) + field +
            std::string(hdr.substr(22 + n, baseLen - 22 - n));
    }
    if (out.size() - 2 > 255) {
      why = "the new name does not fit a level-1 header";
      return {};
    }
    out[0] = static_cast<char>(out.size() - 2);
    Set16(out, out.size() - 2, FirstSize(blocks));
    const uint64_t skip = uint64_t(Le32At(out, 7).value_or(0)) - oldExt + newExt;
    if (skip > 0xFFFFFFFFu) {
      why = "member too large";
      return {};
    }
    Set32(out, 7, static_cast<uint32_t>(skip));
    out[1] = static_cast<char>(Checksum(out));
    const size_t base = out.size();
    out += Chain(blocks);
    if (size_t crc = CrcOffsetIn(base, blocks)) StoreHeaderCrc(out, crc);
    return out;
  }
  // Level 2. Bytes between the chain's end and the header's end are kept, except the
  // one padding byte, which is recomputed.
  if (m.os == 'K') {
    why = "OS-9/68k level-2 headers are not rewritten";
    return {};
  }
  size_t chainEnd = 26 + oldExt;
  std::string extra(hdr.substr(std::min(chainEnd, hdr.size())));
  if (extra == std::string(1, '\0')) extra.clear();
  std::string out(hdr.substr(0, 26));
  Set16(out, 24, FirstSize(blocks));
  out += Chain(blocks);
  out += extra;
  if (out.size() + 1 > 0xFFFF) {
    why = "the new name does not fit a level-2 header";
    return {};
  }
  PadLevel2(out);
  if (size_t crc = CrcOffsetIn(26, blocks)) StoreHeaderCrc(out, crc);
  return out;
}

}  // namespace

std::string BuildStoredArchive(const std::vector<StoredMember>& members, int level, char os) {
  std::string out;
  for (const auto& m : members) {
    std::string path = m.path;
    while (!path.empty() && path[0] == '/') path.erase(0, 1);
    if (m.directory && !path.empty() && path.back() != '/') path += '/';
    const size_t sep = LastMemberSeparator(path);
    const std::string folder = sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
    const std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    const uint16_t crc = m.directory ? 0 : LzhCrc16(m.data.data(), m.data.size());
    const DosStamp dos = DosStampFromUnixTime(static_cast<std::time_t>(m.unixTime));
    const uint32_t dosWord = uint32_t(dos.time) | uint32_t(dos.date) << 16;
    std::string hdr;
    if (level == 0) {
      std::string field = path;
      for (auto& c : field)
        if (c == '/') c = '\\';  // "/" is never a Shift-JIS trail byte
      if (field.size() > 233) return {};
      hdr = "xx" + CommonPart(m, dosWord, 0);
      hdr[19] = static_cast<char>(m.directory ? 0x10 : 0x20);
      hdr += static_cast<char>(field.size());
      hdr += field;
      Put16(hdr, crc);
      hdr[0] = static_cast<char>(hdr.size() - 2);
      hdr[1] = static_cast<char>(Checksum(hdr));
    } else if (level == 1) {
      if (name.size() > 230) return {};
      std::vector<Block> blocks;
      if (!folder.empty()) blocks.push_back({0x02, FolderBlockPayload(folder)});
      hdr = "xx" + CommonPart(m, dosWord, 1);
      hdr += static_cast<char>(name.size());
      hdr += name;
      Put16(hdr, crc);
      hdr += os;
      Put16(hdr, FirstSize(blocks));
      hdr[0] = static_cast<char>(hdr.size() - 2);
      uint32_t ext = 0;
      for (const auto& b : blocks) ext += static_cast<uint32_t>(b.payload.size() + 3);
      Set32(hdr, 7, Le32At(hdr, 7).value_or(0) + ext);
      hdr[1] = static_cast<char>(Checksum(hdr));
      hdr += Chain(blocks);
    } else if (level == 2) {
      if (path.size() > 65000) return {};
      std::vector<Block> blocks{{0x00, std::string(2, '\0')}, {0x01, name}};
      if (!folder.empty()) blocks.push_back({0x02, FolderBlockPayload(folder)});
      hdr = "xx" + CommonPart(m, m.unixTime, 2);
      Put16(hdr, crc);
      hdr += os;
      Put16(hdr, FirstSize(blocks));
      hdr += Chain(blocks);
      PadLevel2(hdr);
      StoreHeaderCrc(hdr, CrcOffsetIn(26, blocks));
    } else {
      return {};
    }
    out += hdr;
    if (!m.directory) out += m.data;
  }
  out += '\0';
  return out;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error, int mode) {
  if (mode < 0) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0644 & ~mask;
  }
  std::string why;
  if (ReplaceFileAtomically(path, bytes, &why, static_cast<unsigned>(mode))) return true;
  if (error) *error = "cannot write " + path + ": " + why;
  return false;
}

bool WriteStoredArchive(const std::string& path, const std::vector<StoredMember>& members, int level,
                        std::string* error) {
  std::string bytes = BuildStoredArchive(members, level);
  if (bytes.empty()) {
    if (error) *error = "a member name does not fit the header level";
    return false;
  }
  return WriteFileAtomically(path, bytes, error);
}

RenameResult RenameLzhMembersInMemory(const std::string& archive, const std::string& oldName,
                                      const std::string& newName, std::string& out) {
  RenameResult r;
  out.clear();
  if (!ValidNewName(newName, r.error)) return r;
  MemoryByteSource src(archive);
  LzhListing listing = ListLzhArchive(src);
  if (listing.damaged) {
    r.error = "the archive is damaged (" + listing.error + ")";
    return r;
  }
  for (const auto& m : listing.members)
    if (m.level > 2) {
      r.error = "archives with level-3 headers cannot be renamed";
      return r;
    }
  out.append(archive, 0, listing.firstHeader);
  for (const auto& m : listing.members) {
    std::string_view hdr(archive.data() + m.headerOffset, m.headerSize);
    if (NameMatches(oldName, m)) {
      std::string rebuilt = RenamedHeader(hdr, m, newName, r.error);
      if (rebuilt.empty()) {
        out.clear();
        return r;
      }
      out += rebuilt;
      ++r.renamed;
    } else {
      out += hdr;
    }
    out.append(archive, m.dataOffset, m.compressedSize);
  }
  out.append(archive, listing.endOffset, std::string::npos);
  r.ok = true;
  return r;
}

RenameResult RenameLzhMembers(const std::string& archivePath, const std::string& oldName, const std::string& newName) {
  RenameResult r;
  auto file = FileByteSource::Open(archivePath);
  struct stat st {};
  if (!file || ::stat(archivePath.c_str(), &st) != 0) {
    r.error = "cannot open " + archivePath;
    return r;
  }
  const std::string original = file->Read(0, static_cast<size_t>(file->Size()));
  file.reset();
  std::string rewritten;
  r = RenameLzhMembersInMemory(original, oldName, newName, rewritten);
  if (!r.ok || r.renamed == 0) return r;

  // Self-check: same members, same data bytes, expected names, renamed members decode.
  MemoryByteSource before(original), after(rewritten);
  LzhListing a = ListLzhArchive(before), b = ListLzhArchive(after);
  bool good = !b.damaged && a.members.size() == b.members.size();
  for (size_t i = 0; good && i < a.members.size(); ++i) {
    const LzhMember &x = a.members[i], &y = b.members[i];
    const bool renamed = NameMatches(oldName, x);
    good = x.compressedSize == y.compressedSize && x.originalSize == y.originalSize && x.crc == y.crc &&
           x.method == y.method && y.headerCheckOk &&
           std::string_view(original).substr(x.dataOffset, x.compressedSize) ==
               std::string_view(rewritten).substr(y.dataOffset, y.compressedSize) &&
           (renamed ? (y.name == newName && y.folder == x.folder) : y.Path() == x.Path());
    if (good && renamed && LzhMethodSupported(x.method)) {
      std::string d1, d2;
      good = DecodeLzhMember(before, x, d1) == DecodeLzhMember(after, y, d2);
    }
  }
  if (!good) {
    r.ok = false;
    r.error = "the rewritten archive did not pass its check; the archive was left unchanged";
    return r;
  }
  if (!WriteFileAtomically(archivePath, rewritten, &r.error, static_cast<int>(st.st_mode & 07777))) r.ok = false;
  return r;
}

}  // namespace kadrel
