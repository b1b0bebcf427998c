// Our keyed archive against libplist's plain binary property list of the same
// document, both ways, for 1,000, 10,000 and 100,000 layers (libplist's writer,
// quadratic, at 1,000 and 3,000), and libplist parsing our archive's own bytes. The Ratio benchmarks time ours and libplist's
// alternately in one loop and report ours / libplist as "ratio" (below 1: ours
// is faster).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "layer_document.h"
#include "libplist_conversion.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/property_list.h"

namespace platform {
namespace {

constexpr std::size_t kPointsPerShape = 20;

// Everything each side starts from, built before any clock runs. The plain binary property list libplist reads is
// written by our own writer: libplist's writer takes time that grows with the square of the size (minutes at
// 10,000 layers), which would keep the larger documents out.
struct Fixture {
  explicit Fixture(std::size_t layers)
      : document(makeLayerDocument(layers, kPointsPerShape)),
        archive(archivedDataWithRootObject(document)),
        nodes(plistFromValue(document)) {
    Expected<Bytes> plain = dataFromPropertyList(document, PropertyListFormat::Binary);
    if (!plain) std::abort();
    libplistBinary.assign(reinterpret_cast<const char*>(plain.value().data()), plain.value().size());
  }

  Value document;
  Bytes archive;
  PlistNode nodes;
  std::string libplistBinary;
};

const Fixture& fixture(benchmark::State& state) {
  static std::map<std::size_t, std::unique_ptr<Fixture>> fixtures;
  const auto layers = static_cast<std::size_t>(state.range(0));
  auto& slot = fixtures[layers];
  if (!slot) slot = std::make_unique<Fixture>(layers);
  state.counters["archive_bytes"] = static_cast<double>(slot->archive.size());
  state.counters["libplist_bytes"] = static_cast<double>(slot->libplistBinary.size());
  return *slot;
}

void archiveOurs(const Fixture& fixture) {
  Bytes bytes = archivedDataWithRootObject(fixture.document);
  benchmark::DoNotOptimize(bytes.data());
}

void unarchiveOurs(const Fixture& fixture) {
  Expected<Value> tree = unarchiveObjectWithData(fixture.archive);
  if (!tree) std::abort();
  benchmark::DoNotOptimize(tree);
}

void libplistToBin(const Fixture& fixture) {
  char* out = nullptr;
  std::uint32_t length = 0;
  plist_to_bin(fixture.nodes.get(), &out, &length);
  benchmark::DoNotOptimize(out);
  plist_to_bin_free(out);
}

PlistNode libplistParse(const Fixture& fixture) {
  plist_t root = nullptr;
  plist_from_bin(fixture.libplistBinary.data(), static_cast<std::uint32_t>(fixture.libplistBinary.size()), &root);
  if (root == nullptr) std::abort();
  return PlistNode(root);
}

void libplistFromBin(const Fixture& fixture) {
  const PlistNode root = libplistParse(fixture);
  benchmark::DoNotOptimize(root.get());
}

// The very bytes our unarchiver reads: a keyed archive is a binary property list too.
void libplistFromArchive(const Fixture& fixture) {
  plist_t root = nullptr;
  plist_from_bin(reinterpret_cast<const char*>(fixture.archive.data()), static_cast<std::uint32_t>(fixture.archive.size()),
                 &root);
  if (root == nullptr) std::abort();
  const PlistNode node(root);
  benchmark::DoNotOptimize(node.get());
}

// libplist gives its own nodes; converting them to our tree makes the result
// comparable with what our unarchiver returns.
void libplistFromBinToValue(const Fixture& fixture) {
  const PlistNode root = libplistParse(fixture);
  Value tree = valueFromPlist(root.get());
  benchmark::DoNotOptimize(tree);
}

template <void (*Run)(const Fixture&)>
void timeOne(benchmark::State& state) {
  const Fixture& data = fixture(state);
  for (auto _ : state) Run(data);
}

template <void (*Ours)(const Fixture&), void (*Theirs)(const Fixture&)>
void timeRatio(benchmark::State& state) {
  const Fixture& data = fixture(state);
  using Clock = std::chrono::steady_clock;
  Clock::duration ours{}, theirs{};
  for (auto _ : state) {
    const auto start = Clock::now();
    Ours(data);
    const auto middle = Clock::now();
    Theirs(data);
    ours += middle - start;
    theirs += Clock::now() - middle;
  }
  const auto milliseconds = [&](Clock::duration total) {
    return std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(state.iterations());
  };
  state.counters["ours_ms"] = milliseconds(ours);
  state.counters["libplist_ms"] = milliseconds(theirs);
  state.counters["ratio"] = milliseconds(ours) / milliseconds(theirs);
}

void layerCounts(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

// libplist's writer, quadratic in the size, only where it finishes in seconds.
void writerLayerCounts(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(timeOne<archiveOurs>)->Name("KeyedArchive/archive")->Apply(layerCounts);
BENCHMARK(timeOne<unarchiveOurs>)->Name("KeyedArchive/unarchive")->Apply(layerCounts);
BENCHMARK(timeOne<libplistToBin>)->Name("Libplist/to_bin")->Apply(writerLayerCounts);
BENCHMARK(timeOne<libplistFromBin>)->Name("Libplist/from_bin")->Apply(layerCounts);
BENCHMARK(timeOne<libplistFromBinToValue>)->Name("Libplist/from_bin_to_value")->Apply(layerCounts);
BENCHMARK(timeRatio<archiveOurs, libplistToBin>)->Name("Ratio/archive_vs_to_bin")->Apply(writerLayerCounts);
BENCHMARK(timeRatio<unarchiveOurs, libplistFromBin>)->Name("Ratio/unarchive_vs_from_bin")->Apply(layerCounts);
BENCHMARK(timeRatio<unarchiveOurs, libplistFromArchive>)->Name("Ratio/unarchive_vs_from_bin_same_bytes")->Apply(layerCounts);
BENCHMARK(timeRatio<unarchiveOurs, libplistFromBinToValue>)
    ->Name("Ratio/unarchive_vs_from_bin_to_value")
    ->Apply(layerCounts);

}  // namespace
}  // namespace platform
