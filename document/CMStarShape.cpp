#include "document/CMStarShape.h"

#include <array>
#include <span>

#include "document/CMPolygonShape.h"

using platform::Point;

namespace {

constexpr std::array<Point, 6> kThree{{{0.5, 0}, {0.4, 0.6}, {0, 1}, {0.5, 0.8}, {1, 1}, {0.6, 0.6}}};
constexpr std::array<Point, 8> kFour{
    {{0.5, 0}, {0.35, 0.35}, {0, 0.5}, {0.35, 0.65}, {0.5, 1}, {0.65, 0.65}, {1, 0.5}, {0.65, 0.35}}};
constexpr std::array<Point, 11> kFive{{{0.5, 0},
                                       {0.36, 0.37},
                                       {0, 0.37},
                                       {0.28, 0.62},
                                       {0.2, 1},
                                       {0.5, 0.78},
                                       {0.8, 1},
                                       {0.71, 0.61},
                                       {1, 0.37},
                                       {0.63, 0.37},
                                       {0.5, 0}}};
constexpr std::array<Point, 12> kSix{{{0.5, 0},
                                      {0.35, 0.25},
                                      {0, 0.25},
                                      {0.15, 0.5},
                                      {0, 0.75},
                                      {0.35, 0.75},
                                      {0.5, 1},
                                      {0.65, 0.75},
                                      {1, 0.75},
                                      {0.85, 0.5},
                                      {1, 0.25},
                                      {0.65, 0.25}}};
constexpr std::array<Point, 14> kSeven{{{0.3, 0},
                                        {0.2, 0.2},
                                        {0, 0.35},
                                        {0.15, 0.55},
                                        {0.1, 0.8},
                                        {0.35, 0.8},
                                        {0.5, 1},
                                        {0.65, 0.8},
                                        {0.9, 0.8},
                                        {0.85, 0.55},
                                        {1, 0.4},
                                        {0.8, 0.25},
                                        {0.75, 0},
                                        {0.5, 0.1}}};
constexpr std::array<Point, 16> kEight{{{0.5, 0},
                                        {0.35, 0.15},
                                        {0.15, 0.15},
                                        {0.15, 0.35},
                                        {0, 0.5},
                                        {0.15, 0.65},
                                        {0.15, 0.85},
                                        {0.35, 0.85},
                                        {0.5, 1},
                                        {0.65, 0.85},
                                        {0.85, 0.85},
                                        {0.85, 0.65},
                                        {1, 0.5},
                                        {0.85, 0.35},
                                        {0.85, 0.15},
                                        {0.65, 0.15}}};

std::span<const Point> starTemplate(std::int64_t points) {
  switch (points) {
    case 3: return kThree;
    case 4: return kFour;
    case 5: return kFive;
    case 6: return kSix;
    case 7: return kSeven;
    case 8: return kEight;
    default: return {};
  }
}

}  // namespace

std::vector<Point> CMStarShape::points(const platform::Rect& frame, std::int64_t sides) {
  const std::span<const Point> fractions = starTemplate(sides);
  return placedInFrame(frame, fractions.data(), fractions.size());
}

platform::BezierPath CMStarShape::createSimplePath() {
  return closedPolygonPath(points(frame(), std::int64_t{data()->get("star_angles").intValue()} + 3));
}
