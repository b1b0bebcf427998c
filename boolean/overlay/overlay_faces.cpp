// Links from the cut pieces, the faces they bound, and what each face lies inside.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "boolean/overlay/overlay.h"
#include "boolean/overlay/overlay_geometry.h"
#include "boolean/rect_index.h"

using platform::Point;
using platform::Rect;

namespace {

// Pieces between the same two vertices coincide when each stays this close to the other: wider than the
// tolerance of the cutting, so that pieces cut as meeting at both ends are never kept apart by a hair.
constexpr double kCoincidence = 4 * PBOverlay::kTolerance;

// The middle first, where pieces that part at their ends are furthest apart.
bool staysNear(const PBBezierCurveData& piece, const PBBezierCurveData& other) {
  for (double t : {0.5, 0.25, 0.75, 0.125, 0.875}) {
    double unused;
    if (!PBOverlayPassesWithin(other, PBOverlayPointAt(piece, t), kCoincidence, &unused)) return false;
  }
  return true;
}

// Cheaply, without measuring: two cubics whose control points lie pairwise within the distance lie within it of each
// other at every parameter.
bool controlPointsAgree(const PBBezierCurveData& piece, const PBBezierCurveData& other) {
  auto near = [](Point a, Point b) { return std::fabs(a.x - b.x) <= kCoincidence / 2 && std::fabs(a.y - b.y) <= kCoincidence / 2; };
  return near(piece.endPoint1, other.endPoint1) && near(piece.controlPoint1, other.controlPoint1) &&
         near(piece.controlPoint2, other.controlPoint2) && near(piece.endPoint2, other.endPoint2);
}

}  // namespace

PBBezierCurveData PBOverlay::halfEdgeCurve(HalfEdge half) const {
  const PBBezierCurveData& curve = links_[half / 2].curve;
  return half & 1 ? PBBezierCurveDataReversed(curve) : curve;
}

void PBOverlay::mergeCoincidentFragments() {
  links_.clear();
  members_.clear();
  // Each fragment's curve in the working frame, its ends on its vertices.
  std::vector<PBBezierCurveData> curves;
  curves.reserve(fragments_.size());
  for (const Fragment& fragment : fragments_) {
    const Edge& edge = edges_[fragment.edge];
    PBBezierCurveData curve;
    if (edge.curve.isStraightLine) {
      curve = PBBezierCurveDataMakeLine(vertices_[fragment.start].point, vertices_[fragment.end].point);
    } else {
      curve = PBBezierCurveDataSubcurveWithRange(edge.curve, {fragment.from, fragment.to});
      curve.endPoint1 = vertices_[fragment.start].point;
      curve.endPoint2 = vertices_[fragment.end].point;
    }
    curves.push_back(curve);
  }
  // Fragments between the same two vertices side by side, in their own order within (the receiver's first).
  std::vector<std::uint64_t> pairs;
  pairs.reserve(fragments_.size());
  for (const Fragment& fragment : fragments_) {
    pairs.push_back(static_cast<std::uint64_t>(std::min(fragment.start, fragment.end)) << 32 |
                    static_cast<std::uint32_t>(std::max(fragment.start, fragment.end)));
  }
  auto pair = [&](int index) { return pairs[index]; };
  std::vector<int> order(fragments_.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return pairs[a] < pairs[b] || (pairs[a] == pairs[b] && a < b); });
  std::size_t groupStart = 0;
  for (std::size_t position = 0; position < order.size(); ++position) {
    const int index = order[position];
    if (position > 0 && pair(order[position - 1]) != pair(index)) groupStart = links_.size();
    const Fragment& fragment = fragments_[index];
    const PBBezierCurveData& curve = curves[index];
    int coincident = -1;
    bool reversed = false;
    for (std::size_t candidate = groupStart; candidate < links_.size() && coincident < 0; ++candidate) {
      const Link& link = links_[candidate];
      // Two straight pieces between one pair of vertices are one piece; anything else must stay near, either way
      // round when it is a loop.
      for (bool backwards : {false, true}) {
        if (fragment.start != fragment.end && backwards != (link.start != fragment.start)) continue;
        const PBBezierCurveData oriented = backwards ? PBBezierCurveDataReversed(link.curve) : link.curve;
        const bool same = fragment.start != fragment.end && link.curve.isStraightLine && curve.isStraightLine;
        if (same || controlPointsAgree(curve, oriented) ||
            (PBOverlayHugsChord(curve, kCoincidence / 2) && PBOverlayHugsChord(oriented, kCoincidence / 2)) ||
            (staysNear(curve, oriented) && staysNear(oriented, curve))) {
          coincident = static_cast<int>(candidate), reversed = backwards;
          break;
        }
      }
    }
    const int member = static_cast<int>(members_.size());
    members_.push_back({index, reversed, -1});
    const int operand = edges_[fragment.edge].operand;
    if (coincident >= 0) {
      Link& link = links_[coincident];
      link.crosses[operand] = !link.crosses[operand];
      members_[link.lastMember].next = member;
      link.lastMember = member;
      continue;
    }
    Link link{member, member, fragment.start, fragment.end, {false, false}, curve};
    link.crosses[operand] = true;
    links_.push_back(link);
  }
  // Links that cross neither operand's outline (an outline and its copy in one operand) bound nothing.
  std::erase_if(links_, [](const Link& link) { return !link.crosses[0] && !link.crosses[1]; });
}

void PBOverlay::orderAroundVertices() {
  const int halves = static_cast<int>(2 * links_.size());
  aroundStart_.assign(vertices_.size() + 1, 0);
  for (HalfEdge half = 0; half < halves; ++half) ++aroundStart_[origin(half) + 1];
  std::partial_sum(aroundStart_.begin(), aroundStart_.end(), aroundStart_.begin());
  around_.assign(halves, 0);
  std::vector<int> filled(aroundStart_.begin(), aroundStart_.end() - 1);
  for (HalfEdge half = 0; half < halves; ++half) around_[filled[origin(half)]++] = half;
  // Two half-edges are in the one order round their vertex there is: only where more meet are angles needed.
  std::vector<double> angle(halves);
  positionAround_.assign(halves, 0);
  for (std::size_t vertex = 0; vertex < vertices_.size(); ++vertex) {
    const auto begin = around_.begin() + aroundStart_[vertex], end = around_.begin() + aroundStart_[vertex + 1];
    if (end - begin > 2) {
      auto byAngle = [&angle](HalfEdge a, HalfEdge b) { return angle[a] < angle[b] || (angle[a] == angle[b] && a < b); };
      for (auto it = begin; it != end; ++it) angle[*it] = PBOverlayLeavingAngle(halfEdgeCurve(*it));
      std::sort(begin, end, byAngle);
      // Curves that leave nearly together are measured again at one distance from the vertex: at a point a given way
      // along, how fast each gets there could outweigh how they part.
      constexpr double kNear = 0.05;
      bool near = angle[*begin] + 2 * std::numbers::pi - angle[*(end - 1)] < kNear;
      for (auto it = begin + 1; it != end && !near; ++it) near = angle[*it] - angle[*(it - 1)] < kNear;
      if (near) {
        for (auto it = begin; it != end; ++it) angle[*it] = PBOverlayLeavingAngleAtReach(halfEdgeCurve(*it));
        std::sort(begin, end, byAngle);
      }
    }
    for (auto it = begin; it != end; ++it) positionAround_[*it] = static_cast<int>(it - around_.begin());
  }
}

PBOverlay::HalfEdge PBOverlay::clockwiseFrom(HalfEdge leaving) const {
  const int vertex = origin(leaving);
  const int position = positionAround_[leaving];
  return around_[position == aroundStart_[vertex] ? aroundStart_[vertex + 1] - 1 : position - 1];
}

void PBOverlay::traceFaces() {
  faceOf_.assign(2 * links_.size(), -1);
  faceInside_.clear();
  for (HalfEdge start = 0; start < static_cast<HalfEdge>(faceOf_.size()); ++start) {
    if (faceOf_[start] >= 0) continue;
    const int face = static_cast<int>(faceInside_.size());
    faceInside_.push_back(0);
    for (HalfEdge half = start; faceOf_[half] < 0; half = nextAlongFace(half)) faceOf_[half] = face;
  }
}

namespace {

// Positions 0 … count − 1 grouped by key (0 … keys − 1): `order` lists them key after key, `start` says where
// each key's begin, with the end after the last.
template <typename Key>
void groupBy(int count, int keys, Key key, std::vector<int>& order, std::vector<int>& start) {
  start.assign(keys + 1, 0);
  for (int i = 0; i < count; ++i) ++start[key(i) + 1];
  std::partial_sum(start.begin(), start.end(), start.begin());
  order.assign(count, 0);
  std::vector<int> filled(start.begin(), start.end() - 1);
  for (int i = 0; i < count; ++i) order[filled[key(i)]++] = i;
}

}  // namespace

void PBOverlay::labelFaces() {
  const int faceCount = static_cast<int>(faceInside_.size());
  const int vertexCount = static_cast<int>(vertices_.size());
  const int halves = static_cast<int>(faceOf_.size());
  // Connected parts of the links, through their vertices, each named by its first vertex.
  std::vector<int> part(vertexCount);
  std::iota(part.begin(), part.end(), 0);
  auto root = [&part](int vertex) {
    while (part[vertex] != vertex) vertex = part[vertex] = part[part[vertex]];
    return vertex;
  };
  for (const Link& link : links_) {
    const int a = root(link.start), b = root(link.end);
    if (a != b) part[std::max(a, b)] = std::min(a, b);
  }
  // Each part's outer face runs clockwise round it, the only face of the part with a negative area; what it lies
  // inside is what lies around the part, found by a ray that crosses only the other parts.
  std::vector<double> area(faceCount, 0);
  std::vector<int> faceRoot(faceCount, -1);
  for (std::size_t link = 0; link < links_.size(); ++link) {
    // Run backwards, a curve sweeps its area the other way round.
    const double term = PBOverlayAreaTerm(links_[link].curve);
    area[faceOf_[2 * link]] += term;
    area[faceOf_[2 * link + 1]] -= term;
  }
  for (HalfEdge half = 0; half < halves; ++half) faceRoot[faceOf_[half]] = root(origin(half));
  std::vector<int> outerFace(vertexCount, -1);
  for (int face = 0; face < faceCount; ++face) {
    int& outer = outerFace[faceRoot[face]];
    if (outer < 0 || area[face] < area[outer]) outer = face;
  }
  std::vector<int> roots;
  for (int vertex = 0; vertex < vertexCount; ++vertex) {
    if (outerFace[vertex] >= 0) roots.push_back(vertex);
  }
  std::vector<bool> labelled(faceCount, false);
  std::vector<int> pending;
  // One part lies in nothing but the outside.
  if (roots.size() > 1) {
    // Within a part, each operand's outline is closed, so a ray from a point outside a part's bounds crosses it
    // an even number of times: only the parts whose bounds hold the point count.
    std::vector<int> linksByPart, partStart;
    groupBy(static_cast<int>(links_.size()), vertexCount, [&](int link) { return root(links_[link].start); },
            linksByPart, partStart);
    std::vector<Rect> partBounds;
    for (int partRoot : roots) {
      double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
      for (int i = partStart[partRoot]; i < partStart[partRoot + 1]; ++i) {
        // Bounds of their own: lines along an axis have bounds of no width, which a union of rectangles passes over.
        const Rect rect = PBBezierCurveDataBoundingRect(&links_[linksByPart[i]].curve);
        minX = std::min(minX, rect.origin.x), maxX = std::max(maxX, rect.origin.x + rect.size.width);
        minY = std::min(minY, rect.origin.y), maxY = std::max(maxY, rect.origin.y + rect.size.height);
      }
      partBounds.push_back({minX, minY, maxX - minX, maxY - minY});
    }
    const PBRectIndex index(partBounds);
    for (int partRoot : roots) {
      const Point from = vertices_[partRoot].point;
      int crossings[2] = {0, 0};
      for (std::size_t found : index.overlapping({from.x, from.y, 0, 0})) {
        if (roots[found] == partRoot) continue;
        for (int i = partStart[roots[found]]; i < partStart[roots[found] + 1]; ++i) {
          const Link& link = links_[linksByPart[i]];
          const int count = PBOverlayCrossingsLeftOf(link.curve, from);
          for (int operand = 0; operand < 2; ++operand) {
            if (link.crosses[operand]) crossings[operand] += count;
          }
        }
      }
      const int face = outerFace[partRoot];
      faceInside_[face] = static_cast<std::uint8_t>((crossings[0] % 2) | (crossings[1] % 2) << 1);
    }
  }
  for (int partRoot : roots) {
    labelled[outerFace[partRoot]] = true;
    pending.push_back(outerFace[partRoot]);
  }
  // Across a link, the inside of each operand whose outline it carries changes.
  std::vector<int> halvesByFace, faceStart;
  groupBy(halves, faceCount, [&](int half) { return faceOf_[half]; }, halvesByFace, faceStart);
  while (!pending.empty()) {
    const int face = pending.back();
    pending.pop_back();
    for (int i = faceStart[face]; i < faceStart[face + 1]; ++i) {
      const HalfEdge half = halvesByFace[i];
      const int beyond = faceOf_[twin(half)];
      if (labelled[beyond]) continue;
      const Link& link = links_[half / 2];
      faceInside_[beyond] = faceInside_[face] ^ static_cast<std::uint8_t>(link.crosses[0] | link.crosses[1] << 1);
      labelled[beyond] = true;
      pending.push_back(beyond);
    }
  }
}
