// Importing generated SVG drawings of 1,000, 10,000 and 100,000 elements as the import command does once a file is
// chosen (read, parsed into records, page grown, records appended with their undo step), beside rsvg-convert drawing
// the same file into a PNG of its page size, whole process timed; the ratio is printed after each peer run. Also the
// path-data scanner's throughput.
//
// The drawing: groups of 50 elements, each group translated, turned and scaled; 60 % paths of 10 to 40 segments
// mixing C, S, Q, T and A, 15 % rectangles, 10 % circles, 10 % polygons, 5 % text, filled from 20 gradients or
// plain colours.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "document/CMDocument.h"
#include "io/import/CMDrawingImport.h"
#include "io/svg/VDSVGPathScanner.h"
#include "platform/core/files.h"
#include "platform/core/folders.h"

namespace {

constexpr int kPage = 2000;
constexpr int kGradients = 20;
constexpr int kGroupSize = 50;

std::string pathData(std::mt19937& random) {
  std::uniform_real_distribution<double> at(0, 200), step(-20, 20);
  std::uniform_int_distribution<int> segments(10, 40), kind(0, 4);
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "M%.2f %.2f", at(random), at(random));
  std::string d = buffer;
  for (int i = segments(random); i > 0; --i) {
    switch (kind(random)) {
      case 0:
        std::snprintf(buffer, sizeof buffer, " c%.2f %.2f %.2f %.2f %.2f %.2f", step(random), step(random),
                      step(random), step(random), step(random), step(random));
        break;
      case 1:
        std::snprintf(buffer, sizeof buffer, " s%.2f,%.2f %.2f,%.2f", step(random), step(random), step(random),
                      step(random));
        break;
      case 2:
        std::snprintf(buffer, sizeof buffer, " Q%.2f %.2f %.2f %.2f", at(random), at(random), at(random), at(random));
        break;
      case 3: std::snprintf(buffer, sizeof buffer, " t%.2f %.2f", step(random), step(random)); break;
      default:
        std::snprintf(buffer, sizeof buffer, " a%.2f %.2f %.1f %d %d %.2f %.2f", 5 + at(random) / 10,
                      5 + at(random) / 20, at(random), i % 2, (i / 2) % 2, step(random), step(random));
        break;
    }
    d += buffer;
  }
  return d + "z";
}

std::string drawing(int elements) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> at(0, 200), size(5, 60), unit(0, 1);
  std::string svg = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    std::to_string(kPage) + "\" height=\"" + std::to_string(kPage) + "\">\n<defs>\n";
  char buffer[320];
  for (int g = 0; g < kGradients; ++g) {
    std::snprintf(buffer, sizeof buffer,
                  "<%s id=\"g%d\"><stop offset=\"0%%\" stop-color=\"#%06x\"/><stop offset=\"100%%\" "
                  "stop-color=\"#%06x\"/></%s>\n",
                  g % 2 ? "radialGradient" : "linearGradient", g, g * 0x0b0b0b, 0xffffff - g * 0x070707,
                  g % 2 ? "radialGradient" : "linearGradient");
    svg += buffer;
  }
  svg += "</defs>\n";
  for (int i = 0; i < elements; ++i) {
    if (i % kGroupSize == 0) {
      if (i > 0) svg += "</g>\n";
      std::snprintf(buffer, sizeof buffer, "<g transform=\"translate(%.1f %.1f) rotate(%.1f) scale(%.2f)\">\n",
                    unit(random) * (kPage - 300), unit(random) * (kPage - 300), unit(random) * 30,
                    0.5 + unit(random));
      svg += buffer;
    }
    std::string paint = unit(random) < 0.3 ? "url(#g" + std::to_string(i % kGradients) + ")"
                                           : "#" + std::to_string(100000 + i % 899999);
    const double pick = unit(random);
    if (pick < 0.6) {
      svg += "<path d=\"" + pathData(random) + "\" fill=\"" + paint + "\" stroke=\"black\" stroke-width=\"1.5\"/>\n";
    } else if (pick < 0.75) {
      std::snprintf(buffer, sizeof buffer, "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"%s\"/>\n",
                    at(random), at(random), size(random), size(random), paint.c_str());
      svg += buffer;
    } else if (pick < 0.85) {
      std::snprintf(buffer, sizeof buffer, "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"%.2f\" style=\"fill:%s;stroke:red\"/>\n",
                    at(random), at(random), size(random) / 2, paint.c_str());
      svg += buffer;
    } else if (pick < 0.95) {
      std::snprintf(buffer, sizeof buffer, "<polygon points=\"%.1f,%.1f %.1f,%.1f %.1f,%.1f %.1f,%.1f\" fill=\"%s\"/>\n",
                    at(random), at(random), at(random), at(random), at(random), at(random), at(random), at(random),
                    paint.c_str());
      svg += buffer;
    } else {
      std::snprintf(buffer, sizeof buffer, "<text x=\"%.1f\" y=\"%.1f\" font-size=\"12\">Label %d</text>\n", at(random),
                    at(random), i);
      svg += buffer;
    }
  }
  return svg + "</g>\n</svg>\n";
}

// The drawing of `elements` elements, written once to a file that rsvg-convert reads too.
const std::filesystem::path& drawingFile(int elements) {
  static std::map<int, std::filesystem::path> files;
  auto found = files.find(elements);
  if (found != files.end()) return found->second;
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "draftwork-svg-import-bench";
  std::filesystem::create_directories(folder);
  // Nothing the documents record may reach the real user's folders.
  platform::overrideFoldersRoot(folder / "root");
  const std::filesystem::path file = folder / ("drawing-" + std::to_string(elements) + ".svg");
  std::ofstream(file, std::ios::binary) << drawing(elements);
  return files.emplace(elements, file).first->second;
}

std::map<int, double>& ourSeconds() {
  static std::map<int, double> seconds;
  return seconds;
}

void BM_SVGImport(benchmark::State& state) {
  const int elements = static_cast<int>(state.range(0));
  const std::filesystem::path& file = drawingFile(elements);
  std::size_t layers = 0;
  for (auto _ : state) {
    CMDocument document;
    const platform::Expected<platform::Bytes> data = platform::readFile(file, kLargestImportFile);
    const CMSVGImport imported = importSVGData(document, data.value());
    layers = imported.records->size();
    benchmark::DoNotOptimize(layers);
  }
  state.counters["top-level groups"] = static_cast<double>(layers);
}

void BM_RsvgConvert(benchmark::State& state) {
  const int elements = static_cast<int>(state.range(0));
  const std::filesystem::path& file = drawingFile(elements);
  const std::string command =
      "rsvg-convert -o '" + (file.parent_path() / "out.png").string() + "' '" + file.string() + "' 2>/dev/null";
  double peer = 0;
  int runs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("rsvg-convert failed (is librsvg2-bin installed?)");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    peer += seconds;
    ++runs;
  }
  // Our time for the same file, measured again here so that both come from one run of the program.
  const std::filesystem::path& drawingPath = drawingFile(elements);
  const auto start = std::chrono::steady_clock::now();
  constexpr int kOurRuns = 3;
  for (int i = 0; i < kOurRuns; ++i) {
    CMDocument document;
    importSVGData(document, platform::readFile(drawingPath, kLargestImportFile).value());
  }
  const double ours = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / kOurRuns;
  ourSeconds()[elements] = ours;
  std::printf("SVG import, %d elements: ours %.1f ms, rsvg-convert %.1f ms, ratio %.2f\n", elements, ours * 1e3,
              peer / runs * 1e3, ours / (peer / runs));
  if (elements == 100000 && ourSeconds().count(10000)) {
    std::printf("SVG import: 100,000 elements take %.1f times the 10,000 time\n", ours / ourSeconds()[10000]);
  }
}

class EventCounter final : public VDSVGPathScannerOwner {
 public:
  void moveTo(float, float) override { ++events; }
  void lineTo(float, float) override { ++events; }
  void curveTo(float, float, float, float, float, float) override { ++events; }
  void closePath() override { ++events; }
  long events = 0;
};

void BM_PathScanner(benchmark::State& state) {
  std::mt19937 random(11);
  std::string text;
  while (text.size() < (4u << 20)) text += pathData(random) + " ";
  EventCounter counter;
  for (auto _ : state) {
    VDSVGPathScanner(counter).scan(text);
    benchmark::DoNotOptimize(counter.events);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK(BM_SVGImport)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RsvgConvert)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PathScanner)->Unit(benchmark::kMillisecond);
