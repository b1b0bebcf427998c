#pragma once

// A modal mouse-tracking loop (take events of a mask until the first left mouse
// up) turned inside out: the window feeds it the events GTK delivers under the
// pointer grab. Events outside the mask are dropped; the first left mouse up
// ends it (handed to the handler when the mask takes it); a broken grab ends it
// as a mouse up at the last location would. Work the handler queues on the main
// queue therefore runs after the ending event has been handled. While it is active
// the mouse-tracking depth is raised, so event-tracking timers fire.

#include <functional>
#include <optional>

#include "platform/core/timer.h"
#include "platform/ui/event.h"

namespace platform {

class TrackingGesture {
 public:
  TrackingGesture(EventMask mask, std::function<void(const Event&)> handler, Event start);

  // Returns whether the gesture is still going on afterwards.
  bool feed(const Event& event);
  // The grab was taken away: ends with a left mouse up at the last location.
  void breakGrab();
  bool isActive() const { return active_; }

 private:
  void end();

  EventMask mask_;
  std::function<void(const Event&)> handler_;
  Event last_;
  bool active_ = true;
  std::optional<MouseTrackingScope> tracking_{std::in_place};
};

}  // namespace platform
