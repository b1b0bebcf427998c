// The polygon clipper against results computed without it: exact shoelace areas of simple
// inputs, an even-odd slab area for crossing ones, set identities between the results, and
// a Cairo raster of the operands combined pixel by pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>

#include "geometry/path_polygons.h"
#include "geometry/polygon_clip_counters.h"
#include "geometry/polygon_clipper.h"
#include "path_oracles.h"
#include "polygon_oracles.h"
#include "../random_test_seed.h"

namespace {

using namespace polygonoracles;

constexpr PolygonOperation kOperations[] = {PolygonOperation::Difference, PolygonOperation::Intersection,
                                            PolygonOperation::ExclusiveOr, PolygonOperation::Union};

PolygonContour rectangle(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

PolygonRecord polygon(std::initializer_list<PolygonContour> contours) { return PolygonRecord{contours, {}}; }

PolygonRecord clipped(PolygonOperation operation, const PolygonRecord& a, const PolygonRecord& b) {
  PolygonRecord result;
  clipPolygons(operation, a, b, result);
  return result;
}

TristripRecord stripped(PolygonOperation operation, const PolygonRecord& a, const PolygonRecord& b) {
  TristripRecord result;
  clipPolygonsToTristrip(operation, a, b, result);
  return result;
}

// Counts what the clipper does while it lives.
class CountingScope {
 public:
  CountingScope() { setPolygonClipCounters(&counters); }
  ~CountingScope() { setPolygonClipCounters(nullptr); }
  PolygonClipCounters counters;
};

// --- Randomised properties -------------------------------------------------------------

void expectIdentities(const PolygonRecord& a, const PolygonRecord& b) {
  const double tolerance = 1e-9 * std::max(1.0, boundingArea(a, b));
  double areas[4];
  for (int op = 0; op < 4; ++op) {
    const PolygonRecord result = clipped(kOperations[op], a, b);
    areas[op] = flaggedArea(result);
    // Σ ±|area| by hole flag equals the even-odd area only when the flags are right.
    EXPECT_NEAR(areas[op], evenOddArea(result), tolerance) << "operation " << op;
    const TristripRecord strips = stripped(kOperations[op], a, b);
    EXPECT_NEAR(stripArea(strips), areas[op], tolerance) << "strips of operation " << op;
    for (const PolygonContour& contour : result.contours) EXPECT_GE(contour.size(), 3u);
    for (const PolygonContour& strip : strips.strips) EXPECT_GE(strip.size(), 3u);
  }
  const double areaA = evenOddArea(a), areaB = evenOddArea(b);
  const double difference = areas[0], intersection = areas[1], exclusiveOr = areas[2], unite = areas[3];
  EXPECT_NEAR(unite + intersection, areaA + areaB, tolerance);
  EXPECT_NEAR(difference, areaA - intersection, tolerance);
  EXPECT_NEAR(exclusiveOr, unite - intersection, tolerance);
  for (int op = 1; op < 4; ++op) EXPECT_NEAR(flaggedArea(clipped(kOperations[op], b, a)), areas[op], tolerance);
}

void expectIdentitiesOverPairs(PolygonRecord (*generate)(std::mt19937&), int count, std::uint32_t seed) {
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i) {
    const PolygonRecord a = generate(random);
    const PolygonRecord b = generate(random);
    SCOPED_TRACE("pair " + std::to_string(i));
    expectIdentities(a, b);
    if (::testing::Test::HasFailure()) return;
  }
}

// Batches run as separate tests, so they run in parallel.
class GridPairs : public ::testing::TestWithParam<int> {};

TEST_P(GridPairs, KeepTheSetIdentities) {
  expectIdentitiesOverPairs(randomGridPolygon, 500, randomTestSeed("grid pairs") + GetParam());
}

INSTANTIATE_TEST_SUITE_P(PolygonClipper, GridPairs, ::testing::Range(0, 4));

TEST(PolygonClipper, RealPairsKeepTheSetIdentities) {
  expectIdentitiesOverPairs(randomRealPolygon, 500, randomTestSeed("real pairs"));
}

struct Operand {
  platform::BezierPath path;
  pathoracles::Raster raster;
};

// Every pixel where the result's raster disagrees with the operands' rasters combined must lie
// within 2 pixels of an operand's edge, and at most 0.2 % of the pixels may disagree. A notch
// thinner than a pixel may leave no trace in an operand's raster, so its outline counts too.
void expectRasterMatches(const pathoracles::Raster& result, const Operand& a, const Operand& b,
                         const platform::Rect& frame, bool (*combine)(bool, bool)) {
  const int size = result.size;
  const double pixel = frame.size.width / size;
  const auto nearEdge = [&](int x, int y) {
    for (int ny = std::max(0, y - 2); ny <= std::min(size - 1, y + 2); ++ny) {
      for (int nx = std::max(0, x - 2); nx <= std::min(size - 1, x + 2); ++nx) {
        if (a.raster.at(nx, ny) != a.raster.at(x, y) || b.raster.at(nx, ny) != b.raster.at(x, y)) return true;
      }
    }
    const platform::Point centre{frame.origin.x + (x + 0.5) * pixel, frame.origin.y + (y + 0.5) * pixel};
    return pathoracles::distanceToOutline(a.path, centre) <= 2 * pixel ||
           pathoracles::distanceToOutline(b.path, centre) <= 2 * pixel;
  };
  // The pixelwise operation as a table indexed by 2a + b, so the loop over 4 million pixels stays tight.
  const std::uint8_t expected[4] = {combine(false, false), combine(false, true), combine(true, false),
                                    combine(true, true)};
  const std::uint8_t* got = result.inside.data();
  const std::uint8_t* inA = a.raster.inside.data();
  const std::uint8_t* inB = b.raster.inside.data();
  long differing = 0, offEdge = 0;
  for (std::size_t i = 0; i < result.inside.size(); ++i) {
    if (got[i] == expected[2 * inA[i] + inB[i]]) continue;
    ++differing;
    if (!nearEdge(static_cast<int>(i % size), static_cast<int>(i / size))) ++offEdge;
  }
  EXPECT_LE(differing, long(size) * size / 500);
  EXPECT_EQ(offEdge, 0);
}

class GridPairRasters : public ::testing::TestWithParam<int> {};

TEST_P(GridPairRasters, AgreeWithThePixelwiseOperation) {
  bool (*const combine[])(bool, bool) = {[](bool a, bool b) { return a && !b; }, [](bool a, bool b) { return a && b; },
                                         [](bool a, bool b) { return a != b; }, [](bool a, bool b) { return a || b; }};
  std::mt19937 random(randomTestSeed("grid pair rasters") + GetParam());
  constexpr int kSize = 2048;
  const platform::Rect frame(-0.5, -0.5, 21, 21);
  for (int i = 0; i < 25; ++i) {
    const PolygonRecord a = randomGridPolygon(random);
    const PolygonRecord b = randomGridPolygon(random);
    SCOPED_TRACE("pair " + std::to_string(i));
    Operand first{bezierPathWithPolygonRecord(a), {}};
    Operand second{bezierPathWithPolygonRecord(b), {}};
    first.raster = pathoracles::rasterize(first.path, frame, kSize);
    second.raster = pathoracles::rasterize(second.path, frame, kSize);
    for (int op = 0; op < 4; ++op) {
      SCOPED_TRACE("operation " + std::to_string(op));
      const PolygonRecord result = clipped(kOperations[op], a, b);
      expectRasterMatches(pathoracles::rasterize(bezierPathWithPolygonRecord(result), frame, kSize), first, second,
                          frame, combine[op]);
    }
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(PolygonClipper, GridPairRasters, ::testing::Range(0, 8));

// Every class of vertex or crossing that has an action is met by the random corpus, with
// contours and with strips as output.
TEST(PolygonClipper, RandomPairsMeetEveryClassWithAnAction) {
  std::mt19937 random(randomTestSeed("class coverage"));
  std::vector<std::pair<PolygonRecord, PolygonRecord>> pairs;
  for (int i = 0; i < 300; ++i) pairs.emplace_back(randomGridPolygon(random), randomGridPolygon(random));
  const std::set<int> boundaryClasses = {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14};
  const std::set<int> crossingClasses = {1, 2, 4, 6, 7, 8, 9, 11, 13, 14};
  for (bool strips : {false, true}) {
    SCOPED_TRACE(strips ? "strips" : "contours");
    CountingScope scope;
    for (const auto& [a, b] : pairs) {
      for (PolygonOperation op : kOperations) strips ? (void)stripped(op, a, b) : (void)clipped(op, a, b);
    }
    for (int c : boundaryClasses) EXPECT_GT(scope.counters.boundaryClasses[c], 0) << "boundary class " << c;
    for (int c : crossingClasses) EXPECT_GT(scope.counters.crossingClasses[c], 0) << "crossing class " << c;
  }
}

// --- Edge cases ------------------------------------------------------------------------

// Areas by hand: [difference, intersection, exclusive-or, union].
TEST(PolygonClipper, SimpleInputsGiveTheirShoelaceAreas) {
  struct Case {
    const char* name;
    PolygonRecord a, b;
    double areas[4];
  };
  const Case cases[] = {
      {"overlapping squares",
       polygon({rectangle(0, 0, 10, 10)}),
       polygon({rectangle(5, 5, 15, 15)}),
       {75, 25, 150, 175}},
      {"disjoint squares", polygon({rectangle(0, 0, 2, 2)}), polygon({rectangle(5, 0, 8, 3)}), {4, 0, 13, 13}},
      {"squares sharing an edge", polygon({rectangle(0, 0, 4, 4)}), polygon({rectangle(4, 0, 8, 4)}), {16, 0, 32, 32}},
      {"square inside", polygon({rectangle(0, 0, 10, 10)}), polygon({rectangle(2, 2, 6, 6)}), {84, 16, 84, 100}},
      {"triangle over a corner",
       polygon({rectangle(0, 0, 10, 10)}),
       polygon({{{8, 8}, {14, 8}, {8, 14}}}),
       {96, 4, 110, 114}},
      {"equal squares", polygon({rectangle(1, 1, 3, 4)}), polygon({rectangle(1, 1, 3, 4)}), {0, 6, 0, 6}},
      // The diamond (area 18) leaves the square's four corners of 0.5 each.
      {"diamond through a square",
       polygon({rectangle(0, 0, 4, 4)}),
       polygon({{{2, -1}, {5, 2}, {2, 5}, {-1, 2}}}),
       {2, 14, 6, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int op = 0; op < 4; ++op) {
      EXPECT_DOUBLE_EQ(flaggedArea(clipped(kOperations[op], c.a, c.b)), c.areas[op]) << "operation " << op;
      EXPECT_NEAR(stripArea(stripped(kOperations[op], c.a, c.b)), c.areas[op], 1e-12) << "strips of operation " << op;
    }
  }
}

TEST(PolygonClipper, AddingAContourCopiesItWithItsFlag) {
  PolygonRecord polygon{{rectangle(0, 0, 1, 1)}, {}};  // a record without flags
  const PolygonContour triangle = {{0, 0}, {2, 0}, {0, 2}};
  addContourToPolygon(polygon, triangle, 1);
  addContourToPolygon(polygon, {}, 0);
  EXPECT_EQ(polygon.contours, (std::vector<PolygonContour>{rectangle(0, 0, 1, 1), triangle, {}}));
  EXPECT_EQ(polygon.holes, (std::vector<int>{0, 1, 0}));
  freePolygon(polygon);
  EXPECT_EQ(polygon, PolygonRecord{});
  TristripRecord strips{{triangle}};
  freeTristrip(strips);
  EXPECT_TRUE(strips.strips.empty());
}

TEST(PolygonClipper, TrivialResultsBuildNoTables) {
  const PolygonRecord square = polygon({rectangle(0, 0, 10, 10)});
  const PolygonRecord empty;
  struct Case {
    PolygonOperation operation;
    const PolygonRecord& subject;
    const PolygonRecord& clip;
  };
  const Case cases[] = {{PolygonOperation::Intersection, square, empty}, {PolygonOperation::Difference, empty, square},
                        {PolygonOperation::Intersection, empty, square}, {PolygonOperation::Union, empty, empty},
                        {PolygonOperation::ExclusiveOr, empty, empty},   {PolygonOperation::Difference, empty, empty}};
  for (const Case& c : cases) {
    CountingScope scope;
    PolygonRecord result = square;
    clipPolygons(c.operation, c.subject, c.clip, result);
    TristripRecord strips{{rectangle(0, 0, 1, 1)}};
    clipPolygonsToTristrip(c.operation, c.subject, c.clip, strips);
    EXPECT_EQ(result, PolygonRecord{});
    EXPECT_EQ(strips, TristripRecord{});
    EXPECT_EQ(scope.counters.calls, 2);
    EXPECT_EQ(scope.counters.edges, 0);
  }
}

TEST(PolygonClipper, OneEmptyOperandStillSweepsTheOther) {
  // A square with a triangle over its corner: even-odd area 100 + 12.5 − 2 × 4.
  const PolygonRecord shape = polygon({rectangle(0, 0, 10, 10), {{8, 8}, {13, 8}, {8, 13}}});
  const double area = evenOddArea(shape);
  EXPECT_DOUBLE_EQ(area, 100 + 12.5 - 2 * 4);
  for (const auto& [operation, subject, clip] : {std::tuple{PolygonOperation::Difference, shape, PolygonRecord{}},
                                                 std::tuple{PolygonOperation::Union, PolygonRecord{}, shape}}) {
    CountingScope scope;
    EXPECT_DOUBLE_EQ(flaggedArea(clipped(operation, subject, clip)), area);
    EXPECT_EQ(scope.counters.edges, 4);  // horizontal edges are not built
  }
  TristripRecord strips;
  polygonToTristrip(shape, strips);
  EXPECT_NEAR(stripArea(strips), area, 1e-12);
}

TEST(PolygonClipper, SquareMinusInnerSquareIsAnOuterContourAndAHole) {
  const PolygonRecord result =
      clipped(PolygonOperation::Difference, polygon({rectangle(0, 0, 10, 10)}), polygon({rectangle(2, 2, 6, 6)}));
  ASSERT_EQ(result.contours.size(), 2u);
  ASSERT_EQ(result.holes.size(), 2u);
  EXPECT_DOUBLE_EQ(flaggedArea(result), 84);
  for (std::size_t c = 0; c < 2; ++c) {
    const PolygonContour& contour = result.contours[c];
    std::set<std::pair<double, double>> vertices;
    for (const PolygonVertex& v : contour) vertices.insert({v.x, v.y});
    const bool inner = std::fabs(shoelace(contour)) == 16;
    EXPECT_EQ(result.holes[c] != 0, inner);
    const double low = inner ? 2 : 0, high = inner ? 6 : 10;
    EXPECT_EQ(vertices, (std::set<std::pair<double, double>>{{low, low}, {high, low}, {high, high}, {low, high}}));
  }
}

TEST(PolygonClipper, TheResultMayBeAnOperand) {
  const PolygonRecord a = polygon({rectangle(0, 0, 10, 10), {{5, -5}, {15, 5}, {5, 15}}});
  const PolygonRecord b = polygon({rectangle(3, 3, 12, 7)});
  for (PolygonOperation op : kOperations) {
    const PolygonRecord expected = clipped(op, a, b);
    PolygonRecord subject = a;
    clipPolygons(op, subject, b, subject);
    EXPECT_EQ(subject, expected);
    PolygonRecord clip = b;
    clipPolygons(op, a, clip, clip);
    EXPECT_EQ(clip, expected);
  }
}

TEST(PolygonClipper, DegenerateContoursGiveFewerOrNoContours) {
  const PolygonRecord square = polygon({rectangle(0, 0, 10, 10)});
  const PolygonContour degenerate[] = {
      {},
      {{1, 1}},
      {{1, 1}, {5, 7}},
      {{1, 1}, {3, 3}, {7, 7}, {2, 2}},      // collinear, no area
      {{1, 4}, {8, 4}, {3, 4}},              // all horizontal
      {{2, 2}, {2, 2}, {2, 2}},              // one point repeated
      {{0, 0}, {10, 0}, {10, 10}, {10, 0}},  // folds back on itself
  };
  for (const PolygonContour& contour : degenerate) {
    const PolygonRecord alone = polygon({contour});
    const PolygonRecord withSquare = polygon({contour, rectangle(0, 0, 10, 10)});
    for (PolygonOperation op : kOperations) {
      EXPECT_EQ(clipped(op, alone, PolygonRecord{}).contours.size(), 0u);
      EXPECT_EQ(stripped(op, alone, PolygonRecord{}).strips.size(), 0u);
      EXPECT_DOUBLE_EQ(flaggedArea(clipped(op, withSquare, square)),
                       op == PolygonOperation::Intersection || op == PolygonOperation::Union ? 100 : 0);
    }
  }
  // A contour twice over cancels itself under the even-odd rule.
  EXPECT_EQ(
      clipped(PolygonOperation::Union, polygon({rectangle(0, 0, 4, 4), rectangle(0, 0, 4, 4)}), {}).contours.size(),
      0u);
}

TEST(PolygonClipper, ContoursWithUnusableVerticesCountAsEmpty) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const PolygonRecord square = polygon({rectangle(0, 0, 10, 10)});
  for (double bad : {nan, inf, -inf, 2e15, -1.5e15}) {
    const PolygonRecord spoilt = polygon({rectangle(0, 0, 10, 10), {{1, 1}, {bad, 5}, {5, 9}}});
    for (PolygonOperation op : kOperations) {
      const PolygonRecord expected = clipped(op, square, polygon({rectangle(5, 5, 20, 20)}));
      CountingScope scope;
      EXPECT_EQ(clipped(op, spoilt, polygon({rectangle(5, 5, 20, 20)})), expected);
      EXPECT_EQ(scope.counters.edges, 4);
    }
  }
  // The limit itself is usable.
  EXPECT_DOUBLE_EQ(flaggedArea(clipped(PolygonOperation::Union, polygon({rectangle(0, 0, 1e15, 1)}), {})), 1e15);
}

TEST(PolygonClipper, ThePreFilterDropsContoursThatMeetNothing) {
  const PolygonRecord subject = polygon({rectangle(0, 0, 10, 10), rectangle(100, 100, 110, 110)});
  const PolygonRecord clip =
      polygon({rectangle(5, 5, 20, 20), rectangle(-50, -50, -40, -40), rectangle(10, -10, 30, 0)});
  struct Case {
    PolygonOperation operation;
    int edges;  // 2 per kept square: horizontal edges are not built
    double area;
  };
  // The far clip square goes for both; the one touching a corner stays; the far subject square
  // goes only for an intersection.
  for (const Case& c : {Case{PolygonOperation::Difference, 8, 175}, Case{PolygonOperation::Intersection, 6, 25}}) {
    CountingScope scope;
    EXPECT_DOUBLE_EQ(flaggedArea(clipped(c.operation, subject, clip)), c.area);
    EXPECT_EQ(scope.counters.edges, c.edges);
  }
  CountingScope scope;
  clipped(PolygonOperation::Union, subject, clip);
  EXPECT_EQ(scope.counters.edges, 10);
}

}  // namespace
