#include "boolean/path_elements.h"

#include <algorithm>

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

PBPathElement pb_elementAtIndex(const BezierPath& path, int index) {
  PBPathElement element;
  if (index < 0 || index >= path.elementCount()) return element;
  Point points[3] = {};
  const PathElement kind = path.elementAt(index, points);
  element.kind = static_cast<std::uint64_t>(kind);
  if (kind == PathElement::Curve) {
    element.controlPoints[0] = points[0];
    element.controlPoints[1] = points[1];
    element.point = points[2];
  } else {
    element.point = points[0];
  }
  return element;
}

Point pb_pointAtIndex(const BezierPath& path, int index) { return pb_elementAtIndex(path, index).point; }

BezierPath pb_subpathWithRange(const BezierPath& path, PBElementRange range) {
  BezierPath subpath;
  pb_copyAttributesFrom(subpath, path);
  if (range.length <= 0 || range.location < 0 || range.location >= path.elementCount()) return subpath;
  subpath.moveTo(pb_pointAtIndex(path, range.location));
  const long end = std::min<long>(static_cast<long>(range.location) + range.length, path.elementCount());
  for (long index = range.location + 1; index < end; ++index) {
    pb_appendElement(subpath, pb_elementAtIndex(path, static_cast<int>(index)));
  }
  return subpath;
}

void pb_copyAttributesFrom(BezierPath& path, const BezierPath& source) {
  path.setLineWidth(source.lineWidth());
  path.setLineCapStyle(source.lineCapStyle());
  path.setLineJoinStyle(source.lineJoinStyle());
  path.setMiterLimit(source.miterLimit());
  path.setFlatness(source.flatness());
}

void pb_appendPath(BezierPath& path, const BezierPath& other) {
  const bool startsEmpty = path.isEmpty();
  Point previous = startsEmpty ? Point() : pb_pointAtIndex(path, path.elementCount() - 1);
  for (int index = 0; index < other.elementCount(); ++index) {
    PBPathElement element = pb_elementAtIndex(other, index);
    if (element.kind == PBElementMove) {
      // Nothing to join onto yet: the first move of an empty receiver stays a move.
      const bool keepMove = startsEmpty && index == 0;
      if (!keepMove) {
        if (element.point == previous) continue;
        element.kind = PBElementLine;
      }
    }
    pb_appendElement(path, element);
    previous = element.point;
  }
}

void pb_appendElement(BezierPath& path, const PBPathElement& element) {
  switch (element.kind) {
    case PBElementMove: path.moveTo(element.point); break;
    case PBElementLine: path.lineTo(element.point); break;
    case PBElementCurve: path.curveTo(element.point, element.controlPoints[0], element.controlPoints[1]); break;
    case PBElementClose: path.closePath(); break;
    default: break;
  }
}
