#include "geometry/path_polygons.h"

#include <algorithm>
#include <climits>

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

BezierPath bezierPathWithPolygonRecord(const PolygonRecord& polygon) {
  BezierPath path;
  for (const PolygonContour& contour : polygon.contours) {
    if (contour.empty()) continue;
    path.moveTo({contour[0].x, contour[0].y});
    for (std::size_t i = 1; i < contour.size(); ++i) path.lineTo({contour[i].x, contour[i].y});
    path.closePath();
  }
  path.setWindingRule(platform::WindingRule::EvenOdd);
  return path;
}

std::optional<PolygonRecord> polygonRecordWithFlatness(BezierPath& path, float flatness) {
  path.setFlatness(flatness);
  const BezierPath flat = path.bezierPathByFlatteningPath();
  int moves = 0;
  getPathMoveToCount(path, &moves, nullptr, nullptr, nullptr);
  PolygonRecord polygon;
  polygon.contours.resize(static_cast<std::size_t>(moves));
  PolygonContour* contour = nullptr;
  const auto closeContour = [&] {
    if (contour) contour->push_back(contour->front());
  };
  std::size_t next = 0;
  for (int i = 0; i < flat.elementCount(); ++i) {
    Point points[3];
    switch (flat.elementAt(i, points)) {
      case PathElement::Move:
        if (next == polygon.contours.size()) return std::nullopt;
        closeContour();
        contour = &polygon.contours[next++];
        contour->push_back({points[0].x, points[0].y});
        break;
      case PathElement::Line:
        if (contour) contour->push_back({points[0].x, points[0].y});
        break;
      case PathElement::Curve: return std::nullopt;
      case PathElement::Close: break;
    }
  }
  closeContour();
  return polygon;
}

std::optional<PolygonRecord> polygonRecord(BezierPath& path) { return polygonRecordWithFlatness(path, 0.01f); }

int subPathCountStartingAtElement(const BezierPath& path, int element) {
  const int count = path.elementCount();
  if (element >= count - 1) return 1;
  int end = std::max(element + 1, 0);
  while (end < count && path.elementAt(end) != PathElement::Move) ++end;
  // A negative element counts from before the path's start.
  return static_cast<int>(std::min<long long>(static_cast<long long>(end) - element, INT_MAX));
}

void getPathMoveToCount(const BezierPath& path, int* moves, int* lines, int* curves, int* closes) {
  int counts[4] = {};
  for (int i = 0; i < path.elementCount(); ++i) ++counts[static_cast<int>(path.elementAt(i))];
  if (moves) *moves = counts[static_cast<int>(PathElement::Move)];
  if (lines) *lines = counts[static_cast<int>(PathElement::Line)];
  if (curves) *curves = counts[static_cast<int>(PathElement::Curve)];
  if (closes) *closes = counts[static_cast<int>(PathElement::Close)];
}
