#include "platform/graphics/pixel_conversion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace platform {
namespace {

int channelOf(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xff); }

TEST(PixelConversion, PremultiplyingRoundsEachColourTimesAlpha) {
  for (int a = 0; a < 256; ++a) {
    for (int c = 0; c < 256; ++c) {
      const std::uint32_t p = premultipliedPixel({std::uint8_t(c), std::uint8_t(255 - c), 0, std::uint8_t(a)});
      ASSERT_EQ(channelOf(p, 24), a);
      ASSERT_EQ(channelOf(p, 16), std::lround(c * a / 255.0)) << c << " " << a;
      ASSERT_EQ(channelOf(p, 8), std::lround((255 - c) * a / 255.0)) << c << " " << a;
      ASSERT_EQ(channelOf(p, 0), 0);
    }
  }
}

TEST(PixelConversion, EveryPremultipliedPixelSurvivesARoundTripThroughStraight) {
  for (std::uint32_t a = 1; a < 256; ++a) {
    for (std::uint32_t c = 0; c <= a; ++c) {
      const std::uint32_t pixel = a << 24 | c << 16 | (a - c) << 8 | c / 2;
      ASSERT_EQ(premultipliedPixel(straightFromPremultiplied(pixel)), pixel) << c << " " << a;
    }
  }
}

TEST(PixelConversion, OpaqueColoursAreUntouchedAndTransparentIsBlack) {
  const StraightRgba orange{255, 128, 3, 255};
  EXPECT_EQ(straightFromPremultiplied(premultipliedPixel(orange)), orange);
  EXPECT_EQ(straightFromPremultiplied(0x00ffffffu), StraightRgba{});
  // A colour above its alpha is invalid premultiplied data; it clamps instead of wrapping.
  EXPECT_EQ(straightFromPremultiplied(0x10ff0000u).r, 255);
}

}  // namespace
}  // namespace platform
