#include "document/CMFill.h"

#include "document/CMColorRecord.h"
#include "document/CMGradient.h"
#include "document/CMImagePlacement.h"
#include "platform/graphics/graphics_context.h"

using platform::BezierPath;
using platform::DictRef;
using platform::GraphicsContext;
using platform::Image;

namespace {

enum FillType { kNone = 0, kColor = 1, kImage = 2, kGradient = 3 };

std::shared_ptr<const Image> loadImage(const platform::Dictionary& record) {
  const platform::Value stored = record.get("image");
  platform::Expected<Image> image = stored.isData() ? Image::fromData(stored.data())
                                                    : Image::fromFile(record.get("image_path").string());
  if (!image) return nullptr;
  const platform::Size size = image.value().size();
  if (!(size.width > 0 && size.height > 0)) return nullptr;
  return std::make_shared<const Image>(std::move(image).value());
}

}  // namespace

CMFill::CMFill(const DictRef& record) : data_(record ? record : platform::Dictionary::make()) {
  type_ = data_->get("type").intValue();
  alpha_ = data_->contains("alpha") ? data_->get("alpha").floatValue() : 1.0f;
  if (type_ == kImage) {
    image_ = loadImage(*data_);
    imageDrawType_ = data_->get("image_draw_type").intValue();
  }
  if (type_ == kColor) color_ = colorWithDictionary(data_->dictionary("color"), alpha_);
}

std::optional<platform::Color> CMFill::patternColor() const {
  if (!image_) return std::nullopt;
  return platform::Color::pattern(image_->surface());
}

void CMFill::fillPath(const BezierPath& path, bool shadow) const {
  GraphicsContext* context = GraphicsContext::current();
  if (!context) return;
  switch (type_) {
    case kColor: {
      // Set on the path itself, not as a process-wide default, so the first fill is even-odd too.
      BezierPath evenOdd = path;
      evenOdd.setWindingRule(platform::WindingRule::EvenOdd);
      color_.set();
      context->fillPath(evenOdd);
      break;
    }
    case kImage:
      fillWithImage(path);
      break;
    case kGradient:
      fillWithGradient(path, shadow);
      break;
    default:
      break;
  }
}

void CMFill::fillWithImage(const BezierPath& path) const {
  GraphicsContext& context = *GraphicsContext::current();
  if (!image_) return;
  if (imageDrawType_ == static_cast<int>(CMImageDrawType::Tile)) {
    patternColor()->set();
    context.fillPath(path);
    return;
  }
  context.saveGraphicsState();
  context.clipToPath(path);
  context.concatCTM(imagePlacement(imageDrawType_, path.bounds().size, image_->size()));
  // The path runs down the page, where a picture lands with its top row at the bottom: turned over, it stands upright.
  context.translateCTM(0, image_->size().height);
  context.scaleCTM(1, -1);
  image_->drawAtPoint({0, 0}, platform::Rect{}, platform::CompositingOperation::SourceOver, 1);
  context.restoreGraphicsState();
}

void CMFill::fillWithGradient(const BezierPath& path, bool shadow) const {
  GraphicsContext& context = *GraphicsContext::current();
  if (shadow) {
    platform::Color(0, 0, 0, alpha_).set();
    context.fillPath(path);
  }
  CMGradient::fillGradientPath(context, path, data_->dictionary("gradient"), alpha_);
}
