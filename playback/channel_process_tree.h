#pragma once
// Which processes count as a player's: the player itself, its descendants and the
// members of the session it leads (players are started in a session of their own).

#include <sys/types.h>

namespace kadrel {

bool ProcessBelongsTo(pid_t candidate, pid_t player);

}  // namespace kadrel
