// Filing overlap pieces into runs, their continuity and containment rules,
// and whether a shared stretch is a crossing or a touch.

#include "boolean/walk/contour_overlap.h"

#include <gtest/gtest.h>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/edge_crossing.h"
#include "path_oracles.h"

namespace {

struct TwoSquares {
  // Two ten-by-ten squares of four edges each, so pieces can be placed by hand.
  std::shared_ptr<PBBezierGraph> a = PBBezierGraph::bezierGraphWithBezierPath(
      pathoracles::parseSvgPath("M 0 0 L 10 0 L 10 10 L 0 10 Z"));
  std::shared_ptr<PBBezierGraph> b = PBBezierGraph::bezierGraphWithBezierPath(
      pathoracles::parseSvgPath("M 0 0 L 10 0 L 10 10 L 0 10 Z"));
  PBBezierCurve* edgeA(int i) const { return a->contours().front()->edges()[i].get(); }
  PBBezierCurve* edgeB(int i) const { return b->contours().front()->edges()[i].get(); }
  std::shared_ptr<PBBezierIntersectRange> range(int i, double from, double to) const {
    return PBBezierIntersectRange::intersectRangeWithCurve1(edgeA(i), PBRangeMake(from, to), edgeB(i),
                                                            PBRangeMake(from, to), false);
  }
};

TEST(EdgeOverlap, ContinuityUsesOneHundredthOnEdgeOnesRanges) {
  TwoSquares s;
  PBEdgeOverlap ending(s.range(0, 0.2, 0.995), s.edgeA(0), s.edgeB(0));
  PBEdgeOverlap nextEdge(s.range(1, 0.009, 0.5), s.edgeA(1), s.edgeB(1));
  PBEdgeOverlap nextEdgeLate(s.range(1, 0.02, 0.5), s.edgeA(1), s.edgeB(1));
  PBEdgeOverlap sameEdge(s.range(0, 0.995, 1.0), s.edgeA(0), s.edgeB(0));
  EXPECT_TRUE(ending.fitsBefore(nextEdge));
  EXPECT_FALSE(ending.fitsBefore(nextEdgeLate));
  EXPECT_FALSE(ending.fitsBefore(sameEdge));  // 0.995 counts as the edge's end
  EXPECT_TRUE(nextEdge.fitsAfter(ending));
  PBEdgeOverlap middle(s.range(2, 0.3, 0.6), s.edgeA(2), s.edgeB(2));
  PBEdgeOverlap follows(s.range(2, 0.605, 0.9), s.edgeA(2), s.edgeB(2));
  EXPECT_TRUE(middle.fitsBefore(follows));
  EXPECT_TRUE(follows.fitsAfter(middle));
  EXPECT_FALSE(follows.fitsBefore(middle));
}

TEST(EdgeOverlap, ParameterContainmentIsStrictUnlessAnEndExtends) {
  TwoSquares s;
  PBEdgeOverlap overlap(s.range(0, 0.25, 0.75), s.edgeA(0), s.edgeB(0));
  EXPECT_FALSE(overlap.doesContainParameter(0.25, s.edgeA(0), false, false));
  EXPECT_TRUE(overlap.doesContainParameter(0.5, s.edgeA(0), false, false));
  EXPECT_FALSE(overlap.doesContainParameter(0.75, s.edgeB(0), false, false));
  EXPECT_TRUE(overlap.doesContainParameter(0.1, s.edgeA(0), true, false));
  EXPECT_TRUE(overlap.doesContainParameter(1.0, s.edgeA(0), false, true));
  EXPECT_TRUE(overlap.doesContainParameter(7.0, s.edgeA(0), true, true));
}

TEST(ContourOverlap, PiecesArrivingMiddleEndStartFormOneRun) {
  TwoSquares s;
  auto overlap = PBContourOverlap::contourOverlap();
  EXPECT_TRUE(overlap->isEmpty());
  EXPECT_EQ(overlap->contour1(), nullptr);
  overlap->addOverlap(s.range(1, 0.0, 1.0), s.edgeA(1), s.edgeB(1));
  overlap->addOverlap(s.range(2, 0.0, 0.5), s.edgeA(2), s.edgeB(2));
  overlap->addOverlap(s.range(0, 0.5, 1.0), s.edgeA(0), s.edgeB(0));
  ASSERT_EQ(overlap->runs().size(), 1u);
  const auto& pieces = overlap->runs().front()->overlaps();
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces.front()->edge1(), s.edgeA(0));
  EXPECT_EQ(pieces.back()->edge1(), s.edgeA(2));
  EXPECT_FALSE(overlap->isComplete());
  EXPECT_TRUE(overlap->isBetweenContour(s.b->contours().front().get(), s.a->contours().front().get()));
  EXPECT_FALSE(overlap->isBetweenContour(s.a->contours().front().get(), s.a->contours().front().get()));
  // Inner pieces extend to their edge ends; the run's own ends stay strict.
  EXPECT_TRUE(overlap->doesContainParameter(0.0, s.edgeA(1)));
  EXPECT_FALSE(overlap->doesContainParameter(0.5, s.edgeA(0)));
  EXPECT_TRUE(overlap->doesContainParameter(0.7, s.edgeA(0)));
  EXPECT_FALSE(overlap->doesContainParameter(0.6, s.edgeA(2)));
  EXPECT_FALSE(overlap->doesContainParameter(0.5, s.edgeA(3)));
}

TEST(ContourOverlap, AShortPieceThatFitsBeforeItselfIsNotComplete) {
  // Where two curves graze each other the piece can be shorter than the 0.01 continuity tolerance.
  TwoSquares s;
  auto overlap = PBContourOverlap::contourOverlap();
  overlap->addOverlap(s.range(0, 0.0, 0.000002), s.edgeA(0), s.edgeB(0));
  EXPECT_TRUE(overlap->runs().front()->overlaps().front()->fitsBefore(*overlap->runs().front()->overlaps().front()));
  EXPECT_FALSE(overlap->isComplete());
}

TEST(ContourOverlap, APieceThatFitsNoRunOpensAnother) {
  TwoSquares s;
  auto overlap = PBContourOverlap::contourOverlap();
  overlap->addOverlap(s.range(0, 0.1, 0.2), s.edgeA(0), s.edgeB(0));
  overlap->addOverlap(s.range(2, 0.1, 0.2), s.edgeA(2), s.edgeB(2));
  EXPECT_EQ(overlap->runs().size(), 2u);
  EXPECT_FALSE(overlap->isComplete());
  int visited = 0;
  overlap->runsWithBlock([&visited](PBEdgeOverlapRun&, bool* stop) {
    ++visited;
    *stop = true;
  });
  EXPECT_EQ(visited, 1);
  overlap->reset();
  EXPECT_TRUE(overlap->isEmpty());
}

TEST(ContourOverlap, WholeEdgesAllRoundMakeACompleteRunAndMiddleCrossingsGoOnIndexCountHalf) {
  TwoSquares s;
  auto overlap = PBContourOverlap::contourOverlap();
  for (int i = 0; i < 4; ++i) overlap->addOverlap(s.range(i, 0.0, 1.0), s.edgeA(i), s.edgeB(i));
  EXPECT_TRUE(overlap->isComplete());
  PBEdgeOverlapRun& run = *overlap->runs().front();
  run.addCrossings();
  ASSERT_TRUE(s.edgeA(2)->hasCrossings());
  EXPECT_TRUE(s.edgeA(2)->firstCrossing()->fromOverlap());
  EXPECT_EQ(s.edgeA(2)->firstCrossing()->counterpart(), s.edgeB(2)->firstCrossing());
  EXPECT_NEAR(s.edgeA(2)->firstCrossing()->parameter(), 0.5, 1e-12);
  for (int i : {0, 1, 3}) EXPECT_FALSE(s.edgeA(i)->hasCrossings());
  s.a->removeCrossings();
  s.b->removeCrossings();
}

TEST(EdgeOverlapRun, SharedStretchCrossesOnlyWhenTheOutlinesChangeSides) {
  // B shares A's bottom edge stretch from x = 3 to 7 and comes from below and leaves above: a crossing.
  auto a = PBBezierGraph::bezierGraphWithBezierPath(pathoracles::parseSvgPath("M 0 0 L 10 0 L 10 10 L 0 10 Z"));
  auto crossing = PBBezierGraph::bezierGraphWithBezierPath(
      pathoracles::parseSvgPath("M 3 -5 L 3 0 L 7 0 L 7 5 L 20 5 L 20 -5 Z"));
  auto touching = PBBezierGraph::bezierGraphWithBezierPath(
      pathoracles::parseSvgPath("M 3 -5 L 3 0 L 7 0 L 7 -5 Z"));
  auto runCrossing = [&a](PBBezierGraph& other) {
    a->insertCrossingsWithBezierGraph(other);
    bool crosses = false;
    const auto& overlaps = a->contours().front()->overlaps();
    EXPECT_EQ(overlaps.size(), 1u);
    if (!overlaps.empty()) crosses = overlaps.front()->runs().front()->isCrossing();
    a->removeCrossings();
    a->removeOverlaps();
    other.removeCrossings();
    other.removeOverlaps();
    return crosses;
  };
  EXPECT_TRUE(runCrossing(*crossing));
  EXPECT_FALSE(runCrossing(*touching));
}

}  // namespace
