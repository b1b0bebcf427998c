#include "canvas/CMSuspendMoving.h"

#include <cstdlib>

#include "platform/core/numeric.h"

namespace {

constexpr int kReleaseDistance = 31;
constexpr int kRearmDistance = 3;

}  // namespace

void CMSuspendMoving::moving(bool lock) {
  if (lock) isLock_ = true;
}

int CMSuspendMoving::axisDistance(platform::Point from, platform::Point to) const {
  const double difference = type_ == 0 ? from.x - to.x : from.y - to.y;
  return platform::saturatingTruncate<int>(difference);
}

void CMSuspendMoving::lock(bool lock, platform::Point point, platform::Point current, bool runtime) {
  const bool measures = type_ == 0 || type_ == 1;
  if (lock) {
    // A drag that begins on the line may not stick to it until it has left it.
    if (!runtime) canLockMoving_ = false;
    if (!isLock_) orinalPoint_ = point;
    isLock_ = true;
    if (runtime && measures && std::abs(axisDistance(current, orinalPoint_)) >= kReleaseDistance) isLock_ = false;
    point_ = point;
    return;
  }
  if (runtime && !canLockMoving_ && measures && std::abs(axisDistance(point_, point)) >= kRearmDistance) {
    canLockMoving_ = true;
    isLock_ = false;
  }
}

void CMSuspendMoving::finish() {
  canLockMoving_ = true;
  isLock_ = false;
}
