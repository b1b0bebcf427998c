#include "document/CMShapeItem.h"

#include <algorithm>
#include <cmath>

#include "document/CMImageLayer.h"
#include "document/CMShapeLayer.h"
#include "platform/graphics/affine_transform.h"
#include "platform/graphics/graphics_context.h"

namespace {

std::string itemName(const platform::DictRef& record) {
  const platform::Value name = record ? record->get("name") : platform::Value();
  return name.isString() ? name.string() : std::string("shape");
}

platform::DictRef itemShape(const platform::DictRef& record) { return record ? record->dictionary("shape") : nullptr; }

void clampEntry(const platform::DictRef& record, std::string_view key, double low, double high) {
  if (!record || !record->contains(key)) return;
  const double value = record->get(key).doubleValue();
  record->set(key, platform::Value(std::isfinite(value) ? std::clamp(value, low, high) : 0.0));
}

// Blurs and shadows reaching far past the thumbnail show nothing more in it, yet would have the layer drawn
// through a picture of millions of pixels: they are kept within the thumbnail's reach (`reach` layer units).
void boundEffects(const platform::DictRef& shape, double reach) {
  if (!shape) return;
  clampEntry(shape->dictionary("blur"), "amount", 0, reach / CMLayer::kBlurRadiusPerAmount);
  for (const auto& [key, value] : *shape) {
    if (!key.starts_with("shadow")) continue;
    const platform::DictRef shadow = value.dictionary();
    clampEntry(shadow, "blurRadius", 0, reach);
    clampEntry(shadow, "offset_x", -reach, reach);
    clampEntry(shadow, "offset_y", -reach, reach);
  }
}

}  // namespace

bool CMLibraryItem::isTopDown(const platform::DictRef& record) {
  const platform::DictRef shape = record ? record->dictionary("shape") : nullptr;
  return (shape && shape->get("isFlipped").boolValue()) || (record && record->get("isFlipped").boolValue());
}

CMLibraryItem::CMLibraryItem(std::string name, platform::DictRef shapeData)
    : name_(std::move(name)), shapeData_(std::move(shapeData)) {}

void CMLibraryItem::createThumbnail(const platform::DictRef& record) {
  auto image = std::make_shared<platform::Image>(platform::Size{kThumbnailSide, kThumbnailSide});
  image->lockFocus();
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!isTopDown(record)) {
    context->translateCTM(0, kThumbnailSide);
    context->scaleCTM(1, -1);
  }
  drawLayer(record, {{0, 0}, {kDrawingSide, kDrawingSide}});
  image->unlockFocus();
  thumbnailImage_ = std::move(image);
}

void CMLibraryItem::drawLayer(const platform::DictRef& record, const platform::Rect& rect) const {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::DictRef copy = record ? platform::dictionaryCopy(record) : nullptr;
  std::unique_ptr<CMLayer> layer = copy ? makeLayer(copy) : nullptr;
  const platform::Rect bounds = layer ? layer->layerRect() : platform::Rect{};
  context->concatCTM(platform::AffineTransform{1, 0, 0, -1, 0, rect.size.height});
  context->saveGraphicsState();
  const float width = static_cast<float>(rect.size.width);
  const float height = static_cast<float>(rect.size.height);
  const float layerWidth = static_cast<float>(bounds.size.width);
  const float layerHeight = static_cast<float>(bounds.size.height);
  const float scale = width / std::max(layerWidth, layerHeight);
  const float tx = (width - layerWidth * scale) * 0.5f + 5 - static_cast<float>(bounds.origin.x) * scale;
  const float ty = (height - layerHeight * scale) * 0.5f - 5 - static_cast<float>(bounds.origin.y) * scale;
  // A layer of no size gives an infinite scale; a damaged record may give NaN anywhere.
  if (layer && std::isfinite(scale) && scale > 0 && std::isfinite(tx) && std::isfinite(ty)) {
    boundEffects(copy->dictionary("shape"), kThumbnailSide / scale);
    context->translateCTM(tx, ty);
    context->scaleCTM(scale, scale);
    layer->draw(*context, rect, false);
  }
  context->restoreGraphicsState();
}

CMShapeItem::CMShapeItem(std::string name, platform::DictRef shapeData)
    : CMLibraryItem(std::move(name), std::move(shapeData)) {
  createThumbnail(this->shapeData());
}

std::shared_ptr<CMShapeItem> CMShapeItem::make(const platform::DictRef& itemRecord) {
  return std::make_shared<CMShapeItem>(itemName(itemRecord), itemShape(itemRecord));
}

std::unique_ptr<CMLayer> CMShapeItem::makeLayer(platform::DictRef record) const {
  return std::make_unique<CMShapeLayer>(std::move(record), 1.0f);
}

CMImageShapeItem::CMImageShapeItem(std::string name, platform::DictRef shapeData)
    : CMLibraryItem(std::move(name), std::move(shapeData)) {
  createThumbnail(this->shapeData());
}

std::shared_ptr<CMImageShapeItem> CMImageShapeItem::make(const platform::DictRef& itemRecord) {
  return std::make_shared<CMImageShapeItem>(itemName(itemRecord), itemShape(itemRecord));
}

std::unique_ptr<CMLayer> CMImageShapeItem::makeLayer(platform::DictRef record) const {
  return std::make_unique<CMImageLayer>(std::move(record), 1.0f);
}
