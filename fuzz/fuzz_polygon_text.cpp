// Hostile text through the polygon reader, with and without hole flags: no crash, hang or
// sanitizer report, and a polygon that reads is written and read back to the same polygon
// (coordinates to the 15 decimals the text keeps) and the same text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "geometry/polygon_text.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_polygon_text: %s\n", what);
  std::abort();
}

bool read(const std::string& text, bool holes, PolygonRecord& polygon) {
  std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  if (!file) return false;
  const bool ok = readPolygon(file, holes, polygon);
  std::fclose(file);
  return ok;
}

std::string written(const PolygonRecord& polygon, bool holes) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* file = open_memstream(&buffer, &size);
  if (!file || !writePolygon(file, holes, polygon)) fail("writing failed");
  std::fclose(file);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

bool close(double a, double b) { return std::fabs(a - b) <= 1e-15 * std::fmax(1.0, std::fabs(a)); }

void roundTrip(const PolygonRecord& polygon, bool holes) {
  const std::string text = written(polygon, holes);
  PolygonRecord again;
  if (!read(text, holes, again)) fail("written text does not read");
  if (again.contours.size() != polygon.contours.size()) fail("contour count changed");
  for (std::size_t c = 0; c < polygon.contours.size(); ++c) {
    if (holes && again.holes[c] != polygon.holes[c]) fail("hole flag changed");
    if (!holes && again.holes[c] != 0) fail("hole flag without flags");
    if (again.contours[c].size() != polygon.contours[c].size()) fail("vertex count changed");
    for (std::size_t v = 0; v < polygon.contours[c].size(); ++v) {
      const PolygonVertex a = polygon.contours[c][v], b = again.contours[c][v];
      if (!close(a.x, b.x) || !close(a.y, b.y)) fail("coordinate changed");
    }
  }
  if (written(again, holes) != text) fail("text changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (bool holes : {true, false}) {
    PolygonRecord polygon;
    if (read(text, holes, polygon)) {
      if (polygon.holes.size() != polygon.contours.size()) fail("one flag per contour");
      roundTrip(polygon, holes);
    } else if (!polygon.contours.empty()) {
      fail("a failed read left contours");
    }
  }
  return 0;
}
