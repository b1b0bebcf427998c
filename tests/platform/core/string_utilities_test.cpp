#include "platform/core/string_utilities.h"

#include <gtest/gtest.h>

#include <clocale>

namespace platform {
namespace {

TEST(StringUtilities, FormatUsesTheCLocaleAndGrowsPastItsBuffer) {
  EXPECT_EQ(formatString("%s, %.2f%%", "Zoom", 2.5), "Zoom, 2.50%");
  EXPECT_EQ(formatString("templates%03d", 7), "templates007");
  EXPECT_EQ(formatString("%02x%02x%02x", 255, 0, 16), "ff0010");
  std::string longText(1000, 'x');
  EXPECT_EQ(formatString("Undo - %s", longText.c_str()), "Undo - " + longText);
  EXPECT_EQ(formatString("%s", ""), "");
}

TEST(StringUtilities, SplitKeepsEmptyParts) {
  EXPECT_EQ(componentsSeparatedByString("a  b", " "), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(componentsSeparatedByString("", " "), (std::vector<std::string>{""}));
  EXPECT_EQ(componentsSeparatedByString(" x ", " "), (std::vector<std::string>{"", "x", ""}));
  EXPECT_EQ(componentsSeparatedByString("a--b--", "--"), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(componentsSeparatedByString("abc", ""), (std::vector<std::string>{"abc"}));
}

TEST(StringUtilities, LowercaseTouchesOnlyAsciiLetters) {
  EXPECT_EQ(lowercaseString("SVG Ä.PNG"), "svg Ä.png");
}

}  // namespace
}  // namespace platform
