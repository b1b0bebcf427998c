#pragma once

// performSelector:withObject:afterDelay: and cancelPreviousPerformRequestsWithTarget: for one
// target: work run once on the main loop after a delay, until the target cancels what it has
// pending or goes away.

#include <functional>
#include <memory>
#include <vector>

namespace platform {

class Timer;

class DelayedPerformer {
 public:
  DelayedPerformer() = default;
  // Cancels whatever is still pending.
  ~DelayedPerformer();
  DelayedPerformer(const DelayedPerformer&) = delete;
  DelayedPerformer& operator=(const DelayedPerformer&) = delete;

  // Runs `work` once the delay has passed (negative delays count as zero).
  void performAfterDelay(double seconds, std::function<void()> work);
  void cancelPreviousPerformRequests();
  bool hasPendingRequests() const { return !pending_.empty(); }

 private:
  std::vector<std::shared_ptr<Timer>> pending_;
};

}  // namespace platform
