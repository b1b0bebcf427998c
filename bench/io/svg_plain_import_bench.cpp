// SVG files of 10,000, 100,000 and 1,000,000 plain rectangles turned into a PNG of their page by us and by
// rsvg-convert, in turns (svg_to_png_turns.h). Run these alone: --benchmark_filter=Plain.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "svg_to_png_turns.h"

namespace {

constexpr int kPage = 2000;

// `elements` rectangles of random place, size and colour, written once.
const std::filesystem::path& plainFile(int elements) {
  static std::map<int, std::filesystem::path> files;
  if (auto found = files.find(elements); found != files.end()) return found->second;
  const std::filesystem::path file = benchFolder() / ("plain-" + std::to_string(elements) + ".svg");
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

void BM_PlainSVGToPNG(benchmark::State& state) {
  const int elements = static_cast<int>(state.range(0));
  svgToPNGInTurns(state, plainFile(elements), kPage, "Plain SVG to PNG, " + std::to_string(elements) + " elements");
}

}  // namespace

// An even number of turns, so that each side goes first as often.
BENCHMARK(BM_PlainSVGToPNG)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(4)->UseManualTime()->Unit(
    benchmark::kMillisecond);
