// Saving and reopening documents of growing size (the time per layer must stay
// flat), opening large drawings with their memory, and undo and redo of one
// transaction of 1,000 edits.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/mixed_layer_scene.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "platform/core/folders.h"

namespace {

// Keeps the project's profile and support files out of the user's folders.
class BenchFolders {
 public:
  BenchFolders() {
    root_ = std::filesystem::temp_directory_path() / "draftwork-document-bench";
    platform::overrideFoldersRoot(root_);
  }
  ~BenchFolders() {
    std::error_code error;
    std::filesystem::remove_all(root_, error);
  }
  BenchFolders(const BenchFolders&) = delete;
  BenchFolders& operator=(const BenchFolders&) = delete;

 private:
  std::filesystem::path root_;
};

BenchFolders& benchFolders() {
  static BenchFolders folders;
  return folders;
}

// A rectangle as the canvas writes it: frame, four points and a fill.
platform::DictRef rectangle(std::int64_t id) {
  platform::ArrayRef points = platform::Array::make();
  for (int k = 0; k < 4; ++k) {
    points->add(platform::Dictionary::make(
        {{"id", k + 1}, {"point", k % 2 ? "{100, 0}" : "{0, 100}"}, {"type", k == 0 ? 1 : 2}}));
  }
  return platform::Dictionary::make(
      {{"id", id},
       {"type", 1},
       {"name", "Rectangle"},
       {"x", platform::Value::real32(static_cast<double>(id % 700))},
       {"y", platform::Value::real32(static_cast<double>(id % 500))},
       {"width", 100},
       {"height", 100},
       {"rotate", 0.0},
       {"visible", true},
       {"position", id},
       {"shape", platform::Dictionary::make({{"points", points}, {"isbezier", false}})},
       {"fill", platform::Dictionary::make({{"use", true}, {"alpha", 1.0}, {"color", "#3366CC"}})}});
}

void fill(CMBaseDocument& document, std::int64_t layers) {
  platform::ArrayRef list = document.data()->array("layers");
  for (std::int64_t id = 1; id <= layers; ++id) list->add(rectangle(id));
}

void BM_SaveDocument(benchmark::State& state) {
  benchFolders();
  CMDocument document;
  fill(document, state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto data = document.dataOfType(CMDocument::kFileType);
    bytes = data.value().size();
    benchmark::DoNotOptimize(data);
  }
  state.SetComplexityN(state.range(0));
  state.counters["layers/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SaveDocument)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The file of a document of that many layers.
platform::Bytes savedDocument(std::int64_t layers) {
  benchFolders();
  CMDocument saved;
  fill(saved, layers);
  return saved.dataOfType(CMDocument::kFileType).value();
}

std::unique_ptr<CMDocument> opened(const platform::Bytes& data, benchmark::State& state) {
  auto document = std::make_unique<CMDocument>();
  if (!document->readFromData(data, CMDocument::kFileType)) state.SkipWithError("the saved document did not read back");
  return document;
}

// Opening alone: the document is closed outside the clock (see BM_CloseDocument).
void BM_OpenDocument(benchmark::State& state) {
  const platform::Bytes data = savedDocument(state.range(0));
  for (auto _ : state) {
    std::unique_ptr<CMDocument> document = opened(data, state);
    benchmark::DoNotOptimize(document->data());
    state.PauseTiming();
    document.reset();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
  state.counters["layers/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenDocument)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Closing: the records freed. Apart from opening, as it grows faster than the layer count once the records outgrow
// the processor's caches (every container is a block of its own to free).
void BM_CloseDocument(benchmark::State& state) {
  const platform::Bytes data = savedDocument(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<CMDocument> document = opened(data, state);
    state.ResumeTiming();
    document.reset();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CloseDocument)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// ---- large drawings: time and memory of opening ----

// The 10,000-layer mixed drawing of the start-up benchmark (a fifth of it 200-point curves).
platform::DictRef mixedDrawing() { return bench::documentRecord(bench::makeScene()); }

// 100,000 plain shape layers: rectangles, ovals, stars and lines with fills and strokes, no curves.
platform::DictRef plainDrawing() {
  std::vector<bench::SceneLayer> scene = bench::makeScene();
  scene.resize(100000);
  for (std::size_t index = bench::kLayerCount; index < scene.size(); ++index) {
    scene[index] = scene[index % bench::kLayerCount];
  }
  for (std::size_t index = 0; index < scene.size(); ++index) {
    scene[index].kind = static_cast<bench::Kind>(index % 4);
    scene[index].curve.clear();
  }
  return bench::documentRecord(scene);
}

// The same 100,000 layers in 5,000 groups of 20: 1,000 chains of five groups, each inside the one before.
platform::DictRef groupedDrawing() {
  platform::DictRef root = plainDrawing();
  const platform::ArrayRef layers = root->array("layers");
  const platform::ArrayRef chains = platform::Array::make();
  constexpr std::size_t kMembers = 20;
  constexpr std::size_t kDepth = 5;
  std::int64_t id = static_cast<std::int64_t>(layers->size());
  platform::ArrayRef outer;
  for (std::size_t first = 0; first < layers->size(); first += kMembers) {
    const platform::ArrayRef items = platform::Array::make();
    for (std::size_t k = first; k < first + kMembers && k < layers->size(); ++k) items->add(layers->at(k));
    const std::size_t level = first / kMembers % kDepth;
    if (level == 0) outer = chains;
    outer->add(platform::Dictionary::make({{"id", ++id}, {"type", 3}, {"visible", true}, {"items", items}}));
    outer = items;
  }
  root->set("layers", chains);
  return root;
}

// Heap in use: the allocator's own count, so only live blocks count.
double heapMegabytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd) / 1e6;
}

// The most resident memory of the process since the last reset (Linux).
void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }
double peakResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1e3;
  }
  return 0;
}

// Reading the saved drawing and making its layer objects, as opening it in a window does before the first frame
// (the layer images are left out). The model's memory is counted apart: the records read, then the layer objects.
// The peak resident memory includes the file's bytes and what the process held before.
void BM_OpenLargeDrawing(benchmark::State& state, platform::DictRef (*drawing)()) {
  benchFolders();
  platform::Bytes data;
  {
    CMDocument saved;
    saved.setData(drawing());
    data = saved.dataOfType(CMDocument::kFileType).value();
  }
  malloc_trim(0);
  double records = 0, objects = 0, peak = 0;
  std::chrono::duration<double, std::milli> reading{}, making{};
  std::size_t layers = 0;
  for (auto _ : state) {
    resetPeakResident();
    const double before = heapMegabytes();
    const auto start = std::chrono::steady_clock::now();
    auto opened = std::make_shared<CMDocument>();
    if (!opened->readFromData(data, CMDocument::kFileType)) state.SkipWithError("the saved drawing did not read back");
    const auto read = std::chrono::steady_clock::now();
    const double readHeap = heapMegabytes();
    CMDrawer drawer;
    drawer.setDocument(opened);
    reading += read - start;
    making += std::chrono::steady_clock::now() - read;
    records = readHeap - before;
    objects = heapMegabytes() - readHeap;
    peak = peakResidentMegabytes();
    layers = drawer.layers().size();
    state.PauseTiming();
    drawer.setDocument(nullptr);
    opened.reset();
    malloc_trim(0);
    state.ResumeTiming();
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["read_ms"] = reading.count() / iterations;
  state.counters["layer_objects_ms"] = making.count() / iterations;
  state.counters["layers"] = static_cast<double>(layers);
  state.counters["file_MB"] = static_cast<double>(data.size()) / 1e6;
  state.counters["records_MB"] = records;
  state.counters["layer_objects_MB"] = objects;
  state.counters["peak_resident_MB"] = peak;
}
BENCHMARK_CAPTURE(BM_OpenLargeDrawing, mixed_10000, mixedDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_OpenLargeDrawing, plain_100000, plainDrawing)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_OpenLargeDrawing, grouped_100000, groupedDrawing)->Unit(benchmark::kMillisecond)->Iterations(2);

// One transaction that moves 1,000 layers of a 1,000-layer document, as a
// marquee drag does; each iteration undoes and redoes it.
void BM_UndoRedoTransaction(benchmark::State& state) {
  CMBaseDocument document;
  fill(document, 1000);
  document.undoManager().startTransaction();
  for (const platform::Value& entry : *document.data()->array("layers")) {
    platform::DictRef record = entry.dictionary();
    document.undoManager().regUndoDictionary(kCMUndoEditing, record);
    record->set("x", platform::Value::real32(record->get("x").doubleValue() + 10));
  }
  document.undoManager().endTransaction();
  for (auto _ : state) {
    document.undo();
    document.redo();
  }
  if (document.undoManager().undoCount() != 1) state.SkipWithError("the transaction did not survive undo and redo");
}
BENCHMARK(BM_UndoRedoTransaction)->Unit(benchmark::kMillisecond);

}  // namespace
