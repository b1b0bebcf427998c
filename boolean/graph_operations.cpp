// Union, intersection, difference and exclusive-or of two graphs, by the overlay; operands far apart give whole
// contours at once.

#include <cmath>
#include <initializer_list>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_graph.h"
#include "boolean/overlay/overlay.h"
#include "platform/graphics/rect_functions.h"

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
