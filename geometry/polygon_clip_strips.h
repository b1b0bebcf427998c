#pragma once

// Triangle strips as the output of a clipping call: each strip grows a left and a right
// chain upwards, and its vertices alternate between them.

#include <vector>

#include "geometry/polygon_clip_edges.h"

namespace polygonclip {

class StripBuilder {
 public:
  // A new strip, appended to the list, with the vertex on its left chain.
  int open(double x, double y);
  // Appends to the strip's left or right chain; nothing for kNoOutput.
  void add(int strip, int side, double x, double y);
  // Strips of at least 3 vertices in the order they were opened, left chain first.
  TristripRecord result() const;

 private:
  struct Strip {
    int count = 0;
    int head[2] = {-1, -1};
    int tail[2] = {-1, -1};
  };
  struct Vertex {
    double x, y;
    int next;
  };

  std::vector<Strip> strips_;
  std::vector<Vertex> vertices_;
};

// The sweep's output as triangle strips.
class StripOutput {
 public:
  void beginBoundary();
  void boundary(Edge& edge, int vertexClass, double yb);
  void crossing(Edge& e0, Edge& e1, int vertexClass, double x, double y);
  TristripRecord result() const { return strips_.result(); }

 private:
  void newStrip(Edge& edge, double x, double y) { edge.output[kAbove] = strips_.open(x, y); }
  void add(const Edge* edge, int which, int side, double x, double y);
  // After a left edge, the carried edge's strip ends at this boundary and a new one starts there.
  void restartCarriedStrip(double yb);
  // An internal minimum at a crossing: the strip between the nearest outputs on either side
  // is split into one left of the crossing and one right of it.
  void openStripsAtCrossing(Edge& e0, Edge& e1, double x, double y);

  StripBuilder strips_;
  Edge* carried_ = nullptr;  // the contributing edge carried along the boundary walk
  int lastLeftClass_ = 0;    // class of the last left edge or internal left vertex (10, 11 or 14)
};

}  // namespace polygonclip
