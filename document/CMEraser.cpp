#include "document/CMEraser.h"

#include <utility>

#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "geometry/parallel_offset.h"
#include "geometry/path_segment_crossing.h"
#include "platform/core/main_queue.h"

using platform::BezierPath;
using platform::Point;

namespace {

bool isErasable(CMLayer& layer) {
  return layer.data() && layer.isVisible() && !layer.hidden() && !layer.data()->get("lock").boolValue();
}

// The layer's outline where the canvas shows it: zoomed, then turned about its zoomed frame,
// as the canvas's hit test sees the layer.
BezierPath outlineOnCanvas(CMLayer& layer, BezierPath path) {
  path.transformUsingAffineTransform(layer.zoomTransform());
  const BezierPath frame = layer.framePath();
  path.transformUsingAffineTransform(layer.rotateTransform(&frame));
  return path;
}

}  // namespace

std::shared_ptr<CMLayer> CMEraser::layerCrossedBy(Point point1, Point point2, const Layers& layers) {
  for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
    CMLayer* layer = it->get();
    if (!layer || !isErasable(*layer)) continue;
    const BezierPath path = layer->path();
    if (path.isEmpty()) continue;
    if (segmentCrossesPath(point1, point2, outlineOnCanvas(*layer, path))) return *it;
  }
  return nullptr;
}

void CMEraser::split(Point point1, Point point2, const CMDrawer& drawer, SplitBlock block) const {
  split(point1, point2, drawer.layers(), std::move(block));
}

void CMEraser::split(Point point1, Point point2, const Layers& layers, SplitBlock block) const {
  std::shared_ptr<CMLayer> layer = layerCrossedBy(point1, point2, layers);
  if (!layer) return;
  const BezierPath path = layer->path();
  splitPath(path, std::move(layer), std::move(block));
}

void CMEraser::splitPath(const BezierPath& path, std::shared_ptr<CMLayer> layer, SplitBlock block) const {
  if (!block) return;
  BezierPath offset10 = paralleloidPathWithOffset(path, 10.0f);
  BezierPath offset20 = paralleloidPathWithOffset(path, 20.0f);
  platform::dispatchAsync([layer = std::move(layer), block = std::move(block), offset10 = std::move(offset10),
                           offset20 = std::move(offset20)]() { block(Layers{layer}, offset10, offset20); });
}
