// Dragging the ends of a line layer.

#include "document/CMLineShape.h"
#include "document/CMShapeLayer.h"

void CMShapeLayer::setLineStartPoint(platform::Point point) {
  CMLineShape* line = lineShape();
  if (!line) return;
  line->setLineStartPoint(point);
  markChanged();
}

void CMShapeLayer::setLineEndPoint(platform::Point point) {
  CMLineShape* line = lineShape();
  if (!line) return;
  line->setLineEndPoint(point);
  markChanged();
}
