#include <gtest/gtest.h>

#include <cmath>

#include "geometry/CMRandom.h"
#include "geometry/line_fragments.h"
#include "geometry/path_effects.h"
#include "geometry/path_transforms.h"
#include "geometry/stroked_path.h"
#include "path_test_support.h"
#include "platform/core/log.h"
#include "platform/graphics/rect_functions.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::Rect;

namespace {

// Point 0 of every element but a close (the vertices of a flattened path).
std::vector<Point> vertices(const BezierPath& path) {
  std::vector<Point> points;
  for (int i = 0; i < path.elementCount(); ++i) {
    Point element[3];
    if (path.elementAt(i, element) != PathElement::Close) points.push_back(element[0]);
  }
  return points;
}

// Shoelace area of the polygon through the end points (positive counter-clockwise).
double signedArea(const BezierPath& path) {
  const std::vector<Point> vertices = ::vertices(path);
  double area = 0;
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    const Point a = vertices[i], b = vertices[(i + 1) % vertices.size()];
    area += a.x * b.y - b.x * a.y;
  }
  return area / 2;
}

}  // namespace

TEST(PathEffects, TransformedCopies) {
  BezierPath rectangle = BezierPath::rect({0, 0, 100, 50});
  rectangle.setLineWidth(4);
  EXPECT_EQ(rotatedPath(rectangle, 0, {3, 3}), rectangle);
  EXPECT_EQ(scaledPath(rectangle, 1, {3, 3}), rectangle);
  const BezierPath flipped = horizontallyFlippedPath(rectangle);
  EXPECT_EQ(flipped.bounds(), rectangle.bounds());
  EXPECT_EQ(flipped.lineWidth(), 4);
  EXPECT_DOUBLE_EQ(signedArea(flipped), -signedArea(rectangle));
  const BezierPath flat = polyline({{0, 0}, {100, 0}});
  EXPECT_EQ(insetPathBy(flat, 10), flat);  // no height to scale
  const Rect inset = insetPathBy(rectangle, 10).bounds();
  EXPECT_NEAR(inset.origin.x, 10, 1e-4);
  EXPECT_NEAR(inset.size.height, 30, 1e-4);
  EXPECT_EQ(shape(rotatedPath(polyline({{0, 0}, {10, 0}}), M_PI / 2)), "M 5 -5 L 5 5");
}

TEST(PathEffects, MinimumCornerAngle) {
  EXPECT_FLOAT_EQ(minimumCornerAngle(polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}})), M_PI / 2);
  EXPECT_FLOAT_EQ(minimumCornerAngle(polyline({{0, 0}, {10, 0}, {20, 0}})), 0);
  EXPECT_FLOAT_EQ(minimumCornerAngle(polyline({{0, 0}})), M_PI);
  EXPECT_NEAR(minimumCornerAngle(polyline({{10, 0.2}, {0, 0}, {-10, 0.2}})), 0.04, 1e-5);
}

TEST(PathEffects, CrossingsAndLineFragments) {
  const BezierPath rectangle = BezierPath::rect({0, 0, 100, 50});
  EXPECT_EQ(*intersectingPointsWithHorizontalLineAtY(rectangle, 25), (std::vector<Point>{{0, 25}, {100, 25}}));
  EXPECT_FALSE(intersectingPointsWithHorizontalLineAtY(rectangle, 60));
  EXPECT_EQ(*intersectingPointsWithHorizontalLineAtY(BezierPath::rect({-1, -3, 6, 6}), -1),
            (std::vector<Point>{{-1, -1}, {5, -1}}));
  // A diamond's side vertices lie on the probe: each is counted once.
  EXPECT_EQ(*intersectingPointsWithHorizontalLineAtY(polyline({{50, 0}, {100, 50}, {50, 100}, {0, 50}, {50, 0}}), 50),
            (std::vector<Point>{{0, 50}, {100, 50}}));

  Rect remaining(1, 1, 1, 1);
  EXPECT_EQ(lineFragmentRectForProposedRect(rectangle, {0, 20, 200, 10}, &remaining), Rect(0, 20, 100, 10));
  EXPECT_EQ(remaining, Rect(100, 20, 200, 10));
  EXPECT_EQ(lineFragmentRectForProposedRect(rectangle, {10, 20, 200, 10}, &remaining), Rect());
  EXPECT_EQ(remaining, Rect());

  const std::vector<Rect> rows = lineFragmentRectsForFixedLineheight(BezierPath::ovalInRect({0, 0, 200, 100}), 10);
  EXPECT_EQ(rows.size(), 9u);
  for (const Rect& row : rows) {
    for (const Point corner : {Point{row.origin.x + 1, row.origin.y + 1}, Point{row.origin.x + row.size.width - 1, row.origin.y + 1},
                               Point{row.origin.x + 1, row.origin.y + row.size.height - 1},
                               Point{row.origin.x + row.size.width - 1, row.origin.y + row.size.height - 1}}) {
      EXPECT_LE(std::pow((corner.x - 100) / 100, 2) + std::pow((corner.y - 50) / 50, 2), 1) << corner.x << ", " << corner.y;
    }
  }
}

TEST(PathEffects, FragmentsZigZagsAndWaves) {
  const BezierPath line = polyline({{0, 0}, {100, 0}});
  EXPECT_EQ(shape(bezierPathWithFragmentedLineSegments(line, 30)), "M 0 0 L 30 0 L 60 0 L 90 0");
  EXPECT_EQ(shape(bezierPathWithFragmentedLineSegments(line, 0)), "");
  EXPECT_EQ(shape(bezierPathWithZig(line, 25, 5)), "M 0 0 M 0 -5 L 25 5 L 50 -5 L 75 5");
  EXPECT_EQ(shape(bezierPathWithWavelength(line, 25, 5, 0.5f)),
            "M 0 0 M 0 -5 C 2.5 -5 22.5 5 25 5 C 27.5 5 47.5 -5 50 -5 C 52.5 -5 72.5 5 75 5 C 77.5 5 97.5 -5 100 -5");
  const BezierPath rectangle = BezierPath::rect({0, 0, 100, 50});
  for (const BezierPath& effect : {bezierPathWithZig(rectangle, 20, 3), bezierPathWithWavelength(rectangle, 20, 3, 0.5f)}) {
    EXPECT_GT(effect.elementCount(), 15);
    EXPECT_EQ(effect.elementAt(effect.elementCount() - 1), PathElement::Close);
  }
}

TEST(PathEffects, RandomisingAndRougheningStayWithinTheAmount) {
  const double flatness = BezierPath::defaultFlatness();
  BezierPath path = BezierPath::ovalInRect({0, 0, 100, 60});
  path.setLineWidth(6);
  const BezierPath jittered = bezierPathByRandomisingPoints(path, 4);
  ASSERT_EQ(jittered.elementCount(), path.elementCount());
  for (int i = 0; i < path.elementCount(); ++i) {
    Point before[3], after[3];
    const PathElement kind = path.elementAt(i, before);
    ASSERT_EQ(jittered.elementAt(i, after), kind);
    for (int k = 0; k < pointCountOfElement(kind); ++k) {
      EXPECT_LE(std::abs(after[k].x - before[k].x), 2);
      EXPECT_LE(std::abs(after[k].y - before[k].y), 2);
      if (kind == PathElement::Move) {
        EXPECT_EQ(after[k], before[k]);
      }
    }
  }
  // A 24th of this path's size does not fit single precision: nothing moves.
  const BezierPath huge = BezierPath::rect({0, 0, 1e300, 1e300});
  EXPECT_EQ(bezierPathByRandomisingPoints(huge, 0), huge);

  const std::optional<BezierPath> rough = bezierPathWithRoughenedStrokeOutline(path, 4);
  ASSERT_TRUE(rough);
  // The outline's lines cut into pieces of half the line width, the remainders dropped.
  // Lengths are single precision there, so the lines across the stroke are exactly 6 long.
  BezierPath outline = *strokedPath(path);
  int pieces = 0;
  walkElements(outline, [&](const WalkedElement& element) {
    const float length = std::hypot(float(element.end.x - element.start.x), float(element.end.y - element.start.y));
    pieces += element.kind == PathElement::Line ? static_cast<int>(std::floor(length / 3)) : 1;
    return true;
  });
  EXPECT_EQ(rough->elementCount(), pieces);
  // Every point started on the outline and moved at most 2 per axis.
  outline.setFlatness(0.01);
  const std::vector<Point> onOutline = vertices(outline.bezierPathByFlatteningPath());
  for (const Point p : vertices(*rough)) ASSERT_LE(distanceToPolyline(p, onOutline), 2 * std::sqrt(2.0) + 0.01);
  EXPECT_EQ(BezierPath::defaultFlatness(), flatness);
  for (int i = 0; i < 10000; ++i) {
    const float r = CMRandom::randomPositiveOrNegativeNumber();
    ASSERT_TRUE(r >= -0.5f && r <= 0.5f) << r;
  }
}

TEST(PathEffects, SmoothingPassesThroughTheVertices) {
  BezierPath square = polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  square.closePath();
  EXPECT_EQ(bezierPathByInterpolatingPath(square, 0), square);
  std::string logged;
  const platform::LogSink previous = platform::setLogSink([&](platform::LogLevel, std::string_view line) { logged = line; });
  const BezierPath smooth = bezierPathByInterpolatingPath(square, 1);
  platform::setLogSink(previous);
  EXPECT_EQ(logged, "new path = " + smooth.description());
  EXPECT_EQ(shape(smooth).substr(0, 39), "M 0 0 C 0 0 0 0 0 0 C 5 0 7.5 -2.5 10 0");
  const std::vector<Point> vertices{{0, 0}, {0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
  ASSERT_EQ(smooth.elementCount(), 7);
  for (int i = 1; i < 6; ++i) {
    Point points[3];
    ASSERT_EQ(smooth.elementAt(i, points), PathElement::Curve);
    EXPECT_EQ(points[2], vertices[i]) << i;
  }
}

TEST(PathEffects, SmoothingKeepsTheVerticesInDoublePrecision) {
  // None of these coordinates is a float.
  const Point a{1234567.89, 0.1}, b{1234667.89, 50.3}, c{1234767.89, 0.7};
  BezierPath triangle = polyline({a, b, c});
  triangle.closePath();
  const BezierPath smooth = bezierPathByInterpolatingPath(triangle, 0.5f);
  const std::vector<Point> vertices{a, a, b, c, a};
  ASSERT_EQ(smooth.elementCount(), 6);
  for (int i = 0; i < 5; ++i) {
    Point points[3];
    ASSERT_EQ(smooth.elementAt(i, points), i == 0 ? PathElement::Move : PathElement::Curve);
    EXPECT_EQ(i == 0 ? points[0] : points[2], vertices[i]) << i;
  }
  EXPECT_EQ(smooth.elementAt(5), PathElement::Close);
}

namespace {

struct Recorder : PathIterationDelegate {
  std::vector<std::string> calls;
  void path(BezierPath& result, int index, PathElement kind, const Point points[4], int subPath, bool closed,
            void*) override {
    calls.push_back(std::to_string(index) + ":" + std::to_string(int(kind)) + " " + std::to_string(subPath) +
                    (closed ? "c " : "o ") + std::to_string(int(points[0].x)) + "," + std::to_string(int(points[3].x)));
    if (kind == PathElement::Move) result.moveTo(points[0]);
  }
};

}  // namespace

TEST(PathEffects, SubpathsAndDelegateIteration) {
  BezierPath path = BezierPath::rect({0, 0, 10, 10});
  path.moveTo({20, 0});
  path.curveTo({30, 0}, {22, 5}, {28, 5});
  path.moveTo({40, 0});
  EXPECT_EQ(countSubPaths(path), 2);
  const std::vector<BezierPath> pieces = subPaths(path);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(shape(pieces[1]), "M 20 0 C 22 5 28 5 30 0");
  Recorder recorder;
  EXPECT_EQ(shape(*bezierPathByIteratingWithDelegate(path, &recorder, nullptr)), "M 0 0 M 20 0 M 40 0");
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"0:0 0c 0,0", "1:1 0c 10,0", "2:1 0c 10,0", "3:1 0c 0,0",
                                                      "4:3 0c 0,0", "5:0 1o 20,30", "6:2 1o 30,30", "7:0 2c 40,40"}));
}
