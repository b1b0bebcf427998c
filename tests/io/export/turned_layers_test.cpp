// Turned layers are drawn as sharp as their drawing: a rectangle's 1-point outline turned 20° in the raster exports
// and on the canvas at 100, 200 and 400 % has the edge rsvg-convert draws from our own SVG export, and poppler from
// our own PDF export, where the layer is drawn as vectors; and the effects of a turned layer (opacity, blend mode,
// shadow, blur) are those of the unturned layer turned, which a quarter turn shows pixel for pixel.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "canvas_page.h"
#include "export_tools.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMRasterOutputFormats.h"
#include "io/export/CMSVGOutputFormat.h"
#include "io/export/CMVectorOutputFormats.h"
#include "platform/core/string_utilities.h"
#include "platform/core/user_defaults.h"

namespace {

using namespace export_testing;
using platform::Dictionary;
using platform::DictRef;

// The darkest pixel of the page and how many pixels are darker than a tenth, laid onto white.
struct Edge {
  int peak = 0;
  int pixels = 0;
};
Edge edgeOf(const Picture& picture) {
  Edge edge;
  for (int p = 0; !picture.rgba.empty() && p < 400 * 300; ++p) {
    int darkness = 0;
    for (int c = 0; c < 3; ++c) darkness = std::max(darkness, 255 - picture.onWhite(p % 400, p / 400, c));
    edge.peak = std::max(edge.peak, darkness);
    edge.pixels += darkness > 25;
  }
  return edge;
}

class TurnedLayers : public ::testing::Test {
 protected:
  void SetUp() override { platform::UserDefaults::standardUserDefaults().setBool(false, "show_ruler"); }

  // A page of 400 × 300 pixels at `zoom`: a 120 × 80 rectangle with a black outline one point wide, all scaled
  // down by the zoom, turned 20°, in the middle. The outline is a pixel wide at every zoom.
  void outlinedRectangle(double zoom) {
    setPage(document_, 400 / zoom, 300 / zoom, 255, 255, 255, 255);
    DictRef record = rectangleRecord(1, {140 / zoom, 110 / zoom, 120 / zoom, 80 / zoom}, 0, 0, 0);
    styled(record, nullptr, paint(0, 0, 0, 1, 1 / zoom));
    record->set("rotate", 20.0f);
    addLayer(document_, record);
    document_.data()->set("zoom", zoom);
  }

  Picture exported(CMBaseOutputFormat&& format, const std::string& name) {
    const platform::Expected<platform::Bytes> bytes = format.generate(document_);
    EXPECT_TRUE(bytes.ok()) << name;
    if (!bytes.ok()) return {};
    writeBytes(scratch_ / name, bytes.value());
    return readPicture(scratch_ / name);
  }
  // An outside reader's drawing of our vector export into `name`.png: rsvg-convert's of the SVG export at the
  // zoom, poppler's of the PDF export, where the turned layer is drawn as vectors.
  Picture drawnBy(CMBaseOutputFormat&& format, const std::string& name, const std::string& command) {
    exported(std::move(format), name);
    const std::string file = (scratch_ / name).string();
    EXPECT_TRUE(run(platform::formatString(command.c_str(), file.c_str(), file.c_str()))) << command;
    return readPicture(file + ".png");
  }
  static void expectSharpAs(const Edge& drawn, const Edge& expected, const std::string& what) {
    std::printf("%s: peak %d over %d pixels; expected peak %d over %d\n", what.c_str(), drawn.peak, drawn.pixels,
                expected.peak, expected.pixels);
    EXPECT_NEAR(drawn.peak, expected.peak, 24) << what;
    EXPECT_NEAR(drawn.pixels, expected.pixels, 0.15 * expected.pixels) << what;
  }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder scratch_;
  CMDocument document_;
};

TEST_F(TurnedLayers, ExportsAndTheCanvasAtEachZoomDrawTheOutlineAsRsvgAndPopplerDoFromOurVectors) {
  for (const double zoom : {1.0, 2.0, 4.0}) {
    outlinedRectangle(zoom);
    const Edge rsvg = edgeOf(drawnBy(CMSVGOutputFormat(), "export.svg",
                                     platform::formatString("rsvg-convert -z %g -b white -o ", zoom) + "%s.png %s"));
    ASSERT_GT(rsvg.pixels, 500) << "rsvg-convert drew the outline";
    expectSharpAs(edgeOf(canvasPage(document_, scratch_)), rsvg, "canvas at " + std::to_string(zoom));
    if (zoom != 1) continue;
    expectSharpAs(edgeOf(drawnBy(CMPDFOutputFormat(), "export.pdf", "pdftoppm -r 72 -png -singlefile %s %s")), rsvg,
                  "the PDF export through poppler");
    expectSharpAs(edgeOf(exported(CMPNGOutputFormat(), "export.png")), rsvg, "PNG");
    expectSharpAs(edgeOf(exported(CMTIFFOutputFormat(), "export.tiff")), rsvg, "TIFF");
    expectSharpAs(edgeOf(exported(CMBMPOutputFormat(), "export.bmp")), rsvg, "BMP");
    expectSharpAs(edgeOf(exported(CMGIFOutputFormat(), "export.gif")), rsvg, "GIF");
    expectSharpAs(edgeOf(exported(CMJPEGOutputFormat(1), "export.jpg")), rsvg, "JPEG");
  }
}

// A translucent red rectangle multiplied onto a blue-grey page, with a shadow and a blur, as the PNG export draws it
// unturned and turned a quarter: the turned picture is the unturned one turned about the rectangle's centre.
TEST_F(TurnedLayers, AQuarterTurnTurnsOpacityBlendShadowAndBlurWithTheLayer) {
  const auto picture = [&](float degrees, bool blurred) {
    setPage(document_, 400, 300, 200, 220, 240, 255);
    DictRef record = rectangleRecord(1, {150, 120, 100, 60}, 230, 30, 30);
    record->set("alpha", 0.6);
    record->set("blending_mode", 1);  // multiply
    const DictRef shape = record->dictionary("shape");
    shape->set("shadow", Dictionary::make({{"use", true}, {"blurRadius", 4.0}, {"offset_x", 9.0}, {"offset_y", -5.0},
                                           {"color", Dictionary::make({{"r", 0}, {"g", 0}, {"b", 0}, {"a", 255}})},
                                           {"alpha", 0.8}}));
    if (blurred) shape->set("blur", Dictionary::make({{"amount", 0.1}}));
    record->set("rotate", degrees);
    addLayer(document_, record);
    return exported(CMPNGOutputFormat(), "quarter.png");
  };
  for (const bool blurred : {false, true}) {
    const Picture unturned = picture(0, blurred), turned = picture(90, blurred);
    ASSERT_FALSE(unturned.rgba.empty() || turned.rgba.empty());
    // A pixel (x, y) of the unturned picture goes to (349 − y, x − 50) about the centre (200, 150).
    int differing = 0, shadowed = 0;
    for (int y = 50; y < 250; ++y)
      for (int x = 100; x < 300; ++x) {
        int worst = 0;
        for (int c = 0; c < 3; ++c)
          worst = std::max(worst, std::abs(unturned.onWhite(x, y, c) - turned.onWhite(349 - y, x - 50, c)));
        differing += worst > 4;
        shadowed += unturned.onWhite(x, y, 2) < 150;
      }
    EXPECT_GT(shadowed, 1000) << "the layer and its shadow are drawn";
    EXPECT_LT(differing, 40) << (blurred ? "blurred" : "sharp");
  }
}

}  // namespace
