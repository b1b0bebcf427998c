// Image layers: loading the picture, its bounds and drawing it.

#include "document/CMImageLayer.h"

#include "document/CMShapeRecordValues.h"
#include "platform/graphics/graphics_context.h"

using platform::DictRef;

namespace {

float recordFloat(const DictRef& record, std::string_view key) {
  float value = 0;
  return toSingle(record->get(key).doubleValue(), value) ? value : 0;
}

std::unique_ptr<platform::Image> adopt(platform::Expected<platform::Image> loaded) {
  if (!loaded) return nullptr;
  return std::make_unique<platform::Image>(std::move(loaded).value());
}

}  // namespace

CMImageLayer::CMImageLayer(DictRef data) : CMPathBaseLayer(std::move(data)) {}

CMImageLayer::CMImageLayer(DictRef data, float zoom) : CMPathBaseLayer(std::move(data)) {
  zoom_ = zoom;
  loadImage();
  layerRect_ = {recordFloat(data_, "x"), recordFloat(data_, "y"), 0, 0};
  if (image_) {
    const float width = recordFloat(data_, "width");
    const float height = recordFloat(data_, "height");
    layerRect_.size = width != 0 && height != 0 ? platform::Size{width, height} : image_->size();
  }
  applyTransformation();
}

void CMImageLayer::loadImage() {
  if (const platform::Value* bytes = data_->find("image")) {
    image_ = adopt(platform::Image::fromData(bytes->data()));
    return;
  }
  // Only a regular file of a picture's size is read: a device or a pipe named there could block or never end.
  image_ = adopt(platform::Image::fromFile(data_->get("image_path").string()));
}

void CMImageLayer::updateLayerRect() {
  layerRect_.origin = {recordFloat(data_, "x") * zoom_, recordFloat(data_, "y") * zoom_};
  const float width = recordFloat(data_, "width");
  const float height = recordFloat(data_, "height");
  if (width != 0 && height != 0) layerRect_.size = {width * zoom_, height * zoom_};
}

platform::BezierPath CMImageLayer::framePath(bool zoomed) {
  platform::BezierPath frame = platform::BezierPath::rect(layerRect());
  if (zoomed && !vectorViewMode_) frame.transformUsingAffineTransform(zoomTransform_);
  return frame;
}

void CMImageLayer::setVectorViewMode(bool vectorViewMode) {
  CMLayer::setVectorViewMode(vectorViewMode);
  if (!vectorViewMode) zoom_ = 1;
  updateLayerRect();
}

void CMImageLayer::drawL(platform::GraphicsContext& context, const platform::Rect&) {
  if (!image_) return;
  // The picture draws into the current context, which must be this one.
  const platform::CurrentContextScope current(context);
  // The clip stays inside this save so the caller's state is untouched.
  context.saveGraphicsState();
  clipToOutline(context);
  const platform::Size size = layerRect_.size;
  if (data_->get("flip_h").boolValue()) {
    context.translateCTM(size.width, 0);
    context.scaleCTM(-1, 1);
  }
  // A layer's content runs down the page, where a picture lands with its top row at the bottom: it is turned over
  // to stand upright, and "flip_v" mirrors it from there.
  if (!data_->get("flip_v").boolValue()) {
    context.translateCTM(0, size.height);
    context.scaleCTM(1, -1);
  }
  image_->drawInRect({{0, 0}, size}, {}, platform::CompositingOperation::SourceOver, 1);
  context.restoreGraphicsState();
}
