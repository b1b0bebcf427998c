// Edits as a user makes them, with real GDK events, and what follows each: the Edit menu's step, the stored records,
// the layers chosen on the canvas and in the layers panel, the style panel's place and size of the current layer,
// and the canvas's pixels.

#include <gdk/gdkkeysyms.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "app/CMNewDocumentWindowController.h"
#include "document/CMProject.h"
#include "io/import/CMImportCommand.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_field.h"
#include "selection_fixture.h"
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

// Keys pressed in the widget's window; '\r' is Return and '\x1b' Escape.
void type(Gtk::Widget& widget, const std::string& keys, unsigned state = 0) {
  for (const char key : keys)
    platform::test::injectKey(widget, GDK_KEY_PRESS,
                              key == '\r' ? GDK_KEY_Return : key == '\x1b' ? GDK_KEY_Escape : unsigned(key), state);
  Test::settle();
}

// A click into the field, Control-A, the keys and Return.
void typeInto(Gtk::Entry& entry, const std::string& keys) {
  platform::test::injectButton(entry, GDK_BUTTON_PRESS, 1, 5, 5);
  platform::test::injectButton(entry, GDK_BUTTON_RELEASE, 1, 5, 5);
  type(entry, "a", GDK_CONTROL_MASK);
  type(entry, keys + '\r');
}

platform::TextField& styleField(Test& t, int propertyId) {
  for (const auto& entry : t.window->stylePanel()->views().at(0)->controls())
    if (entry.parameter->get("property_id").intValue() == propertyId)
      if (auto* field = dynamic_cast<platform::TextField*>(entry.control.get())) return *field;
  throw std::runtime_error("no field " + std::to_string(propertyId));
}

// Rectangles 1 at (40, 60) and 2 (topmost) at (100, 100), 100 × 80 and red.
void twoRectangles(Test& t) {
  const DictRef red = platform::Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 255}});
  for (const Rect& frame : {Rect{40, 60, 100, 80}, Rect{100, 100, 100, 80}}) {
    const DictRef record = rectangle(static_cast<std::int64_t>(t.records()->size()) + 1, frame);
    record->set("alpha", 1.0);
    record->dictionary("shape")->set("fill", platform::Dictionary::make({{"use", true}, {"type", 1}, {"color", red}}));
    t.records()->add(record);
  }
  t.window->updateDocument();
  t.settle();
}

// Whether the canvas shows red at the document point, nothing chosen.
bool redAt(Test& t, Point at) {
  t.window->editor().clickOutside();
  t.settle();
  const auto shot = platform::test::renderWidget(t.window->editor().widget());
  const Point pixel = t.window->editor().zoomTransform().transformPoint(at);
  const auto found = platform::test::pixelAt(shot.get(), static_cast<int>(pixel.x), static_cast<int>(pixel.y));
  return found.red > 200 && found.green < 60 && found.blue < 60;
}

TEST_P(EditSteps, LeaveTheStepTheRecordsTheSelectionAndThePanelsAsTheUserSeesThem) {
  const EditStep& step = GetParam();
  step.steps(*this);
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
      EXPECT_EQ(styleField(*this, id).stringValue(), std::to_string(static_cast<int>(value))) << id;
  }
  if (step.checks) step.checks(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditSteps,
    testing::Values(
        // "Front pocket" edited by a double click, Control-A and "Back", ended by Escape; then R and Undo.
        EditStep{"TextEditedInPlace",
                 [](Test& t) {
                   DictRef text = CMProject::defaultObject("text");
                   text->set("id", 1), text->set("x", 60), text->set("y", 80), text->set("text", "Front pocket");
                   t.records()->add(text);
                   t.window->updateDocument();
                   t.settle();
                   t.hand().doubleClick({80, 92});
                   t.settle();
                   type(t.window->editor().widget(), "a", GDK_CONTROL_MASK);
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
        EditStep{"ImportedGroupMember",
                 [](Test& t) {
                   const auto file = std::filesystem::path(testing::TempDir()) / "edit_steps_group.svg";
                   std::ofstream(file) << "<svg xmlns='http://www.w3.org/2000/svg'><g><rect x='10' y='20' width='60' "
                                          "height='40' fill='red'/><circle cx='130' cy='40' r='20'/></g></svg>";
                   const auto kept = CMImportServiceFactory::install(CMImportCommand::makeService);
                   t.choose("File", "Import");
                   EXPECT_TRUE(t.answerOpenPanel(file));
                   t.settle();
                   CMImportServiceFactory::install(kept);
                   t.clickRow(2);  // group, group, rectangle, oval
                   t.showRightPanel(4);
                   EXPECT_EQ(styleField(t, kX).stringValue(), "10");
                   typeInto(styleField(t, kX).gtkEntry(), "20");
                 },
                 "Undo - Modify", {5}, Rect{20, 20, 60, 40},
                 [](Test& t) { EXPECT_TRUE(redAt(t, {22, 40}) && redAt(t, {78, 40}) && !redAt(t, {17, 40})); }},
        // The top left corner of rectangle 1 dragged 20 to the left with Edit Points (key A), the panel shown.
        EditStep{"CornerDraggedWithPointEditing",
                 [](Test& t) {
                   twoRectangles(t);
                   type(t.window->editor().widget(), "a");
                   t.clickCanvas({60, 80});
                   t.showRightPanel(4);
                   t.hand().drag({40, 60}, {20, 60});
                 },
                 "Undo - Editing", {1}, Rect{20, 60, 120, 80},
                 [](Test& t) {  // the left side runs from (20, 60) to (40, 140)
                   EXPECT_TRUE(redAt(t, {38, 80}) && !redAt(t, {18, 80}) && !redAt(t, {22, 130}));
                 }},
        EditStep{"UndoOfDelete",
                 [](Test& t) {
                   twoRectangles(t);
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
                   twoRectangles(t);
                   t.hand().drag({20, 20}, {300, 250});
                   t.choose("Arrange", "Union");
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Union", {1, 2}, Rect{100, 100, 100, 80},
                 [](Test& t) {
                   t.choose("Arrange", "Align Left");  // 1 goes to 2
                   EXPECT_TRUE(redAt(t, {150, 70}));
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
                   for (const auto& view : newDocument.window().contentView()->subviews()) {
                     auto* button = dynamic_cast<platform::Button*>(view.get());
                     if (button && button->title() == "Create") platform::test::clickButton(button->gtkButton());
                   }
                   t.settle();
                   EXPECT_EQ(t.window->drawing()->data()->get("width").intValue(), 700);
                   EXPECT_EQ(t.window->drawing()->data()->get("height").intValue(), 600);
                 },
                 nullptr, {}, std::nullopt, nullptr}),
    [](const testing::TestParamInfo<EditStep>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ui_testing
