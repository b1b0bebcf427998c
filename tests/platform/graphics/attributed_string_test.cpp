#include "platform/graphics/attributed_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/graphics/graphics_context.h"
#include "../../document/laid_out_text.h"
#include "text_test_support.h"

namespace platform {
namespace {

using testing::Argb;
using testing::inkBox;
using testing::InkBox;
using testing::inkInRow;
using testing::makeArgbSurface;
using testing::pixelAt;
using testing::SurfacePtr;

class AttributedStringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::fontsInstalled({{"DejaVuSans", "fonts-dejavu-core"}}));
  }

  static TextAttributes withFont(double size) {
    TextAttributes attributes;
    attributes.font = Font::withName("DejaVu Sans", size);
    return attributes;
  }

  static TextAttributes aligned(double size, TextAlignment alignment,
                                LineBreakMode mode = LineBreakMode::WordWrapping) {
    TextAttributes attributes = withFont(size);
    attributes.paragraphStyle = ParagraphStyle{alignment, mode};
    return attributes;
  }

  // Draws into a fresh surface through a context of the given orientation.
  static SurfacePtr drawn(const AttributedString& text, const Rect& rect, bool flipped, int width = 200,
                          int height = 100) {
    SurfacePtr surface = makeArgbSurface(width, height);
    GraphicsContext context(surface.get(), height, flipped);
    CurrentContextScope focus(context);
    text.drawInRect(rect);
    return surface;
  }
};

TEST_F(AttributedStringTest, MeasuresTheWidestLineAndTheLinesTogether) {
  const TextAttributes font = withFont(16);
  const Size shortLine = AttributedString("abc", font).size();
  const Size longLine = AttributedString("abcdefgh", font).size();
  const Size both = AttributedString("abc\nabcdefgh\nabc", font).size();
  EXPECT_GT(longLine.width, shortLine.width * 2);
  EXPECT_DOUBLE_EQ(both.width, longLine.width);
  EXPECT_NEAR(both.height, 3 * shortLine.height, 0.01);
  // Runs add up: the same text split into differently coloured runs measures the same.
  AttributedString split("abcd", font);
  TextAttributes red = font;
  red.foregroundColor = Color(1, 0, 0, 1);
  split.append("efgh", red);
  EXPECT_NEAR(split.size().width, longLine.width, 0.01);
  // A line's height is about the font's: DejaVu's ascent plus descent is 1.164 em.
  EXPECT_NEAR(shortLine.height, 16 * 1.164, 1.5);
  // Paragraphs past what one layout holds measure alike.
  std::string many = "abcdefgh";
  for (int i = 0; i < 300; ++i) many += "\nabc";
  const Size manySize = AttributedString(many, font).size();
  EXPECT_DOUBLE_EQ(manySize.width, longLine.width);
  EXPECT_NEAR(manySize.height, 301 * shortLine.height, 0.01);
}

TEST_F(AttributedStringTest, ManyParagraphsAlignAndStackAsInOneLayout) {
  // 150 lines of one "H", then one of ten: not wrapped, centred in a rectangle 200 wide, every line is centred on
  // x 100, each line below the one before.
  std::string text;
  for (int i = 0; i < 150; ++i) text += "H\n";
  text += "HHHHHHHHHH";
  const AttributedString centred(text, aligned(8, TextAlignment::Center, LineBreakMode::Clipping));
  const double lineHeight = AttributedString("H", withFont(8)).size().height;
  const SurfacePtr surface = drawn(centred, {0, 0, 200, 1500}, true, 200, 1500);
  // The ink of the rows of line `line`.
  const auto lineInk = [&](int line) {
    InkBox box;
    for (int y = static_cast<int>(line * lineHeight); y < static_cast<int>((line + 1) * lineHeight); ++y) {
      for (int x = 0; x < 200; ++x) {
        if (pixelAt(surface.get(), x, y).a == 0) continue;
        box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x + 1), std::max(box.y1, y + 1)};
      }
    }
    return box;
  };
  for (const int line : {0, 100, 150}) {
    const InkBox ink = lineInk(line);
    ASSERT_FALSE(ink.empty()) << line;
    EXPECT_NEAR(ink.centreX(), 100, 1.5) << line;
  }
  EXPECT_GT(lineInk(150).x1 - lineInk(150).x0, 8 * (lineInk(0).x1 - lineInk(0).x0));
  // Glyph outlines lie where the glyphs are drawn, the last line's too.
  const Rect outline = centred.glyphOutlines({0, 0, 200, 1500}, true).bounds();
  EXPECT_NEAR(outline.origin.y + outline.size.height, inkBox(surface.get()).y1, 1.0);
}

// Paragraphs past what one layout holds, in either direction, separated by "\n" or "\r\n", stand where one Pango
// layout of the whole text puts each line: a paragraph without a letter of either direction ("123") takes the
// direction of the one before it, in the block before too.
TEST_F(AttributedStringTest, ParagraphBlocksLayOutAsOneLayout) {
  const auto paragraphs = [](int count, const char* text, const char* separator) {
    std::string joined;
    for (int i = 0; i < count; ++i) joined += std::string(text) + separator;
    return joined;
  };
  const char* const hebrew = "\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd";
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"64 right to left, then digits", paragraphs(64, hebrew, "\n") + "123"},
      {"64 right to left in CR LF, then digits", paragraphs(64, hebrew, "\r\n") + "123"},
      {"63 right to left, then digits", paragraphs(63, hebrew, "\n") + "123"},
      {"65 right to left, then digits", paragraphs(65, hebrew, "\n") + "123"},
      {"right to left, a block of digits, then digits", hebrew + std::string("\r\n") + paragraphs(64, "42", "\r\n") +
                                                             "123\r\nabc\r\n7"},
      {"left to right after right to left", paragraphs(64, hebrew, "\n") + paragraphs(64, "abc", "\r\n") + "123"},
      // The first letter of a direction decides for the paragraphs before it, in a later block too.
      {"digits, then right to left in the next block", paragraphs(70, "42", "\n") + hebrew},
  };
  constexpr int kWidth = 500;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const document_testing::LayoutPtr layout = document_testing::layoutOf(c.text, "DejaVu Sans", 12);
    pango_layout_set_width(layout.get(), kWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    PangoRectangle all;
    pango_layout_get_extents(layout.get(), nullptr, &all);
    const int height = (all.y + all.height) / PANGO_SCALE + 2;
    const SurfacePtr surface = drawn(AttributedString(c.text, aligned(12, TextAlignment::Natural)),
                                     {0, 0, kWidth, 1.0 * height}, true, kWidth, height);
    const std::unique_ptr<PangoLayoutIter, decltype(&pango_layout_iter_free)> line(pango_layout_get_iter(layout.get()),
                                                                                   pango_layout_iter_free);
    for (int i = 0;; ++i) {
      PangoRectangle want, logical;
      pango_layout_iter_get_line_extents(line.get(), &want, &logical);
      InkBox got;  // in the line's rows
      for (int y = logical.y / PANGO_SCALE + 1; y < (logical.y + logical.height) / PANGO_SCALE - 1; ++y)
        for (int x = 0; x < kWidth; ++x)
          if (pixelAt(surface.get(), x, y).a > 64) got = {std::min(got.x0, x), y, std::max(got.x1, x + 1), y + 1};
      ASSERT_FALSE(got.empty()) << "line " << i;
      EXPECT_NEAR(got.x0, static_cast<double>(want.x) / PANGO_SCALE, 1.5) << "line " << i;
      EXPECT_NEAR(got.x1, static_cast<double>(want.x + want.width) / PANGO_SCALE, 1.5) << "line " << i;
      if (!pango_layout_iter_next_line(line.get())) break;
    }
  }
}

TEST_F(AttributedStringTest, EmptyTextIsZeroWideAndOneLineHigh) {
  const Size empty = AttributedString().size();
  EXPECT_EQ(empty.width, 0);
  EXPECT_NEAR(empty.height, AttributedString("x").size().height, 0.01);
  EXPECT_EQ(AttributedString("", withFont(30)).size().width, 0);
}

TEST_F(AttributedStringTest, DrawnInkStaysWithinTheMeasuredBox) {
  const AttributedString text("Hxq", withFont(30));
  const Size size = text.size();
  SurfacePtr surface = makeArgbSurface(200, 100);
  GraphicsContext context(surface.get(), 100, false);
  CurrentContextScope focus(context);
  text.drawAtPoint({20, 30});  // bottom-left corner in y-up space: device rows 100 − 30 − height … 70
  const InkBox ink = inkBox(surface.get());
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.x0, 20);
  EXPECT_LE(ink.x1, 20 + std::ceil(size.width) + 1);
  EXPECT_GE(ink.y0, 70 - std::ceil(size.height));
  EXPECT_LE(ink.y1, 70);
  // The ink fills most of the box: capitals to descender.
  EXPECT_GT(ink.y1 - ink.y0, 0.7 * size.height);
}

// A "T" is upright when its top rows (the bar) hold more ink than its bottom rows (the stem).
bool tIsUpright(cairo_surface_t* surface, const InkBox& ink) {
  return inkInRow(surface, ink.y0 + 1) > 2 * inkInRow(surface, ink.y1 - 2);
}

TEST_F(AttributedStringTest, LinesStartAtTheRectanglesTopAndGlyphsStandUpright) {
  const AttributedString text("T", withFont(24));
  const double lineHeight = text.size().height;
  // The rectangle (10, 5)–(110, 45). Unflipped, y-up: its top is y 45, device row 100 − 45 = 55.
  SurfacePtr up = drawn(text, {10, 5, 100, 40}, false);
  const InkBox upInk = inkBox(up.get());
  ASSERT_FALSE(upInk.empty());
  EXPECT_GE(upInk.y0, 55);
  EXPECT_LE(upInk.y1, 55 + lineHeight);
  EXPECT_TRUE(tIsUpright(up.get(), upInk));
  // Flipped: its top is y 5, device row 5.
  SurfacePtr down = drawn(text, {10, 5, 100, 40}, true);
  const InkBox downInk = inkBox(down.get());
  ASSERT_FALSE(downInk.empty());
  EXPECT_GE(downInk.y0, 5);
  EXPECT_LE(downInk.y1, 5 + lineHeight);
  EXPECT_TRUE(tIsUpright(down.get(), downInk));
  // Same glyph, same place within the line.
  EXPECT_EQ(upInk.y0 - 55, downInk.y0 - 5);
  EXPECT_EQ(upInk.x0, downInk.x0);
}

TEST_F(AttributedStringTest, AlignmentPlacesLinesWithinTheWidth) {
  const Rect rect{0, 0, 200, 40};
  const InkBox left = inkBox(drawn(AttributedString("HHHH", aligned(20, TextAlignment::Left)), rect, true).get());
  const InkBox centre = inkBox(drawn(AttributedString("HHHH", aligned(20, TextAlignment::Center)), rect, true).get());
  const InkBox right = inkBox(drawn(AttributedString("HHHH", aligned(20, TextAlignment::Right)), rect, true).get());
  // The "H"s have equal side bearings, so the ink is centred as the line is.
  EXPECT_NEAR(centre.centreX(), 100, 1.5);
  EXPECT_LT(left.x0, 5);
  EXPECT_GT(right.x1, 195);
  EXPECT_EQ(right.x1 - right.x0, left.x1 - left.x0);
  // Clipping mode does not wrap but still centres.
  const InkBox clipped = inkBox(
      drawn(AttributedString("HHHH", aligned(20, TextAlignment::Center, LineBreakMode::Clipping)), rect, true).get());
  EXPECT_NEAR(clipped.centreX(), 100, 1.5);
}

TEST_F(AttributedStringTest, WrapsAtTheWidthClipsToTheRectangleOrTruncates) {
  const std::string words = "one two three four five six seven eight nine ten";
  const double lineHeight = AttributedString("x", withFont(14)).size().height;
  const Rect narrow{10, 10, 80, 200};
  const InkBox wrapped = inkBox(drawn(AttributedString(words, withFont(14)), narrow, true, 200, 300).get());
  EXPECT_GT(wrapped.y1 - wrapped.y0, 3 * lineHeight);
  EXPECT_LE(wrapped.x1, 90);
  // A short rectangle shows only what fits.
  const InkBox cut = inkBox(drawn(AttributedString(words, withFont(14)), {10, 10, 80, 25}, true, 200, 300).get());
  EXPECT_GE(cut.y0, 10);
  EXPECT_LE(cut.y1, 35);
  // Tail truncation keeps one line, ending in an ellipsis within the width.
  const InkBox truncated =
      inkBox(drawn(AttributedString(words, aligned(14, TextAlignment::Left, LineBreakMode::TruncatingTail)), narrow,
                   true, 200, 300)
                 .get());
  EXPECT_LE(truncated.y1 - truncated.y0, lineHeight);
  EXPECT_LE(truncated.x1, 90);
  EXPECT_GT(truncated.x1, 70);
}

// Per row below the baseline of "x" glyphs (which have no descenders): the inked pixels, counted with coverage.
std::vector<double> inkBelow(cairo_surface_t* surface, const InkBox& glyphs, int toRow) {
  std::vector<double> rows;
  for (int y = glyphs.y1; y < toRow; ++y) {
    double ink = 0;
    for (int x = 0; x < cairo_image_surface_get_width(surface); ++x) ink += pixelAt(surface, x, y).a / 255.0;
    rows.push_back(ink);
  }
  return rows;
}

TEST_F(AttributedStringTest, UnderlinesDrawBelowTheGlyphsInTheirStyle) {
  const Rect rect{0, 0, 200, 60};
  const std::string text = "xxxx xxxx";
  const InkBox glyphs = inkBox(drawn(AttributedString(text, withFont(30)), rect, true).get());
  const double width = glyphs.x1 - glyphs.x0;
  auto underlined = [&](int style) {
    TextAttributes attributes = withFont(30);
    attributes.underlineStyle = style;
    const SurfacePtr surface = drawn(AttributedString(text, attributes), rect, true);
    return inkBelow(surface.get(), glyphs, 60);
  };
  auto total = [](const std::vector<double>& rows) {
    double sum = 0;
    for (double row : rows) sum += row;
    return sum;
  };
  // Separate runs of inked rows: the lines drawn.
  auto lines = [&](const std::vector<double>& rows) {
    int count = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      count += rows[i] > 0.3 * width && (i == 0 || rows[i - 1] <= 0.3 * width);
    }
    return count;
  };
  const std::vector<double> single = underlined(underline::kSingle);
  ASSERT_EQ(lines(single), 1);
  // About the whole text wide, and a line about 1/20 of the size thick.
  EXPECT_NEAR(total(single) / width, 30 * 0.044, 0.5);
  EXPECT_NEAR(total(underlined(underline::kThick)), 2 * total(single), 0.25 * total(single));
  EXPECT_EQ(lines(underlined(underline::kDouble)), 2);
  EXPECT_NEAR(total(underlined(underline::kDouble)), 2 * total(single), 0.25 * total(single));
  // A dash pattern of 4 on, 2 off covers two thirds of the width.
  EXPECT_NEAR(total(underlined(underline::kSingle | underline::kPatternDash)), total(single) * 2 / 3,
              0.12 * total(single));
  EXPECT_TRUE(underlined(underline::kPatternDash) == std::vector<double>(single.size(), 0)) << "no line style, no line";

  // By word: nothing under the spaces between the words.
  TextAttributes byWord = withFont(30);
  byWord.underlineStyle = underline::kSingle | underline::kByWord;
  const SurfacePtr words = drawn(AttributedString("xxxx    xxxx", byWord), rect, true);
  const InkBox ink = inkBox(words.get());
  const int middle = static_cast<int>(ink.centreX());
  int belowGap = 0;
  for (int y = glyphs.y1; y < ink.y1; ++y) belowGap += pixelAt(words.get(), middle, y).a;
  EXPECT_EQ(belowGap, 0);
  EXPECT_GT(ink.y1, glyphs.y1);
}

TEST_F(AttributedStringTest, StrikethroughCrossesTheGlyphsMiddle) {
  TextAttributes struck = withFont(30);
  struck.strikethroughStyle = underline::kSingle;
  const Rect rect{0, 0, 200, 60};
  const SurfacePtr plain = drawn(AttributedString("xxxx", withFont(30)), rect, true);
  const SurfacePtr crossed = drawn(AttributedString("xxxx", struck), rect, true);
  const InkBox glyphs = inkBox(plain.get());
  EXPECT_EQ(inkBox(crossed.get()).y1, glyphs.y1) << "nothing below the baseline";
  // Some row in the x-height is inked right across in the struck text only.
  int fullRows = 0;
  for (int y = glyphs.y0; y < glyphs.y1; ++y) {
    const bool full = inkInRow(crossed.get(), y, 128) >= glyphs.x1 - glyphs.x0 - 2;
    EXPECT_FALSE(full && inkInRow(plain.get(), y, 128) >= glyphs.x1 - glyphs.x0 - 2);
    fullRows += full;
  }
  EXPECT_GE(fullRows, 1);
}

TEST_F(AttributedStringTest, StrokeWidthOutlinesOrFillsAndOutlines) {
  // A tall "I" at 100 points: a stem about 13 wide. A stroke of ±3 % draws a 3-unit line along its edges.
  const Rect rect{0, 0, 120, 130};
  TextAttributes base = withFont(100);
  base.foregroundColor = Color(1, 0, 0, 1);
  base.strokeColor = Color(0, 0, 1, 1);
  const SurfacePtr filled = drawn(AttributedString("I", base), rect, true, 120, 130);
  const InkBox stem = inkBox(filled.get(), 128);
  ASSERT_GT(stem.x1 - stem.x0, 8);
  const int cx = static_cast<int>(stem.centreX()), cy = (stem.y0 + stem.y1) / 2;
  EXPECT_EQ(pixelAt(filled.get(), cx, cy), (Argb{255, 255, 0, 0}));

  TextAttributes outline = base;
  outline.strokeWidth = 3;
  const SurfacePtr outlined = drawn(AttributedString("I", outline), rect, true, 120, 130);
  EXPECT_EQ(pixelAt(outlined.get(), cx, cy).a, 0) << "outline only: the inside stays empty";
  EXPECT_EQ(pixelAt(outlined.get(), stem.x0, cy), (Argb{255, 0, 0, 255})) << "the left edge is stroked";
  EXPECT_EQ(pixelAt(outlined.get(), stem.x0 - 3, cy).a, 0) << "1.5 units outside the edge at most";

  TextAttributes both = base;
  both.strokeWidth = -3;
  const SurfacePtr fillAndStroke = drawn(AttributedString("I", both), rect, true, 120, 130);
  EXPECT_EQ(pixelAt(fillAndStroke.get(), cx, cy), (Argb{255, 255, 0, 0}));
  EXPECT_EQ(pixelAt(fillAndStroke.get(), stem.x0, cy), (Argb{255, 0, 0, 255}));
}

TEST_F(AttributedStringTest, BackgroundColourFillsBehindTheLine) {
  TextAttributes attributes = withFont(20);
  attributes.backgroundColor = Color(0, 1, 0, 1);
  const SurfacePtr surface = drawn(AttributedString("x x", attributes), {10, 10, 150, 50}, true);
  const InkBox glyphs = inkBox(drawn(AttributedString("x x", withFont(20)), {10, 10, 150, 50}, true).get());
  // Above the x-height, between the glyphs' tops and the line's top, only background shows.
  EXPECT_EQ(pixelAt(surface.get(), glyphs.x0 + 2, glyphs.y0 - 3), (Argb{255, 0, 255, 0}));
  EXPECT_EQ(pixelAt(surface.get(), 5, 5).a, 0);
}

TEST_F(AttributedStringTest, ShadowAttributeCastsAShadow) {
  TextAttributes attributes = withFont(30);
  attributes.foregroundColor = Color(1, 0, 0, 1);
  attributes.shadow = Shadow{{10, 0}, 0, Color(0, 0, 0, 1)};
  const SurfacePtr surface = drawn(AttributedString("I", attributes), {10, 10, 100, 50}, true);
  const InkBox plain = inkBox(drawn(AttributedString("I", withFont(30)), {10, 10, 100, 50}, true).get(), 128);
  const int y = (plain.y0 + plain.y1) / 2;
  EXPECT_EQ(pixelAt(surface.get(), static_cast<int>(plain.centreX()), y), (Argb{255, 255, 0, 0}));
  EXPECT_EQ(pixelAt(surface.get(), static_cast<int>(plain.centreX()) + 10, y), (Argb{255, 0, 0, 0}));
}

TEST_F(AttributedStringTest, GlyphOutlinesLieWhereTheGlyphsAreDrawn) {
  const AttributedString text("T", withFont(40));
  const Rect rect{10, 5, 100, 60};
  for (const bool flipped : {false, true}) {
    const SurfacePtr surface = drawn(text, rect, flipped);
    const InkBox ink = inkBox(surface.get(), 128);
    const BezierPath outline = text.glyphOutlines(rect, flipped);
    ASSERT_FALSE(outline.isEmpty());
    const Rect bounds = outline.bounds();
    // Device rows from user y: flipped contexts map y to the row, unflipped ones to 100 − y.
    const double top = flipped ? bounds.origin.y : 100 - (bounds.origin.y + bounds.size.height);
    EXPECT_NEAR(bounds.origin.x, ink.x0, 1.0) << flipped;
    EXPECT_NEAR(bounds.origin.x + bounds.size.width, ink.x1, 1.0) << flipped;
    EXPECT_NEAR(top, ink.y0, 1.0) << flipped;
    EXPECT_NEAR(top + bounds.size.height, ink.y1, 1.0) << flipped;
    // The bar of the T is inside the path near the glyph's top, the corners beside the stem are not.
    const double barY = flipped ? bounds.origin.y + 2 : bounds.origin.y + bounds.size.height - 2;
    const double footY = flipped ? bounds.origin.y + bounds.size.height - 2 : bounds.origin.y + 2;
    EXPECT_TRUE(outline.containsPoint({bounds.origin.x + 2, barY})) << flipped;
    EXPECT_FALSE(outline.containsPoint({bounds.origin.x + 2, footY})) << flipped;
  }
}

TEST_F(AttributedStringTest, HostileInputDrawsNothingOrSafely) {
  SurfacePtr surface = makeArgbSurface(50, 50);
  const AttributedString broken(std::string("ab\xff\xfe\0cd", 7), withFont(12));
  EXPECT_GT(broken.size().width, 0);
  EXPECT_TRUE(broken.glyphOutlines({0, 0, std::nan(""), 10}, false).isEmpty());
  broken.drawInRect({0, 0, 50, 50});  // no current context: nothing happens
  GraphicsContext context(surface.get(), 50, false);
  CurrentContextScope focus(context);
  broken.drawInRect({0, 0, -5, 50});
  broken.drawInRect({0, 0, INFINITY, 50});
  EXPECT_TRUE(inkBox(surface.get()).empty());
  broken.drawInRect({0, 0, 50, 50});
  EXPECT_FALSE(inkBox(surface.get()).empty());
  // Absurd sizes are drawn (clipped to the surface) without overflowing anything.
  TextAttributes huge = withFont(1e9);
  huge.strokeWidth = -5;
  huge.underlineStyle = underline::kDouble;
  AttributedString("W", huge).drawInRect({-1e12, -1e12, 2e12, 2e12});
  AttributedString("W", withFont(12)).drawInRect({1e300, 0, 1e300, 50});
  // Glyphs too large for FreeType once scaled by the CTM are left out rather than break the context.
  context.scaleCTM(1000, 1000);
  AttributedString("W", huge).drawInRect({-1e6, -1e6, 2e6, 2e6});
  EXPECT_EQ(cairo_status(context.cairo()), CAIRO_STATUS_SUCCESS);
}

}  // namespace
}  // namespace platform
