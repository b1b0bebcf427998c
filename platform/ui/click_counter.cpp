#include "platform/ui/click_counter.h"

#include <cmath>
#include <limits>

namespace platform {

int ClickCounter::press(std::uint32_t timeMilliseconds, Point location, int button) {
  // Unsigned subtraction measures the interval across a wrap of the 32-bit clock.
  const std::uint32_t elapsed = timeMilliseconds - lastTime_;
  const bool near =
      std::abs(location.x - lastLocation_.x) <= distance_ && std::abs(location.y - lastLocation_.y) <= distance_;
  if (count_ > 0 && button == lastButton_ && elapsed <= interval_ && near && count_ < std::numeric_limits<int>::max()) {
    ++count_;
  } else {
    count_ = 1;
  }
  lastButton_ = button;
  lastTime_ = timeMilliseconds;
  lastLocation_ = location;
  return count_;
}

}  // namespace platform
