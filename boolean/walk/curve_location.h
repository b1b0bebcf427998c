#pragma once

// Where a point lies closest on a graph: the edge, the parameter on it and the
// distance. Made by the closest-location queries of contours and graphs, which
// fill in the contour and graph they answer for.
//
// The edge is shared with its contour; the contour and graph are not owned and
// stay valid while the graph that answered lives.

#include <memory>
#include <utility>

class PBBezierCurve;
class PBBezierContour;
class PBBezierGraph;

class PBCurveLocation {
 public:
  static std::shared_ptr<PBCurveLocation> curveLocationWithEdge(std::shared_ptr<PBBezierCurve> edge, double parameter,
                                                                double distance) {
    return std::make_shared<PBCurveLocation>(std::move(edge), parameter, distance);
  }

  PBCurveLocation(std::shared_ptr<PBBezierCurve> edge, double parameter, double distance)
      : edge_(std::move(edge)), parameter_(parameter), distance_(distance) {}

  const std::shared_ptr<PBBezierCurve>& edge() const noexcept { return edge_; }
  double parameter() const noexcept { return parameter_; }
  double distance() const noexcept { return distance_; }

  PBBezierContour* contour() const noexcept { return contour_; }
  void setContour(PBBezierContour* contour) noexcept { contour_ = contour; }
  PBBezierGraph* graph() const noexcept { return graph_; }
  void setGraph(PBBezierGraph* graph) noexcept { graph_ = graph; }

 private:
  std::shared_ptr<PBBezierCurve> edge_;
  double parameter_;
  double distance_;
  PBBezierContour* contour_ = nullptr;
  PBBezierGraph* graph_ = nullptr;
};
