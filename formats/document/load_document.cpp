#include "formats/document/load_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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

// Cuts an over-long line to the limit without splitting a double-byte character.
void CutLine(std::string& line) {
  size_t i = 0;
  while (i < line.size()) {
    size_t len = IsSjisLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    if (i + len > kDocumentMaxLineBytes) break;
    i += len;
  }
  line.resize(i);
}

class LineSplitter {
 public:
  LineSplitter(std::vector<std::string>& lines, size_t maxLines) : lines_(lines), maxLines_(maxLines) {}

  bool full() const { return lines_.size() >= maxLines_; }
  bool ended() const { return ended_ || full(); }

  void Feed(const char* data, size_t size) {
    size_t i = 0;
    while (i < size && !ended()) {
      if (afterCr_) {
        afterCr_ = false;
        if (data[i] == '\n') {
          ++i;
          continue;
        }
      }
      size_t j = i;
      while (j < size && data[j] != '\r' && data[j] != '\n' && data[j] != '\x1a') ++j;
      Append(data + i, j - i);
      if (j == size) return;
      if (data[j] == '\x1a') {
        ended_ = true;
        return;
      }
      afterCr_ = data[j] == '\r';
      EndLine();
      i = j + 1;
    }
  }

  // End of the text: a last line without a line break still counts.
  void Finish() {
    if (!full() && pending_) EndLine();
  }

 private:
  void Append(const char* data, size_t size) {
    if (size == 0) return;
    pending_ = true;
    if (overlong_) return;
    current_.append(data, size);
    if (current_.size() > kDocumentMaxLineBytes) {
      CutLine(current_);
      overlong_ = true;
    }
  }

  void EndLine() {
    lines_.push_back(std::move(current_));
    current_.clear();
    pending_ = false;
    overlong_ = false;
  }

  std::vector<std::string>& lines_;
  size_t maxLines_;
  std::string current_;
  bool pending_ = false;   // bytes of an unfinished line were seen
  bool overlong_ = false;  // the current line reached the limit; drop the rest
  bool afterCr_ = false;   // a CR ended the last line; a LF right after it belongs to it
  bool ended_ = false;
};

}  // namespace

bool LoadDocument(std::vector<std::string>& lines, const std::string& path, int maxLines) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return false;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;

  std::vector<std::string> loaded;
  LineSplitter splitter(loaded, maxLines > 0 ? static_cast<size_t>(maxLines) : 0);
  char buffer[16 * 1024];
  size_t total = 0;
  while (!splitter.ended() && total < kDocumentMaxReadBytes) {
    const size_t want = std::min(sizeof buffer, kDocumentMaxReadBytes - total);
    ssize_t got = ::read(fd.get(), buffer, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    total += static_cast<size_t>(got);
    splitter.Feed(buffer, static_cast<size_t>(got));
  }
  splitter.Finish();
  lines = std::move(loaded);
  return true;
}

void LoadDocumentFromBytes(std::vector<std::string>& lines, std::string_view bytes, int maxLines) {
  std::vector<std::string> loaded;
  LineSplitter splitter(loaded, maxLines > 0 ? static_cast<size_t>(maxLines) : 0);
  splitter.Feed(bytes.data(), std::min(bytes.size(), kDocumentMaxReadBytes));
  splitter.Finish();
  lines = std::move(loaded);
}

}  // namespace kadrel
