#pragma once
// Drives the folder scan as the window does: a window thread that runs the bridged
// calls, a list view over a vector, a recording index and a recording message box.

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "scan/folder_scan_controller.h"
#include "scan/vector_scan_view.h"
#include "sorting/sort_list.h"
#include "readers/reader_test_util.h"
#include "support/recording_box.h"
#include "support/temp_dir.h"

namespace kadrel::test {

// A format-0 Standard MIDI file with this title.
inline std::string Midi(const std::string& title) { return Smf({TrackName(title) + EndOfTrack()}, 0); }

// Runs bridged calls on its own thread, as the window's event loop would.
class WindowThread final : public IWindowBridge {
 public:
  WindowThread();
  ~WindowThread() override;
  bool RunOnWindowThread(const std::function<void()>& call) override;
  // Runs `call` on the window thread (for the test's own window-side actions).
  void Run(const std::function<void()>& call) { RunOnWindowThread(call); }
  bool OnWindowThread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::pair<const std::function<void()>*, bool*>> queue_;
  bool quit_ = false;
  std::thread thread_;
};

// The vector view, recording what the scan asked of the window and whether it was asked
// on the window's thread.
class FakeListView final : public VectorScanView {
 public:
  explicit FakeListView(WindowThread& window) : window_(window) {}
  void AddRecord(std::unique_ptr<TMusicFileInfo> record) override;
  void InsertRecordSorted(std::unique_ptr<TMusicFileInfo> record) override;
  void VisibleRange(int& top, int& rows) const override {
    top = 0;
    rows = 20;
  }
  void ResetItemCount(bool repaintAll) override { resets.push_back(repaintAll); }
  void SetStatusText(int panel, const std::string& text) override { status[panel] = text; }
  void SetBusy(bool b) override { busy = b; }
  void WatchFolder(const std::string& f) override { watched = f; }
  void FocusRow(int index) override { focused = index; }

  std::map<int, std::string> status;
  std::vector<bool> resets;
  bool busy = false;
  std::string watched;
  int focused = -1;
  bool touchedOffWindowThread = false;
  std::function<void(const TMusicFileInfo&)> onAdd;

 private:
  WindowThread& window_;
};

class RecordingIndex final : public IFolderIndexPort {
 public:
  explicit RecordingIndex(WindowThread& window) : window_(window) {}
  bool ReadFolder(const std::string& folder, const IndexListPlace&, const std::atomic<bool>&,
                  std::vector<std::unique_ptr<TMusicFileInfo>>& out) override;
  void SaveFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) override;
  void ReplaceFolder(const std::string& folder, const std::vector<TMusicFileInfo>& entries) override;
  bool ForgetFolder(const std::string& folder) override;
  std::map<std::string, std::vector<TMusicFileInfo>> blocks;
  int saves = 0, replaces = 0;
  bool forgetFails = false;  // ForgetFolder keeps the block and reports failure
  int reads = 0;
  bool readOffWindowThread = false;     // a block was read on the scan's worker
  bool writtenOffWindowThread = false;  // a block was written there

 private:
  WindowThread& window_;
};

// A scan of one folder with the fakes above.
class ScanHarness {
 public:
  ScanHarness();
  ~ScanHarness();
  ScanSettings& settings() { return settings_; }
  // Opens the folder and waits for the end handler; returns whether the index was used.
  bool Open(const std::string& folder, IArchivePort* archives = nullptr, bool documents = true,
            const std::string& previousFolder = {});
  // Runs an update pass and waits for its end.
  void Update(ScanMode mode);
  // Re-reads the shown folder and waits for the end; returns whether the index was used.
  bool ReRead();
  std::vector<std::string> Names() const;  // FileName + FileExt of each entry
  const TMusicFileInfo* Find(const std::string& fullName) const;

  WindowThread window;
  FakeListView view{window};
  RecordingIndex index{window};
  // What the scan uses; a test may point it at the real index store.
  IFolderIndexPort* indexPort = &index;
  RecordingMessageBox messages;
  std::unique_ptr<FolderScanController> controller;

 private:
  void WaitForEnd();
  ScanSettings settings_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool finished_ = false;
  bool fromIndex_ = false;
};

}  // namespace kadrel::test
