#pragma once

// The edges of one clipping call: every contour is cut at its local minima into bounds
// (chains of edges rising to a local maximum), listed with the distinct vertex heights
// that bound the scanbeams.

#include <cmath>
#include <vector>

#include "geometry/polygon_records.h"

namespace polygonclip {

// Index conventions shared by every table of the sweep.
constexpr int kAbove = 0, kBelow = 1;
constexpr int kClip = 0, kSubject = 1;
constexpr int kLeft = 0, kRight = 1;
constexpr int kNoOutput = -1;

enum BundleState : int { kUnbundled = 0, kBundleHead = 1, kBundleTail = 2 };

// Bundle flags [above, below] × [clip, subject] as the bits 2 × which + owner.
constexpr unsigned bundleBit(int which, int owner) { return 1u << (2 * which + owner); }
constexpr unsigned kAboveBits = 3;

struct Edge {
  PolygonVertex bottom;
  PolygonVertex top;
  double xb = 0;  // x at the bottom of the current scanbeam
  double xt = 0;  // x at its top
  double dx = 0;  // change of x per unit of y
  int owner = kClip;
  unsigned bundle = 0;                              // bundle flags, see bundleBit()
  unsigned side = 0;                                // bit `owner`: the parity left of the edge, left 0 or right 1
  BundleState state[2] = {kUnbundled, kUnbundled};  // [above, below]
  int output[2] = {kNoOutput, kNoOutput};           // [above, below]
  Edge* prev = nullptr;                             // active edge table
  Edge* next = nullptr;
  Edge* successor = nullptr;  // the next edge up the same bound
};

inline bool bundled(const Edge& edge, int which, int owner) { return (edge.bundle & bundleBit(which, owner)) != 0; }
inline bool sideOf(const Edge& edge, int owner) { return (edge.side >> owner & 1) != 0; }
inline bool hasFlagAbove(const Edge& edge) { return (edge.bundle & kAboveBits) != 0; }

// Bundle tails move with their heads and never cross anything themselves.
inline bool takesPartInCrossings(const Edge& edge) { return edge.state[kAbove] == kBundleHead || hasFlagAbove(edge); }

// x where the edge meets height y.
inline double edgeXAt(const Edge& edge, double y) {
  if (y == edge.top.y) return edge.top.x;
  const double x = edge.bottom.x + edge.dx * (y - edge.bottom.y);
  if (std::isfinite(x)) return x;
  // Over a height step too small for dx the slope is infinite: interpolate instead.
  return edge.bottom.x + (edge.top.x - edge.bottom.x) * ((y - edge.bottom.y) / (edge.top.y - edge.bottom.y));
}

struct Bound {
  double y;
  Edge* first;
};

struct SweepTables {
  std::vector<Edge> edges[2];  // one vector per input, indexed by owner
  // Sorted by lowest y, then bottom x, then dx; equal bounds in the order they were found.
  std::vector<Bound> bounds;
  // The distinct vertex heights in increasing order.
  std::vector<double> scanbeams;
};

// A contour with a vertex that is not finite or lies beyond ±1e15 counts as empty: this keeps
// NaN and overflow out of every comparison of the sweep.
bool contourIsUsable(const PolygonContour& contour);

// Builds the bounds of both inputs (subject first), skipping contours the pre-filter shows
// cannot change the result. Empty tables mean nothing contributes.
void buildSweepTables(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                      SweepTables& tables);

}  // namespace polygonclip
