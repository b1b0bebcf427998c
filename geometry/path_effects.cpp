#include "geometry/path_effects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geometry/CMRandom.h"
#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"
#include "geometry/path_length.h"
#include "geometry/stroked_path.h"
#include "geometry/subpath_queries.h"
#include "platform/core/log.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;

// Single-precision point arithmetic for the smoothing's midpoints and handle offsets.
struct FloatPoint {
  float x = 0, y = 0;
};
FloatPoint toFloat(Point p) { return {float(p.x), float(p.y)}; }
FloatPoint operator+(FloatPoint a, FloatPoint b) { return {a.x + b.x, a.y + b.y}; }
FloatPoint operator-(FloatPoint a, FloatPoint b) { return {a.x - b.x, a.y - b.y}; }
FloatPoint operator*(FloatPoint a, float k) { return {a.x * k, a.y * k}; }
Point offsetBy(Point p, FloatPoint offset) { return {p.x + offset.x, p.y + offset.y}; }
float ratio(float numerator, float denominator) { return denominator == 0 ? 0 : numerator / denominator; }

Point jittered(Point p, float amount) {
  const float rx = CMRandom::randomPositiveOrNegativeNumber();
  const float ry = CMRandom::randomPositiveOrNegativeNumber();
  return {p.x + rx * amount, p.y + ry * amount};
}

// The sample at `position` pushed `amplitude` along its slope turned by `turn`.
struct Sample {
  Point point;
  float slope = 0;
};
Sample sampleAt(const BezierPath& path, float position, float turn, float amplitude) {
  Sample sample;
  const Point onPath = pointOnPathAtLength(path, position, &sample.slope);
  sample.point = pointAtAngleAndDistance(onPath, sample.slope + turn, amplitude);
  return sample;
}

// The result of a zig-zag or wave: a move to the first point, the path's winding rule.
BezierPath startedAlong(const BezierPath& path) {
  BezierPath result;
  result.moveTo(firstPoint(path));
  result.setWindingRule(path.windingRule());
  return result;
}

bool usableSpacing(const BezierPath& path, float spacing, float& total) {
  if (!(spacing > 0)) return false;
  total = length(path);
  return double(total) / spacing + 2 <= kMaximumEffectElements;
}

}  // namespace

BezierPath bezierPathByInterpolatingPath(const BezierPath& path, float smoothness) {
  if (!(smoothness > 0) || path.isEmpty() || !isMeasurablePath(path)) return path;
  const float f = std::min(smoothness, 1.0f);
  const int count = path.elementCount();
  BezierPath result;
  // The vertices stay as they are; only midpoints, lengths and ratios are single precision.
  const Point first = endPointOfElement(path, 0);
  Point before = first, previous = first, current = first, next = first;
  if (path.elementAt(0) == PathElement::Move) result.moveTo(first);
  bool closeSeen = false;
  Point subpathStart = first, points[3];
  for (int i = 1; i <= count; ++i) {
    if (i < count) {
      const PathElement kind = path.elementAt(i, points);
      if (kind == PathElement::Move) {
        subpathStart = points[0];
        result.moveTo(points[0]);
        before = previous = current = next = points[0];
        continue;
      }
      if (kind == PathElement::Close) closeSeen = true;
      next = kind == PathElement::Curve ? points[2] : kind == PathElement::Close ? subpathStart : points[0];
    } else {
      next = current;
    }
    const FloatPoint c1 = (toFloat(before) + toFloat(previous)) * 0.5f;
    const FloatPoint c2 = (toFloat(previous) + toFloat(current)) * 0.5f;
    const FloatPoint c3 = (toFloat(current) + toFloat(next)) * 0.5f;
    const float l1 = distanceBetweenPoints(before, previous), l2 = distanceBetweenPoints(previous, current),
                l3 = distanceBetweenPoints(current, next);
    const float k1 = ratio(l1, l1 + l2), k2 = ratio(l2, l2 + l3);
    const FloatPoint m1 = c1 + (c2 - c1) * k1, m2 = c2 + (c3 - c2) * k2;
    // m + (c2 − m) × f + (vertex − m): the vertex plus the handle's offset.
    result.curveTo(current, offsetBy(previous, (c2 - m1) * f), offsetBy(current, (c2 - m2) * f));
    before = previous;
    previous = current;
    current = next;
  }
  if (closeSeen) result.closePath();
  platform::log(platform::LogLevel::Debug, "new path = " + result.description());
  return result;
}

BezierPath bezierPathByRandomisingPoints(const BezierPath& path, float amount) {
  BezierPath copy = path;
  if (amount == 0) {
    const platform::Rect box = path.controlPointBounds();
    amount = static_cast<float>(std::min(box.size.width, box.size.height) / 24);
  }
  // Also a path too large for its 24th to fit single precision.
  if (path.isEmpty() || !std::isfinite(amount)) return copy;
  copy.removeAllPoints();
  walkElements(path, [&](const WalkedElement& element) {
    const Point first = jittered(element.points[0], amount);
    switch (element.kind) {
      case PathElement::Move:
        copy.moveTo(element.points[0]);
        break;
      case PathElement::Line:
        copy.lineTo(first);
        break;
      case PathElement::Curve: {
        const Point second = jittered(element.points[1], amount);
        copy.curveTo(jittered(element.points[2], amount), first, second);
        break;
      }
      case PathElement::Close:
        copy.closePath();
        break;
    }
    return true;
  });
  return copy;
}

std::optional<BezierPath> bezierPathWithRoughenedStrokeOutline(const BezierPath& path, float amount) {
  if (std::isnan(amount)) return std::nullopt;
  std::optional<BezierPath> outline = strokedPath(path);
  if (!outline || !(amount > 0) || outline->isEmpty()) return outline;
  const float fragment = static_cast<float>(path.lineWidth() / 2);
  BezierPath pieces = fragment > 0 ? bezierPathWithFragmentedLineSegments(*outline, fragment) : *outline;
  // Only this outline is flattened that finely; the class-wide default stays as it is.
  const double flatness = 4.0 / (double(length(*outline)) / outline->elementCount());
  if (flatness > 0 && std::isfinite(flatness)) pieces.setFlatness(flatness);
  return bezierPathByRandomisingPoints(pieces.bezierPathByFlatteningPath(), amount);
}

BezierPath bezierPathWithFragmentedLineSegments(const BezierPath& path, float fragmentLength) {
  BezierPath result = emptyCopy(path);
  if (!(fragmentLength > 0) || !isMeasurablePath(path)) return result;
  double elements = 0;
  walkElements(path, [&](const WalkedElement& element) {
    elements += element.kind == PathElement::Line
                    ? std::floor(double(distanceBetweenPoints(element.start, element.end)) / fragmentLength)
                    : 1;
    return elements <= kMaximumEffectElements;
  });
  if (elements > kMaximumEffectElements) return result;
  walkElements(path, [&](const WalkedElement& element) {
    if (element.kind != PathElement::Line) {
      appendElement(result, element.kind, element.points);
      return true;
    }
    const float d = distanceBetweenPoints(element.start, element.end);
    const long pieces = static_cast<long>(std::floor(d / fragmentLength));
    for (long j = 1; j <= pieces; ++j)
      result.lineTo(interpolatePoints(element.start, element.end, static_cast<float>(j) * fragmentLength / d));
    return true;
  });
  return result;
}

BezierPath bezierPathWithZig(const BezierPath& path, float spacing, float amplitude) {
  float total = 0;
  if (!usableSpacing(path, spacing, total) || !std::isfinite(amplitude)) return {};
  BezierPath result = startedAlong(path);
  const bool closed = isPathClosed(path);
  if (total > 0) {
    for (long k = 0;; ++k) {
      const float s = static_cast<float>(k) * spacing;
      if (!(s < total)) break;
      const float position = s + spacing > total ? (closed ? 0 : total) : s;
      const float turn = k % 2 == 0 ? -kHalfPi : kHalfPi;
      const Point point = sampleAt(path, position, turn, amplitude).point;
      if (k == 0) {
        result.moveTo(point);
      } else {
        result.lineTo(point);
      }
    }
  }
  if (closed) result.closePath();
  return result;
}

BezierPath bezierPathWithWavelength(const BezierPath& path, float wavelength, float amplitude, float spread) {
  if (std::isnan(spread)) return {};
  if (spread <= 0) return bezierPathWithZig(path, wavelength, amplitude);
  float total = 0;
  if (!usableSpacing(path, wavelength, total) || !std::isfinite(amplitude) || !std::isfinite(spread)) return {};
  BezierPath result = startedAlong(path);
  const bool closed = isPathClosed(path);
  const float reach = spread * amplitude;
  Sample previous = sampleAt(path, wavelength > total ? (closed ? 0 : total) : 0, -kHalfPi, amplitude);
  result.moveTo(previous.point);
  float turn = kHalfPi, s = wavelength, step = wavelength;
  while (s <= total) {
    float position = s;
    step = wavelength;
    if (s + wavelength > total) {
      if (closed && turn > 0) {
        position = (s + total) / 2;
        step = total - position;
      } else {
        position = closed ? 0 : total;
      }
    }
    const Sample sample = sampleAt(path, position, turn, amplitude);
    const Point control1 = pointAtAngleAndDistance(previous.point, previous.slope, reach);
    const Point control2 = pointAtAngleAndDistance(sample.point, sample.slope - std::numbers::pi_v<float>, reach);
    result.curveTo(sample.point, control1, control2);
    previous = sample;
    turn = -turn;
    // A step of 0 (after a sample at the very end) repeats s once, with the other turn,
    // which then takes the sample at the start.
    s += step;
  }
  if (closed) result.closePath();
  return result;
}

std::vector<BezierPath> subPaths(const BezierPath& path) {
  std::vector<BezierPath> result;
  BezierPath current;
  const auto finish = [&] {
    if (current.elementCount() >= 2) result.push_back(std::move(current));
    current = BezierPath();
  };
  walkElements(path, [&](const WalkedElement& element) {
    if (element.kind == PathElement::Move) finish();
    appendElement(current, element.kind, element.points);
    return true;
  });
  finish();
  return result;
}

int countSubPaths(const BezierPath& path) {
  int count = 0;
  for (int i = 0; i + 1 < path.elementCount(); ++i) count += path.elementAt(i) == PathElement::Move;
  return count;
}
