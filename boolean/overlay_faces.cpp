// Links from the cut pieces, the faces they bound, and what each face lies inside.

#include <algorithm>
#include <cmath>
#include <deque>
#include <numeric>
#include <unordered_map>

#include "boolean/overlay.h"
#include "boolean/overlay_geometry.h"
#include "boolean/rect_index.h"

using platform::Point;
using platform::Rect;

namespace {

// Pieces between the same two vertices coincide when each stays this close to the other: wider than the
// tolerance of the cutting, so that pieces cut as meeting at both ends are never kept apart by a hair.
constexpr double kCoincidence = 4 * PBOverlay::kTolerance;

bool staysNear(const PBBezierCurveData& piece, const PBBezierCurveData& other) {
  for (double t : {0.125, 0.25, 0.5, 0.75, 0.875}) {
    if (PBOverlayClosestLocation(other, PBOverlayPointAt(piece, t)).distance > kCoincidence) return false;
  }
  return true;
}

}  // namespace

PBBezierCurveData PBOverlay::halfEdgeCurve(HalfEdge half) const {
  const PBBezierCurveData& curve = links_[half / 2].curve;
  return half & 1 ? PBBezierCurveDataReversed(curve) : curve;
}

void PBOverlay::mergeCoincidentFragments() {
  links_.clear();
  std::unordered_map<std::uint64_t, std::vector<int>> linksBetween;
  for (std::size_t i = 0; i < fragments_.size(); ++i) {
    const Fragment& fragment = fragments_[i];
    const Edge& edge = edges_[fragment.edge];
    PBBezierCurveData curve;
    if (edge.curve.isStraightLine) {
      curve = PBBezierCurveDataMakeLine(vertices_[fragment.start].point, vertices_[fragment.end].point);
    } else {
      curve = PBBezierCurveDataSubcurveWithRange(edge.curve, {fragment.from, fragment.to});
      curve.endPoint1 = vertices_[fragment.start].point;
      curve.endPoint2 = vertices_[fragment.end].point;
    }
    const auto low = static_cast<std::uint64_t>(std::min(fragment.start, fragment.end));
    const auto high = static_cast<std::uint64_t>(std::max(fragment.start, fragment.end));
    std::vector<int>& between = linksBetween[low << 32 | high];
    int coincident = -1;
    bool reversed = false;
    for (int candidate : between) {
      const Link& link = links_[candidate];
      // Two straight pieces between one pair of vertices are one piece; anything else must stay near, either way
      // round when it is a loop.
      if (fragment.start != fragment.end) {
        reversed = link.start != fragment.start;
        const PBBezierCurveData oriented = reversed ? PBBezierCurveDataReversed(link.curve) : link.curve;
        if ((link.curve.isStraightLine && curve.isStraightLine) || (staysNear(curve, oriented) && staysNear(oriented, curve))) {
          coincident = candidate;
          break;
        }
        continue;
      }
      for (bool backwards : {false, true}) {
        const PBBezierCurveData oriented = backwards ? PBBezierCurveDataReversed(link.curve) : link.curve;
        if (coincident < 0 && staysNear(curve, oriented) && staysNear(oriented, curve)) coincident = candidate, reversed = backwards;
      }
      if (coincident >= 0) break;
    }
    if (coincident >= 0) {
      links_[coincident].crosses[edge.operand] = !links_[coincident].crosses[edge.operand];
      links_[coincident].members.push_back({static_cast<int>(i), reversed});
      continue;
    }
    Link link{{{static_cast<int>(i), false}}, fragment.start, fragment.end, {false, false}, curve};
    link.crosses[edge.operand] = true;
    between.push_back(static_cast<int>(links_.size()));
    links_.push_back(link);
  }
  // Links that cross neither operand's outline (an outline and its copy in one operand) bound nothing.
  std::erase_if(links_, [](const Link& link) { return !link.crosses[0] && !link.crosses[1]; });
}

void PBOverlay::orderAroundVertices() {
  around_.assign(vertices_.size(), {});
  std::vector<double> angle(2 * links_.size());
  for (std::size_t link = 0; link < links_.size(); ++link) {
    for (HalfEdge half : {static_cast<HalfEdge>(2 * link), static_cast<HalfEdge>(2 * link + 1)}) {
      angle[half] = PBOverlayLeavingAngle(halfEdgeCurve(half));
      around_[origin(half)].push_back(half);
    }
  }
  positionAround_.assign(2 * links_.size(), 0);
  for (std::vector<HalfEdge>& leaving : around_) {
    std::sort(leaving.begin(), leaving.end(),
              [&angle](HalfEdge a, HalfEdge b) { return angle[a] < angle[b] || (angle[a] == angle[b] && a < b); });
    for (std::size_t i = 0; i < leaving.size(); ++i) positionAround_[leaving[i]] = static_cast<int>(i);
  }
}

PBOverlay::HalfEdge PBOverlay::clockwiseFrom(HalfEdge leaving) const {
  const std::vector<HalfEdge>& around = around_[origin(leaving)];
  const int count = static_cast<int>(around.size());
  return around[(positionAround_[leaving] + count - 1) % count];
}

void PBOverlay::traceFaces() {
  faceOf_.assign(2 * links_.size(), -1);
  for (HalfEdge start = 0; start < static_cast<HalfEdge>(faceOf_.size()); ++start) {
    if (faceOf_[start] >= 0) continue;
    const int face = static_cast<int>(faceInside_.size());
    faceInside_.push_back(0);
    for (HalfEdge half = start; faceOf_[half] < 0; half = nextAlongFace(half)) faceOf_[half] = face;
  }
}

void PBOverlay::labelFaces() {
  const std::size_t faceCount = faceInside_.size();
  // Connected parts of the links, through their vertices.
  std::vector<int> part(vertices_.size());
  std::iota(part.begin(), part.end(), 0);
  auto root = [&part](int vertex) {
    while (part[vertex] != vertex) vertex = part[vertex] = part[part[vertex]];
    return vertex;
  };
  for (const Link& link : links_) {
    const int a = root(link.start), b = root(link.end);
    if (a != b) part[std::max(a, b)] = std::min(a, b);
  }
  std::vector<double> area(faceCount, 0);
  std::vector<int> faceRoot(faceCount, -1);
  for (HalfEdge half = 0; half < static_cast<HalfEdge>(faceOf_.size()); ++half) {
    area[faceOf_[half]] += PBOverlayAreaTerm(halfEdgeCurve(half));
    faceRoot[faceOf_[half]] = root(origin(half));
  }
  // Each part's outer face runs clockwise round it, the only face of the part with a negative area; what it lies
  // inside is what lies around the part, found by a ray that crosses only the other parts.
  std::unordered_map<int, int> outerFace;
  for (std::size_t face = 0; face < faceCount; ++face) {
    const auto [entry, fresh] = outerFace.try_emplace(faceRoot[face], static_cast<int>(face));
    if (!fresh && area[face] < area[entry->second]) entry->second = static_cast<int>(face);
  }
  std::vector<Rect> rects;
  rects.reserve(links_.size());
  for (Link& link : links_) rects.push_back(PBBezierCurveDataBoundingRect(&link.curve));
  const PBRectIndex index(rects);
  std::vector<bool> labelled(faceCount, false);
  std::deque<int> pending;
  for (const auto& [partRoot, face] : outerFace) {
    const Point from = vertices_[partRoot].point;
    // The working frame reaches 512 from its centre at most.
    const Rect ray{-1024, from.y, from.x + 1024, 0};
    int crossings[2] = {0, 0};
    for (std::size_t found : index.overlapping(ray)) {
      const Link& link = links_[found];
      if (root(link.start) == partRoot) continue;
      const int count = PBOverlayCrossingsLeftOf(link.curve, from);
      for (int operand = 0; operand < 2; ++operand) {
        if (link.crosses[operand]) crossings[operand] += count;
      }
    }
    faceInside_[face] = static_cast<std::uint8_t>((crossings[0] % 2) | (crossings[1] % 2) << 1);
    labelled[face] = true;
    pending.push_back(face);
  }
  // Across a link, the inside of each operand whose outline it carries changes.
  std::vector<std::vector<HalfEdge>> halvesOf(faceCount);
  for (HalfEdge half = 0; half < static_cast<HalfEdge>(faceOf_.size()); ++half) halvesOf[faceOf_[half]].push_back(half);
  while (!pending.empty()) {
    const int face = pending.front();
    pending.pop_front();
    for (HalfEdge half : halvesOf[face]) {
      const int beyond = faceOf_[twin(half)];
      if (labelled[beyond]) continue;
      const Link& link = links_[half / 2];
      faceInside_[beyond] = faceInside_[face] ^ static_cast<std::uint8_t>(link.crosses[0] | link.crosses[1] << 1);
      labelled[beyond] = true;
      pending.push_back(beyond);
    }
  }
}
