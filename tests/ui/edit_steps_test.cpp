// Edits as a user makes them, with real GDK events through GTK's dispatch, and what follows each: the Edit menu's
// step, the stored records, the layers chosen on the canvas and in the layers panel, the style panel's place and
// size of the current layer, and the pixels the canvas shows.

#include <gdk/gdkkeysyms.h>

#include <optional>

#include "document/CMProject.h"
#include "platform/ui/text_field.h"
#include "selection_fixture.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMOptionsPanelView.h"

namespace ui_testing {
namespace {

using namespace CMLayerStyleParameters;

struct EditStep {
  const char* name;
  void (*steps)(SelectionAfterEdits& test);
  const char* menuTitle;       // the Edit menu's undo or redo item afterwards
  Ids chosen;                  // on the canvas and in the layers panel
  std::optional<Rect> panel;   // the style panel's place and size of the current layer
  void (*checks)(SelectionAfterEdits& test);
};
void PrintTo(const EditStep& step, std::ostream* os) { *os << step.name; }

class EditSteps : public SelectionAfterEdits, public testing::WithParamInterface<EditStep> {};

void type(SelectionAfterEdits& test, const std::string& keys, unsigned state = 0) {
  for (const char key : keys)
    for (const GdkEventType kind : {GDK_KEY_PRESS, GDK_KEY_RELEASE})
      platform::test::injectKey(test.window->editor().widget(), kind, static_cast<unsigned>(key), state);
  SelectionAfterEdits::settle();
}

platform::TextField& styleField(SelectionAfterEdits& test, int propertyId) {
  for (const auto& entry : test.window->stylePanel()->views().at(0)->controls())
    if (entry.parameter->get("property_id").intValue() == propertyId)
      if (auto* field = dynamic_cast<platform::TextField*>(entry.control.get())) return *field;
  throw std::runtime_error("no field " + std::to_string(propertyId));
}

// "Front pocket" at (60, 80), given an edit by a double click on it and Control-A, "Back" typed over it.
void editTextInPlace(SelectionAfterEdits& test) {
  DictRef text = CMProject::defaultObject("text");
  text->set("id", 1), text->set("x", 60), text->set("y", 80), text->set("text", "Front pocket");
  test.records()->add(text);
  test.window->updateDocument();
  test.settle();
  test.hand().doubleClick({80, 92});
  test.settle();
  ASSERT_TRUE(test.window->editor().isEditingText());
  type(test, "a", GDK_CONTROL_MASK);
  type(test, "Back");
}

// Two rectangles, 1 at x 40 and 2 (topmost) at x 100, overlapping; both red.
void twoRectangles(SelectionAfterEdits& test) {
  const DictRef red = platform::Dictionary::make({{"r", 255}, {"g", 0}, {"b", 0}, {"a", 255}});
  for (const Rect& frame : {Rect{40, 60, 100, 80}, Rect{100, 100, 100, 80}}) {
    const DictRef record = rectangle(static_cast<std::int64_t>(test.records()->size()) + 1, frame);
    record->set("alpha", 1.0);
    record->dictionary("shape")->set(
        "fill", platform::Dictionary::make({{"use", true}, {"type", 1}, {"alpha", 1.0}, {"color", red}}));
    test.records()->add(record);
  }
  test.window->updateDocument();
  test.settle();
}

// Whether the canvas shows red at the document point, nothing chosen.
bool redAt(SelectionAfterEdits& test, Point at) {
  test.window->editor().clickOutside();
  test.settle();
  const platform::test::ImageSurface shot = platform::test::renderWidget(test.window->editor().widget());
  const Point pixel = test.window->editor().zoomTransform().transformPoint(at);
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
    for (const auto& [propertyId, value] : {std::pair{kX, shown.origin.x}, {kY, shown.origin.y},
                                           {kWidth, shown.size.width}, {kHeight, shown.size.height}})
      EXPECT_EQ(styleField(*this, propertyId).stringValue(), std::to_string(static_cast<int>(value))) << propertyId;
  }
  if (step.checks) step.checks(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditSteps,
    testing::Values(
        EditStep{"TextEditedInPlaceIsOneStepThatUndoes",
                 [](auto& t) {
                   editTextInPlace(t);
                   t.clickCanvas({400, 400});  // outside: the edit ends
                   EXPECT_EQ(t.recordWithId(1)->get("text").string(), "Back");
                   t.item("Edit", "Undo")->validate();
                   EXPECT_EQ(t.item("Edit", "Undo")->title(), "Undo - Editing");
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Editing", {1}, std::nullopt,
                 [](auto& t) {
                   EXPECT_EQ(t.records()->size(), 1u);
                   EXPECT_EQ(t.recordWithId(1)->get("text").string(), "Front pocket");
                 }},
        EditStep{"EscapeEndsTheEditAndTheNextKeyChoosesATool",
                 [](auto& t) {
                   editTextInPlace(t);
                   platform::test::injectKey(t.window->editor().widget(), GDK_KEY_PRESS, GDK_KEY_Escape);
                   t.settle();
                   type(t, "r");
                 },
                 "Undo - Editing", {1}, std::nullopt,
                 [](auto& t) {
                   EXPECT_FALSE(t.window->editor().isEditingText());
                   EXPECT_EQ(t.recordWithId(1)->get("text").string(), "Back");
                   EXPECT_EQ(t.window->selectedTool(), kCMToolRectangle);
                 }},
        EditStep{"UndoOfDeleteChoosesTheLayerAgain",
                 [](auto& t) {
                   twoRectangles(t);
                   t.clickCanvas({60, 80});
                   t.choose("Edit", "Delete");
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Deleting", {1}, Rect{40, 60, 100, 80},
                 [](auto& t) {
                   t.choose("Edit", "Delete");
                   EXPECT_EQ(t.recordWithId(1), nullptr);
                   EXPECT_NE(t.recordWithId(2), nullptr);
                 }},
        EditStep{"UndoOfUnionChoosesBothLayersAgain",
                 [](auto& t) {
                   twoRectangles(t);
                   t.hand().drag({20, 20}, {300, 250});
                   t.choose("Arrange", "Union");
                   t.choose("Edit", "Undo");
                 },
                 "Redo - Union", {1, 2}, Rect{100, 100, 100, 80},
                 [](auto& t) {
                   t.choose("Arrange", "Align Left");  // 1 goes to 2
                   EXPECT_EQ(t.recordWithId(1)->get("x").doubleValue(), 100);
                   EXPECT_TRUE(redAt(t, {150, 70}));
                 }}),
    [](const testing::TestParamInfo<EditStep>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ui_testing
