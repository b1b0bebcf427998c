// The canvas keeps each layer's extent between draws in an index and visits only the layers that can reach the
// rectangle being drawn. Neither may change a pixel: a canvas that measures every layer anew and draws it shows the
// same after the same small redraws, and after the same random run of edits, restackings and undos (some replayed
// in place before the canvas rebuilds its layers), each followed by a redraw of only the part the canvas reports
// damaged.

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
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

// One layer's edit as the canvas and the style panels make it, registered for undo in the layer record's place.
void editLayer(CMEditorView& canvas, std::size_t index, int kind, platform::Point move, platform::Size size,
               float angle, double lineWidth, double shadowOffset) {
  CMLayer& layer = *canvas.layers()[index];
  canvas.document()->undoManager().regUndoDictionary(
      kCMUndoLayerKeys,
      platform::Dictionary::make(
          {{"obj", layer.data()},
           {"keys", platform::Array::make({"x", "y", "width", "height", "rotate", "visible", "shape"})}}));
  const platform::DictRef shape = layer.data()->dictionary("shape");
  switch (kind) {
    case 0: {  // a move, which keeps the layer's image when it is by whole pixels
      const platform::Point origin = layer.originPoint();
      layer.setOriginPoint({origin.x + move.x, origin.y + move.y});
      break;
    }
    case 1:
      layer.setOriginSize(size);
      break;
    case 2:
      layer.setRotation(angle);
      break;
    case 3:  // a wider stroke and a shadow moved or switched
      if (const platform::DictRef stroke = shape ? shape->dictionary("stroke") : nullptr) {
        stroke->set("use", true);
        stroke->set("lineWidth", lineWidth);
      }
      if (const platform::DictRef shadow = shape ? shape->dictionary("shadow") : nullptr) {
        shadow->set("use", !shadow->get("use").boolValue());
        shadow->set("offset_x", shadowOffset);
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

TEST_P(DamageRedrawTest, RedrawingTheDamageAfterEachEditShowsWhatMeasuringAnewShows) {
  const auto [zoom, vector] = GetParam();
  const unsigned seed = randomTestSeed("DamageRedrawTest");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const auto uniform = [&](double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
  };
  DrawnCanvas edited(mixedDocument(zoom), zoom, vector);
  DrawnCanvas reference(mixedDocument(zoom, 100001), zoom, vector, false);
  edited.drawAll();
  reference.drawAll();
  // What the undo stack holds: the id of the layer each entry changed (on the edited canvas), and whether it
  // restacked the drawing.
  struct Done {
    std::int32_t id;
    bool restacked;
  };
  std::vector<Done> done;
  const auto placeOf = [&edited](std::int32_t id) {
    const CMEditorView::Layers& layers = edited.canvas().layers();
    std::size_t at = 0;
    while (at + 1 < layers.size() && layers[at]->layerId() != id) ++at;
    return at;
  };
  for (int step = 1; step <= 200; ++step) {
    std::size_t index = std::uniform_int_distribution<std::size_t>(0, kLayers - 1)(random);
    const int kind = std::uniform_int_distribution<int>(0, 7)(random);
    platform::Point move{uniform(-60, 60), uniform(-60, 60)};
    if (step % 2 == 0) move = {std::round(move.x), std::round(move.y)};
    const platform::Size size{uniform(5, 120), uniform(5, 120)};
    const float angle = static_cast<float>(uniform(-180, 180));
    const double lineWidth = uniform(1, 12);
    const double shadowOffset = uniform(-8, 8);
    if (kind == 7 && done.empty()) continue;
    const bool undoing = kind == 7;
    const Done undone = undoing ? done.back() : Done{};
    if (undoing) index = placeOf(undone.id);
    const std::int32_t id = edited.canvas().layers()[index]->layerId();
    const std::size_t undoCount = edited.canvas().document()->undoManager().undoCount();
    // The damage is where the changed layer was and where it is now.
    platform::Rect damage = edited.canvas().layerDamage(*edited.canvas().layers()[index]);
    for (DrawnCanvas* canvas : {&edited, &reference}) {
      CMEditorView& view = canvas->canvas();
      if (undoing) {  // replayed in the records; the main window rebuilds the layers, at times after a draw
        view.document()->undo();
        if (undone.restacked || step % 2 == 0) view.update();
      } else if (kind >= 5) {
        restackLayer(view, index, kind == 5);
      } else {
        editLayer(view, index, kind, move, size, angle, lineWidth, shadowOffset);
      }
    }
    if (undoing) {
      done.pop_back();
    } else if (edited.canvas().document()->undoManager().undoCount() > undoCount) {
      done.push_back({id, kind >= 5});
    }
    index = placeOf(id);
    damage = platform::unionRect(damage, edited.canvas().layerDamage(*edited.canvas().layers()[index]));
    edited.draw(damage);
    reference.draw(damage);
    if (step % 25 == 0) {
      ASSERT_EQ(edited.differenceFrom(reference), "") << "after step " << step;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CachedAndVector, DamageRedrawTest,
                         ::testing::Values(Mode{1, false}, Mode{4, false}, Mode{1, true}, Mode{4, true}));

}  // namespace
