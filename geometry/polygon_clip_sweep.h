#pragma once

// The scanbeam sweep: beams between successive vertex heights, bottom to top, with the
// active edges ordered by x. What the vertices and crossings make is up to the output.

#include "geometry/polygon_clip_counters.h"
#include "geometry/polygon_clip_edges.h"

namespace polygonclip {

class SweepOutput {
 public:
  virtual ~SweepOutput() = default;
  // Starts the walk along one beam boundary, left to right.
  virtual void beginBoundary() = 0;
  virtual void boundary(Edge& edge, int vertexClass, double yb) = 0;
  virtual void crossing(Edge& e0, Edge& e1, int vertexClass, double x, double y) = 0;
};

// Builds the tables and sweeps them, unless the result is empty without looking: both inputs
// empty, an empty subject of a difference or intersection, an empty clip of an intersection.
// Adds what it did to the installed counters.
void clipWithSweep(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                   SweepOutput& output);

// x where the edge meets height y.
double edgeXAt(const Edge& edge, double y);

}  // namespace polygonclip
