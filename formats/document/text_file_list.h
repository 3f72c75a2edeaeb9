#pragma once
// The document-list worker: finds the documents that belong to one music file, inside
// its archive and beside it, for the window's open-document menus.

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/window_bridge.h"

namespace kadrel {

// Lists the members of an archive whose base names match the wildcard text
// ("*.TXT *.DOC "); returns their member paths. Called while the caller holds the
// archive library's turn.
using ArchiveMemberLister = std::function<std::vector<std::string>(const std::string& archivePath,
                                                                   const std::string& wildcardText)>;

// Waits for the archive library's turn (polling `giveUp` every 10 ms) and returns a
// release action, or an empty function when the wait was given up.
using ArchiveTurnRequest = std::function<std::function<void()>(const std::function<bool()>& giveUp)>;

struct TextFileListArchiveAccess {
  bool available = false;      // the archive library can be used
  ArchiveTurnRequest takeTurn;  // empty = no turn needed
  ArchiveMemberLister list;
};

class TGetTextFileList {
 public:
  // folder: the music file's folder; archive: its archive's file name (empty for a
  // loose file); musicFileName: name with extension; extensions: comma-separated
  // document extensions in priority order. onEnd runs on the window's thread when both
  // lists are complete.
  TGetTextFileList(std::string folder, std::string archive, std::string musicFileName, std::string extensions,
                   TextFileListArchiveAccess access, IWindowBridge& bridge, std::function<void()> onEnd);
  ~TGetTextFileList();  // tells the thread to terminate and joins it
  TGetTextFileList(const TGetTextFileList&) = delete;
  TGetTextFileList& operator=(const TGetTextFileList&) = delete;

  void Start();
  void Terminate() { terminate_ = true; }
  void Join();
  bool Finished() const { return finished_; }

  // Read these only after the end signal.
  const std::vector<std::string>& ArchiveDocuments() const { return archiveDocuments_; }  // CP932 base names
  const std::vector<std::string>& BesideDocuments() const { return besideDocuments_; }    // names on disk

  // The work itself, on the calling thread (the thread body).
  void Run();

 private:
  void ListArchive(const std::vector<std::string>& extensions);
  void ListBeside(const std::vector<std::string>& extensions);

  std::string folder_;
  std::string archive_;
  std::string musicFileName_;
  std::string extensions_;
  TextFileListArchiveAccess access_;
  IWindowBridge& bridge_;
  std::function<void()> onEnd_;

  std::vector<std::string> archiveDocuments_;
  std::vector<std::string> besideDocuments_;
  std::atomic<bool> terminate_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

}  // namespace kadrel
