#include "playback/listplay_assembly.h"

namespace kadrel {

ListPlayParts MakeListPlayParts(const ListPlayAssembly& a, TUnLhaManagement& turns) {
  ListPlayParts parts;
  if (a.dryRun)
    parts.players = std::make_unique<DryRunListPlayLauncher>(a.launcher, a.observer);
  else
    parts.players = std::make_unique<ListPlayLauncher>(a.launcher, a.observer);
  parts.preparation =
      std::make_unique<LpItemPreparation>(LpPreparationSettings{a.launcher.tempFolder, a.lzhMeltStyle}, turns, a.convert);
  parts.clock = std::make_unique<SteadyListPlayClock>();
  return parts;
}

}  // namespace kadrel
