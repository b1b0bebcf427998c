#include <gtest/gtest.h>

#include <cmath>

#include "document/CMGradient.h"
#include "document/VDGradientDraw.h"

using platform::Array;
using platform::Dictionary;
using platform::DictRef;
using platform::GradientStop;

namespace {

DictRef stop(double pos, double grey) { return Dictionary::make({{"pos", pos}, {"red", grey}, {"green", grey}, {"blue", grey}}); }

DictRef withMarkers(std::initializer_list<platform::Value> markers) {
  return Dictionary::make({{"markers", Array::make(markers)}});
}

std::vector<double> locations(const platform::Gradient& gradient) {
  std::vector<double> result;
  for (const GradientStop& s : gradient.stops()) result.push_back(s.location);
  return result;
}

std::vector<double> reds(const platform::Gradient& gradient) {
  std::vector<double> result;
  for (const GradientStop& s : gradient.stops()) result.push_back(s.red);
  return result;
}

TEST(GradientStops, SortedByPosition) {
  const DictRef record = withMarkers({stop(1, 1), stop(0, 0), stop(0.5, 0.25)});
  const platform::Gradient gradient = CMGradient::createGradient(record, 1);
  EXPECT_EQ(locations(gradient), (std::vector<double>{0, 0.5, 1}));
  EXPECT_EQ(reds(gradient), (std::vector<double>{0, 0.25, 1}));
}

TEST(GradientStops, EqualPositionsKeepTheirOrder) {
  const DictRef record = withMarkers({stop(0.5, 0.75), stop(0, 0), stop(0.5, 0.25), stop(0.5, 1)});
  EXPECT_EQ(reds(CMGradient::createGradient(record, 1)), (std::vector<double>{0, 0.75, 0.25, 1}));
}

TEST(GradientStops, MidpointOnlyAfterAStopWithMixInDocuments) {
  const DictRef black = stop(0, 0);
  const DictRef record = withMarkers({black, stop(1, 1)});
  const platform::Gradient plain = CMGradient::createGradient(record, 1);
  EXPECT_EQ(locations(plain), (std::vector<double>{0, 1}));

  black->set("mix", 0.25);
  const platform::Gradient mixed = CMGradient::createGradient(record, 1);
  EXPECT_EQ(locations(mixed), (std::vector<double>{0, 0.25, 1}));
  EXPECT_EQ(reds(mixed), (std::vector<double>{0, 0.5, 1}));
}

TEST(GradientStops, MidpointLiesBetweenStopsThatDoNotStartAtZero) {
  const DictRef first = stop(0.2, 0.2);
  first->set("mix", 0.5);
  const DictRef last = stop(0.6, 1);
  last->set("mix", 0.5);  // the last stop's mix has no neighbour to blend with
  const platform::Gradient gradient = CMGradient::createGradient(withMarkers({last, first}), 1);
  ASSERT_EQ(gradient.stops().size(), 3u);
  EXPECT_NEAR(gradient.stops()[1].location, 0.4, 1e-6);
  EXPECT_NEAR(gradient.stops()[1].red, 0.6, 1e-6);
}

TEST(GradientStops, SwatchesPutAMidpointAfterEveryStop) {
  const DictRef record = withMarkers({stop(1, 1), stop(0, 0)});
  const platform::Gradient gradient = VDGradientDraw::createGradient(record);
  EXPECT_EQ(locations(gradient), (std::vector<double>{0, 0, 1}));
  EXPECT_EQ(reds(gradient), (std::vector<double>{0, 0.5, 1}));
  const DictRef three = withMarkers({stop(0, 0), stop(0.5, 0.5), stop(1, 1)});
  EXPECT_EQ(VDGradientDraw::createGradient(three).stops().size(), 5u);
}

TEST(GradientStops, AlphaComesFromTheCaller) {
  const DictRef first = stop(0, 0);
  first->set("mix", 0.5);
  const DictRef record = withMarkers({first, stop(1, 1)});
  const platform::Gradient faded = CMGradient::createGradient(record, 0.25f);
  const platform::Gradient opaque = CMGradient::createGradient(record);
  const platform::Gradient swatch = VDGradientDraw::createGradient(record);
  ASSERT_EQ(faded.stops().size(), 3u);
  ASSERT_EQ(opaque.stops().size(), 3u);
  ASSERT_EQ(swatch.stops().size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(faded.stops()[i].alpha, 0.25);
    EXPECT_EQ(opaque.stops()[i].alpha, 1);
    EXPECT_EQ(swatch.stops()[i].alpha, 1);
  }
}

TEST(GradientStops, OddRecordsGiveWhatCanBeUsed) {
  EXPECT_TRUE(CMGradient::createGradient(nullptr, 1).stops().empty());
  EXPECT_TRUE(CMGradient::createGradient(Dictionary::make(), 1).stops().empty());
  const DictRef record = withMarkers({"not a stop", stop(0.5, 0.5), 3});
  EXPECT_EQ(locations(CMGradient::createGradient(record, 1)), (std::vector<double>{0.5}));
  const DictRef unplaced = withMarkers({Dictionary::make({{"pos", std::nan("")}}), stop(0.5, 0.5)});
  EXPECT_EQ(locations(VDGradientDraw::createGradient(unplaced)), (std::vector<double>{0.5}));
}

}  // namespace
