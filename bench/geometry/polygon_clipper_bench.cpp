// The polygon clipper beside Clipper 6.4 on the same inputs, n = 1k, 10k and 100k vertices per
// operand, coordinates 0–1000, seeded. Narrow cases (a horizontal line meets a bounded number
// of edges): S1 circles and stars against a rounded rectangle, S2 two smooth blobs. Wide cases
// (a line meets Θ(√n) to Θ(n) edges): W1 random star-shaped polygons, W2 self-crossing random
// walks, W3 a fractal outline against itself moved by 0.5 %, W4 a grid of squares against a
// round polygon over a quarter of them, W5 comb against comb (n = 1k and 4k only).
//
// The reported time is ours; the counters hold Clipper's (AddPaths + Execute, converted to
// integers scaled by 10⁶ beforehand), the ratio, n, crossings k, active edges summed over the
// beams, vertices out, the peak heap use of each, and how far the two result areas differ
// relative to the bounding box. The union of the path pairs beside pb_union follows.
//
// The whole set takes about half an hour (W1 at 100k, with 4.6 million crossings, about 2.5
// minutes per operation). Medians: --benchmark_repetitions=5 --benchmark_report_aggregates_only=true.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numbers>
#include <polyclipping/clipper.hpp>
#include <random>

#include "allocation_peak.h"
#include "boolean/path_boolean_operations.h"
#include "geometry/path_polygon_booleans.h"
#include "geometry/polygon_clip_counters.h"
#include "geometry/polygon_clipper.h"
#include "path_oracles.h"
#include "polygon_oracles.h"
#include "polygon_shape_pairs.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kPi = std::numbers::pi;

PolygonContour circle(double cx, double cy, double r, int count) {
  PolygonContour contour;
  for (int i = 0; i < count; ++i)
    contour.push_back({cx + r * std::cos(2 * kPi * i / count), cy + r * std::sin(2 * kPi * i / count)});
  return contour;
}

// The corners in order, each edge cut into equal pieces so that about `count` vertices result.
PolygonContour subdivided(const PolygonContour& corners, int count) {
  const int pieces = std::max(1, count / static_cast<int>(corners.size()));
  PolygonContour contour;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const PolygonVertex a = corners[i], b = corners[(i + 1) % corners.size()];
    for (int k = 0; k < pieces; ++k)
      contour.push_back({a.x + (b.x - a.x) * k / pieces, a.y + (b.y - a.y) * k / pieces});
  }
  return contour;
}

PolygonContour fivePointStar(double cx, double cy, double r, int count) {
  PolygonContour corners;
  for (int i = 0; i < 10; ++i) {
    const double angle = kPi / 2 + i * kPi / 5, radius = i % 2 == 0 ? r : 0.45 * r;
    corners.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
  }
  return subdivided(corners, count);
}

PolygonContour roundedRectangle(double x0, double y0, double x1, double y1, double radius, int count) {
  PolygonContour contour;
  const int perCorner = std::max(1, count / 4);
  const PolygonVertex centres[] = {
      {x1 - radius, y0 + radius}, {x1 - radius, y1 - radius}, {x0 + radius, y1 - radius}, {x0 + radius, y0 + radius}};
  for (int corner = 0; corner < 4; ++corner) {
    for (int i = 0; i < perCorner; ++i) {
      const double angle = -kPi / 2 + corner * kPi / 2 + (kPi / 2) * i / std::max(1, perCorner - 1);
      contour.push_back({centres[corner].x + radius * std::cos(angle), centres[corner].y + radius * std::sin(angle)});
    }
  }
  return contour;
}

// Radius r0 times 1 plus 8 sinusoids of at most 3 % each: smooth and star-shaped.
PolygonContour blob(double cx, double cy, double r0, int count, std::mt19937& random) {
  std::uniform_real_distribution<double> amplitude(0, 0.03), phase(0, 2 * kPi);
  double a[8], p[8];
  for (int k = 0; k < 8; ++k) a[k] = amplitude(random), p[k] = phase(random);
  PolygonContour contour;
  for (int i = 0; i < count; ++i) {
    const double angle = 2 * kPi * i / count;
    double r = 1;
    for (int k = 0; k < 8; ++k) r += a[k] * std::sin((k + 1) * angle + p[k]);
    contour.push_back({cx + r0 * r * std::cos(angle), cy + r0 * r * std::sin(angle)});
  }
  return contour;
}

PolygonContour randomStar(int count, std::mt19937& random) {
  std::uniform_real_distribution<double> angle(0, 2 * kPi), radius(250, 350);
  std::vector<double> angles(count);
  for (double& a : angles) a = angle(random);
  std::sort(angles.begin(), angles.end());
  PolygonContour contour;
  for (double a : angles) {
    const double r = radius(random);
    contour.push_back({500 + r * std::cos(a), 500 + r * std::sin(a)});
  }
  return contour;
}

PolygonContour randomWalk(int count, std::mt19937& random) {
  std::uniform_real_distribution<double> direction(0, 2 * kPi);
  const double step = 1000 / std::sqrt(count);
  PolygonVertex at{500, 500};
  PolygonContour contour;
  for (int i = 0; i < count; ++i) {
    contour.push_back(at);
    const double d = direction(random);
    at.x += step * std::cos(d);
    at.y += step * std::sin(d);
    // Reflect at the walls of the 1000 × 1000 box.
    at.x = at.x < 0 ? -at.x : at.x > 1000 ? 2000 - at.x : at.x;
    at.y = at.y < 0 ? -at.y : at.y > 1000 ? 2000 - at.y : at.y;
  }
  return contour;
}

// Midpoint displacement from a square: each round moves edge midpoints sideways by up to a
// fifth of the edge's length; the last round cuts only as many edges as `count` needs.
PolygonContour fractal(int count, std::mt19937& random) {
  std::uniform_real_distribution<double> offset(-0.2, 0.2);
  PolygonContour contour = {{300, 300}, {700, 300}, {700, 700}, {300, 700}};
  while (static_cast<int>(contour.size()) < count) {
    const std::size_t cuts = std::min(contour.size(), static_cast<std::size_t>(count) - contour.size());
    PolygonContour next;
    for (std::size_t i = 0; i < contour.size(); ++i) {
      const PolygonVertex a = contour[i], b = contour[(i + 1) % contour.size()];
      next.push_back(a);
      if (i >= cuts) continue;
      const double o = offset(random);
      next.push_back({(a.x + b.x) / 2 - (b.y - a.y) * o, (a.y + b.y) / 2 + (b.x - a.x) * o});
    }
    contour = std::move(next);
  }
  return contour;
}

// A bar along the bottom with count/4 − 1 teeth rising from it.
PolygonContour comb(int count) {
  const int teeth = count / 4 - 1;
  const double pitch = 800.0 / teeth;
  PolygonContour contour = {{50, 50}, {950, 50}, {950, 100}};
  for (int i = teeth - 1; i >= 0; --i) {
    const double x = 100 + i * pitch;
    contour.insert(contour.end(), {{x + 0.5 * pitch, 100}, {x + 0.5 * pitch, 950}, {x, 950}, {x, 100}});
  }
  contour.push_back({50, 100});
  return contour;
}

PolygonContour turned(const PolygonContour& contour, double degrees, PolygonVertex centre, PolygonVertex shift) {
  const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
  PolygonContour result;
  for (const PolygonVertex& v : contour) {
    const double x = v.x - centre.x, y = v.y - centre.y;
    result.push_back({centre.x + c * x - s * y + shift.x, centre.y + s * x + c * y + shift.y});
  }
  return result;
}

struct Inputs {
  PolygonRecord subject, clip;
};

Inputs makeInputs(const std::string& name, int n) {
  std::mt19937 random(20240501 + n);
  std::uniform_real_distribution<double> centre(300, 700), radius(150, 300);
  Inputs in;
  if (name == "S1") {
    for (int i = 0; i < 20; ++i)
      in.subject.contours.push_back(circle(centre(random), centre(random), radius(random), n / 40));
    for (int i = 0; i < 20; ++i)
      in.subject.contours.push_back(fivePointStar(centre(random), centre(random), radius(random), n / 40));
    in.clip.contours.push_back(roundedRectangle(100, 150, 850, 900, 120, n));
  } else if (name == "S2") {
    in.subject.contours.push_back(blob(450, 480, 330, n, random));
    in.clip.contours.push_back(blob(560, 530, 330, n, random));
  } else if (name == "W1") {
    in.subject.contours.push_back(randomStar(n, random));
    in.clip.contours.push_back(turned(in.subject.contours[0], 1, {500, 500}, {30, 20}));
  } else if (name == "W2") {
    in.subject.contours.push_back(randomWalk(n, random));
    in.clip.contours.push_back(randomWalk(n, random));
  } else if (name == "W3") {
    in.subject.contours.push_back(fractal(n, random));
    in.clip.contours.push_back(turned(in.subject.contours[0], 0, {0, 0}, {5, 5}));
  } else if (name == "W4") {
    const int side = static_cast<int>(std::lround(std::sqrt(n / 4.0)));
    const double pitch = 1000.0 / side;
    for (int row = 0; row < side; ++row) {
      for (int column = 0; column < side; ++column) {
        const double x = column * pitch + 0.2 * pitch, y = row * pitch + 0.2 * pitch;
        in.subject.contours.push_back(
            {{x, y}, {x + 0.6 * pitch, y}, {x + 0.6 * pitch, y + 0.6 * pitch}, {x, y + 0.6 * pitch}});
      }
    }
    // A round polygon (no collinear vertices for a clipper to drop) over the lower left quarter.
    in.clip.contours.push_back(circle(250, 250, 260, n));
  } else if (name == "W5") {
    in.subject.contours.push_back(comb(n));
    in.clip.contours.push_back(turned(in.subject.contours[0], 80, {500, 500}, {0, 0}));
  }
  return in;
}

const Inputs& inputs(const std::string& name, int n) {
  static std::map<std::pair<std::string, int>, Inputs> made;
  auto [at, fresh] = made.try_emplace({name, n});
  if (fresh) at->second = makeInputs(name, n);
  return at->second;
}

ClipperLib::Paths toClipper(const PolygonRecord& polygon) {
  ClipperLib::Paths paths;
  for (const PolygonContour& contour : polygon.contours) {
    ClipperLib::Path& path = paths.emplace_back();
    for (const PolygonVertex& v : contour) path.push_back({std::llround(v.x * 1e6), std::llround(v.y * 1e6)});
  }
  return paths;
}

double clipperArea(const ClipperLib::Paths& paths) {
  double area = 0;
  for (const ClipperLib::Path& path : paths) area += ClipperLib::Area(path);
  return std::fabs(area) / 1e12;
}

std::size_t vertexCount(const std::vector<PolygonContour>& contours) {
  std::size_t count = 0;
  for (const PolygonContour& c : contours) count += c.size();
  return count;
}

std::size_t vertexCount(const ClipperLib::Paths& paths) {
  std::size_t count = 0;
  for (const ClipperLib::Path& p : paths) count += p.size();
  return count;
}

constexpr PolygonOperation kOperations[] = {PolygonOperation::Difference, PolygonOperation::Intersection,
                                            PolygonOperation::ExclusiveOr, PolygonOperation::Union};
constexpr ClipperLib::ClipType kClipperTypes[] = {ClipperLib::ctDifference, ClipperLib::ctIntersection,
                                                  ClipperLib::ctXor, ClipperLib::ctUnion};
const char* const kOperationNames[] = {"difference", "intersection", "xor", "union"};

double seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

void clipBesideClipper(benchmark::State& state, const std::string& name, int operation) {
  const int n = static_cast<int>(state.range(0));
  const Inputs& in = inputs(name, n);
  const ClipperLib::Paths subject = toClipper(in.subject), clip = toClipper(in.clip);
  PolygonRecord ours;
  ClipperLib::Paths theirs;
  PolygonClipCounters counters;
  double ourTime = 0, clipperTime = 0;
  std::size_t ourPeak = 0, theirPeak = 0;
  for (auto _ : state) {
    freePolygon(ours);
    theirs.clear();
    // The counters add up over calls: count the first only.
    if (ourTime == 0) setPolygonClipCounters(&counters);
    resetAllocationPeak();
    const Clock::time_point start = Clock::now();
    clipPolygons(kOperations[operation], in.subject, in.clip, ours);
    const Clock::time_point middle = Clock::now();
    ourPeak = std::max(ourPeak, allocationPeakSinceReset());
    setPolygonClipCounters(nullptr);

    resetAllocationPeak();
    const Clock::time_point clipperStart = Clock::now();
    ClipperLib::Clipper clipper;
    clipper.AddPaths(subject, ClipperLib::ptSubject, true);
    clipper.AddPaths(clip, ClipperLib::ptClip, true);
    clipper.Execute(kClipperTypes[operation], theirs, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    const Clock::time_point end = Clock::now();
    theirPeak = std::max(theirPeak, allocationPeakSinceReset());

    ourTime += seconds(start, middle);
    clipperTime += seconds(clipperStart, end);
    state.SetIterationTime(seconds(start, middle));
  }
  const double k = static_cast<double>(counters.crossings);
  const double work = (n + k) * std::log2(n + k);
  state.counters["n"] = n;
  state.counters["k"] = k;
  state.counters["active"] = static_cast<double>(counters.activeEdges);
  state.counters["clipper_ms"] = 1e3 * clipperTime / state.iterations();
  state.counters["ratio"] = ourTime / clipperTime;
  state.counters["ns_per_nk_log"] = 1e9 * ourTime / state.iterations() / work;
  state.counters["out"] = static_cast<double>(vertexCount(ours.contours));
  state.counters["clipper_out"] = static_cast<double>(vertexCount(theirs));
  state.counters["peak_MB"] = static_cast<double>(ourPeak) / 1e6;
  state.counters["clipper_peak_MB"] = static_cast<double>(theirPeak) / 1e6;
  state.counters["area_diff"] = std::fabs(polygonoracles::flaggedArea(ours) - clipperArea(theirs)) /
                                polygonoracles::boundingArea(in.subject, in.clip);
}

// The polygon route's union of two paths beside the curve engine's; counters: pb_union's time
// and the difference of the result areas.
void unionBesidePbUnion(benchmark::State& state, const ShapePair& pair) {
  platform::BezierPath a = pair.a, b = pair.b;
  platform::BezierPath ours, theirs;
  double curveTime = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    ours = pathFromUnionWithPath(a, b);
    const Clock::time_point middle = Clock::now();
    theirs = pb_union(pair.a, pair.b);
    const Clock::time_point end = Clock::now();
    curveTime += seconds(middle, end);
    state.SetIterationTime(seconds(start, middle));
  }
  state.counters["pb_union_us"] = 1e6 * curveTime / state.iterations();
  state.counters["area_diff"] = std::fabs(pathoracles::evenOddArea(ours) - pathoracles::evenOddArea(theirs));
}

int registerAll() {
  for (const char* name : {"S1", "S2", "W1", "W2", "W3", "W4", "W5"}) {
    const bool comb = std::string(name) == "W5";
    for (int operation = 0; operation < 4; ++operation) {
      auto* bench = benchmark::RegisterBenchmark(
          (std::string("PolygonClip/") + name + "/" + kOperationNames[operation]).c_str(),
          [name, operation](benchmark::State& state) { clipBesideClipper(state, name, operation); });
      if (comb) {
        bench->Arg(1000)->Arg(4000);
      } else {
        bench->Arg(1000)->Arg(10000)->Arg(100000);
      }
      bench->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.2);
    }
  }
  for (const ShapePair& pair : polygonRouteShapePairs()) {
    benchmark::RegisterBenchmark(("PolygonRouteUnion/" + pair.name).c_str(),
                                 [pair](benchmark::State& state) { unionBesidePbUnion(state, pair); })
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
  }
  return 0;
}

const int registered = registerAll();

}  // namespace
