// What SVG means by small files the reader used to get wrong: defaults, transforms on strokes and lines, content
// that is never drawn, group opacity and sizes past single precision, read back from the records as the model holds
// them and from the page the import leaves.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "document/CMDocument.h"
#include "document/CMShapeLayer.h"
#include "document_test_support.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/string_utilities.h"
#include "svg_test_support.h"

namespace {

using platform::Value;

// The value at a dotted path of keys and indices ("0.shape.dashPoints.1") below the root group's items; "#" as the
// last part counts an array.
Value valueAt(const platform::ArrayRef& items, const std::string& path) {
  Value value(items);
  for (const std::string& part : platform::componentsSeparatedByString(path, ".")) {
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
  std::vector<std::pair<std::string, double>> expected;
};

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
      // Sizes past single precision leave the element out.
      {"<rect width='1' height='1' transform='scale(1e200)'/><rect x='3e38' width='3e38' height='1'/>"
       "<circle cx='3e38' cy='0' r='1e38'/><path d='M0 0L1 1' transform='scale(1e200)'/>",
       {{"#", 0}}},
  };
  document_testing::ScratchFolders folders;
  for (const Case& c : cases) {
    CMDocument document;
    const platform::ArrayRef items = svg_testing::shapesOf(svg_testing::parse(document, std::string("<svg>") + c.body +
                                                                                          "</svg>"));
    for (const auto& [path, number] : c.expected) {
      EXPECT_NEAR(valueAt(items, path).doubleValue(), number, 1e-5) << c.body << "\n at " << path;
    }
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
  // A path whose points are each finite but lie, as placed, past the largest float grows the page only that far.
  importSVGData(document, svg_testing::bytesOf("<svg><path d='M3e38 0L3e38 1' transform='translate(3e38)'/></svg>"));
  EXPECT_TRUE(std::isfinite(document.data()->get("width").floatValue()));
  const std::optional<svg_testing::WhitePicture> page = svg_testing::drawnPage(document, 1);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->at(20, 20, 2), 255);
  EXPECT_EQ(page->at(20, 20, 0), 0) << "the blue square is drawn";
}

}  // namespace
