#pragma once

// Drawing tests: a layer kind whose content is known rectangles of one colour, and a
// y-up canvas made current for one test and probed in user coordinates.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "../platform/graphics/graphics_test_canvas.h"
#include "document/CMCaches.h"
#include "document/CMLayer.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphics_context.h"

namespace document_testing {

// A layer record with a frame and full opacity.
inline platform::DictRef paintedRecord(int id, platform::Rect frame) {
  return platform::Dictionary::make({{"id", id},
                                     {"type", 0},
                                     {"visible", true},
                                     {"alpha", 1.0},
                                     {"x", frame.origin.x},
                                     {"y", frame.origin.y},
                                     {"width", frame.size.width},
                                     {"height", frame.size.height}});
}

// Frame from the record's "x", "y", "width", "height" times the view zoom. The content is `pieces`
// (layer units, the whole frame when empty) in `ink`, plus `designMark` in blue only in design mode.
class PaintedLayer : public CMLayer {
 public:
  explicit PaintedLayer(platform::DictRef data) : CMLayer(std::move(data)) {}

  platform::Rect layerRect() override {
    const double z = viewZoom();
    return {data_->get("x").doubleValue() * z, data_->get("y").doubleValue() * z,
            data_->get("width").doubleValue() * z, data_->get("height").doubleValue() * z};
  }
  float layerOffset() const override { return offset; }
  using CMLayer::framePath;
  platform::BezierPath framePath(bool zoomed) override {
    const platform::BezierPath frame = platform::BezierPath::rect(layerRect());
    return zoomed ? zoomTransform().transformBezierPath(frame) : frame;
  }
  platform::ArrayRef pathEditingPoints() override { return pathPoints; }
  platform::ArrayRef lineEditingPoints() override { return linePoints; }
  platform::ArrayRef gradientEditingPoints() override { return gradientPoints; }
  std::int32_t selectedFrameType() override { return frameType; }

  void drawL(platform::GraphicsContext& context, const platform::Rect& rect) override {
    ++renders;
    const double z = viewZoom();
    context.setFillColor(ink);
    if (pieces.empty()) context.fillPath(platform::BezierPath::rect(rect));
    for (const platform::Rect& piece : pieces) {
      context.fillPath(platform::BezierPath::rect(
          {piece.origin.x * z, piece.origin.y * z, piece.size.width * z, piece.size.height * z}));
    }
    if (design() && designMark) {
      context.setFillColor(platform::Color(0, 0, 1, 1));
      context.fillPath(platform::BezierPath::rect(*designMark));
    }
  }

  std::vector<platform::Rect> pieces;
  platform::Color ink{1, 0, 0, 1};
  std::optional<platform::Rect> designMark;
  platform::ArrayRef pathPoints;
  platform::ArrayRef linePoints;
  platform::ArrayRef gradientPoints;
  std::int32_t frameType = 0;
  float offset = 0;
  int renders = 0;
};

class DrawingCanvasTest : public ::testing::Test {
 protected:
  static constexpr int kSide = 200;

  DrawingCanvasTest() : canvas_(kSide, kSide), scope_(canvas_.context()) { CMCaches::sharedCaches().clean(); }
  ~DrawingCanvasTest() override { CMCaches::sharedCaches().clean(); }

  platform::GraphicsContext& context() { return canvas_.context(); }
  platform::testing::GraphicsCanvas& canvas() { return canvas_; }

  // Pixels with any ink at all.
  int inkedPixels() const {
    int count = 0;
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) count += canvas_.at(x, y).a > 0 ? 1 : 0;
    }
    return count;
  }

  // The pixel whose square holds user point (x, y) of the unflipped canvas; premultiplied components.
  platform::testing::Pixel at(double x, double y) const {
    return canvas_.at(static_cast<int>(x), kSide - 1 - static_cast<int>(y));
  }

 private:
  platform::testing::GraphicsCanvas canvas_;
  platform::CurrentContextScope scope_;
};

}  // namespace document_testing
