#include "boolean_families.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "boolean_corpus.h"
#include "path_oracles.h"
#include "platform/core/string_utilities.h"
#include "platform/graphics/affine_transform.h"

namespace booleancheck {

using platform::AffineTransform;
using platform::BezierPath;
using platform::Point;

namespace {

// Outlines this close are one to the engine (its tolerance is 1 to 2 billionths of the operands' size), and the ends
// of a result's curves lie that far off the curves they cut: the sides of a crescent a few times thinner may read
// either way, but a piece thinner than the tolerance must not be kept.
constexpr Tolerance kCurveTolerance{4e-9, 1e-7, 1e-9};

constexpr Operation kOperations[] = {Operation::Union, Operation::Intersect, Operation::Difference, Operation::Xor};

int pick(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
double uniform(std::mt19937& random, double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(random);
}

// A closed polygon from a random vertex, in a random direction, so that no outline always starts or turns alike.
BezierPath polygon(std::vector<Point> points, std::mt19937& random) {
  if (random() % 2) std::reverse(points.begin(), points.end());
  std::rotate(points.begin(), points.begin() + pick(random, 0, static_cast<int>(points.size()) - 1), points.end());
  BezierPath path;
  path.moveTo(points.front());
  for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
  path.closePath();
  return path;
}

// Shapes on a grid of ten units, their edges along the grid or its diagonals, so that outlines of two of them
// often share a stretch or a vertex.
BezierPath gridShape(std::mt19937& random) {
  auto cell = [&](int low = 0, int high = 6) { return 10.0 * pick(random, low, high); };
  const double x = cell(0, 4), y = cell(0, 4);
  const double w = cell(1, 3), h = cell(1, 3);
  switch (pick(random, 0, 5)) {
    case 0: return polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, random);
    case 1: {  // right triangle, its legs on the grid
      const double sx = random() % 2 ? w : -w, sy = random() % 2 ? w : -w;
      return polygon({{x + 10, y + 10}, {x + 10 + sx, y + 10}, {x + 10, y + 10 + sy}}, random);
    }
    case 2: {  // any triangle of grid points
      Point p[3];
      do {
        for (Point& point : p) point = {cell(), cell()};
      } while ((p[1].x - p[0].x) * (p[2].y - p[0].y) == (p[1].y - p[0].y) * (p[2].x - p[0].x));
      return polygon({p[0], p[1], p[2]}, random);
    }
    case 3: {  // parallelogram
      const double d = random() % 2 ? h : -h;
      return polygon({{x + 10, y}, {x + 10 + w, y}, {x + 10 + w + d, y + h}, {x + 10 + d, y + h}}, random);
    }
    case 4:  // diamond
      return polygon({{x + w, y + h}, {x + 2 * w, y + 2 * h}, {x + w, y + 3 * h}, {x, y + 2 * h}}, random);
    default: {  // rectangle with a square or a slanted notch at one corner
      const double W = w + 20, H = h + 20, n = 10;
      std::vector<Point> points{{x + n, y}, {x + W, y}, {x + W, y + H}, {x, y + H}, {x, y + n}};
      if (random() % 2) points.push_back({x + n, y + n});
      return polygon(points, random);
    }
  }
}

BezierPath rectangleShape(std::mt19937& random) {
  auto cell = [&](int low, int high) { return 10.0 * pick(random, low, high); };
  const double x = cell(0, 5), y = cell(0, 5);
  return polygon({{x, y}, {x + cell(1, 4), y}, {x + cell(1, 4), y + cell(1, 4)}, {x, y + cell(1, 4)}}, random);
}

BezierPath transformed(const BezierPath& path, const AffineTransform& transform) {
  return pathoracles::transformed(path, transform);
}

void allOperations(const Run& run, const BezierPath& a, const BezierPath& b) {
  for (Operation operation : kOperations) run(operation, a, b);
}

void eitherWayRound(std::mt19937& random, const Run& run, const BezierPath& a, const BezierPath& b) {
  random() % 2 ? allOperations(run, a, b) : allOperations(run, b, a);
}

void gridPolygons(std::mt19937& random, const Run& run) { allOperations(run, gridShape(random), gridShape(random)); }

void chains(std::mt19937& random, const Run& run) {
  BezierPath current = rectangleShape(random);
  for (int step = 0; step < 6; ++step) {
    const BezierPath other = random() % 4 ? rectangleShape(random) : gridShape(random);
    BezierPath next = run(kOperations[pick(random, 0, 3)], current, other);
    current = next.isEmpty() ? rectangleShape(random) : next;
  }
}

// As layers turned in the style panel: both operands by one rotation about a point of the first, then placed.
void rotatedPairs(std::mt19937& random, const Run& run) {
  const BezierPath a = random() % 2 ? gridShape(random) : rectangleShape(random);
  const BezierPath b = random() % 2 ? gridShape(random) : rectangleShape(random);
  const double degrees = random() % 3 ? uniform(random, 0, 360) : 15.0 * pick(random, 0, 23);
  const platform::Rect box = a.controlPointBounds();
  AffineTransform placed = turnAbout({box.origin.x + box.size.width / 2, box.origin.y + box.size.height / 2}, degrees);
  placed.appendTransform(moveBy(uniform(random, -500, 500), uniform(random, -500, 500)));
  allOperations(run, transformed(a, placed), transformed(b, placed));
}

// Rectangle pairs in layouts whose edges coincide, the second moved by a hair (or a hundredth), then both turned.
void nearPairs(std::mt19937& random, const Run& run) {
  auto rect = [&](double x, double y, double w, double h) {
    return polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, random);
  };
  const BezierPath a = rect(0, 0, 100, 100);
  const double hair = (random() % 2 ? 1 : -1) * std::pow(10.0, pick(random, -9, -2));
  BezierPath b;
  switch (pick(random, 0, 7)) {
    case 0: b = rect(100, 0, 100, 100); break;                                                       // side by side
    case 1: b = rect(50, 40, 100, 60); break;                                                        // sharing a top
    case 2: b = rect(0, 0, 40, 100); break;                                                          // three edges
    case 3: b = rect(30, 0, 40, 100); break;                                                         // a strip
    case 4: b = rect(0, 0, 100, 100); break;                                                         // a copy
    case 5: b = polygon({{0, 0}, {100, 0}, {100, 40}, {40, 40}, {40, 100}, {0, 100}}, random); break;  // an L
    case 6: b = rect(100, 100, 100, 100); break;                                                     // corners
    default: b = transformed(rect(0, 0, 100, 100), turnAbout({0, 0}, hair * 1e-2)); break;           // a tiny turn
  }
  const int direction = pick(random, 0, 2);
  b = transformed(b, moveBy(direction == 1 ? 0 : hair, direction == 0 ? 0 : hair));
  const AffineTransform turn = turnAbout({50, 50}, uniform(random, 0, 360));
  allOperations(run, transformed(a, turn), transformed(b, turn));
}

// Circles and ovals of four cubics touching from outside or inside, sharing an arc or their whole outline.
void curves(std::mt19937& random, const Run& run) {
  const double r = 10.0 * pick(random, 3, 10), s = 10.0 * pick(random, 1, 10);
  constexpr double kKappa = 0.5522847498307936;
  // The quarter disc whose arc is the circle's first cubic.
  const std::string quarter = platform::formatString("M %.17g 0 C %.17g %.17g %.17g %.17g 0 %.17g L 0 0 Z", r, r,
                                                     kKappa * r, kKappa * r, r, r);
  std::string a = corpus::circle(0, 0, r), b;
  switch (pick(random, 0, 7)) {
    case 0: b = corpus::circle(r + s, 0, s); break;                                    // touching outside
    case 1: b = corpus::circle(s < r ? r - s : 0, 0, std::min(r, s)); break;            // touching inside
    case 2: b = quarter; break;                                                         // a quarter sharing an arc
    case 3: b = corpus::circle(0, 0, r); break;                                         // a copy
    case 4: b = corpus::rectangle(r, -s, s, 2 * s); break;                              // a square touching
    case 5: b = corpus::rectangle(-r, -r, 2 * r, 2 * r); break;                         // the square around it
    case 6: b = corpus::oval(0, 0, r, s); break;                                        // ovals sharing two points
    default: b = corpus::oval(pick(random, -5, 5) * 10.0, pick(random, -5, 5) * 10.0, s, r); break;  // crossing
  }
  const AffineTransform turn = turnAbout({0, 0}, random() % 2 ? 0 : uniform(random, 0, 360));
  eitherWayRound(random, run, transformed(pathoracles::parseSvgPath(a), turn),
                 transformed(pathoracles::parseSvgPath(b), turn));
}

// A power of ten between the two exponents, either sign.
double hair(std::mt19937& random, int lowExponent, int highExponent) {
  return (random() % 2 ? 1 : -1) * std::pow(10.0, uniform(random, lowExponent, highExponent));
}

AffineTransform placedAt(std::mt19937& random) {
  AffineTransform transform = turnAbout({0, 0}, uniform(random, 0, 360));
  transform.appendTransform(moveBy(uniform(random, -200, 200), uniform(random, -200, 200)));
  return transform;
}

// An outline that crosses itself, placed anywhere.
BezierPath selfCrossingShape(std::mt19937& random) {
  const double size = uniform(random, 40, 120);
  BezierPath path;
  switch (pick(random, 0, 3)) {
    case 0: {  // a star polygon {p/q}
      static const int kStars[][2] = {{5, 2}, {7, 3}, {7, 2}, {8, 3}};
      const auto& star = kStars[pick(random, 0, 3)];
      const double turn = uniform(random, 0, 2 * std::numbers::pi);
      std::vector<Point> points;
      for (int k = 0; k < star[0]; ++k) {
        const double angle = turn + 2 * std::numbers::pi * k * star[1] / star[0];
        points.push_back({size * std::cos(angle), size * std::sin(angle)});
      }
      path = polygon(points, random);
      break;
    }
    case 1: {  // a bow-tie
      const double h = uniform(random, 0.3, 1.5) * size;
      path = polygon({{0, 0}, {size, h * uniform(random, 0.6, 1.4)}, {size, 0}, {0, h}}, random);
      break;
    }
    case 2: {  // a figure-eight of two S-shaped cubics
      const double bend = uniform(random, 0.6, 1.6) * size;
      path.moveTo({-size, 0});
      path.curveTo({size, 0}, {-size, -bend}, {size, bend});
      path.curveTo({-size, 0}, {size, -bend}, {-size, bend});
      path.closePath();
      break;
    }
    default: {  // random lines and curves as clicked with the pen
      auto anywhere = [&] { return Point{uniform(random, 0, size), uniform(random, 0, size)}; };
      const int count = pick(random, 3, 7);
      const Point start = anywhere();
      path.moveTo(start);
      for (int i = 0; i < count; ++i) {
        const Point to = i + 1 == count ? start : anywhere();
        random() % 2 ? path.lineTo(to) : path.curveTo(to, anywhere(), anywhere());
      }
      path.closePath();
    }
  }
  return transformed(path, placedAt(random));
}

// Against a rectangle or a circle over part of it, or another such outline.
void selfCrossing(std::mt19937& random, const Run& run) {
  const BezierPath a = selfCrossingShape(random);
  const platform::Rect box = a.controlPointBounds();
  auto across = [&](double low, double high) { return uniform(random, low, high) * box.size.width; };
  auto down = [&](double low, double high) { return uniform(random, low, high) * box.size.height; };
  BezierPath b;
  switch (pick(random, 0, 2)) {
    case 0: {
      const double x = box.origin.x + across(-0.2, 0.8), y = box.origin.y + down(-0.2, 0.8);
      b = pathoracles::parseSvgPath(corpus::rectangle(x, y, across(0.1, 0.7), down(0.1, 0.7)));
      break;
    }
    case 1: {
      const double x = box.origin.x + across(0, 1), y = box.origin.y + down(0, 1);
      b = pathoracles::parseSvgPath(corpus::circle(x, y, across(0.1, 0.5)));
      break;
    }
    default: b = selfCrossingShape(random); break;
  }
  allOperations(run, a, b);
}

BezierPath roundShape(std::mt19937& random, Point centre, double radius) {
  const double ratio = random() % 2 ? 1 : uniform(random, 0.4, 0.9);
  return pathoracles::parseSvgPath(corpus::oval(centre.x, centre.y, radius, radius * ratio));
}

// A circle or an oval against itself turned about its centre: by 0.25° + k·5°, or by a tiny angle.
void turnedCopies(std::mt19937& random, const Run& run) {
  const Point centre{uniform(random, -100, 100), uniform(random, -100, 100)};
  const BezierPath a = roundShape(random, centre, uniform(random, 5, 50));
  const double degrees = random() % 3 ? 0.25 + 5 * pick(random, 0, 71) : hair(random, -3, 1);
  allOperations(run, a, transformed(a, turnAbout(centre, degrees)));
}

// The same outline in other pieces: each cubic cut in two at a random place, the contour started at another point.
BezierPath recut(const BezierPath& path, std::mt19937& random) {
  std::vector<Cubic> cubics;
  Point current;
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    const platform::PathElement element = path.elementAt(i, points);
    if (element == platform::PathElement::Move) current = points[0];
    if (element != platform::PathElement::Curve) continue;
    const auto [first, second] = cutAt({current, points[0], points[1], points[2]}, uniform(random, 0.2, 0.8));
    cubics.push_back(first);
    cubics.push_back(second);
    current = points[2];
  }
  std::rotate(cubics.begin(), cubics.begin() + pick(random, 0, static_cast<int>(cubics.size()) - 1), cubics.end());
  BezierPath result;
  result.moveTo(cubics.front()[0]);
  for (const Cubic& cubic : cubics) result.curveTo(cubic[3], cubic[1], cubic[2]);
  result.closePath();
  return result;
}

// Curves that nearly coincide: a circle or oval against itself shifted, scaled or turned by 1e-6 to 1e-2 of its
// size, and the same outline drawn in other pieces (eight 45° arcs, or its cubics cut elsewhere).
void nearCurves(std::mt19937& random, const Run& run) {
  const Point centre{uniform(random, -100, 100), uniform(random, -100, 100)};
  const double radius = uniform(random, 5, 50);
  const BezierPath a = roundShape(random, centre, radius);
  const double by = hair(random, -6, -2);
  BezierPath b;
  switch (pick(random, 0, 4)) {
    case 0: {
      const double angle = uniform(random, 0, 2 * std::numbers::pi);
      b = transformed(a, moveBy(by * radius * std::cos(angle), by * radius * std::sin(angle)));
      break;
    }
    case 1: {
      AffineTransform scale = moveBy(centre.x, centre.y);
      scale.scaleBy(1 + by);
      scale.translate(-centre.x, -centre.y);
      b = transformed(a, scale);
      break;
    }
    case 2: b = transformed(a, turnAbout(centre, by * 180 / std::numbers::pi)); break;
    case 3: {
      b.moveTo({centre.x + radius, centre.y});
      for (int k = 0; k < 8; ++k) b.appendArc(centre, radius, 45.0 * k, 45.0 * (k + 1), false);
      b.closePath();
      b = transformed(b, turnAbout(centre, 45.0 * pick(random, 0, 7)));
      break;
    }
    default: b = recut(a, random); break;
  }
  eitherWayRound(random, run, a, b);
}

// Grid shapes scaled down to a thousandth or up a hundred thousand times and placed up to a million units from the
// origin, where a coordinate's last digit is coarse beside the shapes.
void smallAndFar(std::mt19937& random, const Run& run) {
  AffineTransform placed;
  placed.translate(std::pow(10.0, pick(random, 0, 6)) * (random() % 2 ? 1 : -1),
                   std::pow(10.0, pick(random, 0, 6)) * (random() % 2 ? 1 : -1));
  placed.scaleBy(std::pow(10.0, pick(random, -3, 5)) / 50);  // grid shapes are some 50 units across
  if (random() % 2) placed.rotateByDegrees(uniform(random, 0, 360));
  const BezierPath a = random() % 2 ? gridShape(random) : rectangleShape(random);
  allOperations(run, transformed(a, placed), transformed(gridShape(random), placed));
}

}  // namespace

AffineTransform turnAbout(Point centre, double degrees) {
  AffineTransform transform = moveBy(centre.x, centre.y);
  transform.rotateByDegrees(degrees);
  transform.translate(-centre.x, -centre.y);
  return transform;
}

AffineTransform moveBy(double dx, double dy) {
  AffineTransform transform;
  transform.translate(dx, dy);
  return transform;
}

const std::vector<Family>& families() {
  static const std::vector<Family> list{{"grid_polygons", gridPolygons},
                                        {"chains", chains},
                                        {"rotated_pairs", rotatedPairs},
                                        {"near_pairs", nearPairs},
                                        {"small_and_far", smallAndFar},
                                        {"curves", curves},
                                        {"self_crossing", selfCrossing},
                                        {"turned_copies", turnedCopies, kCurveTolerance},
                                        {"near_curves", nearCurves, kCurveTolerance}};
  return list;
}

Tally playFamily(const Family& family, std::uint32_t seed, int operations, int keptFailures) {
  std::mt19937 random(seed);
  std::mt19937 judging(seed ^ 0x9e3779b9u);
  Tally tally;
  const Run run = [&](Operation operation, const BezierPath& a, const BezierPath& b) {
    BezierPath result = apply(operation, a, b);
    ++tally.operations;
    const std::string wrong = judge(operation, a, b, result, judging, family.tolerance);
    if (!wrong.empty()) {
      ++tally.wrongCount;
      if (static_cast<int>(tally.wrong.size()) < keptFailures) {
        tally.wrong.push_back(std::string(name(operation)) + ": " + wrong + "\n  a: " + pathoracles::svgPathData(a) +
                              "\n  b: " + pathoracles::svgPathData(b) + "\n  result: " + pathoracles::svgPathData(result));
      }
    }
    return result;
  };
  while (tally.operations < operations) family.play(random, run);
  return tally;
}

}  // namespace booleancheck
