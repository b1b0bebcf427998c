#pragma once

// Oval (shape type 1): inscribed in the frame of the first and third point records,
// four cubics starting at the right-hand middle point.

#include "document/CMUniversalShape.h"

class CMOvalShape : public CMUniversalShape {
 public:
  using CMUniversalShape::CMUniversalShape;

 protected:
  platform::BezierPath createSimplePath() override { return platform::BezierPath::ovalInRect(frame()); }
};
