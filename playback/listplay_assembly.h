#pragma once
// The parts continuous play runs on, put together the same way wherever it runs: the
// launcher over the registered slots (or the dry-run launcher), the item preparation
// in the work folder and the steady clock.

#include <cstdint>
#include <memory>

#include "archive/unlha_turn.h"
#include "playback/listplay_launcher.h"
#include "playback/listplay_ports.h"
#include "playback/lp_item_preparation.h"

namespace kadrel {

struct ListPlayParts {
  std::unique_ptr<IListPlayPlayers> players;
  std::unique_ptr<IListPlayPreparation> preparation;
  std::unique_ptr<IListPlayClock> clock;
};

struct ListPlayAssembly {
  ListPlayLauncherSettings launcher;  // its temporary folder is the preparation's too
  int32_t lzhMeltStyle = 0;
  bool dryRun = false;
  ListPlayLaunchObserver observer;
  LpConvertForPlay convert;  // empty: nothing is converted
};

ListPlayParts MakeListPlayParts(const ListPlayAssembly& assembly, TUnLhaManagement& turns);

}  // namespace kadrel
