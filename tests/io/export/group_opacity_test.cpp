// A group's own opacity on white, worked out by hand: its members composited as one (overlapping squares do not show
// through one another), groups inside one another multiplying however deep, an opaque group unchanged and a hidden
// one absent; drawn by the PNG export, by the PDF export read back by poppler, by the SVG export read back by
// rsvg-convert and by the canvas in a window.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "canvas_page.h"
#include "document/CMCaches.h"
#include "export_tools.h"
#include "io/export/CMPNGOutputFormat.h"
#include "io/export/CMSVGOutputFormat.h"
#include "io/export/CMVectorOutputFormats.h"
#include "platform/core/user_defaults.h"

namespace {

using namespace export_testing;

class GroupOpacity : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::UserDefaults::standardUserDefaults().setBool(false, "show_ruler");
    setPage(document_, 400, 300, 255, 255, 255, 255);
    addLayer(document_, group(0.5, {rectangleRecord(2, {20, 20, 80, 80}, 255, 0, 0),
                                    rectangleRecord(3, {60, 60, 80, 80}, 0, 0, 255)}));
    addLayer(document_, group(0.5, {group(0.5, {rectangleRecord(4, {200, 20, 60, 60}, 255, 0, 0)})}));
    addLayer(document_, group(1, {rectangleRecord(5, {20, 180, 60, 60}, 255, 0, 0)}));
    DictRef hidden = group(0.5, {rectangleRecord(6, {200, 180, 60, 60}, 255, 0, 0)});
    hidden->set("visible", false);
    addLayer(document_, hidden);
    DictRef deep = rectangleRecord(7, {300, 20, 60, 60}, 0, 0, 0);
    for (int depth = 0; depth < 16; ++depth) deep = group(0.9, {deep});
    addLayer(document_, deep);
  }

  // The canvas keeps its layer images by the records' ids, which other tests' drawings use too.
  void TearDown() override { CMCaches::sharedCaches().clean(); }

  DictRef group(double alpha, std::initializer_list<platform::Value> members) {
    DictRef record = document_.createGroup();
    record->set("alpha", alpha);
    for (const platform::Value& member : members) record->array("items")->add(member);
    return record;
  }

  // Each channel within 3 of the colour worked out by hand, at the places each part of the page shows.
  static void expectOracles(const Picture& picture, const char* what) {
    ASSERT_FALSE(picture.rgba.empty()) << what;
    struct Spot {
      int x, y;
      double r, g, b;
      const char* part;
    };
    const Spot spots[] = {{40, 40, 255, 127.5, 127.5, "red alone at half"},
                          {80, 80, 127.5, 127.5, 255, "blue over red at half, not through it"},
                          {120, 120, 127.5, 127.5, 255, "blue alone at half"},
                          {230, 50, 255, 191.25, 191.25, "half of half"},
                          {50, 210, 255, 0, 0, "an opaque group"},
                          {230, 210, 255, 255, 255, "a hidden group"},
                          {330, 50, 207.75, 207.75, 207.75, "black under sixteen groups at 0.9: 0.9^16 of it"}};
    for (const Spot& spot : spots) {
      const double expected[] = {spot.r, spot.g, spot.b};
      for (int c = 0; c < 3; ++c) {
        EXPECT_LE(std::abs(picture.onWhite(spot.x, spot.y, c) - expected[c]), 3)
            << what << ", " << spot.part << ", channel " << c << ": " << picture.onWhite(spot.x, spot.y, c);
      }
    }
  }

  document_testing::ScratchFolders folders_;
  platform::testing::ScratchFolder scratch_;
  CMDocument document_;
};

TEST_F(GroupOpacity, PngPdfSvgAndCanvasCompositeEachGroupOnce) {
  const platform::Expected<platform::Bytes> png = CMPNGOutputFormat().generate(document_);
  ASSERT_TRUE(png.ok());
  writeBytes(scratch_ / "export.png", png.value());
  expectOracles(readPicture(scratch_ / "export.png"), "PNG export");

  const platform::Expected<platform::Bytes> pdf = CMPDFOutputFormat().generate(document_);
  ASSERT_TRUE(pdf.ok());
  writeBytes(scratch_ / "export.pdf", pdf.value());
  ASSERT_TRUE(run("pdftoppm -r 72 -png -singlefile " + (scratch_ / "export.pdf").string() + " " +
                  (scratch_ / "pdf").string()));
  expectOracles(readPicture(scratch_ / "pdf.png"), "PDF export");

  const platform::Expected<platform::Bytes> svg = CMSVGOutputFormat().generate(document_);
  ASSERT_TRUE(svg.ok());
  writeBytes(scratch_ / "export.svg", svg.value());
  ASSERT_TRUE(run("rsvg-convert -o " + (scratch_ / "svg.png").string() + " " + (scratch_ / "export.svg").string()));
  expectOracles(readPicture(scratch_ / "svg.png"), "SVG export");

  expectOracles(canvasPage(document_, scratch_), "canvas");
}

}  // namespace
