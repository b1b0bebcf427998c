#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "curve_sampling.h"
#include "platform/graphics/bezier_path.h"

namespace platform {
namespace {

using testing::Cubic;
using testing::deCasteljau;
using testing::distanceToCurve;
using testing::distanceToSegment;

// A single curve flattened, with the line vertices that replaced it.
struct FlattenedCurve {
  Cubic curve;
  std::vector<Point> vertices;  // the curve's start, then every line end
};

FlattenedCurve flattenOne(const Cubic& curve, double flatness) {
  BezierPath path;
  path.setFlatness(flatness);
  path.moveTo(curve.p0);
  path.curveTo(curve.p3, curve.p1, curve.p2);
  const BezierPath flat = path.bezierPathByFlatteningPath();
  FlattenedCurve result{curve, {curve.p0}};
  Point points[3];
  for (int i = 1; i < flat.elementCount(); ++i) {
    EXPECT_EQ(flat.elementAt(i, points), PathElement::Line);
    result.vertices.push_back(points[0]);
  }
  return result;
}

// Largest distance from the curve to the polyline, sampled along the curve, and from
// the polyline's segment midpoints back to the curve.
double deviation(const FlattenedCurve& f) {
  double worst = 0;
  for (int i = 0; i <= 2000; ++i) {
    const Point p = deCasteljau(f.curve, i / 2000.0);
    double nearest = INFINITY;
    for (size_t k = 1; k < f.vertices.size(); ++k)
      nearest = std::min(nearest, distanceToSegment(p, f.vertices[k - 1], f.vertices[k]));
    worst = std::max(worst, nearest);
  }
  for (size_t k = 1; k < f.vertices.size(); ++k) {
    const Point a = f.vertices[k - 1], b = f.vertices[k];
    worst = std::max(worst, distanceToCurve({(a.x + b.x) / 2, (a.y + b.y) / 2}, f.curve, 500));
  }
  return worst;
}

const Cubic kCurves[] = {
    {{0, 0}, {0, 100}, {100, 100}, {100, 0}},          // arch
    {{0, 0}, {80, 60}, {-20, 60}, {60, 0}},            // loop
    {{0, 0}, {30, 40}, {30, -40}, {60, 0}},            // S bend
    {{10, 10}, {20, 10}, {20, 10}, {10, 10}},          // cusp folding back on itself
    {{5, 5}, {5.001, 5}, {5.002, 5.001}, {5.003, 5}},  // tiny
};

TEST(BezierPathFlatten, VerticesLieOnTheCurveAndDeviationStaysWithinFlatness) {
  for (const double flatness : {0.6, 0.05, 2.0}) {
    for (const Cubic& curve : kCurves) {
      const FlattenedCurve f = flattenOne(curve, flatness);
      ASSERT_GE(f.vertices.size(), 2u);
      EXPECT_EQ(f.vertices.back(), curve.p3) << "the last vertex is exactly the end point";
      for (const Point v : f.vertices) EXPECT_LT(distanceToCurve(v, curve), 1e-9);
      EXPECT_LE(deviation(f), flatness) << "flatness " << flatness << " curve starting " << curve.p1.x;
    }
  }
}

TEST(BezierPathFlatten, NonPositiveFlatnessStillGivesAFineFiniteResult) {
  for (const double flatness : {0.0, -1.0, std::nan("")}) {
    const FlattenedCurve f = flattenOne(kCurves[0], flatness);
    EXPECT_LE(f.vertices.size(), 10001u);
    EXPECT_LE(deviation(f), 1e-3);
  }
}

TEST(BezierPathFlatten, SegmentCountIsCappedPerCurve) {
  const FlattenedCurve huge = flattenOne({{0, 0}, {0, 1e12}, {1e12, 1e12}, {1e12, 0}}, 1e-6);
  EXPECT_EQ(huge.vertices.size(), 10001u);
  const FlattenedCurve infinite = flattenOne({{0, 0}, {0, INFINITY}, {1, 1}, {2, 0}}, 0.5);
  EXPECT_LE(infinite.vertices.size(), 10001u);
}

TEST(BezierPathFlatten, KeepsSubpathsAndAttributes) {
  BezierPath path;
  path.setWindingRule(WindingRule::EvenOdd);
  path.setLineWidth(3);
  path.setLineJoinStyle(LineJoin::Round);
  path.setFlatness(0.1);
  const double dash[] = {2, 3};
  path.setLineDash(dash, 2, 1);
  path.moveTo({0, 0});
  path.lineTo({10, 0});
  path.curveTo({10, 10}, {15, 0}, {15, 10});
  path.closePath();
  path.moveTo({50, 50});
  path.curveTo({60, 60}, {50, 60}, {60, 50});

  const BezierPath flat = path.bezierPathByFlatteningPath();
  EXPECT_EQ(flat.windingRule(), WindingRule::EvenOdd);
  EXPECT_EQ(flat.lineWidth(), 3);
  EXPECT_EQ(flat.lineJoinStyle(), LineJoin::Round);
  EXPECT_EQ(flat.flatness(), 0.1);
  EXPECT_EQ(flat.lineDash(), path.lineDash());

  std::vector<PathElement> kinds;
  for (int i = 0; i < flat.elementCount(); ++i) {
    const PathElement kind = flat.elementAt(i);
    ASSERT_NE(kind, PathElement::Curve);
    if (kind != PathElement::Line) kinds.push_back(kind);
  }
  EXPECT_EQ(kinds, (std::vector<PathElement>{PathElement::Move, PathElement::Close, PathElement::Move}));
  EXPECT_EQ(flat.currentPoint(), (Point{60, 60}));
  // Flattening again changes nothing: there are no curves left.
  EXPECT_EQ(flat.bezierPathByFlatteningPath(), flat);
  // A segment after the last close still starts from the flattened subpath's start.
  BezierPath closed = BezierPath::ovalInRect(Rect(0, 0, 4, 4)).bezierPathByFlatteningPath();
  closed.lineTo({9, 9});
  Point points[3];
  EXPECT_EQ(closed.elementAt(closed.elementCount() - 2, points), PathElement::Move);
  EXPECT_EQ(points[0], (Point{4, 2}));
}

}  // namespace
}  // namespace platform
