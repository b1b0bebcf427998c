// Hostile paths and parameters through every path operation: no crash, hang or sanitizer
// report, and finite results wherever the path and parameters are of moderate size
// (huge but finite coordinates may overflow a scaled copy, which is not a fault).
//
// Input: a count byte (at most 64 elements), then per element a kind byte and its points,
// then the parameters; every number takes two bytes, with a few codes for NaN, ±inf,
// ±1e300 and ±1e18. Missing bytes read as 0.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "geometry/element_walk.h"
#include "geometry/line_fragments.h"
#include "geometry/partcode_editing.h"
#include "geometry/partcode_hit_testing.h"
#include "geometry/path_cleanup.h"
#include "geometry/path_effects.h"
#include "geometry/path_length.h"
#include "geometry/path_placement.h"
#include "geometry/path_transforms.h"
#include "geometry/path_trimming.h"
#include "geometry/subpath_queries.h"
#include "platform/core/log.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_path_geometry: %s\n", what);
  std::abort();
}

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  double number() {
    const int code = byte() << 8 | byte();
    static constexpr double kSpecial[] = {NAN, INFINITY, -INFINITY, 1e300, -1e300, 1e18, -1e18, 1e-300};
    if (code >= 0xFFF8) return kSpecial[code - 0xFFF8];
    return (code - 0x8000) / 16.0;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool moderate(double v) { return std::abs(v) <= 4096; }

bool moderatePath(const BezierPath& path) {
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    const PathElement kind = path.elementAt(i, points);
    for (int k = 0; k < pointCountOfElement(kind); ++k) {
      if (!moderate(points[k].x) || !moderate(points[k].y)) return false;
    }
  }
  return true;
}

void expectFinite(bool check, bool ok, const char* what) {
  if (check && !ok) fail(what);
}

void expectFinitePath(bool check, const BezierPath& path, const char* what) {
  if (!check) return;
  for (int i = 0; i < path.elementCount(); ++i) {
    Point points[3];
    const PathElement kind = path.elementAt(i, points);
    for (int k = 0; k < pointCountOfElement(kind); ++k) {
      if (!finite(points[k])) fail(what);
    }
  }
}

struct Collector : PathPlacementDelegate, PathIterationDelegate {
  std::any placeObjectAtPoint(Point point, const BezierPath&, float position, float slope, void*) override {
    if (checking && (!finite(point) || !std::isfinite(position) || !std::isfinite(slope))) fail("placement not finite");
    BezierPath mark;
    mark.moveTo(point);
    mark.lineTo({point.x + 1, point.y});
    return mark;
  }
  std::any placeLinkFromPoint(Point from, Point to, const BezierPath&, int, void*) override {
    if (checking && (!finite(from) || !finite(to))) fail("link not finite");
    return 1;
  }
  void path(BezierPath& result, int, PathElement kind, const Point points[4], int, bool, void*) override {
    if (kind == PathElement::Line) result.lineTo(points[0]);
  }
  bool checking = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Smoothing logs every path it makes.
  static const bool quiet = (platform::setLogSink([](platform::LogLevel, std::string_view) {}), true);
  (void)quiet;
  Reader in(data, size);
  BezierPath path;
  const int count = in.byte() % 65;
  for (int i = 0; i < count; ++i) {
    const int kind = in.byte() % 4;
    const Point a{in.number(), in.number()};
    if (kind == 0) path.moveTo(a);
    if (kind == 1) path.lineTo(a);
    if (kind == 2) {
      const Point b{in.number(), in.number()}, c{in.number(), in.number()};
      path.curveTo(c, a, b);
    }
    if (kind == 3) path.closePath();
  }
  const double p1 = in.number(), p2 = in.number(), p3 = in.number();
  const Point probe{in.number(), in.number()};
  const int index = static_cast<int>(in.byte()) - 8;
  const bool check = moderatePath(path) && moderate(p1) && moderate(p2) && moderate(p3) && moderate(probe.x) &&
                     moderate(probe.y);
  const float f1 = static_cast<float>(p1), f2 = static_cast<float>(p2), f3 = static_cast<float>(p3);

  // Measuring.
  const float total = length(path);
  expectFinite(check, std::isfinite(total) && total >= 0, "length");
  expectFinite(check, std::isfinite(lengthWithMaximumError(path, f2)), "length with error");
  expectFinite(check, std::isfinite(lengthOfElement(path, index)), "element length");
  float slope = 0;
  expectFinite(check, finite(pointOnPathAtLength(path, f1, &slope)) && std::isfinite(slope), "point at length");
  expectFinite(check, std::isfinite(distanceFromStartOfPathAtPoint(path, probe, f3)), "distance from start");

  // Trimming and arrowheads.
  expectFinitePath(check, bezierPathByTrimmingToLength(path, f1, f2), "trim to");
  expectFinitePath(check, bezierPathByTrimmingFromLength(path, f1, f2), "trim from");
  expectFinitePath(check, bezierPathByTrimmingFromBothEnds(path, f1), "trim both ends");
  expectFinitePath(check, bezierPathByTrimmingFromCentre(path, f1), "trim centre");
  expectFinitePath(check, bezierPathWithArrowHeadForEndOfLength(path, f1, f2, true), "arrowhead");

  // Placing, with work bounded so that one input stays quick.
  Collector collector;
  collector.checking = check;
  const bool fewPositions = std::isfinite(total) && f1 > 0 && total / f1 < 50;
  if (fewPositions) {
    placeObjectsOnPathAtInterval(path, f1, &collector, nullptr);
    placeLinksOnPathWithEvenLinkLength(path, f1, std::abs(f2) + f1, &collector, nullptr);
    expectFinitePath(check, bezierPathWithZig(path, f1, f2), "zig-zag");
    expectFinitePath(check, bezierPathWithWavelength(path, f1, f2, f3), "wave");
    expectFinitePath(check, bezierPathWithFragmentedLineSegments(path, f1), "fragments");
  }
  if (auto copies = bezierPathWithPath(path, &path, fewPositions ? f1 : -1)) expectFinitePath(check, *copies, "copies");
  bezierPathByIteratingWithDelegate(path, &collector, nullptr);

  // Partcodes.
  BezierPath edited = path;
  const int partcode = partcodeHitByPoint(path, probe, f3, index);
  moveControlPointPartcode(edited, index, probe, p1 > 0, p2 > 0, p3 > 0);
  expectFinitePath(check, edited, "moved point");
  expectFinitePath(check, deleteControlPointForPartcode(path, partcode == 0 ? index : partcode), "deletion");
  if (auto inserted = insertControlPointAtPoint(path, probe, f3, index & 3)) expectFinitePath(check, *inserted, "insertion");
  boundingBoxesForPartcode(path, index);
  expectFinitePath(check, bezierPathByStrippingRedundantElements(path), "stripping");
  bezierPathByRemovingTrailingElements(path, index);
  tangentAtStartOfSubpath(path, index);
  tangentAtEndOfSubpath(path, index);

  // Transforms and effects.
  expectFinitePath(check, scaledPath(path, f1), "scaled");
  expectFinitePath(check, rotatedPath(path, f1), "rotated");
  expectFinitePath(check, insetPathBy(path, f1), "inset");
  expectFinitePath(check, verticallyFlippedPath(path), "flipped");
  expectFinite(check, std::isfinite(minimumCornerAngle(path)), "corner angle");
  expectFinitePath(check, bezierPathByInterpolatingPath(path, f1), "smoothed");
  expectFinitePath(check, bezierPathByRandomisingPoints(path, f1), "randomised");
  if (total < 500) {
    if (auto rough = bezierPathWithRoughenedStrokeOutline(path, f1)) expectFinitePath(check, *rough, "roughened");
  }
  subPaths(path);
  countSubPaths(path);

  // Text line fragments.
  if (auto crossings = intersectingPointsWithHorizontalLineAtY(path, f1)) {
    for (Point p : *crossings) expectFinite(check, finite(p), "crossing");
  }
  platform::Rect remaining;
  lineFragmentRectForProposedRect(path, {p1, p2, p3, std::abs(p3)}, &remaining, f2);
  if (f3 > 0 && path.bounds().size.height / f3 < 50) lineFragmentRectsForFixedLineheight(path, f3);
  return 0;
}
