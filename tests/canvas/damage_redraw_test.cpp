// The canvas keeps each layer's extent between draws in an index and visits only the layers that can reach the
// rectangle being drawn. Neither may change a pixel: a canvas that measures every layer anew and draws it shows the
// same after the same small redraws, and after the same random run of edits, restackings and undos (some replayed
// in place before the canvas rebuilds its layers), each followed by a redraw of only the part the canvas reports
// damaged. Nor may the layer pictures the canvas keeps: drawn whole, it then shows what rendering every layer anew
// shows.

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas_test_support.h"
#include "document/CMCaches.h"
#include "document/CMDrawer.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMUndoActionType.h"
#include "mixed_document_support.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"
#include "../random_test_seed.h"

namespace {

using canvas_testing::kLayers;
using canvas_testing::kViewHeight;
using canvas_testing::kViewWidth;
using canvas_testing::mixedDocument;

// A canvas over a document, drawing into an image of the view's size.
class DrawnCanvas {
 public:
  DrawnCanvas(const std::shared_ptr<CMDocument>& document, float zoom, bool vectorMode, bool keepsExtents = true)
      : canvas_(std::make_shared<CMEditorView>(platform::Rect{0, 0, 600.0 * zoom, 450.0 * zoom})),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kViewWidth, kViewHeight), cairo_surface_destroy),
        context_(surface_.get(), kViewHeight, true) {
    canvas_->setDocument(document);
    canvas_->setViewMode(vectorMode);
    canvas_->setZoom(zoom);
    canvas_->drawer().setKeepsLayerExtents(keepsExtents);
  }

  void draw(const platform::Rect& rect) {
    platform::CurrentContextScope current(context_);
    canvas_->drawRect(rect);
    cairo_surface_flush(surface_.get());
  }
  void drawAll() { draw({0, 0, kViewWidth, kViewHeight}); }

  CMEditorView& canvas() { return *canvas_; }

  // The first pixel where the pictures differ, or an empty text.
  std::string differenceFrom(DrawnCanvas& other) {
    const int stride = cairo_image_surface_get_stride(surface_.get());
    const unsigned char* mine = cairo_image_surface_get_data(surface_.get());
    const unsigned char* theirs = cairo_image_surface_get_data(other.surface_.get());
    for (int y = 0; y < kViewHeight; ++y) {
      if (std::memcmp(mine + y * stride, theirs + y * stride, static_cast<std::size_t>(kViewWidth) * 4) == 0) continue;
      for (int x = 0; x < kViewWidth; ++x)
        if (std::memcmp(mine + y * stride + 4 * x, theirs + y * stride + 4 * x, 4) != 0)
          return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
    return {};
  }

 private:
  std::shared_ptr<CMEditorView> canvas_;
  std::shared_ptr<cairo_surface_t> surface_;
  platform::GraphicsContext context_;
};

struct Mode {
  float zoom;
  bool vector;
  friend void PrintTo(const Mode& mode, std::ostream* out) {
    *out << (mode.vector ? "vector" : "cached") << " at " << mode.zoom * 100 << " %";
  }
};

const Mode kModes[] = {{1, false}, {4, false}, {1, true}, {4, true}};

class DamageRedrawTest : public canvas_testing::CanvasTest, public ::testing::WithParamInterface<Mode> {
 protected:
  DamageRedrawTest() { CMCaches::sharedCaches().clean(); }
  ~DamageRedrawTest() override { CMCaches::sharedCaches().clean(); }
};

TEST_P(DamageRedrawTest, SmallRedrawsPassingOverLayersDrawWhatDrawingEveryLayerDraws) {
  const auto [zoom, vector] = GetParam();
  DrawnCanvas culled(mixedDocument(zoom), zoom, vector);
  DrawnCanvas everyLayer(mixedDocument(zoom, 100001), zoom, vector, false);
  // Tiles of odd sizes, so that their edges cross layers everywhere.
  for (int y = 0; y < kViewHeight; y += 53) {
    for (int x = 0; x < kViewWidth; x += 71) {
      culled.draw({double(x), double(y), 71, 53});
      everyLayer.draw({double(x), double(y), 71, 53});
    }
  }
  EXPECT_EQ(culled.differenceFrom(everyLayer), "");
}

// The canvas cut into tiles shows what one redraw of the whole view shows, to the last bit: each tile draws its own
// top row too, and shadows and blurs reach into a tile from layers lying partly or wholly outside it. (In vector mode
// a part of a picture is rendered anew for each tile, and strokes rendered at another offset may round apart.)
TEST_F(DamageRedrawTest, TilesDrawWhatOneWholeRedrawDraws) {
  for (const float zoom : {1.0f, 4.0f}) {
    SCOPED_TRACE("at " + std::to_string(zoom * 100) + " %");
    DrawnCanvas tiled(mixedDocument(zoom, 1, true), zoom, false);
    DrawnCanvas whole(mixedDocument(zoom, 100001, true), zoom, false);
    for (int y = 0; y < kViewHeight; y += 53)
      for (int x = 0; x < kViewWidth; x += 71) tiled.draw({double(x), double(y), 71, 53});
    whole.drawAll();
    EXPECT_EQ(tiled.differenceFrom(whole), "");
  }
}

// One step of a run on the canvas: an edit of the layer at `index` (kinds 0 to 4, see editLayer), its restacking one
// place up (5) or down (6), or the undo of the last step registered (7), after which the main window rebuilds the
// layers when `rebuilds` (it always does after restacking).
struct Step {
  std::size_t index = 0;
  int kind = 0;
  platform::Point move{};
  platform::Size size{};
  float angle = 0;
  double lineWidth = 1;
  double shadowOffset = 0;
  bool rebuilds = false;
};

// One layer's edit as the canvas and the style panels make it, registered for undo in the layer record's place.
void editLayer(CMEditorView& canvas, const Step& step) {
  CMLayer& layer = *canvas.layers()[step.index];
  canvas.document()->undoManager().regUndoDictionary(
      kCMUndoLayerKeys,
      platform::Dictionary::make(
          {{"obj", layer.data()},
           {"keys", platform::Array::make({"x", "y", "width", "height", "rotate", "visible", "shape"})}}));
  const platform::DictRef shape = layer.data()->dictionary("shape");
  switch (step.kind) {
    case 0: {  // a move, which keeps the layer's image when it is by whole pixels
      const platform::Point origin = layer.originPoint();
      layer.setOriginPoint({origin.x + step.move.x, origin.y + step.move.y});
      break;
    }
    case 1:
      layer.setOriginSize(step.size);
      break;
    case 2:
      layer.setRotation(step.angle);
      break;
    case 3:  // a wider stroke and a shadow moved or switched
      if (const platform::DictRef stroke = shape ? shape->dictionary("stroke") : nullptr) {
        stroke->set("use", true);
        stroke->set("lineWidth", step.lineWidth);
      }
      if (const platform::DictRef shadow = shape ? shape->dictionary("shadow") : nullptr) {
        shadow->set("use", !shadow->get("use").boolValue());
        shadow->set("offset_x", step.shadowOffset);
      }
      layer.setDirty(true);
      break;
    default:  // hidden or shown
      layer.data()->set("visible", !layer.data()->get("visible").boolValue());
      break;
  }
}

// The layer one place up or down the drawing, selected alone first; the canvas takes the new order as the main
// window has it do.
void restackLayer(CMEditorView& canvas, std::size_t index, bool up) {
  for (const auto& layer : canvas.layers()) layer->setSelected(false);
  canvas.layers()[index]->setSelected(true);
  if (up)
    canvas.bringForward();
  else
    canvas.sendTobackward();
  canvas.update();
}

// A canvas that keeps its layers' extents and one that measures every layer anew, given the same steps, each followed
// by a redraw of only the part the first reports damaged.
class EditRun {
 public:
  EditRun(float zoom, bool vector)
      : edited_(mixedDocument(zoom), zoom, vector), reference_(mixedDocument(zoom, 100001), zoom, vector, false) {
    edited_.drawAll();
    reference_.drawAll();
  }

  bool canUndo() const { return !done_.empty(); }
  DrawnCanvas& edited() { return edited_; }
  DrawnCanvas& reference() { return reference_; }

  void take(Step step) {
    const bool undoing = step.kind == 7;
    const Done undone = undoing ? done_.back() : Done{};
    if (undoing) step.index = placeOf(undone.id);
    const std::int32_t id = edited_.canvas().layers()[step.index]->layerId();
    const std::size_t undoCount = edited_.canvas().document()->undoManager().undoCount();
    // The damage is where the changed layer was and where it is now.
    platform::Rect damage = edited_.canvas().layerDamage(*edited_.canvas().layers()[step.index]);
    for (DrawnCanvas* canvas : {&edited_, &reference_}) {
      CMEditorView& view = canvas->canvas();
      if (undoing) {  // replayed in the records; the main window rebuilds the layers, at times after a draw
        view.document()->undo();
        if (undone.restacked || step.rebuilds) view.update();
      } else if (step.kind >= 5) {
        restackLayer(view, step.index, step.kind == 5);
      } else {
        editLayer(view, step);
      }
    }
    if (undoing) {
      done_.pop_back();
    } else if (edited_.canvas().document()->undoManager().undoCount() > undoCount) {
      done_.push_back({id, step.kind >= 5});
    }
    damage = platform::unionRect(damage, edited_.canvas().layerDamage(*edited_.canvas().layers()[placeOf(id)]));
    edited_.draw(damage);
    reference_.draw(damage);
  }

 private:
  // What the undo stack holds: the id of the layer each entry changed (on the edited canvas), and whether it
  // restacked the drawing.
  struct Done {
    std::int32_t id;
    bool restacked;
  };

  std::size_t placeOf(std::int32_t id) {
    const CMEditorView::Layers& layers = edited_.canvas().layers();
    std::size_t at = 0;
    while (at + 1 < layers.size() && layers[at]->layerId() != id) ++at;
    return at;
  }

  DrawnCanvas edited_;
  DrawnCanvas reference_;
  std::vector<Done> done_;
};

TEST_P(DamageRedrawTest, RedrawingTheDamageAfterEachEditShowsWhatMeasuringAnewShows) {
  const auto [zoom, vector] = GetParam();
  const unsigned seed = randomTestSeed("DamageRedrawTest");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  EditRun run(zoom, vector);
  for (int number = 1; number <= 200; ++number) {
    Step step;
    step.index = std::uniform_int_distribution<std::size_t>(0, kLayers - 1)(random);
    step.kind = std::uniform_int_distribution<int>(0, 7)(random);
    step.move = {uniform(-60, 60), uniform(-60, 60)};
    if (number % 2 == 0) step.move = {std::round(step.move.x), std::round(step.move.y)};
    step.size = {uniform(5, 120), uniform(5, 120)};
    step.angle = static_cast<float>(uniform(-180, 180));
    step.lineWidth = uniform(1, 12);
    step.shadowOffset = uniform(-8, 8);
    step.rebuilds = number % 2 == 0;
    if (step.kind == 7 && !run.canUndo()) continue;
    run.take(step);
    if (number % 25 == 0) {
      ASSERT_EQ(run.edited().differenceFrom(run.reference()), "") << "after step " << number;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CachedAndVector, DamageRedrawTest, ::testing::ValuesIn(kModes));

// Runs of steps that once left the canvas showing other than what measuring every layer anew shows after a step, or,
// drawn whole at the end with layer objects true to the records, other than what rendering every layer anew shows.
struct Script {
  const char* name;
  std::vector<Step> steps;
  friend void PrintTo(const Script& script, std::ostream* out) { *out << script.name; }
};

// In the mixed drawing the layer at 33 is a line 1 wide with a shadow and the one at 188 a line 3 wide without, both
// where the canvas shows the page at 400 % too.
const Script kScripts[] = {
    // The undo swaps the line's "shape" record for a copy while the layer object still draws the one it was built
    // over: the second move moves that one. The last undo rebuilds the layers.
    {"LineMovedUndoneInPlaceAndMovedAgain",
     {{.index = 33, .kind = 0, .move = {8, 31}},
      {.kind = 7},
      {.index = 33, .kind = 0, .move = {57, -30}},
      {.kind = 7, .rebuilds = true}}},
    // Moving a line rebuilds it with the stroke width of its "def_width": the picture kept at the wider stroke (as
    // wide as the shadow's room, so that it lies on the same pixel grid) is of another line.
    {"LineRestrokedThenMovedByWholePixels",
     {{.index = 188, .kind = 3, .lineWidth = 5, .shadowOffset = 4}, {.index = 188, .kind = 0, .move = {-20, 10}}}},
    // So does building its layer object anew, as each undo of the moves of a layer far from it does here: the line
    // is not drawn before the second.
    {"LineRestrokedThenRebuiltTwice",
     {{.index = 188, .kind = 3, .lineWidth = 5, .shadowOffset = 4},
      {.index = 398, .kind = 0, .move = {-20, 10}},
      {.index = 398, .kind = 0, .move = {-20, 10}},
      {.kind = 7, .rebuilds = true},
      {.kind = 7, .rebuilds = true}}},
};

class DamageScriptTest : public canvas_testing::CanvasTest,
                         public ::testing::WithParamInterface<std::tuple<Mode, Script>> {
 protected:
  DamageScriptTest() { CMCaches::sharedCaches().clean(); }
  ~DamageScriptTest() override { CMCaches::sharedCaches().clean(); }
};

TEST_P(DamageScriptTest, RedrawingTheDamageShowsWhatMeasuringAndRenderingAnewShow) {
  const auto [mode, script] = GetParam();
  EditRun run(mode.zoom, mode.vector);
  for (std::size_t number = 0; number < script.steps.size(); ++number) {
    run.take(script.steps[number]);
    ASSERT_EQ(run.edited().differenceFrom(run.reference()), "") << "after step " << number + 1;
  }
  // The main window asks for the whole canvas once it has rebuilt the layers.
  run.edited().drawAll();
  CMCaches::sharedCaches().clean();
  DrawnCanvas rendered(run.edited().canvas().document(), mode.zoom, mode.vector);
  rendered.drawAll();
  EXPECT_EQ(run.edited().differenceFrom(rendered), "");
}

INSTANTIATE_TEST_SUITE_P(
    CachedAndVector, DamageScriptTest, ::testing::Combine(::testing::ValuesIn(kModes), ::testing::ValuesIn(kScripts)),
    [](const ::testing::TestParamInfo<std::tuple<Mode, Script>>& info) {
      const Mode& mode = std::get<0>(info.param);
      return std::string(std::get<1>(info.param).name) + (mode.vector ? "Vector" : "Cached") +
             std::to_string(static_cast<int>(mode.zoom * 100));
    });

}  // namespace
