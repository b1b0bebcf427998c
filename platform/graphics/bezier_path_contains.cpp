#include <algorithm>

#include "platform/graphics/bezier_math.h"
#include "platform/graphics/bezier_path.h"

namespace platform {

namespace {

// Curves are followed to within this distance when the point lies near them.
constexpr double kContainsFlatness = 0.01;

// Signed crossings of the ray from `p` towards +x, half-open in y so a vertex on
// the ray counts once and a point on an edge gets the same answer every time.
class WindingCounter {
 public:
  explicit WindingCounter(Point p) : p_(p) {}

  void line(Point a, Point b) {
    if (a.y <= p_.y) {
      if (b.y > p_.y && side(a, b) > 0) ++winding_;
    } else if (b.y <= p_.y && side(a, b) < 0) {
      --winding_;
    }
  }

  void curve(Point p0, Point p1, Point p2, Point p3) {
    const double minY = std::min({p0.y, p1.y, p2.y, p3.y}), maxY = std::max({p0.y, p1.y, p2.y, p3.y});
    const double minX = std::min({p0.x, p1.x, p2.x, p3.x}), maxX = std::max({p0.x, p1.x, p2.x, p3.x});
    // The curve lies in its control hull: far from the ray it cannot cross it.
    if (maxY <= p_.y || minY > p_.y || maxX < p_.x) return;
    if (minX > p_.x) {
      // Wholly right of the point, every crossing counts, so only the end heights matter.
      winding_ += (p3.y > p_.y) - (p0.y > p_.y);
      return;
    }
    const int segments = bezier::flatteningSegmentCount(p0, p1, p2, p3, kContainsFlatness);
    Point previous = p0;
    for (int i = 1; i < segments; ++i) {
      const Point next = bezier::cubicPoint(p0, p1, p2, p3, static_cast<double>(i) / segments);
      line(previous, next);
      previous = next;
    }
    line(previous, p3);
  }

  long long winding() const { return winding_; }

 private:
  double side(Point a, Point b) const { return (b.x - a.x) * (p_.y - a.y) - (p_.x - a.x) * (b.y - a.y); }

  Point p_;
  long long winding_ = 0;  // wide enough that no path can overflow it
};

}  // namespace

bool BezierPath::containsPoint(Point point) const {
  WindingCounter counter(point);
  Point current, subpathStart;
  for (const Element& element : elements_) {
    switch (element.kind) {
      case PathElement::Move:
        // Every subpath is closed for filling, open ones implicitly.
        counter.line(current, subpathStart);
        subpathStart = current = element.points[0];
        break;
      case PathElement::Line:
        counter.line(current, element.points[0]);
        current = element.points[0];
        break;
      case PathElement::Curve:
        counter.curve(current, element.points[0], element.points[1], element.points[2]);
        current = element.points[2];
        break;
      case PathElement::Close:
        counter.line(current, subpathStart);
        current = subpathStart;
        break;
    }
  }
  counter.line(current, subpathStart);
  const long long winding = counter.winding();
  return windingRule_ == WindingRule::EvenOdd ? (winding % 2) != 0 : winding != 0;
}

}  // namespace platform
