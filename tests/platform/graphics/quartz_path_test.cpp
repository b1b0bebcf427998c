#include "platform/graphics/quartz_path.h"

#include <gtest/gtest.h>

#include <vector>

#include "cairo_test_surface.h"
#include "platform/graphics/cairo_path.h"

namespace platform {
namespace {

std::vector<QuartzElement> kindsOf(const QuartzPath& path) {
  std::vector<QuartzElement> kinds;
  path.apply([&kinds](const QuartzPathElement& e) { kinds.push_back(e.kind); });
  return kinds;
}

QuartzPath readBack(const QuartzPath& path) {
  const testing::TestSurface surface(8, 8);
  appendToCairo(surface.cr(), path);
  return quartzPathFromCairo(surface.cr());
}

using K = QuartzElement;

TEST(QuartzPath, NullPathHasNoElements) {
  const QuartzPath null;
  EXPECT_TRUE(null.isEmpty());
  EXPECT_EQ(null.elementCount(), 0);
  EXPECT_TRUE(kindsOf(null).empty());
  EXPECT_EQ(null, QuartzPathBuilder().copy());
}

TEST(QuartzPath, CopyIsUnaffectedByLaterBuilding) {
  QuartzPathBuilder builder;
  builder.moveTo({1, 1});
  builder.lineTo({2, 2});
  const QuartzPath first = builder.copy();
  builder.quadCurveTo({3, 3}, {4, 2});
  const QuartzPath second = builder.copy();
  EXPECT_EQ(kindsOf(first), (std::vector<K>{K::Move, K::Line}));
  EXPECT_EQ(kindsOf(second), (std::vector<K>{K::Move, K::Line, K::Quad}));
  EXPECT_EQ(second.elements()[2].points[1], (Point{4, 2}));
  EXPECT_EQ(QuartzPathBuilder(second).copy(), second);
}

TEST(QuartzPath, BuilderFollowsTheBezierPathRulesForIllFormedSequences) {
  QuartzPathBuilder builder;
  builder.closeSubpath();
  EXPECT_TRUE(builder.isEmpty());
  builder.quadCurveTo({1, 1}, {2, 0});  // no current point: starts at its end
  builder.closeSubpath();
  builder.closeSubpath();
  builder.lineTo({5, 5});  // after a close: back to the subpath start first
  EXPECT_EQ(builder.currentPoint(), (Point{5, 5}));
  const QuartzPath path = builder.copy();
  EXPECT_EQ(kindsOf(path), (std::vector<K>{K::Move, K::Quad, K::Close, K::Move, K::Line}));
  EXPECT_EQ(path.elements()[0].points[0], (Point{2, 0}));
  EXPECT_EQ(path.elements()[3].points[0], (Point{2, 0}));
}

TEST(QuartzPathCairo, RoundTripKeepsAnOpenLastSubpathOpen) {
  QuartzPathBuilder builder;
  builder.moveTo({1, 2});
  builder.lineTo({10, 2});
  builder.curveTo({12, 4}, {12, 6}, {10, 8});
  builder.closeSubpath();
  builder.moveTo({20, 20});
  builder.lineTo({30, 20});
  builder.lineTo({30, 30});
  const QuartzPath original = builder.copy();
  EXPECT_EQ(readBack(original), original);
}

TEST(QuartzPathCairo, ReadBackDropsTheMoveCairoAddsAfterAClose) {
  QuartzPathBuilder builder;
  builder.moveTo({1, 1});
  builder.lineTo({5, 1});
  builder.lineTo({5, 5});
  builder.closeSubpath();
  const QuartzPath closedLast = builder.copy();
  builder.lineTo({0, 6});  // continues from the closed subpath's start
  builder.closeSubpath();
  builder.moveTo({7, 7});  // a move elsewhere is kept
  builder.lineTo({7, 2});
  const QuartzPath continued = builder.copy();

  // What Cairo itself reports: a move after every close.
  const testing::TestSurface surface(8, 8);
  appendToCairo(surface.cr(), closedLast);
  cairo_path_t* raw = cairo_copy_path(surface.cr());
  ASSERT_GE(raw->num_data, 2);
  EXPECT_EQ(raw->data[raw->num_data - 2].header.type, CAIRO_PATH_MOVE_TO);
  cairo_path_destroy(raw);

  EXPECT_EQ(readBack(closedLast), closedLast);
  EXPECT_EQ(kindsOf(readBack(closedLast)).back(), K::Close);
  EXPECT_EQ(readBack(continued), continued);
}

TEST(QuartzPathCairo, QuadraticBecomesTheExactlyElevatedCubic) {
  const Point p0{1, 2}, control{4, 8}, p2{7, 2};
  QuartzPathBuilder builder;
  builder.moveTo(p0);
  builder.quadCurveTo(control, p2);
  const QuartzPath path = readBack(builder.copy());
  ASSERT_EQ(kindsOf(path), (std::vector<K>{K::Move, K::Cubic}));
  const QuartzPathElement& cubic = path.elements()[1];
  for (int i = 0; i <= 20; ++i) {
    const double t = i / 20.0, s = 1 - t;
    const Point quad{s * s * p0.x + 2 * s * t * control.x + t * t * p2.x,
                     s * s * p0.y + 2 * s * t * control.y + t * t * p2.y};
    const Point c1 = cubic.points[0], c2 = cubic.points[1], p3 = cubic.points[2];
    const Point cub{s * s * s * p0.x + 3 * s * s * t * c1.x + 3 * s * t * t * c2.x + t * t * t * p3.x,
                    s * s * s * p0.y + 3 * s * s * t * c1.y + 3 * s * t * t * c2.y + t * t * t * p3.y};
    EXPECT_NEAR(cub.x, quad.x, 1e-12) << t;
    EXPECT_NEAR(cub.y, quad.y, 1e-12) << t;
  }
}

TEST(QuartzPathCairo, ReadsInUserSpaceAndErrorStatesReadEmpty) {
  QuartzPathBuilder builder;
  builder.moveTo({1, 1});
  builder.lineTo({3, 2});
  const testing::TestSurface surface(8, 8);
  cairo_scale(surface.cr(), 4, 2);
  appendToCairo(surface.cr(), builder.copy());
  EXPECT_EQ(quartzPathFromCairo(surface.cr()), builder.copy());

  const double badDash[] = {-1};
  cairo_set_dash(surface.cr(), badDash, 1, 0);
  ASSERT_NE(cairo_status(surface.cr()), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(quartzPathFromCairo(surface.cr()).isEmpty());
  EXPECT_TRUE(bezierPathFromCairo(surface.cr()).isEmpty());
}

TEST(BezierPathCairo, RoundTripKeepsElementsAndUsesClassDefaults) {
  BezierPath path = BezierPath::rect(Rect(1, 1, 4, 3));
  path.lineTo({6, 6});
  path.curveTo({2, 7}, {5, 7}, {3, 8});
  path.moveTo({0.5, 0.25});
  path.lineTo({7, 0.25});
  path.setLineWidth(12);
  const testing::TestSurface surface(8, 8);
  appendToCairo(surface.cr(), path);
  BezierPath back = bezierPathFromCairo(surface.cr());
  EXPECT_EQ(back.lineWidth(), BezierPath::defaultLineWidth());
  back.setLineWidth(12);
  EXPECT_EQ(back, path);
}

}  // namespace
}  // namespace platform
