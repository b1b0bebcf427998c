#pragma once

// Point, size and rectangle value types in double precision.

namespace platform {

struct Point {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
  double width = 0;
  double height = 0;
  friend constexpr bool operator==(const Size&, const Size&) = default;
};

// Origin and size; never normalised, so a size may be negative.
struct Rect {
  Point origin;
  Size size;
  constexpr Rect() = default;
  constexpr Rect(Point o, Size s) : origin(o), size(s) {}
  constexpr Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform
