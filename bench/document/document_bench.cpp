// Saving and reopening documents of growing size (the time per layer must stay
// flat), and undo and redo of one transaction of 1,000 edits.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "document/CMDocument.h"
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

void BM_OpenDocument(benchmark::State& state) {
  benchFolders();
  CMDocument saved;
  fill(saved, state.range(0));
  const platform::Bytes data = saved.dataOfType(CMDocument::kFileType).value();
  for (auto _ : state) {
    CMDocument opened;
    if (!opened.readFromData(data, CMDocument::kFileType)) state.SkipWithError("the saved document did not read back");
    benchmark::DoNotOptimize(opened.data());
  }
  state.SetComplexityN(state.range(0));
  state.counters["layers/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenDocument)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

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
