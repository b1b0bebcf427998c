#include "geometry/parallel_offset.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

struct Element {
  PathElement kind = PathElement::Move;
  Point points[3];
  Point subpathStart;  // where the subpath holding this element began
};

struct Shift {
  float x = 0;
  float y = 0;
};

std::vector<Element> readElements(const BezierPath& path) {
  std::vector<Element> elements(static_cast<std::size_t>(path.elementCount()));
  Point subpathStart;
  for (int i = 0; i < path.elementCount(); ++i) {
    Element& element = elements[static_cast<std::size_t>(i)];
    element.kind = path.elementAt(i, element.points);
    if (element.kind == PathElement::Move) subpathStart = element.points[0];
    element.subpathStart = subpathStart;
  }
  return elements;
}

// Where the pen stands after the element; a close returns it to its subpath's start.
Point endPoint(const Element& element) {
  switch (element.kind) {
    case PathElement::Curve:
      return element.points[2];
    case PathElement::Close:
      return element.subpathStart;
    default:
      return element.points[0];
  }
}

// The point the next element heads for first: a curve's first control point, a close's subpath start.
Point firstPoint(const Element& element) {
  return element.kind == PathElement::Close ? element.subpathStart : element.points[0];
}

struct Heading {
  Point from;
  Point to;
};

Heading headingOf(const std::vector<Element>& elements, std::size_t index) {
  const Element& element = elements[index];
  const bool isLast = index + 1 == elements.size();
  if (element.kind == PathElement::Close) {
    const Point from = index > 0 ? endPoint(elements[index - 1]) : element.subpathStart;
    return {from, element.subpathStart};
  }
  if (!isLast) {
    const Heading towardsNext{endPoint(element), firstPoint(elements[index + 1])};
    // An element that already ends where its subpath starts keeps its own direction: a zero-length
    // heading would kink every oval and closed pen curve at its start.
    if (elements[index + 1].kind != PathElement::Close || towardsNext.from != towardsNext.to) return towardsNext;
  }
  if (element.kind == PathElement::Curve) return {element.points[1], element.points[2]};
  const Point from = index > 0 ? endPoint(elements[index - 1]) : element.points[0];
  return {from, element.points[0]};
}

Shift shiftAlong(const Heading& heading, float offset) {
  const float dx = static_cast<float>(heading.to.x - heading.from.x);
  const float dy = static_cast<float>(heading.to.y - heading.from.y);
  // Headings between infinite or NaN points have no direction: treat them like zero-length ones.
  const float theta = std::isfinite(dx) && std::isfinite(dy) ? std::atan2(dy, dx) : 0.0f;
  const float phi = static_cast<float>(static_cast<double>(theta) + std::numbers::pi / 2);
  return {offset * std::cos(phi), offset * std::sin(phi)};
}

Point moved(Point point, Shift shift) { return {point.x + shift.x, point.y + shift.y}; }

void appendShifted(BezierPath& result, const Element& element, Shift shift, Shift previousShift) {
  switch (element.kind) {
    case PathElement::Move:
      result.moveTo(moved(element.points[0], shift));
      break;
    case PathElement::Line:
      result.lineTo(moved(element.points[0], shift));
      break;
    case PathElement::Curve:
      result.curveTo(moved(element.points[2], shift), moved(element.points[0], previousShift),
                     moved(element.points[1], shift));
      break;
    case PathElement::Close:
      result.closePath();
      break;
  }
}

float finiteOr0(float value) { return std::isfinite(value) ? value : 0.0f; }

BezierPath offsetPath(const BezierPath& path, const std::function<float(int index, int count)>& offsetAt) {
  const std::vector<Element> elements = readElements(path);
  BezierPath result;
  // A single element has no segment to take a direction from.
  const bool unshifted = elements.size() == 1;
  Shift previousShift;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const int index = static_cast<int>(i);
    const Shift shift = unshifted ? Shift{} : shiftAlong(headingOf(elements, i), offsetAt(index, path.elementCount()));
    appendShifted(result, elements[i], shift, previousShift);
    previousShift = shift;
  }
  return result;
}

// s + i·(e − s)/(n − 1) in single precision; a sum that overflows is redone in double and clamped.
float linearOffset(float starting, float ending, int index, int count) {
  const float step = static_cast<float>(index) * (ending - starting) / static_cast<float>(count - 1);
  const float offset = step + starting;
  if (std::isfinite(offset)) return offset;
  const double wide = starting + index * (static_cast<double>(ending) - starting) / (count - 1);
  constexpr double kMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::clamp(wide, -kMax, kMax));
}

}  // namespace

BezierPath paralleloidPathWithOffset(const BezierPath& path, float offset) {
  const float d = finiteOr0(offset);
  return offsetPath(path, [d](int, int) { return d; });
}

BezierPath paralleloidPathWithOffset2(const BezierPath& path, float offset) {
  return paralleloidPathWithOffset(path, offset);
}

BezierPath offsetPathWithStartingOffset(const BezierPath& path, float startingOffset, float endingOffset) {
  const float s = finiteOr0(startingOffset);
  const float e = finiteOr0(endingOffset);
  return offsetPath(path, [s, e](int index, int count) { return linearOffset(s, e, index, count); });
}

BezierPath offsetPathWithStartingOffset2(const BezierPath& path, float startingOffset, float endingOffset) {
  return offsetPathWithStartingOffset(path, startingOffset, endingOffset);
}
