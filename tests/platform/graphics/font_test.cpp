#include "platform/graphics/font.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/graphics/attributed_string.h"
#include "text_test_support.h"

namespace platform {
namespace {

class FontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::fontsInstalled({{"DejaVuSans", "fonts-dejavu-core"},
                                         {"DejaVuSans-Bold", "fonts-dejavu-core"},
                                         {"DejaVuSans-BoldOblique", "fonts-dejavu-core"},
                                         {"DejaVuSansCondensed", "fonts-dejavu-extra"},
                                         {"DejaVuSansCondensed-Bold", "fonts-dejavu-extra"},
                                         {"DejaVuSans-ExtraLight", "fonts-dejavu-extra"}}));
  }
};

TEST_F(FontTest, FamilyNamesMatchWhateverTheCaseAndSpacing) {
  for (const char* name : {"DejaVu Sans", "dejavu sans", "DejaVuSans"}) {
    const std::optional<Font> font = Font::withName(name, 14);
    ASSERT_TRUE(font) << name;
    EXPECT_EQ(font->familyName(), "DejaVu Sans");
    EXPECT_EQ(font->fontName(), "DejaVuSans");
    EXPECT_EQ(font->pointSize(), 14);
  }
}

TEST_F(FontTest, PostScriptNamesGiveFamilyAndStyle) {
  const std::pair<const char*, const char*> cases[] = {
      {"DejaVuSans-Bold", "DejaVuSans-Bold"},
      {"DejaVuSans-BoldOblique", "DejaVuSans-BoldOblique"},
      {"DejaVuSans-Regular", "DejaVuSans"},
      {"DejaVuSansCondensed-Bold", "DejaVuSans-CondensedBold"},
      {"DejaVuSans-ExtraLight", "DejaVuSans-ExtraLight"},
  };
  for (const auto& [name, expected] : cases) {
    const std::optional<Font> font = Font::withName(name, 10);
    ASSERT_TRUE(font) << name;
    EXPECT_EQ(font->familyName(), "DejaVu Sans") << name;
    EXPECT_EQ(font->fontName(), expected);
  }
  // The longest family wins: "DejaVuSansMono" is its own family, not DejaVu Sans with a style "Mono".
  if (testing::familyInstalled("DejaVu Sans Mono")) {
    EXPECT_EQ(Font::withName("DejaVuSansMono-Bold", 10)->familyName(), "DejaVu Sans Mono");
  }
}

TEST_F(FontTest, UnknownNamesGiveNothing) {
  for (const char* name : {"NoSuchFamily", "NoSuchFamily-Bold", "DejaVuSans-Fancy", "DejaVuSansFancy", "", "-Bold"}) {
    EXPECT_FALSE(Font::withName(name, 12)) << name;
  }
}

TEST_F(FontTest, SizesThatAreNotPositiveMeanTwelve) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const double size : {0.0, -3.0, nan}) {
    EXPECT_EQ(Font::withName("DejaVu Sans", size)->pointSize(), 12);
    EXPECT_EQ(Font::systemFont(size).pointSize(), 12);
  }
  EXPECT_EQ(Font::systemFont(1e300).pointSize(), Font::kLargestSize) << "kept within what FreeType can draw";
  EXPECT_EQ(Font::systemFont(9).withSize(30).pointSize(), 30);
}

TEST_F(FontTest, StyleAndSizeChangeWhatIsMeasured) {
  auto width = [](const Font& font) {
    TextAttributes attributes;
    attributes.font = font;
    return AttributedString("Wide words here", attributes).size().width;
  };
  const Font regular = *Font::withName("DejaVuSans", 20);
  EXPECT_GT(width(*Font::withName("DejaVuSans-Bold", 20)), width(regular) * 1.05);
  EXPECT_LT(width(*Font::withName("DejaVuSansCondensed", 20)), width(regular) * 0.95);
  // Unhinted metrics scale with the size.
  EXPECT_NEAR(width(regular.withSize(40)), 2 * width(regular), 0.01 * width(regular));
}

TEST(Font, UnknownFontsFallBackToTheSystemFontOfTheSameSize) {
  const Font fallback = Font::withName("Helvetica-NoSuchStyle", 17).value_or(Font::systemFont(17));
  EXPECT_EQ(fallback, Font::systemFont(17));
  // A string without a font attribute uses the system font at 12 points.
  TextAttributes twelve;
  twelve.font = Font::systemFont(12);
  EXPECT_EQ(AttributedString("Fallback").size(), AttributedString("Fallback", twelve).size());
  EXPECT_NE(Font::systemFont(12), Font::boldSystemFont(12));
}

}  // namespace
}  // namespace platform
