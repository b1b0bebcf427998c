// Reading both graphs into the working frame and cutting every edge at the vertices that lie on it.

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/bezier_intersect_range.h"
#include "boolean/bezier_intersection.h"
#include "boolean/overlay.h"
#include "boolean/overlay_geometry.h"
#include "boolean/rect_index.h"
#include "platform/core/numeric.h"

using platform::Point;
using platform::Rect;

namespace {

bool isFinite(Point point) { return std::isfinite(point.x) && std::isfinite(point.y); }

bool isFinite(const PBBezierCurveData& curve) {
  return isFinite(curve.endPoint1) && isFinite(curve.controlPoint1) && isFinite(curve.controlPoint2) &&
         isFinite(curve.endPoint2);
}

// Rounds of crossings between cut pieces: each round can only add vertices next to ones moved in the round before,
// so they settle at once in practice; the bound keeps a pathological input from looping.
constexpr int kRounds = 4;

}  // namespace

PBOverlay::PBOverlay(const PBBezierGraph& ours, const PBBezierGraph& theirs) {
  // The frame: centred on both operands, their larger side scaled by a power of two (exactly) to [512, 1024).
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (const PBBezierGraph* graph : {&ours, &theirs}) {
    for (const auto& contour : graph->contours()) {
      for (const auto& edge : contour->edges()) {
        const PBBezierCurveData data = edge->data();
        if (!isFinite(data)) continue;
        for (Point point : {data.endPoint1, data.controlPoint1, data.controlPoint2, data.endPoint2}) {
          minX = std::min(minX, point.x), maxX = std::max(maxX, point.x);
          minY = std::min(minY, point.y), maxY = std::max(maxY, point.y);
        }
      }
    }
  }
  if (minX <= maxX) {
    // Halves first: the sides of a drawing near the largest double would overflow.
    centre_ = {minX / 2 + maxX / 2, minY / 2 + maxY / 2};
    scale_ = workingScale(minX, minY, maxX, maxY);
  }
  readGraph(ours, 0);
  readGraph(theirs, 1);
  findVertices();
  mergeCoincidentFragments();
  orderAroundVertices();
  traceFaces();
  labelFaces();
}

double PBOverlay::workingScale(double minX, double minY, double maxX, double maxY) {
  const double half = std::max(maxX / 2 - minX / 2, maxY / 2 - minY / 2);
  return half > 0 && std::isfinite(half) ? std::ldexp(1.0, 8 - std::ilogb(half)) : 1.0;
}

double PBOverlay::toleranceWithin(const Rect& box) {
  return kTolerance / workingScale(box.origin.x, box.origin.y, box.origin.x + box.size.width,
                                   box.origin.y + box.size.height);
}

void PBOverlay::readGraph(const PBBezierGraph& graph, int operand) {
  auto working = [this](Point point) { return Point{(point.x - centre_.x) * scale_, (point.y - centre_.y) * scale_}; };
  int contourIndex = 0;
  for (const auto& contour : graph.contours()) {
    const std::size_t first = edges_.size();
    int index = 0;
    for (const auto& object : contour->edges()) {
      const PBBezierCurveData original = object->data();
      if (!isFinite(original)) continue;
      PBBezierCurveData curve = original.isStraightLine
                                    ? PBBezierCurveDataMakeLine(working(original.endPoint1), working(original.endPoint2))
                                    : PBBezierCurveDataMake(working(original.endPoint1), working(original.controlPoint1),
                                                            working(original.controlPoint2),
                                                            working(original.endPoint2), false);
      // Shorter than the tolerance, an edge is a point: its ends become one vertex anyway.
      if (PBBezierCurveDataGetLength(&curve) <= kTolerance) continue;
      edges_.push_back({curve, PBBezierCurveDataMake(original.endPoint1, original.controlPoint1,
                                                     original.controlPoint2, original.endPoint2,
                                                     original.isStraightLine),
                        operand, contourIndex, index++, 0, {}});
    }
    for (std::size_t i = first; i < edges_.size(); ++i) edges_[i].edgeCount = index;
    ++contourIndex;
  }
}

void PBOverlay::findVertices() {
  std::vector<Point> candidates;
  candidates.reserve(2 * edges_.size());
  for (const Edge& edge : edges_) {
    candidates.push_back(edge.curve.endPoint1);
    candidates.push_back(edge.curve.endPoint2);
  }
  const std::vector<Point> crossings = crossingPoints();
  candidates.insert(candidates.end(), crossings.begin(), crossings.end());
  for (int round = 1;; ++round) {
    clusterVertices(candidates);
    attractVertices();
    cutFragments();
    if (round == kRounds) break;
    const std::vector<Point> more = crossingsBetweenFragments();
    if (more.empty()) break;
    candidates.insert(candidates.end(), more.begin(), more.end());
  }
}

std::vector<Point> PBOverlay::crossingPoints() const {
  std::vector<Rect> rects;
  rects.reserve(edges_.size());
  for (const Edge& edge : edges_) {
    PBBezierCurveData curve = edge.curve;
    rects.push_back(PBBezierCurveDataBoundingRect(&curve));
  }
  std::vector<std::shared_ptr<PBBezierCurve>> objects(edges_.size());
  auto object = [&](std::size_t index) {
    if (!objects[index]) objects[index] = PBBezierCurve::bezierCurveWithBezierCurveData(edges_[index].curve);
    return objects[index].get();
  };
  std::vector<Point> points;
  PBOverlayForEachPairOfNearRects(rects, kTolerance, [&](std::size_t i, std::size_t j) {
    const PBBezierCurveData& a = edges_[i].curve;
    const PBBezierCurveData& b = edges_[j].curve;
    if (a.isStraightLine && b.isStraightLine) {
      Point crossing;
      if (PBOverlayLinesCross(a.endPoint1, a.endPoint2, b.endPoint1, b.endPoint2, &crossing)) points.push_back(crossing);
      return;
    }
    std::shared_ptr<PBBezierIntersectRange> overlap;
    object(i)->intersectionsWithBezierCurve(object(j), &overlap,
                                            [&points](const std::shared_ptr<PBBezierIntersection>& intersection, bool*) {
                                              points.push_back(intersection->location());
                                            });
    // Where the two run on top of each other, the ends of the stretch; the rest of it is found by attraction.
    if (overlap) {
      const PBRange range = overlap->parameterRange1();
      points.push_back(PBBezierCurveDataPointAtParameter(a, range.minimum, nullptr, nullptr));
      points.push_back(PBBezierCurveDataPointAtParameter(a, range.maximum, nullptr, nullptr));
    }
  });
  return points;
}

void PBOverlay::clusterVertices(const std::vector<Point>& candidates) {
  // Points within the tolerance of each other are one vertex, through chains of such points too. A grid of cells
  // as wide as the tolerance finds the neighbours of a point in its own and the eight cells around it.
  std::vector<std::size_t> parent(candidates.size());
  std::iota(parent.begin(), parent.end(), 0);
  auto root = [&parent](std::size_t index) {
    while (parent[index] != index) index = parent[index] = parent[parent[index]];
    return index;
  };
  auto key = [](std::int64_t x, std::int64_t y) {
    return static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(y);
  };
  auto cell = [](double value) { return platform::saturatingTruncate<std::int64_t>(std::floor(value / kTolerance)); };
  std::unordered_multimap<std::uint64_t, std::size_t> grid;
  grid.reserve(candidates.size());
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const std::int64_t cx = cell(candidates[i].x), cy = cell(candidates[i].y);
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        const auto [from, to] = grid.equal_range(key(cx + dx, cy + dy));
        for (auto it = from; it != to; ++it) {
          const Point other = candidates[it->second];
          if (std::hypot(other.x - candidates[i].x, other.y - candidates[i].y) > kTolerance) continue;
          // The smaller index leads, so a cluster is placed on its first point: an operand's own before crossings.
          const std::size_t a = root(i), b = root(it->second);
          if (a != b) parent[std::max(a, b)] = std::min(a, b);
        }
      }
    }
    grid.emplace(key(cx, cy), i);
  }
  vertices_.clear();
  std::vector<int> vertexOf(candidates.size(), -1);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const std::size_t leader = root(i);
    if (vertexOf[leader] < 0) {
      vertexOf[leader] = static_cast<int>(vertices_.size());
      Point output{candidates[leader].x / scale_ + centre_.x, candidates[leader].y / scale_ + centre_.y};
      // The ends of the operands' edges come first among the candidates: they keep their exact coordinates.
      if (leader < 2 * edges_.size()) {
        const Edge& edge = edges_[leader / 2];
        output = leader % 2 == 0 ? edge.original.endPoint1 : edge.original.endPoint2;
      }
      vertices_.push_back({candidates[leader], output});
    }
    vertexOf[i] = vertexOf[leader];
  }
  for (std::size_t i = 0; i < edges_.size(); ++i) {
    edges_[i].splits = {{0.0, vertexOf[2 * i]}, {1.0, vertexOf[2 * i + 1]}};
  }
}

void PBOverlay::attractVertices() {
  std::vector<Rect> points;
  points.reserve(vertices_.size());
  for (const Vertex& vertex : vertices_) points.push_back({vertex.point.x, vertex.point.y, 0, 0});
  const PBRectIndex index(points);
  for (Edge& edge : edges_) {
    Rect rect = PBBezierCurveDataBoundingRect(&edge.curve);
    rect = {rect.origin.x - kTolerance, rect.origin.y - kTolerance, rect.size.width + 2 * kTolerance,
            rect.size.height + 2 * kTolerance};
    const int startVertex = edge.splits[0].vertex, endVertex = edge.splits[1].vertex;
    for (std::size_t found : index.overlapping(rect)) {
      const int vertex = static_cast<int>(found);
      const PBBezierCurveLocation location = PBOverlayClosestLocation(edge.curve, vertices_[vertex].point);
      if (location.distance > kTolerance) continue;
      // An end's own vertex only counts again where the edge comes back to it.
      if (vertex == startVertex || vertex == endVertex) {
        const Point at = PBOverlayPointAt(edge.curve, location.parameter);
        const Point end = vertex == startVertex ? edge.curve.endPoint1 : edge.curve.endPoint2;
        if (std::hypot(at.x - end.x, at.y - end.y) <= 2 * kTolerance) continue;
      }
      edge.splits.push_back({location.parameter, vertex});
    }
    std::sort(edge.splits.begin(), edge.splits.end(),
              [](const Split& a, const Split& b) { return a.parameter < b.parameter; });
  }
}

void PBOverlay::cutFragments() {
  fragments_.clear();
  for (std::size_t i = 0; i < edges_.size(); ++i) {
    const Edge& edge = edges_[i];
    std::size_t from = 0;
    for (std::size_t to = 1; to < edge.splits.size(); ++to) {
      const Split& a = edge.splits[from];
      const Split& b = edge.splits[to];
      if (a.vertex == b.vertex) {
        // A piece that comes back to its vertex is a loop if it is long, else nothing: its way out and back
        // lie within the tolerance of the vertex.
        PBBezierCurveData piece = PBBezierCurveDataSubcurveWithRange(edge.curve, {a.parameter, b.parameter});
        if (PBBezierCurveDataGetLength(&piece) <= 8 * kTolerance) {
          from = to;
          continue;
        }
      }
      fragments_.push_back({static_cast<int>(i), a.parameter, b.parameter, a.vertex, b.vertex});
      from = to;
    }
  }
}

std::vector<Point> PBOverlay::crossingsBetweenFragments() const {
  // Cutting moves a piece's ends onto vertices by up to the tolerance, which can make two straight pieces cross
  // next to a vertex where their edges did not.
  std::vector<std::size_t> straight;
  std::vector<Rect> rects;
  for (std::size_t i = 0; i < fragments_.size(); ++i) {
    if (!edges_[fragments_[i].edge].curve.isStraightLine) continue;
    const Point a = vertices_[fragments_[i].start].point, b = vertices_[fragments_[i].end].point;
    straight.push_back(i);
    rects.push_back({std::min(a.x, b.x), std::min(a.y, b.y), std::fabs(a.x - b.x), std::fabs(a.y - b.y)});
  }
  std::vector<Point> points;
  PBOverlayForEachPairOfNearRects(rects, 0, [&](std::size_t i, std::size_t j) {
    const Fragment& f = fragments_[straight[i]];
    const Fragment& g = fragments_[straight[j]];
    if (f.start == g.start || f.start == g.end || f.end == g.start || f.end == g.end) return;
    Point crossing;
    if (PBOverlayLinesCross(vertices_[f.start].point, vertices_[f.end].point, vertices_[g.start].point,
                            vertices_[g.end].point, &crossing)) {
      points.push_back(crossing);
    }
  });
  return points;
}
