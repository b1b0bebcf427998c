#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "canvas/VDRulerView.h"
#include "canvas_test_support.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace {

using platform::Rect;

struct Labelled {
  double position;
  std::string text;
  bool operator==(const Labelled&) const = default;
};

std::vector<Labelled> labelsOf(const VDRulerView& ruler) {
  std::vector<Labelled> labels;
  for (const VDRulerTick& tick : ruler.ticks())
    if (tick.label) labels.push_back({tick.position, *tick.label});
  return labels;
}

// A 400 × 300 page at 100 % with rulers: the frame view is 480 × 380, so the page's top-left corner lies at (40, 40)
// of the frame view, which the scroll view shows through a 300 × 200 window.
class CanvasRulersTest : public canvas_testing::CanvasTest {
 protected:
  CanvasRulersTest() {
    settings().setBool(true, "show_ruler");
    settings().setInteger(0, "unit_index");
    scrollView_->setDocumentView(frameView_);
    window_.setContentView(scrollView_);
    frameView_->awakeFromNib();
    frameView_->setDocument(canvas_testing::plainDocument());
    frameView_->setFrameSize(frameView_->getCanvasSize());
    scrollView_->tile();
  }

  platform::Window window_{{300, 200}};
  std::shared_ptr<platform::ScrollView> scrollView_ = std::make_shared<platform::ScrollView>(Rect{0, 0, 300, 200});
  std::shared_ptr<CMFrameEditorView> frameView_ = std::make_shared<CMFrameEditorView>(Rect{0, 0, 100, 100});
};

TEST_F(CanvasRulersTest, TheRulersAreInstalledShownAndFollowTheCanvas) {
  ASSERT_NE(frameView_->horizontalRuler(), nullptr);
  EXPECT_EQ(scrollView_->horizontalRulerView(), frameView_->horizontalRuler());
  EXPECT_EQ(scrollView_->verticalRulerView(), frameView_->verticalRuler());
  EXPECT_TRUE(scrollView_->rulersVisible());
  EXPECT_EQ(frameView_->editor().frame(), (Rect{40, 40, 400, 300}));
  EXPECT_EQ(frameView_->horizontalRuler()->originOffset(), 40);
  EXPECT_EQ(frameView_->verticalRuler()->originOffset(), 40);
  EXPECT_EQ(frameView_->horizontalRuler()->editorRect(), (Rect{40, 40, 400, 300}));
}

TEST_F(CanvasRulersTest, TheVerticalRulerCountsDownFromThePagesTopEdgeWhileScrolled) {
  // Scrolled down by 30: the page's top edge (frame y 40) shows 10 below the top of the visible area.
  scrollView_->scrollToPoint({0, 30});
  const VDRulerView& ruler = *frameView_->verticalRuler();
  EXPECT_DOUBLE_EQ(ruler.pageOrigin(), 10);
  // Ticks every 10 points; the first labelled major tick is the page top, the next 60 points lower, and so on.
  const auto labels = labelsOf(ruler);
  ASSERT_GE(labels.size(), 2u);
  EXPECT_EQ(labels[0], (Labelled{10, "0"}));
  EXPECT_EQ(labels[1], (Labelled{70, "60"}));

  // Scrolled past the page top, the ruler begins inside the page: 50 points of page are above the band's top.
  scrollView_->scrollToPoint({0, 90});
  EXPECT_DOUBLE_EQ(ruler.pageOrigin(), -50);
  EXPECT_EQ(labelsOf(ruler).at(0), (Labelled{10, "60"}));
}

TEST_F(CanvasRulersTest, TheHorizontalRulerCountsRightFromThePagesLeftEdgeAtTheZoom) {
  const VDRulerView& ruler = *frameView_->horizontalRuler();
  EXPECT_DOUBLE_EQ(ruler.pageOrigin(), 40);
  EXPECT_EQ(labelsOf(ruler).at(0), (Labelled{0, "-40"}));
  EXPECT_EQ(labelsOf(ruler).at(1), (Labelled{60, "20"}));

  frameView_->zoomIn();  // 200 %: the frame view grows to 880 × 680, the page still sits at (40, 40)
  frameView_->setFrameSize(frameView_->getCanvasSize());
  EXPECT_FLOAT_EQ(ruler.zoom(), 2.0f);
  scrollView_->scrollToPoint({40, 0});
  EXPECT_DOUBLE_EQ(ruler.pageOrigin(), 0);
  // Page zero at the band's start, labels at 0, 80 and 160 pixels: 0, 40 and 80 points.
  const auto labels = labelsOf(ruler);
  ASSERT_GE(labels.size(), 3u);
  EXPECT_EQ(labels[0], (Labelled{0, "0"}));
  EXPECT_EQ(labels[1], (Labelled{80, "40"}));
  EXPECT_EQ(labels[2], (Labelled{160, "80"}));
}

TEST_F(CanvasRulersTest, UnitsFollowTheSettingAndAnUnknownIndexKeepsTheUnit) {
  EXPECT_EQ(frameView_->horizontalRuler()->measurementUnits(), "Points");
  settings().setInteger(2, "unit_index");
  frameView_->updateRules();
  EXPECT_EQ(frameView_->horizontalRuler()->measurementUnits(), "Inches");
  EXPECT_EQ(frameView_->verticalRuler()->measurementUnits(), "Inches");
  settings().setInteger(4, "unit_index");
  frameView_->updateRules();
  EXPECT_EQ(frameView_->verticalRuler()->measurementUnits(), "Inches");
  settings().setInteger(3, "unit_index");
  frameView_->updateRules();
  EXPECT_EQ(frameView_->verticalRuler()->measurementUnits(), "Picas");

  settings().setBool(false, "show_ruler");
  frameView_->updateRules();
  EXPECT_FALSE(scrollView_->rulersVisible());
}

TEST_F(CanvasRulersTest, CentimetresAreSeventyTwoOverTwoPointFiveFourPointsLong) {
  settings().setInteger(1, "unit_index");
  frameView_->updateRules();
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  const double centimetre = 72 / 2.54;
  // At 100 %: every label names the centimetres from the page's left edge at its place.
  VDRulerView& ruler = *frameView_->horizontalRuler();
  const auto atFull = labelsOf(ruler);
  ASSERT_GE(atFull.size(), 3u);
  for (const Labelled& label : atFull) {
    const double centimetres = (label.position - 40) / centimetre;
    EXPECT_NEAR(centimetres, std::round(centimetres), 1e-6) << label.text;
    EXPECT_EQ(label.text, std::to_string(static_cast<int>(std::round(centimetres))));
  }
  // At 200 % with the page's edge at the band's start: a label every centimetre, a shorter tick at every half.
  frameView_->zoomIn();
  frameView_->setFrameSize(frameView_->getCanvasSize());
  scrollView_->scrollToPoint({40, 0});
  platform::test::processPendingEvents();
  const auto atDouble = labelsOf(ruler);
  ASSERT_GE(atDouble.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(atDouble[i].position, 2 * centimetre * static_cast<double>(i), 1e-6);
    EXPECT_EQ(atDouble[i].text, std::to_string(i));
  }
  // The band as drawn: the full tick of "1" at 56.7 pixels, the half tick at 28.3 shorter, none between them.
  const auto image = platform::test::renderWidget(ruler.widget());
  const auto tickRows = [&](int x) {
    int rows = 0;
    for (int y = 0; y < static_cast<int>(VDRulerView::kThickness); ++y) {
      const platform::test::Pixel pixel = platform::test::pixelAt(image.get(), x, y);
      rows += pixel.red == 100 && pixel.green == 100 && pixel.blue == 100 && pixel.alpha == 255 ? 1 : 0;
    }
    return rows;
  };
  const int whole = std::max(tickRows(56), tickRows(57));
  const int half = std::max(tickRows(28), tickRows(29));
  EXPECT_GT(whole, half);
  EXPECT_GT(half, 1);
  EXPECT_LE(std::max(tickRows(42), tickRows(43)), 1);
}

TEST_F(CanvasRulersTest, TheBandShowsTicksInTheTickColour) {
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  platform::test::processPendingEvents();
  const auto image = platform::test::renderWidget(frameView_->horizontalRuler()->widget());
  // The labelled tick 20 points into the page (ruler x 60) runs from the line along the band across to the band's
  // far edge, drawn without antialiasing on the pixel column the pointer reads 60 on.
  const auto isTick = [&](int x, int y) {
    const platform::test::Pixel pixel = platform::test::pixelAt(image.get(), x, y);
    return pixel.red == 100 && pixel.green == 100 && pixel.blue == 100 && pixel.alpha == 255;
  };
  for (int y = 12; y < static_cast<int>(VDRulerView::kThickness) - 1; ++y)
    EXPECT_TRUE(isTick(60, y) && !isTick(59, y)) << y;
  EXPECT_FALSE(isTick(59, 8) || isTick(60, 8));  // ticks start below the baseline
  // Between ticks, below the baseline, the band is only the faint fill.
  EXPECT_LT(platform::test::pixelAt(image.get(), 65, 15).alpha, 255);
}

TEST_F(CanvasRulersTest, TheNumbersStandClearAboveTheLineAlongTheBandInAFirmGrey) {
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  platform::test::processPendingEvents();
  auto& ruler = *frameView_->horizontalRuler();
  ASSERT_FALSE(labelsOf(ruler).empty());
  const auto image = platform::test::renderWidget(ruler.widget());
  const int width = static_cast<int>(ruler.frame().size.width);
  const int thickness = static_cast<int>(VDRulerView::kThickness);
  // The ticks and the line along the band are drawn without antialiasing in exactly their grey.
  const auto isLine = [&](int x, int y) {
    const platform::test::Pixel pixel = platform::test::pixelAt(image.get(), x, y);
    return pixel.red == 100 && pixel.green == 100 && pixel.blue == 100 && pixel.alpha == 255;
  };
  int lineRow = -1;
  for (int y = 0; y < thickness && lineRow < 0; ++y) {
    int run = 0;
    for (int x = 0; x < width; ++x) run += isLine(x, y) ? 1 : 0;
    if (run > width * 9 / 10) lineRow = y;
  }
  ASSERT_GE(lineRow, 0) << "no line along the band";
  int ink = 0;
  int lowestInk = -1;
  int darkest = 255;
  for (int y = 0; y < thickness; ++y) {
    for (int x = 0; x < width; ++x) {
      const platform::test::Pixel pixel = platform::test::pixelAt(image.get(), x, y);
      // The band's fill is all but transparent: what covers it more is ink.
      if (pixel.alpha < 128 || isLine(x, y)) continue;
      ++ink;
      lowestInk = std::max(lowestInk, y);
      darkest = std::min(darkest, pixel.red);
    }
  }
  EXPECT_GT(ink, 20);
  EXPECT_LT(lowestInk, lineRow) << "the line runs through the numbers";
  EXPECT_LE(darkest, 80) << "the numbers are too faint to read";
}

}  // namespace
