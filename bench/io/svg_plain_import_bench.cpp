// SVG files of 10,000, 100,000 and 1,000,000 plain rectangles turned into a PNG of their page: ours imports the file
// as the import command does (file read, parsed into records, page grown, records appended with their undo step) and
// exports the page as PNG into a file, rsvg-convert parses, draws and writes the same page. Each run is a process of
// its own, so that its peak memory (the largest resident set) is its own: ours is forked, the peer is run. The two
// take turns, each going first every other time, so that a machine growing busier or idler weighs on both alike;
// the time shown is ours, the peer's and the ratio are counters and are printed after each size. An import that
// refuses the file (when its records would not fit in the memory available, say under `ulimit -v`) prints why, and
// its figures are those of the refusal. A forked child starts with the benchmark program's own pages, so run these
// alone: --benchmark_filter=Plain.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>

#include "document/CMDocument.h"
#include "io/export/CMPNGOutputFormat.h"
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
  const std::filesystem::path out = folder() / "ours.png";
  return inChild([&] {
    // A drawing of the file's page size, which the import keeps: the PNG is of the page rsvg-convert draws.
    CMDocument document;
    document.data()->set("width", kPage);
    document.data()->set("height", kPage);
    const platform::Expected<platform::Bytes> data = platform::readFile(file, kLargestImportFile);
    if (!data) return 2;
    const CMSVGImport imported = importSVGData(document, data.value());
    if (!imported.refusal.empty()) {
      std::printf("Plain SVG to PNG, %d elements, import refused: %s\n", elements, imported.refusal.c_str());
      std::fflush(stdout);
      return 0;
    }
    if (imported.records->empty()) return 1;
    const platform::Expected<platform::Bytes> png = CMPNGOutputFormat().generate(document);
    if (!png) return 3;
    const platform::Bytes& bytes = png.value();
    std::ofstream written(out, std::ios::binary);
    written.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return written ? 0 : 4;
  });
}

Run peer(int elements) {
  const std::string file = plainFile(elements).string(), out = (folder() / "theirs.png").string();
  return inChild([&] {
    std::freopen("/dev/null", "w", stderr);
    // On white, as our page is: both write the same picture.
    execlp("rsvg-convert", "rsvg-convert", "-b", "white", "-o", out.c_str(), file.c_str(),
           static_cast<char*>(nullptr));
    return 127;
  });
}

void BM_PlainSVGToPNG(benchmark::State& state) {
  const int elements = static_cast<int>(state.range(0));
  plainFile(elements);  // written before any clock runs
  double ourSeconds = 0, peerSeconds = 0, ourPeak = 0, peerPeak = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    Run mine, theirs;
    if (oursFirst) {
      mine = ours(elements);
      theirs = peer(elements);
    } else {
      theirs = peer(elements);
      mine = ours(elements);
    }
    oursFirst = !oursFirst;
    if (!mine.ok) return state.SkipWithError("the import and export did not finish the file");
    if (!theirs.ok) return state.SkipWithError("rsvg-convert (librsvg2-bin) did not finish the file");
    state.SetIterationTime(mine.seconds);
    ourSeconds += mine.seconds;
    peerSeconds += theirs.seconds;
    ourPeak = std::max(ourPeak, mine.peakMB);
    peerPeak = std::max(peerPeak, theirs.peakMB);
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["rsvg-convert ms"] = peerSeconds / runs * 1e3;
  state.counters["ratio"] = ourSeconds / peerSeconds;
  state.counters["peak MB"] = ourPeak;
  state.counters["rsvg-convert peak MB"] = peerPeak;
  std::printf("Plain SVG to PNG, %d elements: ours %.0f ms (peak %.0f MB), rsvg-convert %.0f ms (peak %.0f MB), "
              "ratio %.2f\n",
              elements, ourSeconds / runs * 1e3, ourPeak, peerSeconds / runs * 1e3, peerPeak,
              ourSeconds / peerSeconds);
}

}  // namespace

// An even number of turns, so that each side goes first as often.
BENCHMARK(BM_PlainSVGToPNG)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(4)->UseManualTime()->Unit(
    benchmark::kMillisecond);
