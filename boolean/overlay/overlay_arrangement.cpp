// Reading both graphs into the working frame and cutting every edge at the vertices that lie on it.

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <tuple>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/bezier_graph.h"
#include "boolean/contour_reading.h"
#include "boolean/overlay/overlay.h"
#include "boolean/overlay/overlay_geometry.h"
#include "boolean/overlay/overlay_meetings.h"
#include "boolean/tolerance_functions.h"
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

// How near one of a curve's own vertices a crossing must lie to be looked for on it: where curves touch, the place
// found for their crossing can stray along them far beyond the tolerance (as the square root of it times the
// radius of the bend), which this covers in the working frame.
constexpr double kAnchorReach = 0x1p-4;

PBOverlay::Outline outlineOf(const PBBezierGraph& graph) {
  PBOverlay::Outline outline;
  for (const auto& contour : graph.contours()) {
    outline.emplace_back();
    for (const auto& edge : contour->edges()) outline.back().push_back(edge->data());
  }
  return outline;
}

// Contours as a graph reads them from a path, closed the same way.
struct OutlineSink {
  PBOverlay::Outline& outline;
  void begin() { outline.emplace_back(); }
  void edge(const PBBezierCurveData& data) { outline.back().push_back(data); }
  bool hasEdges() const { return !outline.back().empty(); }
  Point firstPoint() const { return outline.back().front().endPoint1; }
  void close() {
    if (!hasEdges()) return;
    const Point start = firstPoint(), end = outline.back().back().endPoint2;
    if (!PBArePointsClose(start, end)) outline.back().push_back(PBBezierCurveDataMakeLine(end, start));
  }
};

PBOverlay::Outline outlineOf(const platform::BezierPath& path) {
  PBOverlay::Outline outline;
  OutlineSink sink{outline};
  PBReadContours(path, sink);
  return outline;
}

}  // namespace

PBOverlay::PBOverlay(const PBBezierGraph& ours, const PBBezierGraph& theirs)
    : everyPair_(!ours.usesBoundsSweep() || !theirs.usesBoundsSweep()) {
  overlay(outlineOf(ours), outlineOf(theirs));
}

PBOverlay::PBOverlay(const platform::BezierPath& ours, const platform::BezierPath& theirs) {
  overlay(outlineOf(ours), outlineOf(theirs));
}

void PBOverlay::overlay(const Outline& ours, const Outline& theirs) {
  // The frame: centred on both operands, their larger side scaled by a power of two (exactly) to [512, 1024).
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (const Outline* outline : {&ours, &theirs}) {
    for (const auto& contour : *outline) {
      for (const PBBezierCurveData& data : contour) {
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
  readOutline(ours, 0);
  readOutline(theirs, 1);
  findVertices();
  mergeCoincidentFragments();
  orderAroundVertices();
  traceFaces();
  labelFaces();
}

double PBOverlay::workingScale(double minX, double minY, double maxX, double maxY) {
  const double half = std::max(maxX / 2 - minX / 2, maxY / 2 - minY / 2);
  if (!(half > 0 && std::isfinite(half))) return 1.0;
  int exponent = 8 - std::ilogb(half);
  // A drawing is known only to its coordinates' last digits: far from the origin, the tolerance is kept at four of
  // them (ulp = 2^(ilogb − 52)), so that one point rounded two ways is one vertex and not a ring between them.
  const double magnitude = std::max({std::fabs(minX), std::fabs(maxX), std::fabs(minY), std::fabs(maxY)});
  if (magnitude > 0 && std::isfinite(magnitude)) exponent = std::min(exponent, 30 - std::ilogb(magnitude));
  // Finite for the tiniest drawing too, yet up to the largest power of two, which brings a drawing of the smallest
  // numbers to edges longer than the tolerance, where a lower bound made them too short to keep.
  return std::ldexp(1.0, std::clamp(exponent, -1000, 1023));
}

double PBOverlay::toleranceWithin(const Rect& box) {
  return kTolerance / workingScale(box.origin.x, box.origin.y, box.origin.x + box.size.width,
                                   box.origin.y + box.size.height);
}

void PBOverlay::readOutline(const Outline& outline, int operand) {
  auto working = [this](Point point) { return Point{(point.x - centre_.x) * scale_, (point.y - centre_.y) * scale_}; };
  int contourIndex = 0;
  for (const auto& contour : outline) {
    const std::size_t first = edges_.size();
    int index = 0;
    for (PBBezierCurveData original : contour) {
      if (!isFinite(original)) continue;
      PBBezierCurveData curve = original.isStraightLine
                                    ? PBBezierCurveDataMakeLine(working(original.endPoint1), working(original.endPoint2))
                                    : PBBezierCurveDataMake(working(original.endPoint1), working(original.controlPoint1),
                                                            working(original.controlPoint2),
                                                            working(original.endPoint2), false);
      // Shorter than the tolerance, an edge is a point: its ends become one vertex anyway.
      if (PBOverlayPolygonLength(curve) <= kTolerance) continue;
      // A curve whose control points lie on the line through its ends runs along that line, out and back where it
      // turns: as lines between its turns it is met exactly, and the stretches it runs twice cancel like any
      // coinciding edges, where the curve intersection stalls on it and a spike without width would be kept.
      double turns[2];
      const int turnCount = curve.isStraightLine ? -1 : PBOverlayFlatTurns(curve, kTolerance, turns);
      if (turnCount < 0) {
        edges_.push_back({curve, original, operand, contourIndex, index++, 0});
        continue;
      }
      Point from = original.endPoint1;
      for (int turn = 0; turn <= turnCount; ++turn) {
        const Point to = turn < turnCount ? PBOverlayPointAt(original, turns[turn]) : original.endPoint2;
        const PBBezierCurveData line = PBBezierCurveDataMakeLine(working(from), working(to));
        if (PBOverlayPolygonLength(line) <= kTolerance) continue;
        edges_.push_back({line, PBBezierCurveDataMakeLine(from, to), operand, contourIndex, index++, 0});
        from = to;
      }
    }
    for (std::size_t i = first; i < edges_.size(); ++i) edges_[i].edgeCount = index;
    ++contourIndex;
  }
}

void PBOverlay::findVertices() {
  // The edges' starts, then each end that is not the next edge's start (in a closed contour, only where an
  // edge was left out).
  std::vector<Point> candidates;
  candidates.reserve(edges_.size());
  for (const Edge& edge : edges_) {
    candidates.push_back(edge.curve.endPoint1);
    endOutput_.push_back(edge.original.endPoint1);
  }
  endCandidate_.resize(edges_.size());
  for (std::size_t i = 0; i < edges_.size(); ++i) {
    const Edge& edge = edges_[i];
    const std::size_t next = edge.index + 1 < edge.edgeCount ? i + 1 : i + 1 - edge.edgeCount;
    if (edges_[next].curve.endPoint1 == edge.curve.endPoint2 &&
        edges_[next].original.endPoint1 == edge.original.endPoint2) {
      endCandidate_[i] = next;
    } else {
      endCandidate_[i] = candidates.size();
      candidates.push_back(edge.curve.endPoint2);
      endOutput_.push_back(edge.original.endPoint2);
    }
  }
  findCrossings(candidates);
  crossingsEnd_ = candidates.size();
  for (int round = 1;; ++round) {
    clusterVertices(candidates);
    attractVertices();
    cutFragments();
    // A piece whose ends moved by no more than the tolerance crosses nothing its edge did not: whatever passes
    // between its end and where the edge was lies within the tolerance of the vertex and was cut there.
    if (displacement_ <= kTolerance || round == kRounds) break;
    const std::vector<Point> more = crossingsBetweenFragments();
    if (more.empty()) break;
    candidates.insert(candidates.end(), more.begin(), more.end());
  }
}

void PBOverlay::findCrossings(std::vector<Point>& candidates) {
  std::vector<Rect> rects;
  rects.reserve(edges_.size());
  for (const Edge& edge : edges_) {
    PBBezierCurveData curve = edge.curve;
    rects.push_back(PBBezierCurveDataBoundingRect(&curve));
  }
  // Where each pair of edges meets, put in an order of the edges' own, so that the result does not depend on the
  // order in which pairs are found.
  struct Meeting {
    std::size_t first, second;
    PBOverlayMeeting at;
  };
  std::vector<Meeting> found;
  std::vector<PBOverlayMeeting> meetings;
  // A curve that turns back on itself may cross itself (a loop) or run back along itself (a spike, as at a cusp):
  // cut where it turns, its two parts are met like two edges.
  for (std::size_t i = 0; i < edges_.size(); ++i) {
    double turn;
    if (!PBOverlayTurningPoint(edges_[i].curve, &turn)) continue;
    const PBBezierCurveData& curve = edges_[i].curve;
    meetings.clear();
    PBOverlayMeetings(PBBezierCurveDataSubcurveWithRange(curve, {0, turn}),
                      PBBezierCurveDataSubcurveWithRange(curve, {turn, 1}), kTolerance, meetings);
    for (const PBOverlayMeeting& meeting : meetings) {
      found.push_back({i, i, {meeting.point, meeting.along1 * turn, turn + meeting.along2 * (1 - turn)}});
    }
  }
  // An outline may cross itself, so its own edges are met too: where two share an end, only beyond it.
  auto pair = [&](std::size_t i, std::size_t j) {
    const PBBezierCurveData& a = edges_[i].curve;
    const PBBezierCurveData& b = edges_[j].curve;
    if (a.isStraightLine && b.isStraightLine) {
      Point crossing;
      double alongA, alongB;
      if (PBOverlayLinesCross(a.endPoint1, a.endPoint2, b.endPoint1, b.endPoint2, &crossing, &alongA, &alongB)) {
        found.push_back({i, j, {crossing, alongA, alongB}});
      }
      return;
    }
    meetings.clear();
    PBOverlayMeetings(a, b, kTolerance, meetings);
    for (const PBOverlayMeeting& meeting : meetings) found.push_back({i, j, meeting});
  };
  if (everyPair_) {
    for (std::size_t i = 0; i < edges_.size(); ++i) {
      for (std::size_t j = i + 1; j < edges_.size(); ++j) pair(i, j);
    }
  } else {
    PBOverlayForEachPairOfNearRects(rects, kTolerance, pair);
  }
  std::sort(found.begin(), found.end(), [](const Meeting& x, const Meeting& y) {
    return std::tie(x.first, x.second, x.at.along1, x.at.along2, x.at.point.x, x.at.point.y) <
           std::tie(y.first, y.second, y.at.along1, y.at.along2, y.at.point.x, y.at.point.y);
  });
  placements_.clear();
  for (const Meeting& meeting : found) {
    placements_.push_back({static_cast<int>(meeting.first), meeting.at.along1, candidates.size()});
    placements_.push_back({static_cast<int>(meeting.second), meeting.at.along2, candidates.size()});
    candidates.push_back(meeting.at.point);
  }
  std::stable_sort(placements_.begin(), placements_.end(),
                   [](const Placement& a, const Placement& b) { return a.edge < b.edge; });
}

void PBOverlay::clusterVertices(const std::vector<Point>& candidates) {
  // Points within the tolerance of each other are one vertex, through chains of such points too.
  std::vector<std::size_t> parent(candidates.size());
  std::iota(parent.begin(), parent.end(), 0);
  auto root = [&parent](std::size_t index) {
    while (parent[index] != index) index = parent[index] = parent[parent[index]];
    return index;
  };
  // The smaller index leads, so a cluster is placed on its first point: an operand's own before crossings.
  auto join = [&](std::size_t a, std::size_t b) {
    a = root(a), b = root(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  };
  // Sorted by x, then y, a point's neighbours follow it within the tolerance in x; equal points are joined at once
  // (many edges can end at one), and a run of points on one vertical is left as soon as y passes the tolerance.
  std::vector<std::size_t> order(candidates.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const Point p = candidates[a], q = candidates[b];
    return p.x < q.x || (p.x == q.x && (p.y < q.y || (p.y == q.y && a < b)));
  });
  std::vector<std::size_t> runEnd(order.size());  // per position, the end of its run of equal x
  for (std::size_t i = order.size(); i-- > 0;) {
    runEnd[i] = i + 1 < order.size() && candidates[order[i + 1]].x == candidates[order[i]].x ? runEnd[i + 1] : i + 1;
  }
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Point p = candidates[order[i]];
    for (std::size_t j = i + 1; j < order.size();) {
      const Point q = candidates[order[j]];
      if (q.x - p.x > kTolerance) break;
      if (q == p) {
        join(order[i], order[j]);
      } else if (q.y - p.y > kTolerance && q.x == p.x) {
        j = runEnd[j];
        continue;
      } else if ((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y) <= kTolerance * kTolerance) {
        join(order[i], order[j]);
      }
      ++j;
    }
  }
  vertices_.clear();
  displacement_ = 0;
  std::vector<int>& vertexOf = vertexOf_;  // per candidate
  vertexOf.assign(candidates.size(), -1);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const std::size_t leader = root(i);
    if (vertexOf[leader] < 0) {
      vertexOf[leader] = static_cast<int>(vertices_.size());
      Point output{candidates[leader].x / scale_ + centre_.x, candidates[leader].y / scale_ + centre_.y};
      // The ends of the operands' edges come first among the candidates: they keep their exact coordinates.
      if (leader < endOutput_.size()) output = endOutput_[leader];
      vertices_.push_back({candidates[leader], output, leader >= endOutput_.size() && leader < crossingsEnd_});
    }
    vertexOf[i] = vertexOf[leader];
    displacement_ = std::max(displacement_, std::sqrt(std::pow(candidates[i].x - candidates[leader].x, 2) +
                                                      std::pow(candidates[i].y - candidates[leader].y, 2)));
  }
  for (std::size_t i = 0; i < edges_.size(); ++i) {
    edges_[i].start = vertexOf[i];
    edges_[i].end = vertexOf[endCandidate_[i]];
  }
}

namespace {

// The vertices in a grid of square cells over the working frame, about one a cell, each cell's by x, so that the
// part of an edge near some place meets only the vertices there.
class VertexGrid {
 public:
  explicit VertexGrid(const std::vector<Point>& points) : points_(points) {
    side_ = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(points.size()))), 1, 512);
    cellSize_ = 1024.0 / side_;
    start_.assign(static_cast<std::size_t>(side_) * side_ + 1, 0);
    for (const Point& point : points) ++start_[cellOf(point) + 1];
    std::partial_sum(start_.begin(), start_.end(), start_.begin());
    members_.resize(points.size());
    std::vector<int> filled(start_.begin(), start_.end() - 1);
    for (std::size_t i = 0; i < points.size(); ++i) members_[filled[cellOf(points[i])]++] = static_cast<int>(i);
    for (std::size_t cell = 0; cell + 1 < start_.size(); ++cell) {
      std::sort(members_.begin() + start_[cell], members_.begin() + start_[cell + 1],
                [this](int a, int b) { return points_[a].x < points_[b].x; });
    }
  }
  double cellSize() const { return cellSize_; }
  // Every point within the box.
  template <typename Visit>
  void forEachIn(const Rect& box, Visit visit) const {
    if (members_.empty()) return;
    const double minX = box.origin.x, maxX = box.origin.x + box.size.width;
    const double minY = box.origin.y, maxY = box.origin.y + box.size.height;
    for (int y = column(minY), top = column(maxY); y <= top; ++y) {
      for (int x = column(minX), right = column(maxX); x <= right; ++x) {
        const std::size_t cell = static_cast<std::size_t>(y) * side_ + x;
        auto it = std::lower_bound(members_.begin() + start_[cell], members_.begin() + start_[cell + 1], minX,
                                   [this](int member, double value) { return points_[member].x < value; });
        for (; it != members_.begin() + start_[cell + 1] && points_[*it].x <= maxX; ++it) {
          if (points_[*it].y >= minY && points_[*it].y <= maxY) visit(*it);
        }
      }
    }
  }

 private:
  // The frame reaches 512 from its centre at most; anything beyond goes to the outermost cells.
  int column(double value) const {
    return std::clamp(platform::saturatingTruncate<int>(std::floor((std::clamp(value, -600.0, 600.0) + 512) / cellSize_)),
                      0, side_ - 1);
  }
  std::size_t cellOf(Point point) const { return static_cast<std::size_t>(column(point.y)) * side_ + column(point.x); }

  std::vector<Point> points_;
  int side_;
  double cellSize_;
  std::vector<int> start_;
  std::vector<int> members_;
};


}  // namespace

namespace {

// The boxes of the control points of a curve's 2^depth equal pieces, by halving.
void pieceBoxes(const Point points[4], int depth, std::vector<Rect>& boxes) {
  if (depth == 0) {
    const double minX = std::min({points[0].x, points[1].x, points[2].x, points[3].x});
    const double minY = std::min({points[0].y, points[1].y, points[2].y, points[3].y});
    boxes.push_back({minX, minY, std::max({points[0].x, points[1].x, points[2].x, points[3].x}) - minX,
                     std::max({points[0].y, points[1].y, points[2].y, points[3].y}) - minY});
    return;
  }
  auto middle = [](Point a, Point b) { return Point{0.5 * (a.x + b.x), 0.5 * (a.y + b.y)}; };
  const Point p01 = middle(points[0], points[1]), p12 = middle(points[1], points[2]), p23 = middle(points[2], points[3]);
  const Point p012 = middle(p01, p12), p123 = middle(p12, p23), p0123 = middle(p012, p123);
  const Point left[4] = {points[0], p01, p012, p0123}, right[4] = {p0123, p123, p23, points[3]};
  pieceBoxes(left, depth - 1, boxes);
  pieceBoxes(right, depth - 1, boxes);
}

}  // namespace

void PBOverlay::attractVertices() {
  // Edges' ends and crossings apart: a curve looks for crossings only near its own vertices (see below).
  struct Grids {
    std::vector<int> endVertex, crossingVertex;
    VertexGrid ends, crossings;
  };
  std::optional<Grids> grids;
  constexpr std::size_t kFewVertices = 256;
  if (vertices_.size() > kFewVertices) {
    std::vector<Point> ends, crossings;
    std::vector<int> endVertex, crossingVertex;
    for (std::size_t v = 0; v < vertices_.size(); ++v) {
      (vertices_[v].isCrossing ? crossings : ends).push_back(vertices_[v].point);
      (vertices_[v].isCrossing ? crossingVertex : endVertex).push_back(static_cast<int>(v));
    }
    grids.emplace(Grids{std::move(endVertex), std::move(crossingVertex), VertexGrid(ends), VertexGrid(crossings)});
  }
  std::vector<Point> anchors;  // the vertices known to lie on the edge
  std::vector<Rect> boxes;
  // Per vertex, the last edge it was put on or looked at for, so that none is measured twice for an edge.
  std::vector<int> placedOn(vertices_.size(), -1), seenFor(vertices_.size(), -1);
  std::vector<double> placedAt(vertices_.size(), 0);
  auto placement = placements_.begin();
  splits_.clear();
  for (std::size_t i = 0; i < edges_.size(); ++i) {
    Edge& edge = edges_[i];
    const int edgeIndex = static_cast<int>(i);
    const std::size_t first = splits_.size();
    anchors.assign({vertices_[edge.start].point, vertices_[edge.end].point});
    for (; placement != placements_.end() && placement->edge == edgeIndex; ++placement) {
      const int vertex = vertexOf_[placement->candidate];
      if (vertex == edge.start || vertex == edge.end) continue;
      // A vertex goes on an edge once, unless the edge passes it twice: where it loops.
      if (placedOn[vertex] == edgeIndex &&
          std::fabs(placement->parameter - placedAt[vertex]) * PBOverlayPolygonLength(edge.curve) <= 8 * kTolerance) {
        continue;
      }
      // Where the crossing was found on the other curve, its place on this one may be rough: then it is measured.
      double parameter = placement->parameter;
      const Point at = PBOverlayPointAt(edge.curve, parameter);
      const Point point = vertices_[vertex].point;
      if ((at.x - point.x) * (at.x - point.x) + (at.y - point.y) * (at.y - point.y) > kTolerance * kTolerance &&
          !PBOverlayPassesWithin(edge.curve, point, kTolerance, &parameter)) {
        continue;
      }
      placedOn[vertex] = edgeIndex, placedAt[vertex] = parameter;
      splits_.push_back({edgeIndex, parameter, vertex});
      anchors.push_back(point);
    }
    auto visit = [&](int vertex) {
      const Point point = vertices_[vertex].point;
      // An end's own vertex does not count again: an edge that comes back to its own end is a loop of one edge,
      // which an outline of several does not make.
      if (vertex == edge.start || vertex == edge.end || placedOn[vertex] == edgeIndex || seenFor[vertex] == edgeIndex) {
        return;
      }
      seenFor[vertex] = edgeIndex;
      double parameter;
      if (PBOverlayPassesWithin(edge.curve, point, kTolerance, &parameter)) {
        splits_.push_back({edgeIndex, parameter, vertex});
      }
    };
    // Where edges cross is placed on the curves found crossing there. A third curve passes within the tolerance of
    // it only where it meets one of those two near there too (ends in a point of theirs, crosses, or runs along one
    // of them), and then where they meet is near: a curve looks for crossings near its own vertices only, which
    // spares the many near misses where curves fan out from one point. A straight edge, cheap to measure, looks
    // everywhere along it.
    auto nearAnAnchor = [&](Point point) {
      return std::any_of(anchors.begin(), anchors.end(), [&](Point anchor) {
        return std::fabs(anchor.x - point.x) <= kAnchorReach && std::fabs(anchor.y - point.y) <= kAnchorReach;
      });
    };
    const Point points[4] = {edge.curve.endPoint1, edge.curve.controlPoint1, edge.curve.controlPoint2,
                             edge.curve.endPoint2};
    if (!grids) {
      // Few vertices: each is tried against the box of the edge's control points.
      const double minX = std::min({points[0].x, points[1].x, points[2].x, points[3].x}) - kTolerance;
      const double maxX = std::max({points[0].x, points[1].x, points[2].x, points[3].x}) + kTolerance;
      const double minY = std::min({points[0].y, points[1].y, points[2].y, points[3].y}) - kTolerance;
      const double maxY = std::max({points[0].y, points[1].y, points[2].y, points[3].y}) + kTolerance;
      for (int vertex = 0; vertex < static_cast<int>(vertices_.size()); ++vertex) {
        const Point point = vertices_[vertex].point;
        if (point.x < minX || point.x > maxX || point.y < minY || point.y > maxY) continue;
        if (vertices_[vertex].isCrossing && !edge.curve.isStraightLine && !nearAnAnchor(point)) continue;
        visit(vertex);
      }
    } else {
      // Many: a long edge is looked along in pieces about a cell long, each with the box of its control points.
      boxes.clear();
      const double length = PBOverlayPolygonLength(edge.curve);
      int depth = 0;
      while (depth < 4 && length / (1 << depth) > grids->ends.cellSize()) ++depth;
      pieceBoxes(points, depth, boxes);
      for (Rect& box : boxes) {
        box = {box.origin.x - kTolerance, box.origin.y - kTolerance, box.size.width + 2 * kTolerance,
               box.size.height + 2 * kTolerance};
      }
      for (const Rect& box : boxes) grids->ends.forEachIn(box, [&](int index) { visit(grids->endVertex[index]); });
      if (edge.curve.isStraightLine) {
        for (const Rect& box : boxes) {
          grids->crossings.forEachIn(box, [&](int index) { visit(grids->crossingVertex[index]); });
        }
      } else {
        for (const Point& anchor : anchors) {
          const Rect near{anchor.x - kAnchorReach, anchor.y - kAnchorReach, 2 * kAnchorReach, 2 * kAnchorReach};
          grids->crossings.forEachIn(near, [&](int index) { visit(grids->crossingVertex[index]); });
        }
      }
    }
    std::sort(splits_.begin() + static_cast<std::ptrdiff_t>(first), splits_.end(),
              [](const Split& a, const Split& b) { return a.parameter < b.parameter; });
  }
}

void PBOverlay::cutFragments() {
  fragments_.clear();
  auto split = splits_.begin();
  for (std::size_t i = 0; i < edges_.size(); ++i) {
    const Edge& edge = edges_[i];
    double from = 0;
    int start = edge.start;
    auto cut = [&](double to, int end) {
      if (start == end) {
        // A piece that comes back to its vertex is a loop if it is long, else nothing: its way out and back
        // lie within the tolerance of the vertex.
        if (PBOverlayPolygonLength(PBBezierCurveDataSubcurveWithRange(edge.curve, {from, to})) <= 8 * kTolerance) {
          from = to;
          return;
        }
      }
      fragments_.push_back({static_cast<int>(i), from, to, start, end});
      from = to, start = end;
    };
    for (; split != splits_.end() && split->edge == static_cast<int>(i); ++split) cut(split->parameter, split->vertex);
    cut(1, edge.end);
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
    double alongF, alongG;
    if (PBOverlayLinesCross(vertices_[f.start].point, vertices_[f.end].point, vertices_[g.start].point,
                            vertices_[g.end].point, &crossing, &alongF, &alongG)) {
      points.push_back(crossing);
    }
  });
  return points;
}
