// The boolean operations against independent oracles over the corpus: exact
// areas by Green's theorem tied together by the union/intersection identities,
// and an even-odd Cairo raster against the pixelwise boolean of the operands.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <utility>

#include "boolean/bezier_graph.h"
#include "boolean/path_boolean_operations.h"
#include "boolean_corpus.h"
#include "path_oracles.h"
#include "platform/graphics/affine_transform.h"

namespace {

using platform::AffineTransform;
using platform::BezierPath;

struct Placement {
  std::string name;
  AffineTransform transform;
};

std::vector<Placement> placements() {
  std::vector<Placement> list{{"identity", AffineTransform::identity()}};
  for (double degrees : {3.0, 17.0, 45.0, 90.0, 131.0, 200.0, 333.0}) {
    AffineTransform rotation;
    rotation.rotateByDegrees(degrees);
    list.push_back({"rotated_" + std::to_string(static_cast<int>(degrees)), rotation});
  }
  AffineTransform far;
  far.translate(1.0e5, -2.5e5);
  list.push_back({"far", far});
  return list;
}

int subpathCount(const BezierPath& path) { return static_cast<int>(pathoracles::signedSubpathAreas(path).size()); }

struct Results {
  BezierPath a, b, unite, intersect, difference, exclusive;
};

Results run(const corpus::Case& testCase, const AffineTransform& transform) {
  Results results;
  results.a = pathoracles::transformed(pathoracles::parseSvgPath(testCase.a), transform);
  results.b = pathoracles::transformed(pathoracles::parseSvgPath(testCase.b), transform);
  results.unite = pb_union(results.a, results.b);
  results.intersect = pb_intersect(results.a, results.b);
  results.difference = pb_difference(results.a, results.b);
  results.exclusive = pb_xor(results.a, results.b);
  return results;
}

class BooleanCorpus : public ::testing::TestWithParam<corpus::Case> {};

TEST_P(BooleanCorpus, AreasSatisfyTheSetIdentitiesInEveryPlacement) {
  for (const Placement& placement : placements()) {
    SCOPED_TRACE(placement.name);
    const Results r = run(GetParam(), placement.transform);
    const double areaA = pathoracles::evenOddArea(r.a);
    const double areaB = pathoracles::evenOddArea(r.b);
    const double areaU = pathoracles::evenOddArea(r.unite);
    const double areaI = pathoracles::evenOddArea(r.intersect);
    const double scale = areaA + areaB;
    EXPECT_NEAR(areaU + areaI, areaA + areaB, 1e-6 * scale);
    EXPECT_NEAR(pathoracles::evenOddArea(r.exclusive), areaU - areaI, 1e-6 * scale);
    EXPECT_NEAR(pathoracles::evenOddArea(r.difference), areaA - areaI, 1e-6 * scale);
    EXPECT_GE(areaI, -1e-6 * scale);
    EXPECT_LE(areaI, std::min(areaA, areaB) + 1e-6 * scale);
  }
}

TEST_P(BooleanCorpus, SwappingOperandsOfUnionAndIntersectionChangesNothing) {
  const Results r = run(GetParam(), AffineTransform::identity());
  const BezierPath unionSwapped = pb_union(r.b, r.a);
  const BezierPath intersectSwapped = pb_intersect(r.b, r.a);
  const double scale = pathoracles::evenOddArea(r.a) + pathoracles::evenOddArea(r.b);
  EXPECT_NEAR(pathoracles::evenOddArea(unionSwapped), pathoracles::evenOddArea(r.unite), 1e-6 * scale);
  EXPECT_NEAR(pathoracles::evenOddArea(intersectSwapped), pathoracles::evenOddArea(r.intersect), 1e-6 * scale);
  EXPECT_EQ(subpathCount(unionSwapped), subpathCount(r.unite));
  EXPECT_EQ(subpathCount(intersectSwapped), subpathCount(r.intersect));
}

TEST_P(BooleanCorpus, TranslationChangesNothing) {
  const Results near = run(GetParam(), AffineTransform::identity());
  AffineTransform shift;
  shift.translate(1234.5, -987.25);
  const Results moved = run(GetParam(), shift);
  const double scale = pathoracles::evenOddArea(near.a) + pathoracles::evenOddArea(near.b);
  const std::pair<const BezierPath*, const BezierPath*> pairs[] = {{&near.unite, &moved.unite},
                                                                   {&near.intersect, &moved.intersect},
                                                                   {&near.difference, &moved.difference},
                                                                   {&near.exclusive, &moved.exclusive}};
  for (const auto& [original, shifted] : pairs) {
    EXPECT_NEAR(pathoracles::evenOddArea(*shifted), pathoracles::evenOddArea(*original), 1e-6 * scale);
    EXPECT_EQ(subpathCount(*shifted), subpathCount(*original));
  }
}

struct Operand {
  const BezierPath& path;
  const pathoracles::Raster& raster;
};

// Every pixel where the result's raster disagrees with the boolean of the operands' rasters must
// lie next to an operand's edge, and there may be at most 0.2 % of them. An operand's notch thinner than a
// pixel may leave no trace in its raster, so a pixel within two pixels of an outline also counts as on an edge.
void expectRasterMatches(const BezierPath& result, const Operand& first, const Operand& second,
                         const platform::Rect& frame, const std::function<bool(bool, bool)>& combine) {
  const pathoracles::Raster& a = first.raster;
  const pathoracles::Raster& b = second.raster;
  const pathoracles::Raster got = pathoracles::rasterize(result, frame, a.size);
  const double pixel = std::max(frame.size.width, frame.size.height) / a.size;
  auto nearEdge = [&](int x, int y) {
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        const int nx = std::clamp(x + dx, 0, a.size - 1);
        const int ny = std::clamp(y + dy, 0, a.size - 1);
        if (a.at(nx, ny) != a.at(x, y) || b.at(nx, ny) != b.at(x, y)) return true;
      }
    }
    const platform::Point centre{frame.origin.x + (x + 0.5) * pixel, frame.origin.y + (y + 0.5) * pixel};
    return pathoracles::distanceToOutline(first.path, centre) <= 2 * pixel ||
           pathoracles::distanceToOutline(second.path, centre) <= 2 * pixel;
  };
  int differing = 0;
  int offEdge = 0;
  for (int y = 0; y < a.size; ++y) {
    for (int x = 0; x < a.size; ++x) {
      if (got.at(x, y) == combine(a.at(x, y), b.at(x, y))) continue;
      ++differing;
      if (!nearEdge(x, y)) ++offEdge;
    }
  }
  EXPECT_LE(differing, a.size * a.size / 500);
  EXPECT_EQ(offEdge, 0);
}

TEST_P(BooleanCorpus, RasterAgreesWithThePixelwiseBooleanOfTheOperands) {
  for (const Placement& placement : placements()) {
    if (placement.name != "identity" && placement.name != "rotated_17" && placement.name != "far") continue;
    SCOPED_TRACE(placement.name);
    const Results r = run(GetParam(), placement.transform);
    BezierPath both = r.a;
    both.appendPath(r.b);
    platform::Rect frame = both.controlPointBounds();
    const double margin = 0.05 * std::max(frame.size.width, frame.size.height);
    frame = {frame.origin.x - margin, frame.origin.y - margin, frame.size.width + 2 * margin,
             frame.size.height + 2 * margin};
    constexpr int kSize = 1024;
    const pathoracles::Raster a = pathoracles::rasterize(r.a, frame, kSize);
    const pathoracles::Raster b = pathoracles::rasterize(r.b, frame, kSize);
    const Operand first{r.a, a};
    const Operand second{r.b, b};
    expectRasterMatches(r.unite, first, second, frame, [](bool x, bool y) { return x || y; });
    expectRasterMatches(r.intersect, first, second, frame, [](bool x, bool y) { return x && y; });
    expectRasterMatches(r.difference, first, second, frame, [](bool x, bool y) { return x && !y; });
    expectRasterMatches(r.exclusive, first, second, frame, [](bool x, bool y) { return x != y; });
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, BooleanCorpus, ::testing::ValuesIn(corpus::cases()),
                         [](const ::testing::TestParamInfo<corpus::Case>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace

namespace {

using GraphOperation = std::shared_ptr<PBBezierGraph> (PBBezierGraph::*)(PBBezierGraph&);

BezierPath combineWithSweep(const corpus::Case& testCase, GraphOperation operation, bool sweep) {
  PBBezierGraph a(pathoracles::parseSvgPath(testCase.a));
  PBBezierGraph b(pathoracles::parseSvgPath(testCase.b));
  a.setUsesBoundsSweep(sweep);
  b.setUsesBoundsSweep(sweep);
  return (a.*operation)(b)->bezierPath();
}

TEST(BooleanSweep, SortAndPruneGivesTheSameResultsAsTestingEveryEdgePair) {
  const GraphOperation operations[] = {&PBBezierGraph::unionWithBezierGraph, &PBBezierGraph::intersectWithBezierGraph,
                                       &PBBezierGraph::differenceWithBezierGraph, &PBBezierGraph::xorWithBezierGraph};
  for (const corpus::Case& testCase : corpus::cases()) {
    SCOPED_TRACE(testCase.name);
    for (GraphOperation operation : operations) {
      EXPECT_EQ(combineWithSweep(testCase, operation, true), combineWithSweep(testCase, operation, false));
    }
  }
}

// Operands whose bounds are far enough apart never meet, and each result is whole operand contours: the receiver's
// then the argument's for union and exclusive-or, the receiver's for difference, nothing for intersection. Just
// inside and just outside the gap where the crossing search is skipped, and for a ring (nested contours).
std::string graphResult(const BezierPath& a, const BezierPath& b, GraphOperation operation) {
  PBBezierGraph graphA(a);
  PBBezierGraph graphB(b);
  return pathoracles::svgPathData((graphA.*operation)(graphB)->bezierPath());
}

TEST(BooleanDisjointOperands, GiveWholeOperandContoursOnEitherSideOfTheSkippedGap) {
  const std::string ring = corpus::circle(0, 0, 100) + corpus::circle(0, 0, 40);
  for (double gap : {0.5e-6, 1.5e-6, 2.5e-6, 1e-3, 50.0}) {
    for (const bool aRing : {false, true}) {
      SCOPED_TRACE(std::to_string(gap) + (aRing ? " ring" : " circle"));
      const BezierPath a = pathoracles::parseSvgPath(aRing ? ring : corpus::circle(0, 0, 100));
      const BezierPath b =
          pathoracles::parseSvgPath(corpus::circle(250 + gap, 30, 50) + corpus::circle(150 + gap, -100, 50));
      BezierPath both = a;
      both.appendPath(b);
      EXPECT_EQ(graphResult(a, b, &PBBezierGraph::unionWithBezierGraph), pathoracles::svgPathData(both));
      EXPECT_EQ(graphResult(a, b, &PBBezierGraph::xorWithBezierGraph), pathoracles::svgPathData(both));
      EXPECT_EQ(graphResult(a, b, &PBBezierGraph::differenceWithBezierGraph), pathoracles::svgPathData(a));
      EXPECT_EQ(graphResult(a, b, &PBBezierGraph::intersectWithBezierGraph), "");
    }
  }
}

}  // namespace
