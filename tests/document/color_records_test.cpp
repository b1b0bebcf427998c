#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "document/CMColorHex.h"
#include "document/CMColorRecord.h"
#include "document/CMParagraphStyleRecord.h"
#include "document/CMShadowRecord.h"

using platform::Color;
using platform::Dictionary;

namespace {

TEST(ColorRecord, MissingAlphaIsTransparentUnlessAlphaIsGiven) {
  const auto red = Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}});
  EXPECT_EQ(colorWithDictionary(red), Color(1, 0, 0, 0));
  EXPECT_EQ(colorWithDictionary(red, 1.0f), Color(1, 0, 0, 1));
}

TEST(ColorRecord, ComponentsAreDividedBy255) {
  const auto grey = Dictionary::make({{"r", 128}, {"g", 127.5}, {"b", 1}, {"a", 255}});
  const Color color = colorWithDictionary(grey);
  EXPECT_DOUBLE_EQ(color.red(), 128.0 / 255.0);
  EXPECT_NE(color.red(), 0.5);
  EXPECT_DOUBLE_EQ(color.green(), 0.5);
  EXPECT_DOUBLE_EQ(color.blue(), 1.0 / 255.0);
  EXPECT_DOUBLE_EQ(color.alpha(), 1);
}

TEST(ColorRecord, AlphaArgumentIgnoresTheRecordsAlpha) {
  const auto opaque = Dictionary::make({{"r", 0}, {"g", 255}, {"b", 0}, {"a", 255}});
  EXPECT_DOUBLE_EQ(colorWithDictionary(opaque, 0.25f).alpha(), 0.25);
  EXPECT_EQ(colorWithDictionary(nullptr), Color(0, 0, 0, 0));
  EXPECT_EQ(colorWithDictionary(nullptr, 1.0f), Color(0, 0, 0, 1));
}

TEST(ColorHex, ScansLikeTheStringScanner) {
  const Color orange(1, 128.0 / 255.0, 0, 1);
  EXPECT_EQ(colorFromHexRGB("ff8000"), orange);
  EXPECT_EQ(colorFromHexRGB("0xff8000"), orange);
  EXPECT_EQ(colorFromHexRGB("0XFF8000"), orange);
  EXPECT_EQ(colorFromHexRGB("  \tff8000"), orange);
  EXPECT_EQ(colorFromHexRGB("ff8000zz"), orange);
  EXPECT_EQ(colorFromHexRGB("#ff8000"), Color::blackColor());
  EXPECT_EQ(colorFromHexRGB(std::nullopt), Color::blackColor());
  EXPECT_EQ(colorFromHexRGB(""), Color::blackColor());
  EXPECT_EQ(colorFromHexRGB("0x"), Color::blackColor());
  EXPECT_EQ(colorFromHexRGB("12"), Color(0, 0, 0x12 / 255.0, 1));
}

TEST(ColorHex, BitsAboveBlueGreenRedAreIgnoredAndOverflowSaturates) {
  EXPECT_EQ(colorFromHexRGB("7f0000ff"), Color(0, 0, 1, 1));
  // Past 32 bits the scanner gives 0xFFFFFFFF: white.
  EXPECT_EQ(colorFromHexRGB("123456789abcdef"), Color::whiteColor());
}

TEST(ColorHex, WritesTruncatedLowercaseDigits) {
  EXPECT_EQ(hexRGBFromColor(Color::calibrated(1, 0.5, 0, 1)), "#ff7f00");
  EXPECT_EQ(hexRGBFromColor(Color::device(0, 10.0 / 255.0, 171.0 / 255.0, 0.2)), "#000aab");
  EXPECT_EQ(hexRGBFromColor(Color::white(1, 1)), "#ffffff");
  std::shared_ptr<cairo_surface_t> tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 2), cairo_surface_destroy);
  EXPECT_EQ(hexRGBFromColor(Color::pattern(tile)), std::nullopt);
}

TEST(ColorHex, EveryByteSurvivesARoundTrip) {
  for (int value = 0; value < 256; ++value) {
    const Color color(value / 255.0, (255 - value) / 255.0, (value * 7 % 256) / 255.0, 1);
    const auto text = hexRGBFromColor(color);
    ASSERT_TRUE(text.has_value());
    ASSERT_EQ(text->size(), 7u);
    EXPECT_EQ(colorFromHexRGB(std::string_view(*text).substr(1)), color) << *text;
  }
}

TEST(ShadowRecord, ScaledByZoomWithItsOwnAlpha) {
  const auto record = Dictionary::make({{"offset_x", 2},
                                        {"offset_y", -3},
                                        {"blurRadius", 4},
                                        {"color", Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 0}})}});
  const platform::Shadow shadow = shadowWithDictionary(record, 2);
  EXPECT_EQ(shadow.offset.width, 4);
  EXPECT_EQ(shadow.offset.height, -6);
  EXPECT_EQ(shadow.blurRadius, 8);
  EXPECT_EQ(shadow.color, Color(1, 0, 0, 1));

  record->set("alpha", 0.5);
  EXPECT_DOUBLE_EQ(shadowWithDictionary(record, 1).color.alpha(), 0.5);
  record->set("alpha", 0);
  EXPECT_DOUBLE_EQ(shadowWithDictionary(record, 1).color.alpha(), 0);
}

TEST(ShadowRecord, MissingColourIsBlack) {
  const platform::Shadow shadow = shadowWithDictionary(Dictionary::make({{"blurRadius", 3}}), 0.5f);
  EXPECT_EQ(shadow.color, Color(0, 0, 0, 1));
  EXPECT_EQ(shadow.blurRadius, 1.5);
  EXPECT_EQ(shadow.offset.width, 0);
}

TEST(ParagraphStyleRecord, AlignmentFromTheMisspeltKey) {
  EXPECT_EQ(paragraphStyleWithDictionary(Dictionary::make()).alignment, platform::TextAlignment::Left);
  EXPECT_EQ(paragraphStyleWithDictionary(nullptr).alignment, platform::TextAlignment::Left);
  EXPECT_EQ(paragraphStyleWithDictionary(Dictionary::make({{"aligment", 2}})).alignment,
            platform::TextAlignment::Center);
  EXPECT_EQ(paragraphStyleWithDictionary(Dictionary::make({{"alignment", 2}})).alignment,
            platform::TextAlignment::Left);
  const platform::ParagraphStyle style = paragraphStyleWithDictionary(Dictionary::make({{"aligment", 1}}));
  EXPECT_EQ(style.lineBreakMode, platform::ParagraphStyle().lineBreakMode);
}

}  // namespace

namespace {

struct HexRecordCase {
  const char* text;
  float alpha;
  int r, g, b, a;
};

TEST(ColorRecordFromText, ReadsRgbAndHexadecimalText) {
  const HexRecordCase cases[] = {
      {"rgb(255, 128, 0)", 0.5f, 255, 128, 0, 127},
      {"rgb(1,2)", 1, 0, 0, 0, 255},
      {"rgb(1,2,3,4)", 1, 0, 0, 0, 255},
      {"ff8000", 1, 255, 128, 0, 255},
      {"0xff8000", 1, 255, 128, 0, 255},
      {"ff8000", 1.2f, 255, 128, 0, 255},
      {"ff8000", -0.1f, 255, 128, 0, 0},
      {"rgb(256,-1,99999999999999999999)", 1, 0, 255, 255, 255},
      {"fill: rgb( 10.9 , 20x, +30)", 1, 10, 20, 30, 255},
      {"rgb 1, 2, 3", 1, 0, 0, 0, 255},
      {"rgb)1,2,3(", 1, 0, 0, 0, 255},
      {"#ff8000", 1, 0, 0, 0, 255},
      {"", 0.25f, 0, 0, 0, 63},
      {"ff8000", std::numeric_limits<float>::quiet_NaN(), 255, 128, 0, 0},
      {"ff8000", std::numeric_limits<float>::infinity(), 255, 128, 0, 255},
  };
  for (const HexRecordCase& c : cases) {
    SCOPED_TRACE(c.text);
    const platform::DictRef record = dictionaryFromHexRGB(c.text, c.alpha);
    ASSERT_EQ(record->keys(), (std::vector<std::string>{"r", "g", "b", "a"}));
    EXPECT_TRUE(record->get("r").isInteger());
    EXPECT_EQ(record->get("r").integerValue(), c.r);
    EXPECT_EQ(record->get("g").integerValue(), c.g);
    EXPECT_EQ(record->get("b").integerValue(), c.b);
    EXPECT_EQ(record->get("a").integerValue(), c.a);
  }
}

}  // namespace
