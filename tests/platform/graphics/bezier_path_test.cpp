#include "platform/graphics/bezier_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "curve_sampling.h"

namespace platform {
namespace {

using testing::Cubic;
using testing::deCasteljau;
using testing::distance;

// Puts the class-wide defaults back whatever a test did to them.
class ClassDefaultsGuard {
 public:
  ~ClassDefaultsGuard() {
    BezierPath::setDefaultLineWidth(width_);
    BezierPath::setDefaultFlatness(flatness_);
    BezierPath::setDefaultWindingRule(rule_);
  }

 private:
  double width_ = BezierPath::defaultLineWidth();
  double flatness_ = BezierPath::defaultFlatness();
  WindingRule rule_ = BezierPath::defaultWindingRule();
};

struct Element {
  PathElement kind;
  Point points[3];
};

Element elementOf(const BezierPath& path, int index) {
  Element e{PathElement::Close, {}};
  e.kind = path.elementAt(index, e.points);
  return e;
}

TEST(BezierPathAttributes, NewPathHasConventionalDefaults) {
  const BezierPath path;
  EXPECT_TRUE(path.isEmpty());
  EXPECT_EQ(path.lineWidth(), 1);
  EXPECT_EQ(path.lineCapStyle(), LineCap::Butt);
  EXPECT_EQ(path.lineJoinStyle(), LineJoin::Miter);
  EXPECT_EQ(path.miterLimit(), 10);
  EXPECT_TRUE(path.lineDash().pattern.empty());
  EXPECT_EQ(path.windingRule(), WindingRule::NonZero);
  EXPECT_EQ(path.flatness(), 0.6);
}

TEST(BezierPathAttributes, ClassDefaultsAreCopiedIntoNewPathsOnly) {
  const ClassDefaultsGuard guard;
  const BezierPath before;
  BezierPath::setDefaultLineWidth(3);
  BezierPath::setDefaultFlatness(0.2);
  BezierPath::setDefaultWindingRule(WindingRule::EvenOdd);
  const BezierPath after = BezierPath::rect(Rect(0, 0, 1, 1));
  EXPECT_EQ(after.lineWidth(), 3);
  EXPECT_EQ(after.flatness(), 0.2);
  EXPECT_EQ(after.windingRule(), WindingRule::EvenOdd);
  EXPECT_EQ(before.lineWidth(), 1);
  EXPECT_EQ(before.windingRule(), WindingRule::NonZero);
}

TEST(BezierPathAttributes, DashKeepsEveryEntryAndCountZeroClears) {
  BezierPath path;
  const double pattern[] = {2, 3, 0.5};
  path.setLineDash(pattern, 3, 1.25);
  EXPECT_EQ(path.lineDash(), (LineDash{{2, 3, 0.5}, 1.25}));
  path.setLineDash(pattern, 0, 4);
  EXPECT_TRUE(path.lineDash().pattern.empty());
  path.setLineDash(pattern, 2, 0);
  path.setLineDash(pattern, -5, 0);
  EXPECT_TRUE(path.lineDash().pattern.empty());
  path.setLineDash(nullptr, 4, 0);
  EXPECT_TRUE(path.lineDash().pattern.empty());
}

TEST(BezierPathAttributes, RemoveAllPointsKeepsAttributes) {
  BezierPath path = BezierPath::rect(Rect(0, 0, 4, 4));
  path.setLineWidth(7);
  path.setLineCapStyle(LineCap::Square);
  path.setWindingRule(WindingRule::EvenOdd);
  path.removeAllPoints();
  EXPECT_TRUE(path.isEmpty());
  EXPECT_EQ(path.currentPoint(), (Point{0, 0}));
  EXPECT_EQ(path.lineWidth(), 7);
  EXPECT_EQ(path.lineCapStyle(), LineCap::Square);
  EXPECT_EQ(path.windingRule(), WindingRule::EvenOdd);
}

TEST(BezierPathElements, CurvePointsAreControlsThenEnd) {
  BezierPath path;
  path.moveTo({1, 2});
  path.curveTo({9, 9}, {3, 4}, {5, 6});
  ASSERT_EQ(path.elementCount(), 2);
  const Element curve = elementOf(path, 1);
  EXPECT_EQ(curve.kind, PathElement::Curve);
  EXPECT_EQ(curve.points[0], (Point{3, 4}));
  EXPECT_EQ(curve.points[1], (Point{5, 6}));
  EXPECT_EQ(curve.points[2], (Point{9, 9}));
  EXPECT_EQ(path.currentPoint(), (Point{9, 9}));
}

TEST(BezierPathElements, CloseLeavesTheCallersBufferUntouched) {
  BezierPath path;
  path.moveTo({1, 1});
  path.lineTo({2, 1});
  path.closePath();
  Point buffer[3] = {{-7, -7}, {-8, -8}, {-9, -9}};
  EXPECT_EQ(path.elementAt(2, buffer), PathElement::Close);
  EXPECT_EQ(buffer[0], (Point{-7, -7}));
  EXPECT_EQ(buffer[2], (Point{-9, -9}));
  EXPECT_EQ(path.currentPoint(), (Point{1, 1})) << "a close returns to the subpath start";
}

TEST(BezierPathElements, IndexOutsideTheListThrows) {
  BezierPath path;
  path.moveTo({0, 0});
  Point buffer[3];
  EXPECT_THROW(path.elementAt(1), std::out_of_range);
  EXPECT_THROW(path.elementAt(-1, buffer), std::out_of_range);
  EXPECT_THROW(path.setAssociatedPoints(buffer, 5), std::out_of_range);
}

TEST(BezierPathElements, SetAssociatedPointsReplacesPointsAndKeepsKind) {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({1, 0});
  path.curveTo({2, 2}, {1, 1}, {2, 1});
  path.closePath();
  const Point curvePoints[3] = {{10, 11}, {12, 13}, {14, 15}};
  path.setAssociatedPoints(curvePoints, 2);
  const Element curve = elementOf(path, 2);
  EXPECT_EQ(curve.kind, PathElement::Curve);
  EXPECT_EQ(curve.points[2], (Point{14, 15}));
  // A new start point is where the next segment after the close begins.
  const Point start[1] = {{-5, -5}};
  path.setAssociatedPoints(start, 0);
  path.lineTo({3, 3});
  EXPECT_EQ(elementOf(path, 4).kind, PathElement::Move);
  EXPECT_EQ(elementOf(path, 4).points[0], (Point{-5, -5}));
}

TEST(BezierPathIllFormed, SegmentAfterCloseMovesToTheSubpathStartFirst) {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({5, 0});
  path.moveTo({1, 1});
  path.lineTo({2, 1});
  path.closePath();
  path.lineTo({3, 3});
  path.closePath();
  path.curveTo({4, 4}, {3, 4}, {4, 3});
  ASSERT_EQ(path.elementCount(), 10);
  const PathElement kinds[] = {PathElement::Move,  PathElement::Line, PathElement::Move, PathElement::Line,
                               PathElement::Close, PathElement::Move, PathElement::Line, PathElement::Close,
                               PathElement::Move,  PathElement::Curve};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(path.elementAt(i), kinds[i]) << i;
  EXPECT_EQ(elementOf(path, 5).points[0], (Point{1, 1}));
  EXPECT_EQ(elementOf(path, 8).points[0], (Point{1, 1}));
}

TEST(BezierPathIllFormed, CloseWithNoOpenSubpathDoesNothing) {
  BezierPath path;
  path.closePath();
  EXPECT_TRUE(path.isEmpty());
  path.moveTo({1, 1});
  path.lineTo({2, 2});
  path.closePath();
  path.closePath();
  EXPECT_EQ(path.elementCount(), 3);
}

TEST(BezierPathIllFormed, SegmentWithNoCurrentPointStartsASubpathAtItsEnd) {
  BezierPath line;
  line.lineTo({4, 5});
  ASSERT_EQ(line.elementCount(), 2);
  EXPECT_EQ(elementOf(line, 0).kind, PathElement::Move);
  EXPECT_EQ(elementOf(line, 0).points[0], (Point{4, 5}));
  EXPECT_EQ(elementOf(line, 1).points[0], (Point{4, 5}));

  BezierPath curve;
  curve.curveTo({1, 1}, {0, 1}, {1, 0});
  ASSERT_EQ(curve.elementCount(), 2);
  EXPECT_EQ(elementOf(curve, 0).points[0], (Point{1, 1}));
  EXPECT_EQ(curve.elementAt(1), PathElement::Curve);
}

TEST(BezierPathValue, AppendPathAddsElementsAsTheyAreAndIgnoresAttributes) {
  BezierPath path;
  path.moveTo({0, 0});
  path.lineTo({1, 0});
  BezierPath other = BezierPath::rect(Rect(10, 10, 2, 2));
  other.setLineWidth(9);
  path.appendPath(other);
  EXPECT_EQ(path.elementCount(), 7);
  EXPECT_EQ(path.lineWidth(), 1);
  // The appended closed subpath is where the next segment starts from.
  path.lineTo({50, 50});
  EXPECT_EQ(elementOf(path, 7).kind, PathElement::Move);
  EXPECT_EQ(elementOf(path, 7).points[0], (Point{10, 10}));

  path.appendPath(path);
  EXPECT_EQ(path.elementCount(), 18);
  EXPECT_EQ(elementOf(path, 9).points[0], (Point{0, 0}));
}

TEST(BezierPathShapes, RectangleRunsFromMinCornerCounterClockwise) {
  const BezierPath path = BezierPath::rect(Rect(1, 2, 3, 4));
  ASSERT_EQ(path.elementCount(), 5);
  const Point expected[] = {{1, 2}, {4, 2}, {4, 6}, {1, 6}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(elementOf(path, i).kind, i == 0 ? PathElement::Move : PathElement::Line);
    EXPECT_EQ(elementOf(path, i).points[0], expected[i]);
  }
  EXPECT_EQ(path.elementAt(4), PathElement::Close);
}

TEST(BezierPathShapes, OvalStartsAtMaxXMidYAndStaysOnTheEllipse) {
  const Rect r(10, 20, 40, 10);
  const BezierPath oval = BezierPath::ovalInRect(r);
  ASSERT_EQ(oval.elementCount(), 6);
  EXPECT_EQ(elementOf(oval, 0).points[0], (Point{50, 25}));
  EXPECT_EQ(oval.elementAt(5), PathElement::Close);
  const Point ends[] = {{30, 30}, {10, 25}, {30, 20}, {50, 25}};
  const auto curves = testing::curvesOf(oval);
  ASSERT_EQ(curves.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(curves[i].p3, ends[i]) << "quarter " << i << " ends counter-clockwise from the last";
    for (double t = 0; t <= 1; t += 0.125) {
      const Point p = deCasteljau(curves[i], t);
      const double unit = std::hypot((p.x - 30) / 20, (p.y - 25) / 5);
      EXPECT_NEAR(unit, 1, 3e-4) << "quarter " << i << " t " << t;
    }
  }
}

TEST(BezierPathShapes, RoundedRectangleClampsRadiiAndKeepsItsBox) {
  const Rect r(0, 0, 20, 10);
  const BezierPath rounded = BezierPath::roundedRect(r, 50, 3);
  const Rect box = rounded.bounds();
  EXPECT_NEAR(box.origin.x, 0, 1e-12);
  EXPECT_NEAR(box.size.width, 20, 1e-12);
  EXPECT_NEAR(box.size.height, 10, 1e-12);
  // The x radius is clamped to 10, so the bottom edge is a single point at x = 10.
  EXPECT_EQ(elementOf(rounded, 0).points[0], (Point{10, 0}));
  EXPECT_EQ(elementOf(rounded, 1).points[0], (Point{10, 0}));
  EXPECT_FALSE(rounded.containsPoint({0.5, 0.5})) << "corner cut away";
  EXPECT_TRUE(rounded.containsPoint({10, 0.5}));
  EXPECT_EQ(BezierPath::roundedRect(r, 0, 5), BezierPath::rect(r));
}

TEST(BezierPathShapes, ArcPiecesStayOnTheCircleAndSpanAtMostAQuarter) {
  struct Case {
    double start, end;
    bool clockwise;
    double sweep;  // signed, degrees
  };
  const Case cases[] = {{0, 360, false, 360},  {350, 10, false, 20}, {10, 350, true, -20},
                        {30, 300, false, 270}, {30, 300, true, -90}, {45, 45, false, 0}};
  const Point centre{3, -2};
  const double radius = 5;
  for (const Case& c : cases) {
    BezierPath arc;
    arc.appendArc(centre, radius, c.start, c.end, c.clockwise);
    const auto curves = testing::curvesOf(arc);
    EXPECT_EQ(static_cast<int>(curves.size()), static_cast<int>(std::ceil(std::abs(c.sweep) / 90)));
    const double a0 = c.start * std::numbers::pi / 180;
    EXPECT_NEAR(distance(arc.currentPoint(), {centre.x + radius * std::cos(a0 + c.sweep * std::numbers::pi / 180),
                                              centre.y + radius * std::sin(a0 + c.sweep * std::numbers::pi / 180)}),
                0, 1e-9);
    double turned = 0;
    for (const Cubic& piece : curves) {
      const double step = std::remainder(std::atan2(piece.p3.y - centre.y, piece.p3.x - centre.x) -
                                             std::atan2(piece.p0.y - centre.y, piece.p0.x - centre.x),
                                         2 * std::numbers::pi);
      EXPECT_LE(std::abs(step), std::numbers::pi / 2 + 1e-12);
      turned += step;
      for (double t = 0; t <= 1; t += 0.1) EXPECT_NEAR(distance(deCasteljau(piece, t), centre), radius, 2e-3);
    }
    EXPECT_NEAR(turned * 180 / std::numbers::pi, c.sweep, 1e-9);
  }
}

TEST(BezierPathShapes, ArcOnANonEmptyPathLinesToItsStart) {
  BezierPath path;
  path.moveTo({0, 0});
  path.appendArc({10, 0}, 2, 180, 90, true);
  ASSERT_EQ(path.elementCount(), 3);
  EXPECT_EQ(path.elementAt(1), PathElement::Line);
  EXPECT_NEAR(distance(elementOf(path, 1).points[0], {8, 0}), 0, 1e-12);
  EXPECT_NEAR(distance(path.currentPoint(), {10, 2}), 0, 1e-12);
}

TEST(BezierPathShapes, HostileArcAnglesDoNotExplode) {
  BezierPath path;
  path.appendArc({0, 0}, 1, 0, 1e300, false);
  EXPECT_LE(path.elementCount(), 5);
  BezierPath nan;
  nan.appendArc({0, 0}, 1, std::nan(""), 90, false);
  EXPECT_LE(nan.elementCount(), 5);
}

}  // namespace
}  // namespace platform
