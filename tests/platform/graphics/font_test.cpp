#include "platform/graphics/font.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <string>

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

// The family fontconfig's own command matches to a pattern ("Arial:bold").
std::string fcMatch(const std::string& pattern) {
  const std::unique_ptr<FILE, decltype(&pclose)> out(
      popen(("fc-match -f '%{family[0]}' '" + pattern + "' 2>/dev/null").c_str(), "r"), pclose);
  char buffer[256] = {};
  return out && std::fgets(buffer, sizeof buffer, out.get()) ? buffer : "";
}

TEST(Font, FamiliesNotInstalledKeepTheirNamesAndDrawAsFontconfigMatchesThem) {
  if (fcMatch("sans").empty()) GTEST_SKIP() << "fc-match (fontconfig) is not installed";
  const struct {
    const char* name;  // as a record holds it
    const char* family;
    const char* pattern;  // fc-match's
    const char* fontName;
  } cases[] = {{"Times New Roman", "Times New Roman", "Times New Roman", "Times New Roman"},
               {"Arial-Bold", "Arial", "Arial:bold", "Arial-Bold"},
               {"NoSuchFamily", "NoSuchFamily", "NoSuchFamily", "NoSuchFamily"},
               {"Georgia-Italic", "Georgia", "Georgia:italic", "Georgia-Italic"}};
  for (const auto& c : cases) {
    const Font font = Font::matching(c.name, 20);
    EXPECT_EQ(font.familyName(), c.family);
    EXPECT_EQ(font.fontName(), c.fontName);
    const std::string drawn = fcMatch(c.pattern);
    EXPECT_EQ(font.drawnFamilyName(), drawn) << c.name;
    // Measured as the installed family's face of that weight and slant is.
    TextAttributes ours, theirs;
    ours.font = font;
    theirs.font = Font::face(drawn, font.weight(), font.slanted(), 20);
    ASSERT_TRUE(theirs.font) << drawn;
    EXPECT_EQ(AttributedString("Wide words", ours).size(), AttributedString("Wide words", theirs).size()) << c.name;
  }
  EXPECT_EQ(Font::matching("", 20), Font::systemFont(20));
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
