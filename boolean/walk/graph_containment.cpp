// Whether a graph contains a contour that crosses none of its contours: rays
// across the contour count how often each of the graph's contours is crossed
// before and after the contour's span; a container must be crossed an odd
// number of times before and at least once after.

#include <algorithm>
#include <cmath>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/rect_functions.h"
#include "boolean/tolerance_functions.h"
#include "boolean/walk/bezier_intersection.h"
#include "boolean/walk/edge_crossing.h"
#include "boolean/walk/graph_containment.h"
#include "platform/core/numeric.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;

namespace {

constexpr double kRayOverhang = 10.0;

bool isHorizontal(const PBBezierCurve& ray) { return ray.endPoint1().y == ray.endPoint2().y; }

double coordinateAlong(const PBBezierCurve& ray, Point point) { return isHorizontal(ray) ? point.x : point.y; }

PBBezierContour* contourOf(const PBEdgeCrossing& crossing) {
  return crossing.edge() ? crossing.edge()->contour() : nullptr;
}

// A contour that crosses nothing lies wholly inside or wholly outside each other contour, so only contours whose
// bounds reach around its bounds can contain it; the margin keeps outlines that touch or nearly coincide.
bool mayContain(const Rect& outer, const Rect& inner) {
  constexpr double kMargin = PBRectOverlapThreshold;
  return platform::minX(outer) - kMargin <= platform::minX(inner) &&
         platform::maxX(inner) <= platform::maxX(outer) + kMargin &&
         platform::minY(outer) - kMargin <= platform::minY(inner) &&
         platform::maxY(inner) <= platform::maxY(outer) + kMargin;
}

}  // namespace

bool PBBezierGraph::containsContour(PBBezierContour& contour) {
  const Rect graphBounds = bounds();
  const Rect contourBounds = contour.bounds();
  if (!PBRectsOverlap(graphBounds, contourBounds)) return false;
  std::vector<PBBezierContour*> containers;
  for (const auto& candidate : contours_) {
    if (mayContain(candidate->bounds(), contourBounds)) containers.push_back(candidate.get());
  }
  if (containers.empty()) return false;

  const auto width = platform::saturatingTruncate<std::uint64_t>(std::ceil(contourBounds.size.width));
  const auto height = platform::saturatingTruncate<std::uint64_t>(std::ceil(contourBounds.size.height));
  const std::uint64_t size = std::max(width, height);
  if (size == 0) return false;
  // Past this many rays per direction an outline whose every ray is ambiguous is not worth more work.
  const std::uint64_t lastCount = std::min<std::uint64_t>(2 * size, PBContainmentMaximumRayCount);

  const double left = std::min(platform::minX(graphBounds), platform::minX(contourBounds)) - kRayOverhang;
  const double right = std::max(platform::maxX(graphBounds), platform::maxX(contourBounds)) + kRayOverhang;
  const double bottom = std::min(platform::minY(graphBounds), platform::minY(contourBounds)) - kRayOverhang;
  const double top = std::max(platform::maxY(graphBounds), platform::maxY(contourBounds)) + kRayOverhang;

  for (std::uint64_t count = 2; count <= lastCount; ++count) {
    bool eliminated = false;
    const double stepY = contourBounds.size.height / static_cast<double>(count);
    for (std::uint64_t k = 1; k < count; ++k) {
      // Each position computed directly, so no drift adds or drops a ray near the far edge.
      const double y = platform::minY(contourBounds) + static_cast<double>(k) * stepY;
      if (!(y < platform::maxY(contourBounds))) break;
      const auto ray = PBBezierCurve::bezierCurveWithLineStartPoint(Point{left, y}, Point{right, y});
      if (PBEliminateContainers(&containers, contour, *ray)) eliminated = true;
    }
    const double stepX = contourBounds.size.width / static_cast<double>(count);
    for (std::uint64_t k = 1; k < count; ++k) {
      const double x = platform::minX(contourBounds) + static_cast<double>(k) * stepX;
      if (!(x < platform::maxX(contourBounds))) break;
      const auto ray = PBBezierCurve::bezierCurveWithLineStartPoint(Point{x, bottom}, Point{x, top});
      if (PBEliminateContainers(&containers, contour, *ray)) eliminated = true;
    }
    if (containers.empty()) return false;
    if (eliminated) return containers.size() % 2 == 1;
  }
  return false;
}

bool PBEliminateContainers(std::vector<PBBezierContour*>* containers, PBBezierContour& contour, PBBezierCurve& ray) {
  Point minimum;
  Point maximum;
  if (!PBFindBoundsOfContour(contour, ray, &minimum, &maximum)) return false;
  PBCrossingRecords before;
  PBCrossingRecords after;
  if (!PBFindCrossingsOnContainers(*containers, ray, minimum, maximum, &before, &after)) return false;
  PBRemoveContoursThatDontContain(&before);
  PBRemoveContoursThatDontContain(&after);
  PBRemoveContourCrossingsThatDontAppearIn(&before, after);
  PBRemoveContourCrossingsThatDontAppearIn(&after, before);
  *containers = PBContoursFromCrossings(before);
  return true;
}

bool PBFindBoundsOfContour(PBBezierContour& contour, PBBezierCurve& ray, Point* minimum, Point* maximum) {
  bool found = false;
  for (const auto& edge : contour.edges()) {
    ray.intersectionsWithBezierCurve(edge.get(), nullptr,
                                     [&](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                                       const Point location = intersection->location();
                                       if (!found) {
                                         *minimum = location;
                                         *maximum = location;
                                         found = true;
                                         return;
                                       }
                                       if (coordinateAlong(ray, location) < coordinateAlong(ray, *minimum)) {
                                         *minimum = location;
                                       }
                                       if (coordinateAlong(ray, location) > coordinateAlong(ray, *maximum)) {
                                         *maximum = location;
                                       }
                                     });
  }
  return found;
}

bool PBFindCrossingsOnContainers(const std::vector<PBBezierContour*>& containers, PBBezierCurve& ray, Point minimum,
                                 Point maximum, PBCrossingRecords* before, PBCrossingRecords* after) {
  const double low = coordinateAlong(ray, minimum);
  const double high = coordinateAlong(ray, maximum);
  PBCrossingRecords ambiguous;
  bool usable = true;
  for (PBBezierContour* container : containers) {
    for (const auto& edge : container->edges()) {
      ray.intersectionsWithBezierCurve(
          edge.get(), nullptr, [&](const std::shared_ptr<PBBezierIntersection>& intersection, bool* stop) {
            if (intersection->isTangent()) return;
            if (intersection->isAtEndPointOfCurve2()) {
              usable = false;
              *stop = true;
              return;
            }
            const double value = coordinateAlong(ray, intersection->location());
            if (PBIsValueGreaterThan(value, low) && PBIsValueLessThan(value, high)) return;
            auto record = PBEdgeCrossing::crossingWithIntersection(intersection);
            record->setEdge(edge.get());
            if (minimum == maximum && intersection->location() == minimum) {
              ambiguous.push_back(record);
              return;
            }
            if (PBIsValueLessThanEqual(value, low)) before->push_back(record);
            if (PBIsValueGreaterThanEqual(value, high)) after->push_back(record);
          });
      if (!usable) return false;
    }
  }
  for (const auto& record : ambiguous) {
    PBBezierContour* owner = contourOf(*record);
    if (PBNumberOfTimesContourAppearsInCrossings(owner, *before) <
        PBNumberOfTimesContourAppearsInCrossings(owner, *after)) {
      before->push_back(record);
    } else {
      after->push_back(record);
    }
  }
  return true;
}

void PBRemoveContoursThatDontContain(PBCrossingRecords* crossings) {
  std::vector<PBBezierContour*> dropped;
  for (const auto& record : *crossings) {
    PBBezierContour* owner = contourOf(*record);
    if (PBNumberOfTimesContourAppearsInCrossings(owner, *crossings) % 2 == 0 &&
        std::find(dropped.begin(), dropped.end(), owner) == dropped.end()) {
      dropped.push_back(owner);
    }
  }
  PBRemoveCrossingsForContours(crossings, dropped);
}

void PBRemoveContourCrossingsThatDontAppearIn(PBCrossingRecords* crossings, const PBCrossingRecords& others) {
  std::vector<PBBezierContour*> dropped;
  for (PBBezierContour* owner : PBContoursFromCrossings(*crossings)) {
    if (PBNumberOfTimesContourAppearsInCrossings(owner, others) == 0) dropped.push_back(owner);
  }
  PBRemoveCrossingsForContours(crossings, dropped);
}

void PBRemoveCrossingsForContours(PBCrossingRecords* crossings, const std::vector<PBBezierContour*>& contours) {
  std::erase_if(*crossings, [&contours](const std::shared_ptr<PBEdgeCrossing>& record) {
    return std::find(contours.begin(), contours.end(), contourOf(*record)) != contours.end();
  });
}

std::vector<PBBezierContour*> PBContoursFromCrossings(const PBCrossingRecords& crossings) {
  std::vector<PBBezierContour*> contours;
  for (const auto& record : crossings) {
    PBBezierContour* owner = contourOf(*record);
    if (std::find(contours.begin(), contours.end(), owner) == contours.end()) contours.push_back(owner);
  }
  return contours;
}

std::size_t PBNumberOfTimesContourAppearsInCrossings(const PBBezierContour* contour,
                                                     const PBCrossingRecords& crossings) {
  return static_cast<std::size_t>(std::count_if(crossings.begin(), crossings.end(),
                                                [contour](const std::shared_ptr<PBEdgeCrossing>& record) {
                                                  return contourOf(*record) == contour;
                                                }));
}
