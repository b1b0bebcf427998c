// An operation's result from the labelled faces: the links between its inside and its outside, joined into
// contours with the inside on their left, and pieces of one operand edge joined back into that edge.

#include <algorithm>

#include "boolean/bezier_contour.h"
#include "boolean/bezier_curve.h"
#include "boolean/overlay/overlay.h"

using platform::Point;

namespace {

bool combine(PBOverlay::Operation operation, std::uint8_t inside) {
  const bool ours = inside & 1, theirs = inside & 2;
  switch (operation) {
    case PBOverlay::Operation::Union: return ours || theirs;
    case PBOverlay::Operation::Intersect: return ours && theirs;
    case PBOverlay::Operation::Difference: return ours && !theirs;
    case PBOverlay::Operation::Xor: return ours != theirs;
  }
  return false;
}

// A run of an operand edge from one parameter to another (backwards when `to` is less), between two vertices.
struct Piece {
  int edge;
  double from, to;
  int start, end;
};

}  // namespace

PBOverlay::Outline PBOverlay::result(Operation operation) const {
  auto kept = [&](HalfEdge half) {
    return combine(operation, faceInside_[faceOf_[half]]) && !combine(operation, faceInside_[faceOf_[twin(half)]]);
  };
  // The piece of a member fragment that runs along the half-edge.
  auto pieceOf = [&](HalfEdge half, const Member& member) {
    const Fragment& fragment = fragments_[member.fragment];
    return (half & 1) != member.reversed ? Piece{fragment.edge, fragment.to, fragment.from, fragment.end, fragment.start}
                                         : Piece{fragment.edge, fragment.from, fragment.to, fragment.start, fragment.end};
  };
  Outline result;
  std::vector<bool> used(faceOf_.size(), false);
  for (HalfEdge first = 0; first < static_cast<HalfEdge>(faceOf_.size()); ++first) {
    if (used[first] || !kept(first)) continue;
    std::vector<HalfEdge> cycle;
    for (HalfEdge half = first; !used[half];) {
      used[half] = true;
      cycle.push_back(half);
      // Clockwise round the vertex from the way back, to the first kept link: the inside stays on the left.
      HalfEdge next = twin(half);
      do {
        next = clockwiseFrom(next);
      } while (!kept(next));
      half = next;
    }
    // Where coincident fragments offer a choice, the pieces of one operand contour that holds the whole cycle, else
    // those that go on along the edge of the piece before: an outline that comes back as it was, with no vertex more.
    auto memberOf = [&](HalfEdge half, int operand, int contour) -> const Member* {
      for (int m = links_[half / 2].firstMember; m >= 0; m = members_[m].next) {
        const Edge& edge = edges_[fragments_[members_[m].fragment].edge];
        if (edge.operand == operand && edge.contour == contour) return &members_[m];
      }
      return nullptr;
    };
    const Member* single = nullptr;
    for (int m = links_[cycle.front() / 2].firstMember; m >= 0 && !single; m = members_[m].next) {
      const Edge& edge = edges_[fragments_[members_[m].fragment].edge];
      if (std::all_of(cycle.begin(), cycle.end(),
                      [&](HalfEdge half) { return memberOf(half, edge.operand, edge.contour) != nullptr; })) {
        single = &members_[m];
      }
    }
    std::vector<Piece> pieces;
    for (HalfEdge half : cycle) {
      const Link& link = links_[half / 2];
      const Member* chosen = &members_[link.firstMember];
      if (single) {
        const Edge& edge = edges_[fragments_[single->fragment].edge];
        chosen = memberOf(half, edge.operand, edge.contour);
      } else if (!pieces.empty()) {
        for (int m = link.firstMember; m >= 0; m = members_[m].next) {
          if (fragments_[members_[m].fragment].edge == pieces.back().edge) chosen = &members_[m];
        }
      }
      const Piece piece = pieceOf(half, *chosen);
      // The same edge on from where the last piece stopped: one piece.
      if (!pieces.empty() && pieces.back().edge == piece.edge && pieces.back().to == piece.from &&
          (pieces.back().to > pieces.back().from) == (piece.to > piece.from)) {
        pieces.back().to = piece.to;
        pieces.back().end = piece.end;
      } else {
        pieces.push_back(piece);
      }
    }
    if (pieces.size() > 1 && pieces.front().edge == pieces.back().edge && pieces.back().to == pieces.front().from &&
        (pieces.back().to > pieces.back().from) == (pieces.front().to > pieces.front().from)) {
      pieces.front().from = pieces.back().from;
      pieces.front().start = pieces.back().start;
      pieces.pop_back();
    }
    // A whole operand contour comes back as it was: from its first edge and in its own direction, which an
    // even-odd fill does not see but a caller may.
    const Edge& lead = edges_[pieces.front().edge];
    const bool whole = std::all_of(pieces.begin(), pieces.end(), [&](const Piece& piece) {
      const Edge& edge = edges_[piece.edge];
      return edge.operand == lead.operand && edge.contour == lead.contour &&
             std::min(piece.from, piece.to) == 0 && std::max(piece.from, piece.to) == 1;
    }) && static_cast<int>(pieces.size()) == lead.edgeCount;
    if (whole) {
      if (pieces.front().to < pieces.front().from) {
        std::reverse(pieces.begin(), pieces.end());
        for (Piece& piece : pieces) std::swap(piece.from, piece.to), std::swap(piece.start, piece.end);
      }
      std::rotate(pieces.begin(), std::find_if(pieces.begin(), pieces.end(),
                                               [&](const Piece& piece) { return edges_[piece.edge].index == 0; }),
                  pieces.end());
    }
    std::vector<PBBezierCurveData>& contour = result.emplace_back();
    for (const Piece& piece : pieces) {
      const Edge& edge = edges_[piece.edge];
      const Point start = vertices_[piece.start].output, end = vertices_[piece.end].output;
      if (edge.original.isStraightLine) {
        contour.push_back(PBBezierCurveDataMakeLine(start, end));
        continue;
      }
      PBBezierCurveData curve = edge.original;
      if (std::min(piece.from, piece.to) > 0 || std::max(piece.from, piece.to) < 1) {
        curve = PBBezierCurveDataSubcurveWithRange(curve, {std::min(piece.from, piece.to), std::max(piece.from, piece.to)});
      }
      if (piece.to < piece.from) curve = PBBezierCurveDataReversed(curve);
      contour.push_back(PBBezierCurveDataMake(start, curve.controlPoint1, curve.controlPoint2, end, false));
    }
  }
  return result;
}

std::vector<std::shared_ptr<PBBezierContour>> PBOverlay::contours(Operation operation) const {
  std::vector<std::shared_ptr<PBBezierContour>> contours;
  for (const auto& ring : result(operation)) {
    auto& contour = contours.emplace_back(std::make_shared<PBBezierContour>());
    for (const PBBezierCurveData& data : ring) contour->addCurve(std::make_shared<PBBezierCurve>(data));
  }
  return contours;
}

platform::BezierPath PBOverlay::path(Operation operation) const {
  platform::BezierPath path;
  path.setWindingRule(platform::WindingRule::EvenOdd);
  for (const auto& ring : result(operation)) {
    path.moveTo(ring.front().endPoint1);
    for (const PBBezierCurveData& data : ring) {
      if (data.isStraightLine) {
        path.lineTo(data.endPoint2);
      } else {
        path.curveTo(data.endPoint2, data.controlPoint1, data.controlPoint2);
      }
    }
    path.closePath();
  }
  return path;
}
