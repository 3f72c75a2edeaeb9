#pragma once
// What continuous play needs from the rest of the program: players that can be started
// on a file and watched, the preparation of items (unpacking, converting) and a clock.
// The engine knows nothing of processes or archives; the launcher and the preparation
// implement these interfaces.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "catalog/pl_music_info.h"

namespace kadrel {

// Slot values besides 1..6.
inline constexpr int kNoSlotForFile = -1;       // no slot may play the format
inline constexpr int kSlotRefusesFile = -2;     // the item's own slot may not play it

// One started player.
class IListPlayPlayer {
 public:
  virtual ~IListPlayPlayer() = default;
  // True once the player has ended or stopped playing by itself.
  virtual bool HasEnded() = 0;
  // True when it ended with a failure (exit status not 0, killed by a signal).
  virtual bool EndedWithFailure() = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Ends the player: asks it to close, then terminates, then kills; returns when it is gone.
  virtual void Close() = 0;
};

struct ListPlayLaunch {
  int Slot = 0;      // 1..6
  std::string File;  // the file to hand to the player
};

struct ListPlayLaunchOutcome {
  std::unique_ptr<IListPlayPlayer> Player;  // null when it could not be started
  int ErrorNumber = 0;                      // errno of the failed start
};

class IListPlayPlayers {
 public:
  virtual ~IListPlayPlayers() = default;
  // The slot (1..6) that plays the item: its own slot, else `lastSlot` when that slot
  // allows the file, else the first slot that allows it in continuous play.
  // kNoSlotForFile or kSlotRefusesFile otherwise.
  virtual int ChooseSlot(const TPLMusicInfo& item, int lastSlot) = 0;
  // Starts the slot's player on the file. `onEnded` may be called from any thread when
  // the player ends or stops playing, so that a waiting engine wakes at once.
  virtual ListPlayLaunchOutcome Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) = 0;
};

// Results of preparing an item.
inline constexpr int kPrepareOk = 0;
inline constexpr int kPrepareArchiveMissing = -1;
inline constexpr int kPrepareFileMissing = -2;
inline constexpr int kPrepareAborted = -3;
inline constexpr int kPrepareNoResult = -4;
inline constexpr int kPrepareArchiveLibraryMissing = -5;

struct ListPlayPrepared {
  TPLMusicInfo Item;       // the item as it was taken from the list
  int Slot = 0;
  std::string FileToPlay;  // where the file lies once staged
  std::string DisplayText; // name stem + extension of the prepared file
};

struct ListPlayStaging {
  bool DeleteFailed = false;  // the temporary folder could not be emptied
  bool MoveFailed = false;    // the work folder's files could not be moved
};

class IListPlayPreparation {
 public:
  virtual ~IListPlayPreparation() = default;
  // Unpacks and converts the item into the work folder. Called on the preparation
  // thread; gives up with kPrepareAborted when `stopRequested` turns true.
  virtual int Prepare(const TPLMusicInfo& item, int slot, ListPlayPrepared& out,
                      const std::function<bool()>& stopRequested) = 0;
  // Before the item plays: empties the temporary folder and moves the work folder's
  // files into it.
  virtual ListPlayStaging Stage(const ListPlayPrepared& prepared) = 0;
  virtual bool FileExists(const std::string& path) = 0;
};

class IListPlayClock {
 public:
  virtual ~IListPlayClock() = default;
  // Waits (with `lock` held on entry and on return) until `wake` is true or `period`
  // has passed. Returns wake().
  virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                       std::chrono::milliseconds period, const std::function<bool()>& wake) = 0;
  virtual std::chrono::steady_clock::time_point Now() = 0;
};

class SteadyListPlayClock final : public IListPlayClock {
 public:
  bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::chrono::milliseconds period,
               const std::function<bool()>& wake) override {
    return cv.wait_for(lock, period, wake);
  }
  std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
};

}  // namespace kadrel
