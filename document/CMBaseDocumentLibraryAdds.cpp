#include <cmath>
#include <limits>

#include "document/CMBaseDocument.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "document/CMUndoActionType.h"

namespace {

// Records hold single-precision coordinates; anything a float cannot hold is stored as 0.
platform::Value coordinate(double value) {
  const bool fits = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
  return platform::Value::real32(fits ? value : 0);
}

}  // namespace

platform::DictRef CMBaseDocument::addObjectWithData(const platform::DictRef& record, platform::Point point,
                                                    bool /*centered*/) {
  if (!record) return nullptr;
  double width = record->get("width").floatValue();
  double height = record->get("height").floatValue();
  platform::DictRef sized = record;
  if (width == 0 || height == 0) {
    // Measuring writes default keys into the record it measures: give it a copy of its own. The layer of the
    // record's own kind measures it: a text by its laid-out text, a picture by its picture.
    const std::shared_ptr<CMLayer> layer = CMDrawer::makeLayer(platform::dictionaryCopy(record), 1);
    const platform::Size size = layer ? layer->layerRect().size : platform::Size{};
    width = size.width;
    height = size.height;
    sized = platform::dictionaryCopy(record);
    sized->set("width", coordinate(width));
    sized->set("height", coordinate(height));
  }
  // Centred both ways, however the size was found.
  point.x -= width * 0.5;
  point.y -= height * 0.5;
  return addObjectWithData(sized, point);
}

platform::DictRef CMBaseDocument::addObjectWithData(const platform::DictRef& record, platform::Point point) {
  if (!record) return nullptr;
  platform::DictRef copy = platform::dictionaryCopy(record);
  copy->set("x", coordinate(point.x));
  copy->set("y", coordinate(point.y));
  copy->set("id", newID());
  copy->set("position", newPosition());
  rootLayers()->add(copy);
  undoManager_->regUndoDictionary(kCMUndoAdding, copy);
  return copy;
}
