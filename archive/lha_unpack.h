#pragma once
// Extraction on a worker thread (TLHAunpack), the main thread's wait for it
// (UnpackAndWait) and the presence check of files and archive members.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "base/message_box.h"
#include "archive/unlha_turn.h"

namespace kadrel {

// The confirmation shown when an extraction is abandoned at program close.
inline constexpr const char* kLhaUnpackAbortedMessage = "LHAの解凍作業を中断しました";

struct LhaUnpackJob {
  std::string archivePath;  // absolute
  std::string memberSpec1;  // member name(s) in double quotes, or wildcards; empty = skipped
  std::string memberSpec2;
  std::string destFolder;   // absolute, ends in "/"
};

// A self-contained extraction thread: takes slot 2, then runs one extract command for
// each non-empty member spec and gives the turn back. The thread keeps itself alive
// (the caller may drop its pointer); Finished() tells when it has ended.
class TLHAunpack : public std::enable_shared_from_this<TLHAunpack> {
 public:
  // Clears the shared abort flag and starts the thread.
  static std::shared_ptr<TLHAunpack> Start(LhaUnpackJob job, IMessageBox& messages,
                                           TUnLhaManagement& turns = UnLhaManagement());
  ~TLHAunpack();

  bool Finished() const { return finished_.load(); }
  // Waits for the thread to end (for tests and shut-down).
  void Join();

  // The one abort flag shared by every TLHAunpack; set only when the program closes.
  static void SetAbort(bool value);
  static bool AbortRequested();

 private:
  TLHAunpack(LhaUnpackJob job, IMessageBox& messages, TUnLhaManagement& turns);
  void Run();

  LhaUnpackJob job_;
  IMessageBox& messages_;
  TUnLhaManagement& turns_;
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// Starts a TLHAunpack and waits for it, calling `service` (the user interface's event
// processing) every 10 ms. True when the thread has ended; false when `stillRunning`
// turns false first (the program is closing), the library is missing, or starting fails.
// The thread may outlive a false return: `messages` and `turns` must live on (they are
// program-wide objects in the desktop program).
bool UnpackAndWait(const std::string& archivePath, const std::string& memberSpec1,
                   const std::string& memberSpec2, const std::string& destFolder, IMessageBox& messages,
                   const std::function<void()>& service = {}, const std::function<bool()>& stillRunning = {},
                   TUnLhaManagement& turns = UnLhaManagement());

// 0 present, 1 file or member missing, 2 archive missing. With an archive name other
// than "" and ".", looks up `name` in folder + archive (holding slot 8); otherwise tests
// for the file folder + name. `folder` ends in "/".
int CheckItemPresence(const std::string& folder, const std::string& name, const std::string& archive,
                      TUnLhaManagement& turns = UnLhaManagement());

}  // namespace kadrel
