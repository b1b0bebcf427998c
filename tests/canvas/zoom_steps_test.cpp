#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "canvas/CMZoomSteps.h"

namespace {

TEST(ZoomSteps, ExactStepsAreFoundAndOthersAreNot) {
  EXPECT_EQ(CMZoomStepIndex(0.125f), 0);
  EXPECT_EQ(CMZoomStepIndex(1.0f), 4);
  EXPECT_EQ(CMZoomStepIndex(0.75f), 3);
  EXPECT_EQ(CMZoomStepIndex(12.0f), 10);
  EXPECT_EQ(CMZoomStepIndex(1.5f), std::nullopt);
  EXPECT_EQ(CMZoomStepIndex(0.0f), std::nullopt);
  // Only exact equality counts: a zoom a hair off 100 % is off the table.
  EXPECT_EQ(CMZoomStepIndex(1.0001f), std::nullopt);
}

TEST(ZoomSteps, InAndOutStopAtTheEndsAndBetweenSteps) {
  EXPECT_EQ(CMZoomInIndex(1.0f), 5);
  EXPECT_EQ(CMZoomOutIndex(1.0f), 3);
  EXPECT_EQ(CMZoomInIndex(8.0f), 10);
  EXPECT_EQ(CMZoomInIndex(12.0f), std::nullopt);
  EXPECT_EQ(CMZoomOutIndex(0.125f), std::nullopt);
  EXPECT_EQ(CMZoomOutIndex(0.25f), 0);
  EXPECT_EQ(CMZoomInIndex(1.5f), std::nullopt);
  EXPECT_EQ(CMZoomOutIndex(1.5f), std::nullopt);
}

TEST(ZoomSteps, FactorsAreStepsOverAHundred) {
  EXPECT_FLOAT_EQ(CMZoomFactor(0), 0.125f);
  EXPECT_FLOAT_EQ(CMZoomFactor(6), 3.0f);
  EXPECT_FLOAT_EQ(CMZoomFactor(10), 12.0f);
  EXPECT_FLOAT_EQ(CMZoomFactor(-3), 0.125f);
  EXPECT_FLOAT_EQ(CMZoomFactor(99), 12.0f);
}

TEST(ZoomSteps, FitPicksTheLargestStepThatFits) {
  // 800 × 600 into 1000 × 700: 100 % fits (800 ≤ 1000, 600 ≤ 700), 200 % does not.
  EXPECT_EQ(CMZoomFitIndex({800, 600}, {1000, 700}), 4);
  // Exactly the page's size at 75 %: 600 × 450 fits, 100 % does not.
  EXPECT_EQ(CMZoomFitIndex({800, 600}, {600, 450}), 3);
  // Height decides: 100 × 1000 into 1000 × 300: 25 % gives 250 ≤ 300, 50 % gives 500.
  EXPECT_EQ(CMZoomFitIndex({100, 1000}, {1000, 300}), 1);
}

TEST(ZoomSteps, FitNeverGoesBelowTheFirstStepNorTriesTheLast) {
  EXPECT_EQ(CMZoomFitIndex({800, 600}, {50, 50}), 0);
  // 800 % fits (80 × 80 into 100 × 100): nothing changes, 1200 % is never tried.
  EXPECT_EQ(CMZoomFitIndex({10, 10}, {100, 100}), std::nullopt);
  // 800 % does not fit but 600 % does.
  EXPECT_EQ(CMZoomFitIndex({10, 10}, {70, 70}), 8);
}

TEST(ZoomSteps, DamagedZoomsAndPageSizesAreTamed) {
  EXPECT_FLOAT_EQ(CMUsableZoom(std::numeric_limits<float>::quiet_NaN()), 1.0f);
  EXPECT_FLOAT_EQ(CMUsableZoom(std::numeric_limits<float>::infinity()), 1.0f);
  EXPECT_FLOAT_EQ(CMUsableZoom(0.0f), 1.0f);
  EXPECT_FLOAT_EQ(CMUsableZoom(-2.0f), 1.0f);
  EXPECT_FLOAT_EQ(CMUsableZoom(1e30f), 100.0f);
  EXPECT_FLOAT_EQ(CMUsableZoom(1e-9f), 0.01f);
  EXPECT_FLOAT_EQ(CMUsableZoom(1.5f), 1.5f);  // a real off-table zoom stays
  EXPECT_FLOAT_EQ(CMUsableZoom(0.125f), 0.125f);
  EXPECT_EQ(CMUsablePageLength(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(CMUsablePageLength(-10), 0);
  EXPECT_EQ(CMUsablePageLength(1e300), 1e6);
  EXPECT_EQ(CMUsablePageLength(595.5), 595.5);
}

}  // namespace
