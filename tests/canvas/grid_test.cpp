#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "canvas/CMEditorView.h"
#include "canvas_test_support.h"
#include "../platform/graphics/graphics_test_canvas.h"

namespace {

using canvas_testing::colourRecord;
using canvas_testing::documentWith;
using platform::Rect;

constexpr int kMinorGrey = 148;
constexpr int kMajorGrey = 128;

// The grid of a canvas drawn alone onto a transparent image of the canvas's size, as the canvas draws (flipped).
class GridTest : public canvas_testing::CanvasTest {
 protected:
  void setGrid(std::int64_t spacing, std::int64_t tickCount, bool shown = true) {
    settings().setBool(shown, "show_grid");
    settings().setObject(platform::Dictionary::make({{"spacing", spacing}, {"tick_count", tickCount}}), "grid");
  }

  // Draws the grid of a page of `width` × `height` document units at `zoom`.
  std::unique_ptr<platform::testing::GraphicsCanvas> draw(double width, double height, float zoom) {
    const int pixelsWide = static_cast<int>(width * zoom);
    const int pixelsHigh = static_cast<int>(height * zoom);
    auto canvas = std::make_shared<CMEditorView>(Rect{0, 0, double(pixelsWide), double(pixelsHigh)});
    canvas->setDocument(documentWith(width, height, zoom, colourRecord(255, 255, 255, 255)));
    canvas->setZoom(zoom);
    auto image = std::make_unique<platform::testing::GraphicsCanvas>(pixelsWide, pixelsHigh, true);
    canvas->drawGrid(image->context());
    return image;
  }

  static bool isGrey(const platform::testing::Pixel& pixel, int grey) {
    return pixel.a == 255 && pixel.r == grey && pixel.g == grey && pixel.b == grey;
  }
  static bool isBlank(const platform::testing::Pixel& pixel) { return pixel.a == 0; }

  // The rows in which column x shows the given grey, and the columns in which row y shows it.
  static std::set<int> rowsOf(const platform::testing::GraphicsCanvas& image, int x, int height, int grey) {
    std::set<int> rows;
    for (int y = 0; y < height; ++y)
      if (isGrey(image.at(x, y), grey)) rows.insert(y);
    return rows;
  }
  static std::set<int> columnsOf(const platform::testing::GraphicsCanvas& image, int y, int width, int grey) {
    std::set<int> columns;
    for (int x = 0; x < width; ++x)
      if (isGrey(image.at(x, y), grey)) columns.insert(x);
    return columns;
  }
  // Pixels of lines at multiples of `step` up to `last`: a line one pixel wide centred on a pixel edge fills the
  // pixel on one side of that edge, `side` 0 (after it) or -1 (before it).
  static std::set<int> linePixels(int step, int last, int side, int size) {
    std::set<int> pixels;
    for (int at = 0; at <= last; at += step)
      if (at + side >= 0 && at + side < size) pixels.insert(at + side);
    return pixels;
  }
  // Which side a line at `at` filled, from the pixels found: 0 or -1, else 1 (no such line).
  static int sideOf(const std::set<int>& pixels, int at) {
    if (pixels.count(at)) return 0;
    return pixels.count(at - 1) ? -1 : 1;
  }
};

TEST_F(GridTest, MinorDottedLinesEveryTenAndSolidMajorLinesEveryFifty) {
  setGrid(50, 5);
  // 125 × 105 units: major lines at 0, 50 and 100, minor ones every 10 up to 120 and 100.
  const auto image = draw(125, 105, 1.0f);
  // Row 25 and column 25 lie between lines: they cross the other direction's lines only.
  const std::set<int> majorRows = rowsOf(*image, 25, 105, kMajorGrey);
  const std::set<int> majorColumns = columnsOf(*image, 25, 125, kMajorGrey);
  const int rowSide = sideOf(majorRows, 50);
  const int columnSide = sideOf(majorColumns, 50);
  ASSERT_LE(rowSide, 0);
  ASSERT_LE(columnSide, 0);
  EXPECT_EQ(majorRows, linePixels(50, 105, rowSide, 105));
  EXPECT_EQ(majorColumns, linePixels(50, 125, columnSide, 125));

  // Solid major lines across the whole page.
  for (int x = 0; x < 125; ++x) EXPECT_TRUE(isGrey(image->at(x, 50 + rowSide), kMajorGrey)) << x;
  for (int y = 0; y < 105; ++y) EXPECT_TRUE(isGrey(image->at(100 + columnSide, y), kMajorGrey)) << y;

  // Minor lines: the dots alternate, so each minor row shows its grey at column 25 or 26, never both, and the
  // rows between lines show nothing there.
  const std::set<int> minorRows = linePixels(10, 105, rowSide, 105);
  for (int y = 0; y < 105; ++y) {
    if (majorRows.count(y)) continue;
    const bool dotHere = isGrey(image->at(25, y), kMinorGrey);
    const bool dotNext = isGrey(image->at(26, y), kMinorGrey);
    if (minorRows.count(y)) {
      EXPECT_NE(dotHere, dotNext) << "row " << y;
    } else {
      EXPECT_TRUE(isBlank(image->at(25, y)) && isBlank(image->at(26, y))) << "row " << y;
    }
  }
  const std::set<int> minorColumns = linePixels(10, 125, columnSide, 125);
  for (int x = 0; x < 125; ++x) {
    if (majorColumns.count(x)) continue;
    const bool dotHere = isGrey(image->at(x, 25), kMinorGrey);
    const bool dotNext = isGrey(image->at(x, 26), kMinorGrey);
    if (minorColumns.count(x)) {
      EXPECT_NE(dotHere, dotNext) << "column " << x;
    } else {
      EXPECT_TRUE(isBlank(image->at(x, 25)) && isBlank(image->at(x, 26))) << "column " << x;
    }
  }
  // Nothing beyond the last whole step.
  for (int x = 121 + columnSide + 1; x < 125; ++x)
    for (int y = 1; y < 9; ++y) EXPECT_TRUE(isBlank(image->at(x, y + rowSide))) << x << "," << y;
}

TEST_F(GridTest, NoTicksDrawsTheMajorLinesOnly) {
  setGrid(50, 0);
  const auto image = draw(125, 105, 1.0f);
  const std::set<int> majorRows = rowsOf(*image, 25, 105, kMajorGrey);
  EXPECT_EQ(majorRows, linePixels(50, 105, sideOf(majorRows, 50), 105));
  EXPECT_TRUE(rowsOf(*image, 25, 105, kMinorGrey).empty());
  EXPECT_TRUE(columnsOf(*image, 25, 125, kMinorGrey).empty());
}

TEST_F(GridTest, AtTwoHundredPercentTheSpacingDoublesAndLinesStayOnePixelWide) {
  setGrid(50, 5);
  const auto image = draw(125, 105, 2.0f);  // 250 × 210 pixels
  // Row 50 and column 50 lie between lines (at 40 and 60 pixels).
  const std::set<int> majorRows = rowsOf(*image, 50, 210, kMajorGrey);
  const std::set<int> majorColumns = columnsOf(*image, 50, 250, kMajorGrey);
  const int rowSide = sideOf(majorRows, 100);
  const int columnSide = sideOf(majorColumns, 100);
  ASSERT_LE(rowSide, 0);
  ASSERT_LE(columnSide, 0);
  EXPECT_EQ(majorRows, linePixels(100, 210, rowSide, 210));
  EXPECT_EQ(majorColumns, linePixels(100, 250, columnSide, 250));
  std::set<int> minorRows;
  for (int y = 0; y < 210; ++y)
    if (isGrey(image->at(50, y), kMinorGrey) || isGrey(image->at(51, y), kMinorGrey)) minorRows.insert(y);
  std::set<int> expectedMinor = linePixels(20, 210, rowSide, 210);
  for (const int major : majorRows) expectedMinor.erase(major);
  EXPECT_EQ(minorRows, expectedMinor);
  // One pixel wide: the rows beside a major line are empty away from the vertical lines.
  const std::set<int> verticals = linePixels(20, 250, columnSide, 250);
  for (int x = 0; x < 250; ++x) {
    EXPECT_TRUE(isGrey(image->at(x, 100 + rowSide), kMajorGrey)) << x;
    if (verticals.count(x)) continue;
    EXPECT_TRUE(isBlank(image->at(x, 99 + rowSide))) << x;
    EXPECT_TRUE(isBlank(image->at(x, 101 + rowSide))) << x;
  }
}

TEST_F(GridTest, NothingWhenHiddenOrWhenTheSpacingGivesNoStepOrTooCloseALine) {
  struct Case {
    std::int64_t spacing;
    std::int64_t tickCount;
    bool shown;
  };
  // Lines one or two pixels apart would cover the page in grey.
  for (const Case c : {Case{50, 5, false}, Case{0, 5, true}, Case{-10, 2, true}, Case{0, 0, true}, Case{1, 0, true},
                       Case{2, 2, true}, Case{4, 0, true}}) {
    setGrid(c.spacing, c.tickCount, c.shown);
    const float zoom = c.spacing == 4 ? 0.5f : 1.0f;  // 4 units, 2 pixels
    const auto image = draw(60 / zoom, 40 / zoom, zoom);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x) ASSERT_TRUE(isBlank(image->at(x, y))) << c.spacing << " " << x << "," << y;
  }
}

TEST_F(GridTest, MinorLinesTooCloseOnScreenGiveWayToTheMajorOnes) {
  // Minor lines every 2 units are 2 pixels apart at 100 %, 4 at 200 %.
  setGrid(10, 5);
  EXPECT_TRUE(rowsOf(*draw(40, 40, 1.0f), 5, 40, kMinorGrey).empty());
  EXPECT_FALSE(rowsOf(*draw(40, 40, 1.0f), 5, 40, kMajorGrey).empty());
  const auto zoomed = draw(40, 40, 2.0f);
  EXPECT_FALSE(rowsOf(*zoomed, 5, 80, kMinorGrey).empty() && rowsOf(*zoomed, 6, 80, kMinorGrey).empty());
}

TEST_F(GridTest, MoreTicksThanUnitsLeavesTheMajorLines) {
  // A minor step of 3 / 5 = 0 units would never advance: the major lines every 3 units are all there is.
  setGrid(3, 5);
  const auto image = draw(20, 10, 1.0f);
  const std::set<int> majorRows = rowsOf(*image, 1, 10, kMajorGrey);
  const int side = sideOf(majorRows, 3);
  ASSERT_LE(side, 0);
  EXPECT_EQ(majorRows, linePixels(3, 10, side, 10));
  EXPECT_TRUE(rowsOf(*image, 1, 10, kMinorGrey).empty());
}

}  // namespace
