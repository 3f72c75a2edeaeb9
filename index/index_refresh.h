#pragma once
// The index refresh: walks the whole current index image, reports damaged folder
// blocks, folders that are gone and files or archives that are gone, removes them and
// saves the image. Runs on the window's thread and lets the window service its events
// between steps, so the stop button stays responsive.

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "index/folder_index.h"

namespace kadrel {

// One row of the result list: "Folder", "FileName", "ArcFile", "Error".
struct RefreshFinding {
  std::string folder;
  std::string fileName;
  std::string arcFile;
  std::string error;  // UTF-8
  bool operator==(const RefreshFinding&) const = default;
};

// Result of RefreshIndex. NoFile and Foreign come from CheckIndexFile; SaveFailed: the
// walk finished but the image could not be saved.
enum class RefreshResult { Done, NoFile, Foreign, SaveFailed };

// Presence of an entry: 0 present, 1 the file is gone, 2 the archive is gone.
using PresenceCheck =
    std::function<int(const std::string& folder, const std::string& fileName, const std::string& archive)>;

// Wraps the archive layer's presence check so that loose files are found without
// regard to letter case (the stored extension is rebuilt in upper case): each folder is
// listed once per refresh. Archive members are left to `archives`.
PresenceCheck CaseBlindPresence(PresenceCheck archives);

struct RefreshView {
  std::function<void(const RefreshFinding&)> addRow;
  std::function<void(int position, int maximum)> progress;
  std::function<void(const std::string&)> statusLine;     // the refresh window's status line
  std::function<void(const std::string&)> folderShown;    // the folder under examination
  std::function<void()> serviceEvents;                    // let the window run its events
  std::function<void(bool enabled)> statusTimer;          // the main window's status timer
};

class IndexRefresher {
 public:
  IndexRefresher(TFolderIndex& index, PresenceCheck presence, RefreshView view = {});

  // Level 0 checks the file only; 1 checks the folder blocks; 2 also every record.
  RefreshResult RefreshIndex(int level);

  // The window's buttons. OK: asks, holds the index-busy flag for the run and returns
  // the result (nothing when the user cancelled).
  std::optional<RefreshResult> OnOk(int level, std::atomic<bool>& indexBusy);
  // The stop button: the walk ends at its next step.
  void OnStop();
  // Closing is refused (with a warning) while a refresh runs.
  bool OnCloseRequest();

  bool Running() const { return running_; }

 private:
  bool Step(int position, int maximum);  // false when stopped
  bool RunLevel1();
  bool RunLevel2();
  void CutRecord(size_t blockOffset, size_t marker, size_t recordEnd);
  void Finish(bool saved);
  void Row(const std::string& folder, const std::string& file, const std::string& arc, const char* error);

  TFolderIndex& index_;
  PresenceCheck presence_;
  RefreshView view_;
  std::atomic<bool> stop_{false};
  bool running_ = false;
  int progressMaximum_ = 100;
};

}  // namespace kadrel
