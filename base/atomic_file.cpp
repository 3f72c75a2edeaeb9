#include "base/atomic_file.h"
#include "base/owned_temp.h"
#include "base/path_helpers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <limits>
#include <vector>

namespace kadrel {

namespace {

std::string ErrnoText(const char* what, int err) { return std::string(what) + ": " + std::strerror(err); }

// The folder to open for the fsync that makes a rename durable.
std::string FolderOf(const std::string& path) {
  const std::string folder = FolderOfPath(path);
  return folder.empty() ? std::string(".") : folder;
}

}  // namespace

FileRead ReadFileUpTo(const std::string& path, uint64_t maxBytes, std::string& out) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileRead::Unreadable;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return FileRead::Unreadable;
  }
  if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return FileRead::TooLarge;
  }
  out.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    // One byte past the cap is enough to know the file grew beyond it.
    const uint64_t room = maxBytes + 1 - out.size();
    const ssize_t n = ::read(fd, buffer, static_cast<size_t>(std::min<uint64_t>(sizeof buffer, room)));
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      out.clear();
      return FileRead::Unreadable;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<size_t>(n));
    if (out.size() > maxBytes) {
      ::close(fd);
      out.clear();
      out.shrink_to_fit();
      return FileRead::TooLarge;
    }
  }
  ::close(fd);
  return FileRead::Ok;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (ReadFileUpTo(path, std::numeric_limits<size_t>::max() - 1, bytes) != FileRead::Ok) return std::nullopt;
  return bytes;
}

namespace {

// Where a replacement of `path` must go, and the permissions to keep; empty with
// `*error` set when the file must not be replaced.
struct ReplaceTarget {
  std::string path;
  mode_t mode = 0;
};

std::optional<ReplaceTarget> TargetOf(const std::string& path, unsigned newFileMode, std::string* error) {
  auto refuse = [error](const std::string& why) -> std::optional<ReplaceTarget> {
    if (error) *error = why;
    return std::nullopt;
  };
  ReplaceTarget t{path, static_cast<mode_t>(newFileMode & 07777)};
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return t;
    return refuse(ErrnoText("cannot look at the file", errno));
  }
  if (S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved))
      return refuse(ErrnoText("a symbolic link whose target cannot be followed", errno));
    t.path = resolved;
    if (::stat(t.path.c_str(), &st) != 0) return refuse(ErrnoText("cannot look at the link's target", errno));
  }
  if (!S_ISREG(st.st_mode)) return refuse("not a regular file: it is left unchanged");
  if (st.st_nlink > 1)
    return refuse("the file has " + std::to_string(st.st_nlink) +
                  " hard links: it is left unchanged, since replacing it would part this name from the others");
  if ((st.st_mode & 0222) == 0 || ::access(t.path.c_str(), W_OK) != 0)
    return refuse("the file is read-only: it is left unchanged");
  t.mode = st.st_mode & 07777;
  return t;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                           unsigned newFileMode) {
  const std::optional<ReplaceTarget> target = TargetOf(path, newFileMode, error);
  if (!target) return false;
  // Temporaries name their maker; those of a maker that is gone (a killed run) are
  // cleared away before a new one is made.
  const std::string folder = FolderOf(target->path);
  const std::string prefix = target->path.substr(target->path.rfind('/') + 1) + std::string(kTempMarker);
  RemoveOrphanedTemporaries(folder, prefix);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = OwnedTempName(target->path + std::string(kTempMarker));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (error) *error = ErrnoText("cannot create a temporary file", errno);
    return false;
  }
  auto fail = [&](const char* what) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    if (error) *error = ErrnoText(what, err);
    return false;
  };
  if (::fchmod(fd, target->mode) != 0) return fail("cannot set the permissions");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write");
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) return fail("cannot flush");
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    if (error) *error = ErrnoText("cannot close", err);
    return false;
  }
  if (::rename(temp.c_str(), target->path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    if (error) *error = ErrnoText("cannot rename", err);
    return false;
  }
  // Make the rename itself durable.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

std::optional<FileLock> FileLock::Acquire(const std::string& lockPath, int waitMs, std::string* error) {
  const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (error) *error = ErrnoText("cannot open the lock file", errno);
    return std::nullopt;
  }
  for (int waited = 0;; waited += 10) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return FileLock(fd);
    const int err = errno;
    if ((err != EWOULDBLOCK && err != EINTR) || waited >= waitMs) {
      ::close(fd);
      if (error)
        *error = err == EWOULDBLOCK ? "another program keeps the file locked (" + lockPath + ")"
                                    : ErrnoText("cannot lock", err);
      return std::nullopt;
    }
    ::usleep(10 * 1000);
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace kadrel
