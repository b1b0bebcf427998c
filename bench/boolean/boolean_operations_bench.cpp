// Union, intersection, difference and exclusive-or on the cubic curves, B1 to
// B5 (boolean_bench_cases.h). Each run also reports how far the result's area is from the
// identity area(A∪B) + area(A∩B) = area(A) + area(B) (union and intersection),
// area(A−B) = area(A) − area(A∩B) and area(A xor B) = area(A∪B) − area(A∩B).
//
// Every operation is followed by the same operation of lib2geom, PathKit and paper.js on the same SVG path data
// (boolean_peers.h), with the peer's result area against ours; PathKit and paper.js need `npm ci` in
// bench/boolean/peers. Select with the filter: --benchmark_filter='^B1.*' or '/(union|xor)$' for ours alone.
//
// Medians: run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "boolean/bezier_graph.h"
#include "boolean/path_boolean_operations.h"
#include "boolean_bench_cases.h"
#include "boolean_peers.h"
#include "path_oracles.h"
#include "platform/graphics/bezier_path.h"

namespace {

using pathoracles::evenOddArea;
using platform::BezierPath;

enum Operation { Union, Intersect, Difference, Xor };

BezierPath apply(Operation operation, const BezierPath& a, const BezierPath& b) {
  switch (operation) {
    case Union: return pb_union(a, b);
    case Intersect: return pb_intersect(a, b);
    case Difference: return pb_difference(a, b);
    case Xor: return pb_xor(a, b);
  }
  return {};
}

// The identity error of one operation's result, relative to area(A) + area(B).
double areaError(Operation operation, const BezierPath& a, const BezierPath& b, const BezierPath& result) {
  const double areaA = evenOddArea(a);
  const double areaB = evenOddArea(b);
  const double areaU = evenOddArea(pb_union(a, b));
  const double areaI = evenOddArea(pb_intersect(a, b));
  const double got = evenOddArea(result);
  double expected = 0;
  switch (operation) {
    case Union: expected = areaA + areaB - areaI; break;
    case Intersect: expected = areaA + areaB - areaU; break;
    case Difference: expected = areaA - areaI; break;
    case Xor: expected = areaU - areaI; break;
  }
  const double scale = areaA + areaB;
  return scale > 0 ? std::fabs(got - expected) / scale : 0;
}

void runCase(benchmark::State& state, Operation operation, const BezierPath& a, const BezierPath& b) {
  BezierPath result;
  for (auto _ : state) {
    result = apply(operation, a, b);
    benchmark::DoNotOptimize(result);
  }
  state.counters["area_err"] = areaError(operation, a, b, result);
  // On the coincidence cases an error above 1e-6 counts as a failure.
  state.counters["failed"] = areaError(operation, a, b, result) > 1e-6 ? 1 : 0;
}

constexpr Operation kOperations[] = {Union, Intersect, Difference, Xor};
const char* const kOperationNames[] = {"union", "intersect", "difference", "xor"};

// How far a peer's result area is from ours, relative to area(A) + area(B); above 2e-6 counts as a failure.
void comparePeerArea(benchmark::State& state, Operation operation, const BezierPath& a, const BezierPath& b,
                     const PeerAnswer& answer) {
  if (!answer.ok) {
    state.SkipWithError(answer.text.c_str());
    return;
  }
  const double scale = evenOddArea(a) + evenOddArea(b);
  const double difference = std::fabs(evenOddArea(pathoracles::parseSvgPath(answer.text)) -
                                      evenOddArea(apply(operation, a, b)));
  state.counters["area_vs_ours"] = scale > 0 ? difference / scale : 0;
  state.counters["failed"] = scale > 0 && difference / scale > 2e-6 ? 1 : 0;
}

void registerLib2geom(const std::string& name, Operation operation, const BezierPath& a, const BezierPath& b) {
  auto operands = std::make_shared<Lib2geomOperands>(pathoracles::svgPathData(a), pathoracles::svgPathData(b));
  const std::string operationName = kOperationNames[operation];
  benchmark::RegisterBenchmark((name + "/" + operationName + "/lib2geom").c_str(), [=](benchmark::State& state) {
    const PeerAnswer answer = operands->result(operationName);
    if (!answer.ok) {
      state.SkipWithError(answer.text.c_str());
      return;
    }
    for (auto _ : state) operands->run(operationName);
    comparePeerArea(state, operation, a, b, answer);
  })->Unit(benchmark::kMicrosecond);
}

// Timed inside node, one operation per iteration.
void registerNodePeer(const std::string& name, const std::string& library, Operation operation, const BezierPath& a,
                      const BezierPath& b) {
  const std::string operationName = kOperationNames[operation];
  benchmark::RegisterBenchmark((name + "/" + operationName + "/" + library).c_str(), [=](benchmark::State& state) {
    NodePeers& peers = NodePeers::shared();
    std::string why;
    if (!peers.available(&why) || !peers.load(name, pathoracles::svgPathData(a), pathoracles::svgPathData(b))) {
      state.SkipWithError(why.empty() ? "the operands could not be loaded" : why.c_str());
      return;
    }
    const PeerAnswer answer = peers.result(name, library, operationName);
    if (!answer.ok) {
      state.SkipWithError(answer.text.c_str());
      return;
    }
    for (auto _ : state) {
      std::uint64_t nanoseconds = 0;
      if (!peers.time(name, library, operationName, &nanoseconds, &why)) {
        state.SkipWithError(why.c_str());
        break;
      }
      state.SetIterationTime(static_cast<double>(nanoseconds) * 1e-9);
    }
    comparePeerArea(state, operation, a, b, answer);
  })->UseManualTime()->Unit(benchmark::kMicrosecond);
}

// Each operation of ours, followed by the same operation of each peer on the same path data.
void registerCase(const std::string& name, const BezierPath& a, const BezierPath& b) {
  for (Operation operation : kOperations) {
    benchmark::RegisterBenchmark((name + "/" + kOperationNames[operation]).c_str(),
                                 [operation, a, b](benchmark::State& state) { runCase(state, operation, a, b); })
        ->Unit(benchmark::kMicrosecond);
    registerLib2geom(name, operation, a, b);
    registerNodePeer(name, "pathkit", operation, a, b);
    registerNodePeer(name, "paper", operation, a, b);
  }
}

// The same union through the graphs with the edge-pair sweep off: every pair of edges is tested.
void registerUnionWithoutSweep(const std::string& name, const BezierPath& a, const BezierPath& b) {
  benchmark::RegisterBenchmark((name + "/union_all_pairs").c_str(), [a, b](benchmark::State& state) {
    for (auto _ : state) {
      PBBezierGraph graphA(a);
      PBBezierGraph graphB(b);
      graphA.setUsesBoundsSweep(false);
      graphB.setUsesBoundsSweep(false);
      benchmark::DoNotOptimize(graphA.unionWithBezierGraph(graphB)->bezierPath());
    }
  })->Unit(benchmark::kMicrosecond);
}

int registerAll() {
  for (const BooleanBenchCase& benchCase : booleanBenchCases()) {
    registerCase(benchCase.name, benchCase.a, benchCase.b);
    if (benchCase.name.starts_with("B2_")) registerUnionWithoutSweep(benchCase.name, benchCase.a, benchCase.b);
  }
  return 0;
}

const int registered = registerAll();

}  // namespace
