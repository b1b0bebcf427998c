#pragma once

// The selection tests' stage: a 400 × 300 canvas at (50, 40) in an 800 × 600
// window, events sent at canvas points, and the records of the root "layers".

#include <memory>

#include "canvas/CMEditorView.h"
#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "platform/core/geometry_strings.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace selection_testing {

using platform::EventType;
using platform::Point;
using platform::Rect;

class SelectionTest : public canvas_testing::CanvasTest {
 protected:
  SelectionTest() {
    window_.setContentView(mainView_);
    mainView_->addSubview(canvas_);
    CMProject::shareProject().setEditMode(kCMEditModeObject);
  }
  ~SelectionTest() override { CMProject::shareProject().setEditMode(kCMEditModeObject); }

  void show(std::shared_ptr<CMDocument> document) {
    document_ = std::move(document);
    canvas_->setDocument(document_);
  }
  // The canvas is flipped; its top edge lies at y 340 of the y-up content view.
  platform::Event at(EventType type, Point onCanvas, platform::ModifierFlags flags = 0, int clicks = 1) const {
    return platform::test::mouseEvent(type, {50 + onCanvas.x, 40 + 300 - onCanvas.y}, flags, clicks);
  }
  void press(Point p, platform::ModifierFlags flags = 0) { window_.sendEvent(at(EventType::LeftMouseDown, p, flags)); }
  void dragTo(Point p) { window_.sendEvent(at(EventType::LeftMouseDragged, p)); }
  void release(Point p) { window_.sendEvent(at(EventType::LeftMouseUp, p)); }
  void click(Point p, platform::ModifierFlags flags = 0) {
    press(p, flags);
    release(p);
  }
  void drag(Point from, Point to) {
    press(from);
    dragTo(to);
    release(to);
  }
  // The record now in the root "layers" at `index` (undo puts copies there).
  platform::DictRef rootLayer(std::size_t index) const {
    return document_->data()->array("layers")->at(index).dictionary();
  }
  std::shared_ptr<CMLayer> layerWithId(std::int32_t id) const {
    for (const auto& layer : canvas_->layers())
      if (layer->layerId() == id) return layer;
    return nullptr;
  }

  platform::Window window_{{800, 600}};
  std::shared_ptr<platform::View> mainView_ = std::make_shared<platform::View>(Rect{0, 0, 800, 600});
  std::shared_ptr<CMEditorView> canvas_ = std::make_shared<CMEditorView>(Rect{50, 40, 400, 300});
  std::shared_ptr<CMDocument> document_;
};

inline double number(const platform::DictRef& record, const char* key) { return record->get(key).doubleValue(); }

}  // namespace selection_testing
