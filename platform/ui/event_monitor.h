#pragma once

// NSEvent's local event monitors: handlers that see every mouse, key and
// scroll event of the application before any widget does, and may swallow it.
// They run in the GDK event handler that initializeUi installs.

#include <functional>

#include "platform/ui/event.h"

namespace platform {

// Returns false to swallow the event.
using LocalMonitorHandler = std::function<bool(const Event&)>;

// Returns an identifier for removeEventMonitor.
int addLocalEventMonitor(EventMask mask, LocalMonitorHandler handler);
// Unknown identifiers are ignored; removing from inside a handler is safe.
void removeEventMonitor(int identifier);
// Runs the monitors whose mask takes the event, in the order they were added,
// until one swallows it. Returns whether the event goes on.
bool runLocalEventMonitors(const Event& event);

}  // namespace platform
