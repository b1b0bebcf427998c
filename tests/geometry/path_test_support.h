#pragma once

// Compact, rounded text of a path's elements ("M 0 0 L 30 0 C 1 2 3 4 5 6 Z"), so tests
// state expected paths as hand-written strings; and seeded random inputs.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "geometry/element_walk.h"
#include "platform/graphics/bezier_path.h"
#include "../random_test_seed.h"

inline std::string shape(const platform::BezierPath& path, int decimals = 3) {
  std::string out;
  const auto number = [&](double value) {
    char buffer[64];
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0) rounded = 0;  // no "-0"
    std::snprintf(buffer, sizeof buffer, " %.*g", 12, rounded);
    out += buffer;
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    platform::Point points[3];
    const platform::PathElement kind = path.elementAt(i, points);
    if (!out.empty()) out += ' ';
    out += "MLCZ"[static_cast<int>(kind)];
    for (int k = 0; k < pointCountOfElement(kind); ++k) {
      number(points[k].x);
      number(points[k].y);
    }
  }
  return out;
}

inline platform::BezierPath polyline(std::initializer_list<platform::Point> points) {
  platform::BezierPath path;
  for (const platform::Point& p : points) path.elementCount() == 0 ? path.moveTo(p) : path.lineTo(p);
  return path;
}

// The distance from p to the nearest point of the polyline through the vertices.
inline double distanceToPolyline(platform::Point p, const std::vector<platform::Point>& vertices) {
  double nearest = INFINITY;
  for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
    const platform::Point a = vertices[i], b = vertices[i + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, squared = dx * dx + dy * dy;
    const double t = squared == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / squared, 0.0, 1.0);
    nearest = std::min(nearest, std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y));
  }
  return nearest;
}

// A generator whose seed is printed, so a failure can be replayed.
inline std::mt19937 seededGenerator(const char* name) { return std::mt19937(randomTestSeed(name)); }
