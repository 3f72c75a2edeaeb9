#pragma once
// The players of continuous play: the slot rule of ListPlay over the registered slots,
// the player started from its argument vector and watched through its process (the end
// is the process's exit), paused and resumed by stopping and continuing its process
// group, and closed with the same escalation as normal play. A dry-run variant starts
// nothing: its virtual player ends each piece at once.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "playback/listplay_ports.h"
#include "settings/player_data.h"

namespace kadrel {

struct ListPlayLauncherSettings {
  PlayerSlots playerSlots;
  int32_t playerDetailInfo = 15;
  std::string tempFolder;  // ends in "/"; the 8.3 names are staged here when it is our own
};

// Told of every start (or, in a dry run, of what would start), on the engine's worker.
using ListPlayLaunchObserver =
    std::function<void(int slot, const std::string& file, const std::vector<std::string>& argv)>;

// The slot of ListPlay: the item's own slot (kSlotRefusesFile when it may not play the
// file), else `lastSlot` when it plays the file, else the first recognised slot that
// does, else kNoSlotForFile.
int ChooseListPlaySlot(const PlayerSlots& playerSlots, const TPLMusicInfo& item, int lastSlot);

class ListPlayLauncher final : public IListPlayPlayers {
 public:
  explicit ListPlayLauncher(ListPlayLauncherSettings settings, ListPlayLaunchObserver observer = {});

  int ChooseSlot(const TPLMusicInfo& item, int lastSlot) override;
  ListPlayLaunchOutcome Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) override;

  // The argument vector that plays `file` in `slot`; empty when the slot has no program.
  std::vector<std::string> ArgumentsFor(int slot, const std::string& file, bool dryRun) const;

 private:
  ListPlayLauncherSettings settings_;  // read-only after construction
  ListPlayLaunchObserver observer_;
};

// Chooses slots as the real launcher does, but a file no slot plays goes to slot 1, and
// every "player" has ended as soon as it was started.
class DryRunListPlayLauncher final : public IListPlayPlayers {
 public:
  explicit DryRunListPlayLauncher(ListPlayLauncherSettings settings, ListPlayLaunchObserver observer = {});

  int ChooseSlot(const TPLMusicInfo& item, int lastSlot) override;
  ListPlayLaunchOutcome Launch(const ListPlayLaunch& launch, std::function<void()> onEnded) override;
  int Launches() const;

 private:
  ListPlayLauncher real_;
  ListPlayLaunchObserver observer_;
  mutable std::mutex mutex_;
  int launches_ = 0;
};

}  // namespace kadrel
