#include "geometry/path_motion.h"

#include <cmath>
#include <utility>

#include "geometry/path_length.h"

using platform::BezierPath;
using platform::Point;

namespace {

class MainLoopMotionScheduler final : public MotionScheduler {
 public:
  double now() const override { return platform::monotonicSeconds(); }
  void schedule(const std::shared_ptr<platform::Timer>& timer) override {
    timer->schedule(platform::RunLoopMode::EventTracking);
  }
};

}  // namespace

MotionScheduler& mainLoopMotionScheduler() {
  static MainLoopMotionScheduler scheduler;
  return scheduler;
}

void moveObject(const BezierPath& path, std::shared_ptr<PathMotionTarget> target, float speed, bool loop,
                std::any userInfo, MotionScheduler& scheduler) {
  if (!target || !(speed > 0) || path.elementCount() < 2) return;
  float slope = 0;
  const Point start = pointOnPathAtLength(path, 0, &slope);
  if (!target->moveObjectTo(start, 0, slope, userInfo)) return;
  MotionRecord record{path, speed, std::move(userInfo), std::move(target), length(path), loop, scheduler.now()};
  auto timer = platform::Timer::create(kMotionInterval, true,
                                       [record = std::move(record), &scheduler](platform::Timer& timer) {
                                         motionCallback(timer, record, scheduler.now());
                                       });
  scheduler.schedule(timer);
}

void motionCallback(platform::Timer& timer, const MotionRecord& record, double now) {
  const float elapsed = static_cast<float>(now - record.startTime);
  float position = record.speed * elapsed;
  bool finished = false;
  if (!record.loop) {
    if (position > record.pathLength) {
      position = record.pathLength;
      finished = true;
    }
  } else {
    position = record.pathLength > 0 ? std::fmod(position, record.pathLength) : 0;
  }
  if (!std::isfinite(position)) position = 0;
  float slope = 0;
  const Point point = pointOnPathAtLength(record.path, position, &slope);
  if (!record.target->moveObjectTo(point, position, slope, record.userInfo) || finished) timer.invalidate();
}
