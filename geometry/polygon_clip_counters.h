#pragma once

// What a clipping call did, for tests and benchmarks: while a counter record is
// installed, every call adds to it. The program never installs one.

#include <array>

struct PolygonClipCounters {
  long long calls = 0;
  long long edges = 0;                          // edges built into bounds (n)
  long long crossings = 0;                      // edge crossings found inside scanbeams (k)
  long long activeEdges = 0;                    // the active edges summed over the scanbeams
  std::array<long long, 16> boundaryClasses{};  // contributing vertices met at beam boundaries, by class
  std::array<long long, 16> crossingClasses{};  // crossings of two contributing edges, by class

  PolygonClipCounters& operator+=(const PolygonClipCounters& other);
};

// Null stops counting.
void setPolygonClipCounters(PolygonClipCounters* counters);
PolygonClipCounters* polygonClipCounters();
