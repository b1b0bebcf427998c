#include <gtest/gtest.h>

#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "../platform/core/scratch_folder.h"
#include "canvas/CMThumbView.h"
#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "platform/graphics/graphics_context.h"
#include "ui_test_harness.h"

namespace {

using canvas_testing::colourRecord;
using canvas_testing::documentWith;
using canvas_testing::filledRectangle;
using platform::test::pixelAt;

bool near(const platform::test::Pixel& pixel, int r, int g, int b, int tolerance = 2) {
  return std::abs(pixel.red - r) <= tolerance && std::abs(pixel.green - g) <= tolerance &&
         std::abs(pixel.blue - b) <= tolerance && pixel.alpha == 255;
}

class ThumbViewTest : public canvas_testing::CanvasTest {
 protected:
  // A 200 × 100 page with a red rectangle in its top-left quarter.
  std::shared_ptr<CMDocument> page(platform::DictRef pageColour) {
    return documentWith(200, 100, 1.0f, std::move(pageColour), {filledRectangle(1, {10, 10, 60, 30}, 220, 0, 0)});
  }
  std::shared_ptr<CMThumbView> thumbFor(const std::shared_ptr<CMDocument>& document) {
    auto thumb = std::make_shared<CMThumbView>(platform::Rect{0, 0, 200, 100});
    thumb->setDocument(document);
    return thumb;
  }

  platform::testing::ScratchFolder scratch_;
};

TEST_F(ThumbViewTest, APdfShowsThePageUpright) {
  const std::filesystem::path pdf = scratch_.path() / "page.pdf";
  {
    cairo_surface_t* surface = cairo_pdf_surface_create(pdf.c_str(), 200, 100);
    {
      platform::GraphicsContext context(surface, 100);
      thumbFor(page(colourRecord(0, 0, 255, 255)))->drawPage(context);
    }
    cairo_surface_finish(surface);
    ASSERT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(surface);
  }
  const std::filesystem::path png = scratch_.path() / "page";
  const std::string command = "pdftoppm -png -r 72 -singlefile '" + pdf.string() + "' '" + png.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << "pdftoppm (poppler-utils) must be installed";
  platform::test::ImageSurface image(cairo_image_surface_create_from_png((png.string() + ".png").c_str()));
  ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(image.get()), 200);
  ASSERT_EQ(cairo_image_surface_get_height(image.get()), 100);

  // The rectangle (10, 10)–(70, 40) from the page's top-left, not mirrored to the bottom.
  EXPECT_TRUE(near(pixelAt(image.get(), 40, 25), 220, 0, 0));
  EXPECT_TRUE(near(pixelAt(image.get(), 12, 12), 220, 0, 0));
  EXPECT_TRUE(near(pixelAt(image.get(), 40, 75), 0, 0, 255));
  EXPECT_TRUE(near(pixelAt(image.get(), 150, 25), 0, 0, 255));
  EXPECT_TRUE(near(pixelAt(image.get(), 40, 45), 0, 0, 255));
}

TEST_F(ThumbViewTest, ATransparentPageBecomesWhiteWithoutPatternOrMarks) {
  auto document = page(colourRecord(0, 0, 0, 0));
  auto thumb = thumbFor(document);
  thumb->layers().front()->setSelected(true);  // selection marks belong on screen only
  platform::test::ImageSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 100));
  {
    platform::GraphicsContext context(surface.get(), 100);
    thumb->drawPage(context);
  }
  cairo_surface_flush(surface.get());
  for (const auto& probe : {platform::Point{150, 80}, platform::Point{3, 3}, platform::Point{199, 99}})
    EXPECT_TRUE(near(pixelAt(surface.get(), static_cast<int>(probe.x), static_cast<int>(probe.y)), 255, 255, 255, 0));
  EXPECT_TRUE(near(pixelAt(surface.get(), 40, 25), 220, 0, 0));
  // Just outside the rectangle's corner, where a selection frame and handles would be drawn.
  EXPECT_TRUE(near(pixelAt(surface.get(), 8, 8), 255, 255, 255, 0));
  EXPECT_TRUE(near(pixelAt(surface.get(), 72, 42), 255, 255, 255, 0));
}

}  // namespace
