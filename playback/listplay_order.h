#pragma once
// The continuous-play order: which item plays next, how the positions move when an
// item ends, and the marks the play list shows. Pure functions over the list; the
// caller holds whatever guards the list.

#include <random>

#include "catalog/pl_music_info.h"

namespace kadrel {

// Play modes; 10 added means "end after every item was played once".
inline constexpr int kModeNormal = 0;
inline constexpr int kModeRandom = 1;
inline constexpr int kModeShuffle = 2;
inline constexpr int kModeEndWhenAllPlayed = 10;

struct ListPlayPositions {
  int Current = -1;
  int Next = -1;
  int Previous = -1;
};

// The positions as the items' order values say (0 current, 1 next, -1 previous). The
// list may have changed since the engine last looked, so indices are re-derived.
ListPlayPositions DerivePositions(const TPLInfo& list);

bool AnyUnplayed(const TPLInfo& list);

// The next item after `current` for `mode`, or -1 when there is none. Shuffle may reset
// the played values of the list when every item was played.
int ChooseNextIndex(TPLInfo& list, int mode, int current, std::mt19937& random);

// The requests that move the positions when an item ends.
enum class AdvanceKind { Natural, Back, PlayNow };

struct AdvanceResult {
  ListPlayPositions Positions;
  bool PlayNowOutOfRange = false;  // the request was dropped and the list moved on normally
};

AdvanceResult AdvancePositions(TPLInfo& list, AdvanceKind kind, int playNowIndex);

// Marks after the positions were chosen: the previous item played, the next one
// reserved, the current one playing. Any other item still holding order 1 loses it.
void UpdateMarks(TPLInfo& list, const ListPlayPositions& positions, int mode);

// Whether the list holds an item to go back to.
bool HasPreviousItem(const TPLInfo& list);

// Makes `index` the next item (the user chose it): the old next item loses its place.
// Returns false when the index is outside the list or is the current item.
bool SetNextItem(TPLInfo& list, int index);

}  // namespace kadrel
