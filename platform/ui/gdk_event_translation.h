#pragma once

// The parts of a GdkEvent that translate the same wherever it arrives.

#include <gdk/gdk.h>

#include <optional>

#include "platform/ui/event.h"

namespace platform {

// Shift, Lock, Control and Alt as Shift, CapsLock, Control and Option; Super and Meta as Command.
ModifierFlags modifierFlagsFromGdk(unsigned state);
// The key value the key gives with no modifiers in the event's group, or the event's own.
unsigned unshiftedKeyval(const GdkEventKey* event);
// A key event's type, characters, key code, flags and time; location left at the origin.
Event keyEventFromGdk(const GdkEventKey* event, EventType type);
// Mouse-button number in AppKit's numbering: 0 left, 1 right, 2 middle.
int buttonNumberFromGdk(unsigned button);
// The event as a monitor sees it, located in its toplevel window (y up); nothing for
// kinds that are not mouse, key or scroll events.
std::optional<Event> eventFromGdkForMonitors(const GdkEvent* event);

}  // namespace platform
