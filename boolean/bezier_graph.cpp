// Reading a path into a graph, the graph's bounds, path and queries.

#include "boolean/bezier_graph.h"

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/contour_reading.h"
#include "boolean/list_description.h"
#include "boolean/path_elements.h"
#include "boolean/tolerance_functions.h"
#include "boolean/walk/curve_location.h"
#include "platform/core/string_utilities.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;

namespace {

struct GraphSink {
  PBBezierGraph& graph;
  PBBezierContour* contour = nullptr;
  void begin() {
    auto fresh = std::make_shared<PBBezierContour>();
    contour = fresh.get();
    graph.addContour(std::move(fresh));
  }
  void edge(const PBBezierCurveData& data) { contour->addCurve(std::make_shared<PBBezierCurve>(data)); }
  bool hasEdges() const { return !contour->edges().empty(); }
  Point firstPoint() const { return contour->edges().front()->endPoint1(); }
  void close() { contour->close(); }
};

// The graph's own path of what it would read, written as it is read.
struct PathSink {
  platform::BezierPath& path;
  bool started = false;
  Point first{}, last{};
  void begin() { finish(); }
  void edge(const PBBezierCurveData& data) {
    if (!started) path.moveTo(first = data.endPoint1);
    started = true;
    if (data.isStraightLine) {
      path.lineTo(data.endPoint2);
    } else {
      path.curveTo(data.endPoint2, data.controlPoint1, data.controlPoint2);
    }
    last = data.endPoint2;
  }
  bool hasEdges() const { return started; }
  Point firstPoint() const { return first; }
  void close() {
    if (started && !PBArePointsClose(first, last)) path.lineTo(first);
  }
  void finish() {
    if (started) path.closePath();
    started = false;
  }
};

}  // namespace

PBBezierGraph::PBBezierGraph(const platform::BezierPath& path) {
  GraphSink sink{*this};
  PBReadContours(path, sink);
}

platform::BezierPath PBBezierGraph::bezierPathOfContours(const platform::BezierPath& path) {
  platform::BezierPath result;
  result.setWindingRule(platform::WindingRule::EvenOdd);
  PathSink sink{result};
  PBReadContours(path, sink);
  sink.finish();
  return result;
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::bezierGraphWithBezierPath(const platform::BezierPath& path) {
  return std::make_shared<PBBezierGraph>(path);
}

std::shared_ptr<PBBezierGraph> PBBezierGraph::bezierGraph() { return std::make_shared<PBBezierGraph>(); }

std::shared_ptr<PBBezierGraph> PBBezierGraph::makeResultGraph() const {
  auto result = bezierGraph();
  result->setUsesBoundsSweep(usesBoundsSweep_);
  return result;
}

void PBBezierGraph::addContour(std::shared_ptr<PBBezierContour> contour) {
  contours_.push_back(std::move(contour));
  bounds_ = Rect();
}

Rect PBBezierGraph::bounds() {
  if (bounds_ == Rect() && !contours_.empty()) {
    Rect total;
    for (const auto& contour : contours_) total = platform::unionRect(total, contour->bounds());
    bounds_ = total;
  }
  return bounds_;
}

platform::BezierPath PBBezierGraph::bezierPath() const {
  platform::BezierPath path;
  path.setWindingRule(platform::WindingRule::EvenOdd);
  for (const auto& contour : contours_) {
    // A contour without edges would leave a close with no move, which element walkers cannot place.
    if (contour->edges().empty()) continue;
    const auto& edges = contour->edges();
    path.moveTo(edges.front()->endPoint1());
    for (const auto& edge : edges) {
      if (edge->isStraightLine()) {
        path.lineTo(edge->endPoint2());
      } else {
        path.curveTo(edge->endPoint2(), edge->controlPoint1(), edge->controlPoint2());
      }
    }
    path.closePath();
  }
  return path;
}

std::shared_ptr<PBCurveLocation> PBBezierGraph::closestLocationToPoint(Point point) {
  std::shared_ptr<PBCurveLocation> closest;
  for (const auto& contour : contours_) {
    auto location = contour->closestLocationToPoint(point);
    if (location && (!closest || location->distance() < closest->distance())) closest = std::move(location);
  }
  if (closest) closest->setGraph(this);
  return closest;
}

std::string PBBezierGraph::description() {
  const Rect rect = bounds();
  std::vector<std::string> items;
  for (const auto& contour : contours_) items.push_back(contour->description());
  return platform::formatString("<PBBezierGraph: bounds = (%f, %f)(%f, %f) contours = ", rect.origin.x, rect.origin.y,
                                rect.size.width, rect.size.height) +
         PBListDescription(items) + ">";
}
