#include "document/CMImagePlacement.h"

#include <algorithm>

platform::AffineTransform imagePlacement(int drawType, platform::Size box, platform::Size image) {
  const double W = box.width, H = box.height, w = image.width, h = image.height;
  platform::AffineTransform transform;
  switch (static_cast<CMImageDrawType>(drawType)) {
    case CMImageDrawType::Stretch:
      transform.scaleXBy(W / w, H / h);
      break;
    case CMImageDrawType::Centre:
      transform.translate((W - w) * 0.5, (H - h) * 0.5);
      break;
    case CMImageDrawType::Fit: {
      const float s = static_cast<float>(std::min(W / w, H / h));
      transform.translate(W - w * s, H - h * s);
      transform.scaleBy(s);
      break;
    }
    case CMImageDrawType::Tile:
      break;
  }
  return transform;
}
