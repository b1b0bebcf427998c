// Text layers: measuring the text, the style's attributes and the frame.

#include "document/CMTextLayer.h"

#include <cmath>
#include <cstdint>

#include "document/CMColorRecord.h"
#include "document/CMParagraphStyleRecord.h"
#include "document/CMShadowRecord.h"
#include "document/CMShapeRecordValues.h"
#include "platform/core/numeric.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/rect_functions.h"

using platform::DictRef;

namespace {

constexpr double kEmptyTextWidth = 200;

// A number of the record as a float; 0 when missing or not representable.
float recordFloat(const DictRef& record, std::string_view key) {
  float value = 0;
  return toSingle(record->get(key).doubleValue(), value) ? value : 0;
}

}  // namespace

CMTextLayer::CMTextLayer(DictRef data) : CMPathBaseLayer(std::move(data)) {}

CMTextLayer::CMTextLayer(DictRef data, float zoom) : CMPathBaseLayer(std::move(data)) {
  viewZoom_ = zoom;
  updateLayerRect();
  applyTransformation();
}

DictRef CMTextLayer::style() const {
  DictRef record = data_->dictionary("style");
  return record ? record : platform::Dictionary::make();
}

platform::TextAttributes CMTextLayer::textAttributes(bool withStroke) const {
  const DictRef record = style();
  platform::TextAttributes attributes;
  attributes.foregroundColor = colorWithDictionary(record->dictionary("foregroundColor"));
  attributes.backgroundColor = colorWithDictionary(record->dictionary("backgroundColor"));
  const double fontSize = record->get("fontSize").doubleValue();
  attributes.font = platform::Font::matching(record->get("fontName").string(), fontSize);
  attributes.underlineStyle = record->get("underlilneStyle").intValue();
  attributes.strikethroughStyle = record->get("strikethroughStyle").intValue();
  if (const DictRef shadow = usedShapeSlot(record, "shadow")) attributes.shadow = shadowWithDictionary(shadow, zoom_);
  attributes.paragraphStyle = paragraphStyleWithDictionary(record->dictionary("paragraphStyle"));
  if (withStroke) {
    attributes.strokeWidth = recordFloat(record, "strokeWidth");
    attributes.strokeColor = colorWithDictionary(record->dictionary("strokeColor"));
  }
  return attributes;
}

void CMTextLayer::updateLayerRect() {
  const float z = viewZoom_;
  platform::Point origin{recordFloat(data_, "x") * z, recordFloat(data_, "y") * z};
  text_ = data_->get("text").string();
  const platform::Size measured = platform::AttributedString(text_, textAttributes(true)).size();
  textSize_ = {measured.width == 0 ? kEmptyTextWidth : measured.width, measured.height};
  platform::Size size = textSize_;
  if (const float width = recordFloat(data_, "width"); width != 0) size.width = width;
  if (const float height = recordFloat(data_, "height"); height != 0) size.height = height;
  // The anchor moves the origin by the text's width in view units, as the origin is, so that the text stays at its
  // place in the drawing at every zoom.
  const std::string& anchor = data_->get("text-anchor").string();
  if (anchor == "end") origin.x -= measured.width * z;
  if (anchor == "middle") origin.x -= measured.width / 2 * z;
  originalTextSize_ = {textSize_.width * z, textSize_.height * z};
  layerRect_ = {origin, {size.width * z, size.height * z}};
}

void CMTextLayer::setText(const std::string& text) {
  data_->set("text", text);
  updateLayerRect();
  postLayerChanged();
}

double CMTextLayer::baselineOffset() const {
  // An empty text still has a line, of its font.
  const std::string text = data_->get("text").string();
  return platform::AttributedString(text.empty() ? " " : text, textAttributes(false)).baseline();
}

float CMTextLayer::layerOffset() const {
  const DictRef record = style();
  float offset = 0;
  if (const DictRef shadow = usedShapeSlot(record, "shadow")) {
    offset = std::fabs(recordFloat(shadow, "offset_x")) + std::fabs(recordFloat(shadow, "offset_y"));
  }
  const float strokeWidth = recordFloat(record, "strokeWidth");
  if (strokeWidth >= 1) offset += static_cast<float>(platform::saturatingTruncate<std::int32_t>(strokeWidth));
  const float zoomed = offset * viewZoom_;
  return std::isfinite(zoomed) ? zoomed : 0;
}

platform::BezierPath CMTextLayer::framePath(bool zoomed) {
  const double half = layerOffset() * 0.5;
  platform::BezierPath frame = platform::BezierPath::rect(platform::insetRect(layerRect(), -half, -half));
  if (zoomed && !vectorViewMode_) frame.transformUsingAffineTransform(zoomTransform_);
  return frame;
}

void CMTextLayer::setVectorViewMode(bool vectorViewMode) {
  CMLayer::setVectorViewMode(vectorViewMode);
  if (!vectorViewMode) zoom_ = 1;
  updateLayerRect();
}
