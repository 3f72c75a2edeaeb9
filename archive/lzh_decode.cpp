// Decoding members with liblhasa's decoders: into memory (whole or the first bytes) and
// into a file in the destination folder (temporary file, checked, then renamed).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <lha_decoder.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <vector>

#include "base/dos_datetime.h"
#include "base/owned_temp.h"
#include "archive/lzh_archive.h"
#include "archive/lzh_names.h"

namespace kadrel {
namespace {

constexpr size_t kChunk = 64 * 1024;
// Decoded bytes are taken in pieces of this size, so decoding stops within one piece
// of the point where the compressed data ran out.
constexpr size_t kStep = 4096;
// Reads that give the decoder nothing: one is normal at the end (the library fills its
// buffer ahead), and some -pm1- archives need a few zero bytes past their data, which
// liblhasa's -pm1- decoder supplies (up to 4 per read) when a read gives nothing. A
// decoder that goes on after more such reads is making output out of nothing.
constexpr uint64_t kEmptyReadAllowance = 4;
constexpr uint64_t kPm1PaddingBytes = 4 * kEmptyReadAllowance;

std::vector<char>& ChunkBuffer() {
  thread_local std::vector<char> buffer(kChunk);
  return buffer;
}

// Feeds the member's compressed bytes to the decoder, read from the archive in chunks.
struct CompressedFeed {
  const ByteSource* src;
  uint64_t pos;
  uint64_t remaining;
  // One chunk buffer per thread, reused by every member it decodes (a thread decodes
  // one member at a time).
  std::vector<char>& buffer = ChunkBuffer();
  size_t bufPos = 0, bufLen = 0;
  uint64_t emptyReads = 0;  // reads that found the member's data at their end

  // Fills `out` completely unless the member's data end: some decoders take a short
  // read for the end of the stream.
  static size_t Callback(void* out, size_t len, void* user) {
    auto* self = static_cast<CompressedFeed*>(user);
    size_t done = 0;
    while (done < len) {
      if (self->bufPos == self->bufLen && !self->Refill()) break;
      const size_t n = std::min(len - done, self->bufLen - self->bufPos);
      std::memcpy(static_cast<char*>(out) + done, self->buffer.data() + self->bufPos, n);
      self->bufPos += n;
      done += n;
    }
    if (done == 0 && len > 0) ++self->emptyReads;
    return done;
  }

  bool Exhausted() const { return emptyReads > kEmptyReadAllowance; }

  bool Refill() {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(remaining, kChunk));
    const size_t got = want == 0 ? 0 : src->ReadAt(pos, buffer.data(), want);
    if (got == 0) {
      remaining = 0;
      return false;
    }
    pos += got;
    remaining -= got;
    bufPos = 0;
    bufLen = got;
    return true;
  }
};

struct DecoderDeleter {
  void operator()(LHADecoder* d) const { lha_decoder_free(d); }
};

// A decoder for the member, or null when the method has none.
class MemberDecoder {
 public:
  MemberDecoder(const ByteSource& src, const LzhMember& m) : feed_{&src, m.dataOffset, m.compressedSize} {
    if (m.IsDirectory()) return;
    char name[8] = {};
    std::memcpy(name, m.method.data(), std::min<size_t>(m.method.size(), 5));
    auto type = lha_decoder_for_name(name);
    if (type == nullptr || m.originalSize > SIZE_MAX) return;
    decoder_.reset(lha_decoder_new(type, &CompressedFeed::Callback, &feed_, static_cast<size_t>(m.originalSize)));
  }
  bool ok() const { return decoder_ != nullptr; }
  size_t Read(char* out, size_t n) { return lha_decoder_read(decoder_.get(), reinterpret_cast<uint8_t*>(out), n); }
  uint16_t Crc() const { return lha_decoder_get_crc(decoder_.get()); }
  bool InputExhausted() const { return feed_.Exhausted(); }

 private:
  CompressedFeed feed_;
  std::unique_ptr<LHADecoder, DecoderDeleter> decoder_;
};

// How much a method can make of its input at best (see docs/lzh.md, "Declared sizes"):
// `bytes` of output for every `bits` bits of compressed data, counted over the
// compressed size plus `extraBytes` (the zero padding the -pm1- decoder may read).
struct ExpansionLimit {
  const char* method;
  uint64_t bytes;
  uint64_t bits;
  uint64_t extraBytes;
};

constexpr ExpansionLimit kExpansionLimits[] = {
    {"-lh0-", 1, 8, 0},
    {"-lz4-", 1, 8, 0},
    {"-pm0-", 1, 8, 0},
    {"-lzs-", 17, 16, 0},           // a 16-bit copy command of 17 bytes
    {"-lz5-", 9, 8, 0},             // a 2-byte copy of 18 bytes (8 of them per flag byte)
    {"-lh1-", 6, 1, 0},             // 60 bytes for a 1-bit code and 3+6 offset bits
    {"-pm1-", 76, 8, kPm1PaddingBytes},  // 244 bytes in 26 bits, rounded up
    {"-pm2-", 4096, 1, 0},          // one bit per tree rebuild, every 4096 bytes
    // One block: a 52-bit (54 with 5-bit offset counts) header of single-code tables,
    // then 65535 commands of zero bits copying 258 bytes each.
    {"-lh4-", 65535 * 258, 52, 0},
    {"-lh5-", 65535 * 258, 52, 0},
    {"-lh6-", 65535 * 258, 54, 0},
    {"-lh7-", 65535 * 258, 54, 0},
    {"-lhx-", 65535 * 258, 54, 0},
};

uint64_t SaturatingMul(uint64_t a, uint64_t b) {
  uint64_t r = 0;
  return __builtin_mul_overflow(a, b, &r) ? UINT64_MAX : r;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
  uint64_t r = 0;
  return __builtin_add_overflow(a, b, &r) ? UINT64_MAX : r;
}

enum class RunEnd { Done, InputExhausted, SinkFailed };

// Decodes up to `want` bytes in pieces of kStep, handing each piece to `sink`. Stops
// at the decoder's end, at `want`, when the sink fails, or as soon as the decoder
// has read past the compressed data more often than allowed (the piece made then is
// not handed on).
template <typename Sink>
RunEnd RunDecoder(MemberDecoder& decoder, uint64_t want, uint64_t& produced, Sink&& sink) {
  char piece[kStep];
  produced = 0;
  while (produced < want) {
    const size_t n = decoder.Read(piece, static_cast<size_t>(std::min<uint64_t>(kStep, want - produced)));
    if (decoder.InputExhausted()) return RunEnd::InputExhausted;
    if (n == 0) break;
    if (!sink(piece, n)) return RunEnd::SinkFailed;
    produced += n;
  }
  return RunEnd::Done;
}

bool Implausible(const LzhMember& m) {
  return m.originalSize > LzhLargestOriginalSize(m.method, m.compressedSize);
}

bool Complete(const LzhMember& m, uint64_t produced, uint16_t crc) {
  return produced == m.originalSize && (!m.hasCrc || crc == m.crc);
}

constexpr std::string_view kUnpackPrefix = ".kadrel-unpack-";
constexpr std::string_view kUnpackSuffix = ".tmp";

// ".kadrel-unpack-<pid>-<start>-<n>.tmp": the name says which process writes it.
std::string TempName() { return OwnedTempName(kUnpackPrefix, kUnpackSuffix); }

// The first extraction of a run into a folder clears the temporaries that runs which
// were killed while extracting there left behind.
void ClearOrphansOnce(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> cleared;
  {
    std::lock_guard lock(mutex);
    if (!cleared.insert(folder).second) return;
  }
  RemoveOrphanedTemporaries(folder, kUnpackPrefix, kUnpackSuffix);
}

void SetModificationTime(int fd, const LzhMember& m) {
  std::time_t t = 0;
  if (m.level >= 2) {
    t = static_cast<std::time_t>(m.unixTime);
  } else {
    CalendarTime c = UnpackDosStamp(m.dosDate, m.dosTime);
    if (!IsValidCalendarTime(c)) return;
    std::tm tm{};
    tm.tm_year = c.year - 1900;
    tm.tm_mon = c.month - 1;
    tm.tm_mday = c.day;
    tm.tm_hour = c.hour;
    tm.tm_min = c.minute;
    tm.tm_sec = c.second;
    tm.tm_isdst = -1;
    t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return;
  }
  struct timespec times[2] = {{0, UTIME_OMIT}, {t, 0}};
  ::futimens(fd, times);
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int f = fd_;
    fd_ = -1;
    return f;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

}  // namespace

bool LzhMethodSupported(const std::string& method) {
  if (method.size() != 5 || method == "-lhd-") return false;
  char name[8] = {};
  std::memcpy(name, method.data(), 5);
  return lha_decoder_for_name(name) != nullptr;
}

uint64_t LzhLargestOriginalSize(const std::string& method, uint64_t compressedSize) {
  for (const ExpansionLimit& l : kExpansionLimits) {
    if (method != l.method) continue;
    const uint64_t bits = SaturatingMul(SaturatingAdd(compressedSize, l.extraBytes), 8);
    return SaturatingMul(bits / l.bits, l.bytes);
  }
  return 0;
}

LzhDecodeStatus DecodeLzhMember(const ByteSource& archive, const LzhMember& member, std::string& out, uint64_t limit) {
  out.clear();
  if (member.IsDirectory()) return LzhDecodeStatus::UnsupportedMethod;
  MemberDecoder decoder(archive, member);
  if (!decoder.ok()) return LzhDecodeStatus::UnsupportedMethod;
  if (Implausible(member)) return LzhDecodeStatus::Implausible;
  const uint64_t want = limit == 0 ? member.originalSize : std::min(limit, member.originalSize);
  // Grow with the data rather than trusting the declared size up front.
  out.reserve(static_cast<size_t>(std::min<uint64_t>(want, 16u << 20)));
  uint64_t produced = 0;
  const RunEnd end = RunDecoder(decoder, want, produced, [&](const char* p, size_t n) {
    out.append(p, n);
    return true;
  });
  if (end != RunEnd::Done) return LzhDecodeStatus::DataError;
  if (limit != 0 && produced == limit && limit < member.originalSize) return LzhDecodeStatus::Partial;
  return Complete(member, produced, decoder.Crc()) ? LzhDecodeStatus::Ok : LzhDecodeStatus::DataError;
}

LzhDecodeStatus ExtractLzhMember(const ByteSource& archive, const LzhMember& member, const std::string& destFolder,
                                 std::string* writtenPath, uint64_t* bytesWritten) {
  uint64_t written = 0;
  struct ReportWritten {
    uint64_t& from;
    uint64_t* to;
    ~ReportWritten() {
      if (to) *to = from;
    }
  } report{written, bytesWritten};

  if (!member.IsRegularFile()) return LzhDecodeStatus::Refused;
  const std::string fileName = ExtractedFileName(member.name);
  if (fileName.empty()) return LzhDecodeStatus::Refused;
  MemberDecoder decoder(archive, member);
  if (!decoder.ok()) return LzhDecodeStatus::UnsupportedMethod;
  if (Implausible(member)) return LzhDecodeStatus::Implausible;

  Fd dir(::open(destFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) return LzhDecodeStatus::WriteError;
  ClearOrphansOnce(destFolder);
  const std::string temp = TempName();
  Fd file(::openat(dir.get(), temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
  if (file.get() < 0) return LzhDecodeStatus::WriteError;

  // Pieces are gathered into one buffer and written a chunk at a time.
  std::vector<char> buf;
  buf.reserve(kChunk);
  auto flush = [&] {
    if (!WriteAll(file.get(), buf.data(), buf.size())) return false;
    written += buf.size();
    buf.clear();
    return true;
  };
  uint64_t produced = 0;
  const RunEnd end = RunDecoder(decoder, member.originalSize, produced, [&](const char* p, size_t n) {
    buf.insert(buf.end(), p, p + n);
    return buf.size() < kChunk || flush();
  });
  LzhDecodeStatus status = LzhDecodeStatus::Ok;
  if (end == RunEnd::SinkFailed || (end == RunEnd::Done && !flush())) status = LzhDecodeStatus::WriteError;
  else if (end == RunEnd::InputExhausted || !Complete(member, produced, decoder.Crc())) status = LzhDecodeStatus::DataError;
  if (status == LzhDecodeStatus::Ok) SetModificationTime(file.get(), member);
  if (::close(file.release()) != 0 && status == LzhDecodeStatus::Ok) status = LzhDecodeStatus::WriteError;
  if (status == LzhDecodeStatus::Ok && ::renameat(dir.get(), temp.c_str(), dir.get(), fileName.c_str()) != 0)
    status = LzhDecodeStatus::WriteError;
  if (status != LzhDecodeStatus::Ok) {
    ::unlinkat(dir.get(), temp.c_str(), 0);
    return status;
  }
  if (writtenPath) *writtenPath = destFolder + (destFolder.empty() || destFolder.back() == '/' ? "" : "/") + fileName;
  return status;
}

}  // namespace kadrel
