#include "platform/folder_watcher.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace kadrel {

FolderWatcher::FolderWatcher(int debounceMs, int pollMs, QObject* parent) : QObject(parent) {
  debounce_.setSingleShot(true);
  debounce_.setInterval(debounceMs);
  poll_.setInterval(pollMs);
  connect(&poll_, &QTimer::timeout, this, &FolderWatcher::Check);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
    if (active_) debounce_.start();
  });
  connect(&debounce_, &QTimer::timeout, this, &FolderWatcher::Check);
}

FolderWatcher::Listing FolderWatcher::ListFolder(const QString& folder) {
  Listing listing;
  QDir dir(folder);
  const QFileInfoList entries =
      dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QFileInfo& e : entries)
    listing.insert(e.fileName(), {e.isDir() ? -1 : e.size(), e.lastModified().toMSecsSinceEpoch()});
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
  if (!active_ || folder_.isEmpty()) return;
  reference_ = ListFolder(folder_);
  watcher_.addPath(folder_);
  if (poll_.interval() > 0) poll_.start();
}

void FolderWatcher::Check() {
  if (!active_ || folder_.isEmpty()) return;
  Listing now = ListFolder(folder_);
  if (now == reference_) return;
  reference_ = std::move(now);
  Q_EMIT folderChanged();
}

}  // namespace kadrel
