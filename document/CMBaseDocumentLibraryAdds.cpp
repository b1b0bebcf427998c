#include <cmath>
#include <limits>

#include "document/CMBaseDocument.h"
#include "document/CMShapeLayer.h"
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
  platform::DictRef copy = platform::dictionaryCopy(record);
  double width = copy->get("width").floatValue();
  double height = copy->get("height").floatValue();
  if (width == 0 || height == 0) {
    // Measuring writes default keys into the record it measures: give it a copy of its own.
    CMShapeLayer measured(platform::dictionaryCopy(record));
    const platform::Size size = measured.layerRect().size;
    width = size.width;
    height = size.height;
    copy->set("width", coordinate(width));
    copy->set("height", coordinate(height));
  } else {
    point.y -= height * 0.5;
  }
  point.x -= width * 0.5;
  copy->set("x", coordinate(point.x));
  copy->set("y", coordinate(point.y));
  copy->set("id", newID());
  copy->set("position", newPosition());
  rootLayers()->add(copy);
  undoManager_->regUndoDictionary(kCMUndoAdding, copy);
  return copy;
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
