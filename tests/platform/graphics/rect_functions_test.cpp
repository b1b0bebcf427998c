#include "platform/graphics/rect_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace platform {
namespace {

TEST(RectFunctions, EdgesAreOriginAndOriginPlusSizeEvenWhenNegative) {
  const Rect r(10, 20, -4, 6);
  EXPECT_EQ(minX(r), 10);
  EXPECT_EQ(maxX(r), 6);
  EXPECT_EQ(midX(r), 8);
  EXPECT_EQ(minY(r), 20);
  EXPECT_EQ(maxY(r), 26);
  EXPECT_EQ(midY(r), 23);
}

TEST(RectFunctions, PointInRectIncludesMinEdgesAndExcludesMaxEdges) {
  const Rect r(0, 0, 10, 5);
  EXPECT_TRUE(pointInRect({0, 0}, r));
  EXPECT_TRUE(pointInRect({9.999, 4.999}, r));
  EXPECT_FALSE(pointInRect({10, 2}, r));
  EXPECT_FALSE(pointInRect({5, 5}, r));
  EXPECT_FALSE(pointInRect({-1e-12, 2}, r));
}

TEST(RectFunctions, EmptyOrNegativeRectContainsNothing) {
  EXPECT_FALSE(pointInRect({0, 0}, Rect(0, 0, 0, 5)));
  EXPECT_FALSE(pointInRect({0, 0}, Rect(0, 0, 5, 0)));
  EXPECT_FALSE(pointInRect({-1, 1}, Rect(0, 0, -5, 5)));
  EXPECT_FALSE(pointInRect({std::nan(""), 1}, Rect(0, 0, 5, 5)));
}

TEST(RectFunctions, IntersectsRequiresOpenOverlapOfNonEmptyRects) {
  const Rect a(0, 0, 10, 10);
  EXPECT_TRUE(intersectsRect(a, Rect(9, 9, 5, 5)));
  EXPECT_TRUE(intersectsRect(a, Rect(2, 2, 1, 1)));
  EXPECT_FALSE(intersectsRect(a, Rect(10, 0, 5, 5))) << "sharing an edge is no overlap";
  EXPECT_FALSE(intersectsRect(a, Rect(0, 10, 5, 5)));
  EXPECT_FALSE(intersectsRect(a, Rect(5, 5, 0, 3))) << "an empty rect never intersects, even inside";
  EXPECT_FALSE(intersectsRect(Rect(5, 5, 3, -1), a));
  EXPECT_FALSE(intersectsRect(Rect(), Rect()));
}

TEST(RectFunctions, UnionIgnoresEmptyRects) {
  const Rect a(1, 2, 3, 4);
  EXPECT_EQ(unionRect(a, Rect(100, 100, 0, 50)), a);
  EXPECT_EQ(unionRect(Rect(-100, -100, 5, -1), a), a);
  EXPECT_EQ(unionRect(Rect(7, 8, 0, 0), Rect(9, 9, -1, 3)), Rect());
  EXPECT_EQ(unionRect(a, Rect(10, -5, 2, 2)), Rect(1, -5, 11, 11));
}

TEST(RectFunctions, InsetMovesOriginAndShrinksTwiceWithoutNormalising) {
  EXPECT_EQ(insetRect(Rect(0, 0, 10, 20), 2, 3), Rect(2, 3, 6, 14));
  EXPECT_EQ(insetRect(Rect(0, 0, 10, 20), -14, -1), Rect(-14, -1, 38, 22)) << "negative inset grows";
  EXPECT_EQ(insetRect(Rect(0, 0, 10, 20), 8, 0), Rect(8, 0, -6, 20)) << "over-inset leaves a negative width";
}

TEST(RectFunctions, IntersectionIsZeroWithoutPositiveArea) {
  const Rect a(0, 0, 10, 10);
  EXPECT_EQ(intersectionRect(a, Rect(5, -5, 10, 10)), Rect(5, 0, 5, 5));
  EXPECT_EQ(intersectionRect(a, Rect(10, 0, 5, 5)), Rect()) << "touching edges";
  EXPECT_EQ(intersectionRect(a, Rect(20, 20, 5, 5)), Rect());
  EXPECT_EQ(intersectionRect(a, Rect(3, 3, 0, 4)), Rect()) << "zero-width line inside";
  EXPECT_EQ(intersectionRect(a, Rect(3, 3, std::nan(""), 4)), Rect());
}

TEST(RectFunctions, ContainsRectNeedsNonEmptyInnerWithinEdges) {
  const Rect outer(0, 0, 10, 10);
  EXPECT_TRUE(containsRect(outer, outer));
  EXPECT_TRUE(containsRect(outer, Rect(2, 2, 8, 8)));
  EXPECT_FALSE(containsRect(outer, Rect(2, 2, 8.5, 1)));
  EXPECT_FALSE(containsRect(outer, Rect(2, 2, 0, 1)));
}

TEST(RectFunctions, IntegralRectCoversWithWholeNumbers) {
  EXPECT_EQ(integralRect(Rect(0.5, 1.2, 2, 3)), Rect(0, 1, 3, 4));
  EXPECT_EQ(integralRect(Rect(-0.5, -2.5, 1, 0.5)), Rect(-1, -3, 2, 1));
  EXPECT_EQ(integralRect(Rect(3, 4, 5, 6)), Rect(3, 4, 5, 6));
  EXPECT_EQ(integralRect(Rect(0.5, 0.5, 0, 3)), Rect());
}

TEST(RectFunctions, OffsetAndEqualityAreExact) {
  EXPECT_EQ(offsetRect(Rect(1, 2, 3, 4), -1, 0.5), Rect(0, 2.5, 3, 4));
  EXPECT_FALSE(equalPoints({0.1 + 0.2, 0}, {0.3, 0}));
  EXPECT_TRUE(equalRects(Rect(0, 0, -0.0, 1), Rect(0, 0, 0, 1)));
  EXPECT_FALSE(equalRects(Rect(0, 0, 1, 1), Rect(0, 0, 1, std::nextafter(1.0, 2.0))));
}

}  // namespace
}  // namespace platform
