// A contour's point containment, where to start walking it, entry and exit
// marking of its crossings, the contours it reaches and its overlaps.

#include <algorithm>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/tolerance_functions.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/contour_overlap.h"
#include "boolean/walk/curve_location.h"
#include "boolean/walk/edge_crossing.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;

namespace {

// The ray runs this far past the bounds so that it clears every edge.
constexpr double kRayOverhang = 10.0;
// A point this near an outline is taken to lie on it.
constexpr double kClearance = PBCollinearDistanceThreshold;

}  // namespace

bool PBBezierContour::containsPoint(Point point) {
  if (!platform::pointInRect(point, boundingRect()) || !platform::pointInRect(point, bounds())) return false;
  const Rect rect = bounds();
  const double endX =
      point.x > platform::minX(rect) ? platform::minX(rect) - kRayOverhang : platform::maxX(rect) + kRayOverhang;
  const auto ray = PBBezierCurve::bezierCurveWithLineStartPoint(point, Point{endX, point.y});
  return numberOfIntersectionsWithRay(ray.get()) % 2 == 1;
}

std::size_t PBBezierContour::numberOfIntersectionsWithRay(PBBezierCurve* ray) {
  std::size_t count = 0;
  intersectionsWithRay(ray, [&count](PBBezierIntersection&) { ++count; });
  return count;
}

void PBBezierContour::intersectionsWithRay(PBBezierCurve* ray,
                                           const std::function<void(PBBezierIntersection&)>& block) {
  // First and previous persist across edges so that a vertex shared by two edges counts once.
  std::shared_ptr<PBBezierIntersection> first;
  std::shared_ptr<PBBezierIntersection> previous;
  for (const auto& edgeHolder : edges_) {
    PBBezierCurve* edge = edgeHolder.get();
    std::shared_ptr<PBBezierIntersectRange> overlap;
    ray->intersectionsWithBezierCurve(
        edge, &overlap, [&](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
          if (!ray->crossesEdge(edge, *intersection) || edge->isPoint()) return;
          bool deliverNow = false;
          if (intersection->isAtStartOfCurve2() && previous) {
            if (previous->isAtEndPointOfCurve2() && previous->curve2() == edge->previous()) return;
            deliverNow = true;
          }
          if (!deliverNow && intersection->isAtEndPointOfCurve2() && first) {
            if (first->isAtStartOfCurve2() && first->curve2() == edge->next()) return;
          }
          block(*intersection);
          if (!first) first = intersection;
          previous = intersection;
        });
    if (overlap && ray->crossesEdge(edge, *overlap)) block(*overlap->middleIntersection());
  }
}

bool PBBezierContour::startsApart(const PBBezierCurve* edge) const {
  // A start on a shared stretch lies on the other outline as much as at a meeting point: which side it is on
  // cannot be told there.
  return !edge->isStartShared() && !doesOverlapContainParameter(0.0, edge);
}

PBBezierCurve* PBBezierContour::startEdge() const {
  if (edges_.empty()) return nullptr;
  for (const auto& edge : edges_) {
    if (startsApart(edge.get())) return edge.get();
  }
  return edges_.front().get();
}

bool PBBezierContour::doesOverlapWithContainParameter(const std::vector<PBBezierContour*>& contours, double parameter,
                                                      const PBBezierCurve* edge) const {
  return std::any_of(overlaps_.begin(), overlaps_.end(), [&](const std::shared_ptr<PBContourOverlap>& overlap) {
    return std::any_of(contours.begin(), contours.end(),
                       [&](const PBBezierContour* contour) { return overlap->isBetweenContour(this, contour); }) &&
           overlap->doesContainParameter(parameter, edge);
  });
}

void PBBezierContour::startingEdge(PBBezierCurve** edge, double* parameter, Point* point,
                                   const std::vector<PBBezierContour*>* others) const {
  PBBezierCurve* start = startEdge();
  *edge = start;
  *parameter = 0.0;
  *point = Point();
  if (!start) return;
  if (startsApart(start)) {
    *point = start->endPoint1();
    return;
  }
  auto clear = [others](Point candidate) {
    if (!others) return true;
    for (PBBezierContour* other : *others) {
      const auto location = other->closestLocationToPoint(candidate);
      if (location && location->distance() <= kClearance) return false;
    }
    return true;
  };
  // From the start edge round the ring, the first edge whose middle is clear and passes the test.
  auto firstMiddle = [&](const std::function<bool(const PBBezierCurve*)>& test) -> PBBezierCurve* {
    PBBezierCurve* candidate = start;
    for (std::size_t visited = 0; visited < edges_.size(); ++visited, candidate = candidate->next()) {
      if (test(candidate) && clear(candidate->pointAtParameter(0.5))) return candidate;
    }
    return nullptr;
  };
  PBBezierCurve* chosen =
      firstMiddle([this](const PBBezierCurve* candidate) { return !doesOverlapContainParameter(0.5, candidate); });
  if (!chosen && others) {
    // Every middle lies on some other outline: a stretch shared with a contour the marks are not about will do.
    chosen = firstMiddle(
        [&](const PBBezierCurve* candidate) { return !doesOverlapWithContainParameter(*others, 0.5, candidate); });
  }
  if (!chosen) chosen = start;
  *edge = chosen;
  *parameter = 0.5;
  *point = chosen->pointAtParameter(0.5);
}

Point PBBezierContour::testPointForContainment() const {
  PBBezierCurve* edge = nullptr;
  double parameter = 0;
  Point point;
  startingEdge(&edge, &parameter, &point);
  return point;
}

bool PBBezierContour::contourAndSelfIntersectingContoursContainPoint(Point point) {
  std::size_t count = containsPoint(point) ? 1 : 0;
  for (PBBezierContour* contour : selfIntersectingContours()) {
    if (contour->containsPoint(point)) ++count;
  }
  return count % 2 == 1;
}

void PBBezierContour::markCrossingsAsEntryOrExitWithContour(PBBezierContour* otherContour, bool markInside) {
  std::vector<PBBezierContour*> others = otherContour->selfIntersectingContours();
  others.push_back(otherContour);
  PBBezierCurve* start = nullptr;
  double parameter = 0;
  Point point;
  startingEdge(&start, &parameter, &point, &others);
  if (!start) return;
  const bool contains = otherContour->contourAndSelfIntersectingContoursContainPoint(point);
  bool isEntry = markInside ? !contains : contains;
  // Around the ring from the start point: the rest of the start edge, the other edges, then its beginning.
  isEntry = markCrossingsOnEdge(start, parameter, 2.0, others, isEntry);
  for (PBBezierCurve* edge = start->next(); edge != start; edge = edge->next()) {
    isEntry = markCrossingsOnEdge(edge, 0.0, 2.0, others, isEntry);
  }
  markCrossingsOnEdge(start, 0.0, parameter, others, isEntry);
}

bool PBBezierContour::markCrossingsOnEdge(PBBezierCurve* edge, double startParameter, double stopParameter,
                                          const std::vector<PBBezierContour*>& otherContours, bool isEntry) {
  edge->crossingsWithBlock([&](const std::shared_ptr<PBEdgeCrossing>& crossing, bool*) {
    if (crossing->isSelfCrossing() || !crossing->counterpart()) return;
    PBBezierContour* reached = crossing->counterpart()->edge()->contour();
    if (std::find(otherContours.begin(), otherContours.end(), reached) == otherContours.end()) return;
    const double at = crossing->parameter();
    if (at < startParameter || at >= stopParameter) return;
    crossing->setEntry(isEntry);
    isEntry = !isEntry;
  });
  return isEntry;
}

std::vector<PBBezierContour*> PBBezierContour::intersectingContours() const {
  std::vector<PBBezierContour*> contours;
  for (const auto& edge : edges_) {
    edge->intersectingEdgesWithBlock([&contours](PBBezierCurve* other) {
      if (!other) return;
      PBBezierContour* contour = other->contour();
      if (std::find(contours.begin(), contours.end(), contour) == contours.end()) contours.push_back(contour);
    });
  }
  return contours;
}

std::vector<PBBezierContour*> PBBezierContour::selfIntersectingContours() const {
  std::vector<PBBezierContour*> contours;
  addSelfIntersectingContoursToArray(&contours, this);
  return contours;
}

void PBBezierContour::addSelfIntersectingContoursToArray(std::vector<PBBezierContour*>* contours,
                                                         const PBBezierContour* originalContour) const {
  for (const auto& edge : edges_) {
    edge->selfIntersectingEdgesWithBlock([&](PBBezierCurve* other) {
      if (!other) return;
      PBBezierContour* contour = other->contour();
      if (!contour || contour == originalContour) return;
      if (std::find(contours->begin(), contours->end(), contour) != contours->end()) return;
      contours->push_back(contour);
      contour->addSelfIntersectingContoursToArray(contours, originalContour);
    });
  }
}

bool PBBezierContour::crossesOwnContour(const PBBezierContour* contour) const {
  for (const auto& edge : edges_) {
    for (const auto& crossing : edge->crossings_()) {
      if (!crossing->isSelfCrossing() || !crossing->counterpart()) continue;
      const PBBezierCurve* other = crossing->counterpart()->edge();
      if (other && other->contour() == contour) return true;
    }
  }
  return false;
}

void PBBezierContour::addOverlap(const std::shared_ptr<PBContourOverlap>& overlap) {
  if (overlap && !overlap->isEmpty()) overlaps_.push_back(overlap);
}

bool PBBezierContour::isEquivalent(const PBBezierContour* contour) const {
  return std::any_of(overlaps_.begin(), overlaps_.end(), [&](const std::shared_ptr<PBContourOverlap>& overlap) {
    return overlap->isBetweenContour(this, contour) && overlap->isComplete();
  });
}

void PBBezierContour::forEachEdgeOverlapDo(const PBEdgeOverlapBlock& block) const {
  for (const auto& overlap : overlaps_) {
    overlap->runsWithBlock([&block](PBEdgeOverlapRun& run, bool*) {
      for (const auto& edgeOverlap : run.overlaps()) block(*edgeOverlap);
    });
  }
}

bool PBBezierContour::doesOverlapContainCrossing(const PBEdgeCrossing& crossing) const {
  return std::any_of(overlaps_.begin(), overlaps_.end(), [&](const std::shared_ptr<PBContourOverlap>& overlap) {
    return overlap->doesContainCrossing(crossing);
  });
}

bool PBBezierContour::doesOverlapContainParameter(double parameter, const PBBezierCurve* edge) const {
  return std::any_of(overlaps_.begin(), overlaps_.end(), [&](const std::shared_ptr<PBContourOverlap>& overlap) {
    return overlap->doesContainParameter(parameter, edge);
  });
}
