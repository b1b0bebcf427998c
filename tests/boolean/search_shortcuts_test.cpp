// The shortcuts that spare the curve intersection its costly steps must give the
// answers of those steps: a predicted clipping miss is a miss, shallow root spans
// hold the full search's roots, shallow closest-point spans hold the full search's
// closest point, and the edge-pair sweep hands out exactly the overlapping pairs
// in the order of the double loop.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "boolean/bezier_curve.h"
#include "boolean/rect_functions.h"
#include "boolean/root_finder.h"
#include "boolean/walk/closest_parameter_span.h"
#include "boolean/walk/edge_pair_sweep.h"
#include "boolean/walk/fat_line_clip.h"
#include "curve_oracles.h"

namespace {

using platform::Point;

PBBezierCurveData randomCurve(std::mt19937_64& random, double spread) {
  std::uniform_real_distribution<double> coordinate(-spread, spread);
  auto point = [&]() { return Point{coordinate(random), coordinate(random)}; };
  return PBBezierCurveDataMake(point(), point(), point(), point(), false);
}

PBBezierCurveData shifted(PBBezierCurveData data, double dx, double dy) {
  for (Point* point : {&data.endPoint1, &data.controlPoint1, &data.controlPoint2, &data.endPoint2}) {
    point->x += dx;
    point->y += dy;
  }
  return data;
}

bool clipMisses(const PBBezierCurveData& curve, const PBBezierCurveData& fatLineCurve) {
  PBRange range{0, 1};
  bool intersects = true;
  PBFatLineClip(curve, fatLineCurve, curve, &range, &intersects);
  return !intersects;
}

TEST(PBFatLineClipMisses, SeparatedCurvesMissAndCrossingCurvesDoNot) {
  const PBBezierCurveData flat = PBBezierCurveDataMake({0, 0}, {1, 0.5}, {2, 0.5}, {3, 0}, false);
  // Above the band (which reaches y = 0.5 at most): the band alone rules it out.
  const PBBezierCurveData above = PBBezierCurveDataMake({0, 2}, {1, 3}, {2, 3}, {3, 2}, false);
  // Level with the band but past its end: only the perpendicular band rules it out.
  const PBBezierCurveData beside = PBBezierCurveDataMake({5, -1}, {5.5, 0}, {6, 0.2}, {7, 1}, false);
  // Crossing it.
  const PBBezierCurveData steep = PBBezierCurveDataMake({1.5, -2}, {1.4, -1}, {1.6, 1}, {1.5, 2}, false);
  const PBFatLineBands bands = PBFatLineBandsOfCurve(flat);
  EXPECT_TRUE(PBFatLineClipMisses(above, bands));
  EXPECT_TRUE(PBFatLineClipMisses(beside, bands));
  EXPECT_FALSE(PBFatLineClipMisses(steep, bands));
  EXPECT_TRUE(clipMisses(above, flat));
  EXPECT_TRUE(clipMisses(beside, flat));
  EXPECT_FALSE(clipMisses(steep, flat));
}

TEST(PBFatLineClipMisses, EveryPredictedMissIsAMissOfTheClip) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> offset(-12, 12);
  int predicted = 0;
  for (int i = 0; i < 4000; ++i) {
    const PBBezierCurveData fatLineCurve = randomCurve(random, 5);
    const PBBezierCurveData curve = shifted(randomCurve(random, 5), offset(random), offset(random));
    if (!PBFatLineClipMisses(curve, PBFatLineBandsOfCurve(fatLineCurve))) continue;
    ++predicted;
    ASSERT_TRUE(clipMisses(curve, fatLineCurve)) << "pair " << i;
  }
  // The prediction must also fire often enough to be worth having.
  EXPECT_GT(predicted, 1000);
}

TEST(PBFatLineClipMisses, CurvesTouchingTheBandBorderAreLeftToTheClip) {
  // A curve whose lowest point lies exactly on the band's upper border: the clip's tolerance takes it.
  const PBBezierCurveData flat = PBBezierCurveDataMake({0, 0}, {1, 0.5}, {2, 0.5}, {3, 0}, false);
  const PBBezierCurveData resting = PBBezierCurveDataMake({0, 0.5}, {1, 1}, {2, 1}, {3, 0.5}, false);
  EXPECT_FALSE(PBFatLineClipMisses(resting, PBFatLineBandsOfCurve(flat)));
  EXPECT_FALSE(clipMisses(resting, flat));
}

TEST(PBFatLineClipMisses, CoordinatesThatAreNotNumbersPredictOnlyRealMisses) {
  const PBBezierCurveData flat = PBBezierCurveDataMake({0, 0}, {1, 0.5}, {2, 0.5}, {3, 0}, false);
  const double nan = std::nan("");
  const PBBezierCurveData broken = PBBezierCurveDataMake({0, 5}, {nan, 6}, {2, 6}, {3, 5}, false);
  // A curve to clip with a distance that is not a number is never beyond a band.
  EXPECT_FALSE(PBFatLineClipMisses(broken, PBFatLineBandsOfCurve(flat)));
  // A fat-line curve with one is clipped against the bands its other points give, and the prediction follows.
  EXPECT_EQ(PBFatLineClipMisses(flat, PBFatLineBandsOfCurve(broken)), clipMisses(flat, broken));
}

// Bernstein coefficients of degree 5 of the product of (t - root) over the roots.
std::vector<Point> quinticThrough(const std::vector<double>& roots) {
  std::vector<double> power = {1};
  for (const double root : roots) {
    std::vector<double> next(power.size() + 1, 0);
    for (std::size_t i = 0; i < power.size(); ++i) {
      next[i] -= root * power[i];
      next[i + 1] += power[i];
    }
    power = next;
  }
  auto choose = [](int n, int k) {
    double result = 1;
    for (int i = 1; i <= k; ++i) result = result * (n - k + i) / i;
    return result;
  };
  std::vector<Point> polygon;
  for (int i = 0; i <= 5; ++i) {
    double value = 0;
    for (int j = 0; j <= i; ++j) value += choose(i, j) / choose(5, j) * power[j];
    polygon.push_back({i / 5.0, value});
  }
  return polygon;
}

bool keepAll(double, double) { return false; }

TEST(PBRootSpans, EveryRootLiesInOneNarrowSpan) {
  const std::vector<double> roots = {0.1, 0.45, 0.8};
  const std::vector<Point> polygon = quinticThrough({0.1, 0.45, 0.8, -1.0, 2.0});
  std::vector<PBRange> spans;
  std::vector<double> settled;
  PBRootSpansOfControlPolygon(
      polygon.data(), 5, 6, [&settled](double root) { settled.push_back(root); },
      [&spans](double minimum, double maximum, bool holdsOneRoot) {
        EXPECT_TRUE(holdsOneRoot);
        spans.push_back({minimum, maximum});
      },
      keepAll);
  EXPECT_TRUE(settled.empty());
  ASSERT_EQ(spans.size(), roots.size());
  for (std::size_t i = 0; i < roots.size(); ++i) {
    EXPECT_LE(spans[i].minimum, roots[i]);
    EXPECT_GE(spans[i].maximum, roots[i]);
    EXPECT_LE(spans[i].maximum - spans[i].minimum, 1.0 / 64);
  }
}

TEST(PBRootSpans, FullDepthIsTheFullSearch) {
  const std::vector<Point> polygon = quinticThrough({0.1, 0.45, 0.8, -1.0, 2.0});
  std::vector<double> full;
  PBRootsOfControlPolygon(polygon.data(), 5, [&full](double root) { full.push_back(root); });
  std::vector<double> settled;
  int spans = 0;
  PBRootSpansOfControlPolygon(
      polygon.data(), 5, PBRootMaximumDepth, [&settled](double root) { settled.push_back(root); },
      [&spans](double, double, bool) { ++spans; }, keepAll);
  EXPECT_EQ(spans, 0);
  EXPECT_EQ(settled, full);
}

TEST(PBRootSpans, PrunedPiecesGiveNoRoots) {
  // Leaving everything right of 0.5 keeps only the root at 0.1 and the one at 0.45.
  const std::vector<Point> polygon = quinticThrough({0.1, 0.45, 0.8, -1.0, 2.0});
  std::vector<PBRange> spans;
  PBRootSpansOfControlPolygon(
      polygon.data(), 5, 8, [](double) { FAIL(); },
      [&spans](double minimum, double maximum, bool) { spans.push_back({minimum, maximum}); },
      [](double minimum, double) { return minimum >= 0.5; });
  ASSERT_EQ(spans.size(), 2u);
  EXPECT_LE(spans[0].minimum, 0.1);
  EXPECT_GE(spans[0].maximum, 0.1);
  EXPECT_LE(spans[1].minimum, 0.45);
  EXPECT_GE(spans[1].maximum, 0.45);
}

TEST(PBRootSpans, StraightPolygonIsSettledAtOnce) {
  const Point line[2] = {{0, -1}, {1, 3}};
  std::vector<double> settled;
  PBRootSpansOfControlPolygon(
      line, 1, 4, [&settled](double root) { settled.push_back(root); }, [](double, double, bool) { FAIL(); }, keepAll);
  ASSERT_EQ(settled.size(), 1u);
  EXPECT_DOUBLE_EQ(settled[0], 0.25);
}

bool spansHold(const PBClosestParameterSpans& spans, double parameter) {
  for (int i = 0; i < spans.count; ++i) {
    if (spans.spans[i].minimum <= parameter && parameter <= spans.spans[i].maximum) return true;
  }
  return false;
}

TEST(PBClosestParameterSpans, ClearNearestPointGivesOneNarrowSpan) {
  // A symmetric arch and a point straight above its top: the closest point is the middle.
  const PBBezierCurveData arch = PBBezierCurveDataMake({0, 0}, {1, 2}, {2, 2}, {3, 0}, false);
  const PBClosestParameterSpans spans = PBBezierCurveDataClosestParameterSpans(arch, {1.5, 4}, 10);
  ASSERT_TRUE(spans.known);
  ASSERT_EQ(spans.count, 1);
  // Either a span of the last split round 0.5 or the root itself, settled early.
  EXPECT_NEAR((spans.spans[0].minimum + spans.spans[0].maximum) / 2, 0.5, 1.0 / 1024);
  EXPECT_LE(spans.spans[0].maximum - spans.spans[0].minimum, 1.0 / 512);
  EXPECT_TRUE(spansHold(spans, PBBezierCurveDataClosestLocation(arch, {1.5, 4}).parameter));
}

TEST(PBClosestParameterSpans, TiedEndsAreBothKept) {
  // Below the arch's chord, on its axis: both ends are equally near, nearer than any inner point.
  const PBBezierCurveData arch = PBBezierCurveDataMake({0, 0}, {1, 2}, {2, 2}, {3, 0}, false);
  const Point below{1.5, -10};
  EXPECT_EQ(oracle::distance(below, arch.endPoint1), oracle::distance(below, arch.endPoint2));
  const PBClosestParameterSpans spans = PBBezierCurveDataClosestParameterSpans(arch, below, 10);
  ASSERT_TRUE(spans.known);
  EXPECT_TRUE(spansHold(spans, 0));
  EXPECT_TRUE(spansHold(spans, 1));
  EXPECT_FALSE(spansHold(spans, 0.5));
  EXPECT_TRUE(spansHold(spans, PBBezierCurveDataClosestLocation(arch, below).parameter));
}

TEST(PBClosestParameterSpans, FullSearchAnswerAlwaysLiesInASpan) {
  std::mt19937_64 random(12);
  std::uniform_real_distribution<double> coordinate(-8, 8);
  for (int i = 0; i < 3000; ++i) {
    const PBBezierCurveData curve = randomCurve(random, 5);
    const Point point{coordinate(random), coordinate(random)};
    const PBClosestParameterSpans spans = PBBezierCurveDataClosestParameterSpans(curve, point, 8);
    ASSERT_TRUE(spans.known);
    const PBBezierCurveLocation full = PBBezierCurveDataClosestLocation(curve, point);
    ASSERT_TRUE(spansHold(spans, full.parameter)) << "case " << i << " parameter " << full.parameter;
  }
}

TEST(PBClosestParameterSpans, DistancesThatAreNotNumbersAreUnknown) {
  const PBBezierCurveData arch = PBBezierCurveDataMake({0, 0}, {1, 2}, {2, 2}, {3, 0}, false);
  EXPECT_FALSE(PBBezierCurveDataClosestParameterSpans(arch, {std::nan(""), 1}, 10).known);
}

TEST(PBBezierCurveDataSpeedBound, BoundsTheSpeedEverywhere) {
  std::mt19937_64 random(13);
  for (int i = 0; i < 200; ++i) {
    const PBBezierCurveData curve = randomCurve(random, 5);
    const double bound = PBBezierCurveDataSpeedBound(curve);
    for (int k = 0; k <= 64; ++k) {
      const Point velocity = oracle::derivative(curve, k / 64.0);
      ASSERT_LE(std::hypot(velocity.x, velocity.y), bound * (1 + 1e-12));
    }
  }
}

std::vector<std::shared_ptr<PBBezierCurve>> randomEdges(std::mt19937_64& random, int count) {
  std::uniform_real_distribution<double> place(-50, 50);
  std::vector<std::shared_ptr<PBBezierCurve>> edges;
  for (int i = 0; i < count; ++i) {
    edges.push_back(PBBezierCurve::bezierCurveWithBezierCurveData(
        shifted(randomCurve(random, 4), place(random), place(random))));
  }
  return edges;
}

TEST(PBForEachEdgePairThatMayMeet, SweepGivesTheOverlappingPairsInDoubleLoopOrder) {
  std::mt19937_64 random(14);
  const auto edges1 = randomEdges(random, 300);
  const auto edges2 = randomEdges(random, 250);
  std::vector<std::pair<PBBezierCurve*, PBBezierCurve*>> expected;
  for (const auto& edge1 : edges1) {
    for (const auto& edge2 : edges2) {
      if (PBRectsOverlap(edge1->boundingRect(), edge2->boundingRect())) expected.emplace_back(edge1.get(), edge2.get());
    }
  }
  std::vector<std::pair<PBBezierCurve*, PBBezierCurve*>> swept;
  PBForEachEdgePairThatMayMeet(edges1, edges2, true, [&swept](PBBezierCurve* edge1, PBBezierCurve* edge2) {
    swept.emplace_back(edge1, edge2);
  });
  EXPECT_GT(expected.size(), 100u);
  EXPECT_EQ(swept, expected);
}

TEST(PBForEachEdgePairThatMayMeet, RectanglesWithinTheOverlapGapArePaired) {
  // Two straight edges 1e-7 apart side by side, and one 1e-3 away: only the first pair may meet.
  std::vector<std::shared_ptr<PBBezierCurve>> edges1{PBBezierCurve::bezierCurveWithLineStartPoint({0, 0}, {0, 10})};
  std::vector<std::shared_ptr<PBBezierCurve>> edges2{
      PBBezierCurve::bezierCurveWithLineStartPoint({1e-3, 0}, {1e-3, 10}),
      PBBezierCurve::bezierCurveWithLineStartPoint({1e-7, 0}, {1e-7, 10})};
  std::vector<PBBezierCurve*> met;
  PBForEachEdgePairThatMayMeet(edges1, edges2, true, [&met](PBBezierCurve*, PBBezierCurve* edge2) {
    met.push_back(edge2);
  });
  ASSERT_EQ(met.size(), 1u);
  EXPECT_EQ(met[0], edges2[1].get());
}

}  // namespace
