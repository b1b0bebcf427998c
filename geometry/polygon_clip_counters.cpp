#include "geometry/polygon_clip_counters.h"

namespace {
PolygonClipCounters* installed = nullptr;
}

PolygonClipCounters& PolygonClipCounters::operator+=(const PolygonClipCounters& other) {
  calls += other.calls;
  edges += other.edges;
  crossings += other.crossings;
  activeEdges += other.activeEdges;
  for (std::size_t i = 0; i < boundaryClasses.size(); ++i) {
    boundaryClasses[i] += other.boundaryClasses[i];
    crossingClasses[i] += other.crossingClasses[i];
  }
  return *this;
}

void setPolygonClipCounters(PolygonClipCounters* counters) { installed = counters; }

PolygonClipCounters* polygonClipCounters() { return installed; }
