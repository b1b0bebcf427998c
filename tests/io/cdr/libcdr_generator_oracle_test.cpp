// The drawing generator beside libcdr's own SVG generator (the one cdr2xhtml writes its pages with), driven by the
// same calls: our page read into records and drawn, theirs drawn by rsvg-convert.

#include <gtest/gtest.h>
#include <librevenge-generators/librevenge-generators.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "../../platform/core/scratch_folder.h"
#include "cdr_test_support.h"
#include "document/CMDocument.h"
#include "io/cdr/CDR2SVG.h"
#include "io/cdr/CMSVGDrawingGenerator.h"
#include "io/import/CMDrawingImport.h"
#include "io/svg/VDSVGParser.h"
#include "svg_test_support.h"

namespace {

using cdr_testing::lengths;

struct Page {
  const char* name;
  std::function<void(librevenge::RVNGDrawingInterface&)> draw;
};

void PrintTo(const Page& page, std::ostream* out) { *out << page.name; }

class BesideLibcdrsGenerator : public ::testing::TestWithParam<Page> {};

// A page 3 inches square, 216 points: the calls of one drawing inside it.
void drawPage(librevenge::RVNGDrawingInterface& generator, const Page& page) {
  generator.startDocument({});
  generator.startPage(lengths({{"svg:width", {3}}, {"svg:height", {3}}}));
  librevenge::RVNGPropertyList style;
  style.insert("draw:fill", "solid");
  style.insert("draw:fill-color", "#c02040");
  style.insert("draw:stroke", "none");
  generator.setStyle(style);
  page.draw(generator);
  generator.endPage();
  generator.endDocument();
}

void text(librevenge::RVNGDrawingInterface& generator, librevenge::RVNGPropertyList box, const char* characters) {
  generator.startTextObject(box);
  generator.openParagraph({});
  librevenge::RVNGPropertyList span = lengths({{"fo:font-size", {40, librevenge::RVNG_POINT}}});
  span.insert("style:font-name", "DejaVu Sans");
  span.insert("fo:color", "#102080");
  generator.openSpan(span);
  generator.insertText(characters);
  generator.closeSpan();
  generator.closeParagraph();
  generator.endTextObject();
}

// At most 1 % of the pixels differ by more than 48 of 255, 3 % where glyphs are drawn: Pango lays out ours with
// unhinted metrics.
TEST_P(BesideLibcdrsGenerator, DrawsThePageAsRsvgConvertDrawsTheirs) {
  cdr_testing::OwnTemporaryFolder folders;
  librevenge::RVNGStringVector theirPages, ourPages;
  librevenge::RVNGSVGDrawingGenerator theirs(theirPages, "svg");
  CMSVGDrawingGenerator ours(ourPages, "svg");
  drawPage(theirs, GetParam());
  drawPage(ours, GetParam());
  ASSERT_EQ(theirPages.size(), 1u);
  ASSERT_EQ(ourPages.size(), 1u);

  platform::testing::ScratchFolder scratch;
  const std::filesystem::path file = scratch / "theirs.svg", png = scratch / "theirs.png";
  std::ofstream(file, std::ios::binary) << theirPages[0].cstr();
  ASSERT_EQ(std::system(("rsvg-convert -w 216 -h 216 -o " + png.string() + " " + file.string()).c_str()), 0);
  const std::optional<svg_testing::WhitePicture> theirPicture = svg_testing::WhitePicture::fromPng(png);
  ASSERT_TRUE(theirPicture);

  CMDocument document;
  VDSVGParser reader;
  const std::string page = xhtmlDrawingPage(ourPages);
  const platform::ArrayRef records = reader.parseSVG(platform::Bytes(page.begin(), page.end()), document);
  ASSERT_FALSE(reader.failure());
  svg_testing::clearPage(document, 216, 216);
  appendLayers(document, records);
  const std::optional<svg_testing::WhitePicture> ourPicture = svg_testing::drawnPage(document, 1);
  ASSERT_TRUE(ourPicture);
  const double differing = ourPicture->differingShare(*theirPicture, 48);
  std::printf("%s: %.2f %% of the pixels differ\n", GetParam().name, differing * 100);
  EXPECT_LE(differing, std::string(GetParam().name).find("Text") != std::string::npos ? 0.02 : 0.01)
      << theirPages[0].cstr() << "\n" << ourPages[0].cstr();
}

INSTANTIATE_TEST_SUITE_P(
    Pages, BesideLibcdrsGenerator,
    ::testing::Values(
        Page{"TurnedEllipses",
             [](librevenge::RVNGDrawingInterface& generator) {
               for (const double angle : {30.0, -70.0}) {
                 librevenge::RVNGPropertyList ellipse =
                     lengths({{"svg:cx", {1.5}}, {"svg:cy", {1.5}}, {"svg:rx", {1.3}}, {"svg:ry", {0.4}}});
                 ellipse.insert("librevenge:rotate", angle);
                 generator.drawEllipse(ellipse);
               }
             }},
        Page{"TextBoxes",
             [](librevenge::RVNGDrawingInterface& generator) {
               text(generator, lengths({{"svg:x", {0.2}}, {"svg:y", {0.2}}, {"svg:width", {2.5}},
                                        {"svg:height", {0.5}}}), "Title");
               text(generator, lengths({{"svg:x", {0.2}}, {"svg:y", {1}}, {"svg:width", {2}}, {"svg:height", {1}}}),
                    "Box");
             }},
        Page{"TurnedText",
             [](librevenge::RVNGDrawingInterface& generator) {
               librevenge::RVNGPropertyList box =
                   lengths({{"svg:x", {0.5}}, {"svg:y", {1}}, {"svg:width", {2}}, {"svg:height", {0.5}}});
               box.insert("librevenge:rotate", 40.0);
               text(generator, box, "Turned");
             }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
