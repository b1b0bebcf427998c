#pragma once

// The main dispatch queue on the GLib main loop: closures handed over from
// anywhere run one after another, in the order given, on the thread that runs
// the default main context.
//
// dispatch_once has no stand-in: a function-local static is initialised once,
// thread-safely, by the language itself.

#include <chrono>
#include <functional>

namespace platform {

// Runs the closure on a later turn of the main loop, after every closure
// already queued (including, when called from a queued closure, the ones
// queued before it). Safe to call from any thread. Closures must not throw.
void dispatchAsync(std::function<void()> work);
// Runs the closure on the main loop once the delay has passed (negative
// delays count as zero). Closures must not throw.
void dispatchAfter(std::chrono::milliseconds delay, std::function<void()> work);

// For tests: runs queued closures, and those they queue, until none is left,
// without a running main loop.
void drainMainQueue();
// For tests: iterates the default main context until the predicate holds or
// the timeout passes. Returns the predicate's last answer.
bool iterateMainLoopUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout);

}  // namespace platform
