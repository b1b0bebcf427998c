// The drawer: layer objects built from the document's tree, view modes and zoom,
// background, output orientation and the selection marks pass, with real shape layers.

#include "document/CMDrawer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "../platform/graphics/graphics_test_canvas.h"
#include "document/CMBaseDocument.h"
#include "document/CMCaches.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "document_test_support.h"
#include "shape_layer_support.h"

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Rect;
using platform::testing::GraphicsCanvas;
using platform::testing::Pixel;

constexpr int kSide = 200;

// A filled rectangle layer of the given colour, no stroke.
DictRef rectLayer(int id, const Rect& frame, double r = 255, double g = 0, double b = 0) {
  DictRef shape = document_testing::frameShape({0, 0, frame.size.width, frame.size.height});
  shape->set("fill", Dictionary::make({{"use", true},
                                       {"type", 1},
                                       {"alpha", 1.0},
                                       {"color", Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", 255}})}}));
  DictRef record = document_testing::shapeLayerRecord(0, shape, frame.origin.x, frame.origin.y);
  record->set("id", id);
  record->set("alpha", 1.0);
  return record;
}

DictRef groupRecord(int id, bool visible, std::initializer_list<platform::Value> items) {
  return Dictionary::make({{"id", id}, {"type", 3}, {"visible", visible}, {"items", Array::make(items)}});
}

DictRef hidden(DictRef record) {
  record->set("visible", false);
  return record;
}

class DrawerTest : public ::testing::Test {
 protected:
  DrawerTest() : document_(std::make_shared<CMBaseDocument>()) { CMCaches::sharedCaches().clean(); }
  ~DrawerTest() override { CMCaches::sharedCaches().clean(); }

  void show(std::initializer_list<platform::Value> layers, double zoom = 1) {
    root_ = Dictionary::make({{"layers", Array::make(layers)}, {"zoom", zoom}});
    document_->setData(root_);
    drawer_.setDocument(document_);
  }

  // A page without background colour stays transparent.
  void drawOn(GraphicsCanvas& canvas, bool design) { drawOn(drawer_, canvas, design); }
  static void drawOn(CMDrawer& drawer, GraphicsCanvas& canvas, bool design) {
    canvas.context().setFillColor(platform::Color::clearColor());
    drawer.draw(canvas.context(), {0, 0, kSide, kSide}, design);
  }

  static bool sameRecord(const std::shared_ptr<CMLayer>& layer, const DictRef& record) {
    return layer->data() == record;
  }

  document_testing::ScratchFolders folders_;
  std::shared_ptr<CMBaseDocument> document_;
  DictRef root_;
  CMDrawer drawer_;
};

// ---- building the layer objects ----

TEST_F(DrawerTest, VisibleGroupMembersAndHiddenLayersAllGetObjects) {
  const DictRef a = rectLayer(2, {0, 0, 10, 10});
  const DictRef b = rectLayer(3, {20, 0, 10, 10});
  const DictRef c = hidden(rectLayer(4, {40, 0, 10, 10}));
  show({groupRecord(1, true, {a, b}), c});
  ASSERT_EQ(drawer_.layers().size(), 3u);
  EXPECT_TRUE(sameRecord(drawer_.layers()[0], a));
  EXPECT_TRUE(sameRecord(drawer_.layers()[1], b));
  EXPECT_TRUE(sameRecord(drawer_.layers()[2], c));
  // The tree: one group node holding two layers, then the hidden layer.
  ASSERT_EQ(drawer_.topGroup().items.size(), 2u);
  const auto& group = std::get<std::shared_ptr<CMDrawer::GroupNode>>(drawer_.topGroup().items[0]);
  EXPECT_EQ(group->id, 1);
  EXPECT_EQ(group->items.size(), 2u);
}

TEST_F(DrawerTest, HiddenGroupTakesItsMembersAtAnyDepth) {
  const DictRef kept = rectLayer(9, {0, 0, 10, 10});
  show({groupRecord(1, false, {rectLayer(2, {0, 0, 5, 5}), groupRecord(3, true, {rectLayer(4, {0, 0, 5, 5})})}),
        groupRecord(5, true, {groupRecord(6, false, {rectLayer(7, {0, 0, 5, 5})}), kept})});
  ASSERT_EQ(drawer_.layers().size(), 1u);
  EXPECT_TRUE(sameRecord(drawer_.layers()[0], kept));
}

TEST_F(DrawerTest, MasksFollowTheirOwnerInTheSameNode) {
  const DictRef mask = rectLayer(3, {0, 0, 5, 5});
  mask->set("ismask", true);
  const DictRef innerMask = rectLayer(4, {0, 0, 2, 2});
  mask->set("masks", Array::make({innerMask}));
  const DictRef owner = rectLayer(2, {0, 0, 10, 10});
  owner->set("masks", Array::make({mask}));
  const DictRef next = rectLayer(5, {0, 0, 10, 10});
  show({groupRecord(1, true, {owner, next})});
  ASSERT_EQ(drawer_.layers().size(), 4u);
  EXPECT_TRUE(sameRecord(drawer_.layers()[0], owner));
  EXPECT_TRUE(sameRecord(drawer_.layers()[1], mask));
  EXPECT_TRUE(sameRecord(drawer_.layers()[2], innerMask));
  EXPECT_TRUE(sameRecord(drawer_.layers()[3], next));
  const auto& group = std::get<std::shared_ptr<CMDrawer::GroupNode>>(drawer_.topGroup().items[0]);
  EXPECT_EQ(group->items.size(), 4u);
}

TEST_F(DrawerTest, RecordsOfUnknownTypeGetNoObject) {
  DictRef odd = rectLayer(2, {0, 0, 10, 10});
  odd->set("type", 7);
  show({odd, rectLayer(3, {0, 0, 10, 10})});
  EXPECT_EQ(drawer_.layers().size(), 1u);
  EXPECT_EQ(drawer_.addObject(odd), nullptr);
  EXPECT_EQ(drawer_.addObject(nullptr), nullptr);
}

TEST_F(DrawerTest, SetDocumentReplacesEverything) {
  show({rectLayer(2, {0, 0, 10, 10}), rectLayer(3, {0, 0, 10, 10})});
  show({rectLayer(4, {0, 0, 10, 10})});
  EXPECT_EQ(drawer_.layers().size(), 1u);
  EXPECT_EQ(drawer_.topGroup().items.size(), 1u);
  drawer_.setDocument(nullptr);
  EXPECT_TRUE(drawer_.layers().empty());
}

// ---- view modes and zoom ----

platform::Point xy(double x, double y) { return {x, y}; }

TEST_F(DrawerTest, CachedModeKeepsViewZoomOneAndMarksLayersDirty) {
  show({rectLayer(2, {0, 0, 10, 10}), rectLayer(3, {0, 0, 10, 10})});
  for (const auto& layer : drawer_.layers()) layer->setDirty(false);
  drawer_.setZoom(3);
  EXPECT_EQ(drawer_.viewZoom(), 1);
  for (const auto& layer : drawer_.layers()) {
    EXPECT_EQ(layer->viewZoom(), 1);
    EXPECT_TRUE(layer->dirty());
  }
}

TEST_F(DrawerTest, VectorModeHandsTheZoomToEveryLayerAndToNewOnes) {
  show({rectLayer(2, {0, 0, 10, 10})});
  drawer_.setViewMode(true);
  drawer_.setZoom(3);
  EXPECT_EQ(drawer_.layers()[0]->viewZoom(), 3);
  EXPECT_TRUE(drawer_.layers()[0]->dirty());
  const std::shared_ptr<CMLayer> added = drawer_.addObject(rectLayer(5, {0, 0, 10, 10}));
  ASSERT_NE(added, nullptr);
  EXPECT_TRUE(added->vectorViewMode());
  EXPECT_EQ(added->viewZoom(), 3);
  EXPECT_EQ(added->zoom(), 3);
  EXPECT_EQ(drawer_.layers().back(), added);
  // A zoom of 7.5 in vector mode is kept exactly, not narrowed to a whole number.
  drawer_.setZoom(7.5f);
  EXPECT_EQ(added->viewZoom(), 7.5f);
}

TEST_F(DrawerTest, ZoomThatIsNotAPositiveNumberCountsAsOne) {
  show({rectLayer(2, {0, 0, 10, 10})});
  drawer_.setViewMode(true);
  for (float zoom : {0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    drawer_.setZoom(zoom);
    EXPECT_EQ(drawer_.viewZoom(), 1) << zoom;
    EXPECT_EQ(drawer_.layers()[0]->viewZoom(), 1) << zoom;
  }
}

TEST_F(DrawerTest, ZoomTransformScalesOnlyTheCachedCanvas) {
  GraphicsCanvas canvas(kSide, kSide, true);
  show({}, 2);
  drawer_.draw(canvas.context(), {0, 0, kSide, kSide}, true);
  EXPECT_EQ(drawer_.zoomTransform().transformPoint({3, 5}), xy(6, 10));
  EXPECT_EQ(drawer_.backZoomTransform().transformPoint({6, 10}), xy(3, 5));
  drawer_.setViewMode(true);
  EXPECT_EQ(drawer_.zoomTransform().transformPoint({3, 5}), xy(3, 5));
  drawer_.setViewMode(false);
  drawer_.draw(canvas.context(), {0, 0, kSide, kSide}, false);
  EXPECT_EQ(drawer_.zoomTransform().transformPoint({3, 5}), xy(3, 5));
}

TEST_F(DrawerTest, DocumentZoomThatIsNotAPositiveNumberCountsAsOne) {
  GraphicsCanvas canvas(kSide, kSide, true);
  for (double zoom : {0.0, -3.0, std::numeric_limits<double>::quiet_NaN()}) {
    show({}, zoom);
    drawer_.draw(canvas.context(), {0, 0, kSide, kSide}, true);
    EXPECT_EQ(drawer_.zoomTransform().transformPoint({3, 5}), xy(3, 5)) << zoom;
    EXPECT_EQ(drawer_.backZoomTransform().transformPoint({3, 5}), xy(3, 5)) << zoom;
  }
  root_->remove("zoom");
  EXPECT_EQ(drawer_.documentZoom(), 1);
}

// ---- drawing ----

bool isRed(const Pixel& pixel) { return pixel.r > 240 && pixel.g < 15 && pixel.b < 15 && pixel.a > 240; }
bool isClear(const Pixel& pixel) { return pixel.a == 0; }

TEST_F(DrawerTest, HiddenLayerIsNotDrawn) {
  GraphicsCanvas canvas(kSide, kSide, true);
  show({groupRecord(1, true, {rectLayer(2, {10, 10, 20, 20}), rectLayer(3, {50, 10, 20, 20})}),
        hidden(rectLayer(4, {90, 10, 20, 20}))});
  drawOn(canvas, true);
  EXPECT_TRUE(isRed(canvas.at(20, 20)));
  EXPECT_TRUE(isRed(canvas.at(60, 20)));
  EXPECT_TRUE(isClear(canvas.at(100, 20)));
  EXPECT_TRUE(isClear(canvas.at(40, 20)));
}

TEST_F(DrawerTest, OutputPutsRecordTopAtTheTopOfTheImage) {
  // Output surfaces are y-up: without the drawer's flip a layer at y = 0 would land at the bottom.
  GraphicsCanvas page(kSide, kSide);
  show({rectLayer(2, {10, 0, 30, 20})});
  drawOn(page, false);
  EXPECT_TRUE(isRed(page.at(20, 2)));    // device rows count from the top
  EXPECT_TRUE(isRed(page.at(20, 18)));
  EXPECT_TRUE(isClear(page.at(20, 22)));
  EXPECT_TRUE(isClear(page.at(20, kSide - 5)));
}

TEST_F(DrawerTest, CanvasPutsRecordTopAtTheTopOfTheFlippedView) {
  GraphicsCanvas canvas(kSide, kSide, true);
  show({rectLayer(2, {10, 0, 30, 20})});
  drawOn(canvas, true);
  EXPECT_TRUE(isRed(canvas.at(20, 2)));
  EXPECT_TRUE(isClear(canvas.at(20, 22)));
}

TEST_F(DrawerTest, CachedZoomAndVectorZoomPlaceLayersAlike) {
  for (bool vector : {false, true}) {
    GraphicsCanvas canvas(kSide, kSide, true);
    show({rectLayer(2, {10, 10, 20, 20})}, 2);
    drawer_.setViewMode(vector);
    drawer_.setZoom(2);
    drawOn(canvas, true);
    EXPECT_TRUE(isRed(canvas.at(22, 22))) << vector;
    EXPECT_TRUE(isRed(canvas.at(58, 58))) << vector;
    EXPECT_TRUE(isClear(canvas.at(18, 30))) << vector;
    EXPECT_TRUE(isClear(canvas.at(62, 30))) << vector;
  }
}

TEST_F(DrawerTest, TransparentPageColourKeepsTheCallersColour) {
  GraphicsCanvas canvas(kSide, kSide, true);
  show({});
  root_->set("background",
             Dictionary::make({{"bg_color", Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 0}})}}));
  canvas.context().setFillColor(platform::Color(0, 1, 0, 1));
  drawer_.draw(canvas.context(), {0, 0, kSide, kSide}, true);
  const Pixel pixel = canvas.at(100, 100);
  EXPECT_EQ(pixel.g, 255);
  EXPECT_EQ(pixel.r, 0);
}

TEST_F(DrawerTest, PageColourReplacesWhatWasThere) {
  GraphicsCanvas canvas(kSide, kSide, true);
  canvas.paintBackdrop(0, 0, 1, 1);
  show({});
  DictRef colour = Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 255}});
  root_->set("background", Dictionary::make({{"bg_color", colour}}));
  drawOn(canvas, true);
  EXPECT_TRUE(isRed(canvas.at(100, 100)));
  // Half-transparent: copied, so the blue below does not show through.
  colour->set("a", 128);
  drawer_.draw(canvas.context(), {0, 0, kSide, kSide}, true);
  const Pixel pixel = canvas.at(100, 100);
  EXPECT_NEAR(pixel.a, 128, 1);
  EXPECT_NEAR(pixel.r, 128, 1);
  EXPECT_EQ(pixel.b, 0);
}

// Pixels in the handles' outline colour (0, 50, 255).
int handleOutlinePixels(const GraphicsCanvas& canvas) {
  int count = 0;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const Pixel p = canvas.at(x, y);
      if (p.a > 200 && p.r < 15 && std::abs(p.g - 50) < 15 && p.b > 240) ++count;
    }
  }
  return count;
}

TEST_F(DrawerTest, SelectionMarksOnlyOnTheCanvasForSelectedLayers) {
  CMProject::shareProject().setEditMode(kCMEditModeObject);
  show({rectLayer(2, {40, 40, 60, 60})});
  {
    GraphicsCanvas canvas(kSide, kSide, true);
    drawOn(canvas, true);
    EXPECT_EQ(handleOutlinePixels(canvas), 0);
  }
  drawer_.layers()[0]->setSelected(true);
  {
    GraphicsCanvas canvas(kSide, kSide, true);
    drawOn(canvas, true);
    EXPECT_GT(handleOutlinePixels(canvas), 10);
    // Marks lie above every layer: the corner handle's white centre covers the red layer.
    const Pixel corner = canvas.at(40, 40);
    EXPECT_GT(corner.g, 240);
    EXPECT_TRUE(isRed(canvas.at(50, 50)));
  }
  {
    GraphicsCanvas page(kSide, kSide);
    drawOn(page, false);
    EXPECT_EQ(handleOutlinePixels(page), 0);
  }
}

TEST_F(DrawerTest, ExportAfterCanvasDrawShowsNoMaskOutline) {
  // A mask shows only its outline, and only while designing.
  DictRef mask = rectLayer(3, {20, 20, 100, 100});
  mask->set("ismask", true);
  mask->dictionary("shape")->set("stroke",
                                 Dictionary::make({{"use", true}, {"type", 1}, {"lineWidth", 1.0}, {"alpha", 1.0}}));
  show({rectLayer(2, {150, 150, 10, 10}), mask});
  GraphicsCanvas canvas(kSide, kSide, true);
  drawOn(canvas, true);
  int canvasInk = 0;
  for (int x = 0; x < 140; ++x) canvasInk += canvas.at(x, 20).a > 0 || canvas.at(x, 21).a > 0 ? 1 : 0;
  ASSERT_GT(canvasInk, 0) << "the canvas shows the mask's outline";

  CMDrawer output;
  output.setDocument(document_);
  GraphicsCanvas page(kSide, kSide);
  drawOn(output, page, false);
  for (int y = 0; y < 140; ++y) {
    for (int x = 0; x < 140; ++x) ASSERT_EQ(page.at(x, y).a, 0) << x << ", " << y;
  }
}

}  // namespace

namespace {

// The first pixel where the canvases differ, or an empty text.
std::string firstDifference(const GraphicsCanvas& one, const GraphicsCanvas& other) {
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const Pixel a = one.at(x, y);
      const Pixel b = other.at(x, y);
      if (a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a)
        return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  }
  return {};
}

}  // namespace

// Small redraws visit only the layers the index finds in their clip: nested groups, layers that reach everywhere or
// nowhere, layers moved in their records, selected or added on top between redraws all come out as drawing every
// layer draws them.
TEST_F(DrawerTest, RedrawsOfTilesThroughTheIndexDrawWhatDrawingEveryLayerDraws) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  show({rectLayer(1, {10, 10, 50, 50}),
        groupRecord(2, true,
                    {rectLayer(3, {40, 40, 60, 30}, 0, 255, 0),
                     groupRecord(4, true,
                                 {rectLayer(5, {90, 20, 40, 120}, 0, 0, 255),
                                  rectLayer(6, {-5e29, 70, 1e30, 15}, 255, 255, 0)})}),
        rectLayer(7, {nan, 30, 20, 20}), rectLayer(8, {150, 150, -30, 20}),
        rectLayer(9, {120, 100, 70, 70}, 0, 255, 255)});
  CMDrawer everyLayer;
  everyLayer.setDocument(document_);
  everyLayer.setKeepsLayerExtents(false);
  GraphicsCanvas indexed(kSide, kSide, true);
  GraphicsCanvas reference(kSide, kSide, true);
  const auto drawTiles = [&] {
    for (int y = 0; y < kSide; y += 29) {
      for (int x = 0; x < kSide; x += 37) {
        const Rect tile{double(x), double(y), 37, 29};
        drawer_.draw(indexed.context(), tile, true);
        everyLayer.draw(reference.context(), tile, true);
      }
    }
  };
  drawTiles();
  EXPECT_EQ(firstDifference(indexed, reference), "");
  // Both drawers show the same records: one edit moves the layer in both.
  drawer_.layers()[0]->setOriginPoint({130, 60});
  drawer_.layers()[2]->data()->set("y", 150);
  drawer_.layers()[2]->setSelected(true);
  everyLayer.layers()[2]->setSelected(true);
  const DictRef added = rectLayer(10, {5, 120, 80, 40}, 128, 0, 128);
  drawer_.addObject(added);
  everyLayer.addObject(added);
  drawTiles();
  EXPECT_EQ(firstDifference(indexed, reference), "");
}

namespace {

// One way a drawing reaches pixels: through the index or every layer, on the canvas (cached or vector) or for output,
// with the layer images rendered ahead or not, in one piece or in tiles.
struct DrawingPath {
  const char* name;
  bool keepsExtents;
  bool design;
  bool vector;
  bool imagesAhead;
  int tile;
};

class GroupOpacityTest : public DrawerTest, public ::testing::WithParamInterface<DrawingPath> {};

DictRef translucent(DictRef group, double alpha) {
  group->set("alpha", alpha);
  return group;
}

// Each channel within 2 of the colour worked out by hand for that spot on the white page.
void expectColour(const Pixel& p, double r, double g, double b, const char* what) {
  EXPECT_TRUE(std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2 && p.a == 255)
      << what << ": " << p.r << ", " << p.g << ", " << p.b << ", " << p.a;
}

}  // namespace

// On white: a group at half opacity holding overlapping red and blue squares shows each at half (the overlap blue at
// half, not blue over red), a green square above it stays opaque; groups at half inside one another give a quarter;
// an opaque group (alpha 1 or none) changes nothing; a hidden translucent group shows nothing; marks stay opaque;
// sixteen groups at 0.9 leave 0.9^16 of black.
TEST_P(GroupOpacityTest, ATranslucentGroupIsCompositedOnceWithItsAlpha) {
  const DrawingPath path = GetParam();
  CMProject::shareProject().setEditMode(kCMEditModeObject);
  DictRef noAlpha = groupRecord(7, true, {rectLayer(8, {60, 110, 30, 30})});
  noAlpha->remove("alpha");
  const DictRef red = rectLayer(2, {10, 10, 40, 40});
  DictRef deep = rectLayer(40, {160, 160, 30, 30}, 0, 0, 0);
  for (int depth = 0; depth < 16; ++depth) deep = translucent(groupRecord(20 + depth, true, {deep}), 0.9);
  show({translucent(groupRecord(1, true, {red, rectLayer(3, {30, 30, 40, 40}, 0, 0, 255)}), 0.5),
        rectLayer(4, {60, 60, 20, 20}, 0, 255, 0),
        translucent(groupRecord(5, true, {translucent(groupRecord(6, true, {rectLayer(9, {110, 10, 40, 40})}), 0.5)}),
                    0.5),
        translucent(groupRecord(10, true, {rectLayer(11, {10, 110, 40, 40})}), 1.0), noAlpha,
        translucent(groupRecord(12, false, {rectLayer(13, {110, 110, 40, 40})}), 0.5), deep});
  root_->set("background",
             Dictionary::make({{"bg_color", Dictionary::make({{"r", 255}, {"g", 255}, {"b", 255}, {"a", 255}})}}));
  drawer_.setKeepsLayerExtents(path.keepsExtents);
  drawer_.setRendersImagesAhead(path.imagesAhead);
  drawer_.setViewMode(path.vector);
  GraphicsCanvas canvas(kSide, kSide, path.design);
  for (int y = 0; y < kSide; y += path.tile) {
    for (int x = 0; x < kSide; x += path.tile)
      drawer_.draw(canvas.context(), Rect{double(x), double(y), double(path.tile), double(path.tile)}, path.design);
  }
  expectColour(canvas.at(15, 15), 255, 127.5, 127.5, "red alone");
  expectColour(canvas.at(40, 40), 127.5, 127.5, 255, "blue over red");
  expectColour(canvas.at(65, 40), 127.5, 127.5, 255, "blue alone");
  expectColour(canvas.at(70, 70), 0, 255, 0, "green above the group");
  expectColour(canvas.at(130, 30), 255, 191.25, 191.25, "half of half");
  expectColour(canvas.at(30, 130), 255, 0, 0, "alpha 1");
  expectColour(canvas.at(75, 125), 255, 0, 0, "no alpha");
  expectColour(canvas.at(130, 130), 255, 255, 255, "hidden group");
  expectColour(canvas.at(175, 175), 207.75, 207.75, 207.75, "black in sixteen groups at 0.9, past the open eight");
  if (!path.design) return;
  drawer_.layers()[0]->setSelected(true);
  drawOn(canvas, true);
  // The handles' outline (0, 50, 255) lies across pixel edges: half of it over white, not a half of that.
  int outline = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      const Pixel p = canvas.at(x, y);
      outline += std::abs(p.r - 127) <= 3 && std::abs(p.g - 152) <= 3 && p.b == 255;
    }
  }
  EXPECT_GT(outline, 20);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, GroupOpacityTest,
    ::testing::Values(DrawingPath{"IndexedOutput", true, false, false, true, kSide},
                      DrawingPath{"EveryLayerOutput", false, false, false, true, kSide},
                      DrawingPath{"IndexedCanvasInTiles", true, true, false, true, 37},
                      DrawingPath{"EveryLayerCanvasInTiles", false, true, false, true, 37},
                      DrawingPath{"IndexedCanvasImagesInTurn", true, true, false, false, kSide},
                      DrawingPath{"IndexedVectorCanvas", true, true, true, true, 29},
                      DrawingPath{"EveryLayerVectorCanvas", false, true, true, true, kSide}),
    [](const ::testing::TestParamInfo<DrawingPath>& info) { return std::string(info.param.name); });

// Every open group holds a picture of the clip: of a hundred translucent groups nested in one another, the outer
// eight are composited, the innermost of them with the alphas of the rest as well.
TEST_F(DrawerTest, TranslucentGroupsNestedDeeplyOpenOnlyTheOuterEight) {
  DictRef inner = rectLayer(200, {10, 10, 50, 50});
  for (int depth = 0; depth < 100; ++depth) inner = translucent(groupRecord(depth + 1, true, {inner}), 0.99);
  show({inner});
  root_->set("background",
             Dictionary::make({{"bg_color", Dictionary::make({{"r", 255}, {"g", 255}, {"b", 255}, {"a", 255}})}}));
  for (const bool keepsExtents : {true, false}) {
    drawer_.setKeepsLayerExtents(keepsExtents);
    GraphicsCanvas canvas(kSide, kSide);
    drawOn(canvas, false);
    // Each of the eight composites rounds to whole steps: within 4 of the exact green and blue, 142 from eight alone.
    const Pixel p = canvas.at(30, 30);
    EXPECT_EQ(p.r, 255);
    EXPECT_NEAR(p.g, 255 * (1 - std::pow(0.99, 100)), 4) << keepsExtents;
    EXPECT_EQ(p.b, p.g);
  }
}
