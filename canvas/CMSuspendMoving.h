#pragma once

// One axis of the drag's axis lock: once the dragged frame comes within reach
// of a snap line it sticks there until the free position has left the place
// where it stuck by 31 units; a drag that starts on a line must first leave it
// by 3 units before the line can catch it again.

#include <cstdint>

#include "platform/core/geometry.h"

class CMSuspendMoving {
 public:
  // 0 compares x coordinates, 1 y coordinates; other types skip the distance tests.
  explicit CMSuspendMoving(std::int32_t type = 0) : type_(type) {}

  void moving(bool lock);
  bool isLock() const noexcept { return canLockMoving_ && isLock_; }
  // `point` is the locked position (or the free one when `lock` is false), `current` the free position.
  void lock(bool lock, platform::Point point, platform::Point current, bool runtime);
  void lock(bool lock, platform::Point point, platform::Point current) { this->lock(lock, point, current, true); }
  platform::Point point() const noexcept { return point_; }
  // Re-arms the lock for the next drag.
  void finish();
  std::int32_t type() const noexcept { return type_; }
  void setType(std::int32_t type) noexcept { type_ = type; }

 private:
  // The distance along this axis (x for type 0, else y), truncated toward zero.
  int axisDistance(platform::Point from, platform::Point to) const;

  platform::Point point_;
  platform::Point orinalPoint_;
  std::int32_t type_;
  bool canLockMoving_ = true;
  bool isLock_ = false;
};
