// Small SVG drawings imported and drawn by the PNG output format beside rsvg-convert's drawing of the same file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "../../platform/core/scratch_folder.h"
#include "document_test_support.h"
#include "io/export/CMSVGOutputFormat.h"
#include "io/import/CMDrawingImport.h"
#include "platform/graphics/font.h"
#include "svg_test_support.h"

namespace {

struct Drawing {
  const char* name;
  // The elements inside a 200 × 200 "svg".
  std::string content;
  // Glyphs' edges differ between the two: Pango lays out ours with unhinted metrics.
  double largestDifference = 0.01;
  // The outermost "svg" element's start tag, when not the plain 200 × 200 one.
  const char* root = nullptr;
};

void PrintTo(const Drawing& drawing, std::ostream* out) { *out << drawing.name; }

class BesideRsvg : public ::testing::TestWithParam<Drawing> {};

// The file as rsvg-convert draws it, and as we import it into a page of 200 × 200 and draw that.
struct Drawn {
  std::optional<svg_testing::WhitePicture> theirs, ours;
  platform::ArrayRef records;
};
Drawn drawnBothWays(const std::string& svg) {
  document_testing::ScratchFolders folders;
  platform::testing::ScratchFolder scratch;
  const std::filesystem::path file = scratch / "drawing.svg", png = scratch / "drawing.png";
  std::ofstream(file, std::ios::binary) << svg;
  Drawn drawn;
  if (std::system(("rsvg-convert -o " + png.string() + " " + file.string()).c_str()) == 0) {
    drawn.theirs = svg_testing::WhitePicture::fromPng(png);
  }
  CMDocument document;
  svg_testing::clearPage(document, 200, 200);
  drawn.records = importSVGData(document, svg_testing::bytesOf(svg)).records;
  document.data()->set("width", 200);
  document.data()->set("height", 200);
  drawn.ours = svg_testing::drawnPage(document, 1);
  return drawn;
}

// At most 1 % of the pixels differ by more than 48 of 255, the feature corpus's rule; a little more with text.
TEST_P(BesideRsvg, DrawsWhatRsvgConvertDraws) {
  const std::string root = GetParam().root ? GetParam().root : "<svg width='200' height='200'>";
  const std::string svg = root.substr(0, 4) +
                          " xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink'" +
                          root.substr(4) + GetParam().content + "</svg>";
  const Drawn drawn = drawnBothWays(svg);
  ASSERT_TRUE(drawn.theirs && drawn.ours);
  ASSERT_FALSE(drawn.records->empty());
  const double differing = drawn.ours->differingShare(*drawn.theirs, 48);
  std::printf("%s: %.2f %% of the pixels differ\n", GetParam().name, differing * 100);
  EXPECT_LE(differing, GetParam().largestDifference) << svg;
}

// The faces of lists of families asked about for the first time after 5,000 others are those the system's font
// matching gives them, as rsvg-convert draws them.
TEST(FontLists, AfterManyOthersDrawAsRsvgConvertDrawsThem) {
  for (int i = 0; i < 5000; ++i) platform::Font::matchedFamily("Missing Face " + std::to_string(i), 400, false);
  const std::string root = "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='200' font-size='24'>";
  const Drawn drawn = drawnBothWays(
      root + "<text x='5' y='30' font-family='Times New Roman, Nowhere One'>Roman</text><text x='5' y='60' "
             "font-family='Nowhere Two, serif'>Serif</text><text x='5' y='90' font-family='Nowhere Three, monospace'>"
             "Mono</text><text x='5' y='120' font-family='NoSuchFace, DejaVu Serif, Nowhere Four'>Listed</text>"
             "<text x='5' y='150' font-family='Arial, Nowhere Five' font-weight='bold'>Arial</text></svg>");
  ASSERT_TRUE(drawn.theirs && drawn.ours);
  EXPECT_LE(drawn.ours->differingShare(*drawn.theirs, 48), 0.035);
  const platform::ArrayRef texts = svg_testing::shapesOf(drawn.records);
  // Pango names the generic families "Serif" and "Monospace".
  const char* const expected[] = {"Times New Roman", "Serif", "Monospace", "DejaVuSerif", "Arial-Bold"};
  ASSERT_EQ(texts->size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(texts->at(i).dictionary()->dictionary("style")->get("fontName").string(), expected[i]);
  }
}

// Text layers written by the SVG output format, drawn by rsvg-convert beside our own drawing of the page.
TEST(WrittenText, StandsWhereTheCanvasDrawsIt) {
  document_testing::ScratchFolders folders;
  CMDocument document;
  svg_testing::clearPage(document, 200, 200);
  const auto addText = [&](platform::Point at, const char* text, const char* anchor, float rotate,
                           const char* font = "DejaVu Sans") {
    const platform::DictRef record = document.createObject("text", at);
    record->set("x", static_cast<float>(at.x));
    record->set("y", static_cast<float>(at.y));
    record->set("text", text);
    record->set("rotate", rotate);
    if (*anchor) record->set("text-anchor", anchor);
    record->dictionary("style")->set("fontName", font);
    record->dictionary("style")->set("fontSize", 30.0f);
    document.data()->array("layers")->add(record);
    return record;
  };
  addText({10, 10}, "Top left", "", 0);
  addText({190, 60}, "End", "end", 0);
  addText({100, 110}, "Middle", "middle", 0);
  addText({40, 150}, "Turned", "", 30);
  // A face of a family, and one of a family the system substitutes, in a translucent colour.
  addText({110, 10}, "Bold", "", 0, "DejaVuSans-BoldOblique");
  addText({110, 160}, "Arial", "", 0, "Arial-Bold")
      ->dictionary("style")
      ->set("foregroundColor", platform::Dictionary::make({{"r", 0}, {"g", 0}, {"b", 255}, {"a", 100}}));
  // Its outline alone, 2.4 units wide.
  const platform::DictRef outline = addText({10, 60}, "Out", "", 0)->dictionary("style");
  outline->set("strokeWidth", 8.0f);
  outline->set("strokeColor", platform::Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 255}}));
  const platform::Expected<platform::Bytes> svg = CMSVGOutputFormat().generate(document);
  ASSERT_TRUE(svg.ok());
  platform::testing::ScratchFolder scratch;
  const std::filesystem::path file = scratch / "written.svg", png = scratch / "written.png";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(svg.value().data()),
                                              static_cast<std::streamsize>(svg.value().size()));
  ASSERT_EQ(std::system(("rsvg-convert -w 200 -h 200 -o " + png.string() + " " + file.string()).c_str()), 0);
  const std::optional<svg_testing::WhitePicture> theirs = svg_testing::WhitePicture::fromPng(png);
  const std::optional<svg_testing::WhitePicture> ours = svg_testing::drawnPage(document, 1);
  ASSERT_TRUE(theirs && ours);
  // Seven words of glyph edges, where the two renderers place them a little apart.
  EXPECT_LE(ours->differingShare(*theirs, 48), 0.05)
      << std::string(svg.value().begin(), svg.value().end());
}

// The box of the pixels darker than mid-grey, half-open.
struct Ink {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = 0, y1 = 0;
};
Ink inkOf(const svg_testing::WhitePicture& picture) {
  Ink ink;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (picture.at(x, y, 0) < 128)
        ink = {std::min(ink.x0, x), std::min(ink.y0, y), std::max(ink.x1, x + 1), std::max(ink.y1, y + 1)};
  return ink;
}

// A transform a text layer cannot hold is approximated: the text as high as the transform makes it, its anchor where
// it puts it; its width, and with a skew its start, are the layer's own.
TEST(ApproximatedText, StandsAsHighAsRsvgConvertDrawsIt) {
  const std::pair<const char*, bool> cases[] = {  // the transform, and whether the text starts where rsvg's does
      {"scale(0.5,2)", true}, {"scale(2,0.5)", true}, {"skewX(20)", false}, {"matrix(1 0 0.4 1.5 0 0)", false}};
  for (const auto& [transform, sameStart] : cases) {
    SCOPED_TRACE(transform);
    const Drawn drawn = drawnBothWays(std::string("<svg xmlns='http://www.w3.org/2000/svg' width='200' height='200'>"
                                                  "<text x='10' y='40' font-family='DejaVu Sans' font-size='20' "
                                                  "transform='") +
                                      transform + "'>Text</text></svg>");
    ASSERT_TRUE(drawn.theirs && drawn.ours);
    const Ink want = inkOf(*drawn.theirs), got = inkOf(*drawn.ours);
    EXPECT_NEAR(got.y0, want.y0, 2);
    EXPECT_NEAR(got.y1, want.y1, 2);
    if (sameStart) {
      EXPECT_NEAR(got.x0, want.x0, 2);
    }
  }
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
                    "stroke='url(#g)' stroke-width='30'/>")},
        // A circle in user space on a box twice as wide as high: the record draws an ellipse of the box's
        // proportions, of the circle's area, the nearest it holds.
        Drawing{"UserSpaceCircleOnAWideBox",
                std::string("<radialGradient id='g' gradientUnits='userSpaceOnUse' cx='100' cy='100' r='70'>")
                    .append(kStops)
                    .append("</radialGradient><rect x='20' y='60' width='160' height='80' fill='url(#g)'/>"),
                0.08}),
    [](const auto& info) { return std::string(info.param.name); });

// Overlapping members of a translucent group hide one another before the group is laid on the page.
INSTANTIATE_TEST_SUITE_P(
    Groups, BesideRsvg,
    ::testing::Values(Drawing{"TranslucentGroupsNestedWithTranslucentMembers",
                              "<g opacity='.5'><rect x='10' y='10' width='100' height='100' fill='red'/>"
                              "<rect x='50' y='50' width='100' height='100' fill='blue'/>"
                              "<g opacity='0.6'><rect x='120' y='20' width='60' height='160' fill='green'/>"
                              "<rect x='20' y='130' width='150' height='50' fill='#fc0' opacity='0.5'/></g></g>"},
                      // What follows a nested "svg" is outside its group and its opacity.
                      Drawing{"AfterANestedSvg",
                              "<svg opacity='.5'><rect width='100' height='100' fill='blue'/></svg>"
                              "<rect x='100' y='100' width='100' height='100' fill='green'/>"},
                      Drawing{"SixteenTranslucentGroupsDeep",
                              [] {
                                std::string nested = "<rect width='200' height='200'/>";
                                for (int depth = 0; depth < 16; ++depth) nested = "<g opacity='0.9'>" + nested + "</g>";
                                return nested;
                              }()}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Text, BesideRsvg,
    ::testing::Values(
        Drawing{"OnItsBaseline", "<text x='20' y='100' font-family='DejaVu Sans' font-size='40'>Baseline</text>", 0.025},
        Drawing{"AnchoredInTheMiddleAndAtTheEnd",
                "<g font-family='DejaVu Sans' font-size='30'><text x='100' y='60' text-anchor='middle'>Middle</text>"
                "<text x='190' y='150' text-anchor='end'>End</text></g>", 0.025},
        Drawing{"Turned", "<text x='100' y='100' font-family='DejaVu Sans' font-size='30' "
                          "transform='rotate(90 100 100)'>Turned</text>", 0.025},
        Drawing{"ScaledMovedAndTurnedInAGroup",
                "<g transform='translate(30 20)'><text x='10' y='20' font-family='DejaVu Sans' font-size='22' "
                "text-anchor='middle' transform='scale(2) rotate(30 50 20)'>Scaled</text></g>", 0.025},
        Drawing{"FontFromItsFirstSpan", "<text x='10' y='120'><tspan font-family='DejaVu Sans' font-size='44' "
                                        "fill='#0000ff'>Span</tspan></text>", 0.025},
        // No size is SVG's initial one, which relative sizes are taken of, as "larger" and "smaller" are.
        Drawing{"InitialAndRelativeSizes",
                "<g font-family='DejaVu Sans'><text x='10' y='30'>AAAA<tspan font-size='100%'>BBBB</tspan></text>"
                "<g font-size='50'><text x='10' y='100' font-size='larger'>Lg</text>"
                "<text x='10' y='170' font-size='smaller'>Sm</text></g></g>", 0.025},
        Drawing{"TranslucentAndRgbaFills",
                "<g font-family='DejaVu Sans' font-size='90' font-weight='bold'><text x='0' y='80' fill='#000' "
                "fill-opacity='.21'>Grey</text><text x='0' y='180' fill='rgba(0, 0, 255, 0.4)'>Blue</text></g>",
                0.025},
        // Families that are not installed are drawn with the faces the system's font matching gives them.
        Drawing{"FamiliesTheSystemSubstitutes",
                "<g font-size='30'><text x='10' y='50' font-family='Times New Roman'>Roman text</text>"
                "<text x='10' y='110' font-family='Arial, Helvetica, sans-serif' font-weight='bold'>Arial text"
                "</text><text x='10' y='170' font-family='Georgia' font-style='italic'>Georgia</text></g>", 0.035},
        Drawing{"AnchorFromAGroup",
                "<g text-anchor='end' font-family='DejaVu Sans' font-size='30'><text x='190' y='60'>End</text>"
                "<text x='190' y='120' text-anchor='middle'>Mid</text></g>", 0.025},
        // An outline over the fill, as a clip-art icon has it, and one alone.
        Drawing{"Outlined",
                "<g font-family='DejaVu Sans' font-size='56' stroke-width='3'><text x='10' y='80' fill='#7f7f7f' "
                "stroke='#000'>Icon</text><text x='10' y='170' fill='none' stroke='#c00' stroke-opacity='.6'>Line"
                "</text></g>", 0.03},
        // A span the text does not hold closes nothing of the span around it, and draws nothing.
        Drawing{"SpanOfAnotherKind",
                "<text x='10' y='100' font-family='DejaVu Sans' font-size='30' fill='red'>a<tspan fill='blue'>b"
                "<flowSpan>c</flowSpan>d</tspan>e</text>", 0.025}),
    [](const auto& info) { return std::string(info.param.name); });

// Files as other editors write them: sized in percent, with hidden layers, alternatives and lines of text.
INSTANTIATE_TEST_SUITE_P(
    OtherEditors, BesideRsvg,
    ::testing::Values(
        Drawing{"SizedInPercent",
                "<rect x='10' y='10' width='80' height='60' fill='#08f'/><circle cx='150' cy='150' r='40' fill='red'/>"
                "<svg x='100' y='0' width='50%' height='25%' viewBox='0 0 10 10'><rect width='10' height='10' "
                "fill='green'/></svg>",
                0.01, "<svg width='100%' height='100%' viewBox='0 0 200 200'>"},
        Drawing{"HiddenLayersAndShapes",
                "<g display='none'><rect width='200' height='200' fill='red'/></g>"
                "<rect x='20' y='20' width='60' height='60' style='fill: red; display: none'/>"
                "<g visibility='hidden'><rect x='100' width='100' height='100' fill='red'/>"
                "<rect x='120' y='20' width='60' height='60' fill='green' visibility='visible'/></g>"
                "<g style='visibility: hidden'><g><circle cx='50' cy='150' r='40' fill='red'/></g></g>"
                "<rect x='110' y='110' width='80' height='80' fill='blue'/>"},
        Drawing{"SwitchDrawsItsFirstChildThatHolds",
                "<switch><rect width='200' height='200' fill='red' requiredExtensions='http://example.org/x'/>"
                "<g systemLanguage='xx'><rect width='200' height='200' fill='red'/></g>"
                "<rect width='200' height='200' fill='red' requiredFeatures='http://www.w3.org/TR/SVG11/feature#SVGDOM'/>"
                "<g transform='translate(20 20)' fill='green'><rect width='100' height='100'/></g>"
                "<rect width='200' height='200' fill='red'/></switch>"},
        Drawing{"LinesAndSpansOfText",
                "<text x='10' y='30' font-family='DejaVu Sans' font-size='20'><tspan x='10' y='30'>First line</tspan>"
                "<tspan x='10' y='70' font-size='30' fill='blue'>Second</tspan>"
                "<tspan x='10' y='105' font-weight='bold'>Bold line</tspan></text>"
                "<text x='100' y='150' text-anchor='middle' font-family='DejaVu Sans' font-size='18'>Mixed "
                "<tspan fill='red' font-style='italic'>style</tspan> here</text>"
                "<text x='190' y='185' text-anchor='end' font-family='DejaVu Sans' font-size='16'>"
                "<tspan font-weight='bold'>End</tspan> <tspan dx='5' fill='green'>ing</tspan></text>",
                0.04}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
