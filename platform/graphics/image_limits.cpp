#include "platform/graphics/image_limits.h"

#include <string>

namespace platform {

Status checkImageSize(long long width, long long height) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
      width * height * 4 > kMaxImageBytes) {
    // 259: NSFileReadCorruptFileError, what AppKit reports for an unreadable image.
    return Error::make(
        Error::cocoaDomain, 259,
        "An image of " + std::to_string(width) + " × " + std::to_string(height) + " pixels is empty or too large.");
  }
  return success();
}

}  // namespace platform
