// A drawing written by the SVG output format and read back by the SVG reader keeps its points and its look.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/CMShapeLayer.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMStrokeDash.h"
#include "document_test_support.h"
#include "export_test_support.h"
#include "export_tools.h"
#include "io/export/CMSVGOutputFormat.h"
#include "io/import/CMDrawingImport.h"
#include "svg_test_support.h"

namespace {

using platform::DictRef;
using platform::Point;

// Every point and control point of the shape in page coordinates, in order, as its Bezier points place them.
std::vector<Point> absolutePoints(const DictRef& record, bool convert) {
  DictRef copy = platform::dictionaryCopy(record);
  if (convert) {
    CMShapeLayer layer(copy);
    layer.saveAsBezier();
    layer.setSize();
  }
  const Point origin{copy->get("x").floatValue(), copy->get("y").floatValue()};
  std::vector<Point> points;
  for (const platform::Value& entry : *copy->dictionary("shape")->array("points")) {
    for (const char* key : {"point", "control_point1", "control_point2"}) {
      if (!entry.dictionary()->contains(key)) continue;
      const Point p = shapePoint(entry.dictionary(), key);
      points.push_back({p.x + origin.x, p.y + origin.y});
    }
  }
  return points;
}

TEST(WriterRoundTrip, PointsAndPicturesComeBack) {
  document_testing::ScratchFolders folders;
  using namespace export_testing;
  CMDocument original;
  setPage(original, 400, 300, 255, 255, 255, 0);
  const auto stop = [](double pos) { return Dictionary::make({{"pos", pos}, {"red", 1 - pos}, {"blue", pos}}); };
  const DictRef gradient = Dictionary::make(
      {{"use", true}, {"type", 3},
       {"gradient", Dictionary::make({{"type", 0}, {"markers", platform::Array::make({stop(0), stop(1)})}})}});
  addLayer(original, styled(original.createObject("rect", {20, 20}), gradient, paint(20, 20, 120, 1, 4)));
  addLayer(original, styled(original.createObject("oval", {140, 20}), paint(30, 160, 60, 1), paint(0, 0, 0, 1, 2)));
  addLayer(original, styled(original.createObject("star", {260, 20}), paint(240, 200, 30, 1), nullptr));
  const std::vector<std::vector<Point>> holed{{{20, 140}, {120, 140}, {120, 240}, {20, 240}},
                                             {{50, 170}, {90, 170}, {90, 210}, {50, 210}}};
  addLayer(original, styled(polyline(holed, true), paint(250, 140, 20, 1), nullptr));
  addLayer(original, styled(polyline({{{160, 200}, {250, 150}, {380, 260}}}, false), nullptr,
                            paint(20, 20, 120, 1, 6, 0, 1)));

  const platform::Expected<platform::Bytes> svg = CMSVGOutputFormat().generate(original);
  ASSERT_TRUE(svg.ok());
  CMDocument imported;
  svg_testing::clearPage(imported, 400, 300);
  const CMSVGImport result = importSVGData(imported, svg.value());
  ASSERT_FALSE(result.failure.has_value()) << result.failure->message;
  const platform::ArrayRef shapes = svg_testing::shapesOf(result.records);
  const platform::ArrayRef layers = original.data()->array("layers");
  ASSERT_EQ(shapes->size(), layers->size());
  for (std::size_t i = 0; i < layers->size(); ++i) {
    const std::vector<Point> expected = absolutePoints(layers->at(i).dictionary(), true);
    const std::vector<Point> read = absolutePoints(shapes->at(i).dictionary(), false);
    ASSERT_EQ(read.size(), expected.size()) << "layer " << i;
    for (std::size_t j = 0; j < read.size(); ++j) {
      EXPECT_NEAR(read[j].x, expected[j].x, 1e-3) << "layer " << i << " point " << j;
      EXPECT_NEAR(read[j].y, expected[j].y, 1e-3) << "layer " << i << " point " << j;
    }
  }
  const DictRef dashed = shapes->last().dictionary()->dictionary("shape")->dictionary("stroke");
  EXPECT_EQ(dashed->get("dashStyle").intValue(), 1);

  const std::optional<svg_testing::WhitePicture> before = svg_testing::drawnPage(original, 1);
  const std::optional<svg_testing::WhitePicture> after = svg_testing::drawnPage(imported, 1);
  ASSERT_TRUE(before && after);
  EXPECT_LE(after->differingShare(*before, 32), 0.02);
  // The comparison can tell pictures apart: the page without its last layer is another picture.
  layers->removeLast();
  EXPECT_GT(svg_testing::drawnPage(original, 1)->differingShare(*after, 32), 0.002);
}

// Dashes of their own at several widths and offsets, dots set in the style panel (no points), and a text of a
// fractional size: rsvg-convert draws the written file as our PNG export draws the page, and the records read back
// draw the same dashes and size.
TEST(WriterRoundTrip, DashesDotsAndFractionalTextSizesComeBack) {
  document_testing::ScratchFolders folders;
  using namespace export_testing;
  CMDocument original;
  setPage(original, 400, 300, 255, 255, 255, 0);
  using platform::Array;
  const std::vector<platform::ArrayRef> dashes{Array::make({3, 2}), Array::make({6, 3}), Array::make({9.5, 4, 1.5, 4}),
                                               nullptr, nullptr};
  for (std::size_t i = 0; i < dashes.size(); ++i) {
    const DictRef stroke = paint(20, 20, 120, 1, 0.5 + i, 0, 1);
    dashes[i] ? stroke->set("dashPoints", dashes[i]) : stroke->remove("dashPoints");
    stroke->set("stroke-dashoffset", 1.25 * i);
    const double y = 20 + 45.0 * i;
    addLayer(original, styled(polyline({{{20, y}, {380, y}, {380, y + 25}}}, false), nullptr, stroke));
  }
  const DictRef text = original.createObject("text", {20, 250});
  text->set("text", "Topstitching");
  text->dictionary("style")->set("fontName", "DejaVu Sans");
  text->dictionary("style")->set("fontSize", 10.5f);
  addLayer(original, text);

  const platform::Bytes svg = CMSVGOutputFormat().generate(original).value();
  platform::testing::ScratchFolder scratch;
  writeBytes(scratch / "written.svg", svg);
  ASSERT_TRUE(run("rsvg-convert -o " + (scratch / "rsvg.png").string() + " " + (scratch / "written.svg").string()));
  const std::optional<svg_testing::WhitePicture> theirs = svg_testing::WhitePicture::fromPng(scratch / "rsvg.png");
  const std::optional<svg_testing::WhitePicture> ours = svg_testing::drawnPage(original, 1);
  ASSERT_TRUE(theirs && ours);
  EXPECT_LE(ours->differingShare(*theirs, 48), 0.004);

  CMDocument imported;
  svg_testing::clearPage(imported, 400, 300);
  const platform::ArrayRef read = svg_testing::shapesOf(importSVGData(imported, svg).records);
  ASSERT_EQ(read->size(), dashes.size() + 1);
  const auto dash = [](const platform::ArrayRef& layers, std::size_t i) {
    return strokeDashOf(layers->at(i).dictionary()->dictionary("shape")->dictionary("stroke")).value();
  };
  for (std::size_t i = 0; i < dashes.size(); ++i) {
    EXPECT_EQ(dash(read, i).lengths, dash(original.data()->array("layers"), i).lengths) << i;
    EXPECT_EQ(dash(read, i).offset, dash(original.data()->array("layers"), i).offset) << i;
  }
  EXPECT_EQ(read->last().dictionary()->dictionary("style")->get("fontSize").doubleValue(), 10.5);
  EXPECT_LE(svg_testing::drawnPage(imported, 1)->differingShare(*ours, 48), 0.004);
}

}  // namespace
