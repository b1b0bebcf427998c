// The Shapes panel showing a library of 1,000 items (the benchmark scene's mixed shapes, thumbnails made
// beforehand as the store makes them on reading): loadItems, GTK's layout of the new cells and the panel's first
// draw. Goal: under 100 ms. Needs an X display: run under xvfb-run.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "bench/mixed_layer_scene.h"
#include "bench/ui/panel_drawing.h"
#include "document/CMShapeLibarary.h"
#include "platform/core/folders.h"
#include "platform/ui/ui_initialization.h"
#include "platform/ui/window.h"
#include "ui/CMLibraryGridView.h"
#include "ui/CMLibraryPanelView.h"

namespace {

using bench::drawOnce;
using bench::settle;

bool haveDisplay(benchmark::State& state) {
  static const bool ui = platform::initializeUi();
  if (!ui) state.SkipWithError("no X display: run under xvfb-run");
  return ui;
}



std::shared_ptr<CMShapeLibarary> libraryOf(int count) {
  const platform::ArrayRef layers = bench::documentRecord(bench::makeScene())->array("layers");
  auto library = std::make_shared<CMShapeLibarary>("Bench");
  for (int i = 0; i < count; ++i) {
    platform::DictRef record =
        platform::dictionaryCopy(layers->at(static_cast<std::size_t>(i) % layers->size()).dictionary());
    record->set("x", platform::Value(0.0f));
    record->set("y", platform::Value(0.0f));
    library->addShape(platform::Dictionary::make({{"name", "shape"}, {"shape", record}}));
  }
  return library;
}

void LibraryPanelLoadItems(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  // The store the panel makes lives in a folder of its own.
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "draftwork-library-panel-bench";
  platform::overrideFoldersRoot(folder);
  const std::shared_ptr<CMShapeLibarary> library = libraryOf(static_cast<int>(state.range(0)));
  platform::Window host(platform::Size{250, 700});
  auto panel = std::make_unique<CMLibraryPanelView>();
  panel->view()->setFrame({0, 0, 250, 700});
  host.setContentView(panel->view());
  host.gtkWindow().show_all();
  for (int i = 0; i < 20; ++i) settle();
  panel->libraries().setItems({library});
  panel->libraries().setSelectedLibrary(library);
  for (auto _ : state) {
    panel->loadItems();
    // GTK's layout of the new cells, as the frame clock would run it, then the draw.
    host.gtkWindow().check_resize();
    drawOnce(panel->view()->widget());
  }
  state.counters["cells"] = static_cast<double>(panel->collectionView().items().size());
  panel.reset();
  platform::overrideFoldersRoot({});
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}
BENCHMARK(LibraryPanelLoadItems)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
