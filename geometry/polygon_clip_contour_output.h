#pragma once

// The sweep's output as contours: the boundary and crossing actions applied to the contours
// under construction.

#include "geometry/polygon_clip_boundaries.h"
#include "geometry/polygon_clip_contours.h"
#include "geometry/polygon_clip_crossings.h"

namespace polygonclip {

class ContourOutput {
 public:
  void beginBoundary() { boundaryActions_.beginBoundary(); }
  void boundary(Edge& edge, int vertexClass, double yb) { boundaryActions_.apply(edge, vertexClass, yb); }
  void crossing(Edge& e0, Edge& e1, int vertexClass, double x, double y) {
    applyContourCrossingAction(contours_, e0, e1, vertexClass, x, y);
  }
  PolygonRecord result() { return contours_.result(); }

 private:
  ContourBuilder contours_;
  ContourBoundaryActions boundaryActions_{contours_};
};

}  // namespace polygonclip
