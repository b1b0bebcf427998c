// Modifier flags as glyphs and words, their Cocoa and Carbon forms, and the
// recorder's ease curve. Key names here come from the display's default US layout.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "shortcuts/KRCommon.h"
#include "../random_test_seed.h"

namespace {

TEST(ModifierStrings, GlyphsInControlOptionShiftCommandOrderWordsTheOtherWay) {
  EXPECT_EQ(KRModifierGlyphsForCocoaFlags(0x1E0000), "\u2303\u2325\u21E7\u2318");
  EXPECT_EQ(KRModifierGlyphsForCarbonFlags(0x1B00), "\u2303\u2325\u21E7\u2318");
  EXPECT_EQ(KRReadableKeyComboForCocoaFlags(0x1E0000, 40), "Command + Option + Control + Shift + K");
  EXPECT_EQ(KRReadableKeyComboForCarbonFlags(0x1B00, 40), "Command + Option + Control + Shift + K");
  EXPECT_EQ(KRKeyComboStringForCarbonFlags(0x1000, 40), "\u2303K");
  EXPECT_EQ(KRKeyComboStringForCocoaFlags(0x100000, 49), "\u2318Space");
  EXPECT_EQ(KRModifierGlyphsForCocoaFlags(0x800000), "");
  EXPECT_EQ(KRModifierGlyphsForCocoaFlags(0x10000 | 0x200000), "");  // Caps Lock and the numeric pad
  // A key without a name adds nothing.
  EXPECT_EQ(KRKeyComboStringForCocoaFlags(0x40000, -1), "\u2303");
  EXPECT_EQ(KRReadableKeyComboForCocoaFlags(0x20000, -1), "Shift + ");
}

TEST(ModifierStrings, CocoaAndCarbonFlagsConvertBitForBit) {
  const std::pair<std::uint64_t, std::uint32_t> pairs[] = {
      {0x100000, 0x100}, {0x80000, 0x800}, {0x40000, 0x1000}, {0x20000, 0x200},
      {0x800000, 0x800000}, {0x140000, 0x1100}, {0x9E0000, 0x801B00}, {0, 0}};
  for (const auto& [cocoa, carbon] : pairs) {
    EXPECT_EQ(KRCocoaToCarbonFlags(cocoa), carbon) << std::hex << cocoa;
    EXPECT_EQ(KRCarbonToCocoaFlags(carbon), cocoa) << std::hex << carbon;
  }
  // No other bit survives: a round trip of any mask keeps exactly the five known ones.
  const unsigned seed = randomTestSeed("ModifierStrings");
  std::mt19937_64 random(seed);
  for (int i = 0; i < 1000; ++i) {
    const std::uint64_t flags = random();
    EXPECT_EQ(KRCarbonToCocoaFlags(KRCocoaToCarbonFlags(flags)), flags & 0x9E0000) << "seed " << seed;
  }
}

TEST(ModifierStrings, EaseCurveIsSlowAtBothEnds) {
  const std::pair<double, double> points[] = {{0, 0}, {0.25, 0.1464}, {0.5, 0.5}, {0.75, 0.8536}, {1, 1}};
  for (const auto& [t, eased] : points) EXPECT_NEAR(KRAnimationEaseInOut(t), eased, 5e-5) << t;
}

}  // namespace
