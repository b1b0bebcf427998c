#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "canvas/VDRulerTicks.h"

namespace {

double narrowLabels(const std::string& text) { return 6.0 * static_cast<double>(text.size()); }

struct Labelled {
  double position;
  std::string text;
  bool operator==(const Labelled&) const = default;
};

std::vector<Labelled> labelsOf(const std::vector<VDRulerTick>& ticks) {
  std::vector<Labelled> labels;
  for (const VDRulerTick& tick : ticks)
    if (tick.label) labels.push_back({tick.position, *tick.label});
  return labels;
}

const VDRulerTick* tickAt(const std::vector<VDRulerTick>& ticks, double position) {
  for (const VDRulerTick& tick : ticks)
    if (tick.position == position) return &tick;
  return nullptr;
}

TEST(RulerTicks, PointsAtZoomOneLabelEveryMajorTickFiftyApart) {
  const auto ticks = VDRulerTicks(VDRulerSchemeForUnit("Points", 1), 0, 0, 120, narrowLabels);
  ASSERT_EQ(ticks.size(), 13u);  // every 10 points from 0 to 120
  // Majors every 20; the first label at 0, then the first major at least 50 further: 60, then 120.
  EXPECT_EQ(labelsOf(ticks), (std::vector<Labelled>{{0, "0"}, {60, "60"}, {120, "120"}}));
  EXPECT_EQ(tickAt(ticks, 60)->length, kVDRulerFullTick);
  EXPECT_EQ(tickAt(ticks, 40)->length, 7);  // a major tick too near the last label
  EXPECT_EQ(tickAt(ticks, 10)->length, 7);  // two-length scheme: every other tick is 7 long
}

TEST(RulerTicks, PointsAtZoomTwoLabelPagePoints) {
  const auto ticks = VDRulerTicks(VDRulerSchemeForUnit("Points", 2), 0, 0, 200, narrowLabels);
  // Ticks every 20 pixels (10 points); majors every 40 pixels; labels 50 pixels apart at least: 0, 80, 160 pixels,
  // which are 0, 40 and 80 points.
  EXPECT_EQ(labelsOf(ticks), (std::vector<Labelled>{{0, "0"}, {80, "40"}, {160, "80"}}));
  EXPECT_EQ(tickAt(ticks, 20)->length, 7);
  EXPECT_EQ(tickAt(ticks, 40)->length, 7);
}

TEST(RulerTicks, CentimetersInchesAndPicasUseTheirOwnPeriods) {
  const auto centimeters = VDRulerTicks(VDRulerSchemeForUnit("Centimeters", 2), 0, 0, 120, narrowLabels);
  // A centimetre is 72 / 2.54 points, 56.69 pixels at 200 %: a tick every half, a label every whole one.
  const double centimetre = 2 * 72 / 2.54;
  const auto labels = labelsOf(centimeters);
  ASSERT_EQ(labels.size(), 3u);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_NEAR(labels[i].position, static_cast<double>(i) * centimetre, 1e-9);
    EXPECT_EQ(labels[i].text, std::to_string(i));
  }
  ASSERT_EQ(centimeters.size(), 5u);
  EXPECT_EQ(centimeters[1].length, 5);  // the half centimetre

  const auto inches = VDRulerTicks(VDRulerSchemeForUnit("Inches", 1), 0, 0, 216, narrowLabels);
  EXPECT_EQ(labelsOf(inches), (std::vector<Labelled>{{0, "0"}, {72, "1"}, {144, "2"}, {216, "3"}}));
  EXPECT_EQ(tickAt(inches, 36)->length, 5);   // neither major (2) nor middle (4)
  EXPECT_EQ(tickAt(inches, 108)->length, 5);

  const auto picas = VDRulerTicks(VDRulerSchemeForUnit("Picas", 1), 0, 0, 100, narrowLabels);
  // Majors every 50 pixels, labels trunc(x / 12): 50 → 4, 100 → 8.
  EXPECT_EQ(labelsOf(picas), (std::vector<Labelled>{{0, "0"}, {50, "4"}, {100, "8"}}));
  EXPECT_EQ(tickAt(picas, 10)->length, 5);
  EXPECT_EQ(tickAt(picas, 20)->length, 7);  // a middle tick
}

TEST(RulerTicks, AnUnknownUnitCountsPixelsEveryTwenty) {
  const auto ticks = VDRulerTicks(VDRulerSchemeForUnit("Furlongs", 2), 0, 0, 400, narrowLabels);
  // 40 pixels a tick, a major every 400: labels show pixels (divisor 1).
  EXPECT_EQ(labelsOf(ticks), (std::vector<Labelled>{{0, "0"}, {400, "400"}}));
  EXPECT_EQ(ticks.size(), 11u);
}

TEST(RulerTicks, TheOriginShiftsLabelsAndNegativeValuesShowAsSuch) {
  const auto ticks = VDRulerTicks(VDRulerSchemeForUnit("Points", 1), 40, 0, 100, narrowLabels);
  EXPECT_EQ(labelsOf(ticks), (std::vector<Labelled>{{0, "-40"}, {60, "20"}}));
}

TEST(RulerTicks, CrowdedTicksKeepFiveUnitsApartAndGiveWayToMajors) {
  for (const char* unit : {"Points", "Centimeters", "Inches", "Picas", "Other"}) {
    for (const float zoom : {0.125f, 0.25f, 0.5f, 0.75f, 1.0f, 3.0f, 12.0f}) {
      const VDRulerScheme scheme = VDRulerSchemeForUnit(unit, zoom);
      const auto ticks = VDRulerTicks(scheme, 13, -300, 2000, narrowLabels);
      double previous = -std::numeric_limits<double>::infinity();
      double previousLabel = -std::numeric_limits<double>::infinity();
      for (const VDRulerTick& tick : ticks) {
        EXPECT_GT(tick.position - previous, kVDRulerTickGap) << unit << " at " << zoom;
        previous = tick.position;
        if (!tick.label) continue;
        EXPECT_GE(tick.position - previousLabel, kVDRulerLabelSpacing) << unit << " at " << zoom;
        previousLabel = tick.position;
        // Whole units counted to a millionth: a tick on 360 reads 360 however the division rounds.
        const double units = std::round((tick.position - 13) / scheme.divisor * 1e6) / 1e6;
        EXPECT_EQ(*tick.label, std::to_string(static_cast<int>(std::trunc(units)))) << unit << " at " << zoom;
      }
    }
  }
  // At 25 % points are 2.5 pixels apart: the first two after 0 lie within 5, the third gives way to the major at 10.
  const auto dense = VDRulerTicks(VDRulerSchemeForUnit("Points", 0.25f), 0, 0, 20, narrowLabels);
  std::vector<double> positions;
  for (const VDRulerTick& tick : dense) positions.push_back(tick.position);
  EXPECT_EQ(positions, (std::vector<double>{0, 10, 20}));
}

TEST(RulerTicks, WideLabelsDoNotRunIntoEachOther) {
  const auto ticks = VDRulerTicks(VDRulerSchemeForUnit("Points", 1), 0, 0, 120,
                                  [](const std::string&) { return 100.0; });
  EXPECT_EQ(labelsOf(ticks), (std::vector<Labelled>{{0, "0"}, {120, "120"}}));
  EXPECT_EQ(tickAt(ticks, 60)->length, kVDRulerFullTick);  // still a full tick, only unlabelled
}

TEST(RulerTicks, HostileInputsDrawNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(VDRulerTicks(VDRulerSchemeForUnit("Points", 0), 0, 0, 100, narrowLabels).empty());
  EXPECT_TRUE(VDRulerTicks(VDRulerSchemeForUnit("Points", 1), nan, 0, 100, narrowLabels).empty());
  EXPECT_TRUE(VDRulerTicks(VDRulerSchemeForUnit("Points", 1), 0, -inf, inf, narrowLabels).empty());
  EXPECT_TRUE(VDRulerTicks(VDRulerSchemeForUnit("Points", 1e-6f), 0, 0, 1e9, narrowLabels).empty());
  EXPECT_TRUE(VDRulerTicks(VDRulerSchemeForUnit("Points", 1), 1e300, 0, 100, narrowLabels).empty());
}

}  // namespace
