#pragma once

// Edge crossings inside one scanbeam: found by sorting the active edges by their x at
// the beam's top, classified like boundary vertices, and acted on in increasing height.

#include <vector>

#include "geometry/polygon_clip_contours.h"
#include "geometry/polygon_clip_edges.h"

namespace polygonclip {

struct Crossing {
  Edge* e0;  // left of e1 at the beam's bottom
  Edge* e1;
  double x;
  double y;  // above the beam's bottom
};

class CrossingFinder {
 public:
  // The crossings of the active edges that are bundle heads or carry a flag above, between
  // yb and yt, ordered by height (equal heights in the order found).
  std::vector<Crossing>& find(Edge* activeEdges, double yb, double yt);

 private:
  struct SortedEdge {
    Edge* edge;
    int older;  // index of the next entry towards the left, -1 at the end
  };
  void insert(Edge* edge, double dy);

  std::vector<SortedEdge> sorted_;
  int newest_ = -1;
  std::vector<Crossing> crossings_;
};

// Each crossing swaps two neighbours in the active edge table. Where rounding has put
// the crossings of edges through one point out of that order, brings forward the first later
// crossing of neighbours (one always exists: the crossings are exactly the pairs out of order).
void bringNeighboursForward(std::vector<Crossing>& crossings, std::size_t at);

// tr + 2·tl + 4·br + 8·bl of the crossing, from the edges' flags above and sides.
int crossingClass(PolygonOperation operation, const Edge& e0, const Edge& e1);

// After a crossing: the sides flip for the owners the other edge carries, and e0's bundle
// (e0 with its tails) moves right past e1.
void swapCrossingEdges(Edge*& activeEdges, Edge& e0, Edge& e1);

// Crossing actions when the output is contours.
void applyContourCrossingAction(ContourBuilder& contours, Edge& e0, Edge& e1, int vertexClass, double x, double y);

}  // namespace polygonclip
