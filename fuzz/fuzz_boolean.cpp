// Hostile operand pairs through the four boolean operations: no crash, hang or sanitizer report; finite results
// from finite operands; and no result point outside the operands' control points by more than the engine's
// tolerance.
//
// Input: per operand a subpath count byte (at most 4), then per subpath its first point, an element count byte (at
// most 24) and per element a kind byte (line, curve, close or move) and its points. A coordinate byte c (mod 32) is a small grid
// value below 24 (so that outlines share points and stretches), else 1 ± an ulp, a billionth, a hair off 8, ±1e300,
// NaN or ±inf. Missing bytes read 0.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "byte_reader.h"
#include "boolean/path_boolean_operations.h"
#include "platform/graphics/finite_geometry.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_boolean: %s\n", what);
  std::abort();
}

class Reader : public FuzzByteReader {
 public:
  using FuzzByteReader::FuzzByteReader;
  double coordinate() {
    static const double kSpecial[] = {std::nextafter(1.0, 2.0), std::nextafter(1.0, 0.0), 1e-9, 8 + 1e-7,
                                      1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity()};
    const int code = byte() % 32;
    return code < 24 ? code * 2.5 : kSpecial[code - 24];
  }
  Point point() {
    const double x = coordinate();
    return {x, coordinate()};
  }
  BezierPath path() {
    BezierPath path;
    const int subpaths = byte() % 5;
    for (int s = 0; s < subpaths; ++s) {
      path.moveTo(point());
      const int elements = byte() % 25;
      for (int e = 0; e < elements; ++e) {
        switch (byte() % 4) {
          case 0: path.lineTo(point()); break;
          case 1: {
            const Point c1 = point(), c2 = point();
            path.curveTo(point(), c1, c2);
            break;
          }
          case 2: path.closePath(); break;
          default: path.moveTo(point()); break;
        }
      }
    }
    return path;
  }
};

void checkWithin(const BezierPath& result, const BezierPath& a, const BezierPath& b) {
  if (result.isEmpty()) return;
  BezierPath both = a;
  both.appendPath(b);
  const platform::Rect box = both.controlPointBounds();
  const double slack = 1e-6 * std::max({box.size.width, box.size.height, 1.0});
  const platform::Rect got = result.controlPointBounds();
  if (got.origin.x < box.origin.x - slack || got.origin.y < box.origin.y - slack ||
      got.origin.x + got.size.width > box.origin.x + box.size.width + slack ||
      got.origin.y + got.size.height > box.origin.y + box.size.height + slack) {
    fail("a result point outside the operands");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader reader(data, size);
  const BezierPath a = reader.path();
  const BezierPath b = reader.path();
  const bool finite = platform::isFinitePath(a) && platform::isFinitePath(b);
  for (auto operation : {pb_union, pb_intersect, pb_difference, pb_xor}) {
    const BezierPath result = operation(a, b);
    if (!finite) continue;
    if (!platform::isFinitePath(result)) fail("a coordinate that is not finite");
    checkWithin(result, a, b);
  }
  return 0;
}
