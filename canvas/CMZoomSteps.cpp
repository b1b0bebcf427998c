#include "canvas/CMZoomSteps.h"

#include <algorithm>
#include <cmath>

double CMUsablePageLength(double length) {
  if (!std::isfinite(length) || length <= 0) return 0;
  return std::min(length, kCMLargestPageLength);
}

std::optional<int> CMZoomStepIndex(float zoom) {
  const float percent = zoom * 100.0f;
  for (int i = 0; i < static_cast<int>(kCMZoomSteps.size()); ++i)
    if (kCMZoomSteps[i] == percent) return i;
  return std::nullopt;
}

float CMZoomFactor(int index) {
  return kCMZoomSteps[std::clamp(index, 0, static_cast<int>(kCMZoomSteps.size()) - 1)] / 100.0f;
}

std::optional<int> CMZoomInIndex(float zoom) {
  const std::optional<int> index = CMZoomStepIndex(zoom);
  if (!index || *index + 1 >= static_cast<int>(kCMZoomSteps.size())) return std::nullopt;
  return *index + 1;
}

std::optional<int> CMZoomOutIndex(float zoom) {
  const std::optional<int> index = CMZoomStepIndex(zoom);
  if (!index || *index == 0) return std::nullopt;
  return *index - 1;
}

std::optional<int> CMZoomFitIndex(platform::Size pageSize, platform::Size available) {
  const float width = static_cast<float>(pageSize.width);
  const float height = static_cast<float>(pageSize.height);
  // 1200 % is never tried: a fit stops at 800 %.
  for (int i = 0; i + 1 < static_cast<int>(kCMZoomSteps.size()); ++i) {
    const float factor = CMZoomFactor(i);
    if (width * factor > static_cast<float>(available.width) || height * factor > static_cast<float>(available.height))
      return std::max(i - 1, 0);
  }
  return std::nullopt;
}
