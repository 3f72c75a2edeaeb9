#include "formats/document/load_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/encoding.h"

namespace kadrel {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The first read of a document; most read-me files fit, and a larger one needs only its
// head for the first lines.
constexpr size_t kFirstRead = 16 * 1024;

// A line within the limit as it is; an over-long one cut to the limit without
// splitting a double-byte character.
std::string_view CutLine(std::string_view line) {
  if (line.size() <= kDocumentMaxLineBytes) return line;
  size_t i = 0;
  while (i < line.size()) {
    size_t len = IsSjisLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    if (i + len > kDocumentMaxLineBytes) break;
    i += len;
  }
  return line.substr(0, i);
}

// CR, LF and the end-of-text byte 0x1A (never a trail byte of a double-byte character).
inline bool IsLineEnd(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b <= 0x1A && (b == '\r' || b == '\n' || b == 0x1A);
}

}  // namespace

char* DocumentText::Room(size_t size) {
  if (size > capacity_) {
    auto bigger = std::make_unique_for_overwrite<char[]>(size);
    if (size_ > 0) std::memcpy(bigger.get(), buffer_.get(), size_);
    buffer_ = std::move(bigger);
    capacity_ = size;
  }
  return buffer_.get();
}

bool DocumentText::Split(size_t maxLines, bool atEnd) {
  lines_.clear();
  const std::string_view text(buffer_.get(), size_);
  size_t i = 0;
  while (lines_.size() < maxLines) {
    size_t j = i;
    while (j < text.size() && !IsLineEnd(text[j])) ++j;
    if (j == text.size()) {
      if (!atEnd) return false;
      if (i < text.size()) lines_.push_back(CutLine(text.substr(i)));
      return true;
    }
    if (text[j] == '\x1a') {
      if (j > i) lines_.push_back(CutLine(text.substr(i, j - i)));
      return true;
    }
    // A CR as the last byte read may be the first half of a CR LF.
    if (text[j] == '\r' && j + 1 == text.size() && !atEnd) return false;
    lines_.push_back(CutLine(text.substr(i, j - i)));
    i = j + 1;
    if (text[j] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  return true;
}

bool DocumentText::Load(const std::string& path, int maxLines, bool listedRegular) {
  return LoadAt(AT_FDCWD, path, maxLines, listedRegular);
}

bool DocumentText::LoadAt(int folderFd, const std::string& name, int maxLines, bool listedRegular) {
  Clear();
  Fd fd(::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return false;
  struct stat st {};
  if (!listedRegular && (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))) return false;
  const size_t lineLimit = maxLines > 0 ? static_cast<size_t>(maxLines) : 0;
  if (lineLimit == 0) return true;

  // The size taken with the type bounds the reads: a small file comes in one pread and
  // needs no second read to see its end. A file of unknown size (listed, or one that
  // claims no size) is read until a read comes back short, which for most documents is
  // the first. pread fails on folders and pipes.
  const size_t size = st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  const size_t limit = size > 0 ? std::min(size, kDocumentMaxReadBytes) : kDocumentMaxReadBytes;
  size_t total = 0;
  size_t want = std::min(kFirstRead, limit);
  for (;;) {
    char* room = Room(total + want);
    const ssize_t got = ::pread(fd.get(), room + total, want, static_cast<off_t>(total));
    if (got < 0) {
      if (errno == EINTR) continue;
      Clear();
      return false;
    }
    total += static_cast<size_t>(got);
    size_ = total;
    const bool atEnd = static_cast<size_t>(got) < want || total >= limit;
    if (Split(lineLimit, atEnd) || atEnd) return true;
    // Grow by doubling, so that re-splitting from the start stays linear in the bytes.
    want = std::min(std::max(total, kFirstRead), limit - total);
  }
}

void DocumentText::LoadBytes(std::string_view bytes, int maxLines) {
  Clear();
  const std::string_view kept = bytes.substr(0, std::min(bytes.size(), kDocumentMaxReadBytes));
  if (!kept.empty()) std::memcpy(Room(kept.size()), kept.data(), kept.size());
  size_ = kept.size();
  Split(maxLines > 0 ? static_cast<size_t>(maxLines) : 0, true);
}

void DocumentText::Clear() {
  size_ = 0;
  lines_.clear();
}

bool LoadDocument(std::vector<std::string>& lines, const std::string& path, int maxLines) {
  DocumentText text;
  if (!text.Load(path, maxLines)) return false;
  lines.assign(text.Lines().begin(), text.Lines().end());
  return true;
}

void LoadDocumentFromBytes(std::vector<std::string>& lines, std::string_view bytes, int maxLines) {
  DocumentText text;
  text.LoadBytes(bytes, maxLines);
  lines.assign(text.Lines().begin(), text.Lines().end());
}

}  // namespace kadrel
