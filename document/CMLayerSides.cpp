#include "document/CMLayerSides.h"

#include "document/CMShapeLayer.h"

namespace {

constexpr std::int64_t kShapeLayerType = 0;

}  // namespace

void CMSetLayerSides(const platform::DictRef& layer, platform::Size size) {
  if (!layer) return;
  layer->set("width", size.width);
  layer->set("height", size.height);
  if (layer->get("type").integerValue() != kShapeLayerType) return;
  // An object over the record scales the points the record shares with every other object over it; the drawing
  // built from the record must be redone, and the flag is left for the next object to take.
  CMShapeLayer shapeLayer(layer);
  if (CMShape* shape = shapeLayer.shape()) shape->setSize(size);
  layer->set("dirty", true);
}
