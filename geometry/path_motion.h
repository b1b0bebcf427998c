#pragma once

// Moving an object along a path over time: a repeating timer of 1/30 s, in the
// event-tracking mode, tells the target where it is until the end of the path (or,
// looping, until the target says stop).

#include <any>
#include <memory>

#include "platform/core/timer.h"
#include "platform/graphics/bezier_path.h"

class PathMotionTarget {
 public:
  virtual ~PathMotionTarget() = default;
  // Returns false to stop the motion.
  virtual bool moveObjectTo(platform::Point point, float position, float slope, const std::any& userInfo) = 0;
};

// Where a motion takes its time and schedules its timer; tests put a manual clock here.
class MotionScheduler {
 public:
  virtual ~MotionScheduler() = default;
  virtual double now() const = 0;
  virtual void schedule(const std::shared_ptr<platform::Timer>& timer) = 0;
};

// The monotonic clock and the main loop in the event-tracking mode.
MotionScheduler& mainLoopMotionScheduler();

struct MotionRecord {
  platform::BezierPath path;
  float speed = 0;  // units per second
  std::any userInfo;
  std::shared_ptr<PathMotionTarget> target;
  float pathLength = 0;
  bool loop = false;
  double startTime = 0;  // on the scheduler's clock
};

inline constexpr double kMotionInterval = 1.0 / 30;

// Tells the target its start; unless it answers false, schedules the motion's timer.
// Nothing happens for a null target, a speed that is not positive (or NaN) or a path of
// fewer than 2 elements.
void moveObject(const platform::BezierPath& path, std::shared_ptr<PathMotionTarget> target, float speed, bool loop,
                std::any userInfo, MotionScheduler& scheduler = mainLoopMotionScheduler());
// One step at time `now`: past the end of a non-looping path the target gets the end and
// the timer stops; a false answer stops it too.
void motionCallback(platform::Timer& timer, const MotionRecord& record, double now);
