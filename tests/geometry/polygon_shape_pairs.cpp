#include "polygon_shape_pairs.h"

#include "boolean_corpus.h"
#include "path_oracles.h"

using platform::BezierPath;
using platform::Rect;

std::vector<ShapePair> polygonRouteShapePairs() {
  std::vector<ShapePair> pairs;
  for (const corpus::Case& c : corpus::cases()) {
    if (c.name.starts_with("circles_"))
      pairs.push_back({c.name, pathoracles::parseSvgPath(c.a), pathoracles::parseSvgPath(c.b)});
  }
  const auto svg = [&](const std::string& name, const std::string& a, const std::string& b) {
    pairs.push_back({name, pathoracles::parseSvgPath(a), pathoracles::parseSvgPath(b)});
  };
  svg("B5_rectangles", corpus::rectangle(0, 0, 120, 80), corpus::rectangle(60, 40, 100, 90));
  svg("B5_ovals", corpus::oval(0, 0, 120, 60), corpus::oval(40, 20, 60, 110));
  pairs.push_back({"B5_rounded_rects", BezierPath::roundedRect(Rect(0, 0, 150, 100), 20, 20),
                   BezierPath::roundedRect(Rect(70, 40, 120, 120), 30, 30)});
  for (int points : {5, 12, 25, 50}) {
    svg("B5_star" + std::to_string(points) + "_oval", corpus::star(0, 0, 120, 60, points),
        corpus::oval(20, 10, 90, 70));
  }
  svg("B5_ring_rect", corpus::circle(0, 0, 100) + corpus::circle(0, 0, 60), corpus::rectangle(-20, -120, 40, 240));
  return pairs;
}
