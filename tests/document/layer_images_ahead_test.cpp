// On the canvas in cached mode the drawer renders the images of the layers a draw needs side by side on worker
// threads before compositing them in order. That may not change a pixel: a drawer that renders each image in its
// layer's own draw, one after another, shows the same picture of a drawing with every layer kind in a random order
// (the seed is printed), at 100 % and 400 %, in cached and vector mode, when drawn first, again, and after edits.

#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "document/CMBaseDocument.h"
#include "document/CMCaches.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphics_context.h"
#include "style_canvas.h"
#include "../random_test_seed.h"

namespace {

using platform::Array;
using platform::Dictionary;
using platform::DictRef;

constexpr int kViewWidth = 600;
constexpr int kViewHeight = 450;
constexpr std::size_t kShapes = 300;

// A small picture with a colour in each half, for image layers and image fills.
platform::Bytes twoColourPicture() {
  return document_testing::pngOf({24, 12}, {{{0, 0, 12, 12}, platform::Color{0.9, 0.2, 0.1, 1}},
                                            {{12, 0, 12, 12}, platform::Color{0.1, 0.3, 0.8, 0.7}}});
}

// The layer records in drawing order: the benchmarks' mixed shapes pulled together onto 600 × 450 units, some turned,
// translucent, blended, filled with a picture or masked, with text and image layers among them; then shuffled.
std::vector<DictRef> mixedLayers(std::mt19937& random) {
  const std::vector<bench::SceneLayer> scene = bench::makeCompactScene(kShapes, double{kViewWidth} / bench::kWidth);
  const platform::ArrayRef shapes = bench::documentRecord(scene)->array("layers");
  const platform::Bytes picture = twoColourPicture();
  std::vector<DictRef> layers;
  for (std::size_t index = 0; index < shapes->size(); ++index) {
    const DictRef layer = shapes->at(index).dictionary();
    if (index % 9 == 4) layer->set("rotate", static_cast<double>(index % 90) - 45);
    if (index % 17 == 3) layer->set("alpha", 0.6);
    if (index % 23 == 5) layer->set("blending_mode", 2);
    if (index % 29 == 6) {
      layer->dictionary("shape")->set(
          "fill", Dictionary::make({{"use", true}, {"type", 2}, {"alpha", 1.0}, {"image", picture}}));
    }
    if (index % 31 == 8) {
      const DictRef mask = platform::dictionaryCopy(shapes->at((index + 1) % shapes->size()).dictionary());
      mask->set("ismask", true);
      layer->set("masks", Array::make({mask}));
    }
    layers.push_back(layer);
    const double x = std::round(layer->get("x").doubleValue());
    const double y = std::round(layer->get("y").doubleValue());
    if (index % 20 == 10) {
      layers.push_back(Dictionary::make({{"type", 2},
                                         {"visible", true},
                                         {"alpha", 1.0},
                                         {"x", x},
                                         {"y", y},
                                         {"text", "Seam " + std::to_string(index)},
                                         {"style", Dictionary::make({{"fontSize", 14}})}}));
    }
    if (index % 30 == 15) {
      layers.push_back(Dictionary::make({{"type", 1},
                                         {"visible", true},
                                         {"alpha", 0.8},
                                         {"x", x},
                                         {"y", y},
                                         {"width", 48},
                                         {"height", 24},
                                         {"image", picture}}));
    }
  }
  std::shuffle(layers.begin(), layers.end(), random);
  return layers;
}

// The layers, given ids from `firstId` (so that two drawings never share cached images), as a drawing at `zoom`.
// Every tenth layer shares the first one's id, as layers of foreign files may.
std::shared_ptr<CMBaseDocument> documentOf(const std::vector<DictRef>& layers, std::int64_t firstId, float zoom) {
  platform::ArrayRef records = Array::make();
  for (std::size_t index = 0; index < layers.size(); ++index) {
    const DictRef copy = platform::dictionaryCopy(layers[index]);
    copy->set("id", firstId + static_cast<std::int64_t>(index % 10 == 0 ? 0 : index));
    if (const platform::ArrayRef masks = copy->array("masks")) {
      masks->at(0).dictionary()->set("id", firstId + 50000 + static_cast<std::int64_t>(index));
    }
    records->add(copy);
  }
  auto document = std::make_shared<CMBaseDocument>();
  document->setData(Dictionary::make({{"layers", records},
                                      {"zoom", platform::Value(zoom)},
                                      {"background", Dictionary::make({{"bg_color", bench::colourRecord({250, 250, 240})}})}}));
  return document;
}

// A drawer drawing one drawing as the canvas does, into an image of the view's size showing the middle of the page.
class DrawnPage {
 public:
  DrawnPage(const std::vector<DictRef>& layers, std::int64_t firstId, float zoom, bool vector, bool ahead)
      : zoom_(zoom),
        surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kViewWidth, kViewHeight), cairo_surface_destroy) {
    drawer_.setDocument(documentOf(layers, firstId, zoom));
    drawer_.setViewMode(vector);
    drawer_.setZoom(zoom);
    drawer_.setRendersImagesAhead(ahead);
  }

  void draw() {
    platform::GraphicsContext context(surface_.get(), kViewHeight, true);
    const platform::Rect view{(600 * zoom_ - kViewWidth) / 2, (450 * zoom_ - kViewHeight) / 2, kViewWidth,
                              kViewHeight};
    context.translateCTM(-view.origin.x, -view.origin.y);
    context.setFillColor(platform::Color::whiteColor());
    drawer_.draw(context, view, true);
    cairo_surface_flush(surface_.get());
  }

  CMDrawer& drawer() { return drawer_; }

  // The first pixel where the pictures differ, or an empty text.
  std::string differenceFrom(const DrawnPage& other) const {
    const int stride = cairo_image_surface_get_stride(surface_.get());
    const unsigned char* mine = cairo_image_surface_get_data(surface_.get());
    const unsigned char* theirs = cairo_image_surface_get_data(other.surface_.get());
    for (int y = 0; y < kViewHeight; ++y) {
      for (int x = 0; x < kViewWidth; ++x) {
        if (std::memcmp(mine + y * stride + 4 * x, theirs + y * stride + 4 * x, 4) != 0)
          return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
      }
    }
    return {};
  }

 private:
  float zoom_;
  CMDrawer drawer_;
  std::shared_ptr<cairo_surface_t> surface_;
};

struct Mode {
  float zoom;
  bool vector;
  friend void PrintTo(const Mode& mode, std::ostream* out) {
    *out << (mode.vector ? "vector" : "cached") << " at " << mode.zoom * 100 << " %";
  }
};

class LayerImagesAheadTest : public ::testing::TestWithParam<Mode> {
 protected:
  LayerImagesAheadTest() { CMCaches::sharedCaches().clean(); }
  ~LayerImagesAheadTest() override { CMCaches::sharedCaches().clean(); }
};

TEST_P(LayerImagesAheadTest, ImagesRenderedSideBySideShowWhatImagesRenderedOneByOneShow) {
  const auto [zoom, vector] = GetParam();
  const unsigned seed = randomTestSeed("LayerImagesAheadTest");
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const std::vector<DictRef> layers = mixedLayers(random);
  DrawnPage ahead(layers, 1, zoom, vector, true);
  DrawnPage oneByOne(layers, 100001, zoom, vector, false);

  ahead.draw();
  oneByOne.draw();
  ASSERT_EQ(ahead.differenceFrom(oneByOne), "") << "first draw";
  // Again from the kept images.
  ahead.draw();
  oneByOne.draw();
  ASSERT_EQ(ahead.differenceFrom(oneByOne), "") << "second draw";

  // Some layers recoloured and marked dirty, as the style panels do: only those are rendered again.
  for (int edit = 0; edit < 40; ++edit) {
    const std::size_t index = std::uniform_int_distribution<std::size_t>(0, layers.size() - 1)(random);
    const int red = std::uniform_int_distribution<int>(0, 255)(random);
    for (DrawnPage* page : {&ahead, &oneByOne}) {
      CMLayer& layer = *page->drawer().layers()[index];
      if (const DictRef shape = layer.data()->dictionary("shape")) {
        if (const DictRef fill = shape->dictionary("fill")) fill->set("color", bench::colourRecord({red, 40, 90}));
      }
      layer.setDirty(true);
    }
  }
  ahead.draw();
  oneByOne.draw();
  EXPECT_EQ(ahead.differenceFrom(oneByOne), "") << "after the edits";
}

INSTANTIATE_TEST_SUITE_P(CachedAndVector, LayerImagesAheadTest,
                         ::testing::Values(Mode{1, false}, Mode{4, false}, Mode{1, true}, Mode{4, true}));

}  // namespace
