#include "document/CMLayer.h"

#include <cmath>

#include "document/CMNotificationNames.h"
#include "document/CMProject.h"
#include "document/CMWholeUnits.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/notification_center.h"
#include "platform/core/numeric.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphics_context.h"

namespace {

platform::Value wholeUnits(double value) { return CMWholeUnits(value); }

platform::DictRef handle(platform::Point point, CMHandleType type) {
  return platform::Dictionary::make({{"point", platform::stringFromPoint(point)}, {"type", std::int32_t{type}}});
}

}  // namespace

CMLayer::CMLayer(platform::DictRef data) : data_(data ? std::move(data) : platform::Dictionary::make()) {
  // The flag travels from the record to the first object built over it, and only once.
  if (data_->get("dirty").boolValue()) {
    dirty_ = true;
    data_->set("dirty", false);
  }
}

platform::Point CMLayer::originPoint() const { return {data_->get("x").floatValue(), data_->get("y").floatValue()}; }

platform::Size CMLayer::originalSize() const { return layerRect_.size; }

platform::Rect CMLayer::layerRect() { return {}; }

bool CMLayer::isVisible() const { return data_->get("visible").boolValue(); }

platform::BezierPath CMLayer::framePath(bool /*zoomed*/) { return {}; }

platform::BezierPath CMLayer::path() { return {}; }

void CMLayer::setOriginPoint(platform::Point point) {
  data_->set("x", wholeUnits(point.x));
  data_->set("y", wholeUnits(point.y));
  updateLayerRect();
  postLayerChanged();
}

void CMLayer::setOriginSize(platform::Size size) {
  data_->set("width", wholeUnits(size.width));
  data_->set("height", wholeUnits(size.height));
  dirty_ = true;
  updateLayerRect();
  postLayerChanged();
}

void CMLayer::storedSizeChanged() {
  dirty_ = true;
  updateLayerRect();
  postLayerChanged();
}

void CMLayer::setLayerRect(const platform::Rect& rect) {
  data_->set("width", wholeUnits(rect.size.width));
  data_->set("height", wholeUnits(rect.size.height));
  data_->set("x", wholeUnits(rect.origin.x));
  data_->set("y", wholeUnits(rect.origin.y));
  dirty_ = true;
  updateLayerRect();
}

void CMLayer::setRotation(float degrees) {
  // A non-finite angle would poison every later transform of the layer.
  if (!std::isfinite(degrees)) return;
  data_->set("rotate", degrees);
  postLayerChanged();
  markRotating();
}

platform::AffineTransform CMLayer::transform() const {
  const platform::Point o = CMLayer::originPoint();
  platform::AffineTransform t;
  t.scaleBy(viewZoom_);
  t.translate(o.x, o.y);
  return t;
}

platform::AffineTransform CMLayer::transform2() const {
  const platform::Point o = CMLayer::originPoint();
  platform::AffineTransform t;
  t.translate(viewZoom_ * o.x, viewZoom_ * o.y);
  return t;
}

platform::AffineTransform CMLayer::backTransform() const {
  const platform::Point o = CMLayer::originPoint();
  platform::AffineTransform t;
  // A zero view zoom has no inverse scale; leave the scale alone rather than scale by infinity.
  if (viewZoom_ != 0 && std::isfinite(viewZoom_)) t.scaleBy(1.0 / viewZoom_);
  t.translate(-o.x, -o.y);
  return t;
}

platform::AffineTransform CMLayer::backTransform2() const {
  const platform::Point o = CMLayer::originPoint();
  platform::AffineTransform t;
  t.translate(-o.x, -o.y);
  return t;
}

platform::ArrayRef CMLayer::editingPoints() {
  platform::Rect r = layerRect();
  const double outset = layerOffset() * 0.5;
  r.origin.x -= outset;
  r.origin.y -= outset;
  r.size.width += 2 * outset;
  r.size.height += 2 * outset;
  const float w = static_cast<float>(r.size.width);
  const float h = static_cast<float>(r.size.height);
  // The rotation handles stand 10 units beyond the half-diagonal.
  const double d = (std::sqrt(w * w + h * h) + 20.0f) * 0.5;
  const double minX = r.origin.x;
  const double minY = r.origin.y;
  const double maxX = minX + r.size.width;
  const double maxY = minY + r.size.height;
  const double midX = minX + r.size.width * 0.5;
  const double midY = minY + r.size.height * 0.5;
  return platform::Array::make({
      handle({midX, midY + d}, kCMHandleRotateTop),
      handle({midX, midY - d}, kCMHandleRotateBottom),
      handle({minX, minY}, kCMHandleBottomLeft),
      handle({minX, maxY}, kCMHandleTopLeft),
      handle({maxX, maxY}, kCMHandleTopRight),
      handle({maxX, minY}, kCMHandleBottomRight),
      handle({midX, minY}, kCMHandleBottom),
      handle({midX, maxY}, kCMHandleTop),
      handle({minX, midY}, kCMHandleLeft),
      handle({maxX, midY}, kCMHandleRight),
  });
}

void CMLayer::setSelected(bool selected) {
  if (selected && !selected_ && CMProject::shareProject().editMode() == kCMEditModePathPoints) {
    prepareEditing();
  } else if (!selected && selected_) {
    endEditing();
  }
  if (selected_ != selected) noteChange();
  selected_ = selected;
}

void CMLayer::setVectorViewMode(bool vectorViewMode) {
  if (vectorViewMode_ != vectorViewMode || (!vectorViewMode && viewZoom_ != 1)) noteChange();
  vectorViewMode_ = vectorViewMode;
  if (!vectorViewMode) viewZoom_ = 1;
}

std::int32_t CMLayer::layerId() const { return data_->get("id").intValue(); }

void CMLayer::setFillColor(platform::GraphicsContext& context) {
  context.setFillColor(platform::Color::device(0, 0, 0, 1));
}

void CMLayer::postLayerChanged() const {
  platform::NotificationCenter::defaultCenter().post(kNotificationLayerChanged);
}

void CMLayer::drawL(platform::GraphicsContext& context, const platform::Rect& /*rect*/) {
  setFillColor(context);
  context.fillPath(platform::BezierPath::rect({10, 10, 50, 50}));
}
