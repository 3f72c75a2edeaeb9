#pragma once
// Watches one folder (not its sub-folders) for changed names, sizes and write times.
// Notifications from the file system are collected for a short while; then the
// folder is listed and compared with the listing taken when watching began, so that
// only real changes are reported, and changes made while the watcher was paused (our
// own index file written at the end of a pass) are never reported. The file system
// reports added, removed and renamed entries at once; a file that only grew or got a
// new write time is found by a listing every `pollMs`.
//
// The listings are taken on a pool thread: a folder of many thousand files takes a
// noticeable time to list, and the window must not stand still for it when a pass
// ends or at every poll.

#include <cstdint>
#include <functional>
#include <memory>

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

namespace kadrel {

class FolderWatcher : public QObject {
  Q_OBJECT

 public:
  explicit FolderWatcher(int debounceMs = 300, int pollMs = 3000, QObject* parent = nullptr);
  ~FolderWatcher() override;

  // The folder to watch; watching starts when the watcher is active.
  void SetFolder(const QString& folder);
  const QString& Folder() const { return folder_; }
  // Off while a pass runs and while the window is minimised. Turning it on takes a
  // fresh listing as the reference.
  void SetActive(bool active);
  bool Active() const { return active_; }

  // name -> size and write time of every entry (folders included). `stale`, when
  // given, is asked now and then and ends the listing early (with part of it) when
  // it says the listing is no longer wanted.
  using Listing = QHash<QString, QPair<qint64, qint64>>;
  static Listing ListFolder(const QString& folder, const std::function<bool()>& stale = {});

 Q_SIGNALS:
  void folderChanged();

 private:
  struct Mailbox;
  enum class Purpose { Reference, Check };
  void Rearm();
  void Check();
  void StartListing(Purpose purpose);
  void TakeListing(uint64_t generation, Purpose purpose, const Listing& listing);

  QFileSystemWatcher watcher_;
  QTimer debounce_;
  QTimer poll_;
  QString folder_;
  Listing reference_;
  bool active_ = false;
  uint64_t generation_ = 0;     // counts re-arms; listings of an older one are dropped
  bool haveReference_ = false;  // the reference of this generation has arrived
  bool changedEarly_ = false;   // the folder changed before the reference arrived
  bool checking_ = false;       // a comparison listing is on its way
  bool checkAgain_ = false;     // a notification came while it was
  std::shared_ptr<Mailbox> mailbox_;
};

}  // namespace kadrel
