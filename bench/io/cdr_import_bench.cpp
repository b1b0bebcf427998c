// CorelDRAW import of drawing-v11.cdr (one page, 4,287 paths): libcdr parsing into a drawing interface that does
// nothing (the library's own work, the peer), the conversion in process (libcdr, our generator, the XHTML join),
// the same through the converter process, and the conversion with the SVG reader as an import runs it. After the
// last, our share (generator, join, reader) is printed against libcdr's parse, and the converter process's
// overhead (spawn, pipe) against the conversion in process.

#include <benchmark/benchmark.h>
#include <libcdr/libcdr.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "document/CMDocument.h"
#include "io/cdr/CDR2SVG.h"
#include "io/cdr/CMCDRConverterProcess.h"
#include "io/cdr/CMConversionFolder.h"
#include "io/cdr/TMPManager.h"
#include "io/import/CMDrawingImport.h"
#include "platform/core/folders.h"

namespace {

const std::filesystem::path kDrawing =
    std::filesystem::path(DRAFTWORK_TESTDATA_DIR) / "cdr" / "drawing-v11.cdr";

class IgnoringDrawingInterface final : public librevenge::RVNGDrawingInterface {
 public:
  using List = librevenge::RVNGPropertyList;
  void startDocument(const List&) override {}
  void endDocument() override {}
  void setDocumentMetaData(const List&) override {}
  void defineEmbeddedFont(const List&) override {}
  void startPage(const List&) override {}
  void endPage() override {}
  void startMasterPage(const List&) override {}
  void endMasterPage() override {}
  void setStyle(const List&) override {}
  void startLayer(const List&) override {}
  void endLayer() override {}
  void startEmbeddedGraphics(const List&) override {}
  void endEmbeddedGraphics() override {}
  void openGroup(const List&) override {}
  void closeGroup() override {}
  void drawRectangle(const List&) override {}
  void drawEllipse(const List&) override {}
  void drawPolygon(const List&) override {}
  void drawPolyline(const List&) override {}
  void drawPath(const List&) override {}
  void drawGraphicObject(const List&) override {}
  void drawConnector(const List&) override {}
  void startTextObject(const List&) override {}
  void endTextObject() override {}
  void startTableObject(const List&) override {}
  void openTableRow(const List&) override {}
  void closeTableRow() override {}
  void openTableCell(const List&) override {}
  void closeTableCell() override {}
  void insertCoveredTableCell(const List&) override {}
  void endTableObject() override {}
  void insertTab() override {}
  void insertSpace() override {}
  void insertText(const librevenge::RVNGString&) override {}
  void insertLineBreak() override {}
  void insertField(const List&) override {}
  void openOrderedListLevel(const List&) override {}
  void openUnorderedListLevel(const List&) override {}
  void closeOrderedListLevel() override {}
  void closeUnorderedListLevel() override {}
  void openListElement(const List&) override {}
  void closeListElement() override {}
  void defineParagraphStyle(const List&) override {}
  void openParagraph(const List&) override {}
  void closeParagraph() override {}
  void defineCharacterStyle(const List&) override {}
  void openSpan(const List&) override {}
  void closeSpan() override {}
  void openLink(const List&) override {}
  void closeLink() override {}
};

// Mean seconds a run, by benchmark.
std::map<std::string, double>& means() {
  static std::map<std::string, double> seconds;
  return seconds;
}

// Runs the body, keeps its mean under `name`.
template <class Body>
void timed(benchmark::State& state, const char* name, Body body) {
  // Nothing a conversion or a document writes may reach the real user's folders.
  static const std::filesystem::path root = [] {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "draftwork-cdr-import-bench";
    platform::overrideFoldersRoot(folder);
    return folder;
  }();
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!body()) state.SkipWithError("the drawing was not read");
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  means()[name] = total / static_cast<double>(state.iterations());
}

void BM_LibcdrParse(benchmark::State& state) {
  timed(state, "parse", [] {
    librevenge::RVNGFileStream input(kDrawing.c_str());
    IgnoringDrawingInterface nothing;
    return libcdr::CDRDocument::parse(&input, &nothing);
  });
}

void BM_ConversionInProcess(benchmark::State& state) {
  timed(state, "in process", [] {
    CDR2SVG converter(kDrawing);
    const bool converted = converter.convertToSVG().ok();
    TMPManager::instance().removeAllFiles();
    benchmark::DoNotOptimize(converter.svgData().size());
    return converted;
  });
}

void BM_ConversionInConverterProcess(benchmark::State& state) {
  timed(state, "converter process", [] {
    const platform::Expected<CMConversionFolder> folder = CMConversionFolder::make();
    return folder && CMCDRConverterProcess::convert(kDrawing, folder.value().path()).ok();
  });
}

void BM_ConversionAndReader(benchmark::State& state) {
  timed(state, "with reader", [] {
    CMDocument document;
    return readCorelDrawing(document, kDrawing).ok();
  });
  std::map<std::string, double>& m = means();
  if (m.size() < 4) return;
  const double ours = (m["in process"] - m["parse"]) + (m["with reader"] - m["converter process"]);
  std::printf("CorelDRAW import of %s: libcdr parse %.1f ms, in process %.1f ms, converter process %.1f ms, "
              "with reader %.1f ms\n",
              kDrawing.filename().c_str(), m["parse"] * 1e3, m["in process"] * 1e3, m["converter process"] * 1e3,
              m["with reader"] * 1e3);
  std::printf("our share (generator, join, reader) / libcdr parse: %.2f (goal at most 1.0)\n", ours / m["parse"]);
  std::printf("converter process overhead / in-process conversion: %.1f %% (goal at most 20 %%)\n",
              (m["converter process"] - m["in process"]) / m["in process"] * 100);
}

}  // namespace

BENCHMARK(BM_LibcdrParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConversionInProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConversionInConverterProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConversionAndReader)->Unit(benchmark::kMillisecond);
