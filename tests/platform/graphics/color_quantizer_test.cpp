#include "platform/graphics/color_quantizer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>

namespace platform {
namespace {

int distance(const StraightRgba& a, const StraightRgba& b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

TEST(ColorQuantizer, FewColoursAreKeptExactlyWithOneTransparentEntry) {
  std::vector<StraightRgba> pixels;
  for (int i = 0; i < 1000; ++i) {
    pixels.push_back({std::uint8_t(i % 200), std::uint8_t(7 * (i % 200)), 9, 255});
    if (i % 3 == 0) pixels.push_back({255, 0, 0, std::uint8_t(i % 128)});  // all under half alpha
  }
  const PalettedImage result = quantize(pixels, 256);
  ASSERT_EQ(result.indices.size(), pixels.size());
  ASSERT_EQ(result.palette.size(), 201u);
  ASSERT_EQ(result.transparentIndex, 200);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if (pixels[i].a < 128) {
      EXPECT_EQ(result.indices[i], 200);
    } else {
      const StraightRgba& entry = result.palette[result.indices[i]];
      EXPECT_EQ(distance(entry, pixels[i]), 0);
      EXPECT_EQ(entry.a, 255);
    }
  }
}

TEST(ColorQuantizer, ManyColoursShareAPaletteOfTheRequestedSize) {
  // Every colour of a 64×64×16 lattice: median cut leaves each channel within a box of a few steps.
  std::vector<StraightRgba> pixels;
  for (int r = 0; r < 256; r += 4) {
    for (int g = 0; g < 256; g += 4) {
      for (int b = 0; b < 256; b += 16) pixels.push_back({std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), 255});
    }
  }
  pixels.push_back({0, 0, 0, 0});
  for (const int wanted : {2, 16, 256}) {
    const PalettedImage result = quantize(pixels, wanted);
    EXPECT_EQ(static_cast<int>(result.palette.size()), wanted);
    EXPECT_EQ(result.transparentIndex, wanted - 1);
    EXPECT_EQ(result.indices.back(), wanted - 1);
    double total = 0;
    for (std::size_t i = 0; i + 1 < pixels.size(); ++i) total += distance(result.palette[result.indices[i]], pixels[i]);
    const double mean = total / double(pixels.size() - 1);
    if (wanted == 256) {
      EXPECT_LT(mean, 3 * 12.0) << "each channel within about a twelfth of its range";
    } else if (wanted == 2) {
      EXPECT_GT(mean, 3 * 40.0) << "one opaque colour cannot be close to all";
    }
  }
}

TEST(ColorQuantizer, AllTransparentOrEmptyInput) {
  const PalettedImage clear = quantize({{1, 2, 3, 0}, {4, 5, 6, 127}}, 256);
  ASSERT_EQ(clear.palette.size(), 1u);
  EXPECT_EQ(clear.transparentIndex, 0);
  EXPECT_EQ(clear.indices, (std::vector<std::uint8_t>{0, 0}));
  const PalettedImage empty = quantize({}, 256);
  EXPECT_TRUE(empty.palette.empty());
  EXPECT_EQ(empty.transparentIndex, -1);
}

}  // namespace
}  // namespace platform
