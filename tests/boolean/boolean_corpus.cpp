#include "boolean_corpus.h"

#include <cmath>
#include <numbers>

#include "platform/core/string_utilities.h"

namespace corpus {

namespace {

constexpr double kKappa = 0.5522847498307936;

std::string point(double x, double y) { return platform::formatString("%.17g %.17g ", x, y); }

}  // namespace

std::string oval(double cx, double cy, double rx, double ry) {
  const double kx = rx * kKappa;
  const double ky = ry * kKappa;
  return "M " + point(cx + rx, cy) + "C " + point(cx + rx, cy + ky) + point(cx + kx, cy + ry) + point(cx, cy + ry) +
         "C " + point(cx - kx, cy + ry) + point(cx - rx, cy + ky) + point(cx - rx, cy) + "C " +
         point(cx - rx, cy - ky) + point(cx - kx, cy - ry) + point(cx, cy - ry) + "C " + point(cx + kx, cy - ry) +
         point(cx + rx, cy - ky) + point(cx + rx, cy) + "Z ";
}

std::string circle(double cx, double cy, double r) { return oval(cx, cy, r, r); }

std::string rectangle(double x, double y, double width, double height) {
  return "M " + point(x, y) + "L " + point(x + width, y) + "L " + point(x + width, y + height) + "L " +
         point(x, y + height) + "Z ";
}

std::string star(double cx, double cy, double outer, double inner, int points) {
  std::string data;
  for (int i = 0; i < 2 * points; ++i) {
    const double angle = std::numbers::pi / 2 + i * std::numbers::pi / points;
    const double radius = i % 2 == 0 ? outer : inner;
    data += (i == 0 ? "M " : "L ") + point(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
  }
  return data + "Z ";
}

std::vector<Case> cases() {
  std::vector<Case> list;
  for (double distance : {0.0, 50.0, 100.0, 199.9, 200.0, 250.0}) {
    list.push_back({platform::formatString("circles_%g", distance), circle(0, 0, 100), circle(distance, 0, 100)});
  }
  list.push_back({"rects_whole_edge", rectangle(0, 0, 100, 100), rectangle(100, 0, 100, 100)});
  list.push_back({"rects_part_edge", rectangle(0, 0, 100, 100), rectangle(100, 30, 80, 40)});
  list.push_back({"rects_overlapping", rectangle(0, 0, 100, 100), rectangle(50, 50, 100, 100)});
  list.push_back({"rect_circle", rectangle(-50, -50, 120, 100), circle(40, 10, 60)});
  list.push_back({"concentric_circles", circle(0, 0, 100), circle(0, 0, 40)});
  list.push_back({"concentric_squares", rectangle(-100, -100, 200, 200), rectangle(-30, -30, 60, 60)});
  list.push_back({"square_itself", rectangle(0, 0, 100, 100), rectangle(0, 0, 100, 100)});
  list.push_back({"circle_itself", circle(0, 0, 100), circle(0, 0, 100)});
  list.push_back({"ovals_crossing", oval(0, 0, 120, 60), oval(40, 20, 60, 110)});
  list.push_back({"circle_inside_touching", circle(0, 0, 100), circle(50, 0, 50)});
  list.push_back({"half_discs",
                  "M 100 0 C 100 55.22847498307936 55.22847498307936 100 0 100 C -55.22847498307936 100 -100 "
                  "55.22847498307936 -100 0 Z",
                  "M -100 0 C -100 -55.22847498307936 -55.22847498307936 -100 0 -100 C 55.22847498307936 -100 100 "
                  "-55.22847498307936 100 0 Z"});
  list.push_back({"ring_minus_square", circle(0, 0, 100) + circle(0, 0, 60), rectangle(-20, -120, 40, 240)});
  list.push_back({"circle_offset_1e-7", circle(0, 0, 100), circle(1e-7, 1e-7, 100)});
  list.push_back({"circle_offset_-1e-9", circle(0, 0, 100), circle(-1e-9, 1e-9, 100)});
  list.push_back({"square_offset_1e-7", rectangle(0, 0, 100, 100), rectangle(1e-7, -1e-7, 100, 100)});
  list.push_back({"square_offset_-1e-9", rectangle(0, 0, 100, 100), rectangle(-1e-9, 1e-9, 100, 100)});
  list.push_back({"circle_near_rounded_corner", circle(-30, 50, 7),
                  "M -35 -80 L 65 -80 C 78.807118745 -80 90 -68.807118745 90 -55 L 90 25 C 90 38.807118745 "
                  "78.807118745 50 65 50 L -35 50 C -48.807118745 50 -60 38.807118745 -60 25 L -60 -55 C -60 "
                  "-68.807118745 -48.807118745 -80 -35 -80 Z"});
  for (int points : {5, 12, 50}) {
    list.push_back({platform::formatString("star%d_circle", points), star(0, 0, 120, 60, points), circle(20, 10, 80)});
  }
  return list;
}

}  // namespace corpus
