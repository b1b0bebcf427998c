// Union, intersection, difference and exclusive-or of two graphs, and what
// becomes of the contours that cross nothing.

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/edge_crossing.h"
#include "boolean/tolerance_functions.h"
#include "platform/graphics/rect_functions.h"

namespace {

using ContourList = std::vector<std::shared_ptr<PBBezierContour>>;

enum class Operation { Union, Intersect, Difference };

void removeContour(ContourList& list, const PBBezierContour* contour) {
  const auto found = std::find_if(list.begin(), list.end(),
                                  [contour](const std::shared_ptr<PBBezierContour>& entry) { return entry.get() == contour; });
  if (found != list.end()) list.erase(found);
}

bool combine(Operation operation, bool ours, bool theirs) {
  switch (operation) {
    case Operation::Union: return ours || theirs;
    case Operation::Intersect: return ours && theirs;
    case Operation::Difference: return ours && !theirs;
  }
  return false;
}

// Pairs of equivalent contours (sharing a complete overlap) are settled here so that containment never sees them.
// Each graph is filled on the inner side of a filled contour and on the outer side of a hole; the result keeps
// one of the two where it is filled on one side only.
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
    const bool ourInnerSide = ourContour->inside() != PBContourInsideHole;
    const bool theirInnerSide = theirContour->inside() != PBContourInsideHole;
    const bool kept =
        combine(operation, ourInnerSide, theirInnerSide) != combine(operation, !ourInnerSide, !theirInnerSide);
    if (operation == Operation::Union) {
      // The union listed every contour already: ours keeps its place.
      removeContour(results, theirContour.get());
      if (!kept) removeContour(results, ourContour.get());
    } else if (kept) {
      results.push_back(ourContour);
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

namespace {

// Whether the other graph contains each contour that crosses nothing, asked once per contour: exclusive-or settles
// the union's and the intersection's contours with the same answers.
using ContainmentAnswers = std::unordered_map<const PBBezierContour*, bool>;

bool contains(PBBezierGraph& graph, PBBezierContour& contour, ContainmentAnswers& answers) {
  const auto [entry, fresh] = answers.try_emplace(&contour, false);
  if (fresh) entry->second = graph.containsContour(contour);
  return entry->second;
}

void addNonintersectingParts(Operation operation, PBBezierGraph& graph, PBBezierGraph& result, PBBezierGraph& other,
                             ContainmentAnswers& answers) {
  ContourList ours = graph.nonintersectingContours();
  ContourList theirs = other.nonintersectingContours();
  ContourList results;
  if (operation == Operation::Union) {
    results = ours;
    results.insert(results.end(), theirs.begin(), theirs.end());
  }
  settleEquivalentContours(operation, ours, theirs, results);
  if (operation == Operation::Union) {
    std::unordered_set<const PBBezierContour*> covered;
    for (const auto& contour : ours) {
      if (contains(other, *contour, answers)) covered.insert(contour.get());
    }
    for (const auto& contour : theirs) {
      if (contains(graph, *contour, answers)) covered.insert(contour.get());
    }
    std::erase_if(results, [&covered](const std::shared_ptr<PBBezierContour>& c) { return covered.contains(c.get()); });
  } else {
    // Intersection keeps our contours inside the other graph, difference those outside; both keep their contours
    // inside ours.
    const bool keepContained = operation == Operation::Intersect;
    for (const auto& contour : ours) {
      if (contains(other, *contour, answers) == keepContained) results.push_back(contour);
    }
    for (const auto& contour : theirs) {
      if (contains(graph, *contour, answers)) results.push_back(contour);
    }
  }
  for (auto& contour : results) result.addContour(contour);
}

}  // namespace

void PBBezierGraph::unionNonintersectingPartsIntoGraph(PBBezierGraph& result, PBBezierGraph& other) {
  ContainmentAnswers answers;
  addNonintersectingParts(Operation::Union, *this, result, other, answers);
}

void PBBezierGraph::intersectNonintersectingPartsIntoGraph(PBBezierGraph& result, PBBezierGraph& other) {
  ContainmentAnswers answers;
  addNonintersectingParts(Operation::Intersect, *this, result, other, answers);
}

void PBBezierGraph::differenceNonintersectingPartsIntoGraph(PBBezierGraph& result, PBBezierGraph& other) {
  ContainmentAnswers answers;
  addNonintersectingParts(Operation::Difference, *this, result, other, answers);
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

// Every edge lies within its graph's bounds, and the curve intersection rejects edges whose bounds are further
// apart than PBRectOverlapThreshold, as containment rejects a contour whose bounds miss the graph's. Twice that
// gap leaves room for the rounding of the bounds' unions: then nothing meets, no contour contains one of the
// other graph, and each operation's result is a choice of whole operand contours. NaN bounds are never apart.
bool boundsApart(PBBezierGraph& graph, PBBezierGraph& other) {
  const platform::Rect a = graph.bounds();
  const platform::Rect b = other.bounds();
  for (const platform::Rect& rect : {a, b}) {
    if (std::isnan(rect.origin.x) || std::isnan(rect.origin.y) || std::isnan(rect.size.width) ||
        std::isnan(rect.size.height)) {
      return false;
    }
  }
  constexpr double kGap = 2 * PBRectOverlapThreshold;
  return std::max(platform::minX(a), platform::minX(b)) - std::min(platform::maxX(a), platform::maxX(b)) > kGap ||
         std::max(platform::minY(a), platform::minY(b)) - std::min(platform::maxY(a), platform::maxY(b)) > kGap;
}

void addContours(PBBezierGraph& result, const PBBezierGraph& graph) {
  for (const auto& contour : graph.contours()) result.addContour(contour);
}

bool hasOverlapsOrSelfCrossings(const PBBezierGraph& graph) {
  for (const auto& contour : graph.contours()) {
    if (!contour->overlaps().empty()) return true;
    for (const auto& edge : contour->edges()) {
      for (const auto& crossing : edge->crossings_()) {
        if (crossing->isSelfCrossing()) return true;
      }
    }
  }
  return false;
}

}  // namespace

std::shared_ptr<PBBezierGraph> PBBezierGraph::unionWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) {
    auto result = makeResultGraph();
    addContours(*result, *this);
    addContours(*result, graph);
    return result;
  }
  prepareOperationWithBezierGraph(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, false);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, false);
  auto result = bezierGraphFromIntersections();
  unionNonintersectingPartsIntoGraph(*result, graph);
  finishOperation(*this, graph);
  return result;
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::intersectWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) return makeResultGraph();
  prepareOperationWithBezierGraph(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, true);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, true);
  auto result = bezierGraphFromIntersections();
  intersectNonintersectingPartsIntoGraph(*result, graph);
  finishOperation(*this, graph);
  return result;
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::differenceWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) {
    auto result = makeResultGraph();
    addContours(*result, *this);
    return result;
  }
  prepareOperationWithBezierGraph(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, false);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, true);
  auto result = bezierGraphFromIntersections();
  differenceNonintersectingPartsIntoGraph(*result, graph);
  finishOperation(*this, graph);
  return result;
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::xorWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) return unionWithBezierGraph(graph);
  prepareOperationWithBezierGraph(graph);
  // Without shared stretches or crossing contours inside an operand, every point of the union's outline lies
  // outside the intersection and every point of the intersection's outline inside the union, touching it only
  // where the operands' outlines cross: their difference is simply both sets of contours, which is what the full
  // difference run finds whenever its containment rays can decide.
  const bool simple = !hasOverlapsOrSelfCrossings(*this) && !hasOverlapsOrSelfCrossings(graph);
  markCrossingsAsEntryOrExitWithBezierGraph(graph, false);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, false);
  auto unionGraph = bezierGraphFromIntersections();
  ContainmentAnswers answers;
  addNonintersectingParts(Operation::Union, *this, *unionGraph, graph, answers);
  restoreOverlapCrossings();
  markAllCrossingsAsUnprocessed();
  graph.markAllCrossingsAsUnprocessed();
  markCrossingsAsEntryOrExitWithBezierGraph(graph, true);
  graph.markCrossingsAsEntryOrExitWithBezierGraph(*this, true);
  auto intersectGraph = bezierGraphFromIntersections();
  addNonintersectingParts(Operation::Intersect, *this, *intersectGraph, graph, answers);
  finishOperation(*this, graph);
  if (!simple) return unionGraph->differenceWithBezierGraph(*intersectGraph);
  addContours(*unionGraph, *intersectGraph);
  return unionGraph;
}
