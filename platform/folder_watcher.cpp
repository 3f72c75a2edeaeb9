#include "platform/folder_watcher.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

#include <QFile>
#include <QThreadPool>

namespace kadrel {

// Where a pool thread hands its listing back; the watcher unhooks itself on
// destruction, so a listing that ends after it is dropped. `generation` follows the
// watcher's: a listing of an older one (another folder, a pass begun, the watcher
// gone) stops where it is instead of walking the rest of a large folder beside the
// next opening's scan.
struct FolderWatcher::Mailbox {
  std::mutex mutex;
  FolderWatcher* owner = nullptr;
  std::atomic<uint64_t> generation{0};
};

FolderWatcher::FolderWatcher(int debounceMs, int pollMs, QObject* parent)
    : QObject(parent), mailbox_(std::make_shared<Mailbox>()) {
  mailbox_->owner = this;
  debounce_.setSingleShot(true);
  debounce_.setInterval(debounceMs);
  poll_.setInterval(pollMs);
  connect(&poll_, &QTimer::timeout, this, &FolderWatcher::Check);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
    if (!active_) return;
    if (haveReference_)
      debounce_.start();
    else
      changedEarly_ = true;
  });
  connect(&debounce_, &QTimer::timeout, this, &FolderWatcher::Check);
}

FolderWatcher::~FolderWatcher() {
  std::lock_guard<std::mutex> lock(mailbox_->mutex);
  mailbox_->owner = nullptr;
  ++mailbox_->generation;
}

FolderWatcher::Listing FolderWatcher::ListFolder(const QString& folder, const std::function<bool()>& stale) {
  Listing listing;
  const QByteArray path = QFile::encodeName(folder);
  const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return listing;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return listing;
  }
  for (unsigned count = 0; const dirent* d = ::readdir(dir); ++count) {
    if (stale && count % 256 == 255 && stale()) break;
    const char* name = d->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    struct stat st {};
    // A dangling link is still an entry: its own time then.
    if (::fstatat(fd, name, &st, 0) != 0 && ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    const qint64 msecs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    listing.insert(QFile::decodeName(name), {S_ISDIR(st.st_mode) ? -1 : qint64(st.st_size), msecs});
  }
  ::closedir(dir);
  return listing;
}

void FolderWatcher::SetFolder(const QString& folder) {
  if (folder == folder_) return;
  folder_ = folder;
  Rearm();
}

void FolderWatcher::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  Rearm();
}

void FolderWatcher::Rearm() {
  debounce_.stop();
  poll_.stop();
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  reference_.clear();
  mailbox_->generation = ++generation_;
  haveReference_ = false;
  changedEarly_ = false;
  checking_ = false;
  checkAgain_ = false;
  if (!active_ || folder_.isEmpty()) return;
  // Watching starts before the reference is taken, so that no change after this point
  // goes unheard.
  watcher_.addPath(folder_);
  StartListing(Purpose::Reference);
}

void FolderWatcher::Check() {
  if (!active_ || folder_.isEmpty() || !haveReference_) return;
  if (checking_) {
    checkAgain_ = true;
    return;
  }
  checking_ = true;
  StartListing(Purpose::Check);
}

void FolderWatcher::StartListing(Purpose purpose) {
  QThreadPool::globalInstance()->start(
      [mailbox = mailbox_, folder = folder_, generation = generation_, purpose] {
        Listing listing = ListFolder(folder, [&] { return mailbox->generation != generation; });
        std::lock_guard<std::mutex> lock(mailbox->mutex);
        if (!mailbox->owner || mailbox->generation != generation) return;
        FolderWatcher* owner = mailbox->owner;
        // Queued to the watcher's thread; a watcher destroyed before it runs takes the
        // posted call with it.
        QMetaObject::invokeMethod(
            owner, [owner, generation, purpose, listing = std::move(listing)] { owner->TakeListing(generation, purpose, listing); },
            Qt::QueuedConnection);
      });
}

void FolderWatcher::TakeListing(uint64_t generation, Purpose purpose, const Listing& listing) {
  if (generation != generation_ || !active_) return;
  if (purpose == Purpose::Reference) {
    reference_ = listing;
    haveReference_ = true;
    if (poll_.interval() > 0) poll_.start();
    // The change may or may not be in the reference already; it is reported rather
    // than lost.
    if (std::exchange(changedEarly_, false)) Q_EMIT folderChanged();
    return;
  }
  checking_ = false;
  if (listing != reference_) {
    reference_ = listing;
    Q_EMIT folderChanged();
  }
  if (std::exchange(checkAgain_, false)) debounce_.start();
}

}  // namespace kadrel
