#include "platform/graphics/bezier_math.h"
#include "platform/graphics/bezier_path.h"

namespace platform {

Rect BezierPath::bounds() const {
  bezier::BoundsAccumulator box;
  Point current, subpathStart;
  for (const Element& element : elements_) {
    switch (element.kind) {
      case PathElement::Move:
        subpathStart = current = element.points[0];
        box.add(current);
        break;
      case PathElement::Line:
        current = element.points[0];
        box.add(current);
        break;
      case PathElement::Curve: {
        const Point p0 = current, p1 = element.points[0], p2 = element.points[1], p3 = element.points[2];
        double roots[4];
        int count = bezier::cubicExtremaParameters(p0.x, p1.x, p2.x, p3.x, roots);
        count += bezier::cubicExtremaParameters(p0.y, p1.y, p2.y, p3.y, roots + count);
        for (int i = 0; i < count; ++i) box.add(bezier::cubicPoint(p0, p1, p2, p3, roots[i]));
        current = p3;
        box.add(current);
        break;
      }
      case PathElement::Close:
        current = subpathStart;
        break;
    }
  }
  return box.rect();
}

}  // namespace platform
