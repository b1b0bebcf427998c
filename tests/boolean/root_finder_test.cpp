#include "boolean/root_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using platform::Point;

std::vector<double> rootsOf(const std::vector<Point>& polygon) {
  std::vector<double> roots;
  PBRootsOfControlPolygon(polygon.data(), static_cast<int>(polygon.size()) - 1,
                          [&roots](double root) { roots.push_back(root); });
  return roots;
}

// Bernstein coefficients of degree `degree` for a polynomial given by power coefficients.
std::vector<Point> bernsteinPolygon(const std::vector<double>& power, int degree) {
  auto choose = [](int n, int k) {
    double result = 1;
    for (int i = 1; i <= k; ++i) result = result * (n - k + i) / i;
    return result;
  };
  std::vector<Point> polygon;
  for (int i = 0; i <= degree; ++i) {
    double value = 0;
    for (int j = 0; j <= i && j < static_cast<int>(power.size()); ++j)
      value += choose(i, j) / choose(degree, j) * power[j];
    polygon.push_back({static_cast<double>(i) / degree, value});
  }
  return polygon;
}

TEST(PBRootFinder, SignTreatsZeroAsPositive) {
  EXPECT_EQ(PBRootSign(0.0), 1);
  EXPECT_EQ(PBRootSign(-0.0), 1);
  EXPECT_EQ(PBRootSign(1e-300), 1);
  EXPECT_EQ(PBRootSign(-1e-300), -1);
}

TEST(PBRootFinder, CrossingCountCountsNeighbourSignChanges) {
  const Point alternating[4] = {{0, 1}, {0.3, -1}, {0.6, 1}, {1, -1}};
  EXPECT_EQ(PBRootCrossingCount(alternating, 3), 3);
  const Point withZeros[4] = {{0, 0}, {0.3, -1}, {0.6, 0}, {1, 0}};
  EXPECT_EQ(PBRootCrossingCount(withZeros, 3), 2);
}

TEST(PBRootFinder, PolygonsWithoutSignChangeReportNothing) {
  EXPECT_TRUE(rootsOf({{0, 1}, {0.5, 0.1}, {1, 3}}).empty());
  EXPECT_TRUE(rootsOf({{0, 0}, {0.5, 0}, {1, 0}}).empty());
}

TEST(PBRootFinder, StraightPolygonIsFlatAtOnce) {
  Point intercept;
  const Point line[2] = {{0, -1}, {1, 1}};
  ASSERT_TRUE(PBRootFlatIntercept(line, 1, &intercept));
  EXPECT_DOUBLE_EQ(intercept.x, 0.5);
  const std::vector<double> roots = rootsOf({{0, -1}, {1, 1}});
  ASSERT_EQ(roots.size(), 1u);
  EXPECT_DOUBLE_EQ(roots[0], 0.5);
}

TEST(PBRootFinder, BentPolygonIsNotFlat) {
  Point intercept;
  const Point bent[3] = {{0, -1}, {0.5, 3}, {1, 1}};
  EXPECT_FALSE(PBRootFlatIntercept(bent, 2, &intercept));
}

TEST(PBRootFinder, FindsEachSimpleRootOfAQuinticInOrder) {
  // (t - 0.1)(t - 0.45)(t - 0.8)(t + 1)(t - 2): three roots inside [0, 1].
  const std::vector<double> expected = {0.1, 0.45, 0.8};
  std::vector<double> power = {1};
  for (const double root : {0.1, 0.45, 0.8, -1.0, 2.0}) {
    std::vector<double> next(power.size() + 1, 0);
    for (std::size_t i = 0; i < power.size(); ++i) {
      next[i] -= root * power[i];
      next[i + 1] += power[i];
    }
    power = next;
  }
  const std::vector<double> roots = rootsOf(bernsteinPolygon(power, 5));
  ASSERT_EQ(roots.size(), expected.size());
  for (std::size_t i = 0; i < roots.size(); ++i) EXPECT_NEAR(roots[i], expected[i], 1e-12);
}

TEST(PBRootFinder, RootOnASplitPointIsReportedOnce) {
  // 2t - 1 raised to degree 3: the root sits exactly where the first split would cut.
  const std::vector<double> roots = rootsOf(bernsteinPolygon({-1, 2}, 3));
  ASSERT_EQ(roots.size(), 1u);
  EXPECT_NEAR(roots[0], 0.5, 1e-15);
}

TEST(PBRootFinder, DoubleRootBlurredByRoundingEndsNearTheTrueRoot) {
  // (t - 0.5)² raised to degree 5: rounding splits the double root into two sign changes a square root
  // of the machine epsilon apart, which the search must separate or stop on, not chase forever.
  const std::vector<double> roots = rootsOf(bernsteinPolygon({0.25, -1, 1}, 5));
  EXPECT_LE(roots.size(), 2u);
  for (const double root : roots) EXPECT_NEAR(root, 0.5, 1e-7);
}

TEST(PBRootFinder, DegreeOutsideTheSupportedRangeReportsNothing) {
  const Point points[7] = {{0, -1}, {0.2, 1}, {0.4, -1}, {0.6, 1}, {0.8, -1}, {0.9, 1}, {1, -1}};
  int calls = 0;
  PBRootsOfControlPolygon(points, 6, [&calls](double) { ++calls; });
  PBRootsOfControlPolygon(points, 0, [&calls](double) { ++calls; });
  EXPECT_EQ(calls, 0);
}

}  // namespace
