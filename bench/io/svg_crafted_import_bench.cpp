// Small SVG files made to take a reader's time and memory, turned into a PNG of their page by us and by
// rsvg-convert, in turns (svg_to_png_turns.h): a gradient of 10,000 stops on 1,000 rectangles, one of 100,000 stops
// on 10, a group of 100,000 attributes over 2,000 rectangles and a rectangle of 400,000 attributes, which the import
// finds damaged at the gradient's or element's line; and a gradient of 1,000 stops, as many as a gradient may have,
// on 1,000 rectangles, which it imports. Then files of some 3.4 MB whose crowded element a look at their bytes
// misses: in UTF-16, after an entity's text holding "<?" or a DOCTYPE's system literal holding "<!--", given its
// attributes by a DTD, or inside groups that declare 200,000 namespaces; a flowed text of 60,000 one-letter
// paragraphs; a gradient at the end of a chain of 2,000 links used by 2,000 rectangles; and a radial gradient of
// 1,024 stops on 5,000 rectangles of differing sizes; a text naming 40,000 or 80,000 families that are not installed
// (some 0.7 and 1.5 MB). Run these alone: --benchmark_filter=Crafted.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "svg_to_png_turns.h"

namespace {

constexpr int kPage = 1000;

std::ofstream openedFile(const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary);
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kPage << "\" height=\"" << kPage << "\">\n";
  return out;
}

void rectangles(std::ofstream& out, int count, const char* fill) {
  char buffer[128];
  for (int i = 0; i < count; ++i) {
    std::snprintf(buffer, sizeof buffer, "<rect x=\"%d\" y=\"%d\" width=\"30\" height=\"30\"%s/>\n", i * 37 % 970,
                  i * 53 % 970, fill);
    out << buffer;
  }
}

// `count` stops of colours spread over the colour cube.
void stops(std::ofstream& out, int count) {
  char buffer[96];
  for (int i = 0; i < count; ++i) {
    std::snprintf(buffer, sizeof buffer, "<stop offset=\"%g\" stop-color=\"#%06x\"/>\n", static_cast<double>(i) / count,
                  (i * 2654435761u) & 0xffffffu);
    out << buffer;
  }
}

std::filesystem::path gradientFile(int stopCount, int shapes) {
  const std::filesystem::path file =
      benchFolder() / ("gradient-" + std::to_string(stopCount) + "-" + std::to_string(shapes) + ".svg");
  std::ofstream out = openedFile(file);
  out << "<defs><linearGradient id=\"g\">\n";
  stops(out, stopCount);
  out << "</linearGradient></defs>\n";
  rectangles(out, shapes, " fill=\"url(#g)\"");
  out << "</svg>\n";
  return file;
}

std::string attributes(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += " a" + std::to_string(i) + "=\"1\"";
  return text;
}

std::filesystem::path crowdedGroupFile() {
  const std::filesystem::path file = benchFolder() / "crowded-group.svg";
  std::ofstream out = openedFile(file);
  out << "<g fill=\"red\"" << attributes(100000) << ">\n";
  rectangles(out, 2000, "");
  out << "</g></svg>\n";
  return file;
}

std::filesystem::path crowdedRectangleFile() {
  const std::filesystem::path file = benchFolder() / "crowded-rectangle.svg";
  std::ofstream out = openedFile(file);
  out << "<rect width=\"10\" height=\"10\"" << attributes(400000) << "/>\n</svg>\n";
  return file;
}

// A rectangle of about 3.4 MB of attributes where a look at the bytes does not find it: `kind` 0 in UTF-16, 1 after
// an entity's text holding "<?", 2 after a system literal holding "<!--", 3 given as many by the DTD's defaults; 4
// rectangles inside groups that together declare 200,000 namespaces.
std::filesystem::path hiddenCrowdFile(int kind) {
  static const char* const kNames[] = {"utf16", "entity-pi", "system-comment", "attlist", "nested-namespaces"};
  const std::filesystem::path file = benchFolder() / ("hidden-crowd-" + std::string(kNames[kind]) + ".svg");
  std::string text = "<?xml version=\"1.0\"?>\n";
  if (kind == 1) text += "<!DOCTYPE svg [<!ENTITY pi \"<?\">]>\n";
  if (kind == 2) text += "<!DOCTYPE svg SYSTEM \"<!--\">\n";
  if (kind == 3) {
    text += "<!DOCTYPE svg [<!ATTLIST rect";
    for (int i = 0; i < 200000; ++i) text += " a" + std::to_string(i) + " CDATA \"1\"";
    text += ">]>\n";
  }
  text += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kPage) + "\" height=\"" +
          std::to_string(kPage) + "\">\n";
  if (kind == 4) {
    // 200 groups one inside the other, each declaring 1,000 namespaces, around rectangles of 1,000 attributes
    // whose prefix the outermost declares: some 6 MB.
    for (int group = 0; group < 200; ++group) {
      text += "<g";
      for (int i = 0; i < 1000; ++i) text += " xmlns:p" + std::to_string(group) + "_" + std::to_string(i) + "=\"u\"";
      text += ">\n";
    }
    for (int rect = 0; rect < 200; ++rect) {
      text += "<rect width=\"10\" height=\"10\"";
      for (int i = 0; i < 1000; ++i) text += " p0_0:a" + std::to_string(i) + "=\"\"";
      text += "/>\n";
    }
    for (int group = 0; group < 200; ++group) text += "</g>";
  } else {
    text += "<rect width=\"10\" height=\"10\"" + attributes(kind == 3 ? 0 : kind == 0 ? 160000 : 300000) + "/>\n";
  }
  text += "</svg>\n";
  std::ofstream out(file, std::ios::binary);
  if (kind == 0) {
    // UTF-16 with a byte order mark, little end first: a zero byte after every "<".
    out << "\xFF\xFE";
    for (const char c : text) out << c << '\0';
  } else {
    out << text;
  }
  return file;
}

std::filesystem::path flowedParagraphsFile(int paragraphs) {
  const std::filesystem::path file = benchFolder() / ("flowed-" + std::to_string(paragraphs) + ".svg");
  std::ofstream out = openedFile(file);
  // Small enough for the page the text grows to to stay a picture.
  out << "<flowRoot font-size=\"0.1\"><flowRegion><rect width=\"1000\" height=\"1000\"/></flowRegion>\n";
  // No blanks between them: all the text's characters are its letters, within what a text may hold.
  for (int i = 0; i < paragraphs; ++i) out << "<flowPara>" << static_cast<char>('A' + i % 26) << "</flowPara>";
  out << "\n</flowRoot></svg>\n";
  return file;
}

std::filesystem::path gradientChainFile(int links, int shapes) {
  const std::filesystem::path file = benchFolder() / ("chain-" + std::to_string(links) + ".svg");
  std::ofstream out = openedFile(file);
  out << "<defs><linearGradient id=\"g0\"><stop offset=\"0\" stop-color=\"red\"/>"
         "<stop offset=\"1\" stop-color=\"blue\"/></linearGradient>\n";
  for (int i = 1; i < links; ++i) {
    out << "<linearGradient id=\"g" << i << "\" xlink:href=\"#g" << i - 1
        << "\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"/>\n";
  }
  out << "</defs>\n";
  rectangles(out, shapes, (" fill=\"url(#g" + std::to_string(links - 1) + ")\"").c_str());
  out << "</svg>\n";
  return file;
}

std::filesystem::path radialOnVariedBoxesFile(int stopCount, int shapes) {
  const std::filesystem::path file = benchFolder() / ("radial-" + std::to_string(stopCount) + "-varied.svg");
  std::ofstream out = openedFile(file);
  out << "<defs><radialGradient id=\"g\">\n";
  stops(out, stopCount);
  out << "</radialGradient></defs>\n";
  char buffer[128];
  for (int i = 0; i < shapes; ++i) {
    std::snprintf(buffer, sizeof buffer, "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"url(#g)\"/>\n",
                  i * 37 % 970, i * 53 % 970, 10 + i % 97, 10 + i % 89);
    out << buffer;
  }
  out << "</svg>\n";
  return file;
}

std::filesystem::path familiesFile(int families) {
  const std::filesystem::path file = benchFolder() / ("families-" + std::to_string(families) + ".svg");
  std::ofstream out = openedFile(file);
  out << "<text x=\"10\" y=\"50\" font-size=\"30\" font-family=\"";
  for (int i = 0; i < families; ++i) out << "No Such Family " << i << ", ";
  out << "Last Missing\">Families</text>\n</svg>\n";
  return file;
}

void BM_CraftedFontFamilies(benchmark::State& state) {
  const int families = static_cast<int>(state.range(0));
  svgToPNGInTurns(state, familiesFile(families), kPage,
                  "Crafted SVG to PNG, a text naming " + std::to_string(families) + " families not installed");
}

void BM_CraftedGradientStops(benchmark::State& state) {
  const int stops = static_cast<int>(state.range(0)), shapes = static_cast<int>(state.range(1));
  svgToPNGInTurns(state, gradientFile(stops, shapes), kPage,
                  "Crafted SVG to PNG, a gradient of " + std::to_string(stops) + " stops on " +
                      std::to_string(shapes) + " rectangles");
}

void BM_CraftedGroupAttributes(benchmark::State& state) {
  svgToPNGInTurns(state, crowdedGroupFile(), kPage,
                  "Crafted SVG to PNG, a group of 100,000 attributes over 2,000 rectangles");
}

void BM_CraftedElementAttributes(benchmark::State& state) {
  svgToPNGInTurns(state, crowdedRectangleFile(), kPage, "Crafted SVG to PNG, a rectangle of 400,000 attributes");
}

void BM_CraftedHiddenCrowd(benchmark::State& state) {
  static const char* const kLabels[] = {"in UTF-16", "after an entity holding <?",
                                        "after a system literal holding <!--", "given by 200,000 DTD defaults",
                                        "inside 200,000 namespace declarations"};
  const int kind = static_cast<int>(state.range(0));
  svgToPNGInTurns(state, hiddenCrowdFile(kind), kPage,
                  std::string("Crafted SVG to PNG, a rectangle of too many attributes ") + kLabels[kind]);
}

void BM_CraftedFlowedParagraphs(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0));
  svgToPNGInTurns(state, flowedParagraphsFile(paragraphs), kPage,
                  "Crafted SVG to PNG, a flowed text of " + std::to_string(paragraphs) + " paragraphs");
}

void BM_CraftedGradientChain(benchmark::State& state) {
  svgToPNGInTurns(state, gradientChainFile(2000, 2000), kPage,
                  "Crafted SVG to PNG, a chain of 2,000 gradient links used by 2,000 rectangles");
}

void BM_CraftedRadialStopsOnVariedBoxes(benchmark::State& state) {
  svgToPNGInTurns(state, radialOnVariedBoxesFile(1024, 5000), kPage,
                  "Crafted SVG to PNG, a radial gradient of 1,024 stops on 5,000 rectangles of differing sizes");
}

}  // namespace

// An even number of turns, so that each side goes first as often.
BENCHMARK(BM_CraftedGradientStops)
    ->Args({10000, 1000})
    ->Args({100000, 10})
    ->Args({1000, 1000})
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CraftedGroupAttributes)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CraftedElementAttributes)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CraftedHiddenCrowd)->DenseRange(0, 4)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CraftedFlowedParagraphs)
    ->Arg(16000)
    ->Arg(60000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CraftedFontFamilies)
    ->Arg(40000)
    ->Arg(80000)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CraftedGradientChain)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CraftedRadialStopsOnVariedBoxes)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
