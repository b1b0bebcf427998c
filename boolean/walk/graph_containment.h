#pragma once

// The ray bookkeeping behind PBBezierGraph::containsContour. Crossing records
// are PBEdgeCrossing objects naming the container edge a ray met; they are
// never put on the edge's own crossing list.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/geometry.h"

class PBBezierContour;
class PBBezierCurve;
class PBEdgeCrossing;

using PBCrossingRecords = std::vector<std::shared_ptr<PBEdgeCrossing>>;

// The most rays per direction one containment test casts.
constexpr std::uint64_t PBContainmentMaximumRayCount = 64;

// Narrows the containers with one ray; false (containers unchanged) when the ray misses the contour or
// is ambiguous.
bool PBEliminateContainers(std::vector<PBBezierContour*>* containers, PBBezierContour& contour, PBBezierCurve& ray);
// Where the ray first and last meets the contour (by x on a horizontal ray, else by y).
bool PBFindBoundsOfContour(PBBezierContour& contour, PBBezierCurve& ray, platform::Point* minimum,
                           platform::Point* maximum);
// Records each container crossing before the span and after it; false when a hit lands on an edge end.
bool PBFindCrossingsOnContainers(const std::vector<PBBezierContour*>& containers, PBBezierCurve& ray,
                                 platform::Point minimum, platform::Point maximum, PBCrossingRecords* before,
                                 PBCrossingRecords* after);
// Drops the records of every contour crossed an even number of times.
void PBRemoveContoursThatDontContain(PBCrossingRecords* crossings);
void PBRemoveContourCrossingsThatDontAppearIn(PBCrossingRecords* crossings, const PBCrossingRecords& others);
void PBRemoveCrossingsForContours(PBCrossingRecords* crossings, const std::vector<PBBezierContour*>& contours);
// Distinct contours in the order of first appearance.
std::vector<PBBezierContour*> PBContoursFromCrossings(const PBCrossingRecords& crossings);
std::size_t PBNumberOfTimesContourAppearsInCrossings(const PBBezierContour* contour,
                                                     const PBCrossingRecords& crossings);
