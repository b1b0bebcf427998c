#include "geometry/line_fragments.h"

#include <algorithm>
#include <cmath>

#include "geometry/element_walk.h"
#include "geometry/rect_geometry.h"
#include "platform/graphics/rect_functions.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::Rect;

namespace {

constexpr double kProbeFlatness = 5.0;
constexpr double kMaximumRows = 1'000'000;

}  // namespace

std::optional<std::vector<Point>> intersectingPointsWithHorizontalLineAtY(const BezierPath& path, float y) {
  if (path.isEmpty() || !isMeasurablePath(path)) return std::nullopt;
  const Rect bounds = path.bounds();
  if (!(y >= platform::minY(bounds) && y <= platform::maxY(bounds))) return std::nullopt;
  BezierPath probe = path;
  probe.setFlatness(kProbeFlatness);
  std::vector<Point> crossings;
  walkElements(probe.bezierPathByFlatteningPath(), [&](const WalkedElement& element) {
    if (element.kind != PathElement::Line && element.kind != PathElement::Close) return true;
    const Point low = element.start.y < element.end.y ? element.start : element.end;
    const Point high = element.start.y < element.end.y ? element.end : element.start;
    if (low.y == high.y || !(y >= low.y && y < high.y)) return true;
    const double t = (y - low.y) / (high.y - low.y);
    crossings.push_back({low.x + t * (high.x - low.x), y});
    return true;
  });
  std::stable_sort(crossings.begin(), crossings.end(), [](Point a, Point b) { return a.x < b.x; });
  if (crossings.size() % 2 == 1) crossings.pop_back();
  if (crossings.empty()) return std::nullopt;
  return crossings;
}

std::vector<Rect> lineFragmentRectsForFixedLineheight(const BezierPath& path, float lineHeight) {
  std::vector<Rect> rects;
  if (!(lineHeight > 0)) return rects;
  const Rect bounds = path.bounds();
  const double rows = std::floor(bounds.size.height / lineHeight) + 1;
  if (!(rows >= 1) || rows > kMaximumRows) return rects;
  std::optional<std::vector<Point>> previous;
  double previousY = 0;
  for (long row = 0; row < static_cast<long>(rows); ++row) {
    const double y = row == 0 ? bounds.origin.y + 1.0 : bounds.origin.y + row * double(lineHeight);
    const std::optional<std::vector<Point>> current = intersectingPointsWithHorizontalLineAtY(path, float(y));
    if (current && previous) {
      const std::size_t pairs = std::max(previous->size(), current->size());
      double left = 0;
      for (std::size_t k = 0; k < pairs; ++k) {
        const double a = (*previous)[k % previous->size()].x, b = (*current)[k % current->size()].x;
        if (k % 2 == 0) {
          left = std::max(a, b);
          continue;
        }
        const Rect candidate = normaliseRect(Rect(left, previousY, std::min(a, b) - left, lineHeight));
        const Rect inset = platform::insetRect(candidate, 1, 1);
        const bool inside = path.containsPoint(inset.origin) &&
                            path.containsPoint({platform::maxX(inset), platform::minY(inset)}) &&
                            path.containsPoint({platform::minX(inset), platform::maxY(inset)}) &&
                            path.containsPoint({platform::maxX(inset), platform::maxY(inset)});
        if (inside) rects.push_back(candidate);
      }
    }
    if (current) previous = current;
    previousY = y;
  }
  return rects;
}

Rect lineFragmentRectForProposedRect(const BezierPath& path, const Rect& proposed, Rect* remaining, float datumOffset) {
  if (remaining) *remaining = {};
  if (std::isnan(datumOffset)) return {};
  const float f = datumOffset < -0.5f ? 0 : std::min(datumOffset, 0.5f) + 0.5f;
  const auto crossings = intersectingPointsWithHorizontalLineAtY(path, float(proposed.origin.y + f * proposed.size.height));
  if (!crossings) return {};
  for (std::size_t i = 0; i + 1 < crossings->size(); i += 2) {
    const double left = (*crossings)[i].x, right = (*crossings)[i + 1].x;
    if (left < proposed.origin.x) continue;
    if (remaining) *remaining = Rect(right, proposed.origin.y, proposed.size.width, proposed.size.height);
    return Rect(left, proposed.origin.y, right - left, proposed.size.height);
  }
  return {};
}
