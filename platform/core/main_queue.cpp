#include "platform/core/main_queue.h"

#include <glib.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace platform {
namespace {

// One queue drained by one idle source, so closures run strictly in the order
// they were queued; an idle source per closure would leave the order to GLib.
struct MainQueue {
  std::mutex mutex;
  std::deque<std::function<void()>> closures;
  bool drainScheduled = false;
};

MainQueue& mainQueue() {
  static MainQueue queue;
  return queue;
}

std::optional<std::function<void()>> takeNext() {
  MainQueue& queue = mainQueue();
  std::lock_guard lock(queue.mutex);
  if (queue.closures.empty()) return std::nullopt;
  std::function<void()> next = std::move(queue.closures.front());
  queue.closures.pop_front();
  return next;
}

// Runs the closures queued before this turn; those they queue wait for the
// next turn, so the loop keeps serving other events in between.
gboolean drainOneTurn(gpointer) {
  MainQueue& queue = mainQueue();
  std::size_t count;
  {
    std::lock_guard lock(queue.mutex);
    count = queue.closures.size();
  }
  for (; count > 0; --count) {
    std::optional<std::function<void()>> next = takeNext();
    if (!next) break;  // drained meanwhile by drainMainQueue from a closure
    (*next)();
  }
  std::lock_guard lock(queue.mutex);
  if (!queue.closures.empty()) return G_SOURCE_CONTINUE;
  queue.drainScheduled = false;
  return G_SOURCE_REMOVE;
}

gboolean runDelayed(gpointer data) {
  (*static_cast<std::function<void()>*>(data))();
  return G_SOURCE_REMOVE;
}

void destroyDelayed(gpointer data) {
  std::unique_ptr<std::function<void()>> owner(static_cast<std::function<void()>*>(data));
}

guint clampedMilliseconds(std::chrono::milliseconds delay) {
  const auto count = std::clamp<std::chrono::milliseconds::rep>(delay.count(), 0, G_MAXUINT);
  return static_cast<guint>(count);
}

}  // namespace

void dispatchAsync(std::function<void()> work) {
  if (!work) return;
  MainQueue& queue = mainQueue();
  std::lock_guard lock(queue.mutex);
  queue.closures.push_back(std::move(work));
  if (!queue.drainScheduled) {
    queue.drainScheduled = true;
    g_idle_add_full(G_PRIORITY_DEFAULT, drainOneTurn, nullptr, nullptr);
  }
}

void dispatchAfter(std::chrono::milliseconds delay, std::function<void()> work) {
  if (!work) return;
  // GLib owns the closure from here and frees it through destroyDelayed.
  auto closure = std::make_unique<std::function<void()>>(std::move(work));
  g_timeout_add_full(G_PRIORITY_DEFAULT, clampedMilliseconds(delay), runDelayed, closure.release(), destroyDelayed);
}

void drainMainQueue() {
  while (std::optional<std::function<void()>> next = takeNext()) (*next)();
}

bool iterateMainLoopUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout) {
  bool timedOut = false;
  // Wakes the blocking iteration below when nothing else would.
  guint timer = g_timeout_add_full(
      G_PRIORITY_DEFAULT, clampedMilliseconds(timeout),
      [](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
      },
      &timedOut, nullptr);
  bool satisfied = predicate();
  while (!satisfied && !timedOut) {
    g_main_context_iteration(nullptr, TRUE);
    satisfied = predicate();
  }
  if (!timedOut) g_source_remove(timer);
  return satisfied;
}

}  // namespace platform
