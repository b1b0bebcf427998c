#include "geometry/polygon_clip_strips.h"

#include "geometry/polygon_clip_boundaries.h"
#include "geometry/polygon_clip_sweep.h"
#include "geometry/polygon_clipper.h"

namespace polygonclip {
namespace {

// The nearest edge left of `from` (or right, by `step`) with an output above, and its x at
// height y; null when there is none.
Edge* nearestWithOutput(Edge& from, Edge* Edge::*step, double y, double& x) {
  Edge* edge = from.*step;
  while (edge && edge->output[kAbove] == kNoOutput) edge = edge->*step;
  if (edge) x = edgeXAt(*edge, y);
  return edge;
}

}  // namespace

int StripBuilder::open(double x, double y) {
  strips_.emplace_back();
  const int id = static_cast<int>(strips_.size()) - 1;
  add(id, kLeft, x, y);
  return id;
}

void StripBuilder::add(int strip, int side, double x, double y) {
  if (strip == kNoOutput) return;
  vertices_.push_back({x, y, -1});
  const int vertex = static_cast<int>(vertices_.size()) - 1;
  Strip& s = strips_[strip];
  if (s.tail[side] == -1) {
    s.head[side] = vertex;
  } else {
    vertices_[s.tail[side]].next = vertex;
  }
  s.tail[side] = vertex;
  ++s.count;
}

TristripRecord StripBuilder::result() const {
  TristripRecord tristrip;
  for (const Strip& strip : strips_) {
    if (strip.count < 3) continue;
    PolygonContour& vertices = tristrip.strips.emplace_back();
    vertices.reserve(static_cast<std::size_t>(strip.count));
    int left = strip.head[kLeft];
    int right = strip.head[kRight];
    while (left != -1 || right != -1) {
      if (left != -1) {
        vertices.push_back({vertices_[left].x, vertices_[left].y});
        left = vertices_[left].next;
      }
      if (right != -1) {
        vertices.push_back({vertices_[right].x, vertices_[right].y});
        right = vertices_[right].next;
      }
    }
  }
  return tristrip;
}

void StripOutput::beginBoundary() {
  carried_ = nullptr;
  lastLeftClass_ = 0;
}

void StripOutput::add(const Edge* edge, int which, int side, double x, double y) {
  if (edge) strips_.add(edge->output[which], side, x, y);
}

void StripOutput::restartCarriedStrip(double yb) {
  if (lastLeftClass_ != kLeftEdge || !carried_) return;
  if (carried_->bottom.y != yb) add(carried_, kBelow, kLeft, carried_->xb, yb);
  newStrip(*carried_, carried_->xb, yb);
}

void StripOutput::boundary(Edge& edge, int vertexClass, double yb) {
  const double x = edge.xb;
  // Where the walk carries no edge, a vertex counts as a move in x.
  const bool moved = !carried_ || x != carried_->xb;
  const int carriedAbove = carried_ ? carried_->output[kAbove] : kNoOutput;
  switch (vertexClass) {
    case kExternalMinimum:
      newStrip(edge, x, yb);
      carried_ = &edge;
      break;
    case kExternalRight:
      edge.output[kAbove] = carriedAbove;
      if (moved) add(&edge, kAbove, kRight, x, yb);
      carried_ = nullptr;
      break;
    case kExternalLeft:
      add(&edge, kBelow, kLeft, x, yb);
      edge.output[kAbove] = kNoOutput;
      carried_ = &edge;
      break;
    case kExternalMaximum:
      // Left out only where the carried edge put this vertex into the same strip: a strip that
      // merely touches another here still needs it.
      if (moved || carried_->output[kBelow] != edge.output[kBelow]) add(&edge, kBelow, kRight, x, yb);
      edge.output[kAbove] = kNoOutput;
      carried_ = nullptr;
      break;
    case kInternalMinimum:
      restartCarriedStrip(yb);
      edge.output[kAbove] = carried_ ? carried_->output[kAbove] : kNoOutput;
      add(&edge, kAbove, kRight, x, yb);
      break;
    case kInternalLeft:
      newStrip(edge, x, yb);
      carried_ = &edge;
      lastLeftClass_ = kInternalLeft;
      break;
    case kInternalRight:
      restartCarriedStrip(yb);
      add(&edge, kBelow, kRight, x, yb);
      edge.output[kAbove] = kNoOutput;
      break;
    case kInternalMaximum:
      add(&edge, kBelow, kLeft, x, yb);
      edge.output[kAbove] = kNoOutput;
      lastLeftClass_ = kInternalMaximum;
      break;
    case kInternalMaximumAndMinimum:
      add(&edge, kBelow, kLeft, x, yb);
      edge.output[kAbove] = carriedAbove;
      if (moved) add(carried_, kAbove, kRight, x, yb);
      carried_ = &edge;
      break;
    case kExternalMaximumAndMinimum:
      add(&edge, kBelow, kRight, x, yb);
      edge.output[kAbove] = kNoOutput;
      newStrip(edge, x, yb);
      carried_ = &edge;
      break;
    case kLeftEdge:
      if (edge.bottom.y == yb) add(&edge, kBelow, kLeft, x, yb);
      edge.output[kAbove] = edge.output[kBelow];
      carried_ = &edge;
      lastLeftClass_ = kLeftEdge;
      break;
    case kRightEdge:
      edge.output[kAbove] = carriedAbove;
      if (lastLeftClass_ == kLeftEdge && carried_) {
        if (carried_->bottom.y == yb) {
          add(&edge, kBelow, kRight, x, yb);
        } else if (edge.bottom.y == yb) {
          add(carried_, kBelow, kLeft, carried_->xb, yb);
          add(&edge, kBelow, kRight, x, yb);
        }
      } else {
        add(&edge, kBelow, kRight, x, yb);
        add(&edge, kAbove, kRight, x, yb);
      }
      carried_ = nullptr;
      break;
    default: break;  // 0, 3, 12, 15: no vertex here
  }
}

void StripOutput::openStripsAtCrossing(Edge& e0, Edge& e1, double x, double y) {
  double px = 0, nx = 0;
  Edge* prev = nearestWithOutput(e0, &Edge::prev, y, px);
  add(prev, kAbove, kLeft, px, y);
  Edge* next = nearestWithOutput(e1, &Edge::next, y, nx);
  add(next, kAbove, kRight, nx, y);
  if (prev) newStrip(*prev, px, y);
  e1.output[kAbove] = prev ? prev->output[kAbove] : kNoOutput;
  add(&e1, kAbove, kRight, x, y);
  newStrip(e0, x, y);
  if (next) next->output[kAbove] = e0.output[kAbove];
  add(next, kAbove, kRight, nx, y);
}

void StripOutput::crossing(Edge& e0, Edge& e1, int vertexClass, double x, double y) {
  const bool p = e0.output[kAbove] != kNoOutput;
  const bool q = e1.output[kAbove] != kNoOutput;
  double px = 0, nx = 0;
  switch (vertexClass) {
    case kExternalMinimum:
      newStrip(e1, x, y);
      e0.output[kAbove] = e1.output[kAbove];
      break;
    case kExternalRight:
      if (p) {
        Edge* prev = nearestWithOutput(e0, &Edge::prev, y, px);
        add(prev, kAbove, kLeft, px, y);
        add(&e0, kAbove, kRight, x, y);
        e1.output[kAbove] = e0.output[kAbove];
        e0.output[kAbove] = kNoOutput;
      }
      break;
    case kExternalLeft:
      if (q) {
        Edge* next = nearestWithOutput(e1, &Edge::next, y, nx);
        add(&e1, kAbove, kLeft, x, y);
        add(next, kAbove, kRight, nx, y);
        e0.output[kAbove] = e1.output[kAbove];
        e1.output[kAbove] = kNoOutput;
      }
      break;
    case kExternalMaximum:
      if (p && q) {
        add(&e0, kAbove, kLeft, x, y);
        e0.output[kAbove] = e1.output[kAbove] = kNoOutput;
      }
      break;
    case kInternalMinimum: openStripsAtCrossing(e0, e1, x, y); break;
    case kInternalLeft:
      if (p) {
        add(&e0, kAbove, kLeft, x, y);
        Edge* next = nearestWithOutput(e1, &Edge::next, y, nx);
        add(next, kAbove, kRight, nx, y);
        e1.output[kAbove] = e0.output[kAbove];
        e0.output[kAbove] = kNoOutput;
      }
      break;
    case kInternalRight:
      if (q) {
        add(&e1, kAbove, kRight, x, y);
        Edge* prev = nearestWithOutput(e0, &Edge::prev, y, px);
        add(prev, kAbove, kLeft, px, y);
        e0.output[kAbove] = e1.output[kAbove];
        e1.output[kAbove] = kNoOutput;
      }
      break;
    case kInternalMaximum:
      if (p && q) {
        add(&e0, kAbove, kRight, x, y);
        add(&e1, kAbove, kLeft, x, y);
        e0.output[kAbove] = e1.output[kAbove] = kNoOutput;
        Edge* prev = nearestWithOutput(e0, &Edge::prev, y, px);
        add(prev, kAbove, kLeft, px, y);
        if (prev) newStrip(*prev, px, y);
        Edge* next = nearestWithOutput(e1, &Edge::next, y, nx);
        add(next, kAbove, kRight, nx, y);
        if (next) next->output[kAbove] = prev ? prev->output[kAbove] : kNoOutput;
        add(next, kAbove, kRight, nx, y);
      }
      break;
    case kInternalMaximumAndMinimum:
      if (p && q) {
        add(&e0, kAbove, kRight, x, y);
        add(&e1, kAbove, kLeft, x, y);
        openStripsAtCrossing(e0, e1, x, y);
      }
      break;
    case kExternalMaximumAndMinimum:
      if (p && q) {
        add(&e0, kAbove, kLeft, x, y);
        newStrip(e1, x, y);
        e0.output[kAbove] = e1.output[kAbove];
      }
      break;
    default: break;
  }
}

}  // namespace polygonclip

void clipPolygonsToTristrip(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                            TristripRecord& result) {
  polygonclip::StripOutput output;
  polygonclip::clipWithSweep(operation, subject, clip, output);
  result = output.result();
}

void polygonToTristrip(const PolygonRecord& polygon, TristripRecord& result) {
  clipPolygonsToTristrip(PolygonOperation::Difference, polygon, PolygonRecord{}, result);
}
