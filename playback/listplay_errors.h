#pragma once
// The boxes continuous play shows when an item cannot be played.

#include <string>

#include "base/message_box.h"

namespace kadrel {

enum class ListPlayErrorOutcome {
  GoOn,  // reported, play goes on
  Skip,  // Yes skips the item, No ends
  End,   // ListPlay ends
};

struct ListPlayErrorDetail {
  std::string Extension;  // 151, 152
  int Slot = 0;           // 152
  std::string FilePath;   // 203
  int Index = 0;          // 211
};

MessageRequest ListPlayErrorBox(int code, const ListPlayErrorDetail& detail = {});
ListPlayErrorOutcome ListPlayErrorOutcomeOf(int code);

// A player that could not be started (the pass goes on).
MessageRequest ListPlayLaunchErrorBox(int errorNumber);

// Players that fail right after their start, several items in a row.
MessageRequest ListPlayFailingPlayersBox(int count);

}  // namespace kadrel
