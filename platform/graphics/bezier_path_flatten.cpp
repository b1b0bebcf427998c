#include <vector>

#include "platform/graphics/bezier_math.h"
#include "platform/graphics/bezier_path.h"

namespace platform {

BezierPath BezierPath::bezierPathByFlatteningPath() const {
  // Segment counts first, so the result is allocated once.
  std::vector<int> segmentCounts;
  size_t total = 0;
  Point current;
  for (const Element& element : elements_) {
    if (element.kind == PathElement::Curve) {
      segmentCounts.push_back(
          bezier::flatteningSegmentCount(current, element.points[0], element.points[1], element.points[2], flatness_));
      total += segmentCounts.back();
      current = element.points[2];
    } else {
      ++total;
      // After a close the next element is always a move, so the close's own point never matters.
      current = element.points[0];
    }
  }

  BezierPath flat = *this;
  flat.removeAllPoints();
  flat.elements_.reserve(total);
  auto count = segmentCounts.begin();
  for (const Element& element : elements_) {
    if (element.kind != PathElement::Curve) {
      flat.append(element.kind, element.points[0]);
      current = element.points[0];
      continue;
    }
    const Point p0 = current, p1 = element.points[0], p2 = element.points[1], p3 = element.points[2];
    const int segments = *count++;
    for (int i = 1; i < segments; ++i) {
      flat.append(PathElement::Line, bezier::cubicPoint(p0, p1, p2, p3, static_cast<double>(i) / segments));
    }
    flat.append(PathElement::Line, p3);
    current = p3;
  }
  return flat;
}

}  // namespace platform
