// The layer commands' own cost beside the work they cannot avoid, measured in the same run:
// - union of 25, 50 and 100 overlapping shapes (ovals, rounded rectangles and stars of 5 to 8 corners on a
//   10-column grid at 0.7 × their size, the topmost the primary) through the canvas command, beside the same
//   pb_union calls on the same outlines in the same order; and the undo of that union;
// - group, the undo of that group, ungroup and align left with every layer selected, in the first 1,000 and in
//   all 10,000 layers of the benchmark drawing, each with the canvas's refresh, beside one deep copy of the
//   records plus one drawer rebuild (the layer objects and their rectangles).
// Goals: the union command ≤ 1.25 × its engine calls, its undo ≤ 20 ms, each selection command ≤ 3 × its floor.
// Needs an X display (the canvas is a GTK widget): run under xvfb-run.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "boolean/path_boolean_operations.h"
#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "platform/core/log.h"
#include "platform/ui/ui_initialization.h"

namespace {

constexpr int kGridColumns = 10;
constexpr double kShapeSize = 60;
constexpr double kGridStep = 0.7 * kShapeSize;

bool haveDisplay(benchmark::State& state) {
  static const bool ui = [] {
    // The group command's debug line would flood the output.
    platform::setLogSink([](platform::LogLevel, std::string_view) {});
    return platform::initializeUi();
  }();
  if (!ui) state.SkipWithError("no X display: run under xvfb-run");
  return ui;
}

std::shared_ptr<CMDocument> documentWith(platform::ArrayRef layers) {
  auto document = std::make_shared<CMDocument>();
  document->setData(platform::Dictionary::make({{"layers", std::move(layers)},
                                                {"width", 2000.0},
                                                {"height", 2000.0},
                                                {"zoom", 1.0},
                                                {"background", platform::Dictionary::make()}}));
  return document;
}

// Shape `index` of the grid: an oval, a rounded rectangle or a star, each overlapping its neighbours.
platform::DictRef gridShape(int index) {
  const double x = (index % kGridColumns) * kGridStep;
  const double y = (index / kGridColumns) * kGridStep;
  const auto point = [](int id, platform::Point p, int type) {
    return platform::Dictionary::make({{"id", id}, {"point", platform::stringFromPoint(p)}, {"type", type}});
  };
  platform::DictRef shape = platform::Dictionary::make(
      {{"points", platform::Array::make({point(1, {0, 0}, 1), point(2, {0, kShapeSize}, 2),
                                         point(4, {kShapeSize, kShapeSize}, 2), point(5, {kShapeSize, 0}, 10)})},
       {"fill", platform::Dictionary::make({{"use", true}, {"type", 1}, {"alpha", 1.0}})}});
  int shapeType = 1;
  if (index % 3 == 1) {
    shapeType = 0;
    shape->set("round", 1);
    shape->set("round_width", 12);
  } else if (index % 3 == 2) {
    shapeType = 3;
    shape->set("star_angles", 2 + index % 4);
  }
  return platform::Dictionary::make({{"id", index + 1}, {"position", index + 1}, {"type", 0},
                                     {"shape_type", shapeType}, {"visible", true}, {"x", x}, {"y", y},
                                     {"width", kShapeSize}, {"height", kShapeSize}, {"shape", shape}});
}

std::shared_ptr<CMDocument> gridDocument(int count) {
  platform::ArrayRef layers = platform::Array::make();
  for (int index = 0; index < count; ++index) layers->add(gridShape(index));
  return documentWith(layers);
}

// Every layer in the multi-selection, the topmost the primary one.
void selectAllTopmostPrimary(CMEditorView& canvas) {
  for (const auto& layer : canvas.layers()) {
    layer->setSelected(layer == canvas.layers().back());
    layer->setSelectedAsPartOfGroup(true);
  }
}

void UnionCommand(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  const int count = static_cast<int>(state.range(0));
  auto canvas = std::make_shared<CMEditorView>(platform::Rect{0, 0, 1000, 1000});
  for (auto _ : state) {
    state.PauseTiming();
    canvas->setDocument(gridDocument(count));
    selectAllTopmostPrimary(*canvas);
    state.ResumeTiming();
    canvas->pathUnion();
  }
}
BENCHMARK(UnionCommand)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// The floor: the engine alone, on the outlines the command combines, topmost first into the topmost.
void UnionEngineCalls(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::shared_ptr<CMDocument> document = gridDocument(count);
  std::vector<platform::BezierPath> outlines;
  for (const platform::Value& entry : *document->data()->array("layers"))
    outlines.push_back(CMDrawer::makeLayer(entry.dictionary(), 1)->path());
  for (auto _ : state) {
    platform::BezierPath result = outlines.back();
    for (auto other = outlines.rbegin() + 1; other != outlines.rend(); ++other) result = pb_union(result, *other);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(UnionEngineCalls)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

void UnionUndo(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  const int count = static_cast<int>(state.range(0));
  auto canvas = std::make_shared<CMEditorView>(platform::Rect{0, 0, 1000, 1000});
  for (auto _ : state) {
    state.PauseTiming();
    const std::shared_ptr<CMDocument> document = gridDocument(count);
    canvas->setDocument(document);
    selectAllTopmostPrimary(*canvas);
    canvas->pathUnion();
    state.ResumeTiming();
    document->undo();
  }
}
BENCHMARK(UnionUndo)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// ---- commands on every layer of the benchmark drawing ----

std::shared_ptr<CMDocument> sceneDocument(int count) {
  std::vector<bench::SceneLayer> scene = bench::makeScene();
  scene.resize(static_cast<std::size_t>(count));
  return documentWith(bench::documentRecord(scene)->array("layers"));
}

struct SceneCanvas {
  explicit SceneCanvas(int count)
      : document(sceneDocument(count)), canvas(std::make_shared<CMEditorView>(platform::Rect{0, 0, 1600, 1200})) {
    canvas->setDocument(document);
    canvas->selectAll();
  }
  std::shared_ptr<CMDocument> document;
  std::shared_ptr<CMEditorView> canvas;
};

void SelectionFloor(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  SceneCanvas scene(static_cast<int>(state.range(0)));
  CMDrawer drawer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::arrayCopy(scene.document->data()->array("layers")));
    drawer.setDocument(scene.document);
    for (const auto& layer : drawer.layers()) benchmark::DoNotOptimize(layer->layerRect());
  }
}
BENCHMARK(SelectionFloor)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One step on the scene, with the canvas's refresh after it.
using Step = void (*)(SceneCanvas& scene);
void nothing(SceneCanvas&) {}
void groupAll(SceneCanvas& scene) {
  scene.canvas->group();
  scene.canvas->update();
}
void undo(SceneCanvas& scene) {
  scene.document->undo();
  scene.canvas->update();
}
void ungroupAll(SceneCanvas& scene) {
  scene.canvas->ungroup();
  scene.canvas->update();
}
void alignAllLeft(SceneCanvas& scene) {
  scene.canvas->alignleft();
  scene.canvas->update();
}

// Times `timed`; `before` and `after` run untimed around it and leave the drawing as it was for the next round,
// and the undo records go, so that memory stays as it was too.
void measureOnScene(benchmark::State& state, Step before, Step timed, Step after) {
  if (!haveDisplay(state)) return;
  SceneCanvas scene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    before(scene);
    state.ResumeTiming();
    timed(scene);
    state.PauseTiming();
    after(scene);
    scene.document->undoManager().removeAllActions();
    state.ResumeTiming();
  }
}

void GroupAll(benchmark::State& state) { measureOnScene(state, nothing, groupAll, undo); }
BENCHMARK(GroupAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void UndoGroupAll(benchmark::State& state) { measureOnScene(state, groupAll, undo, nothing); }
BENCHMARK(UndoGroupAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void UngroupAll(benchmark::State& state) { measureOnScene(state, groupAll, ungroupAll, nothing); }
BENCHMARK(UngroupAll)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void AlignAllLeft(benchmark::State& state) { measureOnScene(state, nothing, alignAllLeft, undo); }
BENCHMARK(AlignAllLeft)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
