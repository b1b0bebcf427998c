#include "document/CMUsableZoom.h"

#include <algorithm>
#include <cmath>

float CMUsableZoom(float zoom) {
  if (!std::isfinite(zoom) || zoom <= 0) return 1.0f;
  return std::clamp(zoom, 0.01f, 100.0f);
}
