#include "platform/ui/event.h"

namespace platform {

namespace {
std::optional<Event>& currentEventStore() {
  static std::optional<Event> event;
  return event;
}
}  // namespace

bool Event::isMouseDown() const {
  return type == EventType::LeftMouseDown || type == EventType::RightMouseDown || type == EventType::OtherMouseDown;
}

bool Event::isMouseUp() const {
  return type == EventType::LeftMouseUp || type == EventType::RightMouseUp || type == EventType::OtherMouseUp;
}

bool Event::isMouseDrag() const {
  return type == EventType::LeftMouseDragged || type == EventType::RightMouseDragged ||
         type == EventType::OtherMouseDragged;
}

const Event* currentEvent() {
  const auto& event = currentEventStore();
  return event ? &*event : nullptr;
}

void setCurrentEvent(const Event& event) { currentEventStore() = event; }

void clearCurrentEvent() { currentEventStore().reset(); }

ModifierFlags currentModifierFlags() {
  const Event* event = currentEvent();
  return event ? event->modifierFlags : 0;
}

}  // namespace platform
