#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "canvas_test_support.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace {

using canvas_testing::colourRecord;
using canvas_testing::documentWith;
using canvas_testing::filledRectangle;
using platform::Rect;
using platform::test::Pixel;
using platform::test::pixelAt;

bool near(const Pixel& pixel, int r, int g, int b) {
  return std::abs(pixel.red - r) <= 1 && std::abs(pixel.green - g) <= 1 && std::abs(pixel.blue - b) <= 1 &&
         pixel.alpha == 255;
}

// The frame view fills a 1000 × 800 window, drawn by GTK; a 400 × 300 page sits at (300, 250) at 100 %.
class EditorPixelsTest : public canvas_testing::CanvasTest {
 protected:
  EditorPixelsTest() { settings().setBool(false, "show_ruler"); }

  platform::test::ImageSurface render(const std::shared_ptr<CMDocument>& document) {
    frameView_->setDocument(document);
    platform::test::showAndSettle(window_);
    platform::test::processPendingEvents();
    return platform::test::renderWidget(frameView_->widget());
  }

  platform::Window window_{{1000, 800}};
  std::shared_ptr<CMFrameEditorView> frameView_ = [this] {
    auto view = std::make_shared<CMFrameEditorView>(Rect{0, 0, 1000, 800});
    window_.setContentView(view);
    return view;
  }();
};

TEST_F(EditorPixelsTest, ATransparentPageShowsTheCheckerPattern) {
  const auto image = render(documentWith(400, 300, 1.0f, colourRecord(0, 0, 0, 0)));
  // Inside any 16 × 16 block of the page both squares of the 8-pixel checker show.
  int light = 0;
  int dark = 0;
  for (int y = 300; y < 316; ++y) {
    for (int x = 400; x < 416; ++x) {
      const Pixel pixel = pixelAt(image.get(), x, y);
      light += near(pixel, 255, 255, 255);
      dark += near(pixel, 204, 204, 204);
    }
  }
  EXPECT_EQ(light + dark, 256);
  EXPECT_EQ(light, 128);
  EXPECT_EQ(dark, 128);
}

TEST_F(EditorPixelsTest, AnOpaquePageShowsItsColourAndNoPattern) {
  const auto image = render(documentWith(400, 300, 1.0f, colourRecord(10, 200, 30, 255)));
  for (int y = 300; y < 316; ++y)
    for (int x = 400; x < 416; ++x) ASSERT_TRUE(near(pixelAt(image.get(), x, y), 10, 200, 30)) << x << ", " << y;
  // Page corners: the canvas sits at (300, 250) and draws where it lies.
  EXPECT_TRUE(near(pixelAt(image.get(), 300, 250), 10, 200, 30));
  EXPECT_TRUE(near(pixelAt(image.get(), 699, 549), 10, 200, 30));
  EXPECT_FALSE(near(pixelAt(image.get(), 699, 550), 10, 200, 30));
  EXPECT_FALSE(near(pixelAt(image.get(), 50, 50), 10, 200, 30));  // the margin is not the page
}

TEST_F(EditorPixelsTest, ARectangleLayerAppearsWhereItsRecordSaysAtEachZoom) {
  const auto document = documentWith(400, 300, 1.0f, colourRecord(255, 255, 255, 255),
                                     {filledRectangle(1, {50, 40, 60, 30}, 230, 20, 20)});
  {
    // Page at (300, 250): the rectangle covers x 350–410, y 290–320.
    const auto image = render(document);
    EXPECT_TRUE(near(pixelAt(image.get(), 380, 306), 230, 20, 20));
    EXPECT_TRUE(near(pixelAt(image.get(), 350, 290), 230, 20, 20));
    EXPECT_TRUE(near(pixelAt(image.get(), 409, 319), 230, 20, 20));
    EXPECT_TRUE(near(pixelAt(image.get(), 349, 306), 255, 255, 255));
    EXPECT_TRUE(near(pixelAt(image.get(), 410, 306), 255, 255, 255));
    EXPECT_TRUE(near(pixelAt(image.get(), 380, 320), 255, 255, 255));
  }
  {
    // At 200 % the 800 × 600 page sits at (100, 100): the rectangle covers x 200–320, y 180–240.
    frameView_->zoomIn();
    ASSERT_FLOAT_EQ(frameView_->zoom(), 2.0f);
    const auto image = render(document);
    EXPECT_TRUE(near(pixelAt(image.get(), 260, 211), 230, 20, 20));
    EXPECT_TRUE(near(pixelAt(image.get(), 200, 180), 230, 20, 20));
    EXPECT_TRUE(near(pixelAt(image.get(), 319, 239), 230, 20, 20));
    EXPECT_TRUE(near(pixelAt(image.get(), 199, 211), 255, 255, 255));
    EXPECT_TRUE(near(pixelAt(image.get(), 320, 211), 255, 255, 255));
    EXPECT_TRUE(near(pixelAt(image.get(), 260, 240), 255, 255, 255));
  }
}

}  // namespace
