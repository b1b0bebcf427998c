#include "platform/ui/tracking_gesture.h"

#include <utility>

namespace platform {

TrackingGesture::TrackingGesture(EventMask mask, std::function<void(const Event&)> handler, Event start)
    : mask_(mask), handler_(std::move(handler)), last_(std::move(start)) {}

bool TrackingGesture::feed(const Event& event) {
  if (!active_) return false;
  const bool ends = event.type == EventType::LeftMouseUp;
  if (ends) end();
  if (!event.isKey()) last_ = event;
  if (event.matches(mask_) && handler_) handler_(event);
  return active_;
}

void TrackingGesture::end() {
  active_ = false;
  tracking_.reset();
}

void TrackingGesture::breakGrab() {
  if (!active_) return;
  Event up = last_;
  up.type = EventType::LeftMouseUp;
  up.clickCount = last_.clickCount;
  feed(up);
}

}  // namespace platform
