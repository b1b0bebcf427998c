#include "platform/graphics/stroke_caps.h"

#include <cmath>
#include <numbers>

#include "platform/graphics/stroke_arcs.h"
#include "platform/graphics/stroke_vector_math.h"

namespace platform::stroke {

namespace {

// The counter-clockwise rectangle from offsets `back` to `front` along `along`, ±halfWidth across it.
void appendRectangle(BezierPath& out, Point center, Point along, double back, double front, double halfWidth) {
  const Point across = times(leftNormal(along), halfWidth);
  const Point rear = plus(center, times(along, back));
  const Point ahead = plus(center, times(along, front));
  out.moveTo(minus(rear, across));
  out.lineTo(minus(ahead, across));
  out.lineTo(plus(ahead, across));
  out.lineTo(plus(rear, across));
  out.closePath();
}

}  // namespace

void appendCap(BezierPath& out, Point point, Point outward, LineCap cap, double halfWidth) {
  switch (cap) {
    case LineCap::Butt:
      return;
    case LineCap::Round: {
      // From the right edge of travel round the far side to the left edge.
      const Point rightward = times(leftNormal(outward), -1);
      out.moveTo(plus(point, times(rightward, halfWidth)));
      appendArc(out, point, halfWidth, std::atan2(rightward.y, rightward.x), std::numbers::pi);
      out.closePath();
      return;
    }
    case LineCap::Square:
      appendRectangle(out, point, outward, 0, halfWidth, halfWidth);
      return;
  }
}

void appendDot(BezierPath& out, Point point, Point direction, LineCap cap, double halfWidth) {
  switch (cap) {
    case LineCap::Butt:
      return;
    case LineCap::Round:
      appendCircle(out, point, halfWidth);
      return;
    case LineCap::Square:
      appendRectangle(out, point, direction, -halfWidth, halfWidth, halfWidth);
      return;
  }
}

}  // namespace platform::stroke
