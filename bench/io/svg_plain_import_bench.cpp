// Importing SVG files of 10,000, 100,000 and 1,000,000 plain rectangles as the import command does (file read,
// parsed into records, page grown, records appended with their undo step), beside rsvg-convert drawing the same file
// into a PNG of its page size. Each run is a process of its own, so that its peak memory (the largest resident set)
// is its own: ours is forked, the peer is run. An import that refuses the file (when its records would not fit in
// the memory available, say under `ulimit -v`) prints why, and its figures are those of the refusal. A forked child
// starts with the benchmark program's own pages, so run these alone: --benchmark_filter=Plain.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>

#include "document/CMDocument.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"

namespace {

constexpr int kPage = 2000;

const std::filesystem::path& folder() {
  static const std::filesystem::path path = [] {
    const std::filesystem::path made = std::filesystem::temp_directory_path() / "draftwork-svg-plain-bench";
    std::filesystem::create_directories(made);
    // Nothing the documents record may reach the real user's folders.
    platform::overrideFoldersRoot(made / "root");
    return made;
  }();
  return path;
}

// `elements` rectangles of random place, size and colour, written once.
const std::filesystem::path& plainFile(int elements) {
  static std::map<int, std::filesystem::path> files;
  if (auto found = files.find(elements); found != files.end()) return found->second;
  const std::filesystem::path file = folder() / ("plain-" + std::to_string(elements) + ".svg");
  std::mt19937 random(5);
  std::uniform_real_distribution<double> at(0, kPage - 60), size(2, 60);
  std::ofstream out(file, std::ios::binary);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kPage << "\" height=\"" << kPage << "\">\n";
  char buffer[128];
  for (int i = 0; i < elements; ++i) {
    std::snprintf(buffer, sizeof buffer, "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#%06x\"/>\n",
                  at(random), at(random), size(random), size(random), static_cast<unsigned>(random() & 0xffffff));
    out << buffer;
  }
  out << "</svg>\n";
  return files.emplace(elements, file).first->second;
}

struct Run {
  double seconds = 0;
  double peakMB = 0;
  bool ok = false;
};

// `work` in a child process: its wall time, its largest resident set, and whether it exited with 0.
Run inChild(const std::function<int()>& work) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) _exit(work());
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return {};
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
          static_cast<double>(usage.ru_maxrss) / 1024.0, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

Run ours(int elements) {
  const std::filesystem::path& file = plainFile(elements);
  return inChild([&] {
    CMDocument document;
    const platform::Expected<platform::Bytes> data = platform::readFile(file, kLargestImportFile);
    if (!data) return 2;
    const CMSVGImport imported = importSVGData(document, data.value());
    if (!imported.refusal.empty()) {
      std::printf("Plain SVG import, %d elements, refused: %s\n", elements, imported.refusal.c_str());
      std::fflush(stdout);
      return 0;
    }
    return imported.records->empty() ? 1 : 0;
  });
}

Run peer(int elements) {
  const std::string file = plainFile(elements).string(), out = (folder() / "out.png").string();
  return inChild([&] {
    std::freopen("/dev/null", "w", stderr);
    execlp("rsvg-convert", "rsvg-convert", "-o", out.c_str(), file.c_str(), static_cast<char*>(nullptr));
    return 127;
  });
}

void report(benchmark::State& state, const Run& run, const char* who) {
  state.SetIterationTime(run.seconds);
  state.counters["peak MB"] = run.peakMB;
  if (!run.ok) state.SkipWithError((std::string(who) + " did not finish the file").c_str());
}

void BM_PlainSVGImport(benchmark::State& state) {
  const int elements = static_cast<int>(state.range(0));
  for (auto _ : state) report(state, ours(elements), "the import");
}

void BM_PlainRsvgConvert(benchmark::State& state) {
  const int elements = static_cast<int>(state.range(0));
  for (auto _ : state) report(state, peer(elements), "rsvg-convert (librsvg2-bin)");
}

}  // namespace

BENCHMARK(BM_PlainSVGImport)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_PlainRsvgConvert)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kMillisecond);
