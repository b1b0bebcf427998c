// The boolean path commands through the canvas: the primary shape takes the result, the other shapes go, one
// undo gives every record back, and layers that are not shapes are left out. Areas by the boolean tests'
// Green's-theorem oracle, places by the rendered pixels.

#include <gtest/gtest.h>

#include <cstdlib>

#include "document/CMPathShape.h"
#include "layer_commands_test_support.h"
#include "platform/graphics/affine_transform.h"
#include "path_oracles.h"

namespace {

using layer_commands_testing::defaultLayer;
using layer_commands_testing::filledShape;
using layer_commands_testing::LayerCommandsTest;
using layer_commands_testing::sameContent;
using platform::DictRef;
using platform::Point;
using platform::Rect;

constexpr std::int64_t kOval = 1;

bool isColour(const platform::test::Pixel& pixel, int r, int g, int b) {
  return std::abs(pixel.red - r) <= 2 && std::abs(pixel.green - g) <= 2 && std::abs(pixel.blue - b) <= 2;
}

struct PathCase {
  const char* name;
  void (CMEditorView::*command)();
  Rect bounds;
  double squares;  // the result's area is 10,000 × squares + A × ovals
  double ovals;
  // Names the case in test listings instead of dumping its bytes, pointers included.
  friend void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }
};

class PathCommands : public LayerCommandsTest, public ::testing::WithParamInterface<PathCase> {
 protected:
  // A red square at (100, 100), primary and topmost, over a blue oval in (50, 50, 100, 100).
  void showSquareOverOval() {
    show({filledShape(kOval, 1, {50, 50, 100, 100}, 0, 0, 220), filledShape(0, 2, {100, 100, 100, 100}, 220, 0, 0)});
    ovalArea_ = pathoracles::evenOddArea(CMEditorView::layerFromDictionary(root(0))->path());
    select(2, {1});
  }
  double ovalArea_ = 0;
};

TEST_P(PathCommands, ThePrimaryShapeTakesTheResultAndTheOtherGoes) {
  const PathCase& expected = GetParam();
  showSquareOverOval();
  const platform::Value before = snapshot();
  (canvas().*expected.command)();
  ASSERT_EQ(rootIds(), (std::vector<std::int64_t>{2}));
  const DictRef result = root(0);
  EXPECT_TRUE(result->dictionary("shape")->get("isbezier").boolValue());
  EXPECT_EQ(result->get("isDirty").intValue(), 1);
  const std::shared_ptr<CMLayer> layer = CMEditorView::layerFromDictionary(result);
  const Rect bounds = layer->layerRect();
  EXPECT_NEAR(bounds.origin.x, expected.bounds.origin.x, 1e-3);
  EXPECT_NEAR(bounds.origin.y, expected.bounds.origin.y, 1e-3);
  EXPECT_NEAR(bounds.size.width, expected.bounds.size.width, 1e-3);
  EXPECT_NEAR(bounds.size.height, expected.bounds.size.height, 1e-3);
  const double wanted = 10000 * expected.squares + ovalArea_ * expected.ovals;
  EXPECT_NEAR(pathoracles::evenOddArea(layer->path()), wanted, 1e-6 * wanted);
  EXPECT_EQ(undoSteps(), 1u);

  undo();
  EXPECT_TRUE(sameContent(snapshot(), before));
  redo();
  EXPECT_EQ(rootIds(), (std::vector<std::int64_t>{2}));
  EXPECT_NEAR(pathoracles::evenOddArea(CMEditorView::layerFromDictionary(root(0))->path()), wanted, 1e-6 * wanted);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PathCommands,
    ::testing::Values(PathCase{"Union", &CMEditorView::pathUnion, {50, 50, 150, 150}, 1, 0.75},
                      PathCase{"Intersect", &CMEditorView::pathIntersect, {100, 100, 50, 50}, 0, 0.25},
                      PathCase{"Difference", &CMEditorView::pathDifference, {100, 100, 100, 100}, 1, -0.25},
                      PathCase{"Subtract", &CMEditorView::pathSubtract, {50, 50, 150, 150}, 1, 0.5}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

// Pairs of layers as a user draws them: rotated layers (A at 60, 100, 80 × 80 and B 100 × 80, both turned 30° about
// A's centre, B placed where that turn puts it), a circle and its copy turned a little (curves that nearly coincide
// all round), and outlines that cross themselves (a star clicked with the pen as one outline, a bow-tie) over a
// rectangle. Each pixel of the result drawn on the canvas is the operation of the canvas's own drawings of the two
// layers (which fill even-odd); the stored outline keeps the first layer's turn and has the area of that operation.
struct DrawnCase {
  const char* name;
  DictRef (*first)();   // red, primary
  DictRef (*second)();  // blue
  void (CMEditorView::*command)();
  bool (*combine)(bool inA, bool inB);
  // Worked out beside the test (by slabs between the heights where edges cross), or, where it is negative, the first
  // layer's own area (a circle and its turned copy make it within the crescents between them).
  double area;
  double areaTolerance;
  friend void PrintTo(const DrawnCase& c, std::ostream* out) { *out << c.name; }
};

DictRef turned(DictRef record, double degrees) {
  record->set("rotate", degrees);
  return record;
}
DictRef turnedA() { return turned(filledShape(0, 1, {60, 100, 80, 80}, 220, 0, 0), 30); }
DictRef turnedB() {
  platform::AffineTransform turn;
  turn.translate(100, 140);
  turn.rotateByRadians(30 * 0.017453292f);
  turn.translate(-100, -140);
  const Point centre = turn.transformPoint({150, 140});
  return turned(filledShape(0, 2, {centre.x - 50, centre.y - 40, 100, 80}, 0, 0, 220), 30);
}

DictRef circle() { return filledShape(kOval, 1, {100, 80, 100, 100}, 220, 0, 0); }
template <int degrees>
DictRef circleTurned() {
  return turned(filledShape(kOval, 2, {100, 80, 100, 100}, 0, 0, 220), degrees);
}

// A shape of type 7 (a path) filled red through the outline given in page coordinates.
DictRef outlineLayer(const std::vector<Point>& page) {
  platform::BezierPath path;
  for (const Point& point : page) path.isEmpty() ? path.moveTo(point) : path.lineTo(point);
  path.closePath();
  const Rect bounds = path.bounds();
  DictRef record = filledShape(7, 1, bounds, 220, 0, 0);
  platform::AffineTransform toFrame;
  toFrame.translate(-bounds.origin.x, -bounds.origin.y);
  path.transformUsingAffineTransform(toFrame);
  record->dictionary("shape")->set("points", CMPathShape::pointRecordsFromPath(path));
  record->dictionary("shape")->set("isbezier", true);
  return record;
}
// The star of the pen, 150 left and 100 up of where it was clicked so that the page holds it.
DictRef penStar() { return outlineLayer({{150, 120}, {197, 265}, {74, 175}, {226, 175}, {103, 265}}); }
DictRef bowTie() { return outlineLayer({{150, 100}, {250, 200}, {250, 100}, {150, 200}}); }
DictRef underStar() { return filledShape(0, 2, {120, 180, 60, 50}, 0, 0, 220); }
DictRef inBowTie() { return filledShape(0, 2, {175, 125, 50, 50}, 0, 0, 220); }

bool either(bool a, bool b) { return a || b; }
bool both(bool a, bool b) { return a && b; }
bool onlyA(bool a, bool b) { return a && !b; }
bool one(bool a, bool b) { return a != b; }

class DrawnPathCommands : public LayerCommandsTest, public ::testing::WithParamInterface<DrawnCase> {
 protected:
  // Which pixels of the page's area hold the colour fully, which are white, and which are neither (an edge).
  enum Coverage : std::uint8_t { kWhite, kFull, kEdge };
  std::vector<Coverage> coverage(int r, int g, int b) {
    const auto image = render();
    std::vector<Coverage> map;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 400; ++x) {
        const auto pixel = pixelOnPage(image.get(), {double(x), double(y)});
        map.push_back(isColour(pixel, r, g, b) ? kFull : isColour(pixel, 255, 255, 255) ? kWhite : kEdge);
      }
    }
    return map;
  }
};

TEST_P(DrawnPathCommands, GiveWhatTheCanvasShowsOfTheLayers) {
  const DrawnCase& row = GetParam();
  show({row.first()});
  const double area =
      row.area < 0 ? pathoracles::evenOddArea(CMEditorView::layerFromDictionary(root(0))->path()) : row.area;
  const std::vector<Coverage> inA = coverage(220, 0, 0);
  show({row.second()});
  const std::vector<Coverage> inB = coverage(0, 0, 220);
  show({row.second(), row.first()});
  select(1, {2});
  (canvas().*row.command)();
  ASSERT_EQ(rootIds(), (std::vector<std::int64_t>{1}));
  EXPECT_FLOAT_EQ(root(0)->get("rotate").floatValue(), row.first()->get("rotate").floatValue());
  EXPECT_NEAR(pathoracles::evenOddArea(CMEditorView::layerFromDictionary(root(0))->path()), area, row.areaTolerance);
  select(0);  // no handles over the drawing
  const std::vector<Coverage> result = coverage(220, 0, 0);
  int compared = 0, wrong = 0;  // pixels where no drawing has an edge, and of those the ones where the result is wrong
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (inA[i] == kEdge || inB[i] == kEdge || result[i] == kEdge) continue;
    ++compared;
    wrong += (result[i] == kFull) != row.combine(inA[i] == kFull, inB[i] == kFull);
  }
  EXPECT_GT(compared, 100000);
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DrawnPathCommands,
    ::testing::Values(
        DrawnCase{"turned_union", turnedA, turnedB, &CMEditorView::pathUnion, either, 140 * 80, 1e-3},
        DrawnCase{"turned_difference", turnedA, turnedB, &CMEditorView::pathDifference, onlyA, 40 * 80, 1e-3},
        DrawnCase{"turned_intersect", turnedA, turnedB, &CMEditorView::pathIntersect, both, 40 * 80, 1e-3},
        DrawnCase{"turned_subtract", turnedA, turnedB, &CMEditorView::pathSubtract, one, 100 * 80, 1e-3},
        DrawnCase{"circle_turned_1_union", circle, circleTurned<1>, &CMEditorView::pathUnion, either, -1, 1},
        DrawnCase{"circle_turned_1_intersect", circle, circleTurned<1>, &CMEditorView::pathIntersect, both, -1, 1},
        DrawnCase{"circle_turned_45_union", circle, circleTurned<45>, &CMEditorView::pathUnion, either, -1, 1},
        DrawnCase{"circle_turned_10_intersect", circle, circleTurned<10>, &CMEditorView::pathIntersect, both, -1, 1},
        DrawnCase{"pen_star_intersect", penStar, underStar, &CMEditorView::pathIntersect, both, 958.0035, 1e-3},
        DrawnCase{"pen_star_union", penStar, underStar, &CMEditorView::pathUnion, either, 7017.1768, 1e-3},
        DrawnCase{"bow_tie_intersect", bowTie, inBowTie, &CMEditorView::pathIntersect, both, 1250, 1e-6}),
    [](const ::testing::TestParamInfo<DrawnCase>& info) { return std::string(info.param.name); });

TEST_F(PathCommands, SubtractLeavesTheOverlapUnpainted) {
  showSquareOverOval();
  canvas().pathSubtract();
  const auto image = render();
  EXPECT_TRUE(isColour(pixelOnPage(image.get(), {110, 110}), 255, 255, 255));
  EXPECT_TRUE(isColour(pixelOnPage(image.get(), {60, 100}), 220, 0, 0));
  EXPECT_TRUE(isColour(pixelOnPage(image.get(), {190, 190}), 220, 0, 0));
}

TEST_F(PathCommands, LayersThatAreNotShapesStayOutOfIt) {
  show({filledShape(kOval, 1, {50, 50, 100, 100}, 0, 0, 220), defaultLayer("text", 3, {10, 10}),
        filledShape(0, 2, {100, 100, 100, 100}, 220, 0, 0)});
  select(2, {1, 3});
  canvas().pathUnion();
  EXPECT_EQ(rootIds(), (std::vector<std::int64_t>{3, 2}));
  EXPECT_EQ(undoSteps(), 1u);
  EXPECT_FALSE(document_->undoManager().inTransaction());
  // The next edit is a step of its own.
  select(3);
  canvas().flipH();
  EXPECT_EQ(undoSteps(), 2u);
  // A primary layer that is not a shape combines nothing.
  const platform::Value before = snapshot();
  select(3, {2});
  canvas().pathIntersect();
  EXPECT_TRUE(sameContent(snapshot(), before));
  EXPECT_EQ(undoSteps(), 2u);
}

TEST_F(PathCommands, ADisjointIntersectionEmptiesThePrimaryShape) {
  show({filledShape(kOval, 1, {0, 0, 40, 40}, 0, 0, 220), filledShape(0, 2, {200, 200, 50, 50}, 220, 0, 0)});
  const platform::Value before = snapshot();
  select(2, {1});
  canvas().pathIntersect();
  EXPECT_EQ(rootIds(), (std::vector<std::int64_t>{2}));
  EXPECT_TRUE(root(0)->dictionary("shape")->array("points")->empty());
  undo();
  EXPECT_TRUE(sameContent(snapshot(), before));
}

TEST_F(PathCommands, AResultTheRecordsCannotHoldChangesAndRegistersNothing) {
  DictRef huge = filledShape(0, 2, {0, 0, 10, 10}, 220, 0, 0);
  huge->set("shape", document_testing::frameShape({1e300, 1e300, 1e300, 1e300}));
  DictRef other = filledShape(kOval, 1, {0, 0, 10, 10}, 0, 0, 220);
  other->set("shape", document_testing::frameShape({-1e300, 1e300, 3e300, 1e300}));
  show({other, huge});
  const platform::Value before = snapshot();
  const bool editedBefore = document_->dirty();
  select(2, {1});
  canvas().pathUnion();
  EXPECT_TRUE(snapshot().isEqual(before));
  EXPECT_EQ(undoSteps(), 0u);
  EXPECT_FALSE(document_->undoManager().inTransaction());
  EXPECT_EQ(document_->dirty(), editedBefore);
}

}  // namespace
