#pragma once

// The benchmarks' mixed scene cut to its first 400 layers and pulled together onto a 600 × 450 page, for tests that
// compare redraws of part of the canvas with redraws of all of it.

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "document/CMDocument.h"

namespace canvas_testing {

constexpr int kViewWidth = 600;
constexpr int kViewHeight = 450;
constexpr std::size_t kLayers = 400;

// Some layers turned and some translucent. Twins differ in their ids only, so that they never share kept layer
// images. With `wideEffects` some layers cast wide, far shadows and some are blurred far past their edges instead,
// and none is turned: a turned picture is resampled stepwise from the left of each part drawn, which may round a
// pixel differently from one drawing to another.
inline std::shared_ptr<CMDocument> mixedDocument(float zoom, std::int64_t firstId = 1, bool wideEffects = false) {
  const std::vector<bench::SceneLayer> scene = bench::makeCompactScene(kLayers, double{kViewWidth} / bench::kWidth);
  platform::DictRef record = bench::documentRecord(scene);
  const platform::ArrayRef layers = record->array("layers");
  for (std::size_t index = 0; index < layers->size(); ++index) {
    const platform::DictRef layer = layers->at(index).dictionary();
    if (!wideEffects && index % 9 == 4) layer->set("rotate", static_cast<double>(index % 90) - 45);
    if (index % 17 == 3) layer->set("alpha", 0.6);
    layer->set("id", firstId + static_cast<std::int64_t>(index));
    if (!wideEffects) continue;
    const platform::DictRef shape = layer->dictionary("shape");
    if (index % 7 == 2) {
      const platform::DictRef shadow = shape->dictionary("shadow");
      shadow->set("use", true);
      shadow->set("blurRadius", index % 2 == 0 ? 7.0 : 30.0);
      shadow->set("offset_x", 14.0);
      shadow->set("offset_y", -9.0);
    }
    if (index % 23 == 5) shape->dictionary("blur")->set("amount", index % 2 == 0 ? 0.08 : 0.3);
  }
  record->set("width", 600.0);
  record->set("height", 450.0);
  record->set("zoom", platform::Value(zoom));
  auto document = std::make_shared<CMDocument>();
  document->setData(record);
  return document;
}

}  // namespace canvas_testing
