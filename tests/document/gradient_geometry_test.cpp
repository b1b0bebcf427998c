#include "document/CMGradientGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using platform::Dictionary;
using platform::DictRef;
using platform::Rect;
using Kind = CMGradientGeometry::Kind;

namespace {

constexpr double kTolerance = 1e-4;

DictRef gradient(int type, std::initializer_list<std::pair<std::string_view, platform::Value>> more = {}) {
  DictRef record = Dictionary::make(more);
  record->set("type", type);
  return record;
}

void expectPoint(platform::Point actual, double x, double y) {
  EXPECT_NEAR(actual.x, x, kTolerance);
  EXPECT_NEAR(actual.y, y, kTolerance);
}

CMGradientGeometry document(const DictRef& record, const Rect& box) {
  return CMGradientGeometry::forRecord(record, box, CMGradientRules::Document);
}

CMGradientGeometry swatch(const DictRef& record, const Rect& box) {
  return CMGradientGeometry::forRecord(record, box, CMGradientRules::Swatch);
}

TEST(GradientGeometry, AngledAcrossTheWidth) {
  const Rect box{0, 0, 100, 50};
  const CMGradientGeometry flat = document(gradient(2, {{"angle", 0}}), box);
  EXPECT_EQ(flat.kind, Kind::Linear);
  expectPoint(flat.start, 0, 25);
  expectPoint(flat.end, 100, 25);

  // 90° turns the line upright; its length is still the width.
  const CMGradientGeometry upright = document(gradient(2, {{"angle", 90}}), box);
  expectPoint(upright.start, 50, 75);
  expectPoint(upright.end, 50, -25);

  const CMGradientGeometry narrowed = document(gradient(2, {{"angle", 0}, {"radius_factor", 0.5}}), box);
  expectPoint(narrowed.start, 25, 25);
  expectPoint(narrowed.end, 75, 25);
}

TEST(GradientGeometry, AngledFollowsTheBoxOriginAndShift) {
  const CMGradientGeometry g = document(gradient(2, {{"angle", 180}, {"fx", 0.1}, {"fy", -0.2}}), {10, 20, 100, 50});
  // 180°: the line runs right to left through the centre (60, 45), shifted by (10, -10).
  expectPoint(g.start, 120, 35);
  expectPoint(g.end, 20, 35);
}

TEST(GradientGeometry, LeftToRightShiftedByFractionsOfTheBox) {
  const CMGradientGeometry g = document(gradient(0, {{"fx", 0.1}, {"fy", 0.2}, {"radius_factor", 0.5}}),
                                        {10, 20, 100, 50});
  EXPECT_EQ(g.kind, Kind::Linear);
  // Narrowed about its middle to half the width by the radius factor, as the canvas's radius handle sets it.
  expectPoint(g.start, 45, 30);
  expectPoint(g.end, 95, 30);
}

TEST(GradientGeometry, SvgEndPointsNeedAllFour) {
  const DictRef all = Dictionary::make({{"x1", "10%"}, {"y1", "5"}, {"x2", "90.5"}, {"y2", "-5"}});
  const CMGradientGeometry g = document(gradient(0, {{"attributes", all}, {"fx", 0.5}}), {0, 0, 200, 100});
  expectPoint(g.start, 10, 5);
  expectPoint(g.end, 90.5, -5);

  const DictRef partial = Dictionary::make({{"x1", "10"}, {"x2", "90"}});
  const CMGradientGeometry box = document(gradient(0, {{"attributes", partial}}), {0, 0, 200, 100});
  expectPoint(box.start, 0, 0);
  expectPoint(box.end, 200, 0);

  // Swatches never read them.
  const CMGradientGeometry sw = swatch(gradient(0, {{"attributes", all}}), {0, 0, 200, 100});
  expectPoint(sw.start, 0, 0);
  expectPoint(sw.end, 200, 0);
}

TEST(GradientGeometry, RadialStretchedAlongTheLongerSide) {
  const CMGradientGeometry wide = document(gradient(1), {0, 0, 200, 100});
  EXPECT_EQ(wide.kind, Kind::Radial);
  EXPECT_EQ(wide.scale.width, 2);
  EXPECT_EQ(wide.scale.height, 1);
  expectPoint(wide.start, 50, 50);
  EXPECT_EQ(wide.end, wide.start);
  EXPECT_NEAR(wide.radius, std::hypot(100.0, 50.0), 1e-4);

  const CMGradientGeometry tall = document(gradient(1), {0, 0, 50, 200});
  EXPECT_EQ(tall.scale.width, 1);
  EXPECT_EQ(tall.scale.height, 4);
  expectPoint(tall.start, 25, 25);
}

TEST(GradientGeometry, RadialCentreShiftsInDocumentUnits) {
  const CMGradientGeometry g = document(gradient(1, {{"fx", 0.1}}), {0, 0, 200, 100});
  // In document units, once the CTM's stretch applies, the centre moves from 100 to 120.
  EXPECT_NEAR(g.start.x * g.scale.width, 120, kTolerance);
  EXPECT_NEAR(g.start.y * g.scale.height, 50, kTolerance);
}

TEST(GradientGeometry, RadiusIsHalfTheDiagonalInSinglePrecision) {
  const CMGradientGeometry g = document(gradient(1), {0, 0, 3, 7});
  EXPECT_EQ(g.radius, static_cast<double>(std::sqrt(static_cast<float>(1.5 * 1.5 + 3.5 * 3.5))));
}

// The canvas's radius handle sets the factor; stored records never given a radius carry none or 1 and keep the
// radius they were drawn with, bit for bit. A factor no radius comes of draws nothing, in both services.
TEST(GradientGeometry, RadialRadiusIsScaledByTheFactor) {
  const float half = std::sqrt(static_cast<float>(1.5 * 1.5 + 3.5 * 3.5));
  const std::pair<platform::Value, float> rows[] = {{platform::Value(), half}, {1.0f, half}, {0.3f, half * 0.3f},
                                                    {2.5f, half * 2.5f}, {-1.0f, -1}, {NAN, -1}, {INFINITY, -1}};
  for (const auto& [factor, radius] : rows)
    for (const CMGradientRules rules : {CMGradientRules::Document, CMGradientRules::Swatch}) {
      const DictRef record = gradient(1);
      if (!factor.isNil()) record->set("radius_factor", factor);
      const CMGradientGeometry g = CMGradientGeometry::forRecord(record, {0, 0, 3, 7}, rules);
      EXPECT_EQ(g.kind, radius < 0 ? Kind::None : Kind::Radial) << factor.floatValue();
      if (radius >= 0) {
        EXPECT_EQ(g.radius, radius) << factor.floatValue();
      }
    }
}

TEST(GradientGeometry, SwatchesUseTheRadiusFactorEverywhere) {
  const Rect box{0, 0, 200, 100};
  const CMGradientGeometry narrowed = swatch(gradient(0, {{"radius_factor", 0.5}, {"fx", 0.1}}), box);
  expectPoint(narrowed.start, 70, 0);
  expectPoint(narrowed.end, 170, 0);
  const CMGradientGeometry radial = swatch(gradient(1, {{"radius_factor", 0.5}}), box);
  EXPECT_NEAR(radial.radius, std::hypot(100.0, 50.0) / 2, 1e-4);
  const CMGradientGeometry full = swatch(gradient(0), box);
  expectPoint(full.end, 200, 0);  // an absent factor counts as 1
}

TEST(GradientGeometry, OnlyLinearDrawsEveryTypeLeftToRight) {
  const CMGradientGeometry g =
      CMGradientGeometry::forRecord(gradient(1), {0, 0, 200, 100}, CMGradientRules::Swatch, true);
  EXPECT_EQ(g.kind, Kind::Linear);
  expectPoint(g.start, 0, 0);
  expectPoint(g.end, 200, 0);
}

TEST(GradientGeometry, NothingToDraw) {
  EXPECT_EQ(document(gradient(7), {0, 0, 100, 100}).kind, Kind::None);
  EXPECT_EQ(document(gradient(-1), {0, 0, 100, 100}).kind, Kind::None);
  EXPECT_EQ(document(gradient(1), {0, 0, 0, 100}).kind, Kind::None);
  EXPECT_EQ(document(gradient(1), {0, 0, 100, 0}).kind, Kind::None);
  EXPECT_EQ(document(nullptr, {0, 0, 100, 100}).kind, Kind::Linear);  // a missing type reads as 0
}

}  // namespace
