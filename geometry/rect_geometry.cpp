#include "geometry/rect_geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/core/numeric.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;
using platform::Size;
using platform::singlePrecision;

Rect rectFromPoints(Point a, Point b) {
  return Rect(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
}

Rect rectCentredOnPoint(Point centre, Size size) {
  return Rect(centre.x - size.width * 0.5, centre.y - size.height * 0.5, size.width, size.height);
}

Rect rectMovedToCentre(const Rect& rect, Point centre) { return rectCentredOnPoint(centre, rect.size); }

Rect unionOfRects(const Rect& r1, const Rect& r2) {
  if (r1 == Rect()) return r2;
  if (r2 == Rect()) return r1;
  return rectFromPoints({std::min(platform::minX(r1), platform::minX(r2)), std::min(platform::minY(r1), platform::minY(r2))},
                        {std::max(platform::maxX(r1), platform::maxX(r2)), std::max(platform::maxY(r1), platform::maxY(r2))});
}

bool rectsNearlyEqual(const Rect& r1, const Rect& r2, float tolerance) {
  return std::abs(r1.origin.x - r2.origin.x) <= tolerance && std::abs(r1.origin.y - r2.origin.y) <= tolerance &&
         std::abs(r1.size.width - r2.size.width) <= tolerance && std::abs(r1.size.height - r2.size.height) <= tolerance;
}

namespace {

void addOnce(std::vector<Rect>& set, const Rect& rect) {
  if (std::find(set.begin(), set.end(), rect) == set.end()) set.push_back(rect);
}

void addPiece(std::vector<Rect>& set, float left, float bottom, float right, float top) {
  if (right - left > 0 && top - bottom > 0) addOnce(set, Rect(left, bottom, right - left, top - bottom));
}

}  // namespace

std::vector<Rect> rectMinusRect(const Rect& a, const Rect& b) {
  const float aLeft = singlePrecision(platform::minX(a)), aRight = singlePrecision(platform::maxX(a));
  const float aBottom = singlePrecision(platform::minY(a)), aTop = singlePrecision(platform::maxY(a));
  const float bLeft = singlePrecision(platform::minX(b)), bRight = singlePrecision(platform::maxX(b));
  const float bBottom = singlePrecision(platform::minY(b)), bTop = singlePrecision(platform::maxY(b));
  const float bandBottom = std::max(bBottom, aBottom), bandTop = std::min(aTop, bTop);
  std::vector<Rect> pieces;
  addPiece(pieces, std::max(aLeft, bRight), bandBottom, aRight, bandTop);
  addPiece(pieces, aLeft, bandBottom, std::min(bLeft, aRight), bandTop);
  addPiece(pieces, aLeft, std::max(aBottom, bTop), aRight, aTop);
  addPiece(pieces, aLeft, aBottom, aRight, std::min(bBottom, aTop));
  return pieces;
}

std::vector<Rect> differenceOfRects(const Rect& a, const Rect& b) {
  if (a == b) return {};
  const Rect common = platform::intersectionRect(a, b);
  if (common == Rect()) {
    std::vector<Rect> both{a};
    addOnce(both, b);
    return both;
  }
  std::vector<Rect> pieces = rectMinusRect(a, common);
  for (const Rect& piece : rectMinusRect(b, common)) addOnce(pieces, piece);
  return pieces;
}

Point normalisedPointInRect(Point p, const Rect& rect) {
  const double width = rect.size.width, height = rect.size.height;
  return {width == 0 ? 0 : (p.x - rect.origin.x) / width, height == 0 ? 0 : (p.y - rect.origin.y) / height};
}

Point pointFromNormalisedPoint(Point p, const Rect& rect) {
  return {p.x * rect.size.width + rect.origin.x, p.y * rect.size.height + rect.origin.y};
}

Point mapPointBetweenRects(Point p, const Rect& source, const Rect& destination) {
  return pointFromNormalisedPoint(normalisedPointInRect(p, source), destination);
}

Rect mapRectBetweenRects(const Rect& rect, const Rect& source, const Rect& destination) {
  const Point corner1 = mapPointBetweenRects(rect.origin, source, destination);
  const Point corner2 = mapPointBetweenRects({platform::maxX(rect), platform::maxY(rect)}, source, destination);
  return rectFromPoints(corner1, corner2);
}

Rect scaleRectAboutCentre(const Rect& rect, float factor) {
  const Point centre{platform::midX(rect), platform::midY(rect)};
  return rectCentredOnPoint(centre, {rect.size.width * factor, rect.size.height * factor});
}

Rect fitRectWithAspect(const Rect& rect, Size size) {
  const float aspect = static_cast<float>(size.width / size.height);
  if (!(aspect > 0) || !std::isfinite(aspect)) return centreSizeInRect({}, rect);
  const float widthRatio = static_cast<float>(size.width / rect.size.width);
  const float heightRatio = static_cast<float>(size.height / rect.size.height);
  if (!(widthRatio < heightRatio)) {
    const double height = rect.size.width / aspect;
    return Rect(rect.origin.x, rect.origin.y + (rect.size.height - height) / 2, rect.size.width, height);
  }
  const double width = rect.size.height * aspect;
  return Rect(rect.origin.x + (rect.size.width - width) / 2, rect.origin.y, width, rect.size.height);
}

Rect centreSizeInRect(Size size, const Rect& rect) {
  return rectCentredOnPoint({platform::midX(rect), platform::midY(rect)}, size);
}

Rect normaliseRect(const Rect& rect) {
  Rect result = rect;
  if (result.size.width < 0) {
    result.origin.x += result.size.width;
    result.size.width = -result.size.width;
  }
  if (result.size.height < 0) {
    result.origin.y += result.size.height;
    result.size.height = -result.size.height;
  }
  return result;
}
