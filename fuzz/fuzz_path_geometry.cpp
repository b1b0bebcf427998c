// Hostile paths and parameters through every path operation and geometry function: no
// crash, hang or sanitizer report, and finite results from finite input at every
// magnitude where the result can be represented. Each check states its condition: the
// operation's result stays within a few times its input's magnitude (checked while that
// stays below kDoubleRoom), and values kept in single precision are checked while their
// inputs stay below kFloatRoom.
//
// Input: a count byte (at most 64 elements), then per element a kind byte and its points
// (a close reads one point too), then three parameters, a probe point and an index byte;
// then, all optional, a scale byte, a constraint angle, a curve parameter, two rectangles
// and four points (a vertex with its neighbours, and a cubic with the probe). Every number takes two bytes, (code − 0x8000) / 16, with codes from
// 0xFFF8 for NaN, ±inf, ±1e300, ±1e18 and 1e-300. The scale byte s multiplies every
// coordinate and length by 2^(8 × s as a signed byte). Index bytes from 0xFC name INT_MIN,
// −1, the element count and INT_MAX; below, the index is the byte − 8. Missing bytes read 0.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "byte_reader.h"
#include "geometry/cubic_segments.h"
#include "geometry/element_walk.h"
#include "geometry/geometry_functions.h"
#include "geometry/line_fragments.h"
#include "geometry/partcode_editing.h"
#include "geometry/partcode_hit_testing.h"
#include "geometry/partcodes.h"
#include "geometry/path_cleanup.h"
#include "geometry/path_effects.h"
#include "geometry/path_length.h"
#include "geometry/path_placement.h"
#include "geometry/path_transforms.h"
#include "geometry/path_trimming.h"
#include "geometry/rect_geometry.h"
#include "geometry/subpath_queries.h"
#include "platform/core/log.h"
#include "platform/graphics/finite_geometry.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

using platform::BezierPath;
using platform::PathElement;
using platform::Point;
using platform::Rect;
using platform::Size;

namespace {

constexpr double kDoubleRoom = 1e306;
constexpr double kFloatRoom = 1e37;
// Placing calls the delegate at each position and measures the path for each: runs up to
// this many positions × elements are made; the refusal of huge runs is cheap and always made.
constexpr double kPlacementWork = 400;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_path_geometry: %s\n", what);
  std::abort();
}

class Reader : public FuzzByteReader {
 public:
  using FuzzByteReader::FuzzByteReader;
  double number() {
    const int code = byte() << 8 | byte();
    static constexpr double kSpecial[] = {NAN, INFINITY, -INFINITY, 1e300, -1e300, 1e18, -1e18, 1e-300};
    if (code >= 0xFFF8) return kSpecial[code - 0xFFF8];
    return (code - 0x8000) / 16.0;
  }
  Point point() {
    const double x = number();
    return {x, number()};
  }
};

bool finite(double v) { return std::isfinite(v); }
bool finite(Point p) { return platform::isFinitePoint(p); }
bool finite(const Rect& r) { return platform::isFiniteRect(r); }
bool finite(const BezierPath& path) { return platform::isFinitePath(path); }
template <typename T>
bool finite(const std::vector<T>& values) {
  return std::all_of(values.begin(), values.end(), [](const T& v) { return finite(v); });
}

// The largest magnitude among the values; infinity when one is not finite.
double magnitude(std::initializer_list<double> values) {
  double largest = 0;
  for (const double v : values) largest = std::isnan(v) ? INFINITY : std::max(largest, std::abs(v));
  return largest;
}
double magnitude(Point p) { return magnitude({p.x, p.y}); }
double magnitude(const Rect& r) { return magnitude({r.origin.x, r.origin.y, r.size.width, r.size.height}); }
double magnitude(const BezierPath& path) {
  double largest = 0;
  walkElements(path, [&](const WalkedElement& element) {
    for (int k = 0; k < pointCountOfElement(element.kind); ++k) largest = std::max(largest, magnitude(element.points[k]));
    return true;
  });
  return largest;
}

// Fails when the condition holds and the result is not finite.
template <typename T>
void expectFinite(bool condition, const T& result, const char* what) {
  if (condition && !finite(result)) fail(what);
}

struct Collector : PathPlacementDelegate, PathIterationDelegate {
  std::any placeObjectAtPoint(Point point, const BezierPath&, float position, float slope, void*) override {
    if (checking && (!finite(point) || !finite(position) || !finite(slope))) fail("placement not finite");
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

// Draws the element boxes into a small image, as an editor does while a point moves.
void drawBoxes(const BezierPath& path) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16);
  {
    platform::GraphicsContext context(surface, 16);
    platform::CurrentContextScope scope(context);
    drawElementsBoundingBoxes(path);
  }
  cairo_surface_destroy(surface);
}

struct Input {
  BezierPath path;
  double p1 = 0, p2 = 0, p3 = 0;  // lengths, amplitudes, tolerances (scaled)
  double raw1 = 0, raw2 = 0, raw3 = 0;  // factors, angles, smoothness (not scaled)
  Point probe;
  int index = 0;
  float constraintAngle = 0, t = 0;
  Rect rectA, rectB;
  Point vertex[4];
};

Input read(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  struct RawElement {
    int kind;
    Point points[3];
  };
  std::vector<RawElement> elements(in.byte() % 65);
  for (RawElement& element : elements) {
    element.kind = in.byte() % 4;
    element.points[0] = in.point();
    if (element.kind == 2) element.points[1] = in.point(), element.points[2] = in.point();
  }
  Input input;
  input.raw1 = in.number(), input.raw2 = in.number(), input.raw3 = in.number();
  Point probe = in.point();
  const std::uint8_t indexByte = in.byte();
  const double scale = std::ldexp(1.0, 8 * static_cast<std::int8_t>(in.byte()));
  input.constraintAngle = static_cast<float>(in.number());
  input.t = static_cast<float>(in.number());
  const auto scaled = [&](Point p) { return Point{p.x * scale, p.y * scale}; };
  const auto rect = [&] {
    const Point origin = in.point(), size = in.point();
    return Rect(scaled(origin), {size.x * scale, size.y * scale});
  };
  input.rectA = rect();
  input.rectB = rect();
  for (Point& p : input.vertex) p = scaled(in.point());
  for (const RawElement& element : elements) {
    const Point a = scaled(element.points[0]);
    if (element.kind == 0) input.path.moveTo(a);
    if (element.kind == 1) input.path.lineTo(a);
    if (element.kind == 2) input.path.curveTo(scaled(element.points[2]), a, scaled(element.points[1]));
    if (element.kind == 3) input.path.closePath();
  }
  input.p1 = input.raw1 * scale, input.p2 = input.raw2 * scale, input.p3 = input.raw3 * scale;
  input.probe = scaled(probe);
  const int count = input.path.elementCount();
  static constexpr int kExtremes[] = {INT_MIN, -1, 0, INT_MAX};
  input.index = indexByte >= 0xFC ? (indexByte == 0xFE ? count : kExtremes[indexByte - 0xFC]) : indexByte - 8;
  return input;
}

void runPathOperations(const Input& in) {
  const BezierPath& path = in.path;
  const float f1 = float(in.p1), f2 = float(in.p2), f3 = float(in.p3);
  const float raw1 = float(in.raw1), raw2 = float(in.raw2), raw3 = float(in.raw3);
  const double size = magnitude(path);
  const bool finiteInput = finite(path) && finite(in.probe);
  const auto finiteArguments = [&](std::initializer_list<double> values) {
    return finiteInput && std::all_of(values.begin(), values.end(), [](double v) { return finite(v); });
  };
  // Results within a few times the magnitude of the path and these values.
  const auto roomFor = [&](std::initializer_list<double> values) {
    return finiteArguments(values) && 8 * std::max(size, magnitude(values)) < kDoubleRoom;
  };
  // Curve boxes take their edges in single precision.
  const bool boxRoom = finiteInput && size < kFloatRoom;

  // Measuring.
  const float total = length(path);
  expectFinite(finiteInput, total, "length");
  expectFinite(finiteArguments({f2}), lengthWithMaximumError(path, f2), "length with error");
  expectFinite(finiteInput, lengthOfElement(path, in.index), "element length");
  expectFinite(finiteInput, lengthOfPathFromElement(path, in.index, INT_MAX), "length from an element");
  expectFinite(finiteInput, lengthOfPathFromElement(path, INT_MIN, in.index), "length to an element");
  expectFinite(finiteInput, firstPoint(path), "first point");
  expectFinite(finiteInput, lastPoint(path), "last point");
  float slope = 0;
  expectFinite(finiteArguments({f1}), pointOnPathAtLength(path, f1, &slope), "point at length");
  expectFinite(finiteArguments({f1}), slope, "slope at length");
  expectFinite(finiteInput, slopeStartingPath(path), "starting slope");
  expectFinite(finiteArguments({f3}), distanceFromStartOfPathAtPoint(path, in.probe, f3), "distance from start");

  // Trimming and arrowheads.
  expectFinite(finiteArguments({f1, f2}), bezierPathByTrimmingToLength(path, f1, f2), "trim to");
  expectFinite(finiteArguments({f1, f2}), bezierPathByTrimmingFromLength(path, f1, f2), "trim from");
  expectFinite(finiteArguments({f1}), bezierPathByTrimmingFromBothEnds(path, f1), "trim both ends");
  expectFinite(finiteArguments({f1}), bezierPathByTrimmingFromCentre(path, f1), "trim centre");
  expectFinite(roomFor({f1, raw2}), bezierPathWithArrowHeadForEndOfLength(path, f1, raw2, true), "arrowhead");

  // Placing and effects along the path, with work bounded so that one input stays quick.
  Collector collector;
  collector.checking = finiteArguments({f1, f2});
  const double positions = f1 > 0 ? double(total) / f1 : INFINITY;
  const bool affordable = positions * (path.elementCount() + 1) < kPlacementWork;
  if (affordable || positions > kMaximumPlacements) {
    placeObjectsOnPathAtInterval(path, f1, &collector, nullptr);
    if (auto joined = bezierPathWithObjectsOnPathAtInterval(path, f1, &collector, nullptr))
      expectFinite(collector.checking, *joined, "objects joined");
    if (auto copies = bezierPathWithPath(path, &path, f1)) expectFinite(finiteArguments({f1}), *copies, "copies");
    placeLinksOnPathWithEvenLinkLength(path, f1, std::abs(f2) + f1, &collector, nullptr);
    placeLinksOnPathWithLinkLength(path, f1, &collector, nullptr);
    expectFinite(roomFor({f1, f2}), bezierPathWithZig(path, f1, f2), "zig-zag");
    expectFinite(roomFor({f1, double(f2) * raw3}), bezierPathWithWavelength(path, f1, f2, raw3), "wave");
  }
  if (positions < 20000 || positions > kMaximumEffectElements)
    expectFinite(finiteArguments({f1}), bezierPathWithFragmentedLineSegments(path, f1), "fragments");
  bezierPathByIteratingWithDelegate(path, &collector, nullptr);

  // Partcodes.
  setConstraintAngle(in.constraintAngle);
  const int partcode = partcodeHitByPoint(path, in.probe, f3, in.index);
  for (const int code : {partcode, in.index}) {
    BezierPath edited = path;
    moveControlPointPartcode(edited, code, in.probe, raw1 > 0, raw2 > 0, raw3 > 0);
    expectFinite(finiteInput, edited, "moved point");
    expectFinite(finiteInput, deleteControlPointForPartcode(path, code), "deletion");
    expectFinite(boxRoom, boundingBoxesForPartcode(path, code), "boxes for partcode");
    expectFinite(finiteInput, controlPointForPartcode(path, code), "control point");
    setControlPoint(edited, in.probe, code);
    expectFinite(finiteInput, edited, "point set");
    elementTypeForPartcode(path, code);
  }
  if (auto inserted = insertControlPointAtPoint(path, in.probe, f3, in.index & 3))
    expectFinite(finiteArguments({f3}), *inserted, "insertion");
  expectFinite(finiteArguments({f3}), nearestPointToPoint(path, in.probe, f3), "nearest point");
  elementBoundsContainsPoint(path, in.probe, f3);
  expectFinite(boxRoom, boundingBoxForElement(path, in.index), "element box");
  expectFinite(boxRoom, allBoundingBoxes(path), "all boxes");
  drawBoxes(path);
  expectFinite(finiteInput, bezierPathByStrippingRedundantElements(path), "stripping");
  expectFinite(finiteInput, bezierPathByRemovingTrailingElements(path, in.index), "removing trailing");
  expectFinite(finiteInput, tangentAtStartOfSubpath(path, in.index), "start tangent");
  expectFinite(finiteInput, tangentAtEndOfSubpath(path, in.index), "end tangent");
  subpathStartingElementForElement(path, in.index);
  subpathEndingElementForElement(path, in.index);
  subpathContainingElementIsClosed(path, in.index);
  isPathClosed(path);
  isOnPathPartcode(path, in.index);

  // Transforms and effects.
  expectFinite(roomFor({raw1 * size}), scaledPath(path, raw1), "scaled");
  expectFinite(roomFor({}), rotatedPath(path, raw1), "rotated");
  // Inset scales about the centre by (extent − 2 × amount) / extent per axis, and control
  // points may lie far outside the bounds that extent is taken from.
  const Rect bounds = path.bounds();
  double insetFactor = 1;
  for (const double extent : {bounds.size.width, bounds.size.height}) {
    if (extent != 0) insetFactor = std::max(insetFactor, std::abs((extent - 2.0 * f1) / extent));
  }
  expectFinite(roomFor({f1, size * insetFactor}), insetPathBy(path, f1), "inset");
  expectFinite(roomFor({}), verticallyFlippedPath(path), "flipped vertically");
  expectFinite(roomFor({}), horizontallyFlippedPath(path), "flipped horizontally");
  expectFinite(roomFor({}), horizontallyFlippedPath(path, in.probe), "flipped about a point");
  expectFinite(finiteInput, minimumCornerAngle(path), "corner angle");
  expectFinite(finiteArguments({raw1}), bezierPathByInterpolatingPath(path, raw1), "smoothed");
  expectFinite(roomFor({f1}), bezierPathByRandomisingPoints(path, f1), "randomised");
  // Roughening cuts the outline (about twice the path's length) into pieces of half the line width.
  if (total < 2500) {
    if (auto rough = bezierPathWithRoughenedStrokeOutline(path, f1)) expectFinite(roomFor({f1}), *rough, "roughened");
  }
  for (const BezierPath& piece : subPaths(path)) expectFinite(finiteInput, piece, "subpath");
  countSubPaths(path);

  // Text line fragments.
  if (auto crossings = intersectingPointsWithHorizontalLineAtY(path, f1)) expectFinite(finiteInput, *crossings, "crossing");
  Rect remaining;
  const Rect proposed(in.p1, in.p2, in.p3, std::abs(in.p3));
  const Rect fragment = lineFragmentRectForProposedRect(path, proposed, &remaining, raw2);
  expectFinite(roomFor({in.p1, in.p2, in.p3}), fragment, "line fragment");
  expectFinite(roomFor({in.p1, in.p2, in.p3}), remaining, "remaining rectangle");
  if (f3 > 0 && path.bounds().size.height / f3 < 64)
    expectFinite(finiteArguments({f3}), lineFragmentRectsForFixedLineheight(path, f3), "line fragments");
}

void runGeometryFunctions(const Input& in) {
  const Point a = in.vertex[0], b = in.vertex[1], c = in.vertex[2], d = in.vertex[3], p = in.probe;
  const float t = in.t;
  const auto finiteArguments = [](std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return finite(v); });
  };
  const bool points = finiteArguments({a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, p.x, p.y});
  const double size = magnitude({magnitude(a), magnitude(b), magnitude(c), magnitude(d), magnitude(p)});
  const bool doubleRoom = points && 8 * size < kDoubleRoom, floatRoom = points && size < kFloatRoom;

  // Points and angles: single-precision measures while the coordinates fit single precision.
  expectFinite(floatRoom, distanceBetweenPoints(a, b), "distance");
  expectFinite(points, slopeBetweenPoints(a, b), "slope");
  expectFinite(points, turnAngle(a, b, c), "turn");
  expectFinite(doubleRoom && finite(t) && std::abs(t) * size < kDoubleRoom, interpolatePoints(a, b, t), "interpolation");
  expectFinite(doubleRoom, midpoint(a, b), "midpoint");
  expectFinite(doubleRoom, addPoints(a, b), "sum");
  expectFinite(doubleRoom, subtractPoints(a, b), "difference");
  expectFinite(points && size < 1e18, squaredLength(a), "squared length");
  expectFinite(points && size < 1e18, squaredDistance(a, b), "squared distance");
  expectFinite(points && size < 1e18, dotProduct(a, b), "dot product");
  expectFinite(doubleRoom && finite(t) && std::abs(t) < kFloatRoom, pointAtAngleAndDistance(a, t, t), "polar point");
  expectFinite(floatRoom, distanceFromLine(p, a, b), "distance from line");
  expectFinite(floatRoom, nearestPointOnLine(p, a, b), "foot on line");
  distanceRatio(a, b, c);
  expectFinite(points, lineIntersection(a, b, c, p), "line crossing");
  expectFinite(points, segmentIntersection(a, b, c, p), "segment crossing");
  const platform::AffineTransform rotation = rotationAboutPoint(t, a);
  expectFinite(doubleRoom && finite(t), Point{rotation.tX, rotation.tY}, "rotation");

  // Cubic segments (the probe is the point to approach); evaluation of every degree up to 5
  // and two degrees that do not exist.
  const Point segment[4] = {a, b, c, d};
  Point left[6], right[6];
  splitCubicAtParameter(segment, t, left, right);
  const bool unitT = finite(t) && t >= 0 && t <= 1;
  for (int i = 0; i < 4; ++i) {
    expectFinite(doubleRoom && unitT, left[i], "left half");
    expectFinite(doubleRoom && unitT, right[i], "right half");
  }
  const Point form[6] = {a, b, c, d, p, in.rectA.origin};
  const bool formRoom = doubleRoom && 8 * magnitude(in.rectA.origin) < kDoubleRoom;
  expectFinite(formRoom && unitT, evaluateBezier(form, in.index & 7, left, right, t), "evaluation");
  double nearestT = -1;
  const Point nearest = nearestPointOnCurve(segment, &nearestT, p);
  expectFinite(points, nearest, "nearest point on curve");
  if (points && !(nearestT >= 0 && nearestT <= 1)) fail("nearest parameter outside the curve");
  expectFinite(points && finite(t), tangentAngleOfCurve(segment, t), "tangent angle");

  // Partcode editing's vertex helpers.
  const Point vertex[3] = {a, b, c};
  Point cpA, cpB;
  colineariseVertex(vertex, &cpA, &cpB);
  expectFinite(floatRoom, cpA, "colinear handle A");
  expectFinite(floatRoom, cpB, "colinear handle B");
  expectFinite(floatRoom, colinearPointForPoint(a, b), "mirrored point");
  expectFinite(floatRoom && finite(t), colinearPointForPoint(a, b, t), "point at radius");
  const Point square[3] = {a, b, c};
  pointInPointArray(p, square, t);

  // Rectangles: the results stay within a few times their input, or within the quotient of
  // a position by a size for the normalised forms.
  const Rect r = in.rectA, s = in.rectB;
  const bool rects = points && finite(r) && finite(s);
  const double rectSize = std::max({size, magnitude(r), magnitude(s)});
  const bool rectRoom = rects && 8 * rectSize < kDoubleRoom;
  expectFinite(rectRoom, rectFromPoints(a, b), "rectangle from points");
  expectFinite(rectRoom, rectCentredOnPoint(a, s.size), "centred rectangle");
  expectFinite(rectRoom, rectMovedToCentre(r, a), "moved rectangle");
  expectFinite(rectRoom, unionOfRects(r, s), "union");
  rectsNearlyEqual(r, s, t);
  const bool floatRects = rects && rectSize < kFloatRoom;
  expectFinite(floatRects, rectMinusRect(r, s), "rectangle minus rectangle");
  expectFinite(floatRects, differenceOfRects(r, s), "rectangle difference");
  // A normalised coordinate is at most 2 × rectSize over the smallest non-zero extent.
  double smallestExtent = INFINITY;
  for (const double extent : {r.size.width, r.size.height}) {
    if (extent != 0) smallestExtent = std::min(smallestExtent, std::abs(extent));
  }
  const double normalised = 2 * rectSize / smallestExtent;
  expectFinite(rectRoom && 8 * normalised < kDoubleRoom, normalisedPointInRect(a, r), "normalised point");
  expectFinite(rectRoom && 8 * size * rectSize < kDoubleRoom, pointFromNormalisedPoint(a, r), "denormalised point");
  const bool mapRoom = rectRoom && 8 * std::max(1.0, normalised) * rectSize < kDoubleRoom;
  expectFinite(mapRoom, mapPointBetweenRects(a, r, s), "mapped point");
  expectFinite(mapRoom, mapRectBetweenRects(in.rectA, r, s), "mapped rectangle");
  expectFinite(rectRoom && finite(t) && std::abs(t) < kFloatRoom && 8 * rectSize * std::max(1.0f, std::abs(t)) < kDoubleRoom,
               scaleRectAboutCentre(r, t), "scaled rectangle");
  const Rect fitted = fitRectWithAspect(r, s.size);
  expectFinite(rectRoom && rectSize < kFloatRoom, fitted, "fitted rectangle");
  expectFinite(rectRoom, centreSizeInRect(s.size, r), "centred size");
  expectFinite(rectRoom, normaliseRect(r), "normalised rectangle");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Smoothing logs every path it makes.
  static const bool quiet = (platform::setLogSink([](platform::LogLevel, std::string_view) {}), true);
  (void)quiet;
  const Input input = read(data, size);
  runPathOperations(input);
  runGeometryFunctions(input);
  return 0;
}
