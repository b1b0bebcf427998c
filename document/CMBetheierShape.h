#pragma once

// Pen curve (shape type 6): the pen clicks under "points", measured from
// "start_point". Each click arrives by a cubic built from the previous click's
// "control_point1" and its own "control_point2", unless it starts a subpath ("start")
// or arrives by a straight line ("lineTo"); "closed" closes the subpath after it.

#include "document/CMUniversalShape.h"

class CMBetheierShape : public CMUniversalShape {
 public:
  using CMUniversalShape::CMUniversalShape;

  void initPath() override;

 protected:
  platform::BezierPath createSimplePath() override;
};
