// Pictures stand upright: one picture with a marked corner, as image layers unflipped and with each flip and as the
// image fill of each draw type, drawn by the canvas in a window, by the PNG export and by the PDF export, each beside
// rsvg-convert drawing the same PNG through SVG <image> elements placed as the layers place it.

#include <gtest/gtest.h>

#include <glib.h>

#include <string>
#include <vector>

#include "canvas_page.h"
#include "export_tools.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMVectorOutputFormats.h"
#include "platform/core/string_utilities.h"
#include "platform/core/user_defaults.h"

namespace {

using namespace export_testing;
using platform::Dictionary;
using platform::DictRef;

constexpr int kPageWidth = 400;
constexpr int kPageHeight = 300;

// 40 × 30: red at the top left, green at the top right, blue at the bottom left, yellow at the bottom right, as rows
// run from the top of the file.
platform::Bytes markedPicture() {
  constexpr int width = 40, height = 30;
  std::shared_ptr<cairo_surface_t> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                                           cairo_surface_destroy);
  cairo_t* cr = cairo_create(surface.get());
  const double colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
  for (int quadrant = 0; quadrant < 4; ++quadrant) {
    cairo_set_source_rgb(cr, colours[quadrant][0], colours[quadrant][1], colours[quadrant][2]);
    cairo_rectangle(cr, quadrant % 2 * width / 2.0, quadrant / 2 * height / 2.0, width / 2.0, height / 2.0);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  platform::Bytes png;
  cairo_surface_write_to_png_stream(
      surface.get(),
      [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<platform::Bytes*>(closure)->insert(static_cast<platform::Bytes*>(closure)->end(), data,
                                                      data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  return png;
}

struct Placement {
  const char* what;
  DictRef record;
  std::string svg;  // the same picture placed by SVG
};

class PictureOrientation : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UserDefaults::standardUserDefaults().setBool(false, "show_ruler");
    const platform::Bytes png = markedPicture();
    gchar* encoded = g_base64_encode(png.data(), png.size());
    href_ = std::string("data:image/png;base64,") + encoded;
    g_free(encoded);
    setPage(document_, kPageWidth, kPageHeight, 255, 255, 255, 255);
    // Image layers, 40 × 30, unflipped and with each flip, along the top.
    const std::pair<bool, bool> flips[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (int i = 0; i < 4; ++i) {
      const int x = 20 + 60 * i, y = 20;
      DictRef image = document_.createObject("image", {static_cast<double>(x), static_cast<double>(y)});
      image->set("image", png);
      image->set("width", 40.0);
      image->set("height", 30.0);
      image->set("flip_h", flips[i].first);
      image->set("flip_v", flips[i].second);
      addLayer(document_, image);
      const std::string mirror =
          platform::formatString("translate(%d %d) scale(%d %d)", x + (flips[i].first ? 40 : 0),
                                 y + (flips[i].second ? 30 : 0), flips[i].first ? -1 : 1, flips[i].second ? -1 : 1);
      svg_ += "<image width='40' height='30' preserveAspectRatio='none' transform='" + mirror + "' xlink:href='" +
              href_ + "'/>\n";
    }
    // Rectangles of 80 × 50 filled with the picture: stretched, centred at its own size, fitted to the far corner.
    const char* aspects[] = {"none", "xMidYMid slice", "xMaxYMax meet"};
    for (int drawType = 0; drawType < 3; ++drawType) {
      const int x = 20 + 110 * drawType, y = 100;
      DictRef rect = document_.createObject("rect", {static_cast<double>(x), static_cast<double>(y)});
      rect->set("width", 80.0);
      rect->set("height", 50.0);
      const DictRef shape = rect->dictionary("shape");
      shape->set("points", platform::Array::make({document_testing::pointRecord(1, {0, 0}, 1),
                                                  document_testing::pointRecord(2, {0, 50}, 2),
                                                  document_testing::pointRecord(4, {80, 50}, 2),
                                                  document_testing::pointRecord(5, {80, 0}, 10)}));
      shape->set("fill", Dictionary::make({{"use", true}, {"type", 2}, {"image", png}, {"image_draw_type", drawType}}));
      shape->dictionary("stroke")->set("use", false);
      addLayer(document_, rect);
      // Centred at its own size, the picture is the middle 40 × 30 of the box.
      const std::string box = drawType == 1
                                  ? platform::formatString("x='%d' y='%d' width='40' height='30'", x + 20, y + 10)
                                  : platform::formatString("x='%d' y='%d' width='80' height='50'", x, y);
      svg_ += "<image " + box + " preserveAspectRatio='" + aspects[drawType] + "' xlink:href='" + href_ + "'/>\n";
    }
  }

  // rsvg-convert's picture of the same placements on a white page.
  Picture reference() {
    const std::string file = (scratch_ / "reference.svg").string();
    std::ofstream(file) << "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                           "width='400' height='300'><rect width='400' height='300' fill='white'/>\n"
                        << svg_ << "</svg>\n";
    EXPECT_TRUE(run("rsvg-convert -o " + file + ".png " + file));
    return readPicture(file + ".png");
  }

  // The share of pixels of the pictures' places whose colour differs from the reference by more than 64.
  static double differing(const Picture& drawn, const Picture& expected) {
    if (drawn.rgba.empty() || expected.rgba.empty()) return 1;
    int differing = 0, all = 0;
    for (int y = 20; y < 150; ++y) {
      for (int x = 20; x < 340; ++x) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
          worst = std::max(worst, std::abs(drawn.onWhite(x, y, c) - expected.onWhite(x, y, c)));
        }
        differing += worst > 64;
        ++all;
      }
    }
    return static_cast<double>(differing) / all;
  }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder scratch_;
  CMDocument document_;
  std::string href_;
  std::string svg_;
};

TEST_F(PictureOrientation, CanvasPngAndPdfShowThePictureAsRsvgDoes) {
  const Picture expected = reference();
  ASSERT_FALSE(expected.rgba.empty());
  // The marks are where the SVG puts them: red at the top left of the unflipped layer.
  EXPECT_GT(expected.onWhite(25, 25, 0), 200);
  EXPECT_LT(expected.onWhite(25, 25, 2), 50);

  // The PNG export.
  const platform::Expected<platform::Bytes> png = CMPNGOutputFormat().generate(document_);
  ASSERT_TRUE(png.ok());
  writeBytes(scratch_ / "export.png", png.value());
  EXPECT_LT(differing(readPicture(scratch_ / "export.png"), expected), 0.02) << "PNG export";

  // The PDF export, read back by poppler.
  const platform::Expected<platform::Bytes> pdf = CMPDFOutputFormat().generate(document_);
  ASSERT_TRUE(pdf.ok());
  writeBytes(scratch_ / "export.pdf", pdf.value());
  ASSERT_TRUE(run("pdftoppm -r 72 -png -singlefile " + (scratch_ / "export.pdf").string() + " " +
                  (scratch_ / "pdf").string()));
  EXPECT_LT(differing(readPicture(scratch_ / "pdf.png"), expected), 0.02) << "PDF export";

  // The canvas in a window, its pixels read back.
  EXPECT_LT(differing(canvasPage(document_, scratch_), expected), 0.02) << "canvas";
}

}  // namespace
