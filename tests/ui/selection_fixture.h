#pragma once

// The main window with a drawing on the screen and the layers panel shown, driven with real GDK events: rectangles
// put in the drawing, clicks on the canvas, the panels' rows and buttons, the menus and the palette, and what the
// canvas and the layers panel have chosen.

#include <gdk/gdk.h>

#include <set>
#include <string>
#include <vector>

#include "../canvas/real_pointer_support.h"
#include "../document/shape_layer_support.h"
#include "main_window_fixture.h"
#include "platform/ui/button.h"
#include "ui/CMDocumentSelectorView.h"
#include "ui/CMLayersPanelView.h"
#include "ui/CMToolbarButton.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {

using platform::DictRef;
using platform::Point;
using platform::Rect;
using Ids = std::set<std::int32_t>;

inline DictRef rectangle(std::int64_t id, const Rect& frame) {
  DictRef record = document_testing::shapeLayerRecord(
      0, document_testing::frameShape({0, 0, frame.size.width, frame.size.height}), frame.origin.x, frame.origin.y);
  record->set("id", id);
  record->set("width", frame.size.width);
  record->set("height", frame.size.height);
  return record;
}

class SelectionAfterEdits : public MainWindowTest {
 public:
  using MainWindowTest::answerOpenPanel;
  using MainWindowTest::item;
  using MainWindowTest::settle;
  using MainWindowTest::window;

 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    document = newDrawingOnScreen();
    ASSERT_NE(document, nullptr);
    showRightPanel(3);
    ASSERT_TRUE(platform::test::waitForAllocation(panel().tableView().widget()));
  }

 public:
  // A click on the right-panel button of the tag: 3 the layers panel, 4 the style panel.
  void showRightPanel(int tag) {
    auto* button = dynamic_cast<platform::Button*>(window->mainView()->topToolbar().buttonWithTag(tag));
    ASSERT_NE(button, nullptr);
    platform::test::clickButton(button->gtkButton());
    settle();
  }

  // Rectangles of ids 1, 2, … in the drawing shown.
  void addRectangles(const std::vector<Rect>& frames) {
    const platform::ArrayRef layers = window->drawing()->data()->array("layers");
    for (const Rect& frame : frames) layers->add(rectangle(static_cast<std::int64_t>(layers->size()) + 1, frame));
    window->updateDocument();
    settle();
  }

  CMLayersPanelView& panel() { return *window->layersPanel(); }
  canvas_testing::RealPointer hand() { return {window->window(), window->editor()}; }
  void clickCanvas(Point at, unsigned state = 0) {
    hand().press(at, state);
    hand().release(at, state);
    settle();
  }
  void clickRow(std::size_t row, unsigned state = 0) {
    platform::View& table = panel().tableView();
    const Point pixel = table.localToGtk({120, CMLayersPanelView::kRowHeight * (static_cast<double>(row) + 0.5)});
    platform::test::injectButton(table.widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y, state);
    platform::test::injectButton(table.widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y, state);
    settle();
  }
  void clickPanelButton(int tag) {
    platform::test::clickButton(panel().buttonWithTag(tag)->gtkButton());
    settle();
  }
  void choose(const std::string& menu, const std::string& title) {
    platform::MenuItem* entry = item(menu, title);
    ASSERT_NE(entry, nullptr) << menu << " ▸ " << title;
    entry->gtkItem().activate();
    settle();
  }
  void choosePaletteTool(int tag) {
    for (const auto& element : window->mainView()->toolsBar().actions())
      if (element.button->tag() == tag) platform::test::clickButton(element.button->gtkButton());
    settle();
  }
  void clickTab(double x) {
    canvas_testing::RealPointer onTabs{window->window(), window->mainView()->documentSelector()};
    onTabs.press({x, 13});
    onTabs.release({x, 13});
    settle();
  }

  Ids panelIds() {
    Ids ids;
    for (const DictRef& record : panel().selectedLayers()) ids.insert(record->get("id").intValue());
    return ids;
  }
  Ids canvasIds() {
    Ids ids;
    for (const auto& layer : window->editor().allSelectedLayers()) ids.insert(layer->layerId());
    return ids;
  }
  platform::ArrayRef records() { return window->drawing()->data()->array("layers"); }
  DictRef recordWithId(std::int32_t id) {
    for (const platform::Value& value : *records())
      if (value.dictionary()->get("id").intValue() == id) return value.dictionary();
    return nullptr;
  }

  std::shared_ptr<CMDocument> document;
};

}  // namespace ui_testing
