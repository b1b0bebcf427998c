#pragma once

// Rectangle (shape type 0): the frame of the first and third point records, with
// corners rounded by "round_width" when the record has "round". The platform's
// rounded rectangle clamps the radius to half of each side.

#include "document/CMUniversalShape.h"

class CMRectShape : public CMUniversalShape {
 public:
  using CMUniversalShape::CMUniversalShape;

 protected:
  platform::BezierPath createSimplePath() override;
  void recordToolOptions() override;
};
