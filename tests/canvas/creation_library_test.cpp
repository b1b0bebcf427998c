// Library shapes placed by a drop and by the library tool, the flip of their points,
// and the add-point tool.

#include <gtest/gtest.h>

#include <gdkmm/window.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "creation_test_support.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/ui/view_host.h"
#include "real_pointer_support.h"

namespace {

using creation_testing::CreationTest;
using platform::Point;
using platform::Rect;

platform::DictRef pointRecord(Point point, Point control1, Point control2) {
  return platform::Dictionary::make({{"point", platform::stringFromPoint(point)},
                                     {"control_point1", platform::stringFromPoint(control1)},
                                     {"control_point2", platform::stringFromPoint(control2)}});
}

// A library path 40.7 high whose points are kept bottom-up.
platform::DictRef bottomUpShape() {
  platform::DictRef record = CMProject::defaultObject("path");
  record->set("width", 30.0);
  record->set("height", 40.7);
  record->dictionary("shape")->set(
      "points", platform::Array::make({pointRecord({10, 0}, {10, 0}, {12, 5}), pointRecord({40, 30}, {35, 20}, {40, 30})}));
  return record;
}

Point pointOf(const platform::DictRef& record, std::size_t index, const char* key) {
  const platform::ArrayRef points = record->dictionary("shape")->array("points");
  return platform::pointFromString(points->at(index).dictionary()->get(key).string());
}

TEST(FlipAndPosition, APointsAreFlippedWithinTheWholeHeightAndMovedToStartAtZero) {
  const platform::DictRef record = bottomUpShape();
  CMEditorView::flipAndPositionForObject(record, {70, 80});
  EXPECT_DOUBLE_EQ(record->get("x").doubleValue(), 70);
  EXPECT_DOUBLE_EQ(record->get("y").doubleValue(), 80);
  // y' = 40 − y: 40, 40, 35 and 10, 20, 10; minimum x 10, minimum y 10.
  EXPECT_EQ(pointOf(record, 0, "point"), (Point{0, 30}));
  EXPECT_EQ(pointOf(record, 0, "control_point1"), (Point{0, 30}));
  EXPECT_EQ(pointOf(record, 0, "control_point2"), (Point{2, 25}));
  EXPECT_EQ(pointOf(record, 1, "point"), (Point{30, 0}));
  EXPECT_EQ(pointOf(record, 1, "control_point1"), (Point{25, 10}));
  EXPECT_EQ(pointOf(record, 1, "control_point2"), (Point{30, 0}));
}

TEST(FlipAndPosition, AnAlreadyFlippedShapeKeepsItsPlaceAndAFlippedRecordItsPoints) {
  const platform::DictRef flippedShape = bottomUpShape();
  flippedShape->set("x", 5.0);
  flippedShape->dictionary("shape")->set("isFlipped", 1);
  CMEditorView::flipAndPositionForObject(flippedShape, {70, 80});
  EXPECT_DOUBLE_EQ(flippedShape->get("x").doubleValue(), 5);
  EXPECT_EQ(pointOf(flippedShape, 0, "point"), (Point{10, 0}));

  const platform::DictRef flippedRecord = bottomUpShape();
  flippedRecord->set("isFlipped", true);
  CMEditorView::flipAndPositionForObject(flippedRecord, {70, 80});
  EXPECT_DOUBLE_EQ(flippedRecord->get("x").doubleValue(), 70);
  EXPECT_EQ(pointOf(flippedRecord, 1, "point"), (Point{40, 30}));
}

TEST(FlipAndPosition, DamagedRecordsAreLeftAlone) {
  CMEditorView::flipAndPositionForObject(nullptr, {1, 1});
  const platform::DictRef record = platform::Dictionary::make({{"height", "lots"}});
  CMEditorView::flipAndPositionForObject(record, {1, 2});
  EXPECT_DOUBLE_EQ(record->get("y").doubleValue(), 2);
  EXPECT_FALSE(record->contains("shape"));
}

class CreationLibraryTest : public CreationTest {};

TEST_F(CreationLibraryTest, ADropOutsideTheCanvasDoesNothingAndQueuesNothing) {
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  canvas_->selectTool(kCMToolRectangle, nullptr);
  canvas_->addShape({-5000, -5000}, bottomUpShape());
  platform::drainMainQueue();
  EXPECT_TRUE(records()->empty());
  EXPECT_EQ(canvas_->currentTool(), kCMToolRectangle) << "no completion ran";
}

TEST_F(CreationLibraryTest, ADropOnTheCanvasAddsTheShapeCentredOnTheDropPointFlipped) {
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  int originX = 0;
  int originY = 0;
  window_.host().get_window()->get_origin(originX, originY);
  // The canvas's top-left is at (50, 600 − 340) in the window's y-down pixels; drop at canvas (100, 60).
  canvas_->addShape({originX + 150.0, originY + 260.0 + 60.0}, bottomUpShape());
  platform::drainMainQueue();
  ASSERT_EQ(records()->size(), 1u);
  const platform::DictRef added = record(0);
  // Centred on the drop point: the 30 × 40.7 shape's corner half its size up and left of it.
  EXPECT_FLOAT_EQ(added->get("x").floatValue(), 85);
  EXPECT_FLOAT_EQ(added->get("y").floatValue(), 60 - 40.7f / 2);
  EXPECT_EQ(added->dictionary("shape")->get("isFlipped").intValue(), 1);
  EXPECT_TRUE(canvas_->layers()[0]->selected());
  EXPECT_EQ(controller().selections.size(), 1u);
  EXPECT_EQ(document_->undoManager().undoCount(), 1u);
}

// A red library shape of its own size 30 × 40 without a stroke: a path (placed by a click too) or a star.
platform::DictRef redLibraryShape(const char* kind) {
  platform::DictRef record = CMProject::defaultObject(kind);
  record->set("width", 30.0), record->set("height", 40.0), record->set("isFlipped", true);
  const platform::DictRef shape = record->dictionary("shape");
  platform::ArrayRef points = platform::Array::make();
  for (const auto& [point, type] : {std::pair{"{0, 40}", 1}, {"{15, 0}", 2}, {"{30, 40}", 2}})
    points->add(platform::Dictionary::make({{"point", point}, {"type", type}, {"id", int(points->size()) + 1}}));
  if (std::string(kind) == "path") shape->set("points", points);
  shape->set("fill", platform::Dictionary::make({{"use", true}, {"type", 1}, {"alpha", 1.0},
                                                 {"color", canvas_testing::colourRecord(255, 0, 0, 255)}}));
  shape->set("stroke", platform::Dictionary::make({{"use", false}}));
  return record;
}

struct LibraryToolRow {
  const char* name;
  const char* kind;
  float zoom;
  Point from, to;              // on the canvas
  std::optional<Rect> stored;  // in document units; none when nothing is placed
};
void PrintTo(const LibraryToolRow& row, std::ostream* os) { *os << row.name; }

class LibraryTool : public CreationTest, public testing::WithParamInterface<LibraryToolRow> {};

// Real presses and drags through GDK: a band drawn is filled, as the red pixels show; a click places a path.
TEST_P(LibraryTool, ABandIsFilledAndAClickPlacesAPath) {
  const LibraryToolRow& row = GetParam();
  showZoomed(row.zoom);
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  canvas_->selectTool(kCMToolLibraryShape, redLibraryShape(row.kind));
  canvas_testing::RealPointer hand(window_, *canvas_);
  hand.drag(row.from, row.to);
  platform::drainMainQueue();
  EXPECT_EQ(canvas_->currentTool(), kCMToolSelect);
  ASSERT_EQ(records()->size(), row.stored ? 1u : 0u);
  if (!row.stored) return;
  // Left, top, right and bottom.
  const auto edges = [](Rect r) {
    return std::array{r.origin.x, r.origin.y, r.origin.x + r.size.width, r.origin.y + r.size.height};
  };
  const auto stored = edges(frameOf(record(0))), want = edges(*row.stored);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(stored[i], want[i], 1e-3) << i;
  canvas_->clickOutside();
  platform::test::processPendingEvents();
  const auto shot = platform::test::renderWidget(canvas_->widget());
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x)
      if (const auto p = platform::test::pixelAt(shot.get(), x, y); p.red > 200 && p.green < 80 && p.blue < 80)
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
  // A star's sharp tips fade out of the colour a few pixels before they end.
  const double z = row.zoom, across = 2 + row.stored->size.width * z / 50, down = 2 + row.stored->size.height * z / 50;
  const int shown[] = {left, top, right + 1, bottom + 1};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(shown[i], want[i] * z, i % 2 ? down : across) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Placements, LibraryTool,
    testing::Values(LibraryToolRow{"PathBandAt200", "path", 2, {20, 20}, {100, 80}, Rect{10, 10, 40, 30}},
                    LibraryToolRow{"PathBandDrawnUpwards", "path", 1, {150, 200}, {50, 120}, Rect{50, 120, 100, 80}},
                    LibraryToolRow{"PathClickKeepsItsSize", "path", 2, {40, 60}, {40, 60}, Rect{20, 30, 30, 40}},
                    LibraryToolRow{"StarBandAt200", "star", 2, {40, 60}, {240, 160}, Rect{20, 30, 100, 50}},
                    LibraryToolRow{"StarClickPlacesNothing", "star", 1, {40, 60}, {40, 60}, std::nullopt}),
    [](const testing::TestParamInfo<LibraryToolRow>& info) { return std::string(info.param.name); });

TEST_F(CreationLibraryTest, TheAddPointToolReturnsToPointEditing) {
  draw(kCMToolAddBezierPoint, {{20, 20}, {30, 30}});
  EXPECT_EQ(canvas_->currentTool(), kCMToolPathPoints);
  EXPECT_EQ(document_->undoManager().undoCount(), 0u) << "no current layer: nothing to add a point to";
}

}  // namespace
