#include "platform/CallbackFailure.h"

#include <cstddef>

#include "platform/Failure.h"

namespace platform {

bool CallbackFailure::Keep(const char* message) noexcept {
  // The message is cut to the room there is, never left without its end.
  std::size_t length = 0;
  for (; message[length] != '\0' && length + 1 < sizeof message_; ++length) {
    message_[length] = message[length];
  }
  message_[length] = '\0';
  kept_ = true;
  return false;
}

void CallbackFailure::RaiseAgain() const {
  if (kept_) throw Failure(message_);
}

}  // namespace platform
