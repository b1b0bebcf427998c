#include "platform/graphics/quartz_path.h"

namespace platform {

int pointCount(QuartzElement kind) {
  switch (kind) {
    case QuartzElement::Move:
    case QuartzElement::Line:
      return 1;
    case QuartzElement::Quad:
      return 2;
    case QuartzElement::Cubic:
      return 3;
    case QuartzElement::Close:
      return 0;
  }
  return 0;
}

QuartzPath::QuartzPath(std::shared_ptr<const std::vector<QuartzPathElement>> elements)
    : elements_(std::move(elements)) {}

const std::vector<QuartzPathElement>& QuartzPath::elements() const {
  static const std::vector<QuartzPathElement> none;
  return elements_ ? *elements_ : none;
}

void QuartzPath::apply(const std::function<void(const QuartzPathElement&)>& visitor) const {
  for (const QuartzPathElement& element : elements()) visitor(element);
}

QuartzPathBuilder::QuartzPathBuilder(const QuartzPath& path) { addPath(path); }

void QuartzPathBuilder::append(QuartzElement kind, Point a, Point b, Point c) {
  if (kind == QuartzElement::Move) lastMoveIndex_ = static_cast<int>(elements_.size());
  elements_.push_back(QuartzPathElement{kind, {a, b, c}});
}

void QuartzPathBuilder::ensureSubpathBeforeSegment(Point fallback) {
  if (elements_.empty()) {
    append(QuartzElement::Move, fallback);
  } else if (elements_.back().kind == QuartzElement::Close) {
    append(QuartzElement::Move, elements_[lastMoveIndex_].points[0]);
  }
}

void QuartzPathBuilder::moveTo(Point point) { append(QuartzElement::Move, point); }

void QuartzPathBuilder::lineTo(Point point) {
  ensureSubpathBeforeSegment(point);
  append(QuartzElement::Line, point);
}

void QuartzPathBuilder::quadCurveTo(Point control, Point end) {
  ensureSubpathBeforeSegment(end);
  append(QuartzElement::Quad, control, end);
}

void QuartzPathBuilder::curveTo(Point control1, Point control2, Point end) {
  ensureSubpathBeforeSegment(end);
  append(QuartzElement::Cubic, control1, control2, end);
}

void QuartzPathBuilder::closeSubpath() {
  if (!elements_.empty() && elements_.back().kind != QuartzElement::Close) append(QuartzElement::Close, {});
}

void QuartzPathBuilder::addPath(const QuartzPath& path) {
  // Replayed through the builder, which keeps the subpath bookkeeping.
  for (const QuartzPathElement& e : path.elements()) {
    switch (e.kind) {
      case QuartzElement::Move:
        moveTo(e.points[0]);
        break;
      case QuartzElement::Line:
        lineTo(e.points[0]);
        break;
      case QuartzElement::Quad:
        quadCurveTo(e.points[0], e.points[1]);
        break;
      case QuartzElement::Cubic:
        curveTo(e.points[0], e.points[1], e.points[2]);
        break;
      case QuartzElement::Close:
        closeSubpath();
        break;
    }
  }
}

Point QuartzPathBuilder::currentPoint() const {
  if (elements_.empty()) return {};
  const QuartzPathElement& last = elements_.back();
  if (last.kind == QuartzElement::Close) return elements_[lastMoveIndex_].points[0];
  return last.points[pointCount(last.kind) - 1];
}

QuartzPath QuartzPathBuilder::copy() const {
  return QuartzPath(std::make_shared<const std::vector<QuartzPathElement>>(elements_));
}

}  // namespace platform
