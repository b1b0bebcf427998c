// Text layers: measuring, anchors, margins, the style's attributes and drawing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "document/CMTextLayer.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/rect_functions.h"
#include "style_canvas.h"

namespace {

using platform::Dictionary;
using platform::DictRef;
using platform::Rect;
using platform::Size;

DictRef colorRecord(double r, double g, double b, double a) {
  return Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", a}});
}

DictRef textRecord(const char* text, DictRef style) {
  return Dictionary::make({{"text", text}, {"style", std::move(style)}});
}

void expectColor(const platform::Color& color, double r, double g, double b, double a) {
  EXPECT_NEAR(color.red(), r, 1e-6);
  EXPECT_NEAR(color.green(), g, 1e-6);
  EXPECT_NEAR(color.blue(), b, 1e-6);
  EXPECT_NEAR(color.alpha(), a, 1e-6);
}

std::optional<platform::Font> dejaVu(double size) { return platform::Font::withName("DejaVu Sans", size); }

// The size the platform measures for the text in the font alone.
Size measured(const char* text, const platform::Font& font) {
  platform::TextAttributes attributes;
  attributes.font = font;
  return platform::AttributedString(text, attributes).size();
}

TEST(TextLayerBounds, EmptyTextIsTwoHundredWide) {
  CMTextLayer layer(textRecord("", Dictionary::make()), 1);
  EXPECT_EQ(layer.layerRect().size.width, 200);
  EXPECT_GT(layer.layerRect().size.height, 0);
  EXPECT_EQ(layer.originalTextSize(), layer.layerRect().size);
  EXPECT_EQ(layer.originalSize(), layer.layerRect().size);
}

TEST(TextLayerBounds, MeasuredSizeUnlessWidthOrHeightGiven) {
  const auto font = dejaVu(24);
  if (!font) GTEST_SKIP() << "DejaVu Sans is not installed";
  const Size expected = measured("Hello", *font);
  ASSERT_GT(expected.width, 0);
  DictRef style = Dictionary::make({{"fontName", "DejaVu Sans"}, {"fontSize", 24}});
  DictRef record = textRecord("Hello", style);
  record->set("width", 0);
  record->set("height", 0);
  CMTextLayer measuredLayer(record, 1);
  EXPECT_NEAR(measuredLayer.layerRect().size.width, expected.width, 1e-9);
  EXPECT_NEAR(measuredLayer.layerRect().size.height, expected.height, 1e-9);

  record->set("width", 120);
  CMTextLayer widthLayer(record, 1);
  EXPECT_EQ(widthLayer.layerRect().size.width, 120);
  EXPECT_NEAR(widthLayer.layerRect().size.height, expected.height, 1e-9);
  // The drawing surface keeps the measured size.
  EXPECT_NEAR(widthLayer.originalTextSize().width, expected.width, 1e-9);

  record->set("height", 33);
  CMTextLayer bothLayer(record, 1);
  EXPECT_EQ(bothLayer.layerRect().size, (Size{120, 33}));
}

TEST(TextLayerBounds, EndAnchorPutsXAtTheRightEnd) {
  DictRef record = textRecord("Hello world", Dictionary::make({{"fontSize", 20}}));
  record->set("x", 300);
  record->set("y", 40);
  record->set("text-anchor", "end");
  CMTextLayer layer(record, 1);
  const Rect rect = layer.layerRect();
  EXPECT_GT(rect.size.width, 0);
  EXPECT_NEAR(platform::maxX(rect), 300, 1e-4);
  EXPECT_EQ(rect.origin.y, 40);

  record->set("text-anchor", "start");
  CMTextLayer startLayer(record, 1);
  EXPECT_EQ(startLayer.layerRect().origin.x, 300);
}

TEST(TextLayerBounds, ViewZoomScalesOriginAndSize) {
  DictRef record = textRecord("Zoom", Dictionary::make({{"fontSize", 18}}));
  record->set("x", 10.5);
  record->set("y", -4);
  CMTextLayer plain(record, 1);
  CMTextLayer zoomed(record, 3);
  EXPECT_EQ(zoomed.layerRect().origin, (platform::Point{31.5, -12}));
  EXPECT_NEAR(zoomed.layerRect().size.width, 3 * plain.layerRect().size.width, 1e-3);
  EXPECT_NEAR(zoomed.layerRect().size.height, 3 * plain.layerRect().size.height, 1e-3);
  EXPECT_NEAR(zoomed.originalTextSize().width, 3 * plain.originalTextSize().width, 1e-3);
}

TEST(TextLayerBounds, PlainConstructionMeasuresNothing) {
  CMTextLayer layer(textRecord("Hello", Dictionary::make()));
  EXPECT_EQ(layer.layerRect(), Rect{});
  EXPECT_TRUE(layer.text().empty());
  layer.updateLayerRect();
  EXPECT_EQ(layer.text(), "Hello");
  EXPECT_GT(layer.layerRect().size.width, 0);
}

TEST(TextLayerBounds, LeavingVectorViewModeResetsBothZooms) {
  DictRef record = textRecord("", Dictionary::make());
  CMTextLayer layer(record, 2);
  EXPECT_EQ(layer.layerRect().size.width, 400);
  layer.setZoom(4);
  layer.setVectorViewMode(false);
  EXPECT_EQ(layer.zoom(), 1);
  EXPECT_EQ(layer.viewZoom(), 1);
  EXPECT_EQ(layer.layerRect().size.width, 200);
}

TEST(TextLayerMargin, ShadowOffsetsAndWholeStrokeWidth) {
  DictRef shadow = Dictionary::make({{"use", true}, {"offset_x", 3}, {"offset_y", -4}, {"blurRadius", 6}});
  DictRef style = Dictionary::make({{"shadow", shadow}, {"strokeWidth", 2.7}});
  DictRef record = textRecord("a", style);
  EXPECT_FLOAT_EQ(CMTextLayer(record, 1).layerOffset(), 9);
  EXPECT_FLOAT_EQ(CMTextLayer(record, 2).layerOffset(), 18);

  shadow->set("use", false);
  EXPECT_FLOAT_EQ(CMTextLayer(record, 1).layerOffset(), 2);
  style->set("strokeWidth", 0.9);
  EXPECT_FLOAT_EQ(CMTextLayer(record, 1).layerOffset(), 0);
  // A negative width fills and strokes but widens nothing.
  style->set("strokeWidth", -3);
  EXPECT_FLOAT_EQ(CMTextLayer(record, 1).layerOffset(), 0);
}

TEST(TextLayerMargin, FramePathGrowsByHalfTheMargin) {
  DictRef style = Dictionary::make({{"strokeWidth", 4}});
  DictRef record = textRecord("", style);
  record->set("x", 10);
  record->set("y", 20);
  record->set("height", 30);
  CMTextLayer layer(record, 1);
  EXPECT_EQ(layer.framePath(false).bounds(), (Rect{8, 18, 204, 34}));

  platform::AffineTransform zoom;
  zoom.scaleBy(2);
  layer.setZoomTransform(zoom);
  EXPECT_EQ(layer.framePath(true).bounds(), (Rect{16, 36, 408, 68}));
  layer.setVectorViewMode(true);
  EXPECT_EQ(layer.framePath(true).bounds(), (Rect{8, 18, 204, 34}));
}

TEST(TextLayerStyle, UnknownFontKeepsItsNameAndIsDrawnWithTheFaceTheSystemMatches) {
  CMTextLayer layer(textRecord("a", Dictionary::make({{"fontName", "NoSuchFace-Regular"}, {"fontSize", 30}})));
  const auto attributes = layer.textAttributes(false);
  ASSERT_TRUE(attributes.font);
  EXPECT_EQ(attributes.font->familyName(), "NoSuchFace");
  EXPECT_EQ(attributes.font->pointSize(), 30);
  // fontconfig draws a family it knows nothing of with the desktop's sans-serif, as the system font is.
  platform::TextAttributes system;
  system.font = platform::Font::systemFont(30);
  EXPECT_EQ(platform::AttributedString("Wide words", attributes).size(),
            platform::AttributedString("Wide words", system).size());
}

TEST(TextLayerStyle, KnownFontIsUsedAndSizeZeroMeansTwelve) {
  if (!dejaVu(12)) GTEST_SKIP() << "DejaVu Sans is not installed";
  CMTextLayer layer(textRecord("a", Dictionary::make({{"fontName", "DejaVu Sans"}, {"fontSize", 0}})));
  const auto font = layer.textAttributes(false).font;
  ASSERT_TRUE(font);
  EXPECT_EQ(font->familyName(), "DejaVu Sans");
  EXPECT_EQ(font->pointSize(), 12);
  CMTextLayer missing(textRecord("a", Dictionary::make()));
  EXPECT_EQ(missing.textAttributes(false).font->pointSize(), 12);
}

TEST(TextLayerStyle, RecordEntriesBecomeAttributes) {
  DictRef style = Dictionary::make({
      {"foregroundColor", colorRecord(255, 0, 51, 255)},
      {"backgroundColor", colorRecord(0, 255, 0, 127.5)},
      {"underlilneStyle", 0x0209},
      {"strikethroughStyle", 2},
      {"strokeWidth", 3.5},
      {"strokeColor", colorRecord(0, 0, 255, 255)},
      {"paragraphStyle", Dictionary::make({{"aligment", 2}})},
  });
  CMTextLayer layer(textRecord("a", style));
  const platform::TextAttributes fill = layer.textAttributes(false);
  expectColor(*fill.foregroundColor, 1, 0, 0.2, 1);
  expectColor(*fill.backgroundColor, 0, 1, 0, 0.5);
  EXPECT_EQ(fill.underlineStyle, 0x0209);
  EXPECT_EQ(fill.strikethroughStyle, 2);
  EXPECT_EQ(fill.paragraphStyle->alignment, platform::TextAlignment::Center);
  EXPECT_EQ(fill.strokeWidth, 0);
  EXPECT_FALSE(fill.shadow);

  const platform::TextAttributes outline = layer.textAttributes(true);
  EXPECT_EQ(outline.strokeWidth, 3.5);
  expectColor(*outline.strokeColor, 0, 0, 1, 1);
}

TEST(TextLayerStyle, MissingColoursAreTransparentAndShadowNeedsUse) {
  DictRef shadow = Dictionary::make({{"offset_x", 2}, {"offset_y", 5}, {"blurRadius", 1}});
  DictRef record = textRecord("a", Dictionary::make({{"shadow", shadow}}));
  CMTextLayer layer(record);
  const platform::TextAttributes attributes = layer.textAttributes(true);
  EXPECT_EQ(attributes.foregroundColor->alpha(), 0);
  EXPECT_EQ(attributes.strokeColor->alpha(), 0);
  EXPECT_FALSE(attributes.shadow);

  shadow->set("use", true);
  layer.setZoom(2);
  const auto used = layer.textAttributes(false).shadow;
  ASSERT_TRUE(used);
  EXPECT_EQ(used->offset, (Size{4, 10}));
  EXPECT_EQ(used->blurRadius, 2);
}

TEST(TextLayerStyle, HostileNumbersStayFinite) {
  DictRef shadow = Dictionary::make({{"use", true}, {"offset_x", 1e300}, {"offset_y", NAN}});
  DictRef style = Dictionary::make({{"shadow", shadow}, {"strokeWidth", 1e300}, {"fontSize", INFINITY}});
  DictRef record = textRecord("x", style);
  record->set("x", NAN);
  record->set("width", 1e300);
  CMTextLayer layer(record, 1);
  EXPECT_TRUE(std::isfinite(layer.layerOffset()));
  EXPECT_TRUE(std::isfinite(layer.layerRect().origin.x));
  EXPECT_TRUE(std::isfinite(layer.layerRect().size.width));
  EXPECT_EQ(layer.textAttributes(true).strokeWidth, 0);
}

// ---- drawing ----

class TextLayerDrawing : public document_testing::StyleCanvasTest {
 protected:
  void SetUp() override {
    if (!dejaVu(40)) GTEST_SKIP() << "DejaVu Sans is not installed";
  }

  static DictRef style(double size) {
    return Dictionary::make(
        {{"fontName", "DejaVu Sans"}, {"fontSize", size}, {"foregroundColor", colorRecord(255, 0, 0, 255)}});
  }

  void drawLayer(CMTextLayer& layer) { layer.drawL(context(), {{0, 0}, layer.layerRect().size}); }

  void canvasClear() {
    context().setFillColor(platform::Color::clearColor());
    context().rectFill({0, 0, kWidth, kHeight});
  }

  bool inked(int x, int y) const { return at(x, y).a > 0; }

  // Canvas rows (user y) holding ink within the columns [x0, x1).
  std::vector<int> inkRows(int x0, int x1) const {
    std::vector<int> rows;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = x0; x < x1; ++x) {
        if (inked(x, y)) {
          rows.push_back(y);
          break;
        }
      }
    }
    return rows;
  }
};

TEST_F(TextLayerDrawing, GlyphsAreDrawnInTheForegroundColour) {
  CMTextLayer layer(textRecord("\u2588", style(40)), 1);
  const Size size = layer.layerRect().size;
  ASSERT_LT(size.width, kWidth);
  ASSERT_LT(size.height, kHeight);
  drawLayer(layer);
  const auto centre = at(size.width / 2, size.height / 2);
  EXPECT_EQ(centre.r, 255);
  EXPECT_EQ(centre.g, 0);
  EXPECT_EQ(centre.a, 255);
  EXPECT_FALSE(inked(static_cast<int>(size.width) + 10, static_cast<int>(size.height / 2)));
}

TEST_F(TextLayerDrawing, ZoomScalesTheDrawing) {
  DictRef record = textRecord("\u2588", style(20));
  CMTextLayer plain(record, 1);
  CMTextLayer layer(record, 2);
  layer.setZoom(2);
  drawLayer(layer);
  const Size unscaled = plain.layerRect().size;
  // The glyph covers about twice its unscaled extent.
  EXPECT_TRUE(inked(static_cast<int>(unscaled.width * 1.5), static_cast<int>(unscaled.height)));
  EXPECT_FALSE(inked(static_cast<int>(unscaled.width * 2) + 3, static_cast<int>(unscaled.height)));
}

TEST_F(TextLayerDrawing, OutlineClipsTheText) {
  DictRef record = textRecord("\u2588\u2588", style(40));
  CMTextLayer measuring(record, 1);
  const Size size = measuring.layerRect().size;
  const double half = size.width / 2;
  record->set("points",
              platform::Array::make({
                  Dictionary::make({{"id", 1}, {"point", "{0, 0}"}, {"type", 1}}),
                  Dictionary::make({{"id", 2}, {"point", platform::stringFromPoint({0, size.height})}, {"type", 2}}),
                  Dictionary::make({{"id", 3}, {"point", platform::stringFromPoint({half, size.height})}, {"type", 2}}),
                  Dictionary::make({{"id", 4}, {"point", platform::stringFromPoint({half, 0})}, {"type", 10}}),
              }));
  CMTextLayer layer(record, 1);
  drawLayer(layer);
  const int middle = static_cast<int>(size.height / 2);
  EXPECT_TRUE(inked(static_cast<int>(half / 2), middle));
  EXPECT_FALSE(inked(static_cast<int>(half * 1.5), middle));
}

TEST_F(TextLayerDrawing, CallerStateIsUnchangedAfterDrawing) {
  DictRef record = textRecord("\u2588", style(40));
  record->set("points", platform::Array::make({
                            Dictionary::make({{"id", 1}, {"point", "{0, 0}"}, {"type", 1}}),
                            Dictionary::make({{"id", 2}, {"point", "{0, 5}"}, {"type", 2}}),
                            Dictionary::make({{"id", 4}, {"point", "{5, 5}"}, {"type", 10}}),
                        }));
  CMTextLayer layer(record, 1);
  const platform::AffineTransform before = context().currentTransform();
  layer.drawL(context(), {0, 0, 50, 60});
  EXPECT_EQ(context().currentTransform(), before);
  // Neither the flip nor the small outline clip remains: a fill reaches every corner.
  context().setFillColor(platform::Color{0, 0, 1, 1});
  context().fillPath(platform::BezierPath::rect({0, 0, kWidth, kHeight}));
  for (const auto& corner : {std::pair{1, 1}, {kWidth - 2, 1}, {1, kHeight - 2}, {kWidth - 2, kHeight - 2}}) {
    EXPECT_EQ(at(corner.first, corner.second).b, 255) << corner.first << "," << corner.second;
  }
}

TEST_F(TextLayerDrawing, UnderlineAndStrikeThroughAddInkBelowAndThroughTheBaseline) {
  // "x" sits on the baseline within the x-height; "d" rises above it. The spaces between
  // them carry only decorations.
  const char* text = "x      d";
  const auto draw = [&](const char* key) {
    DictRef lineStyle = style(40);
    if (key) lineStyle->set(key, 1);
    CMTextLayer layer(textRecord(text, lineStyle), 1);
    ASSERT_LT(layer.layerRect().size.width, kWidth);
    context().saveGraphicsState();
    drawLayer(layer);
    context().restoreGraphicsState();
  };
  draw(nullptr);
  // Columns of the gap: after the last inked column of "x", before the first of "d".
  std::vector<int> inkedColumns;
  for (int x = 0; x < kWidth; ++x) {
    for (int y = 0; y < kHeight; ++y) {
      if (inked(x, y)) {
        inkedColumns.push_back(x);
        break;
      }
    }
  }
  ASSERT_FALSE(inkedColumns.empty());
  int gapStart = -1;
  int gapEnd = -1;
  for (std::size_t i = 1; i < inkedColumns.size(); ++i) {
    if (inkedColumns[i] - inkedColumns[i - 1] > 20) {
      gapStart = inkedColumns[i - 1] + 3;
      gapEnd = inkedColumns[i] - 3;
    }
  }
  ASSERT_GT(gapEnd, gapStart);
  const std::vector<int> xRows = inkRows(inkedColumns.front(), gapStart - 3);
  const std::vector<int> allRows = inkRows(0, kWidth);
  ASSERT_FALSE(xRows.empty());
  const int xLow = xRows.front();
  const int xHigh = xRows.back();
  // The ascender of "d" tells which side of the x-height is above the glyphs (its bowl may
  // overshoot the baseline by a pixel or so).
  const int above = allRows.back() - xHigh;
  const int below = xLow - allRows.front();
  ASSERT_GT(std::abs(above - below), 5);
  const bool ascentUp = above > below;

  const auto gapRows = [&](const char* key) {
    canvasClear();
    draw(key);
    return inkRows(gapStart, gapEnd);
  };
  const std::vector<int> underline = gapRows("underlilneStyle");
  ASSERT_FALSE(underline.empty());
  for (int row : underline) EXPECT_TRUE(ascentUp ? row < xLow : row > xHigh) << row;

  const std::vector<int> strike = gapRows("strikethroughStyle");
  ASSERT_FALSE(strike.empty());
  for (int row : strike) EXPECT_TRUE(row > xLow && row < xHigh) << row;
}

}  // namespace
