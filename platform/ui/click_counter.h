#pragma once

// Counts clicks as AppKit's clickCount does: a press within the double-click
// time and distance of the previous press of the same button counts one more;
// anything else starts again at 1. GTK's own 2BUTTON/3BUTTON events are not used.

#include <cstdint>

#include "platform/core/geometry.h"

namespace platform {

class ClickCounter {
 public:
  ClickCounter(std::uint32_t doubleClickMilliseconds, double doubleClickDistance)
      : interval_(doubleClickMilliseconds), distance_(doubleClickDistance) {}

  // A press at `timeMilliseconds` (GDK's 32-bit event time, which may wrap).
  int press(std::uint32_t timeMilliseconds, Point location, int button);
  void reset() { count_ = 0; }

 private:
  std::uint32_t interval_;
  double distance_;
  int count_ = 0;
  int lastButton_ = -1;
  std::uint32_t lastTime_ = 0;
  Point lastLocation_;
};

}  // namespace platform
