#pragma once

// Line (shape type 4) from ("x1", "y1") to ("x2", "y2"), with arrowheads by arrow type
// ("type": 0 none, 1 at the start, 2 at both ends) and style ("style": 0 Full,
// 1 Circle, 2 Open, 3 Diamond, 4 PointY), length 10 times the width ("def_width", whole
// from the tool, fractional in an imported drawing).
// The type, style and width are taken from the tool options once, when the record
// lacks them (a stored "line_arrow_type" wins over both), and then read from the record.
// Coincident ends and unknown arrow types give a plain line.

#include "document/CMUniversalShape.h"

struct CMArrowOptions {
  double length = 0;
  double angle = 45;  // degrees between the two sides
};

class CMLineShape : public CMUniversalShape {
 public:
  using CMUniversalShape::CMUniversalShape;

  platform::Point startPoint() const;
  platform::Point endPoint() const;
  void setLineStartPoint(platform::Point point);
  void setLineEndPoint(platform::Point point);
  // Moves the whole line so it starts at the point, keeping its direction and length.
  void setLinePosition(platform::Point point);
  // Rebuilds from the values stored in the record.
  void updateShape();

  // One arrowhead with its tip at `tip` pointing away from `other`. `base` receives the
  // point where the line should start when the style gives one, and is untouched otherwise.
  static platform::BezierPath bezierPathWithArrowOnSegment(platform::Point tip, platform::Point other,
                                                           std::int64_t style, const CMArrowOptions& options,
                                                           platform::Point& base);

 protected:
  platform::BezierPath createSimplePath() override;
  void recordToolOptions() override;

 private:
  platform::BezierPath outline();
};
