#pragma once

// NSEvent: the fields the views and controls read, with AppKit's type numbers,
// mask bits and modifier-flag positions, so code that stores or compares them
// (key combinations, tracking masks) works unchanged.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/core/geometry.h"

namespace platform {

enum class EventType : int {
  LeftMouseDown = 1,
  LeftMouseUp = 2,
  RightMouseDown = 3,
  RightMouseUp = 4,
  MouseMoved = 5,
  LeftMouseDragged = 6,
  RightMouseDragged = 7,
  MouseEntered = 8,
  MouseExited = 9,
  KeyDown = 10,
  KeyUp = 11,
  FlagsChanged = 12,
  ScrollWheel = 22,
  OtherMouseDown = 25,
  OtherMouseUp = 26,
  OtherMouseDragged = 27,
};

using EventMask = std::uint64_t;
constexpr EventMask eventMaskFromType(EventType type) { return EventMask{1} << static_cast<int>(type); }
constexpr EventMask AnyEventMask = ~EventMask{0};

using ModifierFlags = std::uint64_t;
namespace modifier {
constexpr ModifierFlags CapsLock = 1u << 16;
constexpr ModifierFlags Shift = 1u << 17;
constexpr ModifierFlags Control = 1u << 18;
constexpr ModifierFlags Option = 1u << 19;
constexpr ModifierFlags Command = 1u << 20;
constexpr ModifierFlags NumericPad = 1u << 21;
constexpr ModifierFlags Help = 1u << 22;
constexpr ModifierFlags Function = 1u << 23;
constexpr ModifierFlags DeviceIndependentMask = 0xFFFF0000u;
}  // namespace modifier

struct Event {
  EventType type = EventType::MouseMoved;
  // Window coordinates: y up, origin at the bottom-left of the content view.
  Point locationInWindow;
  ModifierFlags modifierFlags = 0;
  // Seconds since an arbitrary start, as the event's time stamp.
  double timestamp = 0;
  // Mouse events: counted by the layer itself, 1 for a single click.
  int clickCount = 0;
  // 0 left, 1 right, 2 middle, further buttons upward.
  int buttonNumber = 0;
  // Keys: the macOS virtual key code and the characters, with function keys in AppKit's private-use range.
  std::uint16_t keyCode = 0;
  std::string characters;
  std::string charactersIgnoringModifiers;
  bool isARepeat = false;
  // Scroll wheel, in lines; positive y scrolls up, as AppKit's deltaY.
  double deltaX = 0;
  double deltaY = 0;

  bool isMouseDown() const;
  bool isMouseUp() const;
  bool isMouseDrag() const;
  bool isKey() const { return type == EventType::KeyDown || type == EventType::KeyUp; }
  bool matches(EventMask mask) const { return (mask & eventMaskFromType(type)) != 0; }
};

// NSApp's currentEvent. GTK has none outside its handlers, so the last event
// dispatched stays current until the next one; tests may set it directly.
const Event* currentEvent();
void setCurrentEvent(const Event& event);
void clearCurrentEvent();
// The current event's modifier flags, or none without one.
ModifierFlags currentModifierFlags();

}  // namespace platform
