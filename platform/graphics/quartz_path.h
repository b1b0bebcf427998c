#pragma once

// An immutable path of move, line, quadratic, cubic and close elements, built
// with QuartzPathBuilder. Copies share their elements. The builder follows the
// Bezier path's rules for ill-formed sequences: a segment right after a close
// first moves to that subpath's start, a segment with no current point starts a
// subpath at its end point, and a close with no open subpath does nothing.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/geometry.h"

namespace platform {

// The numbers match the original platform's element types.
enum class QuartzElement : int { Move = 0, Line = 1, Quad = 2, Cubic = 3, Close = 4 };

struct QuartzPathElement {
  QuartzElement kind = QuartzElement::Move;
  // Move and line use points[0]; a quadratic holds control, end; a cubic control 1, control 2, end.
  Point points[3];
  friend bool operator==(const QuartzPathElement&, const QuartzPathElement&) = default;
};

// The number of points an element of this kind carries (0 for close).
int pointCount(QuartzElement kind);

class QuartzPath {
 public:
  // The null path: no elements.
  QuartzPath() = default;

  bool isEmpty() const { return !elements_ || elements_->empty(); }
  int elementCount() const { return elements_ ? static_cast<int>(elements_->size()) : 0; }
  const std::vector<QuartzPathElement>& elements() const;
  // Visits the elements in order.
  void apply(const std::function<void(const QuartzPathElement&)>& visitor) const;

  friend bool operator==(const QuartzPath& a, const QuartzPath& b) { return a.elements() == b.elements(); }

 private:
  friend class QuartzPathBuilder;
  explicit QuartzPath(std::shared_ptr<const std::vector<QuartzPathElement>> elements);

  std::shared_ptr<const std::vector<QuartzPathElement>> elements_;
};

class QuartzPathBuilder {
 public:
  QuartzPathBuilder() = default;
  // Starts from a copy of `path`'s elements.
  explicit QuartzPathBuilder(const QuartzPath& path);

  void moveTo(Point point);
  void lineTo(Point point);
  void quadCurveTo(Point control, Point end);
  void curveTo(Point control1, Point control2, Point end);
  void closeSubpath();
  // Appends the other path's elements as they are.
  void addPath(const QuartzPath& path);

  bool isEmpty() const { return elements_.empty(); }
  // The end of the last element; a close gives its subpath's start. (0, 0) when empty.
  Point currentPoint() const;
  // An immutable copy of what has been built so far.
  QuartzPath copy() const;

 private:
  void ensureSubpathBeforeSegment(Point fallback);
  void append(QuartzElement kind, Point a, Point b = {}, Point c = {});

  std::vector<QuartzPathElement> elements_;
  int lastMoveIndex_ = -1;
};

}  // namespace platform
