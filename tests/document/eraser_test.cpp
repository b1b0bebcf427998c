#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "document/CMDrawer.h"
#include "document/CMEraser.h"
#include "document/CMLayer.h"
#include "document/CMShapeLayer.h"
#include "platform/core/main_queue.h"
#include "platform/graphics/affine_transform.h"
#include "shape_layer_support.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

// A layer whose outline is a fixed path and whose frame is that path's box.
class OutlineLayer : public CMLayer {
 public:
  explicit OutlineLayer(BezierPath outline, platform::DictRef record = platform::Dictionary::make({{"visible", true}}))
      : CMLayer(std::move(record)), outline_(std::move(outline)) {}

  BezierPath path() override { return outline_; }
  BezierPath framePath(bool zoomed) override {
    BezierPath frame = BezierPath::rect(outline_.bounds());
    if (zoomed) frame.transformUsingAffineTransform(zoomTransform_);
    return frame;
  }

 private:
  BezierPath outline_;
};

std::shared_ptr<OutlineLayer> squareLayer(double x, double y, double side) {
  return std::make_shared<OutlineLayer>(BezierPath::rect({x, y, side, side}));
}

// What one split handed to its block, and how often the block ran.
struct Received {
  int calls = 0;
  CMEraser::Layers layers;
  BezierPath offset10;
  BezierPath offset20;
};

CMEraser::SplitBlock recordInto(Received& received) {
  return [&received](const CMEraser::Layers& layers, const BezierPath& offset10, const BezierPath& offset20) {
    ++received.calls;
    received.layers = layers;
    received.offset10 = offset10;
    received.offset20 = offset20;
  };
}

class Eraser : public ::testing::Test {
 protected:
  Eraser() { platform::drainMainQueue(); }
  ~Eraser() override { platform::drainMainQueue(); }

  // Splits along the guide line and runs the main queue; the layer the block got, or null.
  CMLayer* erasedBy(Point from, Point to) {
    Received received;
    eraser_.split(from, to, layers_, recordInto(received));
    platform::drainMainQueue();
    EXPECT_LE(received.calls, 1);
    return received.calls == 1 && received.layers.size() == 1 ? received.layers[0].get() : nullptr;
  }

  CMEraser eraser_;
  CMEraser::Layers layers_;
};

// Bottom (0, 0)–(100, 100); above it (50, 50)–(150, 150); on top a far-away square.
class OverlappingSquares : public Eraser {
 protected:
  OverlappingSquares() : bottom_(squareLayer(0, 0, 100)), middle_(squareLayer(50, 50, 100)) {
    layers_ = {bottom_, middle_, squareLayer(1000, 1000, 10)};
  }

  std::shared_ptr<OutlineLayer> bottom_;
  std::shared_ptr<OutlineLayer> middle_;
};

TEST_F(OverlappingSquares, TopmostCrossedLayerIsErased) {
  EXPECT_EQ(erasedBy({75, -10}, {75, 200}), middle_.get());  // crosses both squares
}

TEST_F(OverlappingSquares, LowerLayerIsErasedWhenOnlyItIsCrossed) {
  EXPECT_EQ(erasedBy({20, -10}, {20, 60}), bottom_.get());
}

TEST_F(OverlappingSquares, UpperLayerIsErasedEvenThoughTheFirstLayerHasAPath) {
  EXPECT_EQ(erasedBy({120, 40}, {120, 200}), middle_.get());
}

TEST_F(OverlappingSquares, StrokeCrossingNothingNeverCallsTheBlock) {
  EXPECT_EQ(erasedBy({500, 500}, {600, 600}), nullptr);
  // Inside the bottom square without reaching its outline.
  EXPECT_EQ(erasedBy({10, 10}, {40, 40}), nullptr);
}

TEST_F(OverlappingSquares, HiddenLayerIsSkipped) {
  middle_->data()->set("visible", false);
  EXPECT_EQ(erasedBy({75, -10}, {75, 200}), bottom_.get());
  middle_->data()->set("visible", true);
  middle_->setHidden(true);
  EXPECT_EQ(erasedBy({75, -10}, {75, 200}), bottom_.get());
}

TEST_F(OverlappingSquares, LockedLayerIsSkipped) {
  middle_->data()->set("lock", 1);
  EXPECT_EQ(erasedBy({75, -10}, {75, 200}), bottom_.get());
  bottom_->data()->set("lock", 1);
  EXPECT_EQ(erasedBy({75, -10}, {75, 200}), nullptr);
}

TEST_F(Eraser, LayersWithoutAPathOrNoLayersAtAllCallNothing) {
  EXPECT_EQ(erasedBy({0, 0}, {100, 100}), nullptr);
  layers_ = {std::make_shared<OutlineLayer>(BezierPath()), nullptr};
  EXPECT_EQ(erasedBy({-100, -100}, {100, 100}), nullptr);
}

TEST_F(Eraser, OutlineIsTestedWhereTheCanvasShowsIt) {
  // A 10 × 100 bar turned 90° about its centre (5, 50) lies across y = 45…55, x = −45…55.
  const auto bar = std::make_shared<OutlineLayer>(BezierPath::rect({0, 0, 10, 100}));
  layers_ = {bar};
  EXPECT_EQ(erasedBy({-40, 0}, {-40, 100}), nullptr);
  bar->data()->set("rotate", 90.0);
  EXPECT_EQ(erasedBy({-40, 0}, {-40, 100}), bar.get());
  bar->data()->remove("rotate");
  EXPECT_EQ(erasedBy({15, -10}, {15, 10}), nullptr);
  // Magnified twice by the drawer's zoom, the bar reaches x = 20.
  platform::AffineTransform zoom;
  zoom.scaleBy(2);
  bar->setZoomTransform(zoom);
  EXPECT_EQ(erasedBy({15, -10}, {15, 10}), bar.get());
}

TEST_F(Eraser, BlockGetsTheLayerAndItsOutlineOffsetBy10And20) {
  const auto square = squareLayer(0, 0, 100);
  layers_ = {square};
  Received received;
  eraser_.split({50, -10}, {50, 10}, layers_, recordInto(received));
  platform::drainMainQueue();
  ASSERT_EQ(received.calls, 1);
  ASSERT_EQ(received.layers.size(), 1u);
  EXPECT_EQ(received.layers[0], square);
  // Each corner moves inwards along the side that leaves it (counter-clockwise square).
  const Point expected10[] = {{0, 10}, {90, 0}, {100, 90}, {10, 100}};
  const Point expected20[] = {{0, 20}, {80, 0}, {100, 80}, {20, 100}};
  using Expectation = std::pair<const BezierPath*, const Point*>;
  for (const Expectation& expectation :
       {Expectation{&received.offset10, expected10}, Expectation{&received.offset20, expected20}}) {
    const BezierPath* path = expectation.first;
    const Point* expected = expectation.second;
    ASSERT_EQ(path->elementCount(), 5);
    for (int i = 0; i < 4; ++i) {
      Point points[3];
      path->elementAt(i, points);
      EXPECT_NEAR(points[0].x, expected[i].x, 1e-5);
      EXPECT_NEAR(points[0].y, expected[i].y, 1e-5);
    }
    EXPECT_EQ(path->elementAt(4), PathElement::Close);
  }
}

TEST_F(Eraser, BlockRunsOnceOnALaterTurnKeepingTheLayerAlive) {
  std::weak_ptr<OutlineLayer> watched;
  const CMLayer* erased = nullptr;
  Received received;
  {
    CMEraser::Layers callersList = {squareLayer(0, 0, 100)};
    watched = std::static_pointer_cast<OutlineLayer>(callersList[0]);
    erased = callersList[0].get();
    eraser_.split({50, -10}, {50, 10}, callersList, recordInto(received));
    EXPECT_EQ(received.calls, 0);  // not before split has returned
  }
  EXPECT_FALSE(watched.expired());
  platform::drainMainQueue();
  ASSERT_EQ(received.calls, 1);
  ASSERT_EQ(received.layers.size(), 1u);
  EXPECT_EQ(received.layers[0].get(), erased);
  platform::drainMainQueue();
  EXPECT_EQ(received.calls, 1);
  // Once run, the task lets go: only the copy the test kept holds the layer now.
  received.layers.clear();
  EXPECT_TRUE(watched.expired());
}

TEST_F(Eraser, EmptyPathGivesEmptyCopies) {
  const auto layer = std::make_shared<OutlineLayer>(BezierPath());
  Received received;
  eraser_.splitPath(BezierPath(), layer, recordInto(received));
  EXPECT_EQ(received.calls, 0);
  platform::drainMainQueue();
  ASSERT_EQ(received.calls, 1);
  EXPECT_TRUE(received.offset10.isEmpty());
  EXPECT_TRUE(received.offset20.isEmpty());
  EXPECT_EQ(received.layers[0], layer);
}

// Real shape layers handed over through a drawer: a layer without a shape, a 100 × 100 rectangle at
// the origin and, on top, a circle of diameter 100 at (200, 0).
class ShapeLayersInADrawer : public Eraser {
 protected:
  ShapeLayersInADrawer()
      : rectangle_(std::make_shared<CMShapeLayer>(
            document_testing::shapeLayerRecord(0, document_testing::frameShape({0, 0, 100, 100})))),
        circle_(std::make_shared<CMShapeLayer>(
            document_testing::shapeLayerRecord(1, document_testing::frameShape({0, 0, 100, 100}), 200, 0))) {
    const auto shapeless = std::make_shared<CMShapeLayer>(
        document_testing::shapeLayerRecord(9, document_testing::frameShape({0, 0, 100, 100})));
    drawer_.setLayers({shapeless, rectangle_, circle_});
  }

  CMLayer* erasedInDrawer(Point from, Point to) {
    Received received;
    eraser_.split(from, to, drawer_, recordInto(received));
    platform::drainMainQueue();
    return received.calls == 1 ? received.layers.at(0).get() : nullptr;
  }

  CMDrawer drawer_;
  std::shared_ptr<CMShapeLayer> rectangle_;
  std::shared_ptr<CMShapeLayer> circle_;
};

TEST_F(ShapeLayersInADrawer, CrossedShapeIsErasedNotTheFirstWithAPath) {
  EXPECT_EQ(erasedInDrawer({250, -10}, {250, 10}), circle_.get());
  EXPECT_EQ(erasedInDrawer({50, -10}, {50, 10}), rectangle_.get());
  // Across the corner of the circle's box, clear of the circle itself.
  EXPECT_EQ(erasedInDrawer({290, -10}, {310, 10}), nullptr);
}

TEST_F(ShapeLayersInADrawer, CircleCopiesStartBesideItsRightmostPoint) {
  Received received;
  eraser_.split({250, -10}, {250, 10}, drawer_, recordInto(received));
  platform::drainMainQueue();
  ASSERT_EQ(received.calls, 1);
  // The outline starts at (300, 50) heading straight up, so its copies start 10 and 20 to the left.
  Point start[3];
  ASSERT_EQ(received.offset10.elementAt(0, start), PathElement::Move);
  EXPECT_NEAR(start[0].x, 290, 1e-4);
  EXPECT_NEAR(start[0].y, 50, 1e-4);
  received.offset20.elementAt(0, start);
  EXPECT_NEAR(start[0].x, 280, 1e-4);
  EXPECT_NEAR(start[0].y, 50, 1e-4);
  EXPECT_EQ(received.offset10.elementCount(), circle_->path().elementCount());
}

}  // namespace
