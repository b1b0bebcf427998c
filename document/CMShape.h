#pragma once

// The shape object of a shape layer: builds a path from the shape record the layer
// owns and draws it. This base gives every operation an empty default; the record
// is shared, so every edit a shape makes is at once part of the document.

#include <memory>
#include <utility>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

namespace platform {
class GraphicsContext;
struct AffineTransform;
}  // namespace platform

class CMShape {
 public:
  explicit CMShape(platform::DictRef data) : data_(std::move(data)) {}
  virtual ~CMShape() = default;
  CMShape(const CMShape&) = delete;
  CMShape& operator=(const CMShape&) = delete;

  // Builds the geometry; shapeWithDictionary calls it right after construction.
  virtual void initPath() {}

  const platform::DictRef& data() const noexcept { return data_; }
  float viewZoom() const noexcept { return viewZoom_; }
  // Nothing is rebuilt: the zoom only enters drawing and measuring.
  virtual void setViewZoom(float zoom) { viewZoom_ = zoom; }

  virtual platform::Rect rect() const { return {}; }
  virtual void draw(platform::GraphicsContext&, const platform::Rect&) {}
  virtual void drawFrame(platform::GraphicsContext&, const platform::Rect&) {}
  virtual float layerOffset() const { return 0; }
  virtual void setSize(platform::Size) {}
  virtual void update() {}
  virtual void prepareEditing() {}
  virtual void endEditing() {}
  virtual void saveAsBezier() {}
  virtual void applyMatrix(const platform::AffineTransform&) {}

 private:
  platform::DictRef data_;
  float viewZoom_ = 0;
};

// initWithDictionary: then initPath, which must run after the object is complete.
template <class Shape>
std::unique_ptr<Shape> shapeWithDictionary(platform::DictRef record) {
  auto shape = std::make_unique<Shape>(std::move(record));
  shape->initPath();
  return shape;
}
