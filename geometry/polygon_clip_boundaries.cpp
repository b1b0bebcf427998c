#include "geometry/polygon_clip_boundaries.h"

#include <cfloat>

namespace polygonclip {

bool combine(PolygonOperation operation, bool clip, bool subject) {
  switch (operation) {
    case PolygonOperation::Difference:
    case PolygonOperation::Intersection: return clip && subject;
    case PolygonOperation::ExclusiveOr: return clip != subject;
    case PolygonOperation::Union: return clip || subject;
  }
  return false;
}

namespace {

// Whether a horizontal run of an input is open at the boundary, at its bottom or its top.
enum HorizontalState { kNone = 0, kBottom = 1, kTop = 2 };

// [current state][2 × (exists − 1) + parity after the edge], exists being 1 (an edge above
// only), 2 (below only) or 3 (both).
constexpr int kNextHorizontalState[3][6] = {
    {kBottom, kTop, kTop, kBottom, kNone, kNone},
    {kNone, kNone, kNone, kNone, kTop, kTop},
    {kNone, kNone, kNone, kNone, kBottom, kBottom},
};

// Whether a vertex on the boundary can add to the result, from the state left of it.
bool contributes(PolygonOperation operation, const int exists[2], const bool p[2], const bool h[2]) {
  switch (operation) {
    case PolygonOperation::Difference:
    case PolygonOperation::Intersection:
      return (exists[kClip] && (p[kSubject] || h[kSubject])) || (exists[kSubject] && (p[kClip] || h[kClip])) ||
             (exists[kClip] && exists[kSubject] && p[kClip] == p[kSubject]);
    case PolygonOperation::ExclusiveOr: return true;
    case PolygonOperation::Union:
      return (exists[kClip] && (!p[kSubject] || h[kSubject])) || (exists[kSubject] && (!p[kClip] || h[kClip])) ||
             (exists[kClip] && exists[kSubject] && p[kClip] == p[kSubject]);
  }
  return false;
}

}  // namespace

BoundaryWalk::BoundaryWalk(PolygonOperation operation) : state_(operation == PolygonOperation::Difference) {
  for (unsigned flags = 0; flags < 16; ++flags) {
    const bool above[2] = {(flags & bundleBit(kAbove, kClip)) != 0, (flags & bundleBit(kAbove, kSubject)) != 0};
    const bool below[2] = {(flags & bundleBit(kBelow, kClip)) != 0, (flags & bundleBit(kBelow, kSubject)) != 0};
    const int exists[2] = {above[kClip] + 2 * below[kClip], above[kSubject] + 2 * below[kSubject]};
    for (int state = 0; state < 64; ++state) {
      const bool p[2] = {(state & 1) != 0, (state & 2) != 0};
      int horizontal[2] = {state >> 2 & 3, state >> 4 & 3};
      if (horizontal[kClip] > kTop || horizontal[kSubject] > kTop) continue;
      const bool h[2] = {horizontal[kClip] != kNone, horizontal[kSubject] != kNone};
      // The quadrants and the contribution use the state before the edge.
      const bool br = combine(operation, p[kClip], p[kSubject]);
      const bool bl = combine(operation, p[kClip] != above[kClip], p[kSubject] != above[kSubject]);
      const bool tr = combine(operation, p[kClip] != h[kClip], p[kSubject] != h[kSubject]);
      const bool tl =
          combine(operation, (p[kClip] != h[kClip]) != below[kClip], (p[kSubject] != h[kSubject]) != below[kSubject]);
      const bool contributing = contributes(operation, exists, p, h);
      bool parity[2];
      for (int owner : {kClip, kSubject}) {
        parity[owner] = p[owner] != above[owner];
        if (exists[owner])
          horizontal[owner] = kNextHorizontalState[horizontal[owner]][2 * (exists[owner] - 1) + parity[owner]];
      }
      Step& step = steps_[flags << 6 | state];
      step.vertexClass = static_cast<signed char>(contributing ? tr + 2 * tl + 4 * br + 8 * bl : -1);
      step.next = static_cast<unsigned char>(parity[kClip] | parity[kSubject] << 1 | horizontal[kClip] << 2 |
                                             horizontal[kSubject] << 4);
    }
  }
}

void ContourBoundaryActions::beginBoundary() {
  px_ = -DBL_MAX;
  carried_ = kNoOutput;
}

bool ContourBoundaryActions::newX(double x) {
  if (x == px_) return false;
  px_ = x;
  return true;
}

void ContourBoundaryActions::apply(Edge& edge, int vertexClass, double yb) {
  const double x = edge.xb;
  int& above = edge.output[kAbove];
  int& below = edge.output[kBelow];
  switch (vertexClass) {
    case kInternalMinimum:
    case kExternalMinimum:
      above = contours_.open(x, yb);
      px_ = x;
      carried_ = above;
      break;
    case kExternalRight:
      if (newX(x)) contours_.addRight(carried_, x, yb);
      above = carried_;
      carried_ = kNoOutput;
      break;
    case kExternalLeft:
      contours_.addLeft(below, x, yb);
      px_ = x;
      carried_ = below;
      break;
    case kExternalMaximum:
      if (newX(x)) contours_.addLeft(carried_, x, yb);
      contours_.joinRight(carried_, below);
      carried_ = kNoOutput;
      break;
    case kInternalLeft:
      if (newX(x)) contours_.addLeft(carried_, x, yb);
      above = carried_;
      carried_ = kNoOutput;
      break;
    case kInternalRight:
      contours_.addRight(below, x, yb);
      px_ = x;
      carried_ = below;
      below = kNoOutput;
      break;
    case kInternalMaximum:
      if (newX(x)) contours_.addRight(carried_, x, yb);
      contours_.joinLeft(carried_, below);
      carried_ = kNoOutput;
      below = kNoOutput;
      break;
    case kInternalMaximumAndMinimum:
      if (newX(x)) contours_.addRight(carried_, x, yb);
      contours_.joinLeft(carried_, below);
      below = kNoOutput;
      above = contours_.open(x, yb);
      carried_ = above;
      break;
    case kExternalMaximumAndMinimum:
      if (newX(x)) contours_.addLeft(carried_, x, yb);
      contours_.joinRight(carried_, below);
      below = kNoOutput;
      above = contours_.open(x, yb);
      carried_ = above;
      break;
    case kLeftEdge:
      if (edge.bottom.y == yb) contours_.addLeft(below, x, yb);
      above = below;
      px_ = x;
      break;
    case kRightEdge:
      if (edge.bottom.y == yb) contours_.addRight(below, x, yb);
      above = below;
      px_ = x;
      break;
    default: break;  // 0, 3, 12, 15: no vertex here
  }
}

}  // namespace polygonclip
