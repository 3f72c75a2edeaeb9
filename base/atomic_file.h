#pragma once
// Whole-file reads, atomic replacement and advisory locks for the files we write.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

// The whole file; nullopt when it cannot be opened or read (or is not a regular file).
std::optional<std::string> ReadWholeFile(const std::string& path);

enum class FileRead { Ok, Unreadable, TooLarge };

// The whole file into `out` when it holds at most `maxBytes`. Memory follows the bytes
// actually read, never the size the file claims, and no more than maxBytes + 1 bytes
// are read: a larger file (or one that grows past the cap while being read) gives
// TooLarge with `out` empty.
FileRead ReadFileUpTo(const std::string& path, uint64_t maxBytes, std::string& out);

// Replaces `path` with `bytes`: a temporary file in the same folder is written, flushed
// to disk and renamed over the old file, so a crash or a full disk leaves either the
// old or the new content, never a mixture. On failure the old file is untouched, the
// temporary file is removed and `*error` (when given) describes the failure.
// The old file keeps its permissions; a new one gets `newFileMode`. Links are kept:
//  - a symbolic link is followed (through any chain) and its target is replaced, in
//    the target's folder; a link to a missing file is refused;
//  - a file with more than one hard link is refused (replacing it would part this
//    name from the others, and rewriting it in place could leave a mixture);
//  - a read-only file (no write permission bit, or not writable by us) is refused,
//    and so is anything that is not a regular file.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* error = nullptr,
                           unsigned newFileMode = 0644);

// An exclusive advisory lock (flock) on a lock file, which is made when missing and
// left in place (removing it would let two holders lock two different files). The
// lock is released when the object goes.
class FileLock {
 public:
  // Tries every 10 ms for up to `waitMs` milliseconds; nullopt with `*error` set when
  // the lock file cannot be opened or the lock stays taken.
  static std::optional<FileLock> Acquire(const std::string& lockPath, int waitMs, std::string* error = nullptr);
  FileLock(FileLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileLock& operator=(FileLock&&) = delete;
  FileLock(const FileLock&) = delete;
  ~FileLock();

 private:
  explicit FileLock(int fd) : fd_(fd) {}
  int fd_;
};

bool FileExists(const std::string& path);    // a regular file (links followed)
bool FolderExists(const std::string& path);  // a directory (links followed)

}  // namespace kadrel
