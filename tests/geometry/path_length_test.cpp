#include <gtest/gtest.h>

#include <cmath>

#include "boolean/bezier_curve.h"
#include "geometry/geometry_functions.h"
#include "geometry/path_length.h"
#include "geometry/path_motion.h"
#include "geometry/path_placement.h"
#include "geometry/path_trimming.h"
#include "path_test_support.h"

using platform::BezierPath;
using platform::Point;

namespace {

BezierPath randomCubicPath(std::mt19937& random) {
  std::uniform_real_distribution<double> coordinate(-200, 200);
  const auto point = [&] { return Point{coordinate(random), coordinate(random)}; };
  BezierPath path;
  path.moveTo(point());
  for (int i = std::uniform_int_distribution<int>(1, 6)(random); i > 0; --i) path.curveTo(point(), point(), point());
  return path;
}

}  // namespace

TEST(PathLength, CircleAgreesWithGaussLegendre) {
  const BezierPath circle = BezierPath::ovalInRect({-100, -100, 200, 200});
  double quadrature = 0;
  for (const auto& curve : PBBezierCurve::bezierCurvesFromBezierPath(circle)) quadrature += curve->length();
  EXPECT_NEAR(quadrature, 628.4067, 1e-3);
  EXPECT_NEAR(lengthWithMaximumError(circle, 0.1f), quadrature, 0.01);
  EXPECT_NEAR(lengthWithMaximumError(circle, 0), quadrature, 1e-3);
}

TEST(PathLength, StraightLineCases) {
  const BezierPath line = polyline({{0, 0}, {100, 0}});
  EXPECT_EQ(length(line), 100);
  float slope = 7;
  EXPECT_EQ(pointOnPathAtLength(line, 25, &slope), (Point{25, 0}));
  EXPECT_EQ(slope, 0);
  EXPECT_EQ(pointOnPathAtLength(line, -5), (Point{0, 0}));
  EXPECT_EQ(shape(bezierPathByTrimmingToLength(line, 30)), "M 0 0 L 30 0");
  EXPECT_EQ(shape(bezierPathByTrimmingFromLength(line, 30)), "M 30 0 L 100 0");
  EXPECT_EQ(shape(bezierPathByTrimmingToLength(line, 500)), "M 0 0 L 100 0");
  EXPECT_EQ(shape(bezierPathByTrimmingFromBothEnds(line, 10)), "M 90 0 L 10 0");
  EXPECT_EQ(shape(bezierPathByTrimmingFromCentre(line, 20)), "M 0 0 L 40 0 M 60 0 L 100 0");
  EXPECT_FLOAT_EQ(distanceFromStartOfPathAtPoint(line, {30, 0}, 1), 30);
  EXPECT_EQ(distanceFromStartOfPathAtPoint(line, {30, 5}, 1), -1);
  EXPECT_EQ(shape(bezierPathWithArrowHeadForStartOfLength(line, 10, 30, false)), "M 8.66 -5 L 0 0 L 8.66 5");
  EXPECT_EQ(shape(bezierPathWithArrowHeadForEndOfLength(line, 10, 30, true)), "M 91.34 5 L 100 0 L 91.34 -5 Z");

  BezierPath square = polyline({{0, 0}, {10, 0}, {10, 10}});
  square.closePath();
  square.moveTo({50, 0});
  square.lineTo({50, 30});
  square.lineTo({90, 0});
  square.closePath();
  EXPECT_EQ(lengthOfElement(square, 7), 40);
  EXPECT_EQ(lengthOfElement(square, 8), -1);
  EXPECT_EQ(lastPoint(square), (Point{50, 0}));  // a close ends at its subpath's start
  EXPECT_EQ(shape(bezierPathByTrimmingFromLength(square, 5)), "M 5 0 L 10 0 L 10 10 L 0 0 Z M 50 0 L 50 30 L 90 0 L 50 0 Z");
}

TEST(PathLength, BothEndsTrimmingStaysOnThePath) {
  const BezierPath corner = polyline({{0, 0}, {50, 0}, {50, 50}});
  for (float d = 0; d <= 100; d += 2.5f) {
    const BezierPath trimmed = bezierPathByTrimmingFromBothEnds(corner, d);
    for (int i = 0; i < trimmed.elementCount(); ++i) {
      Point points[3];
      trimmed.elementAt(i, points);
      EXPECT_LT(distanceToPolyline(points[0], {{0, 0}, {50, 0}, {50, 50}}), 1e-4) << "d " << d;
    }
  }
}

TEST(PathLength, TrimmingAndMeasuringAgreeOnRandomCurves) {
  constexpr double kError = 0.1;  // the short forms' error
  std::mt19937 random = seededGenerator("TrimmingAndMeasuringAgreeOnRandomCurves");
  for (int trial = 0; trial < 200; ++trial) {
    const BezierPath path = randomCubicPath(random);
    const float total = length(path);
    const float at = std::uniform_real_distribution<float>(0, total)(random);
    const BezierPath head = bezierPathByTrimmingToLength(path, at), tail = bezierPathByTrimmingFromLength(path, at);
    // The cut is found measuring at half the error and the head is measured again at the
    // full error; each measure is within the error of the other (about 1 case in 120 differs
    // by more than the error alone, up to 1.4 times it).
    ASSERT_NEAR(length(head), at, 2 * kError) << "trial " << trial;
    ASSERT_NEAR(length(head) + length(tail), total, 2 * kError) << "trial " << trial;
    EXPECT_EQ(firstPoint(tail), lastPoint(head));
    const Point p = pointOnPathAtLength(path, at);
    ASSERT_NEAR(distanceFromStartOfPathAtPoint(path, p, 0.01f), at, 2 * kError) << "trial " << trial;
  }
}

namespace {

struct RecordingDelegate : PathPlacementDelegate {
  std::vector<float> positions;
  std::vector<std::pair<Point, Point>> links;
  std::any placeObjectAtPoint(Point point, const BezierPath&, float position, float, void*) override {
    positions.push_back(position);
    return polyline({point, {point.x, point.y + 1}});
  }
  std::any placeLinkFromPoint(Point from, Point to, const BezierPath&, int, void*) override {
    links.emplace_back(from, to);
    return links.size();
  }
};

}  // namespace

TEST(PathLength, PlacingObjectsAndLinks) {
  const BezierPath line = polyline({{0, 0}, {100, 0}});
  RecordingDelegate delegate;
  EXPECT_EQ(placeObjectsOnPathAtInterval(line, 25, &delegate, nullptr)->size(), 5u);
  EXPECT_EQ(delegate.positions, (std::vector<float>{0, 25, 50, 75, 100}));
  EXPECT_EQ(shape(*bezierPathWithObjectsOnPathAtInterval(line, 50, &delegate, nullptr)),
            "M 0 0 L 0 1 M 50 0 L 50 1 M 100 0 L 100 1");
  const BezierPath tick = polyline({{0, 0}, {10, 0}, {10, 4}});
  EXPECT_EQ(shape(*bezierPathWithPath(polyline({{0, 0}, {100, 100}}), &tick, 200)), "M -2.121 -4.95 L 4.95 2.121 L 2.121 4.95");
  EXPECT_FALSE(placeObjectsOnPathAtInterval(line, 0, &delegate, nullptr));
  EXPECT_FALSE(placeObjectsOnPathAtInterval(line, 1e-6f, &delegate, nullptr));

  ASSERT_EQ(placeLinksOnPathWithEvenLinkLength(line, 10, 5, &delegate, nullptr)->size(), 13u);
  EXPECT_EQ(delegate.links.back(), (std::pair<Point, Point>{{90, 0}, {100, 0}}));
  EXPECT_EQ(delegate.links[1], (std::pair<Point, Point>{{10, 0}, {15, 0}}));
}

namespace {

struct ManualScheduler : MotionScheduler {
  double clock = 100;
  std::shared_ptr<platform::Timer> timer;
  double now() const override { return clock; }
  void schedule(const std::shared_ptr<platform::Timer>& scheduled) override { timer = scheduled; }
  // Ticks every 1/30 s up to `until`.
  void runUntil(double until) {
    while (timer->isValid() && clock + kMotionInterval <= until + 1e-9) {
      clock += kMotionInterval;
      timer->fire();
    }
  }
};

struct RecordingTarget : PathMotionTarget {
  std::vector<float> positions;
  std::size_t stopAfter = 1000;
  bool moveObjectTo(Point, float position, float, const std::any&) override {
    positions.push_back(position);
    return positions.size() < stopAfter;
  }
};

}  // namespace

TEST(PathLength, MotionOnAManualClock) {
  const BezierPath line = polyline({{0, 0}, {100, 0}});
  ManualScheduler scheduler;
  auto target = std::make_shared<RecordingTarget>();
  moveObject(line, target, 50, false, {}, scheduler);
  scheduler.runUntil(101.99);
  EXPECT_TRUE(scheduler.timer->isValid());
  scheduler.runUntil(103);
  EXPECT_FALSE(scheduler.timer->isValid());
  EXPECT_NEAR(scheduler.clock, 102, kMotionInterval + 1e-6);  // stopped by the first tick past 2 s
  EXPECT_EQ(target->positions.back(), 100);
  EXPECT_NEAR(target->positions.end()[-2], 100, 50 * kMotionInterval + 1e-3);

  auto looping = std::make_shared<RecordingTarget>();
  moveObject(line, looping, 50, true, {}, scheduler);
  scheduler.runUntil(scheduler.clock + 2.5);
  EXPECT_NEAR(looping->positions.back(), 25, 1e-3);
  looping->stopAfter = looping->positions.size() + 1;
  scheduler.runUntil(scheduler.clock + 1);
  EXPECT_FALSE(scheduler.timer->isValid());

  auto unused = std::make_shared<RecordingTarget>();
  scheduler.timer = nullptr;
  moveObject(line, unused, NAN, false, {}, scheduler);
  EXPECT_TRUE(unused->positions.empty());
  EXPECT_EQ(scheduler.timer, nullptr);
}
