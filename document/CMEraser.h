#pragma once

// The model side of the canvas's eraser tool. When the user has drawn the eraser's
// guide line, the eraser picks the layer the line cuts, makes two copies of its outline
// pushed sideways by 10 and by 20 units, and hands them back to the canvas on a later
// turn of the main loop, once the canvas's mouse tracking has ended. Holds no state.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/graphics/bezier_path.h"

class CMDrawer;
class CMLayer;

class CMEraser {
 public:
  using Layers = std::vector<std::shared_ptr<CMLayer>>;
  // Receives an array holding the erased layer, then the copies at offsets 10 and 20.
  using SplitBlock = std::function<void(const Layers& erased, const platform::BezierPath& offset10,
                                        const platform::BezierPath& offset20)>;

  // Erases along the guide line from point1 to point2 (canvas coordinates) in the topmost
  // visible, unlocked layer whose outline the line crosses. With no such layer the block
  // is never called.
  void split(platform::Point point1, platform::Point point2, const CMDrawer& drawer, SplitBlock block) const;
  void split(platform::Point point1, platform::Point point2, const Layers& layers, SplitBlock block) const;
  // Makes the two copies now and queues the block; the task keeps the layer alive until it has run.
  void splitPath(const platform::BezierPath& path, std::shared_ptr<CMLayer> layer, SplitBlock block) const;

  // The layer split would erase, or null. `layers` is in drawing order, bottom first.
  static std::shared_ptr<CMLayer> layerCrossedBy(platform::Point point1, platform::Point point2, const Layers& layers);
};
