// Reading a path into a graph, the graph's bounds, path and queries.

#include "boolean/bezier_graph.h"

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/curve_location.h"
#include "boolean/list_description.h"
#include "boolean/path_elements.h"
#include "platform/core/string_utilities.h"
#include "platform/graphics/rect_functions.h"

using platform::Point;
using platform::Rect;

PBBezierGraph::PBBezierGraph(const platform::BezierPath& path) {
  PBBezierContour* contour = nullptr;
  Point lastPoint;
  bool closedByLine = false;
  for (int index = 0; index < path.elementCount(); ++index) {
    const PBPathElement element = pb_elementAtIndex(path, index);
    switch (element.kind) {
      case PBElementMove: {
        if (contour && !closedByLine) contour->close();
        auto fresh = std::make_shared<PBBezierContour>();
        contour = fresh.get();
        addContour(std::move(fresh));
        closedByLine = false;
        lastPoint = element.point;
        break;
      }
      case PBElementLine:
        // Degenerate elements are dropped on exact equality only.
        if (element.point == lastPoint) break;
        if (contour) contour->addCurve(PBBezierCurve::bezierCurveWithLineStartPoint(lastPoint, element.point));
        lastPoint = element.point;
        break;
      case PBElementCurve:
        if (element.point == lastPoint && element.controlPoints[0] == lastPoint &&
            element.controlPoints[1] == lastPoint) {
          break;
        }
        if (contour) {
          contour->addCurve(PBBezierCurve::bezierCurveWithEndPoint1(lastPoint, element.controlPoints[0],
                                                                    element.controlPoints[1], element.point));
        }
        lastPoint = element.point;
        break;
      case PBElementClose:
        if (contour && !contour->edges().empty() && lastPoint != contour->edges().front()->endPoint1()) {
          contour->addCurve(
              PBBezierCurve::bezierCurveWithLineStartPoint(lastPoint, contour->edges().front()->endPoint1()));
          closedByLine = true;
        }
        lastPoint = Point();
        break;
      default: break;
    }
  }
  if (contour && !closedByLine) contour->close();
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
