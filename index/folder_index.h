#pragma once
// The index store: the current index file held in memory as a byte image, the folder
// blocks in it, and the rules that decide which file a folder's entries go to.
//
// One object per main window (or command-line run). Every method runs on the window's
// thread; the scan worker calls OpenFolderIndex from the listing step and the end
// handlers call WriteFolderBlock / DeleteFolderBlock. Messages go through IMessageBox,
// status texts through the injected callback (panel 0 state, panel 1 detail).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "base/message_box.h"
#include "catalog/music_file_info.h"
#include "index/volume_info.h"
#include "catalog/options.h"

namespace kadrel {

// Index style of a folder.
inline constexpr int32_t kNoIndex = -1;
inline constexpr int32_t kDriveIndex = 0;   // the volume's file in the index folder (or the folder's own)
inline constexpr int32_t kFolderIndex = 1;  // the folder's own index file
inline constexpr int32_t kRootIndex = 2;    // one file in the disk's root: not provided, treated as none

// Result of CheckIndexFile.
enum class IndexCheck { Usable, Missing, Foreign };

inline constexpr const char* kFolderIndexFileName = "Kadrel.idx";

using StatusCallback = std::function<void(int panel, const std::string& utf8Text)>;
using VolumeLookup = std::function<VolumeInfo(const std::string& folder)>;

// How ReadFolderBlock fills the list.
struct IndexReadOptions {
  // Entries already in the file list (parent entry, sub-folders).
  int listCount = 0;
  // First visible row + rows per page + 1: while the list holds fewer entries than
  // this, each record is looked up on disk and dropped when its file is gone.
  int firstScreenful = 0;
  // Polled before each record: the scan's stop flag, or the program leaving its
  // running phase. Empty: never stop.
  std::function<bool()> shouldStop;
};

// Takes the records ReadFolderBlock reads, one at a time, so that a caller that keeps
// them elsewhere (the file list holds each record on its own) makes no copy of the
// whole block first.
class IndexRecordSink {
 public:
  virtual ~IndexRecordSink() = default;
  // About how many records follow (an upper estimate from the block's size).
  virtual void Expect(size_t) {}
  virtual void Take(TMusicFileInfo&& record) = 0;
};

class TFolderIndex {
 public:
  // `volumes` classifies a folder's volume; empty uses the system's mount table.
  TFolderIndex(const TMainOption& options, IMessageBox& messages, StatusCallback status = {},
               VolumeLookup volumes = {});

  void SetOptions(const TMainOption& options) { options_ = options; }
  const TMainOption& Options() const { return options_; }

  int32_t IndexStyleFor(const std::string& folder) const;
  // The volume's index file for `folder` (in the index folder); empty when unknown.
  std::string DriveIndexPath(const std::string& folder) const;

  // The index file that holds (or would hold) `folder`'s block: its own file when it
  // exists or its style asks for one, else the volume's file. Empty when unknown.
  std::string IndexPathFor(const std::string& folder) const;

  // Makes `folder` the current folder, picks and loads its index file and appends the
  // folder's entries to `out`. True when entries were taken from the index.
  bool OpenFolderIndex(const std::string& folder, std::vector<TMusicFileInfo>& out,
                       const IndexReadOptions& read = {});
  bool OpenFolderIndex(const std::string& folder, IndexRecordSink& out, const IndexReadOptions& read = {});

  // Missing: the current index file does not exist; Foreign: its header is not ours
  // (the user is asked whether to delete the file).
  IndexCheck CheckIndexFile();
  // The records of a block as stored (nothing dropped); stops at the block's end marker.
  static std::vector<TMusicFileInfo> BlockRecords(std::string_view image, size_t blockOffset);

  // Appends the current folder's records to `out`; true when the block held a record.
  bool ReadFolderBlock(std::vector<TMusicFileInfo>& out, const IndexReadOptions& read = {});
  bool ReadFolderBlock(IndexRecordSink& out, const IndexReadOptions& read = {});
  // Appends the current folder's block when it is missing. False only when the image
  // could not be saved (the user was told; the file and the image stay as they were).
  bool WriteFolderBlock(const std::vector<TMusicFileInfo>& list);
  // Replaces the current folder's block with one made from `list` (or removes it when
  // the list gives none) in a single save, so a failed save leaves the old block.
  // False (after the message) when the file is foreign, the old block is damaged or
  // the save failed.
  bool ReplaceFolderBlock(const std::vector<TMusicFileInfo>& list);
  // True on success or when there was nothing to delete.
  bool DeleteFolderBlock(const std::string& folder, bool interactive);
  // Creates a header-only index file where none exists. False when it cannot be saved.
  bool EnsureIndexFile(const std::string& path);

  // Writes the whole image to the current index file, atomically. A failure is shown
  // in an error box and returns false.
  bool SaveImage();
  // Saves that failed (and were shown) since the object was made.
  int SaveFailures() const { return saveFailures_; }
  // How long a change waits for the index file's lock (10 s unless set).
  void SetLockWait(int milliseconds) { lockWaitMs_ = milliseconds; }
  // For a change of the whole image (the refresh): takes the index file's lock and
  // re-reads the file as it is now, so that blocks other programs added since it was
  // loaded are neither lost nor overwritten. Nothing (and the save-failure message)
  // when the lock cannot be had or the file cannot be read.
  std::optional<FileLock> LockAndReload();
  // Loads `path` as the current index file (the command-line tool and the refresh use
  // it to work on a given file). False when it cannot be read.
  bool LoadIndexFile(const std::string& path);

  const std::string& CurrentFolder() const { return folder_; }
  void SetCurrentFolder(const std::string& folder);
  const std::string& IndexPath() const { return indexPath_; }
  int32_t Style() const { return style_; }
  const std::string& Image() const { return image_; }
  std::string& MutableImage() { return image_; }
  IMessageBox& Messages() { return messages_; }
  void SetStatus(int panel, const std::string& text) const;

 private:
  bool LoadImage(const std::string& path);
  // The current folder's block for `list`; nothing when the folder gets no block.
  std::optional<std::string> BuildFolderBlock(const std::vector<TMusicFileInfo>& list) const;
  // The read-modify-write of every block change: under the index file's lock (the
  // file beside it named "<index file>.lock"), re-reads the file, lets `change` edit
  // that image (returning false when there is nothing to save) and saves it. So a
  // block another program added since this image was loaded is kept. The image in
  // memory becomes the file's; false when the lock or the save failed (shown).
  bool UpdateImage(const std::function<bool(std::string& image)>& change);
  enum class Cut { Done, Absent, Damaged, Failed };
  Cut CutFolderBlock(const std::string& folder);
  void ReportSaveFailure(const std::string& why);

  TMainOption options_;
  IMessageBox& messages_;
  StatusCallback status_;
  VolumeLookup volumes_;
  std::string folder_;     // ends in "/"
  std::string indexPath_;  // empty when none is loaded
  std::string image_;
  int32_t style_ = kNoIndex;
  int saveFailures_ = 0;
  int lockWaitMs_ = 10000;
};

}  // namespace kadrel
