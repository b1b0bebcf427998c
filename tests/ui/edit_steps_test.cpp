// Edits as a user makes them, with real GDK events, and what follows each: the Edit menu's step, the stored records,
// the layers chosen on the canvas and in the layers panel, the style panel's place and size of the current layer
// (to hundredths), and the canvas's pixels.

#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "app/CMNewDocumentWindowController.h"
#include "app/CMPreferenceWindowController.h"
#include "document/CMPathShape.h"
#include "document/CMProject.h"
#include "io/import/CMImportCommand.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/string_utilities.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_field.h"
#include "selection_fixture.h"
#include "ui/CMColorGridView.h"
#include "ui/CMColorPanelController.h"
#include "ui/CMColorPicker.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMOptionsPanelView.h"

namespace ui_testing {
namespace {

using namespace CMLayerStyleParameters;
using Test = SelectionAfterEdits;

struct EditStep {
  const char* name;
  void (*steps)(Test& t);
  const char* menuTitle;      // the Edit menu's undo or redo item afterwards
  Ids chosen;                 // on the canvas and in the layers panel
  std::optional<Rect> panel;  // the style panel's place and size of the current layer
  void (*checks)(Test& t);
};
void PrintTo(const EditStep& step, std::ostream* os) { *os << step.name; }

class EditSteps : public Test, public testing::WithParamInterface<EditStep> {};

// Keys pressed in the widget's window; '\r' is Return, '\x1b' Escape, '\t' Tab and '\b' Shift+Tab's key.
void type(Gtk::Widget& widget, const std::string& keys, unsigned state = 0) {
  for (const char key : keys)
    platform::test::injectKey(widget, GDK_KEY_PRESS,
                              key == '\r'     ? GDK_KEY_Return
                              : key == '\x1b' ? GDK_KEY_Escape
                              : key == '\t'   ? GDK_KEY_Tab
                              : key == '\b'   ? GDK_KEY_ISO_Left_Tab
                                              : unsigned(key),
                              state);
  Test::settle();
}

// A click into the field, Control-A, the keys and the key that ends the typing.
void typeInto(Gtk::Entry& entry, const std::string& keys, char end = '\r') {
  platform::test::injectButton(entry, GDK_BUTTON_PRESS, 1, 5, 5);
  platform::test::injectButton(entry, GDK_BUTTON_RELEASE, 1, 5, 5);
  type(entry, "a", GDK_CONTROL_MASK);
  type(entry, end ? keys + end : keys);
}

template <typename Control = platform::TextField>
Control& styleField(Test& t, int propertyId) {
  for (const auto& section : t.window->stylePanel()->views())
    for (const auto& entry : section->controls())
      if (entry.parameter->get("property_id").intValue() == propertyId)
        if (auto* field = dynamic_cast<Control*>(entry.control.get())) return *field;
  throw std::runtime_error("no field " + std::to_string(propertyId));
}

// "Front pocket" (text 1) double-clicked for editing in place and all of it selected with Control-A.
void editFrontPocketInPlace(Test& t) {
  DictRef text = CMProject::defaultObject("text");
  text->set("id", 1), text->set("x", 60), text->set("y", 80), text->set("text", "Front pocket");
  t.records()->add(text);
  t.window->updateDocument();
  t.settle();
  t.hand().doubleClick({80, 92});
  t.settle();
  type(t.window->editor().widget(), "a", GDK_CONTROL_MASK);
}

// A click on a button of the window's content titled so.
void press(platform::Window& window, const std::string& title) {
  for (const auto& view : window.contentView()->subviews()) {
    auto* button = dynamic_cast<platform::Button*>(view.get());
    if (button && button->title() == title) platform::test::clickButton(button->gtkButton());
  }
  Test::settle();
}

std::pair<int, int> page(Test& t) {
  const DictRef root = t.window->drawing()->data();
  return {root->get("width").intValue(), root->get("height").intValue()};
}

// New Document shown, Landscape chosen on its square page, Width 500 typed and Return, Height 800 typed and left in
// its field, Portrait chosen when asked, and Create: the tall page typed, with Portrait shown and stored.
void tallPageTypedWithLandscapeChosen(Test& t, bool portraitChosen) {
  CMNewDocumentWindowController newDocument;
  ASSERT_TRUE(platform::test::showAndSettle(newDocument.window()));
  platform::test::clickButton(newDocument.orientationControl().gtkSegment(1));
  typeInto(newDocument.widthField().gtkEntry(), "500");
  typeInto(newDocument.heightField().gtkEntry(), "800", 0);
  if (portraitChosen) platform::test::clickButton(newDocument.orientationControl().gtkSegment(0));
  press(newDocument.window(), "Create");
  EXPECT_EQ(page(t), std::pair(500, 800));
  EXPECT_EQ(newDocument.orientationControl().selectedSegment(), 0);
  EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey("orientation_type"), 0);
}

// The layer added opaque and filled red.
void addRed(Test& t, const DictRef& record) {
  const DictRef red = platform::Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 255}});
  record->set("alpha", 1.0);
  record->dictionary("shape")->set("fill", platform::Dictionary::make({{"use", true}, {"type", 1}, {"color", red}}));
  t.records()->add(record);
}

// Red rectangles 1, 2, … (the last topmost), by default 1 at (40, 60) and 2 at (100, 100), 100 × 80.
void redRectangles(Test& t, const std::vector<Rect>& frames = {{40, 60, 100, 80}, {100, 100, 100, 80}}) {
  for (const Rect& frame : frames) addRed(t, rectangle(static_cast<std::int64_t>(t.records()->size()) + 1, frame));
  t.window->updateDocument();
  t.settle();
}

// The canvas as shown, nothing chosen unless `asChosen`.
platform::test::ImageSurface shot(Test& t, bool asChosen = false) {
  if (!asChosen) t.window->editor().clickOutside();
  t.settle();
  return platform::test::renderWidget(t.window->editor().widget());
}
platform::test::ImageSurface shownBefore;  // the canvas before the steps, where a row compares

// The canvas's pixel at the document point, nothing chosen unless `asChosen`.
platform::test::Pixel pixelAt(Test& t, Point at, bool asChosen = false) {
  const Point pixel = t.window->editor().zoomTransform().transformPoint(at);
  return platform::test::pixelAt(shot(t, asChosen).get(), static_cast<int>(pixel.x), static_cast<int>(pixel.y));
}

// Whether the canvas shows red at the document point, nothing chosen unless `asChosen`.
bool redAt(Test& t, Point at, bool asChosen = false) {
  const auto found = pixelAt(t, at, asChosen);
  return found.red > 200 && found.green < 60 && found.blue < 60;
}

// Where the layer's outline lies on the page.
Rect outline(const DictRef& layer) {
  const Rect inLayer = CMPathShape::pathFromPointRecords(layer->dictionary("shape")->array("points")).bounds();
  return {layer->get("x").doubleValue() + inLayer.origin.x, layer->get("y").doubleValue() + inLayer.origin.y,
          inLayer.size.width, inLayer.size.height};
}

// Whether the layer is what a copy of it taken before holds, but for the marks of a drawing to redo.
bool sameLayer(const DictRef& layer, const DictRef& before) {
  const DictRef now = platform::dictionaryCopy(layer), then = platform::dictionaryCopy(before);
  for (const char* mark : {"dirty", "isDirty"}) now->remove(mark), then->remove(mark);
  return now->isEqual(*then);
}

// A click on the view at its own point.
void clickView(platform::View& view, Point at) {
  const Point pixel = view.localToGtk(at);
  for (const GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
    platform::test::injectButton(view.widget(), type, 1, pixel.x, pixel.y);
  Test::settle();
}

// Whether the field's text fits the room it has for text.
bool showsWhole(platform::TextField& field) {
  int width = 0, height = 0;
  field.gtkEntry().get_layout()->get_pixel_size(width, height);
  return width > 0 && width <= field.gtkEntry().get_text_area().get_width();
}

// File ▸ Import… of the SVG markup, as the user answers the open panel.
void importSVG(Test& t, const std::string& markup) {
  const auto file = std::filesystem::path(testing::TempDir()) / "edit_steps_import.svg";
  std::ofstream(file) << "<svg xmlns='http://www.w3.org/2000/svg'>" << markup << "</svg>";
  const auto kept = CMImportServiceFactory::install(CMImportCommand::makeService);
  t.choose("File", "Import");
  EXPECT_TRUE(t.answerOpenPanel(file));
  t.settle();
  CMImportServiceFactory::install(kept);
}

// The rectangle of an imported group, whose points lie where the file has them, typed to X 20 and left by `end`.
void typeXOfImportedGroupMember(Test& t, char end) {
  importSVG(t, "<g><rect x='10' y='20' width='60' height='40' fill='red'/><circle cx='130' cy='40' r='20'/></g>");
  t.clickRow(2);  // group, group, rectangle, oval
  t.showRightPanel(4);
  EXPECT_EQ(styleField(t, kX).stringValue(), "10");
  typeInto(styleField(t, kX).gtkEntry(), "20", end);
}

// Pixels of the canvas around the document point `centre` (±`reach` points) that differ by more than 48 in a
// channel from `shownBefore`, mirrored across the vertical (or horizontal) through the centre when asked.
int differingPixels(Test& t, Point centre, int reach, bool mirrorX = false, bool mirrorY = false) {
  const auto drawn = shot(t);
  const Point c = t.window->editor().zoomTransform().transformPoint(centre);
  const int cx = int(std::lround(c.x)), cy = int(std::lround(c.y));
  int differing = 0;
  for (int y = cy - reach; y < cy + reach; ++y)
    for (int x = cx - reach; x < cx + reach; ++x) {
      const auto a = platform::test::pixelAt(drawn.get(), x, y);
      const auto b = platform::test::pixelAt(shownBefore.get(), mirrorX ? 2 * cx - 1 - x : x, mirrorY ? 2 * cy - 1 - y : y);
      differing += std::max({std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)}) > 48;
    }
  return differing;
}

// A red sleeve-like quadrilateral in the box (100, 100)–(200, 180), turned 30°, chosen and flipped from the menu.
void flipTurnedSleeve(Test& t, const std::string& command) {
  using document_testing::pointRecord;
  DictRef sleeve = document_testing::pathLayerRecord(
      {pointRecord(1, {0, 0}, 1), pointRecord(2, {100, 25}, 2), pointRecord(3, {70, 80}, 2),
       pointRecord(4, {15, 55}, 10)},
      100, 100);
  sleeve->set("id", 1), sleeve->set("rotate", 30.0f);
  addRed(t, sleeve);
  t.window->updateDocument();
  shownBefore = shot(t);
  t.clickCanvas({150, 140});
  t.showRightPanel(4);
  t.choose("Arrange", command);
  EXPECT_EQ(styleField(t, kRotate).stringValue(), "-30");
  EXPECT_FLOAT_EQ(t.recordWithId(1)->get("rotate").floatValue(), -30);
}

// The flipped sleeve is the mirror of what was shown, across the vertical (or horizontal) through its centre; Undo
// gives back what was shown.
void mirrorShown(Test& t, bool horizontal) {
  EXPECT_LT(differingPixels(t, {150, 140}, 80, horizontal, !horizontal), 20);
  t.choose("Edit", "Undo");
  EXPECT_LT(differingPixels(t, {150, 140}, 80), 3);
}

// A point record's place, in document units.
Point placeOf(const DictRef& layer, std::size_t index, const char* key = "point") {
  const Point p = platform::pointFromString(
      layer->dictionary("shape")->array("points")->at(index).dictionary()->get(key).string());
  return {p.x + layer->get("x").doubleValue(), p.y + layer->get("y").doubleValue()};
}

TEST_P(EditSteps, LeaveTheStepTheRecordsTheSelectionAndThePanelsAsTheUserSeesThem) {
  const EditStep& step = GetParam();
  step.steps(*this);
  if (IsSkipped()) return;
  settle();
  if (step.menuTitle) {
    platform::MenuItem* entry = item("Edit", std::string(step.menuTitle).substr(0, 4));
    entry->validate();
    EXPECT_EQ(entry->title(), step.menuTitle);
  }
  EXPECT_EQ(canvasIds(), step.chosen);
  EXPECT_EQ(panelIds(), step.chosen);
  if (step.panel) {
    if (window->selectedPanel() != window->stylePanel()) showRightPanel(4);
    const Rect& shown = *step.panel;
    for (const auto& [id, value] : {std::pair{kX, shown.origin.x}, {kY, shown.origin.y}, {kWidth, shown.size.width},
                                    {kHeight, shown.size.height}})
      EXPECT_EQ(styleField(*this, id).stringValue(), platform::formatString("%g", value)) << id;
  }
  if (step.checks) step.checks(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditSteps,
    testing::Values(
        // "Front pocket" edited by a double click, Control-A and "Back", ended by Escape; then R and Undo.
        EditStep{"TextEditedInPlace",
                 [](Test& t) {
                   editFrontPocketInPlace(t);
                   type(t.window->editor().widget(), "Back\x1b" "r");
                   EXPECT_EQ(t.window->selectedTool(), kCMToolRectangle) << "R chose its tool";
                   EXPECT_EQ(t.recordWithId(1)->get("text").string(), "Back");
                   t.item("Edit", "Undo")->validate();
                   EXPECT_EQ(t.item("Edit", "Undo")->title(), "Undo - Editing");
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Editing", {1}, std::nullopt,
                 [](Test& t) { EXPECT_EQ(t.recordWithId(1)->get("text").string(), "Front pocket"); }},
        // The rectangle of an imported group, whose points lie where the file has them, typed to X 20.
        EditStep{"ImportedGroupMember", [](Test& t) { typeXOfImportedGroupMember(t, '\r'); }, "Undo - Modify", {5},
                 Rect{20, 20, 60, 40},
                 [](Test& t) { EXPECT_TRUE(redAt(t, {22, 40}) && redAt(t, {78, 40}) && !redAt(t, {17, 40})); }},
        // The same typing left by Tab: committed as by Return, and the focus goes on to the next field.
        EditStep{"StyleFieldLeftByTab", [](Test& t) { typeXOfImportedGroupMember(t, '\t'); }, "Undo - Modify", {5},
                 Rect{20, 20, 60, 40},
                 [](Test& t) {
                   const Gtk::Widget* focus = t.window->window().gtkWindow().get_focus();
                   EXPECT_TRUE(focus && focus != &styleField(t, kX).gtkEntry() &&
                               focus->is_ancestor(t.window->stylePanel()->views().at(0)->widget()));
                   EXPECT_TRUE(redAt(t, {22, 40}) && redAt(t, {78, 40}) && !redAt(t, {17, 40}));
                 }},
        // The top left corner of rectangle 1 dragged 20 to the left with Edit Points (key A), the panel shown.
        EditStep{"CornerDraggedWithPointEditing",
                 [](Test& t) {
                   redRectangles(t);
                   type(t.window->editor().widget(), "a");
                   t.clickCanvas({60, 80});
                   t.showRightPanel(4);
                   t.hand().drag({40, 60}, {20, 60});
                 },
                 "Undo - Editing", {1}, Rect{20, 60, 120, 80},
                 [](Test& t) {  // the left side runs from (20, 60) to (40, 140)
                   EXPECT_TRUE(redAt(t, {38, 80}) && !redAt(t, {18, 80}) && !redAt(t, {22, 130}));
                 }},
        // Edit Points on the rectangle of an imported group, whose points lie where the file has them: it stays
        // where it is and chosen, and its top left corner dragged from (10, 20) to (4, 14) reads there.
        EditStep{"PointEditingOfAnImportedShape",
                 [](Test& t) {
                   importSVG(t, "<g><rect x='10' y='20' width='50' height='30' fill='red'/></g>");
                   t.clickRow(2);  // group, group, rectangle
                   type(t.window->editor().widget(), "a");
                   t.clickCanvas({35, 35});
                   EXPECT_TRUE(redAt(t, {35, 45}, true) && !redAt(t, {30, 10}, true)) << "the rectangle stayed";
                   t.showRightPanel(4);
                   t.hand().drag({10, 20}, {4, 14});
                 },
                 "Undo - Editing", {5}, Rect{4, 14, 56, 36},
                 [](Test& t) {  // the left side runs from (4, 14) to (10, 50)
                   EXPECT_TRUE(redAt(t, {12, 45}) && !redAt(t, {7, 45}) && redAt(t, {40, 48}) && !redAt(t, {40, 52}));
                 }},
        // A turned sleeve flipped: the mirror of what was shown, turned the other way.
        EditStep{"FlipHorizontalOfATurnedShape", [](Test& t) { flipTurnedSleeve(t, "Flip Horizontal"); },
                 "Undo - Editing", {1}, std::nullopt, [](Test& t) { mirrorShown(t, true); }},
        EditStep{"FlipVerticalOfATurnedShape", [](Test& t) { flipTurnedSleeve(t, "Flip Vertical"); },
                 "Undo - Editing", {1}, std::nullopt, [](Test& t) { mirrorShown(t, false); }},
        // A pen curve clicked at (100, 200), dragged at (200, 200) to (230, 230), clicked at (300, 200); with Edit
        // Points its middle anchor goes up 40, then Add Point clicks 0.2 beside the curve: the curve is split there
        // by de Casteljau, drawn as before, and the new anchor is smooth, between handles in line with it.
        EditStep{"AddedPointSplitsTheCurve",
                 [](Test& t) {
                   type(t.window->editor().widget(), "p");  // the pen
                   canvas_testing::RealPointer hand = t.hand();
                   hand.press({100, 200}), hand.release({100, 200});
                   hand.drag({200, 200}, {230, 230});
                   hand.press({300, 200}), hand.release({300, 200});
                   type(t.window->editor().widget(), "a");
                   t.clickRow(0);
                   t.hand().drag({200, 200}, {200, 160});
                   shownBefore = shot(t);
                   t.clickRow(0);
                   platform::Button* addPoint = nullptr;  // the strip makes way for another as it is clicked
                   for (const auto& view : t.window->mainView()->topToolbar().subToolView()->subviews())
                     if (auto* button = dynamic_cast<platform::Button*>(view.get()); button && button->tag() == 9)
                       addPoint = button;
                   ASSERT_NE(addPoint, nullptr);
                   platform::test::clickButton(addPoint->gtkButton());
                   // The first curve at a third of the way (Bernstein weights 8, 12, 6, 1 over 27).
                   const DictRef layer = t.records()->at(0).dictionary();
                   const Point p[4] = {placeOf(layer, 0), placeOf(layer, 1, "control_point1"),
                                       placeOf(layer, 1, "control_point2"), placeOf(layer, 1)};
                   t.clickCanvas({(8 * p[0].x + 12 * p[1].x + 6 * p[2].x + p[3].x) / 27,
                                  (8 * p[0].y + 12 * p[1].y + 6 * p[2].y + p[3].y) / 27 + 0.2});
                 },
                 "Undo - Modify", {1}, std::nullopt,
                 [](Test& t) {
                   const DictRef layer = t.records()->at(0).dictionary();
                   const platform::ArrayRef points = layer->dictionary("shape")->array("points");
                   ASSERT_EQ(points->size(), 4u);
                   EXPECT_EQ(points->at(1).dictionary()->get("type").intValue(), 4);
                   const Point a = placeOf(layer, 1, "control_point2"), m = placeOf(layer, 1),
                               b = placeOf(layer, 2, "control_point1");
                   EXPECT_NEAR(std::atan2(m.y - a.y, m.x - a.x), std::atan2(b.y - m.y, b.x - m.x), 1e-3);
                   EXPECT_LT(differingPixels(t, {200, 190}, 120), 3);
                 }},
        EditStep{"UndoOfDelete",
                 [](Test& t) {
                   redRectangles(t);
                   t.clickCanvas({60, 80});
                   t.choose("Edit", "Delete");
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Deleting", {1}, Rect{40, 60, 100, 80},
                 [](Test& t) {
                   t.choose("Edit", "Delete");
                   EXPECT_TRUE(t.recordWithId(1) == nullptr && t.recordWithId(2) != nullptr);
                 }},
        EditStep{"UndoOfUnion",
                 [](Test& t) {
                   redRectangles(t);
                   t.hand().drag({20, 20}, {300, 250});
                   t.choose("Arrange", "Union");
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Union", {1, 2}, Rect{100, 100, 100, 80},
                 [](Test& t) {
                   t.choose("Arrange", "Align Left");  // 1 goes to 2
                   EXPECT_TRUE(redAt(t, {150, 70}));
                 }},
        // Width 120 typed for an 80 × 60 rectangle, a click on the empty page and Control-Z: one step gives back the
        // sides and the points; Redo and Undo give back each state exactly.
        EditStep{"SizeEditUndone",
                 [](Test& t) {
                   redRectangles(t, {{40, 60, 80, 60}});
                   const DictRef before = platform::dictionaryCopy(t.recordWithId(1));
                   t.clickCanvas({60, 80});
                   t.showRightPanel(4);
                   typeInto(styleField(t, kWidth).gtkEntry(), "120");
                   const DictRef edited = platform::dictionaryCopy(t.recordWithId(1));
                   EXPECT_EQ(outline(edited), (Rect{40, 60, 120, 60}));
                   t.clickCanvas({400, 300});
                   type(t.window->editor().widget(), "z", GDK_CONTROL_MASK);
                   EXPECT_TRUE(sameLayer(t.recordWithId(1), before) && redAt(t, {115, 90}) && !redAt(t, {125, 90}));
                   t.choose("Edit", "Redo");
                   EXPECT_TRUE(sameLayer(t.recordWithId(1), edited) && redAt(t, {155, 90}) && !redAt(t, {165, 90}));
                   t.choose("Edit", "Undo");
                   EXPECT_TRUE(sameLayer(t.recordWithId(1), before));
                   t.clickCanvas({60, 80});
                 },
                 "Redo - Modify", {1}, Rect{40, 60, 80, 60}, nullptr},
        // The union of the two rectangles (160 × 120) given Height 150, both steps undone and the union redone.
        EditStep{"UnionRedoneAfterAHeightEdit",
                 [](Test& t) {
                   redRectangles(t);
                   t.hand().drag({20, 20}, {300, 250});
                   t.choose("Arrange", "Union");
                   const DictRef united = platform::dictionaryCopy(t.recordWithId(2));
                   t.showRightPanel(4);
                   typeInto(styleField(t, kHeight).gtkEntry(), "150");
                   EXPECT_EQ(outline(t.recordWithId(2)), (Rect{40, 60, 160, 150}));
                   for (const char* step : {"Undo", "Undo", "Redo"}) t.choose("Edit", step);
                   EXPECT_TRUE(sameLayer(t.recordWithId(2), united));
                 },
                 "Redo - Modify", {2}, Rect{40, 60, 160, 120},
                 [](Test& t) { EXPECT_TRUE(redAt(t, {190, 175}) && !redAt(t, {190, 185})); }},
        // A rectangle at x 99.996 (shown 100) dragged 10 to the right lands on 110; Rotate -179.57, Width 60.5, Height
        // 93.301 and Y 100.5 typed are stored as typed and shown to hundredths.
        EditStep{"NumbersMovedTypedAndShown",
                 [](Test& t) {
                   redRectangles(t, {{99.996, 60, 100, 80}});
                   t.clickCanvas({120, 80});
                   t.showRightPanel(4);
                   EXPECT_EQ(styleField(t, kX).stringValue(), "100");
                   t.hand().drag({120, 80}, {130, 80});
                   EXPECT_EQ(t.recordWithId(1)->get("x").doubleValue(), 110);
                   for (const auto& [id, typed] :
                        {std::pair{kRotate, "-179.57"}, {kWidth, "60.5"}, {kHeight, "93.301"}, {kY, "100.5"}})
                     typeInto(styleField(t, id).gtkEntry(), typed);
                   EXPECT_TRUE(showsWhole(styleField(t, kRotate)));
                 },
                 "Undo - Modify", {1}, Rect{110, 100.5, 60.5, 93.3},
                 [](Test& t) {
                   EXPECT_EQ(outline(t.recordWithId(1)), (Rect{110, 100.5, 60.5, 93.301}));
                   EXPECT_FLOAT_EQ(t.recordWithId(1)->get("rotate").floatValue(), -179.57f);
                   // Turned by a hair less than a half turn: the right edge at 170.5 and the bottom at 193.8.
                   EXPECT_TRUE(redAt(t, {169, 150}) && !redAt(t, {172, 150}));
                   EXPECT_TRUE(redAt(t, {140, 192}) && !redAt(t, {140, 195.5}));
                 }},
        // A rectangle drawn 100 × 230 with the tool, then its bottom right corner dragged out in 33 steps of one.
        EditStep{"DrawnAndResizedStepByStep",
                 [](Test& t) {
                   t.choosePaletteTool(kCMToolRectangle);
                   t.hand().drag({30, 20}, {130, 250});
                   EXPECT_EQ(outline(t.recordWithId(1)), (Rect{30, 20, 100, 230}));
                   t.hand().press({130, 250});
                   for (int step = 1; step <= 33; ++step) t.hand().moveTo({130.0 + step, 250.0 + step});
                   t.hand().release({163, 283});
                   t.showRightPanel(4);
                 },
                 "Undo - Editing", {1}, Rect{30, 20, 133, 263},
                 [](Test& t) { EXPECT_EQ(outline(t.recordWithId(1)), (Rect{30, 20, 133, 263})); }},
        // A triangle drawn with the pen and closed on its first point reads where it lies, its fill is on as the
        // panel shows it, and a swatch chosen for the fill is drawn.
        EditStep{"PenPathClosed",
                 [](Test& t) {
                   type(t.window->editor().widget(), "p");
                   for (const Point click : {Point{100, 100}, {200, 100}, {150, 150}, {100, 100}}) t.clickCanvas(click);
                   t.showRightPanel(4);
                 },
                 "Undo - Adding", {1}, Rect{100, 100, 100, 50},
                 [](Test& t) {
                   EXPECT_TRUE(t.recordWithId(1)->dictionary("shape")->dictionary("fill")->get("use").boolValue());
                   CMColorPicker& picker = styleField<CMColorPicker>(t, kFillColor);
                   clickView(picker, {10, 10});
                   CMColorGridView& grid = picker.panelController()->colorsGridView();
                   clickView(grid, {grid.cellRect(7).origin.x + 9, grid.cellRect(7).origin.y + 6});
                   const auto inside = pixelAt(t, {150, 110});  // the swatch's 108, 225, 206
                   EXPECT_TRUE(std::abs(inside.red - 108) <= 2 && std::abs(inside.green - 225) <= 2 &&
                               std::abs(inside.blue - 206) <= 2);
                 }},
        // Rectangle 1 clicked, 2 Control-clicked in the layers panel, both deleted with the panel's button and the
        // deletion undone: 1 is current again, and Align Left moves 2 to it.
        EditStep{"UndoOfTheLayersPanelsDelete",
                 [](Test& t) {
                   redRectangles(t);
                   t.clickCanvas({60, 80});
                   t.clickRow(1, GDK_CONTROL_MASK);
                   ASSERT_EQ(t.window->editor().layerSelected().front()->get("id").intValue(), 1);
                   t.clickPanelButton(CMLayersPanelView::kDeleteTag);
                   ASSERT_TRUE(t.records()->empty());
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Deleting", {1, 2}, Rect{40, 60, 100, 80},
                 [](Test& t) {
                   t.choose("Arrange", "Align Left");
                   EXPECT_TRUE(redAt(t, {45, 170}) && !redAt(t, {195, 170}));
                 }},
        // New Document: 700 × 600 typed with Portrait chosen, then Landscape, Portrait twice, Landscape and Create.
        EditStep{"Landscape",
                 [](Test& t) {
                   CMNewDocumentWindowController newDocument;
                   ASSERT_TRUE(platform::test::showAndSettle(newDocument.window()));
                   typeInto(newDocument.widthField().gtkEntry(), "700");
                   typeInto(newDocument.heightField().gtkEntry(), "600");
                   for (const int segment : {1, 0, 0, 1}) {
                     platform::test::clickButton(newDocument.orientationControl().gtkSegment(segment));
                     t.settle();
                     EXPECT_EQ(newDocument.widthField().stringValue(), segment == 1 ? "700" : "600");
                     EXPECT_EQ(newDocument.heightField().stringValue(), segment == 1 ? "600" : "700");
                   }
                   press(newDocument.window(), "Create");
                   EXPECT_EQ(page(t), std::pair(700, 600));
                 },
                 nullptr, {}, std::nullopt, nullptr},
        // The tall page typed with Landscape chosen is created as typed; Portrait chosen on it turns nothing.
        EditStep{"LandscapeChosenTallPageCreated", [](Test& t) { tallPageTypedWithLandscapeChosen(t, false); },
                 nullptr, {}, std::nullopt, nullptr},
        EditStep{"PortraitChosenOnATallPage", [](Test& t) { tallPageTypedWithLandscapeChosen(t, true); }, nullptr,
                 {}, std::nullopt, nullptr},
        // New Document: Width clicked, 640 typed, Tab, 7 typed, Shift+Tab: 640 × 7, where Tab went nowhere before.
        EditStep{"TabLeavesTheNewDocumentWidth",
                 [](Test& t) {
                   CMNewDocumentWindowController newDocument;
                   ASSERT_TRUE(platform::test::showAndSettle(newDocument.window()));
                   typeInto(newDocument.widthField().gtkEntry(), "640", '\t');
                   type(newDocument.heightField().gtkEntry(), "7");
                   type(newDocument.heightField().gtkEntry(), "\b", GDK_SHIFT_MASK);
                   EXPECT_EQ(newDocument.window().gtkWindow().get_focus(), &newDocument.widthField().gtkEntry());
                   const auto& defaults = platform::UserDefaults::standardUserDefaults();
                   EXPECT_EQ(std::pair(defaults.integerForKey("defaultW"), defaults.integerForKey("defaultH")),
                             std::pair(std::int64_t{640}, std::int64_t{7}));
                   press(newDocument.window(), "Create");
                   EXPECT_EQ(page(t), std::pair(640, 7));
                 },
                 nullptr, {}, std::nullopt, nullptr},
        // Preferences: grid spacing 25, Tab, ticks 4, Tab: both stored.
        EditStep{"TabInPreferences",
                 [](Test&) {
                   CMPreferenceWindowController preferences;
                   ASSERT_TRUE(platform::test::showAndSettle(preferences.window()));
                   typeInto(preferences.spacingField().gtkEntry(), "25", '\t');
                   type(preferences.tickField().gtkEntry(), "4\t");
                   const DictRef grid = CMProject::shareProject().settings().dictionaryForKey("grid");
                   EXPECT_EQ(std::pair(grid->get("spacing").intValue(), grid->get("tick_count").intValue()),
                             std::pair(25, 4));
                 },
                 nullptr, {}, std::nullopt, nullptr},
        // Tab while a text is edited in place still goes into the text.
        EditStep{"TabInTextEditedInPlace",
                 [](Test& t) {
                   editFrontPocketInPlace(t);
                   type(t.window->editor().widget(), "Back\tside\x1b");
                 },
                 "Undo - Editing", {1}, std::nullopt,
                 [](Test& t) { EXPECT_EQ(t.recordWithId(1)->get("text").string(), "Back\tside"); }},
        // A text in a family that is not installed: the Font pop-up shows the face the text keeps.
        EditStep{"FontNotInstalled",
                 [](Test& t) {
                   if (std::system("fc-list : family | grep -qix 'arial'") == 0) GTEST_SKIP() << "Arial is installed";
                   importSVG(t, "<text x='20' y='60' font-family='Arial' font-weight='bold' font-size='30'>Cuff</text>");
                   t.clickRow(1);  // the group, its text
                   t.showRightPanel(4);
                   auto& font = styleField<platform::PopUpButton>(t, kFontName);
                   EXPECT_EQ(font.titleOfSelectedItem(), "Arial-Bold");
                   const DictRef style = t.window->editor().selectedLayer()->data()->dictionary("style");
                   EXPECT_EQ(style->get("fontName").string(), "Arial-Bold");
                   // The title is drawn: dark pixels left of the arrow, where an empty pop-up has none.
                   const auto shot = platform::test::renderWidget(font.gtkComboBox());
                   int dark = 0;
                   for (int y = 0; y < font.gtkComboBox().get_allocated_height(); ++y)
                     for (int x = 0; x < font.gtkComboBox().get_allocated_width() - 24; ++x)
                       dark += platform::test::pixelAt(shot.get(), x, y).alpha > 200 &&
                               platform::test::pixelAt(shot.get(), x, y).red < 80;
                   EXPECT_GT(dark, 20);
                 },
                 nullptr, {3}, std::nullopt, nullptr}),
    [](const testing::TestParamInfo<EditStep>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ui_testing
