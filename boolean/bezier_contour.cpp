// Building a contour, its bounds, path, orientation, copies and queries.

#include "boolean/bezier_contour.h"

#include <cmath>

#include "boolean/bezier_curve.h"
#include "boolean/list_description.h"
#include "boolean/path_markers.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "boolean/walk/contour_overlap.h"
#include "boolean/walk/curve_location.h"
#include "boolean/walk/edge_crossing.h"
#include "platform/core/string_utilities.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;

PBBezierContour::~PBBezierContour() {
  // Edges outliving the contour (shared with a location record) must not point back at it.
  for (const auto& edge : edges_) {
    if (edge->contour() == this) edge->setContour(nullptr);
  }
}

std::shared_ptr<PBBezierContour> PBBezierContour::bezierContourWithCurve(std::shared_ptr<PBBezierCurve> curve) {
  auto contour = std::make_shared<PBBezierContour>();
  contour->addCurve(std::move(curve));
  return contour;
}

void PBBezierContour::clearCaches() {
  bounds_ = Rect();
  boundingRect_ = Rect();
  path_.reset();
}

void PBBezierContour::addCurve(std::shared_ptr<PBBezierCurve> curve) {
  if (!curve) return;
  curve->setContour(this);
  curve->setIndex(edges_.size());
  edges_.push_back(std::move(curve));
  clearCaches();
}

namespace {

// The piece of an edge between two crossings of it; null when neither is given.
std::shared_ptr<PBBezierCurve> pieceBetween(const PBEdgeCrossing* startCrossing, const PBEdgeCrossing* endCrossing) {
  if (!startCrossing && endCrossing) {
    PBBezierCurve* left = endCrossing->leftCurve();
    return left ? left->clone() : nullptr;
  }
  if (startCrossing && !endCrossing) {
    PBBezierCurve* right = startCrossing->rightCurve();
    return right ? right->clone() : nullptr;
  }
  if (startCrossing && endCrossing) {
    return startCrossing->curve()->subcurveWithRange(PBRangeMake(startCrossing->parameter(), endCrossing->parameter()));
  }
  return nullptr;
}

}  // namespace

void PBBezierContour::addCurveFrom(const PBEdgeCrossing* startCrossing, const PBEdgeCrossing* endCrossing) {
  addCurve(pieceBetween(startCrossing, endCrossing));
}

void PBBezierContour::addReverseCurve(const PBBezierCurve* curve) {
  if (curve) addCurve(curve->reversedCurve());
}

void PBBezierContour::addReverseCurveFrom(const PBEdgeCrossing* startCrossing, const PBEdgeCrossing* endCrossing) {
  const std::shared_ptr<PBBezierCurve> piece = pieceBetween(startCrossing, endCrossing);
  addReverseCurve(piece.get());
}

void PBBezierContour::close() {
  if (edges_.empty()) return;
  const Point start = edges_.front()->endPoint1();
  const Point end = edges_.back()->endPoint2();
  if (!PBArePointsClose(start, end)) addCurve(PBBezierCurve::bezierCurveWithLineStartPoint(end, start));
}

namespace {

// The first rectangle that is not the zero rectangle starts the union; after that zero-width ones still count.
template <typename RectOf>
Rect unionOfEdges(const std::vector<std::shared_ptr<PBBezierCurve>>& edges, RectOf rectOf) {
  Rect total;
  for (const auto& edge : edges) {
    const Rect rect = rectOf(*edge);
    total = total == Rect() ? rect : PBUnionRect(total, rect);
  }
  return total;
}

}  // namespace

Rect PBBezierContour::bounds() {
  if (bounds_ == Rect() && !edges_.empty()) {
    bounds_ = unionOfEdges(edges_, [](const PBBezierCurve& edge) { return edge.bounds(); });
  }
  return bounds_;
}

Rect PBBezierContour::boundingRect() {
  if (boundingRect_ == Rect() && !edges_.empty()) {
    boundingRect_ = unionOfEdges(edges_, [](const PBBezierCurve& edge) { return edge.boundingRect(); });
  }
  return boundingRect_;
}

Point PBBezierContour::firstPoint() const { return edges_.empty() ? Point() : edges_.front()->endPoint1(); }

const platform::BezierPath& PBBezierContour::bezierPath() {
  if (!path_) {
    platform::BezierPath path;
    if (!edges_.empty()) {
      path.moveTo(edges_.front()->endPoint1());
      for (const auto& edge : edges_) {
        if (edge->isStraightLine()) {
          path.lineTo(edge->endPoint2());
        } else {
          path.curveTo(edge->endPoint2(), edge->controlPoint1(), edge->controlPoint2());
        }
      }
      path.closePath();
    }
    path.setWindingRule(platform::WindingRule::EvenOdd);
    path_ = std::move(path);
  }
  return *path_;
}

int PBBezierContour::direction() const {
  if (edges_.empty()) return 0;
  // The polygon through every edge's start and end: the first edge's own end is a vertex too.
  double sum = 0;
  Point previous = edges_.front()->endPoint1();
  for (const auto& edge : edges_) {
    const Point point = edge->endPoint2();
    sum += previous.x * point.y - previous.y * point.x;
    previous = point;
  }
  return sum < 0 ? 1 : 0;
}

std::shared_ptr<PBBezierContour> PBBezierContour::reversedContour() const {
  auto reversed = std::make_shared<PBBezierContour>();
  for (auto edge = edges_.rbegin(); edge != edges_.rend(); ++edge) reversed->addReverseCurve(edge->get());
  return reversed;
}

std::shared_ptr<PBBezierContour> PBBezierContour::contourMadeClockwiseIfNecessary() const {
  return direction() == 1 ? copy() : reversedContour();
}

std::shared_ptr<PBBezierContour> PBBezierContour::copy() const {
  auto copied = std::make_shared<PBBezierContour>();
  for (const auto& edge : edges_) copied->addCurve(edge->clone());
  return copied;
}

std::shared_ptr<PBCurveLocation> PBBezierContour::closestLocationToPoint(Point point) {
  std::shared_ptr<PBBezierCurve> closestEdge;
  PBBezierCurveLocation closest{};
  for (const auto& edge : edges_) {
    const PBBezierCurveLocation location = edge->closestLocationToPoint(point);
    if (!closestEdge || location.distance < closest.distance) {
      closestEdge = edge;
      closest = location;
    }
  }
  if (!closestEdge) return nullptr;
  auto result = PBCurveLocation::curveLocationWithEdge(closestEdge, closest.parameter, closest.distance);
  result->setContour(this);
  return result;
}

std::string PBBezierContour::description() {
  const Rect rect = bounds();
  std::vector<std::string> items;
  for (const auto& edge : edges_) items.push_back(edge->description());
  return platform::formatString("<PBBezierContour: bounds = (%f, %f)(%f, %f) edges = ", rect.origin.x, rect.origin.y,
                                rect.size.width, rect.size.height) +
         PBListDescription(items) + ">";
}

platform::BezierPath PBBezierContour::debugPathForIntersectionType(int type) {
  platform::BezierPath path;
  for (const auto& edge : edges_) {
    for (const auto& crossing : edge->crossings_()) {
      if (crossing->isEntry() && type != 2) path.appendPath(PBCircleAtPoint(crossing->location()));
      if (!crossing->isEntry() && type != 1) path.appendPath(PBRectAtPoint(crossing->location()));
    }
  }
  if (const PBBezierCurve* start = startEdge()) {
    Point direction{start->controlPoint1().x - start->endPoint1().x, start->controlPoint1().y - start->endPoint1().y};
    const double length = std::hypot(direction.x, direction.y);
    if (length > 0) direction = {direction.x / length, direction.y / length};
    path.appendPath(PBTriangleAtPoint(start->endPoint1(), direction));
  }
  path.appendPath(bezierPath());
  if (inside_ == PBContourInsideHole) {
    const double dash[] = {2.0, 3.0};
    path.setLineDash(dash, 2, 0);
  }
  return path;
}
