#include "document/CMShapeLayer.h"

#include "document/CMBetheierShape.h"
#include "document/CMCaches.h"
#include "document/CMFreeLineShape.h"
#include "document/CMLineShape.h"
#include "document/CMOvalShape.h"
#include "document/CMPathShape.h"
#include "document/CMPolygonShape.h"
#include "document/CMRectShape.h"
#include "document/CMShapeRecordValues.h"
#include "document/CMStarShape.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

using platform::DictRef;
using platform::Point;
using platform::Rect;

namespace {

constexpr std::int64_t kLineShapeType = 4;
constexpr std::int64_t kPenCurveShapeType = 6;

std::unique_ptr<CMShape> shapeOfType(std::int64_t type, const DictRef& record) {
  switch (type) {
    case 0: return shapeWithDictionary<CMRectShape>(record);
    case 1: return shapeWithDictionary<CMOvalShape>(record);
    case 2: return shapeWithDictionary<CMPolygonShape>(record);
    case 3: return shapeWithDictionary<CMStarShape>(record);
    case kLineShapeType: return shapeWithDictionary<CMLineShape>(record);
    case 5: return shapeWithDictionary<CMFreeLineShape>(record);
    case kPenCurveShapeType: return shapeWithDictionary<CMBetheierShape>(record);
    case 7: return shapeWithDictionary<CMPathShape>(record);
    default: return nullptr;
  }
}

// The width in the shape record's stroke, which a line takes back from its "def_width" whenever it is rebuilt.
float strokeWidth(const DictRef& shape) {
  const DictRef stroke = shape->dictionary("stroke");
  return stroke ? stroke->get("lineWidth").floatValue() : 0;
}

}  // namespace

CMShapeLayer::CMShapeLayer(DictRef data, float zoom) : CMLayer(std::move(data)) {
  zoom_ = zoom;
  // A record without a shape record has nothing to draw or measure, like an unknown type.
  if (const DictRef record = data_->dictionary("shape")) {
    const float width = strokeWidth(record);
    shape_ = shapeOfType(data_->get("shape_type").integerValue(), record);
    forgetPictureUnlessOfWidth(width);
  }
  if (shape_) shape_->setViewZoom(zoom_);
}

CMPathShape* CMShapeLayer::pathShape() const { return dynamic_cast<CMPathShape*>(shape_.get()); }

CMLineShape* CMShapeLayer::lineShape() const { return dynamic_cast<CMLineShape*>(shape_.get()); }

DictRef CMShapeLayer::shapeRecord() const { return shape_ ? shape_->data() : nullptr; }

bool CMShapeLayer::isLineShape() const {
  return shape_ && data_->get("shape_type").integerValue() == kLineShapeType &&
         !shape_->data()->get("isbezier").boolValue();
}

bool CMShapeLayer::isBezierShape() const {
  return shape_ && data_->get("shape_type").integerValue() == kPenCurveShapeType &&
         !shape_->data()->get("isbezier").boolValue();
}

// ---- geometry ----

Rect CMShapeLayer::layerRect() {
  layerRect_ = shape_ ? shape_->rect() : Rect{};
  applyTransformation();
  // The products in single precision, as the record's numbers are floats.
  const float dx = data_->get("x").floatValue() * viewZoom_;
  const float dy = data_->get("y").floatValue() * viewZoom_;
  layerRect_.origin.x += dx;
  layerRect_.origin.y += dy;
  return layerRect_;
}

// Moving the rect to its rotation centre or origin keeps its size.
platform::Size CMShapeLayer::originalSize() const { return shape_ ? shape_->rect().size : platform::Size{}; }

float CMShapeLayer::layerOffset() const {
  if (data_->get("ismask").boolValue() || !shape_) return 0;
  return shape_->layerOffset();
}

platform::BezierPath CMShapeLayer::framePath(bool zoomed) {
  const float margin = -layerOffset() * 0.5f;
  platform::BezierPath frame = platform::BezierPath::rect(platform::insetRect(layerRect(), margin, margin));
  if (zoomed) frame.transformUsingAffineTransform(zoomTransform_);
  return frame;
}

Point CMShapeLayer::originPoint() const {
  if (!isLineShape()) return CMLayer::originPoint();
  const DictRef record = shapeRecord();
  return {record->get("x1").floatValue(), record->get("y1").floatValue()};
}

platform::BezierPath CMShapeLayer::path() {
  const CMPathShape* shape = pathShape();
  if (!shape) return {};
  platform::BezierPath copy = shape->path();
  copy.transformUsingAffineTransform(transform());
  return copy;
}

// ---- geometry writes ----

void CMShapeLayer::setOriginPoint(Point point) {
  if (isLineShape()) {
    setLinePosition(point);
  } else {
    CMLayer::setOriginPoint(point);
  }
}

void CMShapeLayer::setLinePosition(Point point) {
  CMLineShape* line = lineShape();
  if (!line) return;
  const float width = strokeWidth(line->data());
  line->setLinePosition(point);
  forgetPictureUnlessOfWidth(width);
}

void CMShapeLayer::forgetPictureUnlessOfWidth(float width) {
  // Dropped rather than marked dirty: the mark lives in this object, and the layers may be rebuilt before it draws.
  if (shape_ && strokeWidth(shape_->data()) != width) CMCaches::sharedCaches().forgetImage(data_);
}

void CMShapeLayer::setOriginSize(platform::Size size) {
  CMLayer::setOriginSize(size);
  if (shape_) shape_->setSize(size);
}

void CMShapeLayer::setLayerRect(const Rect& rect) {
  setShapeFloat(data_, "width", rect.size.width);
  setShapeFloat(data_, "height", rect.size.height);
  const double scale = vectorViewMode_ ? zoom_ : 1.0;
  // A zoom of 0 gives no finite origin: the record keeps its old one.
  setShapeFloat(data_, "x", rect.origin.x / scale);
  setShapeFloat(data_, "y", rect.origin.y / scale);
  setDirty(true);
  if (shape_) shape_->setSize(rect.size);
  updateLayerRect();
}

void CMShapeLayer::setSize() {
  if (!shape_) return;
  const Rect bounds = shape_->rect();
  setShapeFloat(data_, "width", bounds.size.width);
  setShapeFloat(data_, "height", bounds.size.height);
  const DictRef record = shape_->data();
  setShapeFloat(data_, "x", data_->get("x").floatValue() + record->get("x_offset").floatValue());
  setShapeFloat(data_, "y", data_->get("y").floatValue() + record->get("y_offset").floatValue());
}

void CMShapeLayer::setVectorViewMode(bool vectorViewMode) {
  CMLayer::setVectorViewMode(vectorViewMode);
  if (shape_) shape_->setViewZoom(vectorViewMode ? zoom_ : 1.0f);
}

void CMShapeLayer::applyMatrix(const platform::AffineTransform& matrix) {
  if (shape_) shape_->applyMatrix(matrix);
}

// ---- forwards ----

void CMShapeLayer::update() {
  if (shape_) shape_->update();
}

void CMShapeLayer::prepareEditing() {
  if (shape_) shape_->prepareEditing();
}

void CMShapeLayer::endEditing() {
  if (shape_) shape_->endEditing();
}

void CMShapeLayer::saveAsBezier() {
  if (shape_) shape_->saveAsBezier();
}

void CMShapeLayer::drawL(platform::GraphicsContext& context, const Rect& rect) {
  if (!shape_) return;
  context.saveGraphicsState();
  if (!data_->get("ismask").boolValue()) {
    shape_->draw(context, rect);
  } else if (design_) {
    shape_->drawFrame(context, rect);  // a mask shows only its outline, and only while designing
  }
  context.restoreGraphicsState();
}

std::int32_t CMShapeLayer::selectedFrameType() {
  const std::int32_t type = CMLayer::selectedFrameType();
  return type == 0 && isLineShape() ? 1 : type;
}

void CMShapeLayer::markChanged() {
  setDirty(true);
  postLayerChanged();
}
