#include "geometry/polygon_clip_crossings.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "geometry/polygon_clip_boundaries.h"

namespace polygonclip {

std::vector<Crossing>& CrossingFinder::find(Edge* activeEdges, double yb, double yt) {
  sorted_.clear();
  crossings_.clear();
  newest_ = -1;
  for (Edge* edge = activeEdges; edge; edge = edge->next) {
    if (takesPartInCrossings(*edge)) insert(edge, yt - yb);
  }
  // Equal heights keep the order they were found in.
  std::stable_sort(crossings_.begin(), crossings_.end(),
                   [](const Crossing& a, const Crossing& b) { return a.y < b.y; });
  return crossings_;
}

// The sorted entries run from the newest (largest x at the top) to the oldest. The new edge
// passes every entry whose top x lies beyond its own, crossing it on the way.
void CrossingFinder::insert(Edge* edge, double dy) {
  int before = -1;  // the entry whose `older` link leads to `at`; -1 for the list's head
  int at = newest_;
  while (at != -1) {
    const Edge& entry = *sorted_[at].edge;
    const double denominator = (entry.xt - entry.xb) - (edge->xt - edge->xb);
    if (edge->xt >= entry.xt || edge->dx == entry.dx || std::fabs(denominator) <= DBL_EPSILON) break;
    // Nearly parallel edges that escaped bundling could put the crossing outside the beam.
    const double r = std::clamp((edge->xb - entry.xb) / denominator, 0.0, 1.0);
    crossings_.push_back({sorted_[at].edge, edge, entry.xb + r * (entry.xt - entry.xb), r * dy});
    before = at;
    at = sorted_[at].older;
  }
  sorted_.push_back({edge, at});
  const int index = static_cast<int>(sorted_.size()) - 1;
  (before == -1 ? newest_ : sorted_[before].older) = index;
}

namespace {

// Only tails, which move with their heads, may stand between the two.
bool neighbours(const Crossing& crossing) {
  const Edge* next = crossing.e0->next;
  while (next && next->state[kAbove] == kBundleTail) next = next->next;
  return next == crossing.e1;
}

}  // namespace

void bringNeighboursForward(std::vector<Crossing>& crossings, std::size_t at) {
  if (neighbours(crossings[at])) return;
  for (std::size_t later = at + 1; later < crossings.size(); ++later) {
    if (neighbours(crossings[later])) {
      std::swap(crossings[at], crossings[later]);
      return;
    }
  }
}

int crossingClass(PolygonOperation operation, const Edge& e0, const Edge& e1) {
  const bool a0[2] = {bundled(e0, kAbove, kClip), bundled(e0, kAbove, kSubject)};
  const bool a1[2] = {bundled(e1, kAbove, kClip), bundled(e1, kAbove, kSubject)};
  bool in[2];
  for (int c : {kClip, kSubject}) {
    const bool s0 = sideOf(e0, c), s1 = sideOf(e1, c);
    in[c] = (a0[c] && !s0) || (a1[c] && s1) || (!a0[c] && !a1[c] && s0 && s1);
  }
  const bool tr = combine(operation, in[kClip], in[kSubject]);
  const bool tl = combine(operation, in[kClip] != a1[kClip], in[kSubject] != a1[kSubject]);
  const bool br = combine(operation, in[kClip] != a0[kClip], in[kSubject] != a0[kSubject]);
  const bool bl =
      combine(operation, (in[kClip] != a0[kClip]) != a1[kClip], (in[kSubject] != a0[kSubject]) != a1[kSubject]);
  return tr + 2 * tl + 4 * br + 8 * bl;
}

void swapCrossingEdges(Edge*& activeEdges, Edge& e0, Edge& e1) {
  // Each edge's side flips for the owners whose flag the other carries above.
  const unsigned e0Flags = e0.bundle & kAboveBits, e1Flags = e1.bundle & kAboveBits;
  e1.side ^= e0Flags;
  e0.side ^= e1Flags;
  Edge* first = &e0;
  if (e0.state[kAbove] == kBundleHead) {
    while (first->prev && first->prev->state[kAbove] == kBundleTail) first = first->prev;
  }
  Edge* before = first->prev;
  Edge* after = e0.next;
  if (before) {
    before->next = after;
  } else {
    activeEdges = after;
  }
  if (after) after->prev = before;
  Edge* beyond = e1.next;
  e1.next = first;
  first->prev = &e1;
  e0.next = beyond;
  if (beyond) beyond->prev = &e0;
}

void applyContourCrossingAction(ContourBuilder& contours, Edge& e0, Edge& e1, int vertexClass, double x, double y) {
  const int p = e0.output[kAbove];
  const int q = e1.output[kAbove];
  const bool hasP = p != kNoOutput;
  const bool hasQ = q != kNoOutput;
  switch (vertexClass) {
    case kInternalMinimum:
    case kExternalMinimum:
      e0.output[kAbove] = contours.open(x, y);
      e1.output[kAbove] = e0.output[kAbove];
      break;
    case kExternalRight:
      if (hasP) {
        contours.addRight(p, x, y);
        e1.output[kAbove] = p;
        e0.output[kAbove] = kNoOutput;
      }
      break;
    case kExternalLeft:
      if (hasQ) {
        contours.addLeft(q, x, y);
        e0.output[kAbove] = q;
        e1.output[kAbove] = kNoOutput;
      }
      break;
    case kExternalMaximum:
      if (hasP && hasQ) {
        contours.addLeft(p, x, y);
        contours.joinRight(p, q);
        e0.output[kAbove] = e1.output[kAbove] = kNoOutput;
      }
      break;
    case kInternalLeft:
      if (hasP) {
        contours.addLeft(p, x, y);
        e1.output[kAbove] = p;
        e0.output[kAbove] = kNoOutput;
      }
      break;
    case kInternalRight:
      if (hasQ) {
        contours.addRight(q, x, y);
        e0.output[kAbove] = q;
        e1.output[kAbove] = kNoOutput;
      }
      break;
    case kInternalMaximum:
      if (hasP && hasQ) {
        contours.addRight(p, x, y);
        contours.joinLeft(p, q);
        e0.output[kAbove] = e1.output[kAbove] = kNoOutput;
      }
      break;
    case kInternalMaximumAndMinimum:
      if (hasP && hasQ) {
        contours.addRight(p, x, y);
        contours.joinLeft(p, q);
        e0.output[kAbove] = contours.open(x, y);
        e1.output[kAbove] = e0.output[kAbove];
      }
      break;
    case kExternalMaximumAndMinimum:
      if (hasP && hasQ) {
        contours.addLeft(p, x, y);
        contours.joinRight(p, q);
        e0.output[kAbove] = contours.open(x, y);
        e1.output[kAbove] = e0.output[kAbove];
      }
      break;
    default: break;
  }
}

}  // namespace polygonclip
