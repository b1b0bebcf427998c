// The path-data scanner against hand-computed event lists, arcs against the analytic ellipse they were drawn from,
// and hostile texts under the sanitizers.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "io/svg/VDSVGPathScanner.h"
#include "../../random_test_seed.h"

namespace {

struct Event {
  char kind;  // 'M', 'L', 'C', 'Z'
  std::vector<double> numbers;
};

class Recorder final : public VDSVGPathScannerOwner {
 public:
  void moveTo(float x, float y) override { events.push_back({'M', {x, y}}); }
  void lineTo(float x, float y) override { events.push_back({'L', {x, y}}); }
  void curveTo(float c1x, float c1y, float c2x, float c2y, float x, float y) override {
    events.push_back({'C', {c1x, c1y, c2x, c2y, x, y}});
  }
  void closePath() override { events.push_back({'Z', {}}); }
  std::vector<Event> events;
};

std::vector<Event> scan(std::string_view text) {
  Recorder recorder;
  VDSVGPathScanner(recorder).scan(text);
  return recorder.events;
}

std::string describe(const std::vector<Event>& events) {
  std::string text;
  for (const Event& event : events) {
    text += event.kind;
    for (const double n : event.numbers) text += " " + std::to_string(n);
    text += "; ";
  }
  return text;
}

void expectEvents(std::string_view text, const std::vector<Event>& expected) {
  const std::vector<Event> events = scan(text);
  ASSERT_EQ(events.size(), expected.size()) << text << " gave " << describe(events);
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].kind, expected[i].kind) << text << " event " << i;
    ASSERT_EQ(events[i].numbers.size(), expected[i].numbers.size()) << text << " event " << i;
    for (std::size_t j = 0; j < events[i].numbers.size(); ++j) {
      EXPECT_NEAR(events[i].numbers[j], expected[i].numbers[j], 1e-4) << text << " event " << i << " number " << j;
    }
  }
}

TEST(PathScanner, HandComputedEventLists) {
  expectEvents("M10 10 20 20", {{'M', {10, 10}}, {'L', {20, 20}}});
  expectEvents("m10 10 l5 0 h 5 v 5 z",
               {{'M', {10, 10}}, {'L', {15, 10}}, {'L', {20, 10}}, {'L', {20, 15}}, {'Z', {}}});
  expectEvents("M0,0C0,10 10,10 10,0S20,-10 20,0",
               {{'M', {0, 0}}, {'C', {0, 10, 10, 10, 10, 0}}, {'C', {10, -10, 20, -10, 20, 0}}});
  expectEvents("M0 0Q10 10 20 0", {{'M', {0, 0}}, {'C', {20.0 / 3, 20.0 / 3, 40.0 / 3, 20.0 / 3, 20, 0}}});
  expectEvents("M0 0A0 10 0 0 1 20 0 l1 1", {{'M', {0, 0}}, {'L', {20, 0}}, {'L', {21, 1}}});
  expectEvents("M1e2 -1.5e-1", {{'M', {100, -0.15}}});
  expectEvents("M.5.5", {{'M', {0.5, 0.5}}});
  expectEvents("M-1 0 .5 0", {{'M', {-1, 0}}, {'L', {0.5, 0}}});
  // Numbers running together, and smooth quadratics reflecting the last control point.
  expectEvents("M10-5L0.5.5", {{'M', {10, -5}}, {'L', {0.5, 0.5}}});
  expectEvents("M0 0T10 0", {{'M', {0, 0}}, {'C', {0, 0, 10.0 / 3, 0, 10, 0}}});
  expectEvents("M0 0q5 5 10 0t10 0",
               {{'M', {0, 0}}, {'C', {10.0 / 3, 10.0 / 3, 20.0 / 3, 10.0 / 3, 10, 0}},
                {'C', {40.0 / 3, -10.0 / 3, 50.0 / 3, -10.0 / 3, 20, 0}}});
  // Groups cut short: absolute ones take 0, relative ones the current point and then the number two before.
  expectEvents("M5 5L7", {{'M', {5, 5}}, {'L', {7, 0}}});
  expectEvents("M5 5c1 2 3", {{'M', {5, 5}}, {'C', {6, 7, 8, 7, 8, 7}}});
  // Numbers before the first command and numbers of unknown letters are dropped.
  expectEvents("1 2 M3 4 x 5 6 7", {{'M', {3, 4}}});
  // An arc or smooth quadratic left short draws nothing.
  expectEvents("M0 0A10 10 0 0 1 20L5 5", {{'M', {0, 0}}, {'L', {5, 5}}});
  expectEvents("M0 0T4", {{'M', {0, 0}}});
}

TEST(PathScanner, ArcFlagsAreSingleCharactersAndStrayCharactersEndTheData) {
  // Compact flags read as the spaced-out text does.
  const std::pair<const char*, const char*> same[] = {
      {"M10 10a5 5 0 015 5", "M10 10a5 5 0 0 1 5 5"},
      {"M100 100h25a25 25 0 10-25 25z", "M100 100h25a25 25 0 1 0 -25 25z"},
      {"M0 0A5 5 0 1,1 10,0A5,5,0,00,0,0", "M0 0A5 5 0 1 1 10 0A5 5 0 0 0 0 0"},
  };
  for (const auto& [compact, spaced] : same) {
    const std::vector<Event> expected = scan(spaced);
    ASSERT_GT(expected.size(), 1u) << spaced;
    expectEvents(compact, expected);
  }
  // A flag other than 0 or 1, and a character path data cannot hold, end the data where they stand.
  for (const char* text : {"M0 0L5 5a5 5 0 6 0 10 10", "M0 0L5 5a5 5 0 -1 0 10 10", "M0 0L5 5a5 5 0 1 .5 10 10",
                           "M0 0L5 5a5 5 0 1 2 10 10", "M0 0L5 5L150#80", "M0 0L5 5 L%6 6"}) {
    expectEvents(text, {{'M', {0, 0}}, {'L', {5, 5}}});
  }
}

TEST(PathScanner, SmoothCurvesReflectOnlyACurveOfTheirKind) {
  // After a quadratic, "S" starts at the current point; after a cubic, "T" has its control at the current point.
  expectEvents("M30 30T40 170S170 170 170 30", {{'M', {30, 30}},
                                                 {'C', {30, 30, 100.0 / 3, 230.0 / 3, 40, 170}},
                                                 {'C', {40, 170, 170, 170, 170, 30}}});
  expectEvents("M0 0C0 10 10 10 10 0T20 0", {{'M', {0, 0}},
                                              {'C', {0, 10, 10, 10, 10, 0}},
                                              {'C', {10, 0, 40.0 / 3, 0, 20, 0}}});
  // An arc leaves no control point behind.
  const std::vector<Event> arc = scan("M0 0A5 5 0 0 1 10 0S20 10 30 0");
  ASSERT_EQ(arc.size(), 4u) << describe(arc);
  EXPECT_EQ(arc[3].numbers[0], 10);
  EXPECT_EQ(arc[3].numbers[1], 0);
}

TEST(PathScanner, HalfCircleArcTurnsThroughTheTop) {
  const std::vector<Event> events = scan("M0 0A10 10 0 0 1 20 0");
  ASSERT_EQ(events.size(), 3u) << describe(events);
  EXPECT_EQ(events[1].kind, 'C');
  EXPECT_NEAR(events[1].numbers[4], 10, 1e-4);
  EXPECT_NEAR(events[1].numbers[5], -10, 1e-4);
  EXPECT_EQ(events[2].numbers[4], 20);
  EXPECT_EQ(events[2].numbers[5], 0);
}

TEST(PathScanner, CloseReturnsToTheSubpathStart) {
  const std::vector<Event> events = scan("m10 10 l10 0 l0 10 z l5 5");
  ASSERT_EQ(events.size(), 5u) << describe(events);
  EXPECT_EQ(events[4].kind, 'L');
  EXPECT_NEAR(events[4].numbers[0], 15, 1e-6);
  EXPECT_NEAR(events[4].numbers[1], 15, 1e-6);
}

// Arcs built from their centre form: the scanner must find the same ellipse from the end points and flags.
TEST(PathScanner, RandomArcsFollowTheirEllipse) {
  const unsigned seed = randomTestSeed("PathScanner.RandomArcsFollowTheirEllipse");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> centre(-100, 100), radius(1, 80), angle(-180, 180), unit(0, 1);
  for (int round = 0; round < 500; ++round) {
    const double cx = centre(random), cy = centre(random), rx = radius(random), ry = radius(random);
    const double phi = angle(random) * std::numbers::pi / 180;
    const double start = angle(random) * std::numbers::pi / 180;
    // Spans away from 0, π and 2π, where the flags alone could not tell the arc.
    double span = (0.05 + unit(random) * 0.9) * std::numbers::pi + (unit(random) < 0.5 ? std::numbers::pi : 0);
    if (unit(random) < 0.5) span = -span;
    const auto onEllipse = [&](double t) {
      const double x = rx * std::cos(t), y = ry * std::sin(t);
      return std::pair{cx + std::cos(phi) * x - std::sin(phi) * y, cy + std::sin(phi) * x + std::cos(phi) * y};
    };
    const auto [x0, y0] = onEllipse(start);
    const auto [x1, y1] = onEllipse(start + span);
    char text[256];
    std::snprintf(text, sizeof text, "M%.17g %.17g A%.17g %.17g %.17g %d %d %.17g %.17g", x0, y0, rx, ry,
                  phi * 180 / std::numbers::pi, std::fabs(span) > std::numbers::pi, span > 0, x1, y1);
    SCOPED_TRACE(text);
    const std::vector<Event> events = scan(text);
    const int parts = static_cast<int>(std::ceil(std::fabs(span) / (std::numbers::pi / 2 + 0.001)));
    ASSERT_EQ(static_cast<int>(events.size()), 1 + parts);
    EXPECT_NEAR(events.back().numbers[4], static_cast<float>(x1), 1e-9);
    EXPECT_NEAR(events.back().numbers[5], static_cast<float>(y1), 1e-9);
    double fromX = static_cast<float>(x0), fromY = static_cast<float>(y0);
    for (int i = 0; i < parts; ++i) {
      const std::vector<double>& n = events[static_cast<std::size_t>(i) + 1].numbers;
      // The cubic's middle, in the ellipse's own frame and units.
      const double mx = (fromX + 3 * n[0] + 3 * n[2] + n[4]) / 8 - cx;
      const double my = (fromY + 3 * n[1] + 3 * n[3] + n[5]) / 8 - cy;
      const double u = (std::cos(phi) * mx + std::sin(phi) * my) / rx;
      const double v = (-std::sin(phi) * mx + std::cos(phi) * my) / ry;
      EXPECT_NEAR(std::hypot(u, v), 1, 3e-4) << "part " << i;
      // The middle lies where the sweep puts it: halfway through this part of the span.
      const double expected = start + span * (i + 0.5) / parts;
      EXPECT_NEAR(std::remainder(std::atan2(v, u) - expected, 2 * std::numbers::pi), 0, 1e-3) << "part " << i;
      fromX = n[4];
      fromY = n[5];
    }
  }
}

TEST(PathScanner, HostileTextEndsWithFiniteEvents) {
  std::string unknown = "M0 0 x";
  for (int i = 0; i < 100; ++i) unknown += " 7";
  unknown += " L1 1";
  expectEvents(unknown, {{'M', {0, 0}}, {'L', {1, 1}}});
  const std::string longNumber = "M" + std::string(10000, '9') + " 0 L1 1";
  const std::string longFraction = "M0." + std::string(10000, '3') + " 1";
  // A number too large for single precision ends the scan.
  EXPECT_TRUE(scan(longNumber).empty());
  expectEvents(longFraction, {{'M', {1.0 / 3, 1}}});
  expectEvents("M0 0 L1e999 0 L2 2", {{'M', {0, 0}}});
  expectEvents("M0 0 L1e-999 0e999", {{'M', {0, 0}}, {'L', {0, 0}}});
  expectEvents("M1e99999999999999 0", {});
  // A sum past single precision ends it too.
  const std::vector<Event> overflowing = scan("M3e38 0 l3e38 0");
  ASSERT_EQ(overflowing.size(), 1u);
  EXPECT_EQ(overflowing[0].numbers[0], static_cast<float>(3e38));
  expectEvents("M0 0 a", {{'M', {0, 0}}});
  expectEvents("M0 0 a 1 2 3", {{'M', {0, 0}}});
  expectEvents("M0 0 a1 1 0 1 1 0 0", {{'M', {0, 0}}});
  expectEvents(std::string_view("M1 1\0L2 2", 9), {{'M', {1, 1}}});
}

}  // namespace
