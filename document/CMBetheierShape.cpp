#include "document/CMBetheierShape.h"

#include "document/CMFreeLineShape.h"
#include "document/CMShapeRecordValues.h"

using platform::DictRef;
using platform::Point;

void CMBetheierShape::initPath() { initDrawnShape(*this); }

platform::BezierPath CMBetheierShape::createSimplePath() {
  platform::BezierPath path;
  const platform::ArrayRef clicks = data()->array("points");
  if (!clicks || clicks->empty()) return path;
  const Point origin = shapePoint(data(), "start_point");
  auto relative = [&origin](const DictRef& click, const char* key) {
    const Point p = shapePoint(click, key);
    return Point{p.x - origin.x, p.y - origin.y};
  };

  const DictRef first = clicks->at(0).dictionary();
  path.moveTo(relative(first, "point"));
  if (first && first->get("closed").boolValue()) path.closePath();
  for (std::size_t index = 1; index < clicks->size(); ++index) {
    const DictRef click = clicks->at(index).dictionary();
    const DictRef previous = clicks->at(index - 1).dictionary();
    const bool closed = click && click->get("closed").boolValue();
    const Point point = relative(click, "point");
    if (click && click->get("start").boolValue()) {
      path.moveTo(point);
    } else if (click && click->get("lineTo").boolValue()) {
      path.lineTo(point);
    } else if (!(index == 1 && closed)) {
      path.curveTo(point, relative(previous, "control_point1"), relative(click, "control_point2"));
    }
    if (closed) path.closePath();
  }
  return path;
}
