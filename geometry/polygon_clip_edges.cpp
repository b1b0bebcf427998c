#include "geometry/polygon_clip_edges.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace polygonclip {
namespace {

constexpr double kLargestCoordinate = 1e15;

struct Box {
  double minX = DBL_MAX, minY = DBL_MAX, maxX = -DBL_MAX, maxY = -DBL_MAX;
};

// An empty contour's box runs from +DBL_MAX to −DBL_MAX and overlaps nothing.
Box boxOf(const PolygonContour& contour) {
  Box box;
  if (!contourIsUsable(contour)) return box;
  for (const PolygonVertex& v : contour) {
    box.minX = std::min(box.minX, v.x);
    box.minY = std::min(box.minY, v.y);
    box.maxX = std::max(box.maxX, v.x);
    box.maxY = std::max(box.maxY, v.y);
  }
  return box;
}

// Touching boxes overlap.
bool overlap(const Box& a, const Box& b) {
  return !(a.maxX < b.minX || b.maxX < a.minX || a.maxY < b.minY || b.maxY < a.minY);
}

std::vector<Box> boxesOf(const PolygonRecord& polygon) {
  std::vector<Box> boxes;
  boxes.reserve(polygon.contours.size());
  for (const PolygonContour& contour : polygon.contours) boxes.push_back(boxOf(contour));
  return boxes;
}

// Marks the contours of `tested` that overlap no contour of `other` as not contributing.
void markLoneContours(const std::vector<Box>& tested, const std::vector<Box>& other, std::vector<char>& contributes) {
  for (std::size_t i = 0; i < tested.size(); ++i) {
    contributes[i] = std::any_of(other.begin(), other.end(), [&](const Box& box) { return overlap(tested[i], box); });
  }
}

class BoundBuilder {
 public:
  BoundBuilder(PolygonOperation operation, SweepTables& tables) : operation_(operation), tables_(tables) {}

  void addPolygon(const PolygonRecord& polygon, int owner, const std::vector<char>& contributes) {
    std::size_t vertices = 0;
    for (std::size_t c = 0; c < polygon.contours.size(); ++c) {
      if (contributes[c]) vertices += polygon.contours[c].size();
    }
    // Bounds link edges by address: the vector never grows past this.
    tables_.edges[owner].reserve(vertices);
    for (std::size_t c = 0; c < polygon.contours.size(); ++c) {
      if (contributes[c] && contourIsUsable(polygon.contours[c])) addContour(polygon.contours[c], owner);
    }
  }

 private:
  void addContour(const PolygonContour& contour, int owner) {
    // The inner vertices of horizontal runs are dropped.
    kept_.clear();
    const std::size_t n = contour.size();
    for (std::size_t i = 0; i < n; ++i) {
      const double y = contour[i].y;
      if (contour[(i + n - 1) % n].y != y || contour[(i + 1) % n].y != y) {
        kept_.push_back(contour[i]);
        tables_.scanbeams.push_back(y);
      }
    }
    const std::size_t m = kept_.size();
    const auto y = [&](std::size_t i) { return kept_[i % m].y; };
    // Forward bounds rise through the following vertices, reverse bounds through the preceding ones.
    for (std::size_t i = 0; i < m; ++i) {
      if (y(i + m - 1) >= y(i) && y(i + 1) > y(i)) addBound(owner, i, 1);
    }
    for (std::size_t i = 0; i < m; ++i) {
      if (y(i + m - 1) > y(i) && y(i + 1) >= y(i)) addBound(owner, i, m - 1);
    }
  }

  void addBound(int owner, std::size_t start, std::size_t step) {
    const std::size_t m = kept_.size();
    std::vector<Edge>& edges = tables_.edges[owner];
    Edge* previous = nullptr;
    std::size_t i = start;
    do {
      const std::size_t j = (i + step) % m;
      Edge& edge = edges.emplace_back();
      edge.bottom = kept_[i];
      edge.top = kept_[j];
      edge.xb = edge.bottom.x;
      edge.dx = (edge.top.x - edge.bottom.x) / (edge.top.y - edge.bottom.y);
      edge.owner = owner;
      // A difference inverts the clip polygon: its edges start with the inside on their right.
      edge.side = operation_ == PolygonOperation::Difference ? 1u << kClip : 0;
      if (previous) {
        previous->successor = &edge;
      } else {
        tables_.bounds.push_back({edge.bottom.y, &edge});
      }
      previous = &edge;
      i = j;
    } while (kept_[(i + step) % m].y > kept_[i].y);
  }

  PolygonOperation operation_;
  SweepTables& tables_;
  std::vector<PolygonVertex> kept_;
};

}  // namespace

bool contourIsUsable(const PolygonContour& contour) {
  return std::all_of(contour.begin(), contour.end(), [](const PolygonVertex& v) {
    return std::fabs(v.x) <= kLargestCoordinate && std::fabs(v.y) <= kLargestCoordinate;
  });
}

void buildSweepTables(PolygonOperation operation, const PolygonRecord& subject, const PolygonRecord& clip,
                      SweepTables& tables) {
  std::vector<char> subjectContributes(subject.contours.size(), 1);
  std::vector<char> clipContributes(clip.contours.size(), 1);
  const bool filtered = operation == PolygonOperation::Difference || operation == PolygonOperation::Intersection;
  if (filtered && !subject.contours.empty() && !clip.contours.empty()) {
    const std::vector<Box> subjectBoxes = boxesOf(subject);
    const std::vector<Box> clipBoxes = boxesOf(clip);
    markLoneContours(clipBoxes, subjectBoxes, clipContributes);
    if (operation == PolygonOperation::Intersection) markLoneContours(subjectBoxes, clipBoxes, subjectContributes);
  }

  BoundBuilder builder(operation, tables);
  builder.addPolygon(subject, kSubject, subjectContributes);
  builder.addPolygon(clip, kClip, clipContributes);

  // Bounds at one height are ordered by bottom x, then by smaller dx; equal ones keep their order.
  std::stable_sort(tables.bounds.begin(), tables.bounds.end(), [](const Bound& a, const Bound& b) {
    if (a.y != b.y) return a.y < b.y;
    if (a.first->bottom.x != b.first->bottom.x) return a.first->bottom.x < b.first->bottom.x;
    return a.first->dx < b.first->dx;
  });
  std::sort(tables.scanbeams.begin(), tables.scanbeams.end());
  tables.scanbeams.erase(std::unique(tables.scanbeams.begin(), tables.scanbeams.end()), tables.scanbeams.end());
}

}  // namespace polygonclip
