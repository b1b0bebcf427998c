#include "platform/core/delayed_perform.h"

#include <algorithm>
#include <utility>

#include "platform/core/timer.h"

namespace platform {

DelayedPerformer::~DelayedPerformer() { cancelPreviousPerformRequests(); }

void DelayedPerformer::performAfterDelay(double seconds, std::function<void()> work) {
  auto timer = Timer::create(std::max(seconds, 0.0), false, [this, work = std::move(work)](Timer& fired) {
    // Off the list before the work runs: the work may schedule or cancel again.
    std::erase_if(pending_, [&fired](const std::shared_ptr<Timer>& t) { return t.get() == &fired; });
    if (work) work();
  });
  pending_.push_back(timer);
  timer->schedule(RunLoopMode::Common);
}

void DelayedPerformer::cancelPreviousPerformRequests() {
  for (const auto& timer : std::exchange(pending_, {})) timer->invalidate();
}

}  // namespace platform
