#include "platform/graphics/font.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

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

// fc-match's family for a list of families at a CSS weight and slant; a "-" in a name escaped as its patterns need.
std::string fcMatchList(const std::vector<std::string>& families, int weight, bool slanted) {
  std::string pattern;
  for (const std::string& family : families) {
    if (!pattern.empty()) pattern += ',';
    for (const char c : family) pattern += c == '-' ? std::string("\\-") : std::string(1, c);
  }
  return fcMatch(pattern + ":weight=" + std::to_string(FcWeightFromOpenType(weight)) +
                 (slanted ? ":slant=100" : ":slant=0"));
}

TEST(Font, ListsOfFamiliesMatchAsFcMatchMatchesThem) {
  if (fcMatch("sans").empty()) GTEST_SKIP() << "fc-match (fontconfig) is not installed";
  const std::vector<std::string> pool = {"Times New Roman", "Arial",      "Georgia",    "Courier",  "DejaVu Serif",
                                         "DejaVu Sans Mono", "sans-serif", "serif",      "monospace", "NoSuchFace",
                                         "Helvetica",        "Verdana",    "Nimbus Roman", "cursive",  "Other Face"};
  const unsigned seed = ::testing::UnitTest::GetInstance()->random_seed();
  std::printf("seed %u\n", seed);
  std::mt19937 random(seed);
  for (int test = 0; test < 40; ++test) {
    std::vector<std::string> families(1 + random() % 5);
    for (std::string& family : families) family = pool[random() % pool.size()];
    const int weight = std::array{300, 400, 700}[random() % 3];
    const bool slanted = random() % 2 == 1;
    const std::string drawn = Font::matchedFamilies(families, weight, slanted).drawn;
    EXPECT_EQ(drawn, fcMatchList(families, weight, slanted))
        << ::testing::PrintToString(families) << " weight " << weight << (slanted ? " slanted" : "");
  }
  // In a long list the family that decides is found: the first families, `count` nobody has, then the last ones.
  const auto list = [](std::vector<std::string> first, int count, const std::vector<std::string>& last) {
    for (int i = 0; i < count; ++i) first.push_back("No Face " + std::to_string(i));
    first.insert(first.end(), last.begin(), last.end());
    return first;
  };
  const struct {
    std::vector<std::string> families;
    std::size_t deciding;
    std::vector<std::string> asFcMatchOf;  // a short list fc-match draws alike
  } cases[] = {
      {list({}, 10000, {"DejaVu Serif"}), 10000, {"DejaVu Serif"}},
      {list({}, 10000, {"Times New Roman"}), 10000, {"Times New Roman"}},
      // A family whose generic one fontconfig adds at the end, after the others of a later slice.
      {list({}, 600, {"Georgia", "Gone", "Missing"}), 600, {"Georgia"}},
      {list({"Arial"}, 700, {"Georgia"}), 0, {"Arial", "Georgia"}},
  };
  for (const auto& c : cases) {
    const FamilyMatch match = Font::matchedFamilies(c.families, 400, false);
    EXPECT_EQ(match.drawn, fcMatchList(c.asFcMatchOf, 400, false)) << c.families.back();
    EXPECT_EQ(match.family, c.deciding) << c.families.back();
  }
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
