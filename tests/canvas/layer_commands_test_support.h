#pragma once

// The layer commands' stage: a frame view with its canvas in a 1000 × 800 window (a 400 × 300 page at
// (300, 250), drawn one unit lower, at 100 %), documents of hand-made records with known ids, selection by id,
// and comparisons of whole trees with the marks the commands and undo leave aside.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace layer_commands_testing {

using platform::DictRef;
using platform::Point;
using platform::Rect;

inline DictRef withId(DictRef record, std::int64_t id, std::int64_t position) {
  record->set("id", id);
  record->set("position", position);
  return record;
}

// A shape of any type filled with one colour, drawn at `frame`.
inline DictRef filledShape(std::int64_t shapeType, std::int64_t id, const Rect& frame, int r, int g, int b) {
  DictRef record = canvas_testing::filledRectangle(id, frame, r, g, b);
  record->set("shape_type", shapeType);
  return record;
}

inline DictRef lineLayer(std::int64_t id, Point start, Point end) {
  return withId(document_testing::shapeLayerRecord(4, document_testing::lineShape(start, end)), id, id);
}

inline DictRef pathLayer(std::int64_t id, const std::vector<DictRef>& points, Point at) {
  return withId(document_testing::pathLayerRecord(points, at.x, at.y), id, id);
}

inline DictRef defaultLayer(const char* name, std::int64_t id, Point at) {
  DictRef record = withId(CMProject::shareProject().defaultObject(name), id, id);
  record->set("x", at.x);
  record->set("y", at.y);
  return record;
}

inline DictRef groupOf(std::int64_t id, std::vector<DictRef> members) {
  DictRef group = document_testing::group(id, std::move(members), id);
  group->set("visible", true);
  return group;
}

// A deep copy without the marks commands and undo write beside the content.
inline platform::Value withoutMarks(const platform::Value& value) {
  if (const platform::ArrayRef list = value.array()) {
    platform::ArrayRef copy = platform::Array::make();
    for (const platform::Value& entry : *list) copy->add(withoutMarks(entry));
    return copy;
  }
  if (const DictRef record = value.dictionary()) {
    DictRef copy = platform::Dictionary::make();
    for (const auto& [key, entry] : *record) {
      if (key != "dirty" && key != "group_id" && key != "position" && key != "isDirty") copy->set(key, withoutMarks(entry));
    }
    return copy;
  }
  return value;
}

inline bool sameContent(const platform::Value& a, const platform::Value& b) {
  return withoutMarks(a).isEqual(withoutMarks(b));
}

class LayerCommandsTest : public canvas_testing::CanvasTest {
 protected:
  LayerCommandsTest() { settings().setBool(false, "show_ruler"); }

  void show(std::vector<DictRef> layers) {
    document_ = canvas_testing::plainDocument(std::move(layers));
    frameView_->setDocument(document_);
  }
  CMEditorView& canvas() { return frameView_->editor(); }
  std::shared_ptr<CMLayer> layerWithId(std::int32_t id) {
    for (const auto& layer : canvas().layers())
      if (layer->layerId() == id) return layer;
    return nullptr;
  }
  // The primary layer, and the multi-selection: it and the members.
  void select(std::int32_t primary, std::vector<std::int32_t> members = {}) {
    for (const auto& layer : canvas().layers()) {
      const std::int32_t id = layer->layerId();
      layer->setSelected(id == primary);
      layer->setSelectedAsPartOfGroup(id == primary || std::find(members.begin(), members.end(), id) != members.end());
    }
  }
  // What the main window's refresh does after a command.
  void refresh() { canvas().update(); }
  platform::ArrayRef rootLayers() const { return document_->data()->array("layers"); }
  DictRef root(std::size_t index) const { return rootLayers()->at(index).dictionary(); }
  std::vector<std::int64_t> rootIds() const { return document_testing::idsOf(rootLayers()); }
  std::size_t undoSteps() const { return document_->undoManager().undoCount(); }
  void undo() {
    document_->undo();
    refresh();
  }
  void redo() {
    document_->redo();
    refresh();
  }
  platform::Value snapshot() const { return platform::deepCopy(document_->data()->get("layers")); }
  platform::test::ImageSurface render() {
    refresh();
    platform::test::showAndSettle(window_);
    platform::test::processPendingEvents();
    return platform::test::renderWidget(frameView_->widget());
  }
  // The pixel over a page point.
  static platform::test::Pixel pixelOnPage(cairo_surface_t* image, Point onPage) {
    return platform::test::pixelAt(image, static_cast<int>(300 + onPage.x), static_cast<int>(251 + onPage.y));
  }

  platform::Window window_{{1000, 800}};
  std::shared_ptr<CMFrameEditorView> frameView_ = [this] {
    auto view = std::make_shared<CMFrameEditorView>(Rect{0, 0, 1000, 800});
    window_.setContentView(view);
    return view;
  }();
  std::shared_ptr<CMDocument> document_;
};

}  // namespace layer_commands_testing
