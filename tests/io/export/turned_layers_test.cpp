// Turned layers are drawn as sharp as their drawing: a rectangle's 1-point outline turned 20° in the raster exports
// and on the canvas at 100, 200 and 400 % has the edge rsvg-convert draws from our own SVG export, and poppler from
// our own PDF export; the effects of a turned layer (opacity, blend mode, shadow, blur) are those of the unturned
// layer turned, which a quarter turn shows pixel for pixel.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

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

// The darkest pixel of the page laid onto white, and how many pixels are darker than a tenth.
std::pair<int, int> edgeOf(const Picture& picture) {
  int peak = 0, pixels = 0;
  for (int p = 0; !picture.rgba.empty() && p < 400 * 300; ++p) {
    int darkness = 0;
    for (int c = 0; c < 3; ++c) darkness = std::max(darkness, 255 - picture.onWhite(p % 400, p / 400, c));
    peak = std::max(peak, darkness);
    pixels += darkness > 25;
  }
  return {peak, pixels};
}

class TurnedLayers : public ::testing::Test {
 protected:
  void SetUp() override { platform::UserDefaults::standardUserDefaults().setBool(false, "show_ruler"); }

  // The export in `name`, read back; with a `command`, the picture it draws of the export (%s) into `name`.png.
  Picture exported(CMBaseOutputFormat&& format, const std::string& name, const std::string& command = {}) {
    const platform::Expected<platform::Bytes> bytes = format.generate(document_);
    if (!bytes.ok()) return ADD_FAILURE() << name, Picture{};
    const std::string file = (scratch_ / name).string();
    writeBytes(file, bytes.value());
    if (command.empty()) return readPicture(file);
    EXPECT_TRUE(run(platform::formatString(command.c_str(), file.c_str(), file.c_str()))) << command;
    return readPicture(file + ".png");
  }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder scratch_;
  CMDocument document_;
};

TEST_F(TurnedLayers, ExportsAndTheCanvasAtEachZoomDrawTheOutlineAsRsvgAndPopplerDoFromOurVectors) {
  for (const double zoom : {1.0, 2.0, 4.0}) {
    // 400 × 300 pixels at the zoom: a 120 × 80 rectangle in the middle, turned 20°, its outline a pixel wide.
    setPage(document_, 400 / zoom, 300 / zoom, 255, 255, 255, 255);
    DictRef record = rectangleRecord(1, {140 / zoom, 110 / zoom, 120 / zoom, 80 / zoom}, 0, 0, 0);
    styled(record, nullptr, paint(0, 0, 0, 1, 1 / zoom));
    record->set("rotate", 20.0f);
    addLayer(document_, record);
    document_.data()->set("zoom", zoom);
    const std::string rsvg = platform::formatString("rsvg-convert -z %g -b white -o ", zoom) + "%s.png %s";
    const auto [peak, pixels] = edgeOf(exported(CMSVGOutputFormat(), "export.svg", rsvg));
    ASSERT_GT(pixels, 500) << "rsvg-convert drew the outline";
    std::vector<std::pair<std::string, Picture>> drawn{
        {"canvas at " + std::to_string(zoom), canvasPage(document_, scratch_)}};
    if (zoom == 1)
      drawn.insert(drawn.end(),
                   {{"PDF", exported(CMPDFOutputFormat(), "export.pdf", "pdftoppm -r 72 -png -singlefile %s %s")},
                    {"PNG", exported(CMPNGOutputFormat(), "export.png")},
                    {"TIFF", exported(CMTIFFOutputFormat(), "export.tiff")},
                    {"BMP", exported(CMBMPOutputFormat(), "export.bmp")},
                    {"GIF", exported(CMGIFOutputFormat(), "export.gif")},
                    {"JPEG", exported(CMJPEGOutputFormat(1), "export.jpg")}});
    for (const auto& [what, picture] : drawn) {
      const auto [drawnPeak, drawnPixels] = edgeOf(picture);
      std::printf("%s: peak %d over %d pixels; rsvg-convert's %d over %d\n", what.c_str(), drawnPeak, drawnPixels,
                  peak, pixels);
      EXPECT_NEAR(drawnPeak, peak, 24) << what;
      EXPECT_NEAR(drawnPixels, pixels, 0.15 * pixels) << what;
    }
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
