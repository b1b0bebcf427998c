#pragma once

// What happens at a scanbeam boundary: coincident edges are bundled, and each vertex on
// the boundary is classified by which of its four quadrants lie inside the result,
// tracking per input the parity left of the walk and whether a horizontal run of that
// input is open at the bottom or the top.

#include <cfloat>
#include <cmath>

#include "geometry/polygon_clip_contours.h"
#include "geometry/polygon_clip_edges.h"

namespace polygonclip {

// Inside the result from the parities [clip, subject] of the inputs.
bool combine(PolygonOperation operation, bool clip, bool subject);

// Bundles the active edges at the start of a beam (at yb), walking left to right: every edge
// gets its own flag above when it goes on beyond yb, and an edge whose x at yb and dx agree
// within DBL_EPSILON with those of the last edge with its flag set joins it in a bundle: the
// rightmost of a bundle is its head and carries the flags, the others become tails.
class Bundler {
 public:
  Bundler(Edge* first, double yb) : e0_(first), yb_(yb) {
    if (first) resetAbove(*first);
  }

  // Takes the next edge. True when that settles every edge before it.
  bool offer(Edge& edge) {
    resetAbove(edge);
    if (!hasFlagAbove(edge)) return false;
    Edge& e0 = *e0_;
    if (std::fabs(e0.xb - edge.xb) <= DBL_EPSILON && std::fabs(e0.dx - edge.dx) <= DBL_EPSILON && e0.top.y != yb_) {
      // The head's own flag is its own XOR the tail's; the other owner's flag is the tail's.
      const unsigned own = bundleBit(kAbove, edge.owner);
      edge.bundle = (edge.bundle & ~kAboveBits) | ((edge.bundle ^ e0.bundle) & own) | (e0.bundle & kAboveBits & ~own);
      edge.state[kAbove] = kBundleHead;
      e0.bundle &= ~kAboveBits;
      e0.state[kAbove] = kBundleTail;
    }
    e0_ = &edge;
    return true;
  }

 private:
  void resetAbove(Edge& edge) const {
    edge.bundle = (edge.bundle & ~kAboveBits) | (edge.top.y != yb_ ? bundleBit(kAbove, edge.owner) : 0);
    edge.state[kAbove] = kUnbundled;
  }

  Edge* e0_;  // the last edge with its flag set, at first the table's first edge
  double yb_;
};

// The walk along one boundary: per input the parity left of the walk and whether a
// horizontal run of that input is open at the bottom or the top. Every step is looked up in a
// table built once per call from the rules in the source file.
class BoundaryWalk {
 public:
  // Parities start even, except that a difference inverts the clip polygon.
  explicit BoundaryWalk(PolygonOperation operation);
  // No horizontal run is open at the start of a boundary; the parities carry on.
  void beginBoundary() { state_ &= kParityBits; }

  // Records the parities as the edge's sides, steps past the edge and returns its class
  // tr + 2·tl + 4·br + 8·bl, or -1 when the edge has no bundle flags or does not contribute.
  int classify(Edge& edge) {
    const unsigned flags = edge.bundle;
    if (flags == 0) return -1;
    edge.side = state_ & kParityBits;
    const Step step = steps_[flags << 6 | state_];
    state_ = step.next;
    return step.vertexClass;
  }

 private:
  // A walk state: parity of clip (bit 0) and subject (bit 1), horizontal state of clip
  // (bits 2–3) and subject (bits 4–5).
  static constexpr unsigned kParityBits = 3;
  struct Step {
    signed char vertexClass;
    unsigned char next;
  };

  Step steps_[16 << 6];  // by the edge's bundle flags and the state
  unsigned state_;
};

// Vertex classes (tr + 2·tl + 4·br + 8·bl) with their own action.
constexpr int kExternalMaximum = 1, kExternalLeft = 2, kExternalRight = 4, kRightEdge = 5,
              kInternalMaximumAndMinimum = 6, kInternalMinimum = 7, kExternalMinimum = 8,
              kExternalMaximumAndMinimum = 9, kLeftEdge = 10, kInternalLeft = 11, kInternalRight = 13,
              kInternalMaximum = 14;

// The walk along one boundary when the output is contours.
class ContourBoundaryActions {
 public:
  explicit ContourBoundaryActions(ContourBuilder& contours) : contours_(contours) {}
  void beginBoundary();
  void apply(Edge& edge, int vertexClass, double yb);

 private:
  // Adds a vertex only where x moved on since the last one added.
  bool newX(double x);

  ContourBuilder& contours_;
  double px_ = 0;            // x of the last vertex added on this boundary
  int carried_ = kNoOutput;  // the contour carried along the walk
};

}  // namespace polygonclip
