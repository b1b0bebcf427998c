#include "document/CMPolygonShape.h"

#include <array>
#include <span>

using platform::Point;

namespace {

constexpr std::array<Point, 3> kTriangle{{{0.5, 0}, {0, 1}, {1, 1}}};
constexpr std::array<Point, 4> kDiamond{{{0.5, 0}, {0, 0.5}, {0.5, 1}, {1, 0.5}}};
constexpr std::array<Point, 5> kPentagon{{{0.5, 0}, {0, 0.4}, {0.2, 1}, {0.8, 1}, {1, 0.4}}};
constexpr std::array<Point, 6> kHexagon{{{0.25, 0}, {0, 0.5}, {0.25, 1}, {0.75, 1}, {1, 0.5}, {0.75, 0}}};
constexpr std::array<Point, 7> kHeptagon{{{0.25, 0}, {0, 0.25}, {0, 0.75}, {0.25, 1}, {0.75, 1}, {1, 0.5}, {0.75, 0}}};
constexpr std::array<Point, 8> kOctagon{
    {{0.25, 0}, {0, 0.25}, {0, 0.75}, {0.25, 1}, {0.75, 1}, {1, 0.75}, {1, 0.25}, {0.75, 0}}};

std::span<const Point> polygonTemplate(std::int64_t sides) {
  switch (sides) {
    case 3: return kTriangle;
    case 4: return kDiamond;
    case 5: return kPentagon;
    case 6: return kHexagon;
    case 7: return kHeptagon;
    case 8: return kOctagon;
    default: return {};
  }
}

}  // namespace

std::vector<Point> placedInFrame(const platform::Rect& frame, const Point* fractions, std::size_t count) {
  std::vector<Point> vertices;
  vertices.reserve(count);
  for (std::size_t index = 0; index < count; ++index) {
    vertices.push_back({frame.origin.x + fractions[index].x * frame.size.width,
                        frame.origin.y + fractions[index].y * frame.size.height});
  }
  return vertices;
}

platform::BezierPath closedPolygonPath(const std::vector<Point>& vertices) {
  platform::BezierPath path;
  if (vertices.empty()) return path;
  path.moveTo(vertices.front());
  for (std::size_t index = 1; index < vertices.size(); ++index) path.lineTo(vertices[index]);
  path.closePath();
  return path;
}

std::vector<Point> CMPolygonShape::points(const platform::Rect& frame, std::int64_t sides) {
  const std::span<const Point> fractions = polygonTemplate(sides);
  return placedInFrame(frame, fractions.data(), fractions.size());
}

platform::BezierPath CMPolygonShape::createSimplePath() {
  // Widened before adding, so no stored count can overflow.
  return closedPolygonPath(points(frame(), std::int64_t{data()->get("polygon_sides").intValue()} + 3));
}
