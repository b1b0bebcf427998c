// Edits as a user makes them, with real GDK events, and what follows each: the Edit menu's step, the stored records,
// the layers chosen on the canvas and in the layers panel, the style panel's place and size of the current layer,
// and the canvas's pixels.

#include <gdk/gdkkeysyms.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/CMNewDocumentWindowController.h"
#include "app/CMPreferenceWindowController.h"
#include "document/CMProject.h"
#include "io/import/CMImportCommand.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/pop_up_button.h"
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

platform::TextField& styleField(Test& t, int propertyId) {
  for (const auto& entry : t.window->stylePanel()->views().at(0)->controls())
    if (entry.parameter->get("property_id").intValue() == propertyId)
      if (auto* field = dynamic_cast<platform::TextField*>(entry.control.get())) return *field;
  throw std::runtime_error("no field " + std::to_string(propertyId));
}

platform::PopUpButton& fontPopUp(Test& t) {
  for (const auto& section : t.window->stylePanel()->views())
    for (const auto& entry : section->controls())
      if (entry.parameter->get("property_id").intValue() == kFontName)
        if (auto* popUp = dynamic_cast<platform::PopUpButton*>(entry.control.get())) return *popUp;
  throw std::runtime_error("no font pop-up");
}

DictRef styleOf(const DictRef& record) { return record ? record->dictionary("style") : nullptr; }

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

// New Document shown, Landscape chosen on its square page, Width 500 typed and Return, Height 800 typed and left in
// its field.
void tallPageTypedWithLandscapeChosen(CMNewDocumentWindowController& newDocument) {
  ASSERT_TRUE(platform::test::showAndSettle(newDocument.window()));
  platform::test::clickButton(newDocument.orientationControl().gtkSegment(1));
  typeInto(newDocument.widthField().gtkEntry(), "500");
  typeInto(newDocument.heightField().gtkEntry(), "800", 0);
}

std::pair<int, int> page(Test& t) {
  const DictRef root = t.window->drawing()->data();
  return {root->get("width").intValue(), root->get("height").intValue()};
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
                   press(newDocument.window(), "Create");
                   EXPECT_EQ(page(t), std::pair(700, 600));
                 },
                 nullptr, {}, std::nullopt, nullptr},
        // Landscape chosen on the square page, Width 500 and Height 800 typed (the height still in its field) and
        // Create: the tall page typed, with Portrait shown and stored.
        EditStep{"LandscapeChosenTallPageCreated",
                 [](Test& t) {
                   CMNewDocumentWindowController newDocument;
                   tallPageTypedWithLandscapeChosen(newDocument);
                   press(newDocument.window(), "Create");
                   EXPECT_EQ(page(t), std::pair(500, 800));
                   EXPECT_EQ(newDocument.orientationControl().selectedSegment(), 0);
                   EXPECT_EQ(platform::UserDefaults::standardUserDefaults().integerForKey("orientation_type"), 0);
                 },
                 nullptr, {}, std::nullopt, nullptr},
        // Portrait chosen when the page typed is already tall (its height still in the field): nothing turns.
        EditStep{"PortraitChosenOnATallPage",
                 [](Test& t) {
                   CMNewDocumentWindowController newDocument;
                   tallPageTypedWithLandscapeChosen(newDocument);
                   platform::test::clickButton(newDocument.orientationControl().gtkSegment(0));
                   press(newDocument.window(), "Create");
                   EXPECT_EQ(page(t), std::pair(500, 800));
                   EXPECT_EQ(newDocument.orientationControl().selectedSegment(), 0);
                 },
                 nullptr, {}, std::nullopt, nullptr},
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
                   platform::PopUpButton& font = fontPopUp(t);
                   EXPECT_EQ(font.titleOfSelectedItem(), "Arial-Bold");
                   EXPECT_EQ(styleOf(t.window->editor().selectedLayer()->data())->get("fontName").string(), "Arial-Bold");
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
