#pragma once

// Independent checks for boolean results: SVG path data for writing cases,
// exact areas by Green's theorem, and an even-odd raster of a path with Cairo.

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/affine_transform.h"
#include "platform/graphics/bezier_path.h"

namespace pathoracles {

// Absolute M, L, H, V, C and Z commands only (enough to write the corpus).
platform::BezierPath parseSvgPath(const std::string& data);
// Absolute M, L, C and Z commands with every number written to read back exactly.
std::string svgPathData(const platform::BezierPath& path);

// Area of the path filled even-odd, for subpaths that do not cross each other or themselves:
// the absolute value of the sum of signed subpath areas would be wrong for nested ones, so
// nesting is resolved by counting how many other subpaths contain a point of each subpath.
double evenOddArea(const platform::BezierPath& path);
// Signed area of one closed subpath's boundary (counter-clockwise positive), exact for cubics.
std::vector<double> signedSubpathAreas(const platform::BezierPath& path);

// Distance from `point` to the nearest point of the path's outline, closing segments included; each cubic is
// cut into 128 chords, which for the corpus's shapes stays within a hundredth of a unit.
double distanceToOutline(const platform::BezierPath& path, platform::Point point);

// Whether Cairo fills the point when it fills the path with the given rule.
class FillTester {
 public:
  FillTester(const platform::BezierPath& path, bool evenOdd);
  ~FillTester();
  FillTester(const FillTester&) = delete;
  FillTester& operator=(const FillTester&) = delete;
  bool contains(platform::Point point) const;

 private:
  cairo_t* context_;
};

// Points on the path's outline away from its vertices, a few on each segment, each with its unit normal.
struct OutlinePoint {
  platform::Point point;
  platform::Point normal;
};
std::vector<OutlinePoint> outlinePoints(const platform::BezierPath& path);

platform::BezierPath transformed(const platform::BezierPath& path, const platform::AffineTransform& transform);

// A size×size coverage mask (1 inside) of the path filled even-odd without antialiasing, after
// mapping `frame` onto the raster.
struct Raster {
  int size = 0;
  std::vector<std::uint8_t> inside;
  bool at(int x, int y) const { return inside[static_cast<std::size_t>(y) * size + x] != 0; }
};
Raster rasterize(const platform::BezierPath& path, const platform::Rect& frame, int size);

}  // namespace pathoracles
