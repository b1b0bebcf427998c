#include "canvas/CMSelectionGeometry.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/core/numeric.h"

namespace selection_geometry {

namespace {

constexpr float kSnapTolerance = 2;

bool near(double a, double b) { return std::fabs(static_cast<float>(a - b)) <= kSnapTolerance; }

// A side dragged past the opposite edge keeps one unit; exactly 0 stays 0.
float keepPositive(float side) { return side < 0 ? 1.0f : side; }

}  // namespace

platform::Rect bandRect(platform::Point first, platform::Point second) {
  const double width = std::abs(platform::saturatingTruncate<std::int64_t>(first.x - second.x));
  const double height = std::abs(platform::saturatingTruncate<std::int64_t>(first.y - second.y));
  return {std::fmin(first.x, second.x), std::fmin(first.y, second.y), width, height};
}

float angleBetweenPoints(platform::Point point, platform::Point center) {
  const float dx = static_cast<float>(point.x - center.x);
  const float dy = static_cast<float>(point.y - center.y);
  if (dy == 0) return 180;
  const float a = std::atan(-dx / dy) * 180.0f / std::numbers::pi_v<float>;
  if (dy > 0) return a + 180;
  return dx >= 0 ? a : a + 360;
}

HandleResize resizeByHandle(std::int32_t kind, platform::Point origin, platform::Size size, float dx, float dy,
                            float k, bool saveRatio) {
  const float W = static_cast<float>(size.width);
  const float H = static_cast<float>(size.height);
  // A zero side has no ratio to keep.
  const bool ratio = saveRatio && W != 0 && H != 0;
  const float heightPerWidth = ratio ? H / W : 0;
  const float widthPerHeight = ratio ? W / H : 0;
  const float ox = W - dx < 0 ? W - 1 : dx;
  const float oy = H - dy < 0 ? H - 1 : dy;
  float w = W;
  float h = H;
  HandleResize result;
  result.origin = origin;
  switch (kind) {
    case 1:
      w = keepPositive(W + dx);
      h = ratio ? keepPositive(w * heightPerWidth) : H;
      break;
    case 2:
      w = keepPositive(W - dx);
      h = ratio ? keepPositive(w * heightPerWidth) : H;
      result.origin.x = origin.x + ox / k;
      break;
    case 3:
      h = keepPositive(H - dy);
      w = ratio ? keepPositive(h * widthPerHeight) : W;
      result.origin.y = origin.y + oy / k;
      break;
    case 4:
      h = keepPositive(H + dy);
      w = ratio ? keepPositive(h * widthPerHeight) : W;
      break;
    case 5:
      w = keepPositive(W + dx);
      h = keepPositive(H - dy);
      result.origin.y = origin.y + oy / k;
      break;
    case 6:
      w = keepPositive(W + dx);
      h = keepPositive(H + dy);
      break;
    case 7:
      w = keepPositive(W - dx);
      h = keepPositive(H - dy);
      result.origin = {origin.x + ox / k, origin.y + oy / k};
      break;
    case 8:
      w = keepPositive(W - dx);
      h = keepPositive(H + dy);
      result.origin.x = origin.x + ox / k;
      break;
    default:
      break;
  }
  result.movesOrigin = kind == 2 || kind == 3 || kind == 5 || kind == 7 || kind == 8;
  result.size = {w / k, h / k};
  return result;
}

std::optional<double> snapTarget(double start, double length, double pageLength) {
  if (near(start, 0)) return 0.0;
  if (near(pageLength, start + length)) return pageLength - length;
  if (near((pageLength - length) / 2, start)) return (pageLength - length) / 2;
  if (near(pageLength / 2, start)) return pageLength / 2;
  if (near(pageLength / 2, start + length)) return pageLength / 2 - length;
  return std::nullopt;
}

std::vector<HelperLine> helperLines(const platform::Rect& b, platform::Size page) {
  std::vector<HelperLine> lines;
  const double left = b.origin.x, right = b.origin.x + b.size.width;
  const double top = b.origin.y, bottom = b.origin.y + b.size.height;
  if (near(left, 0)) lines.push_back({true, 1});
  if (near(right, page.width)) lines.push_back({true, page.width - 1});
  if (near(left, (page.width - b.size.width) / 2)) lines.push_back({true, page.width / 2});
  if (near(left, page.width / 2)) lines.push_back({true, page.width / 2});
  if (near(right, page.width / 2)) lines.push_back({true, page.width / 2});
  if (near(top, 0)) lines.push_back({false, 0});
  if (near(bottom, page.height)) lines.push_back({false, page.height - 1});
  if (near(top, (page.height - b.size.height) / 2)) lines.push_back({false, page.height / 2});
  if (near(top, page.height / 2)) lines.push_back({false, page.height / 2});
  if (near(bottom, page.height / 2)) lines.push_back({false, page.height / 2});
  return lines;
}

}  // namespace selection_geometry
