// Union, intersection, difference and exclusive-or of two graphs, and what
// becomes of the contours that cross nothing.

#include <algorithm>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_graph.h"

namespace {

using ContourList = std::vector<std::shared_ptr<PBBezierContour>>;

enum class Operation { Union, Intersect, Difference };

void removeContour(ContourList& list, const PBBezierContour* contour) {
  const auto found = std::find_if(list.begin(), list.end(),
                                  [contour](const std::shared_ptr<PBBezierContour>& entry) { return entry.get() == contour; });
  if (found != list.end()) list.erase(found);
}

// Pairs of equivalent contours (sharing a complete overlap) are settled here so that containment never sees them.
void settleEquivalentContours(Operation operation, ContourList& ours, ContourList& theirs, ContourList& results) {
  for (std::size_t i = 0; i < ours.size();) {
    const std::shared_ptr<PBBezierContour> ourContour = ours[i];
    const auto partnerAt = std::find_if(theirs.begin(), theirs.end(), [&](const std::shared_ptr<PBBezierContour>& c) {
      return ourContour->isEquivalent(c.get());
    });
    if (partnerAt == theirs.end()) {
      ++i;
      continue;
    }
    const std::shared_ptr<PBBezierContour> theirContour = *partnerAt;
    theirs.erase(partnerAt);
    ours.erase(ours.begin() + static_cast<std::ptrdiff_t>(i));
    const bool sameInside = ourContour->inside() == theirContour->inside();
    switch (operation) {
      case Operation::Union:
        removeContour(results, theirContour.get());
        if (!sameInside) removeContour(results, ourContour.get());
        break;
      case Operation::Intersect:
        if (sameInside) {
          results.push_back(ourContour);
        } else {
          results.push_back(ourContour->inside() == PBContourInsideHole ? ourContour : theirContour);
        }
        break;
      case Operation::Difference:
        if (!sameInside || ourContour->inside() == PBContourInsideHole) results.push_back(ourContour);
        break;
    }
  }
}

}  // namespace

std::vector<std::shared_ptr<PBBezierContour>> PBBezierGraph::nonintersectingContours() const {
  ContourList contours;
  for (const auto& contour : contours_) {
    if (contour->intersectingContours().empty()) contours.push_back(contour);
  }
  return contours;
}

void PBBezierGraph::unionNonintersectingPartsIntoGraph(PBBezierGraph& result, PBBezierGraph& other) {
  ContourList ours = nonintersectingContours();
  ContourList theirs = other.nonintersectingContours();
  ContourList results = ours;
  results.insert(results.end(), theirs.begin(), theirs.end());
  settleEquivalentContours(Operation::Union, ours, theirs, results);
  for (const auto& contour : ours) {
    if (other.containsContour(*contour)) removeContour(results, contour.get());
  }
  for (const auto& contour : theirs) {
    if (containsContour(*contour)) removeContour(results, contour.get());
  }
  for (auto& contour : results) result.addContour(contour);
}

void PBBezierGraph::intersectNonintersectingPartsIntoGraph(PBBezierGraph& result, PBBezierGraph& other) {
  ContourList ours = nonintersectingContours();
  ContourList theirs = other.nonintersectingContours();
  ContourList results;
  settleEquivalentContours(Operation::Intersect, ours, theirs, results);
  for (const auto& contour : ours) {
    if (other.containsContour(*contour)) results.push_back(contour);
  }
  for (const auto& contour : theirs) {
    if (containsContour(*contour)) results.push_back(contour);
  }
  for (auto& contour : results) result.addContour(contour);
}

void PBBezierGraph::differenceNonintersectingPartsIntoGraph(PBBezierGraph& result, PBBezierGraph& other) {
  ContourList ours = nonintersectingContours();
  ContourList theirs = other.nonintersectingContours();
  ContourList results;
  settleEquivalentContours(Operation::Difference, ours, theirs, results);
  for (const auto& contour : ours) {
    if (!other.containsContour(*contour)) results.push_back(contour);
  }
  for (const auto& contour : theirs) {
    if (containsContour(*contour)) results.push_back(contour);
  }
  for (auto& contour : results) result.addContour(contour);
}

void PBBezierGraph::prepareOperationWithBezierGraph(PBBezierGraph& other) {
  insertCrossingsWithBezierGraph(other);
  insertSelfCrossings();
  other.insertSelfCrossings();
  cleanupCrossingsWithBezierGraph(other);
}

namespace {

// Leaves both operands as they were before the operation's crossings and overlaps.
void finishOperation(PBBezierGraph& graph, PBBezierGraph& other) {
  graph.removeCrossings();
  other.removeCrossings();
  graph.removeOverlaps();
  other.removeOverlaps();
}

}  // namespace

std::shared_ptr<PBBezierGraph> PBBezierGraph::unionWithBezierGraph(PBBezierGraph& graph) {
  prepareOperationWithBezierGraph(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, false);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, false);
  auto result = bezierGraphFromIntersections();
  unionNonintersectingPartsIntoGraph(*result, graph);
  finishOperation(*this, graph);
  return result;
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::intersectWithBezierGraph(PBBezierGraph& graph) {
  prepareOperationWithBezierGraph(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, true);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, true);
  auto result = bezierGraphFromIntersections();
  intersectNonintersectingPartsIntoGraph(*result, graph);
  finishOperation(*this, graph);
  return result;
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::differenceWithBezierGraph(PBBezierGraph& graph) {
  prepareOperationWithBezierGraph(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, false);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, true);
  auto result = bezierGraphFromIntersections();
  differenceNonintersectingPartsIntoGraph(*result, graph);
  finishOperation(*this, graph);
  return result;
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::xorWithBezierGraph(PBBezierGraph& graph) {
  prepareOperationWithBezierGraph(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, false);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, false);
  auto unionGraph = bezierGraphFromIntersections();
  unionNonintersectingPartsIntoGraph(*unionGraph, graph);
  markAllCrossingsAsUnprocessed();
  graph.markAllCrossingsAsUnprocessed();
  markCrossingsAsEntryOrExitWithBezierGraph(graph, true);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, true);
  auto intersectGraph = bezierGraphFromIntersections();
  intersectNonintersectingPartsIntoGraph(*intersectGraph, graph);
  finishOperation(*this, graph);
  return unionGraph->differenceWithBezierGraph(*intersectGraph);
}
