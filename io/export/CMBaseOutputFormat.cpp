#include "io/export/CMBaseOutputFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "document/CMDocument.h"
#include "platform/core/numeric.h"
#include "platform/core/string_utilities.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image_limits.h"

namespace {

// The resolution asked for, lowered so that the page's image stays within the image limits, but never below one
// pixel a point: a page too large for that has no image at all.
double usablePixelsPerPoint(const platform::Size& page, double asked) {
  const double largestArea = static_cast<double>(platform::kMaxImageBytes / 4);
  const double largestSide = static_cast<double>(platform::kMaxImageSide - 1);
  // Each side is rounded up to whole pixels, which adds up to a row and a column to the area.
  const double fitting = std::sqrt(largestArea / (page.width * page.height));
  const double rounded =
      std::sqrt(std::max(0.0, largestArea - (page.width + page.height) * fitting - 1) / (page.width * page.height));
  return std::max(1.0, std::min({asked, rounded, largestSide / page.width, largestSide / page.height}));
}

}  // namespace

std::shared_ptr<CMDocument> CMBaseOutputFormat::detachedCopy(const CMDocument& document) {
  auto copy = std::make_shared<CMDocument>();
  // Only drawn, never edited: what the drawing holds once (one gradient's stops on many shapes) is copied once.
  copy->setData(document.data() ? platform::dictionaryCopyKeepingShares(document.data()) : nullptr);
  return copy;
}

platform::Expected<platform::Size> CMBaseOutputFormat::pageSize(const CMDocument& document, double largestSide,
                                                                std::string_view formats) {
  const platform::DictRef root = document.data();
  const double width = root ? root->get("width").floatValue() : 0;
  const double height = root ? root->get("height").floatValue() : 0;
  const auto positive = [](double side) { return side > 0 && std::isfinite(side); };  // false for NaN
  if (!positive(width) || !positive(height)) {
    return platform::Error::make(platform::Error::cocoaDomain, kPageSizeError,
                                 platform::formatString("The page size %g x %g cannot be written.", width, height));
  }
  if (width > largestSide || height > largestSide) {
    return platform::Error::make(
        platform::Error::cocoaDomain, kPageSizeError,
        platform::formatString("The page of %g x %g points is larger than %s files hold: at most %g points a side.",
                               width, height, std::string(formats).c_str(), largestSide));
  }
  return platform::Size{width, height};
}

platform::Expected<platform::Bytes> CMBaseOutputFormat::generate(CMDocument& document) {
  const platform::Expected<platform::Size> size = pageSize(document, std::numeric_limits<double>::max(), "picture");
  if (!size) return size.error();
  const platform::Size page = size.value();
  // Linux screens report no backing scale above 1: one pixel a point unless a resolution was asked for.
  const double scale = usablePixelsPerPoint(page, pixelsPerPoint_);
  const platform::Size pixels{page.width * scale, page.height * scale};
  const auto whole = [](double side) { return platform::saturatingTruncate<long long>(std::ceil(side)); };
  const long long columns = whole(pixels.width), rows = whole(pixels.height);
  if (!platform::checkImageSize(columns, rows)) {
    return platform::Error::make(
        platform::Error::cocoaDomain, kPageSizeError,
        platform::formatString("The page would be a picture of %lld x %lld pixels, larger than pictures can be: at "
                               "most %lld pixels a side and %lld pixels in all.",
                               columns, rows, platform::kMaxImageSide, platform::kMaxImageBytes / 4));
  }
  platform::Image image(pixels);
  image.lockFocus();
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (context == nullptr) return platform::Error::make(platform::Error::cocoaDomain, 0, "The page image is unusable.");
  context->scaleCTM(scale, scale);
  const platform::Rect frame{0, 0, page.width, page.height};
  // The colour a page without background colour keeps: transparent, not white.
  context->setFillColor(platform::Color::clearColor());
  context->rectFill(frame);
  drawer_.setDocument(detachedCopy(document));
  drawer_.draw(*context, frame, false);
  drawer_.setDocument(nullptr);
  image.unlockFocus();
  return convertImageToData(std::move(image));
}

platform::Expected<platform::Bytes> CMBaseOutputFormat::convertImageToData(platform::Image) {
  return platform::Error::make(platform::Error::cocoaDomain, 0, "This format makes no image files.");
}
