#pragma once

// The output contours of a clipping call. Each contour is a chain of vertices grown at
// either end; joining two contours hands one chain to the other, and the contour that
// gave its chain away answers through its proxy (the contour that now owns the chain).
// Contours are numbered in the order they were opened; kNoOutput stands for none, and
// every operation on none does nothing.

#include <vector>

#include "geometry/polygon_records.h"

namespace polygonclip {

class ContourBuilder {
 public:
  // A new contour of one vertex, not a hole.
  int open(double x, double y);
  void addLeft(int contour, double x, double y);
  void addRight(int contour, double x, double y);
  // Puts p's chain before q's left end; q's owner becomes a hole.
  void joinLeft(int p, int q);
  // Puts p's chain after q's right end; q's owner becomes an outer contour.
  void joinRight(int p, int q);
  // The contours that still own a chain of at least 3 vertices, most recently opened first,
  // each with its owner's hole flag and its chain reversed.
  PolygonRecord result();

 private:
  struct Contour {
    int proxy;
    bool hole;
    int left;  // vertex indices of the chain's ends
    int right;
  };
  struct Vertex {
    double x, y;
    int next;
  };

  int owner(int contour);
  int newVertex(double x, double y, int next);

  std::vector<Contour> contours_;
  std::vector<Vertex> vertices_;
};

}  // namespace polygonclip
