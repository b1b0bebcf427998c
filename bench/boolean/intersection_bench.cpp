// Per-pair time of the curve intersection on random cubic pairs of three kinds:
// transversal (the curves cross), tangent (they touch) and overlapping (they share a stretch).

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "boolean/bezier_curve.h"
#include "boolean/walk/bezier_intersect_range.h"
#include "boolean/walk/bezier_intersection.h"

namespace {

using platform::Point;

struct CurvePair {
  std::shared_ptr<PBBezierCurve> curve1;
  std::shared_ptr<PBBezierCurve> curve2;
};

constexpr int kPairCount = 256;

Point randomPoint(std::mt19937_64& random) {
  std::uniform_real_distribution<double> coordinate(0, 100);
  return {coordinate(random), coordinate(random)};
}

std::shared_ptr<PBBezierCurve> randomCurve(std::mt19937_64& random) {
  return PBBezierCurve::bezierCurveWithEndPoint1(randomPoint(random), randomPoint(random), randomPoint(random),
                                                 randomPoint(random));
}

// Curves from left to right against curves from bottom to top: they cross at least once.
std::vector<CurvePair> transversalPairs() {
  std::mt19937_64 random(1);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<CurvePair> pairs;
  for (int i = 0; i < kPairCount; ++i) {
    const double y0 = 40 + 20 * unit(random);
    const double x0 = 40 + 20 * unit(random);
    pairs.push_back({PBBezierCurve::bezierCurveWithEndPoint1({0, y0}, {33, 100 * unit(random)},
                                                             {66, 100 * unit(random)}, {100, y0}),
                     PBBezierCurve::bezierCurveWithEndPoint1({x0, 0}, {100 * unit(random), 33},
                                                             {100 * unit(random), 66}, {x0, 100})});
  }
  return pairs;
}

// A random curve against its tangent line at a random interior parameter, kept short so it touches once.
std::vector<CurvePair> tangentPairs() {
  std::mt19937_64 random(2);
  std::uniform_real_distribution<double> parameter(0.3, 0.7);
  std::vector<CurvePair> pairs;
  for (int i = 0; i < kPairCount; ++i) {
    auto curve = randomCurve(random);
    std::shared_ptr<PBBezierCurve> right;
    const Point point = curve->pointAtParameter(parameter(random), nullptr, &right);
    const Point direction{right->controlPoint1().x - point.x, right->controlPoint1().y - point.y};
    pairs.push_back({curve, PBBezierCurve::bezierCurveWithLineStartPoint(
                                {point.x - 0.1 * direction.x, point.y - 0.1 * direction.y},
                                {point.x + 0.1 * direction.x, point.y + 0.1 * direction.y})});
  }
  return pairs;
}

// A random curve against a sub-curve of itself.
std::vector<CurvePair> overlappingPairs() {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> start(0, 0.4);
  std::vector<CurvePair> pairs;
  for (int i = 0; i < kPairCount; ++i) {
    auto curve = randomCurve(random);
    const double minimum = start(random);
    pairs.push_back({curve, curve->subcurveWithRange({minimum, minimum + 0.5})});
  }
  return pairs;
}

void intersectPairs(benchmark::State& state, const std::vector<CurvePair>& pairs) {
  std::size_t found = 0;
  for (auto _ : state) {
    for (const CurvePair& pair : pairs) {
      std::shared_ptr<PBBezierIntersectRange> overlap;
      pair.curve1->intersectionsWithBezierCurve(
          pair.curve2.get(), &overlap, [&found](const std::shared_ptr<PBBezierIntersection>&, bool*) { ++found; });
      found += overlap ? 1 : 0;
    }
  }
  benchmark::DoNotOptimize(found);
  // Reported per pair: the rate counter inverted gives seconds per pair.
  state.counters["pairs"] = benchmark::Counter(static_cast<double>(state.iterations() * pairs.size()),
                                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_IntersectTransversalPairs(benchmark::State& state) { intersectPairs(state, transversalPairs()); }
void BM_IntersectTangentPairs(benchmark::State& state) { intersectPairs(state, tangentPairs()); }
void BM_IntersectOverlappingPairs(benchmark::State& state) { intersectPairs(state, overlappingPairs()); }

BENCHMARK(BM_IntersectTransversalPairs);
BENCHMARK(BM_IntersectTangentPairs);
BENCHMARK(BM_IntersectOverlappingPairs);

}  // namespace
