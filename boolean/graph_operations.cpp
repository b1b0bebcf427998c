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
#include "boolean/overlay.h"
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

namespace {

// Operands whose bounds lie further apart than the overlay's tolerance (twice, for the rounding of the bounds)
// meet nowhere, and each operation's result is a choice of whole operand contours. NaN bounds are never apart.
bool boundsApart(PBBezierGraph& graph, PBBezierGraph& other) {
  const platform::Rect a = graph.bounds();
  const platform::Rect b = other.bounds();
  for (const platform::Rect& rect : {a, b}) {
    if (std::isnan(rect.origin.x) || std::isnan(rect.origin.y) || std::isnan(rect.size.width) ||
        std::isnan(rect.size.height)) {
      return false;
    }
  }
  const double gap = 2 * PBOverlay::toleranceWithin(platform::unionRect(a, b));
  return std::max(platform::minX(a), platform::minX(b)) - std::min(platform::maxX(a), platform::maxX(b)) > gap ||
         std::max(platform::minY(a), platform::minY(b)) - std::min(platform::maxY(a), platform::maxY(b)) > gap;
}

void addContours(PBBezierGraph& result, const PBBezierGraph& graph) {
  for (const auto& contour : graph.contours()) result.addContour(contour);
}

std::shared_ptr<PBBezierGraph> overlaid(std::shared_ptr<PBBezierGraph> result, const PBBezierGraph& graph,
                                        const PBBezierGraph& other, PBOverlay::Operation operation) {
  for (auto& contour : PBOverlay(graph, other).contours(operation)) result->addContour(std::move(contour));
  return result;
}

}  // namespace

std::shared_ptr<PBBezierGraph> PBBezierGraph::unionWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) {
    auto result = makeResultGraph();
    addContours(*result, *this);
    addContours(*result, graph);
    return result;
  }
  return overlaid(makeResultGraph(), *this, graph, PBOverlay::Operation::Union);
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::intersectWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) return makeResultGraph();
  return overlaid(makeResultGraph(), *this, graph, PBOverlay::Operation::Intersect);
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::differenceWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) {
    auto result = makeResultGraph();
    addContours(*result, *this);
    return result;
  }
  return overlaid(makeResultGraph(), *this, graph, PBOverlay::Operation::Difference);
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::xorWithBezierGraph(PBBezierGraph& graph) {
  if (boundsApart(*this, graph)) return unionWithBezierGraph(graph);
  return overlaid(makeResultGraph(), *this, graph, PBOverlay::Operation::Xor);
}
