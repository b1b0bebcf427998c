#pragma once

// Timers on the GLib main loop, as NSTimer is on the run loop, and the monotonic
// clock they are read against. A timer scheduled in the event-tracking mode fires only
// while a mouse-tracking gesture runs (the tracking depth is above 0), the way a run
// loop in that mode runs only during such a gesture.

#include <functional>
#include <memory>

#include <glib.h>

namespace platform {

// Seconds from an arbitrary fixed start, never going backwards.
double monotonicSeconds();

// How many mouse-tracking gestures are running (nested ones count each).
int mouseTrackingDepth();
// Raises the tracking depth for its lifetime.
class MouseTrackingScope {
 public:
  MouseTrackingScope();
  ~MouseTrackingScope();
  MouseTrackingScope(const MouseTrackingScope&) = delete;
  MouseTrackingScope& operator=(const MouseTrackingScope&) = delete;
};

enum class RunLoopMode { Common, EventTracking };

class Timer : public std::enable_shared_from_this<Timer> {
 public:
  using Action = std::function<void(Timer&)>;

  // An unscheduled timer; an interval that is not positive counts as 0.1 ms.
  static std::shared_ptr<Timer> create(double intervalSeconds, bool repeats, Action action);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Adds the timer to the main loop, which keeps it alive until it is invalidated: it
  // fires every interval (once when it does not repeat) while `mode` runs. Scheduling an
  // invalid or already scheduled timer does nothing.
  void schedule(RunLoopMode mode);
  // Runs the action now; a timer that does not repeat is invalidated afterwards. An
  // invalid timer does nothing.
  void fire();
  // Stops the timer for good and lets the main loop release it.
  void invalidate();
  bool isValid() const { return valid_; }
  double timeInterval() const { return interval_; }

 private:
  Timer(double interval, bool repeats, Action action);
  static gboolean onTick(gpointer data);

  double interval_;
  bool repeats_;
  Action action_;
  bool valid_ = true;
  bool firing_ = false;
  RunLoopMode mode_ = RunLoopMode::Common;
  guint source_ = 0;
};

}  // namespace platform
