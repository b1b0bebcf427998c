#include "platform/graphics/stroke_outliner.h"

#include <cmath>
#include <optional>
#include <vector>

#include "platform/graphics/stroke_dashes.h"
#include "platform/graphics/stroke_polyline.h"

namespace platform {

namespace {

using stroke::Polyline;

// The subpaths of a flattened path as runs of distinct points. A subpath with
// nothing after its move draws nothing and is left out; one whose segments all
// have zero length stays as a single point.
std::vector<Polyline> polylinesOf(const BezierPath& flattened) {
  std::vector<Polyline> polylines;
  Polyline current;
  bool drawn = false;
  const auto finishSubpath = [&](bool closed) {
    if (drawn && !current.points.empty()) {
      current.closed = closed;
      if (closed) stroke::dropPointsRepeatingStart(current.points);
      polylines.push_back(std::move(current));
    }
    current = Polyline{};
    drawn = false;
  };
  Point points[3];
  for (int i = 0; i < flattened.elementCount(); ++i) {
    switch (flattened.elementAt(i, points)) {
      case PathElement::Move:
        finishSubpath(false);
        stroke::appendDistinctPoint(current.points, points[0]);
        break;
      case PathElement::Line:
        stroke::appendDistinctPoint(current.points, points[0]);
        drawn = true;
        break;
      case PathElement::Curve:  // not left by flattening; taken as its end point all the same
        stroke::appendDistinctPoint(current.points, points[2]);
        drawn = true;
        break;
      case PathElement::Close:
        drawn = true;
        finishSubpath(true);
        break;
    }
  }
  finishSubpath(false);
  return polylines;
}

double totalLength(const std::vector<Polyline>& polylines) {
  double length = 0;
  for (const Polyline& polyline : polylines) {
    const std::size_t count = polyline.points.size();
    const std::size_t segmentCount = polyline.closed ? count : count - 1;
    for (std::size_t i = 0; i < segmentCount; ++i) {
      const Point from = polyline.points[i];
      const Point to = polyline.points[(i + 1) % count];
      length += std::hypot(to.x - from.x, to.y - from.y);
    }
  }
  return length;
}

std::optional<stroke::DashPattern> usableDash(const StrokeStyle& style, const std::vector<Polyline>& polylines) {
  auto dash = stroke::DashPattern::make(style.dash, style.dashPhase);
  if (!dash) return std::nullopt;
  const double steps = totalLength(polylines) / dash->period() * static_cast<double>(dash->entryCount());
  if (!(steps <= kMaxDashSteps)) return std::nullopt;
  return dash;
}

}  // namespace

BezierPath strokedOutline(const BezierPath& path, const StrokeStyle& style) {
  BezierPath outline;
  outline.setWindingRule(WindingRule::NonZero);
  if (!(style.width > 0) || !std::isfinite(style.width) || path.isEmpty()) return outline;

  BezierPath fine = path;
  fine.setFlatness(kStrokeTolerance);
  const std::vector<Polyline> polylines = polylinesOf(fine.bezierPathByFlatteningPath());
  const std::optional<stroke::DashPattern> dash = usableDash(style, polylines);
  const stroke::DashPieceSink strokePiece = [&](std::span<const Point> points, bool closed, Point direction) {
    stroke::appendPolylineStroke(outline, points, closed, direction, style);
  };
  for (const Polyline& polyline : polylines) {
    if (dash) {
      stroke::dashPolyline(polyline.points, polyline.closed, *dash, strokePiece);
    } else {
      stroke::appendPolylineStroke(outline, polyline.points, polyline.closed, Point{1, 0}, style);
    }
  }
  return outline;
}

BezierPath strokedOutline(const BezierPath& path) { return strokedOutline(path, StrokeStyle::of(path)); }

}  // namespace platform
