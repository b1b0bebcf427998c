// Hostile polygons through every clipping operation, as contours and as strips: no crash,
// hang or sanitizer report, and every contour and strip has at least 3 finite vertices.
//
// Input: per polygon a contour count byte (at most 4 contours), then per contour a vertex count
// byte and per vertex two coordinate bytes, at most 64 vertices per polygon. A coordinate byte
// picks a small grid value, 0 or a value 1 ulp beside one, ±1e300, NaN or ±inf. Missing bytes
// read as 0.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "byte_reader.h"
#include "geometry/polygon_clipper.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_polygon_clip: %s\n", what);
  std::abort();
}

class Reader : public FuzzByteReader {
 public:
  using FuzzByteReader::FuzzByteReader;

  double coordinate() {
    static const double kSpecial[] = {std::nextafter(0.0, 1.0),
                                      std::nextafter(1.0, 2.0),
                                      std::nextafter(8.0, 0.0),
                                      1e300,
                                      -1e300,
                                      std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity()};
    const int code = byte() % 24;
    return code < 16 ? code : kSpecial[code - 16];
  }

  PolygonRecord polygon() {
    PolygonRecord polygon;
    int left = 64;
    const int contours = byte() % 5;
    for (int c = 0; c < contours; ++c) {
      const int count = std::min<int>(byte() % 33, left);
      left -= count;
      PolygonContour& contour = polygon.contours.emplace_back();
      for (int v = 0; v < count; ++v) {
        const double x = coordinate();
        contour.push_back({x, coordinate()});
      }
    }
    return polygon;
  }
};

void expectUsable(const std::vector<PolygonContour>& contours, const char* what) {
  for (const PolygonContour& contour : contours) {
    if (contour.size() < 3) fail(what);
    for (const PolygonVertex& v : contour) {
      if (!std::isfinite(v.x) || !std::isfinite(v.y)) fail(what);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  const PolygonRecord subject = in.polygon();
  const PolygonRecord clip = in.polygon();
  for (int op = 0; op < 4; ++op) {
    const auto operation = static_cast<PolygonOperation>(op);
    PolygonRecord result;
    clipPolygons(operation, subject, clip, result);
    expectUsable(result.contours, "a contour under 3 vertices or not finite");
    if (result.holes.size() != result.contours.size()) fail("one hole flag per contour");
    TristripRecord strips;
    clipPolygonsToTristrip(operation, subject, clip, strips);
    expectUsable(strips.strips, "a strip under 3 vertices or not finite");
  }
  return 0;
}
