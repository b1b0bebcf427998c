// Ruler marks: labels stepped up until readable, subdivisions stepped down
// while visible, values counted from the zero mark either way along the ruler,
// and nothing at all for scales or extents that cannot be drawn.

#include "platform/ui/ruler_marks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace platform {
namespace {

const RulerUnit& unit(const char* name) {
  const RulerUnit* found = rulerUnitNamed(name);
  EXPECT_NE(found, nullptr) << name;
  return *found;
}

TEST(RulerMarks, PointsLabelEveryHundredAndSubdivideByHalves) {
  // 1 pt → 10 → 100 pixels before labels are 40 apart; halves down to 6.25 (3.125 would be under 4).
  const auto marks = rulerMarks(unit("Points"), {0, 1}, 0, 200);
  ASSERT_EQ(marks.size(), 33u);
  for (std::size_t i = 0; i < marks.size(); ++i) EXPECT_DOUBLE_EQ(marks[i].position, 6.25 * double(i));
  EXPECT_EQ(marks[0].level, 0);
  EXPECT_EQ(marks[16].level, 0);
  EXPECT_EQ(marks[16].label, 100);
  EXPECT_EQ(marks[32].label, 200);
  EXPECT_EQ(marks[8].level, 1);  // 50
  EXPECT_EQ(marks[4].level, 2);  // 25
  EXPECT_EQ(marks[2].level, 3);  // 12.5
  EXPECT_EQ(marks[1].level, 4);  // 6.25
}

TEST(RulerMarks, CentimetresAtDoubleZoomShowMillimetres) {
  const double centimetre = 2 * 72 / 2.54;  // 56.69 pixels: readable at once
  const auto marks = rulerMarks(unit("Centimeters"), {10, 2}, 10, 10 + 2 * centimetre + 0.001);
  ASSERT_EQ(marks.size(), 21u);  // 0 to 2 cm in millimetres
  EXPECT_NEAR(marks[10].position, 10 + centimetre, 1e-9);
  EXPECT_EQ(marks[10].level, 0);
  EXPECT_EQ(marks[10].label, 1);
  EXPECT_EQ(marks[5].level, 1);  // half centimetre
  EXPECT_EQ(marks[3].level, 2);
}

TEST(RulerMarks, InchesAtHalfZoomLabelEveryOtherInch) {
  // 36 pixels an inch is too close for labels: every 2 inches (72 pixels), subdivided to 4.5.
  const auto marks = rulerMarks(unit("Inches"), {0, 0.5}, 0, 144);
  ASSERT_EQ(marks.size(), 33u);
  EXPECT_EQ(marks[16].label, 2);
  EXPECT_EQ(marks[32].label, 4);
  EXPECT_EQ(marks[8].level, 1);  // one inch: unlabelled
}

TEST(RulerMarks, AReversedRulerCountsUpTowardItsStart) {
  // Zero at 100, values growing toward 0, as on the vertical ruler of an unflipped document.
  const auto marks = rulerMarks(unit("Picas"), {100, -1}, 100, -30);  // either order
  ASSERT_FALSE(marks.empty());
  EXPECT_LT(marks.front().position, marks.back().position);
  for (const auto& mark : marks) {
    if (mark.level != 0) continue;
    // Picas at scale 1: 12 → 120 pixels a label.
    EXPECT_EQ(mark.label, std::lround((100 - mark.position) / 12));
  }
  EXPECT_EQ(marks.back().position, 100);
  EXPECT_EQ(marks.back().label, 0);
}

TEST(RulerMarks, UndrawableScalesAndExtentsGiveNothing) {
  const RulerUnit& points = unit("Points");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(rulerMarks(points, {0, 0}, 0, 100).empty());
  EXPECT_TRUE(rulerMarks(points, {0, nan}, 0, 100).empty());
  EXPECT_TRUE(rulerMarks(points, {nan, 1}, 0, 100).empty());
  EXPECT_TRUE(rulerMarks(points, {0, 1}, -inf, 100).empty());
  EXPECT_TRUE(rulerMarks(points, {0, 1}, -1e12, 1e12).empty());
  EXPECT_TRUE(rulerMarks(points, {0, 1e-300}, 0, 100).empty());  // labels would step up past whole numbers
  const auto tiny = rulerMarks(points, {0, 1e-12}, 0, 100);      // still whole: a label each 1e14 points
  ASSERT_EQ(tiny.size(), 17u);
  EXPECT_EQ(tiny.back().label, 100'000'000'000'000);
  EXPECT_EQ(rulerMarks(points, {0, 1}, 3, 3).size(), 0u);
  EXPECT_EQ(rulerUnitNamed("Furlongs"), nullptr);
}

}  // namespace
}  // namespace platform
