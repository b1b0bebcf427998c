#include "geometry/polygon_clip_sweep.h"

#include <array>
#include <cfloat>
#include <cmath>

#include "geometry/polygon_clip_boundaries.h"
#include "geometry/polygon_clip_contour_output.h"
#include "geometry/polygon_clip_crossings.h"
#include "geometry/polygon_clip_strips.h"

namespace polygonclip {
namespace {

// Before `edge` comes every active edge that is not greater by (x at the bottom, dx).
bool goesBefore(const Edge& edge, const Edge& active) {
  return edge.xb < active.xb || (edge.xb == active.xb && edge.dx < active.dx);
}

class ActiveEdges {
 public:
  Edge* first() const { return first_; }
  Edge*& head() { return first_; }

  // The bounds come sorted by (x, dx), so each insertion can go on from the one before:
  // every edge the previous bound passed, this one passes too.
  void insertBounds(const Bound* begin, const Bound* end) {
    Edge* prev = nullptr;
    Edge* at = first_;
    for (const Bound* bound = begin; bound != end; ++bound) {
      Edge* edge = bound->first;
      while (at && !goesBefore(*edge, *at)) {
        prev = at;
        at = at->next;
      }
      link(edge, prev, at);
      prev = edge;
    }
  }

  void remove(Edge* edge) {
    if (edge->prev) {
      edge->prev->next = edge->next;
    } else {
      first_ = edge->next;
    }
    if (edge->next) edge->next->prev = edge->prev;
  }

  void replace(Edge* edge, Edge* by) { link(by, edge->prev, edge->next); }

 private:
  void link(Edge* edge, Edge* prev, Edge* next) {
    edge->prev = prev;
    edge->next = next;
    if (prev) {
      prev->next = edge;
    } else {
      first_ = edge;
    }
    if (next) next->prev = edge;
  }

  Edge* first_ = nullptr;
};

// Edges ending at yb leave; a bundle head leaving below hands its output to the tail before it.
void removeEdge(ActiveEdges& active, Edge* edge) {
  Edge* prev = edge->prev;
  active.remove(edge);
  if (edge->state[kBelow] == kBundleHead && prev && prev->state[kBelow] == kBundleTail) {
    prev->output[kBelow] = edge->output[kBelow];
    prev->state[kBelow] = kUnbundled;
    if (prev->prev && prev->prev->state[kBelow] == kBundleTail) prev->state[kBelow] = kBundleHead;
  }
}

// What was above the last beam is below this one: an edge that ended at yb hands over to its
// successor, which takes its place in the table and is returned.
Edge* advanceToThisBeam(ActiveEdges& active, Edge* edge, double yb) {
  Edge* successor = edge->successor;
  Edge* next = edge;
  if (edge->top.y == yb && successor) {
    successor->output[kBelow] = edge->output[kAbove];
    successor->state[kBelow] = edge->state[kAbove];
    successor->bundle = (edge->bundle & kAboveBits) << 2;
    active.replace(edge, successor);
    next = successor;
  } else {
    edge->output[kBelow] = edge->output[kAbove];
    edge->state[kBelow] = edge->state[kAbove];
    edge->bundle = (edge->bundle & kAboveBits) | (edge->bundle & kAboveBits) << 2;
    edge->xb = edge->xt;
  }
  edge->output[kAbove] = kNoOutput;
  return next;
}

// In increasing height, each crossing of two contributing edges gets its action, and the two
// change places.
template <class Output>
void processCrossings(PolygonOperation operation, std::vector<Crossing>& crossings, ActiveEdges& active, double yb,
                      Output& output, PolygonClipCounters& counters) {
  for (std::size_t at = 0; at < crossings.size(); ++at) {
    bringNeighboursForward(crossings, at);
    const Crossing& crossing = crossings[at];
    Edge& e0 = *crossing.e0;
    Edge& e1 = *crossing.e1;
    if (hasFlagAbove(e0) && hasFlagAbove(e1)) {
      const int vertexClass = crossingClass(operation, e0, e1);
      ++counters.crossingClasses[vertexClass];
      output.crossing(e0, e1, vertexClass, crossing.x, yb + crossing.y);
    }
    swapCrossingEdges(active.head(), e0, e1);
  }
}

template <class Output>
void sweep(PolygonOperation operation, SweepTables& tables, Output& output, PolygonClipCounters& counters) {
  counters.edges += static_cast<long long>(tables.edges[kClip].size() + tables.edges[kSubject].size());
  ActiveEdges active;
  BoundaryWalk walk(operation);
  CrossingFinder finder;
  std::vector<Edge*> ending;
  // Counted in locals, which the compiler keeps apart from the edges' memory.
  long long activeEdges = 0;
  std::array<long long, 16> boundaryClasses{};
  const std::vector<double>& beams = tables.scanbeams;
  const Bound* bound = tables.bounds.data();
  const Bound* const boundsEnd = bound + tables.bounds.size();
  for (std::size_t beam = 0; beam < beams.size(); ++beam) {
    const double yb = beams[beam];
    const bool last = beam + 1 == beams.size();
    const double yt = last ? yb : beams[beam + 1];

    // The table moves on from the last beam edge by edge during the walk, unless new bounds
    // need every edge's x at yb first.
    bool advancing = beam > 0;
    if (bound != boundsEnd && bound->y == yb) {
      if (advancing) {
        for (Edge* edge = active.first(); edge; edge = edge->next) edge = advanceToThisBeam(active, edge, yb);
        advancing = false;
      }
      const Bound* begin = bound;
      while (bound != boundsEnd && bound->y == yb) ++bound;
      active.insertBounds(begin, bound);
    }

    // One walk along the boundary bundles the edges, classifies each once its bundle is
    // settled, notes those that end here and finds x at yt for the others. Only edges out of
    // order at yt can cross inside the beam.
    walk.beginBoundary();
    output.beginBoundary();
    Edge* unsettled = active.first();
    if (advancing && unsettled) unsettled = advanceToThisBeam(active, unsettled, yb);
    Bundler bundler(unsettled, yb);
    double lastXt = -DBL_MAX;
    bool outOfOrder = false;
    const auto settle = [&](Edge* from, Edge* to) {
      for (Edge* edge = from; edge != to;) {
        Edge* next = edge->next;
        ++activeEdges;
        const int vertexClass = walk.classify(*edge);
        if (vertexClass >= 0) {
          ++boundaryClasses[vertexClass];
          output.boundary(*edge, vertexClass, yb);
        }
        if (edge->top.y == yb) {
          ending.push_back(edge);
        } else if (!last) {
          edge->xt = edgeXAt(*edge, yt);
          if (takesPartInCrossings(*edge)) {
            outOfOrder = outOfOrder || edge->xt < lastXt;
            lastXt = edge->xt;
          }
        }
        edge = next;
      }
    };
    for (Edge* edge = unsettled ? unsettled->next : nullptr; edge; edge = edge->next) {
      if (advancing) edge = advanceToThisBeam(active, edge, yb);
      if (!bundler.offer(*edge)) continue;
      settle(unsettled, edge);
      unsettled = edge;
    }
    settle(unsettled, nullptr);
    // Removed only now: a bundle head handing its output to the tail before it must not change
    // what the walk saw.
    for (Edge* edge : ending) removeEdge(active, edge);
    ending.clear();
    if (last) break;
    if (outOfOrder) {
      std::vector<Crossing>& crossings = finder.find(active.first(), yb, yt);
      counters.crossings += static_cast<long long>(crossings.size());
      processCrossings(operation, crossings, active, yb, output, counters);
    }
  }
  counters.activeEdges += activeEdges;
  for (std::size_t c = 0; c < boundaryClasses.size(); ++c) counters.boundaryClasses[c] += boundaryClasses[c];
}

bool emptyWithoutSweep(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip) {
  const bool noSubject = subject.contours.empty();
  const bool noClip = clip.contours.empty();
  return (noSubject && noClip) ||
         (noSubject && (operation == PolygonOperation::Difference || operation == PolygonOperation::Intersection)) ||
         (noClip && operation == PolygonOperation::Intersection);
}

}  // namespace

template <class Output>
void clipWithSweep(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                   Output& output) {
  PolygonClipCounters counters;
  counters.calls = 1;
  if (!emptyWithoutSweep(operation, subject, clip)) {
    SweepTables tables;
    buildSweepTables(operation, subject, clip, tables);
    if (!tables.bounds.empty()) sweep(operation, tables, output, counters);
  }
  if (PolygonClipCounters* installed = polygonClipCounters()) *installed += counters;
}

template void clipWithSweep(PolygonOperation, const PolygonRecord&, const PolygonRecord&, ContourOutput&);
template void clipWithSweep(PolygonOperation, const PolygonRecord&, const PolygonRecord&, StripOutput&);

}  // namespace polygonclip
