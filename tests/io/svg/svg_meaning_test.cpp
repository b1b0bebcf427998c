// What SVG means by small files the reader used to get wrong: defaults, transforms on strokes and lines, content
// that is never drawn, group opacity, sizes past single precision, colour forms, lengths and viewports, read back
// from the records as the model holds them and from the page the import leaves.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "document/CMDocument.h"
#include "document/CMPageLength.h"
#include "document/CMShapeLayer.h"
#include "../../platform/core/scoped_environment.h"
#include "document_test_support.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/string_utilities.h"
#include "svg_test_support.h"

namespace {

using platform::Value;

// The value at a dotted path of keys and indices ("0.shape.dashPoints.1") below the root group's items; "#" as the
// last part counts an array, "x" or "y" after a point string reads that coordinate.
Value valueAt(const platform::ArrayRef& items, const std::string& path) {
  Value value(items);
  for (const std::string& part : platform::componentsSeparatedByString(path, ".")) {
    if (value.isString() && (part == "x" || part == "y")) {
      const platform::Point point = platform::pointFromString(value.string());
      return Value(part == "x" ? point.x : point.y);
    }
    if (const platform::ArrayRef array = value.array()) {
      if (part == "#") return Value(static_cast<std::int64_t>(array->size()));
      const std::size_t index = std::stoul(part);
      if (index >= array->size()) return Value();
      value = array->at(index);
    } else if (const platform::DictRef dictionary = value.dictionary()) {
      value = dictionary->get(part);
    } else {
      return Value();
    }
  }
  return value;
}

struct Case {
  const char* body;  // inside <svg>
  // Numbers within 1e-3; texts exactly.
  std::vector<std::pair<std::string, Value>> expected;
};

void expectRecords(const std::string& svg, const std::vector<std::pair<std::string, Value>>& expected) {
  CMDocument document;
  const platform::ArrayRef items = svg_testing::shapesOf(svg_testing::parse(document, svg));
  for (const auto& [path, value] : expected) {
    if (value.isString()) {
      EXPECT_EQ(valueAt(items, path).string(), value.string()) << svg << "\n at " << path;
    } else {
      EXPECT_NEAR(valueAt(items, path).doubleValue(), value.doubleValue(), 1e-3) << svg << "\n at " << path;
    }
  }
}

TEST(SVGMeaning, RecordsHoldWhatTheElementsMean) {
  const Case cases[] = {
      // A line's own transform moves its ends and scales its width, which its rebuilds keep.
      {"<line x1='0' y1='0' x2='10' y2='0' stroke='red' stroke-width='1.5' transform='translate(5 6) scale(2)'/>",
       {{"#", 1}, {"0.x", 5}, {"0.y", 6}, {"0.shape.x2", 20}, {"0.shape.y2", 0}, {"0.shape.stroke.lineWidth", 3},
        {"0.shape.def_width", 3}}},
      // Widths, dashes and the dash offset scale by the square root of the determinant.
      {"<rect width='10' height='10' stroke='red' stroke-width='2' stroke-dasharray='4 1.5' stroke-dashoffset='1' "
       "transform='scale(3 12)'/>",
       {{"0.shape.stroke.lineWidth", 12}, {"0.shape.stroke.dashPoints.0", 24}, {"0.shape.stroke.dashPoints.1", 9},
        {"0.shape.stroke.stroke-dashoffset", 6}, {"0.width", 10}}},
      // No stroke paint, no stroke; a negative dash length leaves the stroke solid.
      {"<rect width='10' height='10' stroke-width='5'/>", {{"0.shape.stroke.type", 0}}},
      {"<rect width='10' height='10' stroke='red' stroke-dasharray='4 -1'/>", {{"0.shape.stroke.dashStyle", 0}}},
      // A circle centred at the origin without cx and cy; no area, no record.
      {"<circle r='5'/>", {{"#", 1}, {"0.width", 10}}},
      {"<circle cx='5' cy='5'/><circle r='-1'/><rect width='0' height='5'/><rect width='5'/>", {{"#", 0}}},
      // A rounded rectangle is a path of its outline: four sides and four quarter turns.
      {"<rect x='10' y='10' width='20' height='10' rx='30'/>",
       {{"0.shape.points.#", 9}, {"0.width", 20}, {"0.height", 10}}},
      // Nothing inside these is drawn, but a gradient defined in "defs" is found.
      {"<defs><rect width='5' height='5'/><linearGradient id='g'><stop offset='0' stop-color='#f00'/>"
       "</linearGradient></defs><clipPath><rect width='5' height='5'/></clipPath><mask><circle r='5'/></mask>"
       "<symbol><path d='M0 0L5 5'/></symbol><pattern><g><rect width='5' height='5'/></g></pattern>"
       "<rect width='5' height='5' fill='url(#g)'><rect width='5' height='5'/></rect>",
       {{"#", 1}, {"0.shape.fill.gradient.markers.0.green", 0}, {"0.shape.fill.gradient.markers.0.red", 1}}},
      // The group holds its opacity; its members keep their own.
      {"<g opacity='0.5'><rect width='5' height='5' opacity='80%'/><rect width='5' height='5'/></g>",
       {{"0.alpha", 0.5}, {"0.items.0.alpha", 0.8}, {"0.items.1.alpha", 1}}},
      // Sizes past single precision leave the element out; a span placed past them too.
      {"<rect width='1' height='1' transform='scale(1e200)'/><rect x='3e38' width='3e38' height='1'/>"
       "<circle cx='3e38' cy='0' r='1e38'/><path d='M0 0L1 1' transform='scale(1e200)'/>",
       {{"#", 0}}},
      {"<text x='10' y='50' font-size='20'>A<tspan dx='3e38'>B</tspan><tspan dx='3e38'>C</tspan>"
       "<tspan dy='1e400'>D</tspan></text>",
       {{"#", 1}, {"0.items.#", 2}, {"0.items.0.text", "A"}, {"0.items.0.x", 10}, {"0.items.1.text", "B"}}},
      // A user-space circle on a box twice as wide as high: the ellipse of the box's proportions and the circle's
      // area has semi-axes of 50√2 and 50/√2, the shorter one against half the diagonal, 50√5, where the stops end.
      {"<radialGradient id='g' gradientUnits='userSpaceOnUse' cx='100' cy='50' r='50'><stop offset='0'/>"
       "<stop offset='1' stop-color='#fff'/></radialGradient><rect width='200' height='100' fill='url(#g)'/>",
       {{"0.shape.fill.gradient.fx", 0}, {"0.shape.fill.gradient.fy", 0},
        {"0.shape.fill.gradient.markers.1.pos", 1 / std::sqrt(10.0)}}},
      // A cycle of links reached after a chain: the stops are those of the gradient in the cycle that has them.
      {"<linearGradient id='a' href='#b'/><linearGradient id='b' href='#c'><stop offset='0' stop-color='#f00'/>"
       "<stop offset='1' stop-color='#00f'/></linearGradient><linearGradient id='c' href='#b'/>"
       "<rect width='5' height='5' fill='url(#a)'/><rect width='5' height='5' fill='url(#c)'/>",
       {{"0.shape.fill.gradient.markers.#", 2}, {"0.shape.fill.gradient.markers.1.blue", 1},
        {"1.shape.fill.gradient.markers.#", 2}, {"1.shape.fill.gradient.markers.0.red", 1}}},
      // A text's outline: its width in percent of the size, negative over a fill; its paint and opacity.
      {"<text font-size='20' fill='#7f7f7f' stroke='#000' stroke-width='3'>a</text><text font-size='10' fill='none' "
       "stroke='rgba(255, 0, 0, 0.5)' stroke-width='2'>b</text><g stroke='blue'><text font-size='50' "
       "stroke-opacity='.5'>c</text></g><text stroke='red' stroke-width='0'>d</text>",
       {{"0.style.strokeWidth", -15}, {"0.style.strokeColor.r", 0}, {"0.style.foregroundColor.r", 127},
        {"1.style.strokeWidth", 20}, {"1.style.strokeColor.r", 255}, {"1.style.strokeColor.a", 127},
        {"1.style.foregroundColor.a", 0}, {"2.items.0.style.strokeWidth", -2},
        {"2.items.0.style.strokeColor.b", 255}, {"2.items.0.style.strokeColor.a", 127}, {"3.style.strokeWidth", 0}}},
      // A transform a text record cannot hold: the anchor where it goes, the height's scale, the baseline's turn.
      {"<g font-size='20'><text x='10' y='40' transform='scale(0.5,2)'>a</text><text x='0' y='100' "
       "transform='skewX(45)'>b</text><text x='10' y='40' transform='rotate(30) scale(2 1)'>c</text></g>",
       {{"0.items.0.style.fontSize", 40}, {"0.items.0.x", 5}, {"0.items.0.rotate", 0},
        {"0.items.1.style.fontSize", 20}, {"0.items.1.x", 100}, {"0.items.2.style.fontSize", 20},
        {"0.items.2.rotate", 30}}},
      // Sizes past single precision, and past double precision's too, are the largest a font is drawn at.
      {"<text font-size='1e38'>a</text><text font-size='1e39'>b</text><text font-size='1e300'>c</text>"
       "<text font-size='1e400'>d</text>",
       {{"0.style.fontSize", 50000}, {"1.style.fontSize", 50000}, {"2.style.fontSize", 50000},
        {"3.style.fontSize", 50000}}},
  };
  document_testing::ScratchFolders folders;
  for (const Case& c : cases) expectRecords(std::string("<svg>") + c.body + "</svg>", c.expected);
}

TEST(SVGMeaning, PaintsLengthsAndViewportsAsCSSAndSVGWriteThem) {
  const Case cases[] = {
      // Colour forms; a colour's own alpha joins the fill's.
      {"<svg><rect width='9' height='9' fill='hsl(120, 100%, 25%)'/></svg>",
       {{"0.shape.fill.color.r", 0}, {"0.shape.fill.color.g", 128}, {"0.shape.fill.alpha", 1}}},
      {"<svg><rect width='9' height='9' fill='#0A08' fill-opacity='50%'/></svg>",
       {{"0.shape.fill.color.g", 170}, {"0.shape.fill.alpha", 0x88 / 255.0 / 2}}},
      {"<svg><rect width='9' height='9' fill='RGBA(0%, 50%, 0%, 0.5)' stroke='rgb(0 0 255)'/></svg>",
       {{"0.shape.fill.color.g", 128}, {"0.shape.fill.alpha", 0.5}, {"0.shape.stroke.color.b", 255}}},
      {"<svg><g fill='#f00' color='blue'><rect width='9' height='9' fill='inherit' stroke='currentColor'/></g></svg>",
       {{"0.items.0.shape.fill.color.r", 255}, {"0.items.0.shape.stroke.color.b", 255}}},
      {"<svg><rect width='9' height='9' fill='url(#none) #00f'/><rect width='9' height='9' fill='url(#none)'/></svg>",
       {{"0.shape.fill.type", 1}, {"0.shape.fill.color.b", 255}, {"1.shape.fill.type", 0}}},
      // Lengths with units and percentages of the viewport; a group's place is not its members'.
      {"<svg viewBox='0 0 200 100'><g x='50' font-size='10'><rect x='1in' y='10%' width='2em' height='5mm'/></g>"
       "</svg>",
       {{"0.items.0.shape.points.0.point.x", 96}, {"0.items.0.shape.points.0.point.y", 10},
        {"0.items.0.width", 20}, {"0.items.0.height", 5 * 96 / 25.4}}},
      {"<svg><rect width='10vw' height='5'/><rect width='1' height='1' x='inherit'/></svg>",
       {{"#", 1}, {"0.shape.points.0.point.x", 0}}},
      // A viewBox fitted into the viewport, centred by default, stretched with "none", placed by a nested "svg".
      {"<svg width='100' height='50' viewBox='0 0 200 200'><rect width='200' height='200'/></svg>",
       {{"0.shape.points.0.point.x", 25}, {"0.shape.points.2.point.x", 75}, {"0.shape.points.2.point.y", 50}}},
      {"<svg width='100' height='50' viewBox='0 0 200 200' preserveAspectRatio='none'>"
       "<rect width='200' height='200'/></svg>",
       {{"0.shape.points.2.point.x", 100}, {"0.shape.points.2.point.y", 50}}},
      {"<svg viewBox='0 0 100 100'><svg x='10' y='20' width='50' height='50' viewBox='0 0 10 10'>"
       "<rect width='10' height='10'/></svg><rect width='10%' height='10'/></svg>",
       // The end of an "svg" closes its group, its viewport and its transform; its opacity is its group's.
       {{"0.items.0.shape.points.2.point.x", 60}, {"0.items.0.shape.points.2.point.y", 70}, {"1.width", 10},
        {"1.shape.points.2.point.y", 10}}},
      {"<svg><svg opacity='.5'><rect width='5' height='5'/></svg><rect width='6' height='6'/></svg>",
       {{"#", 2}, {"0.alpha", 0.5}, {"1.width", 6}, {"1.alpha", 1}}},
      // An "svg" of no size draws nothing inside it.
      {"<svg viewBox='0 0 10 10'><svg width='0'><rect width='5' height='5'/></svg><rect width='10%' height='1'/></svg>",
       {{"#", 2}, {"0.items.#", 0}, {"1.width", 1}}},
  };
  document_testing::ScratchFolders folders;
  for (const Case& c : cases) expectRecords(c.body, c.expected);
}

TEST(SVGMeaning, FilesFromOtherEditorsComeInAsTheyLook) {
  const Case cases[] = {
      // The outermost "svg" sized in percent is its viewBox's size; a nested one takes its parent's; only a size
      // given as 0 hides what it holds.
      {"<svg width='100%' height='100%' viewBox='0 0 480 360'><rect x='10' y='20' width='30' height='40'/></svg>",
       {{"#", 1}, {"0.shape.points.0.point.x", 10}, {"0.shape.points.2.point.y", 60}}},
      {"<svg width='100%' viewBox='0 0 200 100'><svg width='50%' height='100%' viewBox='0 0 10 10'>"
       "<rect width='10' height='10'/></svg></svg>",
       {{"0.items.0.shape.points.2.point.x", 100}, {"0.items.0.shape.points.2.point.y", 100}}},
      {"<svg width='0' viewBox='0 0 9 9'><rect width='5' height='5'/></svg>", {{"#", 0}}},
      // The outermost "svg" passes its presentation attributes on, as a group does.
      {"<svg fill='none' stroke='#f00'><rect width='5' height='5'/></svg>",
       {{"0.shape.fill.type", 0}, {"0.shape.stroke.color.r", 255}}},
      // What "display" and "visibility" hide is not imported; a member may be visible in a hidden group.
      {"<svg><g display='none'><rect width='1' height='1'/></g><rect style='display: none' width='1' height='1'/>"
       "<g visibility='hidden'><rect width='1' height='1'/><rect width='2' height='2' visibility='visible'/></g>"
       "<rect width='3' height='3'/></svg>",
       {{"#", 2}, {"0.items.#", 1}, {"0.items.0.width", 2}, {"1.width", 3}}},
      // A switch draws its first child whose conditions hold: no extension, feature or language unknown here; an
      // empty list of features or languages does not hold.
      {"<svg><switch><rect requiredExtensions='http://example.org/x' width='1' height='1'/>"
       "<rect systemLanguage='en, it-CH' width='2' height='2'/><title>t</title>"
       "<rect requiredFeatures='http://www.w3.org/TR/SVG11/feature#SVGDOM' width='3' height='3'/>"
       "<rect requiredFeatures='http://www.w3.org/TR/SVG11/feature#Shape' width='4' height='4'/>"
       "<rect width='5' height='5'/></switch><rect systemLanguage='' width='6' height='6'/>"
       "<rect requiredFeatures='' width='7' height='7'/></svg>",
       {{"#", 1}, {"0.items.#", 1}, {"0.items.0.width", 4}}},
      // The user reads Swiss German, then French: "fr-CA" is French and "de" German; English and Italian are not theirs.
      {"<svg><switch><rect systemLanguage='fr-CA' width='1' height='1'/><rect width='2' height='2'/></switch>"
       "<rect systemLanguage='xx,de' width='3' height='3'/></svg>",
       {{"#", 2}, {"0.items.0.width", 1}, {"1.width", 3}}},
      // Flowed text: its region draws nothing, its paragraphs are one text layer at the region's corner.
      {"<svg><flowRoot font-size='10' transform='translate(5 0)'><flowRegion><rect x='10' y='20' width='100' "
       "height='50'/></flowRegion><flowPara>One</flowPara><flowPara>Two <flowSpan font-weight='bold'>2</flowSpan>"
       "</flowPara></flowRoot></svg>",
       {{"#", 1}, {"0.type", 2}, {"0.text", "One\nTwo 2"}, {"0.x", 15}, {"0.y", 20}, {"0.style.fontSize", 10}}},
      // Lines and spans placed or styled on their own are text layers of their own, grouped; the weight and slant
      // choose the family's face.
      {"<svg><text x='20' y='40' font-family='DejaVu Sans' opacity='0.5'><tspan x='20' y='40'>First</tspan>"
       "<tspan x='20' y='70' font-size='28' fill='blue' font-weight='bold'>Second</tspan></text></svg>",
       {{"#", 1}, {"0.type", 3}, {"0.alpha", 0.5}, {"0.items.#", 2}, {"0.items.0.text", "First"},
        {"0.items.0.alpha", 1}, {"0.items.1.text", "Second"}, {"0.items.0.x", 20}, {"0.items.1.x", 20},
        {"0.items.1.style.fontSize", 28}, {"0.items.1.style.foregroundColor.b", 255},
        {"0.items.0.style.fontName", "DejaVuSans"}, {"0.items.1.style.fontName", "DejaVuSans-Bold"}}},
      {"<svg><text style='font-family: DejaVu Sans; font-style: italic'>a</text>"
       "<text font-family=\"Nowhere, 'DejaVu Serif'\" font-weight='700'>b</text></svg>",
       {{"0.style.fontName", "DejaVuSans-Oblique"}, {"1.style.fontName", "DejaVuSerif-Bold"}}},
      {"<svg><g font-size='10'><text font-size='2em'>a<tspan font-size='150%'>b</tspan></text></g></svg>",
       {{"0.items.0.items.0.style.fontSize", 20}, {"0.items.0.items.1.style.fontSize", 30}}},
      // SVG's initial size is 12, which relative sizes are taken of; "larger" and "smaller" are 1.2 times it or a
      // 1.2th; a size that is not positive is invalid and keeps the one inherited; units count.
      {"<svg><text>AAAA<tspan font-size='100%'>BBBB</tspan></text><g font-size='50'><text font-size='larger'>a</text>"
       "<text font-size='smaller'>b</text><text font-size='-10'>c</text><text font-size='-2em'>d</text>"
       "<text font-size='0'>e</text><text font-size='12pt'>f</text><text font-size='medium'>g</text></g></svg>",
       {{"0.text", "AAAABBBB"}, {"0.style.fontSize", 12}, {"1.items.0.style.fontSize", 60},
        {"1.items.1.style.fontSize", 50 / 1.2}, {"1.items.2.style.fontSize", 50}, {"1.items.3.style.fontSize", 50},
        {"1.items.4.style.fontSize", 50}, {"1.items.5.style.fontSize", 16}, {"1.items.6.style.fontSize", 16}}},
      // A text's fill opacity and its colour's alpha; "currentColor".
      {"<svg><text fill='#808080' fill-opacity='.21'>a</text><text fill='rgba(255, 0, 0, 0.5)'>b</text>"
       "<text color='#00f' fill='currentColor'>c</text></svg>",
       {{"0.style.foregroundColor.r", 128}, {"0.style.foregroundColor.a", 53}, {"1.style.foregroundColor.r", 255},
        {"1.style.foregroundColor.a", 127}, {"2.style.foregroundColor.b", 255}}},
      // A family not installed keeps its name as the file gives it, with the style asked for; of a list, the family
      // the system draws the list with counts, here the generic one after a family it only knows as a serif.
      {"<svg><text font-family='Times New Roman'>a</text><text font-family='Arial' font-weight='bold'>b</text>"
       "<text font-family='Georgia, sans-serif'>c</text></svg>",
       {{"0.style.fontName", "Times New Roman"}, {"1.style.fontName", "Arial-Bold"},
        {"2.style.fontName", "DejaVuSans"}}},
      // A span the text does not hold goes with its characters, and the span around it stays open.
      {"<svg><text fill='red'>a<tspan fill='blue'>b<flowSpan>c</flowSpan>d</tspan>e</text></svg>",
       {{"0.items.#", 3}, {"0.items.1.text", "bd"}, {"0.items.1.style.foregroundColor.b", 255},
        {"0.items.2.text", "e"}, {"0.items.2.style.foregroundColor.r", 255}}},
      // Text in another encoding than UTF-8 comes in as its characters.
      {"<?xml version='1.0' encoding='ISO-8859-1'?><svg><text>caf\xe9</text></svg>", {{"0.text", "caf\xc3\xa9"}}},
      // Spans of the text's own style and place stay one layer; hidden spans and text on a path leave nothing.
      {"<svg><text x='5' y='9'> a <tspan>b</tspan>\n  c<tspan display='none'>d</tspan>"
       "<textPath>e</textPath></text></svg>",
       {{"#", 1}, {"0.type", 2}, {"0.text", "a b c"}}},
  };
  document_testing::ScratchFolders folders;
  const platform::testing::ScopedEnvironment languages("LANGUAGE", "de_CH:fr");
  for (const Case& c : cases) expectRecords(c.body, c.expected);
}

TEST(SVGMeaning, TinySizesAreTheSmallestAFontIsDrawnAt) {
  std::string nested = "d";
  for (int depth = 0; depth < 200; ++depth) nested = "<tspan font-size='0.5em'>" + nested + "</tspan>";
  document_testing::ScratchFolders folders;
  CMDocument document;
  const platform::ArrayRef items = svg_testing::shapesOf(
      svg_testing::parse(document, "<svg><text font-size='1e-30'>a</text><text>" + nested + "</text></svg>"));
  for (const char* path : {"0.style.fontSize", "1.style.fontSize"}) {
    EXPECT_FLOAT_EQ(valueAt(items, path).floatValue(), 1.0f / 1024) << path;
  }
}

TEST(SVGMeaning, AHugeElementLeavesThePageUsable) {
  document_testing::ScratchFolders folders;
  CMDocument document;
  svg_testing::clearPage(document, 200, 100);
  const CMSVGImport imported = importSVGData(
      document, svg_testing::bytesOf("<svg><rect x='3e38' width='3e38' height='5' fill='red'/>"
                                     "<rect width='1' height='1' transform='scale(1e200)'/>"
                                     "<rect x='10' y='10' width='20' height='20' fill='#00f'/></svg>"));
  EXPECT_EQ(imported.skipped, "2 rect");
  EXPECT_EQ(document.data()->get("width").floatValue(), 200);
  const std::optional<svg_testing::WhitePicture> page = svg_testing::drawnPage(document, 1);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->at(20, 20, 2), 255);
  EXPECT_EQ(page->at(20, 20, 0), 0) << "the blue square is drawn";
  // A drawing reaching far out grows the page only as far as a page can be; spans placed past single precision are
  // left out and counted.
  const CMSVGImport far = importSVGData(
      document, svg_testing::bytesOf("<svg><rect x='3e38' y='1e7' width='1e37' height='1'/><text x='10' y='50'>A"
                                     "<tspan dx='3e38'>B</tspan><tspan dx='3e38'>C</tspan><tspan dy='1e400'>D"
                                     "</tspan></text></svg>"));
  EXPECT_EQ(far.skipped, "2 tspan");
  EXPECT_EQ(document.data()->get("width").doubleValue(), kCMLargestPageLength);
  EXPECT_EQ(document.data()->get("height").doubleValue(), kCMLargestPageLength);
}

}  // namespace
