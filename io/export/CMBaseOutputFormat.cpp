#include "io/export/CMBaseOutputFormat.h"

#include <cmath>
#include <memory>

#include "document/CMDocument.h"
#include "platform/core/numeric.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image_limits.h"

namespace {

platform::Status checkPageSize(double width, double height) {
  return platform::checkImageSize(platform::saturatingTruncate<long long>(std::ceil(width)),
                                  platform::saturatingTruncate<long long>(std::ceil(height)));
}

}  // namespace

std::shared_ptr<CMDocument> CMBaseOutputFormat::detachedCopy(const CMDocument& document) {
  auto copy = std::make_shared<CMDocument>();
  copy->setData(document.data() ? platform::dictionaryCopy(document.data()) : nullptr);
  return copy;
}

platform::Expected<platform::Bytes> CMBaseOutputFormat::generate(CMDocument& document) {
  const platform::DictRef root = document.data();
  const double width = root ? root->get("width").floatValue() : 0;
  const double height = root ? root->get("height").floatValue() : 0;
  if (platform::Status size = checkPageSize(width, height); !size) return size.error();

  // Linux screens report no backing scale above 1: the page is rendered once, at one pixel a point.
  const platform::Rect page{0, 0, width, height};
  platform::Image image(page.size);
  image.lockFocus();
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (context == nullptr) return platform::Error::make(platform::Error::cocoaDomain, 0, "The page image is unusable.");
  // The colour a page without background colour keeps: transparent, not white.
  context->setFillColor(platform::Color::clearColor());
  context->rectFill(page);
  drawer_.setDocument(detachedCopy(document));
  drawer_.draw(*context, page, false);
  drawer_.setDocument(nullptr);
  image.unlockFocus();
  return convertImageToData(std::move(image));
}

platform::Expected<platform::Bytes> CMBaseOutputFormat::convertImageToData(platform::Image) {
  return platform::Error::make(platform::Error::cocoaDomain, 0, "This format makes no image files.");
}
