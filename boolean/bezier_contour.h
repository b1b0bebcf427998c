#pragma once

// The part of a contour its edges rely on: the ordered list of edges it owns.

#include <memory>
#include <vector>

class PBBezierCurve;

class PBBezierContour {
 public:
  PBBezierContour() = default;
  PBBezierContour(const PBBezierContour&) = delete;
  PBBezierContour& operator=(const PBBezierContour&) = delete;

  // Takes the edge, makes the receiver its contour and numbers it.
  void addCurve(std::shared_ptr<PBBezierCurve> curve);
  const std::vector<std::shared_ptr<PBBezierCurve>>& edges() const { return edges_; }

 private:
  std::vector<std::shared_ptr<PBBezierCurve>> edges_;
};
