// Randomised check of the curve intersection against brute force on finely
// flattened curves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"
#include "curve_oracles.h"

namespace {

using platform::Point;

constexpr int kPairs = 2000;
constexpr int kSegments = 512;
constexpr int kChunk = 16;

struct Crossing {
  double parameter1;
  double parameter2;
  Point location;
  double sine;  // |sin| of the angle between the two segments
};

struct Box {
  double minX, minY, maxX, maxY;
};

std::vector<Point> flatten(const PBBezierCurveData& data) {
  std::vector<Point> points;
  for (int i = 0; i <= kSegments; ++i) points.push_back(oracle::bernstein(data, static_cast<double>(i) / kSegments));
  return points;
}

Box chunkBox(const std::vector<Point>& points, int chunk) {
  Box box{points[chunk * kChunk].x, points[chunk * kChunk].y, points[chunk * kChunk].x, points[chunk * kChunk].y};
  for (int i = chunk * kChunk; i <= (chunk + 1) * kChunk; ++i) {
    box = {std::min(box.minX, points[i].x), std::min(box.minY, points[i].y), std::max(box.maxX, points[i].x),
           std::max(box.maxY, points[i].y)};
  }
  return box;
}

// Proper crossings of the two polylines (segments as half-open so a shared vertex counts once).
std::vector<Crossing> bruteForceCrossings(const PBBezierCurveData& curve1, const PBBezierCurveData& curve2) {
  const std::vector<Point> line1 = flatten(curve1);
  const std::vector<Point> line2 = flatten(curve2);
  std::vector<Crossing> crossings;
  for (int chunk1 = 0; chunk1 < kSegments / kChunk; ++chunk1) {
    const Box box1 = chunkBox(line1, chunk1);
    for (int chunk2 = 0; chunk2 < kSegments / kChunk; ++chunk2) {
      const Box box2 = chunkBox(line2, chunk2);
      if (box1.maxX < box2.minX || box2.maxX < box1.minX || box1.maxY < box2.minY || box2.maxY < box1.minY) continue;
      for (int i = chunk1 * kChunk; i < (chunk1 + 1) * kChunk; ++i) {
        for (int j = chunk2 * kChunk; j < (chunk2 + 1) * kChunk; ++j) {
          const Point p = line1[i], r{line1[i + 1].x - p.x, line1[i + 1].y - p.y};
          const Point q = line2[j], s{line2[j + 1].x - q.x, line2[j + 1].y - q.y};
          const double denominator = r.x * s.y - r.y * s.x;
          if (denominator == 0) continue;
          const double u = ((q.x - p.x) * s.y - (q.y - p.y) * s.x) / denominator;
          const double v = ((q.x - p.x) * r.y - (q.y - p.y) * r.x) / denominator;
          if (u < 0 || u >= 1 || v < 0 || v >= 1) continue;
          const double sine = std::fabs(denominator) / (std::hypot(r.x, r.y) * std::hypot(s.x, s.y));
          crossings.push_back({(i + u) / kSegments, (j + v) / kSegments, {p.x + u * r.x, p.y + u * r.y}, sine});
        }
      }
    }
  }
  return crossings;
}

double sineBetween(Point a, Point b) {
  const double lengths = std::hypot(a.x, a.y) * std::hypot(b.x, b.y);
  return lengths == 0 ? 0 : std::fabs(a.x * b.y - a.y * b.x) / lengths;
}

PBBezierCurveData randomCurve(std::mt19937_64& random) {
  std::uniform_real_distribution<double> coordinate(0, 100);
  auto point = [&] { return Point{coordinate(random), coordinate(random)}; };
  return PBBezierCurveDataMake(point(), point(), point(), point(), false);
}

TEST(PBCurveIntersectionProperty, RandomPairsAgreeWithFlattenedBruteForce) {
  std::mt19937_64 random(20261206);
  int compared = 0;
  int crossingsCompared = 0;
  for (int pair = 0; pair < kPairs; ++pair) {
    const PBBezierCurveData data1 = randomCurve(random);
    const PBBezierCurveData data2 = randomCurve(random);
    PBBezierCurve curve1(data1);
    PBBezierCurve curve2(data2);
    PBBezierCurveData box1 = data1;
    PBBezierCurveData box2 = data2;
    const platform::Rect bounds1 = PBBezierCurveDataBoundingRect(&box1);
    const platform::Rect bounds2 = PBBezierCurveDataBoundingRect(&box2);
    const double size = std::max({bounds1.size.width, bounds1.size.height, bounds2.size.width, bounds2.size.height});

    std::vector<std::shared_ptr<PBBezierIntersection>> found;
    std::shared_ptr<PBBezierIntersectRange> overlap;
    curve1.intersectionsWithBezierCurve(
        &curve2, &overlap,
        [&found](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) { found.push_back(intersection); });
    // Every reported point lies on both curves; a tangent-like one marks the pair as ambiguous.
    bool ambiguous = false;
    std::vector<Point> distinct;
    for (const auto& intersection : found) {
      const Point point1 = oracle::bernstein(data1, intersection->parameter1());
      const Point point2 = oracle::bernstein(data2, intersection->parameter2());
      EXPECT_LE(oracle::distance(point1, point2), 1e-6 * size) << "pair " << pair;
      if (sineBetween(oracle::derivative(data1, intersection->parameter1()),
                      oracle::derivative(data2, intersection->parameter2())) < 0.1) {
        ambiguous = true;
      }
      // The search does not merge a point found by two neighbouring halves; count places, not reports.
      const bool seen = std::any_of(distinct.begin(), distinct.end(),
                                    [&](Point other) { return oracle::distance(other, point1) < 1e-4 * size; });
      if (!seen) distinct.push_back(point1);
    }

    const std::vector<Crossing> brute = bruteForceCrossings(data1, data2);
    for (std::size_t i = 0; i < brute.size(); ++i) {
      const Crossing& crossing = brute[i];
      if (crossing.sine < 0.1) ambiguous = true;
      for (const double parameter : {crossing.parameter1, crossing.parameter2}) {
        if (parameter < 1e-3 || parameter > 1 - 1e-3) ambiguous = true;
      }
      for (std::size_t j = i + 1; j < brute.size(); ++j) {
        if (oracle::distance(crossing.location, brute[j].location) < 1e-2 * size) ambiguous = true;
      }
    }
    if (ambiguous) continue;
    ++compared;
    EXPECT_EQ(overlap, nullptr) << "pair " << pair;
    crossingsCompared += static_cast<int>(brute.size());
    EXPECT_EQ(distinct.size(), brute.size()) << "pair " << pair;
    // Each brute-force crossing has a reported point next to it.
    for (const Crossing& crossing : brute) {
      const bool matched = std::any_of(distinct.begin(), distinct.end(), [&](Point point) {
        return oracle::distance(point, crossing.location) < 1e-3 * size;
      });
      EXPECT_TRUE(matched) << "pair " << pair;
    }
  }
  // The exclusions must leave most pairs, and a good number of crossings, compared.
  EXPECT_GE(compared, kPairs * 95 / 100);
  EXPECT_GE(crossingsCompared, kPairs / 2);
}

}  // namespace
