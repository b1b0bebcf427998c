// The right panels in the main window: the "Layers" and "Document" buttons fill the right pane, and the layers
// list and the canvas follow each other's selection both ways, with real GDK events on each side.

#include <memory>
#include <vector>

#include "../document/shape_layer_support.h"
#include "main_window_fixture.h"
#include "panel_test_support.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMTextEditWindow.h"
#include "platform/ui/button.h"
#include "platform/ui/menu.h"
#include "platform/ui/number_format.h"
#include "platform/ui/text_field.h"
#include "platform/ui/pop_up_button.h"
#include "ui/CMLayersPanelView.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/CMPicturePanelView.h"
#include "ui/CMRightPanelView.h"
#include "ui/CMSplitView.h"
#include "ui/CMTopToolbarView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using platform::DictRef;
using platform::IndexSet;

// A filled rectangle layer at a known place.
DictRef rectangle(std::int64_t id, const platform::Rect& frame) {
  DictRef shape = document_testing::frameShape({0, 0, frame.size.width, frame.size.height});
  shape->set("fill", platform::Dictionary::make(
                         {{"use", true}, {"type", 1}, {"alpha", 1.0},
                          {"color", platform::Dictionary::make({{"r", 200}, {"g", 40}, {"b", 40}, {"a", 255}})}}));
  DictRef record = document_testing::shapeLayerRecord(0, shape, frame.origin.x, frame.origin.y);
  record->set("id", id);
  record->set("alpha", 1.0);
  record->set("width", frame.size.width);
  record->set("height", frame.size.height);
  return record;
}

class RightPanels : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    document = newDrawing();
    ASSERT_NE(document, nullptr);
    platform::ArrayRef layers = document->data()->array("layers");
    for (int i = 0; i < 4; ++i) layers->add(rectangle(i + 1, {40.0 + 120 * i, 60, 80, 80}));
    window->updateDocument();
    ASSERT_TRUE(platform::test::showAndSettle(window->window()));
    settle();
  }

  void clickToolbarButton(int tag) {
    auto* button = dynamic_cast<platform::Button*>(window->mainView()->topToolbar().buttonWithTag(tag));
    ASSERT_NE(button, nullptr);
    platform::test::clickButton(button->gtkButton());
    settle();
    // The panel the click shows is placed at GTK's next frame: clicks on it wait for that, as a user's do.
    if (CMBasePanelView* shown = window->selectedPanel()) {
      ASSERT_TRUE(platform::test::waitForAllocation(shown->view()->widget()));
    }
  }
  CMLayersPanelView& layers() { return *window->layersPanel(); }
  CMEditorView& canvas() { return window->editor(); }
  void clickRow(std::size_t row, unsigned state = 0) {
    platform::View& table = layers().tableView();
    const platform::Point pixel = table.localToGtk({120, CMLayersPanelView::kRowHeight * (row + 0.5)});
    platform::test::injectButton(table.widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y, state);
    platform::test::injectButton(table.widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y, state);
    settle();
  }
  // A click on the canvas at a document point (the page sits at the canvas's origin at 100 %).
  void clickCanvas(platform::Point at, unsigned state = 0) {
    const platform::Point pixel = canvas().localToGtk(canvasPoint(at));
    platform::test::injectButton(canvas().widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y, state);
    platform::test::injectButton(canvas().widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y, state);
    settle();
  }
  platform::Point canvasPoint(platform::Point onPage) { return canvas().zoomTransform().transformPoint(onPage); }
  std::vector<std::int32_t> selectedIds() {
    std::vector<std::int32_t> ids;
    for (const auto& layer : canvas().layers())
      if (layer->selectedAsPartOfGroup()) ids.push_back(layer->layerId());
    return ids;
  }
  // Pixels of the selection handles' blue inside the layer's frame, grown by the handles' size.
  int handlePixels(const platform::Rect& frame) {
    settle();
    const auto image = platform::test::renderWidget(canvas().widget());
    int count = 0;
    const platform::Point from = canvasPoint({frame.origin.x - 6, frame.origin.y - 6});
    const platform::Point to = canvasPoint({frame.origin.x + frame.size.width + 6, frame.origin.y + frame.size.height + 6});
    for (int x = static_cast<int>(from.x); x < static_cast<int>(to.x); ++x)
      for (int y = static_cast<int>(from.y); y < static_cast<int>(to.y); ++y) {
        const platform::test::Pixel pixel = platform::test::pixelAt(image.get(), x, y);
        if (pixel.blue > 200 && pixel.red < 80 && pixel.green < 120) ++count;
      }
    return count;
  }

  std::shared_ptr<CMDocument> document;
};

TEST_F(RightPanels, ThePanelButtonsFillTheRightPane) {
  EXPECT_EQ(window->layersPanel(), nullptr) << "made on first show";
  clickToolbarButton(3);
  ASSERT_NE(window->layersPanel(), nullptr);
  CMRightPanelView& pane = window->mainView()->splitView().rightPanelView();
  platform::View& layersView = *layers().view();
  EXPECT_EQ(layersView.superview(), &pane);
  EXPECT_FALSE(layersView.isHidden());
  EXPECT_EQ(layersView.frame().size.width, pane.frame().size.width);
  EXPECT_EQ(layers().rows().size(), 4u);
  EXPECT_EQ(layers().document(), document);
  EXPECT_TRUE(layers().isShown());

  clickToolbarButton(2);
  ASSERT_NE(window->picturePanel(), nullptr);
  EXPECT_TRUE(layersView.isHidden());
  EXPECT_FALSE(window->picturePanel()->view()->isHidden());
  EXPECT_EQ(window->selectedPanel(), window->picturePanel());
  clickToolbarButton(4);
  EXPECT_TRUE(window->picturePanel()->view()->isHidden());
  ASSERT_NE(window->stylePanel(), nullptr);
  EXPECT_EQ(window->selectedPanel(), window->stylePanel());
  EXPECT_FALSE(window->stylePanel()->view()->isHidden());
  clickToolbarButton(3);
  EXPECT_FALSE(layersView.isHidden());
  EXPECT_EQ(CMProject::shareProject().rightPanelShowType(), 3);
}

TEST_F(RightPanels, TheLayerStylePanelShowsAndEditsTheCurrentLayer) {
  clickToolbarButton(4);
  CMOptionsPanelView& style = *window->stylePanel();
  EXPECT_TRUE(style.items().empty()) << "no layer selected";
  clickCanvas({200, 100});
  ASSERT_EQ(style.selectedLayer(), document->data()->array("layers")->at(1).dictionary());
  ASSERT_FALSE(style.items().empty());
  EXPECT_EQ(style.items()[0]->get("name").string(), "Layer");

  const auto pixel = [&](platform::Point onPage) {
    settle();
    const auto image = platform::test::renderWidget(canvas().widget());
    const platform::Point at = canvasPoint(onPage);
    return platform::test::pixelAt(image.get(), static_cast<int>(at.x), static_cast<int>(at.y));
  };
  const platform::test::Pixel backdrop = pixel({150, 30});
  const platform::test::Pixel before = pixel({200, 100});
  EXPECT_NEAR(before.red, 200, 3);
  EXPECT_NEAR(before.green, 40, 3);
  platform::PopUpButton* blending = nullptr;
  for (const auto& entry : style.views()[0]->controls())
    if (entry.parameter->get("property_id").intValue() == 47)
      blending = dynamic_cast<platform::PopUpButton*>(entry.control.get());
  ASSERT_NE(blending, nullptr);
  blending->gtkComboBox().set_active(2);
  settle();
  EXPECT_EQ(document->data()->array("layers")->at(1).dictionary()->get("blending_mode").intValue(), 2);
  // Screen: 1 − (1 − backdrop)(1 − source), per channel.
  const auto screen = [](int b, int s) { return 255 - (255 - b) * (255 - s) / 255; };
  const platform::test::Pixel after = pixel({200, 100});
  EXPECT_NEAR(after.red, screen(backdrop.red, 200), 4);
  EXPECT_NEAR(after.green, screen(backdrop.green, 40), 4);
  EXPECT_NEAR(after.blue, screen(backdrop.blue, 40), 4);
  EXPECT_TRUE(document->dirty());
  EXPECT_EQ(document->undoManager().undoCount(), 1u);
}

TEST_F(RightPanels, RowsAndCanvasSelectEachOther) {
  clickToolbarButton(3);
  const platform::Rect second{160, 60, 80, 80};
  EXPECT_EQ(handlePixels(second), 0);
  clickRow(1);
  EXPECT_EQ(selectedIds(), (std::vector<std::int32_t>{2}));
  EXPECT_EQ(window->selectedLayer(), layers().rows()[1].record);
  EXPECT_GT(handlePixels(second), 20) << "the canvas shows the row's layer selected";

  clickCanvas({300, 100});
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), (IndexSet{2}));
  clickCanvas({60, 100}, GDK_SHIFT_MASK);
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), (IndexSet{0, 2})) << "Shift adds the row";
  clickCanvas({420, 100});
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), (IndexSet{3})) << "a plain click replaces";
  clickCanvas({300, 400});
  EXPECT_TRUE(layers().tableView().selectedRowIndexes().empty()) << "a miss deselects";
}

TEST_F(RightPanels, TheClickedRowBecomesTheCurrentLayer) {
  clickToolbarButton(3);
  clickRow(0);
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), (IndexSet{0}));
  clickRow(1, GDK_SHIFT_MASK);
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), (IndexSet{0, 1}));
  clickRow(3, GDK_CONTROL_MASK);
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), (IndexSet{0, 1, 3}));
  EXPECT_EQ(window->selectedLayer(), layers().rows()[3].record);
  EXPECT_EQ(canvas().selectedLayerDict(), layers().rows()[3].record);
  EXPECT_EQ(selectedIds(), (std::vector<std::int32_t>{1, 2, 4}));
}

TEST_F(RightPanels, SelectAllSelectsEveryRowOnce) {
  clickToolbarButton(3);
  platform::MenuItem* selectAll = item("Edit", "Select All");
  ASSERT_NE(selectAll, nullptr);
  selectAll->gtkItem().activate();
  settle();
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), IndexSet::range(0, 4));
  EXPECT_EQ(selectedIds(), (std::vector<std::int32_t>{1, 2, 3, 4}));
  // A change of the list keeps the selection by id.
  document->moveLayers({layers().rows()[0].record}, 1);
  settle();
  EXPECT_EQ(layers().tableView().selectedRowIndexes(), IndexSet::range(0, 4));
}

TEST_F(RightPanels, EveryFieldShowsTheValueInUse) {
  DictRef text = CMProject::defaultObject("text");
  text->set("id", 5);
  text->set("x", 60);
  text->set("y", 250);
  text->set("text", "Yoke");
  document->data()->array("layers")->add(text);
  window->updateDocument();
  settle();
  const auto field = [&](int propertyId) -> std::string {
    for (const auto& section : window->stylePanel()->views())
      for (const auto& entry : section->controls())
        if (entry.parameter->get("property_id").intValue() == propertyId)
          if (auto* found = dynamic_cast<platform::TextField*>(entry.control.get())) return found->stringValue();
    return "none";
  };
  using CMLayerStyleParameters::kHeight;
  using CMLayerStyleParameters::kWidth;

  // A rename undone puts a copy of the layer in its place: the style panel opened next shows that copy,
  // as the canvas shows it selected.
  clickToolbarButton(3);
  clickRow(1);
  const std::int64_t id = layers().rows()[1].record->get("id").integerValue();
  platform::test::clickButton(layers().buttonWithTag(CMLayersPanelView::kRenameTag)->gtkButton());
  settle();
  ASSERT_NE(layers().renameSheet(), nullptr);
  layers().renameSheet()->textField().setStringValue("Sleeve");
  platform::test::clickButton(layers().renameSheet()->okButton().gtkButton());
  settle();
  item("Edit", "Undo")->gtkItem().activate();
  settle();
  clickToolbarButton(4);
  const DictRef shown = window->stylePanel()->selectedLayer();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->get("id").integerValue(), id);
  EXPECT_FALSE(shown->contains("name") && shown->get("name").string() == "Sleeve");
  bool live = false;
  for (const platform::Value& entry : *document->data()->array("layers")) live = live || entry.dictionary() == shown;
  EXPECT_TRUE(live) << "the record the drawing holds now";
  EXPECT_FALSE(window->stylePanel()->items().empty());

  // A text layer: the size its text measures on the canvas.
  clickCanvas({70, 260});
  ASSERT_EQ(window->stylePanel()->selectedLayer(), text);
  const platform::Rect measured = canvas().layers().back()->layerRect();
  ASSERT_GT(measured.size.width, 10);
  EXPECT_EQ(field(kWidth), platform::NumberFormat{}.format(measured.size.width));
  EXPECT_EQ(field(kHeight), platform::NumberFormat{}.format(measured.size.height));

  // A union changes the receiving layer's size in place.
  clickCanvas({80, 100});
  clickCanvas({200, 100}, GDK_SHIFT_MASK);
  const DictRef receiver = window->stylePanel()->selectedLayer();
  ASSERT_TRUE(receiver);
  item("Arrange", "Union")->gtkItem().activate();
  settle();
  ASSERT_EQ(window->stylePanel()->selectedLayer(), receiver);
  EXPECT_EQ(receiver->get("width").intValue(), 200);
  EXPECT_EQ(field(kWidth), "200");

  // A transparent page keeps its colour in the well, as unticking Transparent would give it back.
  clickToolbarButton(2);
  CMRightPanelBaseView& background = *window->picturePanel()->views()[1];
  platform::test::clickButton(dynamic_cast<platform::Button&>(*background.controlWithTag(100)).gtkButton());
  settle();
  EXPECT_EQ(document->data()->dictionary("background")->dictionary("bg_color")->get("a").intValue(), 0);
  platform::View& well = dynamic_cast<platform::View&>(*background.controlWithTag(101));
  const auto image = panel_testing::renderSettled(well.widget());
  const int middle = static_cast<int>(well.frame().size.height / 2);
  const platform::test::Pixel inside = platform::test::pixelAt(image.get(), 8, middle);
  EXPECT_GT(inside.red, 240);
  EXPECT_GT(inside.green, 240);
  EXPECT_GT(inside.blue, 240);
}

TEST_F(RightPanels, TheDocumentPanelResizesThePageTheCanvasShows) {
  clickToolbarButton(2);
  CMRightPanelBaseView& resolution = *window->picturePanel()->views()[0];
  auto& width = dynamic_cast<platform::TextField&>(*resolution.controlWithTag(100));
  const float height = document->data()->get("height").floatValue();
  const float oldWidth = document->data()->get("width").floatValue();
  width.gtkEntry().set_text("300");
  width.gtkEntry().activate();
  settle();
  EXPECT_EQ(document->data()->get("width").floatValue(), 300);
  EXPECT_FLOAT_EQ(document->data()->get("height").floatValue(), height * 300 / oldWidth);
  EXPECT_EQ(canvas().frame().size.width >= 300, true);
  EXPECT_TRUE(document->isDocumentEdited());
  item("Edit", "Undo")->gtkItem().activate();
  settle();
  EXPECT_EQ(width.stringValue(), platform::NumberFormat{}.format(oldWidth));
}

}  // namespace
}  // namespace ui_testing
