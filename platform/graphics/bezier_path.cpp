#include "platform/graphics/bezier_path.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_math.h"

namespace platform {

namespace {

struct ClassDefaults {
  double lineWidth = 1;
  double flatness = 0.6;
  WindingRule windingRule = WindingRule::NonZero;
};

ClassDefaults& classDefaults() {
  static ClassDefaults defaults;
  return defaults;
}

int pointCountOf(PathElement kind) {
  switch (kind) {
    case PathElement::Move:
    case PathElement::Line:
      return 1;
    case PathElement::Curve:
      return 3;
    case PathElement::Close:
      return 0;
  }
  return 0;
}

void appendNumber(std::string& out, double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void appendPoint(std::string& out, Point point) {
  out += " (";
  appendNumber(out, point.x);
  out += ", ";
  appendNumber(out, point.y);
  out += ')';
}

}  // namespace

BezierPath::BezierPath()
    : lineWidth_(classDefaults().lineWidth),
      windingRule_(classDefaults().windingRule),
      flatness_(classDefaults().flatness) {}

double BezierPath::defaultLineWidth() { return classDefaults().lineWidth; }
void BezierPath::setDefaultLineWidth(double width) { classDefaults().lineWidth = width; }
double BezierPath::defaultFlatness() { return classDefaults().flatness; }
void BezierPath::setDefaultFlatness(double flatness) { classDefaults().flatness = flatness; }
WindingRule BezierPath::defaultWindingRule() { return classDefaults().windingRule; }
void BezierPath::setDefaultWindingRule(WindingRule rule) { classDefaults().windingRule = rule; }

void BezierPath::append(PathElement kind, Point a, Point b, Point c) {
  if (kind == PathElement::Move) lastMoveIndex_ = elementCount();
  elements_.push_back(Element{kind, {a, b, c}});
}

bool BezierPath::subpathIsOpen() const { return !elements_.empty() && elements_.back().kind != PathElement::Close; }

void BezierPath::ensureSubpathBeforeSegment(Point fallback) {
  if (elements_.empty()) {
    append(PathElement::Move, fallback);
  } else if (elements_.back().kind == PathElement::Close) {
    append(PathElement::Move, elements_[lastMoveIndex_].points[0]);
  }
}

void BezierPath::moveTo(Point point) { append(PathElement::Move, point); }

void BezierPath::lineTo(Point point) {
  ensureSubpathBeforeSegment(point);
  append(PathElement::Line, point);
}

void BezierPath::curveTo(Point end, Point control1, Point control2) {
  ensureSubpathBeforeSegment(end);
  append(PathElement::Curve, control1, control2, end);
}

void BezierPath::closePath() {
  if (subpathIsOpen()) append(PathElement::Close, {});
}

void BezierPath::removeAllPoints() {
  elements_.clear();
  lastMoveIndex_ = -1;
}

void BezierPath::appendPath(const BezierPath& other) {
  if (other.elements_.empty()) return;
  const int base = elementCount();
  const int otherLastMove = other.lastMoveIndex_;
  if (&other == this) {
    const std::vector<Element> copy = elements_;
    elements_.insert(elements_.end(), copy.begin(), copy.end());
  } else {
    elements_.insert(elements_.end(), other.elements_.begin(), other.elements_.end());
  }
  lastMoveIndex_ = base + otherLastMove;
}

PathElement BezierPath::elementAt(int index) const {
  if (index < 0 || index >= elementCount()) throw std::out_of_range("BezierPath element index out of range");
  return elements_[index].kind;
}

PathElement BezierPath::elementAt(int index, Point points[3]) const {
  const PathElement kind = elementAt(index);
  if (points == nullptr) return kind;
  const Element& element = elements_[index];
  for (int i = 0; i < pointCountOf(kind); ++i) points[i] = element.points[i];
  return kind;
}

void BezierPath::setAssociatedPoints(const Point* points, int index) {
  const PathElement kind = elementAt(index);
  if (points == nullptr) return;
  Element& element = elements_[index];
  for (int i = 0; i < pointCountOf(kind); ++i) element.points[i] = points[i];
}

Point BezierPath::currentPoint() const {
  if (elements_.empty()) return {};
  const Element& last = elements_.back();
  switch (last.kind) {
    case PathElement::Move:
    case PathElement::Line:
      return last.points[0];
    case PathElement::Curve:
      return last.points[2];
    case PathElement::Close:
      break;
  }
  return elements_[lastMoveIndex_].points[0];
}

void BezierPath::setLineDash(const double* pattern, int count, double phase) {
  if (pattern == nullptr || count <= 0) {
    dash_ = LineDash{};
    return;
  }
  dash_.pattern.assign(pattern, pattern + count);
  dash_.phase = phase;
}

Rect BezierPath::controlPointBounds() const {
  bezier::BoundsAccumulator box;
  for (const Element& element : elements_) {
    for (int i = 0; i < pointCountOf(element.kind); ++i) box.add(element.points[i]);
  }
  return box.rect();
}

void BezierPath::transformUsingAffineTransform(const AffineTransform& transform) {
  for (Element& element : elements_) {
    for (int i = 0; i < pointCountOf(element.kind); ++i)
      element.points[i] = transform.transformPoint(element.points[i]);
  }
}

std::string BezierPath::description() const {
  std::string out = "BezierPath, " + std::to_string(elements_.size()) + " elements\n";
  for (const Element& element : elements_) {
    switch (element.kind) {
      case PathElement::Move:
        out += "  moveto";
        break;
      case PathElement::Line:
        out += "  lineto";
        break;
      case PathElement::Curve:
        out += "  curveto";
        break;
      case PathElement::Close:
        out += "  closepath";
        break;
    }
    for (int i = 0; i < pointCountOf(element.kind); ++i) appendPoint(out, element.points[i]);
    out += '\n';
  }
  return out;
}

}  // namespace platform
