#include "path_oracles.h"

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>

#include "platform/core/string_utilities.h"

namespace pathoracles {

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

BezierPath parseSvgPath(const std::string& data) {
  BezierPath path;
  const char* cursor = data.c_str();
  char command = 0;
  Point current;
  auto number = [&cursor]() {
    while (*cursor == ' ' || *cursor == ',') ++cursor;
    char* end = nullptr;
    const double value = std::strtod(cursor, &end);
    if (end == cursor) throw std::invalid_argument("bad number in path data");
    cursor = end;
    return value;
  };
  while (true) {
    while (*cursor == ' ' || *cursor == ',') ++cursor;
    if (*cursor == 0) break;
    if (std::isalpha(static_cast<unsigned char>(*cursor))) command = *cursor++;
    switch (command) {
      case 'M': current = {number(), number()}; path.moveTo(current); command = 'L'; break;
      case 'L': current = {number(), number()}; path.lineTo(current); break;
      case 'H': current.x = number(); path.lineTo(current); break;
      case 'V': current.y = number(); path.lineTo(current); break;
      case 'C': {
        const Point c1{number(), number()};
        const Point c2{number(), number()};
        current = {number(), number()};
        path.curveTo(current, c1, c2);
        break;
      }
      case 'Z': path.closePath(); command = 0; break;
      default: throw std::invalid_argument("unsupported path command");
    }
  }
  return path;
}

std::string svgPathData(const BezierPath& path) {
  std::string data;
  auto append = [&data](char command, std::initializer_list<Point> points) {
    data += command;
    for (const Point& point : points) data += platform::formatString(" %.17g %.17g", point.x, point.y);
    data += ' ';
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    switch (path.elementAt(i, points)) {
      case PathElement::Move: append('M', {points[0]}); break;
      case PathElement::Line: append('L', {points[0]}); break;
      case PathElement::Curve: append('C', {points[0], points[1], points[2]}); break;
      case PathElement::Close: append('Z', {}); break;
    }
  }
  return data;
}

namespace {

// x·y' − y·x' is a polynomial of degree 5 in t, so three Gauss–Legendre nodes integrate it exactly.
double cubicAreaTerm(Point p0, Point p1, Point p2, Point p3) {
  static const double nodes[3] = {-std::sqrt(0.6), 0.0, std::sqrt(0.6)};
  static const double weights[3] = {5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};
  double sum = 0;
  for (int i = 0; i < 3; ++i) {
    const double t = 0.5 * (nodes[i] + 1.0);
    const double u = 1 - t;
    const double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
    const double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
    const double dx = 3 * u * u * (p1.x - p0.x) + 6 * u * t * (p2.x - p1.x) + 3 * t * t * (p3.x - p2.x);
    const double dy = 3 * u * u * (p1.y - p0.y) + 6 * u * t * (p2.y - p1.y) + 3 * t * t * (p3.y - p2.y);
    sum += weights[i] * 0.5 * (x * dy - y * dx);
  }
  return 0.5 * sum;  // the node interval [-1, 1] maps onto t in [0, 1]
}

struct Subpath {
  double area = 0;
  Point sample;  // just inside the outline, beside the middle of its first segment
  BezierPath path;
};

// The middle of a segment and its direction there.
void segmentMiddle(Point p0, Point p1, Point p2, Point p3, Point* middle, Point* direction) {
  *middle = {(p0.x + 3 * p1.x + 3 * p2.x + p3.x) / 8, (p0.y + 3 * p1.y + 3 * p2.y + p3.y) / 8};
  *direction = {p3.x + p2.x - p1.x - p0.x, p3.y + p2.y - p1.y - p0.y};
  if (direction->x == 0 && direction->y == 0) *direction = {p3.x - p0.x, p3.y - p0.y};
}

std::vector<Subpath> subpaths(const BezierPath& path) {
  std::vector<Subpath> result;
  std::vector<std::pair<Point, Point>> middles;  // per subpath: middle of the first segment, direction
  Point start;
  Point current;
  auto finish = [&]() {
    if (result.empty()) return;
    if (current != start) result.back().area += 0.5 * (current.x * start.y - current.y * start.x);
    current = start;
  };
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    switch (path.elementAt(i, points)) {
      case PathElement::Move:
        finish();
        result.push_back({});
        start = current = points[0];
        result.back().sample = points[0];
        middles.push_back({points[0], Point{}});
        result.back().path.moveTo(points[0]);
        break;
      case PathElement::Line:
        if (middles.back().second == Point{}) {
          segmentMiddle(current, current, points[0], points[0], &middles.back().first, &middles.back().second);
        }
        result.back().area += 0.5 * (current.x * points[0].y - current.y * points[0].x);
        result.back().path.lineTo(points[0]);
        current = points[0];
        break;
      case PathElement::Curve:
        if (middles.back().second == Point{}) {
          segmentMiddle(current, points[0], points[1], points[2], &middles.back().first, &middles.back().second);
        }
        result.back().area += cubicAreaTerm(current, points[0], points[1], points[2]);
        result.back().path.curveTo(points[2], points[0], points[1]);
        current = points[2];
        break;
      case PathElement::Close: finish(); break;
    }
  }
  finish();
  for (std::size_t i = 0; i < result.size(); ++i) {
    const auto [middle, direction] = middles[i];
    const double length = std::hypot(direction.x, direction.y);
    if (length == 0) continue;
    // The interior lies to the left of a counter-clockwise outline.
    const double side = result[i].area >= 0 ? 1.0 : -1.0;
    const double step = 1e-4 * std::max(1.0, std::sqrt(std::fabs(result[i].area)));
    result[i].sample = {middle.x - side * direction.y / length * step, middle.y + side * direction.x / length * step};
  }
  return result;
}

}  // namespace

std::vector<double> signedSubpathAreas(const BezierPath& path) {
  std::vector<double> areas;
  for (const Subpath& subpath : subpaths(path)) areas.push_back(subpath.area);
  return areas;
}

double evenOddArea(const BezierPath& path) {
  const std::vector<Subpath> parts = subpaths(path);
  double total = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    // A subpath nested in an odd number of others is a hole.
    int depth = 0;
    for (std::size_t j = 0; j < parts.size(); ++j) {
      if (j == i) continue;
      BezierPath other = parts[j].path;
      other.closePath();
      other.setWindingRule(platform::WindingRule::EvenOdd);
      if (other.containsPoint(parts[i].sample)) ++depth;
    }
    total += (depth % 2 == 0 ? 1 : -1) * std::fabs(parts[i].area);
  }
  return total;
}

BezierPath transformed(const BezierPath& path, const platform::AffineTransform& transform) {
  BezierPath copy = path;
  copy.transformUsingAffineTransform(transform);
  return copy;
}

double distanceToOutline(const BezierPath& path, Point point) {
  double best = INFINITY;
  auto segment = [&](Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t =
        lengthSquared > 0 ? std::clamp(((point.x - a.x) * dx + (point.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0;
    best = std::min(best, std::hypot(a.x + t * dx - point.x, a.y + t * dy - point.y));
  };
  constexpr int kChords = 128;
  Point start;
  Point current;
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    switch (path.elementAt(i, points)) {
      case PathElement::Move:
        segment(current, start);
        start = current = points[0];
        break;
      case PathElement::Line:
        segment(current, points[0]);
        current = points[0];
        break;
      case PathElement::Curve: {
        Point previous = current;
        for (int k = 1; k <= kChords; ++k) {
          const double t = static_cast<double>(k) / kChords;
          const double u = 1 - t;
          const Point next{u * u * u * current.x + 3 * u * u * t * points[0].x + 3 * u * t * t * points[1].x +
                               t * t * t * points[2].x,
                           u * u * u * current.y + 3 * u * u * t * points[0].y + 3 * u * t * t * points[1].y +
                               t * t * t * points[2].y};
          segment(previous, next);
          previous = next;
        }
        current = points[2];
        break;
      }
      case PathElement::Close:
        segment(current, start);
        current = start;
        break;
    }
  }
  segment(current, start);
  return best;
}

FillTester::FillTester(const BezierPath& path, bool evenOdd) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  context_ = cairo_create(surface);
  cairo_surface_destroy(surface);
  cairo_set_fill_rule(context_, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    switch (path.elementAt(i, points)) {
      case PathElement::Move: cairo_move_to(context_, points[0].x, points[0].y); break;
      case PathElement::Line: cairo_line_to(context_, points[0].x, points[0].y); break;
      case PathElement::Curve:
        cairo_curve_to(context_, points[0].x, points[0].y, points[1].x, points[1].y, points[2].x, points[2].y);
        break;
      case PathElement::Close: cairo_close_path(context_); break;
    }
  }
}

FillTester::~FillTester() { cairo_destroy(context_); }

bool FillTester::contains(Point point) const { return cairo_in_fill(context_, point.x, point.y); }

std::vector<OutlinePoint> outlinePoints(const BezierPath& path) {
  std::vector<OutlinePoint> result;
  Point start;
  Point current;
  auto along = [](Point from, Point to, double t) {
    return Point{from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)};
  };
  auto cubic = [&](Point control1, Point control2, Point end) {
    // Rounding leaves closing segments far too short to hold a point away from their ends.
    if (std::hypot(end.x - current.x, end.y - current.y) + std::hypot(control1.x - current.x, control1.y - current.y) >
        1e-9) {
      // Uneven fractions, so that points of outlines on a whole-number grid miss the grid lines crossing them.
      for (double t : {0.2718, 0.5772, 0.8415}) {
        const Point a = along(along(current, control1, t), along(control1, control2, t), t);
        const Point b = along(along(control1, control2, t), along(control2, end, t), t);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length > 0) result.push_back({along(a, b, t), {(a.y - b.y) / length, (b.x - a.x) / length}});
      }
    }
    current = end;
  };
  auto line = [&](Point end) { cubic(along(current, end, 1.0 / 3), along(current, end, 2.0 / 3), end); };
  for (int i = 0; i < path.elementCount(); ++i) {
    Point p[3];
    switch (path.elementAt(i, p)) {
      case PathElement::Move: start = current = p[0]; break;
      case PathElement::Line: line(p[0]); break;
      case PathElement::Curve: cubic(p[0], p[1], p[2]); break;
      case PathElement::Close: line(start); break;
    }
  }
  return result;
}

Raster rasterize(const BezierPath& path, const platform::Rect& frame, int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, size, size);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  const double scale = size / std::max(frame.size.width, frame.size.height);
  auto map = [&](Point p) { return Point{(p.x - frame.origin.x) * scale, (p.y - frame.origin.y) * scale}; };
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    switch (path.elementAt(i, points)) {
      case PathElement::Move: cairo_move_to(cr, map(points[0]).x, map(points[0]).y); break;
      case PathElement::Line: cairo_line_to(cr, map(points[0]).x, map(points[0]).y); break;
      case PathElement::Curve: {
        const Point a = map(points[0]);
        const Point b = map(points[1]);
        const Point c = map(points[2]);
        cairo_curve_to(cr, a.x, a.y, b.x, b.y, c.x, c.y);
        break;
      }
      case PathElement::Close: cairo_close_path(cr); break;
    }
  }
  cairo_fill(cr);
  cairo_surface_flush(surface);
  Raster raster;
  raster.size = size;
  raster.inside.resize(static_cast<std::size_t>(size) * size);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) raster.inside[static_cast<std::size_t>(y) * size + x] = data[y * stride + x] > 127;
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return raster;
}

}  // namespace pathoracles
