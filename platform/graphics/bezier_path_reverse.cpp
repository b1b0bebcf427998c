#include "platform/graphics/bezier_path.h"

namespace platform {

namespace {

Point endPoint(PathElement kind, const Point points[3]) { return kind == PathElement::Curve ? points[2] : points[0]; }

}  // namespace

BezierPath BezierPath::bezierPathByReversingPath() const {
  BezierPath reversed = *this;
  reversed.removeAllPoints();
  reversed.elements_.reserve(elements_.size() + 1);
  // Walk the subpaths from the last one; every subpath begins with a move.
  int end = elementCount();
  while (end > 0) {
    int begin = end - 1;
    while (begin > 0 && elements_[begin].kind != PathElement::Move) --begin;
    const bool closed = elements_[end - 1].kind == PathElement::Close;
    const int lastSegment = closed ? end - 2 : end - 1;
    const Point start = elements_[begin].points[0];
    const Point finish =
        lastSegment > begin ? endPoint(elements_[lastSegment].kind, elements_[lastSegment].points) : start;

    // A closed subpath keeps its start; its implicit closing line becomes explicit and
    // the first segment's line, now the closing one, implicit, so reversing twice round-trips.
    const bool closingLineInserted = closed && finish != start;
    reversed.append(PathElement::Move, closed ? start : finish);
    if (closingLineInserted) reversed.append(PathElement::Line, finish);
    for (int i = lastSegment; i > begin; --i) {
      const Element& segment = elements_[i];
      const Element& previous = elements_[i - 1];
      const Point target = endPoint(previous.kind, previous.points);
      if (segment.kind == PathElement::Curve) {
        reversed.append(PathElement::Curve, segment.points[1], segment.points[0], target);
      } else if (!(closingLineInserted && i == begin + 1)) {
        reversed.append(PathElement::Line, target);
      }
    }
    if (closed) reversed.append(PathElement::Close, {});
    end = begin;
  }
  return reversed;
}

}  // namespace platform
