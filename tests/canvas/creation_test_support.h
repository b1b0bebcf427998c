#pragma once

// The creation tools' tests: a real canvas in a window, driven by synthetic
// mouse events given in canvas coordinates, with the document's records at hand.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas/CMEditorViewDelegate.h"
#include "canvas_test_support.h"
#include "document/CMDocument.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/main_queue.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace creation_testing {

using platform::EventType;
using platform::Point;
using platform::Rect;

// Counts what the tools' tracking loops hand to the rulers.
class RulerSpy final : public CMEditorViewDelegate {
 public:
  void updateRules(const platform::Event& event) override { events.push_back(event.type); }
  std::vector<EventType> events;
};

class MainView : public platform::View {
 public:
  using platform::View::View;
  bool acceptsFirstResponder() const override { return true; }
};

class CreationTest : public canvas_testing::CanvasTest {
 protected:
  CreationTest() {
    mainView_->addSubview(canvas_);
    window_.setContentView(mainView_);
    controller().mainViewToFocus = mainView_.get();
    canvas_->setDelegate(&rulers_);
    show(canvas_testing::plainDocument());
  }

  // A 400 × 300 page at `zoom`, shown in cached or vector view mode.
  void show(std::shared_ptr<CMDocument> document, float zoom = 1, bool vectorMode = false) {
    document_ = std::move(document);
    canvas_->setDocument(document_);
    canvas_->setZoom(zoom);
    canvas_->setViewMode(vectorMode);
  }
  void showZoomed(float zoom, bool vectorMode = false) {
    show(canvas_testing::documentWith(400, 300, zoom, canvas_testing::colourRecord(255, 255, 255, 255)), zoom,
         vectorMode);
  }

  // The canvas is flipped and sits at (50, 40) of the 800 × 600 y-up window.
  static platform::Event at(EventType type, Point onCanvas, int clicks = 1) {
    return platform::test::mouseEvent(type, {50 + onCanvas.x, 40 + 300 - onCanvas.y}, 0, clicks);
  }
  void send(EventType type, Point onCanvas) { window_.sendEvent(at(type, onCanvas)); }
  // A press at the first point, drags through the others and a release at the last one.
  void stroke(const std::vector<Point>& path) {
    send(EventType::LeftMouseDown, path.front());
    for (std::size_t index = 1; index < path.size(); ++index) send(EventType::LeftMouseDragged, path[index]);
    send(EventType::LeftMouseUp, path.back());
  }
  // Chooses the tool, draws the stroke and lets the completion run.
  void draw(int tool, const std::vector<Point>& path) {
    canvas_->selectTool(tool, nullptr);
    stroke(path);
    platform::drainMainQueue();
  }
  void click(Point onCanvas) {
    send(EventType::LeftMouseDown, onCanvas);
    send(EventType::LeftMouseUp, onCanvas);
  }

  platform::ArrayRef records() const { return document_->data()->array("layers"); }
  platform::DictRef record(std::size_t index) const { return records()->at(index).dictionary(); }
  platform::DictRef lastRecord() const { return records()->last().dictionary(); }
  static platform::DictRef shapeOf(const platform::DictRef& layer) { return layer->dictionary("shape"); }
  static Rect frameOf(const platform::DictRef& layer) {
    return {layer->get("x").doubleValue(), layer->get("y").doubleValue(), layer->get("width").doubleValue(),
            layer->get("height").doubleValue()};
  }
  static Point pointAt(const platform::DictRef& record, const char* key) {
    return platform::pointFromString(record->get(key).string());
  }

  platform::Window window_{{800, 600}};
  std::shared_ptr<MainView> mainView_ = std::make_shared<MainView>(Rect{0, 0, 800, 600});
  std::shared_ptr<CMEditorView> canvas_ = std::make_shared<CMEditorView>(Rect{50, 40, 400, 300});
  std::shared_ptr<CMDocument> document_;
  RulerSpy rulers_;
};

}  // namespace creation_testing
