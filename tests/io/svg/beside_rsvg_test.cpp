// Small SVG drawings imported and drawn by the PNG output format beside rsvg-convert's drawing of the same file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "../../platform/core/scratch_folder.h"
#include "document_test_support.h"
#include "io/import/CMDrawingImport.h"
#include "svg_test_support.h"

namespace {

struct Drawing {
  const char* name;
  // The elements inside a 200 × 200 "svg".
  std::string content;
};

void PrintTo(const Drawing& drawing, std::ostream* out) { *out << drawing.name; }

class BesideRsvg : public ::testing::TestWithParam<Drawing> {};

// At most 1 % of the pixels differ by more than 48 of 255, the feature corpus's rule.
TEST_P(BesideRsvg, DrawsWhatRsvgConvertDraws) {
  const std::string svg = std::string("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/"
                                      "xlink' width='200' height='200'>") +
                          GetParam().content + "</svg>";
  document_testing::ScratchFolders folders;
  platform::testing::ScratchFolder scratch;
  const std::filesystem::path file = scratch / "drawing.svg", png = scratch / "drawing.png";
  std::ofstream(file, std::ios::binary) << svg;
  ASSERT_EQ(std::system(("rsvg-convert -o " + png.string() + " " + file.string()).c_str()), 0);
  const std::optional<svg_testing::WhitePicture> theirs = svg_testing::WhitePicture::fromPng(png);
  ASSERT_TRUE(theirs);

  CMDocument document;
  svg_testing::clearPage(document, 200, 200);
  ASSERT_FALSE(importSVGData(document, svg_testing::bytesOf(svg)).records->empty());
  document.data()->set("width", 200);
  document.data()->set("height", 200);
  const std::optional<svg_testing::WhitePicture> ours = svg_testing::drawnPage(document, 1);
  ASSERT_TRUE(ours);
  const double differing = ours->differingShare(*theirs, 48);
  EXPECT_LE(differing, 0.01) << svg;
}

const char kStops[] = "<stop offset='0' stop-color='rgb(255, 0, 0)'/><stop offset='1' stop-color='#00f'/>";

INSTANTIATE_TEST_SUITE_P(
    Gradients, BesideRsvg,
    ::testing::Values(
        Drawing{"RgbStopsAndStopOpacity",
                "<linearGradient id='g'><stop offset='0.2' stop-color='rgb(0,128,0)'/>"
                "<stop offset='0.8' stop-color='yellow' stop-opacity='0.25'/></linearGradient>"
                "<rect x='10' y='10' width='180' height='180' fill='url(#g)'/>"},
        Drawing{"DiagonalOnAWideBox",
                std::string("<linearGradient id='g' x1='0' y1='0' x2='1' y2='1'>").append(kStops).append(
                    "</linearGradient><rect x='10' y='50' width='180' height='90' fill='url(#g)'/>")},
        Drawing{"UserSpaceTurnedAndMoved",
                std::string("<linearGradient id='g' gradientUnits='userSpaceOnUse' x1='20' y1='0' x2='120' y2='0' "
                            "gradientTransform='rotate(30 70 0)'>").append(kStops).append(
                    "</linearGradient><rect x='0' y='0' width='100' height='120' fill='url(#g)' "
                    "transform='translate(40 30) scale(1.2 1)'/>")},
        Drawing{"RadialCentreAndRadius",
                std::string("<radialGradient id='g' cx='0.3' cy='60%' r='0.35'>").append(kStops).append(
                    "</radialGradient><rect x='20' y='20' width='160' height='160' fill='url(#g)'/>")},
        Drawing{"LinearTakesRadialStopsAndRadialTakesNoLinearLine",
                std::string("<radialGradient id='r' cx='0.2'>").append(kStops).append(
                    "</radialGradient><linearGradient id='l' xlink:href='#r' y2='1'/>"
                    "<radialGradient id='r2' xlink:href='#l'/>"
                    "<rect x='10' y='10' width='85' height='180' fill='url(#l)'/>"
                    "<rect x='105' y='10' width='85' height='180' fill='url(#r2)'/>")},
        Drawing{"GradientStroke",
                std::string("<linearGradient id='g' x2='0' y2='1'>").append(kStops).append(
                    "</linearGradient><rect x='40' y='40' width='120' height='120' fill='none' "
                    "stroke='url(#g)' stroke-width='30'/>")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
