#pragma once

// Free line (shape type 5): the pencil samples under "points", as point strings, drawn
// as a polyline moved so that the first sample lies at (0, 0). Once saved as Bezier,
// "points" holds point records like a path shape.

#include "document/CMUniversalShape.h"

class CMFreeLineShape : public CMUniversalShape {
 public:
  using CMUniversalShape::CMUniversalShape;

  void initPath() override;

 protected:
  platform::BezierPath createSimplePath() override;
};

// The Bezier shapes drawn by the canvas share this: point records once "isbezier" is
// set, else the shape's own parametric outline, with no default outline stored.
void initDrawnShape(CMUniversalShape& shape);
