#pragma once
// The boxes a player conversation shows when the channel fails, by error code.

#include "base/message_box.h"

namespace kadrel {

// Codes 2, 12, 13, 22, 32, 34, 36, 39, 42, 71, 81, 82, 91 and 92; `listPlay` picks the
// context word. An unknown code gives the box of 92.
MessageRequest ChannelErrorMessage(int code, bool listPlay);

// Whether `answer` to the box of `code` lets the conversation go on; any other answer
// ends it (and ListPlay after the item).
bool ChannelAnswerGoesOn(int code, MessageAnswer answer);

}  // namespace kadrel
