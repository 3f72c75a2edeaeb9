#include "base/message_box.h"

namespace kadrel {

MessageAnswer SilentMessageBox::Show(const MessageRequest& request) {
  if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
  return answer_;
}

}  // namespace kadrel
