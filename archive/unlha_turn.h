#pragma once
// The turn table for the archive library: one user at a time, the lowest requesting
// slot first. Slots: 1 folder scan, 2 TLHAunpack, 3 document list, 4 detail window,
// 5 ListPlay preparation, 8 CheckItemPresence, 9 renaming inside an archive.
//
// Granting happens under one mutex whenever the turn is free (no polling thread), so a
// withdrawal either cancels the pending request or hands back a turn granted meanwhile.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace kadrel {

inline constexpr int kUnLhaSlotCount = 11;
inline constexpr int kSlotFolderScan = 1;
inline constexpr int kSlotUnpack = 2;
inline constexpr int kSlotDocumentList = 3;
inline constexpr int kSlotDetailWindow = 4;
inline constexpr int kSlotListPlay = 5;
inline constexpr int kSlotPresence = 8;
inline constexpr int kSlotRename = 9;

class TUnLhaManagement {
 public:
  // Sets the request flag of `slot` (1..11) and waits until the slot holds the turn.
  // Every `pause` it calls `service` (if any) and then `giveUp` (if any); when giveUp
  // returns true the request is withdrawn and false is returned. True = turn held.
  bool Request(int slot, const std::function<bool()>& giveUp = {},
               std::chrono::milliseconds pause = std::chrono::milliseconds(1),
               const std::function<void()>& service = {});
  // Gives the turn back (when `slot` holds it) and grants the next request.
  void Release(int slot);

  // Snapshot of the table, for tests and diagnostics.
  int Owner() const;                 // UnLhaOwner: 0 = nobody
  bool Requested(int slot) const;    // UnLhaRequest[slot]

  // Stops every waiter (program close): pending and future Requests return false.
  void Shutdown();

 private:
  void GrantLocked();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool request_[kUnLhaSlotCount + 1] = {};
  int owner_ = 0;
  bool shutdown_ = false;
};

// The program's table.
TUnLhaManagement& UnLhaManagement();

// Holds a turn for a scope; Release() runs in every case (also on exceptions).
class UnLhaTurn {
 public:
  UnLhaTurn(TUnLhaManagement& table, int slot, const std::function<bool()>& giveUp = {},
            std::chrono::milliseconds pause = std::chrono::milliseconds(1),
            const std::function<void()>& service = {})
      : table_(table), slot_(slot), held_(table.Request(slot, giveUp, pause, service)) {}
  ~UnLhaTurn() {
    if (held_) table_.Release(slot_);
  }
  UnLhaTurn(const UnLhaTurn&) = delete;
  UnLhaTurn& operator=(const UnLhaTurn&) = delete;
  bool held() const { return held_; }

 private:
  TUnLhaManagement& table_;
  int slot_;
  bool held_;
};

}  // namespace kadrel
