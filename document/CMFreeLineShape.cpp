#include "document/CMFreeLineShape.h"

#include "document/CMShapeRecordValues.h"

using platform::Point;

void initDrawnShape(CMUniversalShape& shape) {
  const bool bezier = shape.data()->get("isbezier").boolValue();
  shape.setIsBezier(bezier);
  shape.setPoints(bezier ? shape.data()->array("points") : nullptr);
  shape.updatePath();
}

void CMFreeLineShape::initPath() { initDrawnShape(*this); }

platform::BezierPath CMFreeLineShape::createSimplePath() {
  platform::BezierPath path;
  const platform::ArrayRef samples = data()->array("points");
  if (!samples || samples->empty()) return path;
  const Point first = shapePointValue(samples->at(0));
  path.moveTo({0, 0});
  for (std::size_t index = 1; index < samples->size(); ++index) {
    const Point sample = shapePointValue(samples->at(index));
    path.lineTo({sample.x - first.x, sample.y - first.y});
  }
  return path;
}
