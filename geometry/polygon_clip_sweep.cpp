#include "geometry/polygon_clip_sweep.h"

#include <cfloat>
#include <cmath>

#include "geometry/polygon_clip_boundaries.h"
#include "geometry/polygon_clip_crossings.h"

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

// What was above this beam is below the next: an edge ending at yt hands over to its successor.
void advanceToNextBeam(ActiveEdges& active, double yt) {
  for (Edge* edge = active.first(); edge; edge = edge->next) {
    Edge* successor = edge->successor;
    if (edge->top.y == yt && successor) {
      successor->output[kBelow] = edge->output[kAbove];
      successor->state[kBelow] = edge->state[kAbove];
      successor->bundle[kBelow][kClip] = edge->bundle[kAbove][kClip];
      successor->bundle[kBelow][kSubject] = edge->bundle[kAbove][kSubject];
      active.replace(edge, successor);
    } else {
      edge->output[kBelow] = edge->output[kAbove];
      edge->state[kBelow] = edge->state[kAbove];
      edge->bundle[kBelow][kClip] = edge->bundle[kAbove][kClip];
      edge->bundle[kBelow][kSubject] = edge->bundle[kAbove][kSubject];
      edge->xb = edge->xt;
    }
    edge->output[kAbove] = kNoOutput;
  }
}

// In increasing height, each crossing of two contributing edges gets its action, and the two
// change places.
void processCrossings(PolygonOperation operation, std::vector<Crossing>& crossings, ActiveEdges& active, double yb,
                      SweepOutput& output, PolygonClipCounters& counters) {
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

void sweep(PolygonOperation operation, SweepTables& tables, SweepOutput& output, PolygonClipCounters& counters) {
  counters.edges += static_cast<long long>(tables.edges[kClip].size() + tables.edges[kSubject].size());
  ActiveEdges active;
  BoundaryWalk walk(operation);
  CrossingFinder finder;
  std::vector<Edge*> ending;
  const std::vector<double>& beams = tables.scanbeams;
  const Bound* bound = tables.bounds.data();
  const Bound* const boundsEnd = bound + tables.bounds.size();
  for (std::size_t beam = 0; beam < beams.size(); ++beam) {
    const double yb = beams[beam];
    const bool last = beam + 1 == beams.size();
    const double yt = last ? yb : beams[beam + 1];

    if (bound != boundsEnd && bound->y == yb) {
      const Bound* begin = bound;
      while (bound != boundsEnd && bound->y == yb) ++bound;
      active.insertBounds(begin, bound);
    }

    // One walk along the boundary bundles the edges, classifies each once its bundle is
    // settled, notes those that end here and finds x at yt for the others. Only edges out of
    // order at yt can cross inside the beam.
    walk.beginBoundary();
    output.beginBoundary();
    Bundler bundler(active.first(), yb);
    double lastXt = -DBL_MAX;
    bool outOfOrder = false;
    const auto settle = [&](Edge* from, Edge* to) {
      for (Edge* edge = from; edge != to;) {
        Edge* next = edge->next;
        ++counters.activeEdges;
        const int vertexClass = walk.classify(*edge);
        if (vertexClass >= 0) {
          ++counters.boundaryClasses[vertexClass];
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
    Edge* unsettled = active.first();
    for (Edge* edge = unsettled ? unsettled->next : nullptr; edge; edge = edge->next) {
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
    advanceToNextBeam(active, yt);
  }
}

bool emptyWithoutSweep(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip) {
  const bool noSubject = subject.contours.empty();
  const bool noClip = clip.contours.empty();
  return (noSubject && noClip) ||
         (noSubject && (operation == PolygonOperation::Difference || operation == PolygonOperation::Intersection)) ||
         (noClip && operation == PolygonOperation::Intersection);
}

}  // namespace

void clipWithSweep(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                   SweepOutput& output) {
  PolygonClipCounters counters;
  counters.calls = 1;
  if (!emptyWithoutSweep(operation, subject, clip)) {
    SweepTables tables;
    buildSweepTables(operation, subject, clip, tables);
    if (!tables.bounds.empty()) sweep(operation, tables, output, counters);
  }
  if (PolygonClipCounters* installed = polygonClipCounters()) *installed += counters;
}

double edgeXAt(const Edge& edge, double y) {
  if (y == edge.top.y) return edge.top.x;
  // Over a height step too small for dx the slope is infinite: interpolate instead.
  if (std::isinf(edge.dx)) {
    return edge.bottom.x + (edge.top.x - edge.bottom.x) * ((y - edge.bottom.y) / (edge.top.y - edge.bottom.y));
  }
  return edge.bottom.x + edge.dx * (y - edge.bottom.y);
}

}  // namespace polygonclip
