#include "boolean_bench_cases.h"

#include <cmath>
#include <numbers>

using platform::BezierPath;
using platform::Point;
using platform::Rect;

namespace {

BezierPath oval(double cx, double cy, double rx, double ry) {
  return BezierPath::ovalInRect(Rect(cx - rx, cy - ry, 2 * rx, 2 * ry));
}

BezierPath star(double cx, double cy, double outer, double inner, int points) {
  BezierPath path;
  for (int i = 0; i < 2 * points; ++i) {
    const double angle = std::numbers::pi / 2 + i * std::numbers::pi / points;
    const double radius = i % 2 == 0 ? outer : inner;
    const Point point{cx + radius * std::cos(angle), cy + radius * std::sin(angle)};
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  path.closePath();
  return path;
}

// N cubic petals round a circle; the second operand is the same flower turned by half a petal.
BezierPath flower(int petals, double turn) {
  BezierPath path;
  const double step = 2 * std::numbers::pi / petals;
  auto at = [](double radius, double angle) { return Point{radius * std::cos(angle), radius * std::sin(angle)}; };
  path.moveTo(at(100, turn));
  for (int i = 0; i < petals; ++i) {
    const double a0 = turn + i * step;
    path.curveTo(at(100, a0 + step), at(160, a0 + 0.2 * step), at(160, a0 + 0.8 * step));
  }
  path.closePath();
  return path;
}

BezierPath circleGrid(int count) {
  BezierPath path;
  const double pitch = 200.0 / count;
  for (int row = 0; row < count; ++row) {
    for (int column = 0; column < count; ++column) {
      path.appendPath(oval(-100 + (column + 0.5) * pitch, -100 + (row + 0.5) * pitch, 0.35 * pitch, 0.35 * pitch));
    }
  }
  return path;
}

BezierPath both(const BezierPath& a, const BezierPath& b) {
  BezierPath path = a;
  path.appendPath(b);
  return path;
}

}  // namespace

std::vector<BooleanBenchCase> booleanBenchCases() {
  std::vector<BooleanBenchCase> cases;
  for (double distance : {0.0, 50.0, 100.0, 199.9, 250.0}) {
    cases.push_back({"B1_circles_d" + std::to_string(static_cast<int>(distance * 10) / 10.0).substr(0, 5),
                     oval(0, 0, 100, 100), oval(distance, 0, 100, 100)});
  }
  for (int petals : {8, 32, 128, 512, 2048}) {
    cases.push_back(
        {"B2_flower_" + std::to_string(petals), flower(petals, 0), flower(petals, std::numbers::pi / petals)});
  }
  for (int count : {10, 30, 100}) {
    cases.push_back({"B3_grid_" + std::to_string(count), circleGrid(count),
                     BezierPath::roundedRect(Rect(-60, -80, 150, 130), 25, 25)});
  }
  cases.push_back({"B4_circle_self", oval(0, 0, 100, 100), oval(0, 0, 100, 100)});
  cases.push_back({"B4_circles_tangent", oval(0, 0, 100, 100), oval(200, 0, 100, 100)});
  cases.push_back(
      {"B4_rects_whole_edge", BezierPath::rect(Rect(0, 0, 100, 100)), BezierPath::rect(Rect(100, 0, 100, 100))});
  cases.push_back(
      {"B4_rects_part_edge", BezierPath::rect(Rect(0, 0, 100, 100)), BezierPath::rect(Rect(100, 30, 80, 40))});
  cases.push_back({"B4_inside_touching", oval(0, 0, 100, 100), oval(50, 0, 50, 50)});
  cases.push_back({"B4_circle_offset_1e-7", oval(0, 0, 100, 100), oval(1e-7, 1e-7, 100, 100)});
  cases.push_back({"B4_square_offset_1e-7", BezierPath::rect(Rect(0, 0, 100, 100)),
                   BezierPath::rect(Rect(1e-7, -1e-7, 100, 100))});
  cases.push_back(
      {"B5_rectangles", BezierPath::rect(Rect(0, 0, 120, 80)), BezierPath::rect(Rect(60, 40, 100, 90))});
  cases.push_back({"B5_ovals", oval(0, 0, 120, 60), oval(40, 20, 60, 110)});
  cases.push_back({"B5_rounded_rects", BezierPath::roundedRect(Rect(0, 0, 150, 100), 20, 20),
                   BezierPath::roundedRect(Rect(70, 40, 120, 120), 30, 30)});
  for (int points : {5, 12, 25, 50}) {
    cases.push_back({"B5_star" + std::to_string(points) + "_oval", star(0, 0, 120, 60, points), oval(20, 10, 90, 70)});
  }
  cases.push_back({"B5_ring_rect", both(oval(0, 0, 100, 100), oval(0, 0, 60, 60)),
                   BezierPath::rect(Rect(-20, -120, 40, 240))});
  return cases;
}
