#include "platform/core/timer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {

namespace {

int& trackingDepth() {
  static int depth = 0;
  return depth;
}

}  // namespace

double monotonicSeconds() { return static_cast<double>(g_get_monotonic_time()) / 1e6; }

int mouseTrackingDepth() { return trackingDepth(); }

MouseTrackingScope::MouseTrackingScope() { ++trackingDepth(); }

MouseTrackingScope::~MouseTrackingScope() { --trackingDepth(); }

Timer::Timer(double interval, bool repeats, Action action)
    : interval_(interval > 0 ? interval : 1e-4), repeats_(repeats), action_(std::move(action)) {}

std::shared_ptr<Timer> Timer::create(double intervalSeconds, bool repeats, Action action) {
  return std::shared_ptr<Timer>(new Timer(intervalSeconds, repeats, std::move(action)));
}

void Timer::schedule(RunLoopMode mode) {
  if (!valid_ || source_ != 0) return;
  mode_ = mode;
  const double milliseconds = std::clamp(std::round(interval_ * 1000), 1.0, double(G_MAXUINT));
  auto* keeper = new std::shared_ptr<Timer>(shared_from_this());
  source_ = g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(milliseconds), onTick, keeper,
                               [](gpointer data) { delete static_cast<std::shared_ptr<Timer>*>(data); });
}

gboolean Timer::onTick(gpointer data) {
  // The main loop's reference may go while the action runs (it may invalidate the timer).
  const std::shared_ptr<Timer> timer = *static_cast<std::shared_ptr<Timer>*>(data);
  if (timer->mode_ == RunLoopMode::EventTracking && mouseTrackingDepth() == 0) return G_SOURCE_CONTINUE;
  timer->fire();
  if (timer->valid_) return G_SOURCE_CONTINUE;
  timer->source_ = 0;
  return G_SOURCE_REMOVE;
}

void Timer::fire() {
  if (!valid_ || !action_) return;
  firing_ = true;
  action_(*this);
  firing_ = false;
  if (!repeats_) invalidate();
  if (!valid_) action_ = nullptr;
}

void Timer::invalidate() {
  valid_ = false;
  // The action may be the caller: it is released once it has returned.
  if (!firing_) action_ = nullptr;
  if (source_ != 0) {
    const guint source = std::exchange(source_, 0);
    g_source_remove(source);
  }
}

}  // namespace platform
