#include "polygon_oracles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace polygonoracles {
namespace {

struct Segment {
  PolygonVertex a, b;
};

std::vector<Segment> segmentsOf(const PolygonRecord& polygon) {
  std::vector<Segment> segments;
  for (const PolygonContour& contour : polygon.contours) {
    for (std::size_t i = 0; i < contour.size(); ++i) {
      const PolygonVertex a = contour[i];
      const PolygonVertex b = contour[(i + 1) % contour.size()];
      if (a.y != b.y) segments.push_back(a.y < b.y ? Segment{a, b} : Segment{b, a});
    }
  }
  return segments;
}

// The height where two segments cross properly, if they do.
bool crossingHeight(const Segment& s, const Segment& t, double& y) {
  const double dx1 = s.b.x - s.a.x, dy1 = s.b.y - s.a.y;
  const double dx2 = t.b.x - t.a.x, dy2 = t.b.y - t.a.y;
  const double denominator = dx1 * dy2 - dy1 * dx2;
  if (denominator == 0) return false;
  const double u = ((t.a.x - s.a.x) * dy2 - (t.a.y - s.a.y) * dx2) / denominator;
  const double v = ((t.a.x - s.a.x) * dy1 - (t.a.y - s.a.y) * dx1) / denominator;
  if (u <= 0 || u >= 1 || v <= 0 || v >= 1) return false;
  y = s.a.y + u * dy1;
  return true;
}

double xAt(const Segment& s, double y) { return s.a.x + (s.b.x - s.a.x) * (y - s.a.y) / (s.b.y - s.a.y); }

}  // namespace

double shoelace(const PolygonContour& contour) {
  double twice = 0;
  for (std::size_t i = 0; i < contour.size(); ++i) {
    const PolygonVertex& a = contour[i];
    const PolygonVertex& b = contour[(i + 1) % contour.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2;
}

double flaggedArea(const PolygonRecord& polygon) {
  double area = 0;
  for (std::size_t c = 0; c < polygon.contours.size(); ++c) {
    const double a = std::fabs(shoelace(polygon.contours[c]));
    area += holeFlag(polygon, c) ? -a : a;
  }
  return area;
}

double evenOddArea(const PolygonRecord& polygon) {
  const std::vector<Segment> segments = segmentsOf(polygon);
  std::vector<double> heights;
  for (const Segment& s : segments) {
    heights.push_back(s.a.y);
    heights.push_back(s.b.y);
  }
  for (std::size_t i = 0; i < segments.size(); ++i) {
    for (std::size_t j = i + 1; j < segments.size(); ++j) {
      double y = 0;
      if (crossingHeight(segments[i], segments[j], y)) heights.push_back(y);
    }
  }
  std::sort(heights.begin(), heights.end());
  heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
  double area = 0;
  std::vector<double> xs;
  for (std::size_t k = 0; k + 1 < heights.size(); ++k) {
    const double y0 = heights[k], y1 = heights[k + 1], middle = (y0 + y1) / 2;
    xs.clear();
    for (const Segment& s : segments) {
      if (s.a.y < middle && middle < s.b.y) xs.push_back(xAt(s, middle));
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) area += (xs[i + 1] - xs[i]) * (y1 - y0);
  }
  return area;
}

double stripArea(const TristripRecord& tristrip) {
  double area = 0;
  for (const PolygonContour& strip : tristrip.strips) {
    for (std::size_t i = 0; i + 2 < strip.size(); ++i)
      area += std::fabs(shoelace({strip[i], strip[i + 1], strip[i + 2]}));
  }
  return area;
}

double boundingArea(const PolygonRecord& a, const PolygonRecord& b) {
  double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
  for (const PolygonRecord* polygon : {&a, &b}) {
    for (const PolygonContour& contour : polygon->contours) {
      for (const PolygonVertex& v : contour) {
        minX = std::min(minX, v.x);
        minY = std::min(minY, v.y);
        maxX = std::max(maxX, v.x);
        maxY = std::max(maxY, v.y);
      }
    }
  }
  return maxX > minX && maxY > minY ? (maxX - minX) * (maxY - minY) : 0;
}

PolygonRecord randomGridPolygon(std::mt19937& random) {
  auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  PolygonRecord polygon;
  const int contours = uniform(1, 3);
  for (int c = 0; c < contours; ++c) {
    PolygonContour contour;
    switch (uniform(0, 2)) {
      case 0: {  // scattered points: long edges that cross often
        const int n = uniform(3, 12);
        for (int i = 0; i < n; ++i) contour.push_back({double(uniform(0, 20)), double(uniform(0, 20))});
        break;
      }
      case 1: {  // a walk of short steps, many of them horizontal or back over the last one
        const int n = uniform(3, 200);
        int x = uniform(0, 20), y = uniform(0, 20);
        for (int i = 0; i < n; ++i) {
          contour.push_back({double(x), double(y)});
          x = std::clamp(x + uniform(-2, 2), 0, 20);
          if (uniform(0, 2) != 0) y = std::clamp(y + uniform(-2, 2), 0, 20);
        }
        break;
      }
      default: {  // a rectangle, which shares lines with every other one
        const int x0 = uniform(0, 19), y0 = uniform(0, 19);
        const int x1 = uniform(x0 + 1, 20), y1 = uniform(y0 + 1, 20);
        contour = {
            {double(x0), double(y0)}, {double(x1), double(y0)}, {double(x1), double(y1)}, {double(x0), double(y1)}};
        break;
      }
    }
    polygon.contours.push_back(std::move(contour));
  }
  return polygon;
}

PolygonRecord randomRealPolygon(std::mt19937& random) {
  std::uniform_real_distribution<double> coordinate(-50, 50);
  PolygonRecord polygon;
  const int contours = std::uniform_int_distribution<int>(1, 2)(random);
  for (int c = 0; c < contours; ++c) {
    PolygonContour contour(std::uniform_int_distribution<std::size_t>(3, 20)(random));
    for (PolygonVertex& v : contour) v = {coordinate(random), coordinate(random)};
    polygon.contours.push_back(std::move(contour));
  }
  return polygon;
}

}  // namespace polygonoracles
