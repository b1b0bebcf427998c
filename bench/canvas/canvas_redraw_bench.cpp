// Canvas redraw after a one-layer change: 1,000 filled rectangles in view, one of them marked
// dirty, the visible 1200 × 800 area drawn again at 100 % and at 400 %. A frame is 16 ms.
// The same on the 10,000-layer benchmark drawing, changing one of the layers in view each time: the whole view
// drawn again, only the part the canvas reports damaged by the change, and what the canvas itself asks GTK to draw
// again (its window's invalid area, drawn as GTK would draw it). A shape dragged across that drawing by mouse events
// sent to the window, each followed by a redraw of what the drag step made invalid: the 99th percentile of the frames.
// Needs an X display (the canvas is a GTK widget): run under xvfb-run.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <gdk/gdk.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "canvas/CMEditorView.h"
#include "document/CMCaches.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/core/value.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/event.h"
#include "platform/ui/ui_initialization.h"
#include "platform/ui/window.h"

namespace {

constexpr int kColumns = 40;
constexpr int kRows = 25;
constexpr double kViewWidth = 1200;
constexpr double kViewHeight = 800;

platform::DictRef colour(int r, int g, int b) {
  return platform::Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", 255}});
}

platform::DictRef rectangle(std::int64_t id, double x, double y, double width, double height) {
  const auto point = [](std::int64_t pointId, double px, double py, std::int64_t type) {
    return platform::Dictionary::make(
        {{"id", pointId}, {"point", "{" + std::to_string(px) + ", " + std::to_string(py) + "}"}, {"type", type}});
  };
  const platform::DictRef shape = platform::Dictionary::make(
      {{"points", platform::Array::make({point(1, 0, 0, 1), point(2, 0, height, 2), point(3, width, height, 2),
                                         point(4, width, 0, 10)})},
       {"fill", platform::Dictionary::make({{"use", true}, {"type", 1}, {"alpha", 1.0},
                                            {"color", colour(static_cast<int>(id * 37 % 256), 90, 160)}})}});
  return platform::Dictionary::make({{"id", id}, {"position", id}, {"type", 0}, {"shape_type", 0},
                                     {"visible", true}, {"alpha", 1.0}, {"x", x}, {"y", y}, {"width", width},
                                     {"height", height}, {"shape", shape}});
}

// 1,000 layers filling the part of the page that a 1200 × 800 view shows at `zoom`, then `outOfView` more below it,
// at the top level or nested in `groups` groups (each group inside the one before, one group in twenty starting a
// new nest, so that groups reach twenty levels deep).
std::shared_ptr<CMDocument> documentInView(float zoom, int outOfView = 0, int groups = 0) {
  const double cellWidth = kViewWidth / zoom / kColumns;
  const double cellHeight = kViewHeight / zoom / kRows;
  platform::ArrayRef layers = platform::Array::make();
  std::int64_t id = 0;
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column)
      layers->add(rectangle(++id, column * cellWidth + 1, row * cellHeight + 1, cellWidth - 2, cellHeight - 2));
  std::vector<platform::ArrayRef> lists;
  platform::ArrayRef nest = layers;
  for (int group = 0; group < groups; ++group) {
    const platform::ArrayRef items = platform::Array::make();
    (group % 20 == 0 ? layers : nest)
        ->add(platform::Dictionary::make({{"id", ++id}, {"type", 3}, {"visible", true}, {"items", items}}));
    lists.push_back(items);
    nest = items;
  }
  for (int extra = 0; extra < outOfView; ++extra) {
    const platform::ArrayRef& list = lists.empty() ? layers : lists[static_cast<std::size_t>(extra) % lists.size()];
    list->add(rectangle(++id, extra % 100 * 20.0, kViewHeight / zoom + 10 + extra / 100 * 20.0, 18, 18));
  }
  auto document = std::make_shared<CMDocument>();
  document->setData(platform::Dictionary::make(
      {{"layers", layers}, {"width", 2000.0}, {"height", 2000.0}, {"zoom", platform::Value(zoom)},
       {"background", platform::Dictionary::make({{"bg_color", colour(255, 255, 255)}})}}));
  return document;
}

enum class Redrawn { WholeView, Damage };

// Draws the document once to fill the layer images, then times redraws of the view after one layer changes,
// taking the changed layer from `changing` in turn (all layers when empty).
void measureRedraws(benchmark::State& state, const std::shared_ptr<CMDocument>& document, platform::Size page,
                    float zoom, const std::vector<std::size_t>& changing, Redrawn redrawn = Redrawn::WholeView) {
  static const bool ui = platform::initializeUi();
  if (!ui) {
    state.SkipWithError("no X display: run under xvfb-run");
    return;
  }
  auto canvas = std::make_shared<CMEditorView>(platform::Rect{0, 0, page.width * zoom, page.height * zoom});
  canvas->setDocument(document);
  canvas->setZoom(zoom);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kViewWidth),
                                                        static_cast<int>(kViewHeight));
  platform::GraphicsContext context(surface, kViewHeight, true);
  platform::CurrentContextScope current(context);
  const platform::Rect visible{0, 0, kViewWidth, kViewHeight};
  canvas->drawRect(visible);
  std::size_t next = 0;
  for (auto _ : state) {
    const std::size_t index = changing.empty() ? next++ % canvas->layers().size()
                                               : changing[next++ % changing.size()];
    CMLayer& layer = *canvas->layers()[index];
    layer.setDirty(true);
    canvas->drawRect(redrawn == Redrawn::WholeView ? visible : canvas->layerDamage(layer));
    cairo_surface_flush(surface);
  }
  state.counters["layers"] = static_cast<double>(canvas->layers().size());
  cairo_surface_destroy(surface);
}

void RedrawAfterOneLayerChange(benchmark::State& state) {
  const float zoom = static_cast<float>(state.range(0)) / 100.0f;
  measureRedraws(state, documentInView(zoom), {2000, 2000}, zoom, {});
}
BENCHMARK(RedrawAfterOneLayerChange)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// Growth with the drawing: the same 1,000 layers in view at 100 % in drawings of 1,000 to 100,000 layers, the
// whole view and only the damaged part drawn after each change.
void RedrawAsTheDrawingGrows(benchmark::State& state) {
  const int layers = static_cast<int>(state.range(0));
  const std::vector<std::size_t> inView = [] {
    std::vector<std::size_t> indexes(static_cast<std::size_t>(kColumns * kRows));
    for (std::size_t index = 0; index < indexes.size(); ++index) indexes[index] = index;
    return indexes;
  }();
  measureRedraws(state, documentInView(1, layers - kColumns * kRows), {2000, 2000 + layers / 5.0}, 1, inView,
                 state.range(1) != 0 ? Redrawn::Damage : Redrawn::WholeView);
}
BENCHMARK(RedrawAsTheDrawingGrows)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->ArgNames({"layers", "damage_only"})
    ->Unit(benchmark::kMillisecond);

// The same 100,000 layers, 99,000 of them nested in 5,000 groups.
void RedrawGroupedDrawing(benchmark::State& state) {
  constexpr int kLayers = 100000;
  std::vector<std::size_t> inView(static_cast<std::size_t>(kColumns * kRows));
  for (std::size_t index = 0; index < inView.size(); ++index) inView[index] = index;
  measureRedraws(state, documentInView(1, kLayers - kColumns * kRows, 5000), {2000, 2000 + kLayers / 5.0}, 1, inView,
                 state.range(0) != 0 ? Redrawn::Damage : Redrawn::WholeView);
}
BENCHMARK(RedrawGroupedDrawing)->Arg(0)->Arg(1)->ArgName("damage_only")->Unit(benchmark::kMillisecond);

// The benchmark drawing shown at `zoom`, with the indexes of the layers whose frames reach into the view.
struct MixedDocument {
  std::shared_ptr<CMDocument> document;
  std::vector<std::size_t> inView;
};

MixedDocument mixedDocumentAt(float zoom) {
  const std::vector<bench::SceneLayer> scene = bench::makeScene();
  const platform::Rect view{0, 0, kViewWidth / zoom, kViewHeight / zoom};
  MixedDocument mixed;
  for (std::size_t index = 0; index < scene.size(); ++index)
    if (platform::intersectsRect(scene[index].frame, view)) mixed.inView.push_back(index);
  platform::DictRef record = bench::documentRecord(scene);
  record->set("width", static_cast<double>(bench::kWidth));
  record->set("height", static_cast<double>(bench::kHeight));
  record->set("zoom", platform::Value(zoom));
  mixed.document = std::make_shared<CMDocument>();
  mixed.document->setData(record);
  return mixed;
}

void redrawMixedDrawing(benchmark::State& state, Redrawn redrawn) {
  const float zoom = static_cast<float>(state.range(0)) / 100.0f;
  const MixedDocument mixed = mixedDocumentAt(zoom);
  measureRedraws(state, mixed.document, {double{bench::kWidth}, double{bench::kHeight}}, zoom, mixed.inView,
                 redrawn);
  state.counters["in_view"] = static_cast<double>(mixed.inView.size());
}

void RedrawMixedDrawingAfterOneLayerChange(benchmark::State& state) { redrawMixedDrawing(state, Redrawn::WholeView); }
BENCHMARK(RedrawMixedDrawingAfterOneLayerChange)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void RedrawMixedDrawingDamageAfterOneLayerChange(benchmark::State& state) {
  redrawMixedDrawing(state, Redrawn::Damage);
}
BENCHMARK(RedrawMixedDrawingDamageAfterOneLayerChange)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The canvas shown in a 1200 × 800 window, its top-left corner at the window's. A frame takes the area GTK holds
// invalid and draws it into an image of the window, through the canvas's own drawing entry, as GTK would.
class CanvasWindow {
 public:
  CanvasWindow(const std::shared_ptr<CMDocument>& document, platform::Size page, float zoom)
      : canvas_(std::make_shared<CMEditorView>(platform::Rect{0, kViewHeight - page.height * zoom, page.width * zoom,
                                                              page.height * zoom})),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kViewWidth),
                                            static_cast<int>(kViewHeight)),
                 cairo_surface_destroy) {
    content_->addSubview(canvas_);
    window_.setContentView(content_);
    canvas_->setDocument(document);
    canvas_->setZoom(zoom);
    window_.gtkWindow().show_all();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!canvas_->widget().get_mapped() && std::chrono::steady_clock::now() < deadline)
      gtk_main_iteration_do(FALSE);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  }

  bool shown() { return canvas_->widget().get_mapped(); }
  CMEditorView& canvas() { return *canvas_; }
  platform::Window& window() { return window_; }

  void drawInvalidated() {
    Gtk::Widget& widget = canvas_->widget();
    GdkWindow* gdkWindow = gtk_widget_get_window(widget.gobj());
    cairo_region_t* invalid = gdkWindow ? gdk_window_get_update_area(gdkWindow) : nullptr;
    if (!invalid) return;
    cairo_t* cr = cairo_create(surface_.get());
    gdk_cairo_region(cr, invalid);
    cairo_clip(cr);
    if (!widget.get_has_window()) {
      const Gtk::Allocation allocation = widget.get_allocation();
      cairo_translate(cr, -allocation.get_x(), -allocation.get_y());
    }
    canvas_->drawOnCairo(cr);
    cairo_destroy(cr);
    cairo_region_destroy(invalid);
    cairo_surface_flush(surface_.get());
  }

 private:
  platform::Window window_{{kViewWidth, kViewHeight}};
  std::shared_ptr<platform::View> content_ =
      std::make_shared<platform::View>(platform::Rect{0, 0, kViewWidth, kViewHeight});
  std::shared_ptr<CMEditorView> canvas_;
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface_;
};

// One layer in view changed after another, each change followed by a redraw of what the canvas made invalid.
void RedrawMixedDrawingInvalidatedAfterOneLayerChange(benchmark::State& state) {
  static const bool ui = platform::initializeUi();
  if (!ui) {
    state.SkipWithError("no X display: run under xvfb-run");
    return;
  }
  const float zoom = static_cast<float>(state.range(0)) / 100.0f;
  const MixedDocument mixed = mixedDocumentAt(zoom);
  CanvasWindow shown(mixed.document, {double{bench::kWidth}, double{bench::kHeight}}, zoom);
  if (!shown.shown()) {
    state.SkipWithError("the window did not show");
    return;
  }
  shown.canvas().setNeedsDisplay();
  shown.drawInvalidated();
  std::size_t next = 0;
  for (auto _ : state) {
    const auto& layer = shown.canvas().layers()[mixed.inView[next++ % mixed.inView.size()]];
    layer->setDirty(true);
    shown.canvas().setLayersNeedDisplay({layer});
    shown.drawInvalidated();
  }
  state.counters["in_view"] = static_cast<double>(mixed.inView.size());
}
BENCHMARK(RedrawMixedDrawingInvalidatedAfterOneLayerChange)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

platform::Event mouseEvent(platform::EventType type, platform::Point inWindow) {
  platform::Event event;
  event.type = type;
  event.locationInWindow = inWindow;
  event.clickCount = 1;
  return event;
}

// A shape in view pressed and dragged 600 pixels right and back in 4-pixel steps, each step followed by a redraw of
// what it made invalid; every frame timed. The 99th percentile is the frame a user would notice.
void DragShapeAcrossMixedDrawing(benchmark::State& state) {
  static const bool ui = platform::initializeUi();
  if (!ui) {
    state.SkipWithError("no X display: run under xvfb-run");
    return;
  }
  CMProject::shareProject().setEditMode(kCMEditModeObject);
  const MixedDocument mixed = mixedDocumentAt(1);
  CanvasWindow shown(mixed.document, {double{bench::kWidth}, double{bench::kHeight}}, 1);
  if (!shown.shown()) {
    state.SkipWithError("the window did not show");
    return;
  }
  shown.canvas().setNeedsDisplay();
  shown.drawInvalidated();
  // The topmost layer whose frame lies wholly in the left part of the view, pressed at its centre.
  const std::vector<bench::SceneLayer> scene = bench::makeScene();
  platform::Point press{};
  for (std::size_t index = scene.size(); index-- > 0;) {
    const platform::Rect frame = scene[index].frame;
    if (platform::minX(frame) > 20 && platform::maxX(frame) < 500 && platform::minY(frame) > 200 &&
        platform::maxY(frame) < 600 && !shown.canvas().layers()[index]->data()->contains("rotate")) {
      press = {platform::midX(frame), kViewHeight - platform::midY(frame)};
      break;
    }
  }
  shown.window().sendEvent(mouseEvent(platform::EventType::LeftMouseDown, press));
  shown.drawInvalidated();
  const std::shared_ptr<CMLayer> dragged = shown.canvas().selectedLayer();
  if (!dragged) {
    state.SkipWithError("the press took no shape");
    return;
  }
  const platform::Point origin = dragged->originPoint();
  std::vector<double> frames;
  double furthest = 0;
  int step = 0;
  for (auto _ : state) {
    // Right for 150 steps, back for 150.
    const int phase = step++ % 300;
    const double x = press.x + 4.0 * (phase < 150 ? phase + 1 : 299 - phase);
    const auto start = std::chrono::steady_clock::now();
    shown.window().sendEvent(mouseEvent(platform::EventType::LeftMouseDragged, {x, press.y + (phase % 7) - 3}));
    shown.drawInvalidated();
    const std::chrono::duration<double, std::milli> frame = std::chrono::steady_clock::now() - start;
    frames.push_back(frame.count());
    state.SetIterationTime(frame.count() / 1000);
    furthest = std::max(furthest, dragged->originPoint().x - origin.x);
  }
  shown.window().sendEvent(mouseEvent(platform::EventType::LeftMouseUp, press));
  shown.drawInvalidated();
  if (frames.empty()) return;
  std::sort(frames.begin(), frames.end());
  const auto at = [&](double fraction) { return frames[static_cast<std::size_t>(fraction * (frames.size() - 1))]; };
  state.counters["median_ms"] = at(0.5);
  state.counters["p99_ms"] = at(0.99);
  state.counters["max_ms"] = frames.back();
  // How far the shape went, as a check that the drag took place.
  state.counters["furthest_px"] = furthest;
}
BENCHMARK(DragShapeAcrossMixedDrawing)->UseManualTime()->Iterations(600)->Unit(benchmark::kMillisecond);

// The benchmark drawing at 800 % scrolled in a 1200 × 800 view, half a view a step, along rows of the page from its
// top left: each step draws the view at its new place. The layer pictures the canvas keeps are counted after every
// step, in bytes; what the cache holds at its largest is the memory scrolling costs. With "bounded" 0 the cache has
// no budget, as it had none before.
void ScrollMixedDrawingAt800(benchmark::State& state) {
  static const bool ui = platform::initializeUi();
  if (!ui) {
    state.SkipWithError("no X display: run under xvfb-run");
    return;
  }
  constexpr float kZoom = 8;
  const int rows = static_cast<int>(state.range(0));
  CMCaches::sharedCaches().clean();
  CMCaches::sharedCaches().setBudget(state.range(1) != 0 ? CMCaches::kDefaultBudget : SIZE_MAX);
  const MixedDocument mixed = mixedDocumentAt(kZoom);
  const platform::Size page{bench::kWidth * kZoom, bench::kHeight * kZoom};
  auto canvas = std::make_shared<CMEditorView>(platform::Rect{0, 0, page.width, page.height});
  canvas->setDocument(mixed.document);
  canvas->setZoom(kZoom);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(kViewWidth),
                                                        static_cast<int>(kViewHeight));
  double peak = 0;
  int steps = 0;
  for (auto _ : state) {
    for (int row = 0; row < rows; ++row) {
      for (double x = 0; x + kViewWidth <= page.width; x += kViewWidth / 2) {
        const double y = row * kViewHeight / 2;
        platform::GraphicsContext context(surface, kViewHeight, true);
        platform::CurrentContextScope current(context);
        context.translateCTM(-x, -y);
        canvas->drawRect({x, y, kViewWidth, kViewHeight});
        cairo_surface_flush(surface);
        peak = std::max(peak, static_cast<double>(CMCaches::sharedCaches().bytes()));
        ++steps;
      }
    }
  }
  state.counters["views"] = steps;
  state.counters["peak_cache_MB"] = peak / (1 << 20);
  state.counters["final_cache_MB"] = static_cast<double>(CMCaches::sharedCaches().bytes()) / (1 << 20);
  state.counters["kept_pictures"] = static_cast<double>(CMCaches::sharedCaches().count());
  cairo_surface_destroy(surface);
  CMCaches::sharedCaches().clean();
  CMCaches::sharedCaches().setBudget(CMCaches::kDefaultBudget);
}
BENCHMARK(ScrollMixedDrawingAt800)
    ->ArgsProduct({{4}, {0, 1}})
    ->ArgNames({"rows", "bounded"})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
