// Tool keys: every tool has a default key, the palette's tooltips name it, a
// key down chooses the tool unless a text field has the focus (then it types),
// and the strips' commands reach the canvas.

#include <gdk/gdkkeysyms.h>

#include <string>
#include <vector>

#include "../canvas/real_pointer_support.h"
#include "document/CMKeyBindingManager.h"
#include "document/CMProject.h"
#include "main_window_fixture.h"
#include "spy_canvas_commands.h"
#include "platform/core/notification_center.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_field.h"
#include "ui/CMPlainPanes.h"
#include "ui/CMToolKeyIds.h"
#include "ui/CMViewTags.h"
#include "ui/CMToolsView.h"
#include "ui/CPMainView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

using platform::EventType;

// macOS virtual key codes of the ANSI layout.
constexpr std::uint16_t kKeyA = 0, kKeyS = 1, kKeyG = 5, kKeyZ = 6, kKeyV = 9, kKeyE = 14, kKeyR = 15, kKeyY = 16,
                        kKeyT = 17, kKeyO = 31, kKeyU = 32, kKeyP = 35, kKeyL = 37, kKeyN = 45;

TEST(ToolKeyIds, TagsAndIdsMapBothWays) {
  const std::vector<std::pair<int, int>> table{{0, 1},  {1, 2},   {2, 3},   {3, 4},   {4, 5},
                                               {5, 6},  {8, 7},   {9, 8},   {10, 9},  {11, 10},
                                               {12, 11}, {13, 12}, {14, 13}, {15, 14}, {16, 15}};
  for (const auto& [tag, id] : table) {
    EXPECT_EQ(toolKeyIdForTag(tag), id) << tag;
    EXPECT_EQ(toolTagForKeyId(id), tag) << id;
  }
  for (const int tag : {-1, 6, 7, 17, 40}) EXPECT_EQ(toolKeyIdForTag(tag), 0) << tag;
  for (const int id : {0, 16, -3}) EXPECT_EQ(toolTagForKeyId(id), -1) << id;
}

TEST(KeyBindingTable, TitlesValuesAndFlags) {
  CMKeyBindingManager bindings;
  EXPECT_EQ(bindings.titleFor(1), "Select (V)");
  EXPECT_EQ(bindings.titleFor(5), "Round Rectangle (U)");
  EXPECT_EQ(bindings.valueFor(4), "r");
  EXPECT_EQ(bindings.flagsFor(4), 0u);
  EXPECT_EQ(bindings.titleFor(99), "");
  EXPECT_EQ(bindings.valueFor(99), "");
  // A cleared key leaves the title alone, no key and no flags.
  platform::DictRef rectangle = bindings.items()->at(1).dictionary();
  ASSERT_EQ(rectangle->get("keyId").intValue(), 4);
  rectangle->set("code", -1);
  rectangle->set("flags", 1 << 18);
  EXPECT_EQ(bindings.titleFor(4), "Rectangle");
  EXPECT_EQ(bindings.valueFor(4), "");
  EXPECT_EQ(bindings.flagsFor(4), 0u);
  EXPECT_EQ(bindings.keyIdForKey(kKeyR, 0), 0);
  // Modifiers are part of the key: ⌘⇧S is not S.
  platform::DictRef star = bindings.items()->at(5).dictionary();
  star->set("flags", (1 << 20) | (1 << 17));
  EXPECT_EQ(bindings.titleFor(10), "Star (\u21E7\u2318S)");
  EXPECT_EQ(bindings.keyIdForKey(kKeyS, 0), 0);
  EXPECT_EQ(bindings.keyIdForKey(kKeyS, (1 << 20) | (1 << 17) | (1 << 16)), 10);  // Caps Lock does not count
}

TEST(KeyBindingTable, EveryToolHasItsOwnKey) {
  CMKeyBindingManager bindings;
  const std::vector<std::pair<std::uint16_t, int>> keys{
      {kKeyV, 0},  {kKeyA, 1},  {kKeyG, 2},  {kKeyR, 3},  {kKeyU, 4},  {kKeyT, 5},  {kKeyO, 8},
      {kKeyE, 10}, {kKeyS, 11}, {kKeyL, 12}, {kKeyY, 13}, {kKeyP, 14}, {kKeyN, 15}, {kKeyZ, 16}};
  for (const auto& [code, tag] : keys) EXPECT_EQ(toolTagForKeyId(bindings.keyIdForKey(code, 0)), tag) << code;
  // One record per tool, so no key is bound twice.
  EXPECT_EQ(bindings.items()->size(), keys.size());
}

TEST(KeyBindingTable, KeysGoToTheBoundReceiver) {
  CMKeyBindingManager bindings;
  EXPECT_FALSE(bindings.performKeyEquivalent(kKeyV, 0));  // nobody bound yet
  std::vector<int> received;
  bindings.bindKeys([&received](std::int32_t id) { received.push_back(id); });
  EXPECT_TRUE(bindings.performKeyEquivalent(kKeyZ, 0));
  EXPECT_FALSE(bindings.performKeyEquivalent(7, 0));  // X: no tool's
  EXPECT_EQ(received, std::vector<int>{15});
}

using ToolShortcuts = MainWindowTest;

platform::Event keyDown(std::uint16_t code, const std::string& text, platform::ModifierFlags flags = 0) {
  return platform::test::keyEvent(EventType::KeyDown, text, code, flags);
}

TEST_F(ToolShortcuts, EveryToolIsReachableByItsKey) {
  newDrawing();
  const std::vector<std::tuple<std::uint16_t, const char*, int>> keys{
      {kKeyA, "a", 1},  {kKeyG, "g", 2},  {kKeyE, "e", 10}, {kKeyP, "p", 14}, {kKeyN, "n", 15},
      {kKeyR, "r", 3},  {kKeyU, "u", 4},  {kKeyT, "t", 5},  {kKeyO, "o", 8},  {kKeyS, "s", 11},
      {kKeyL, "l", 12}, {kKeyY, "y", 13}, {kKeyZ, "z", 16}, {kKeyV, "v", 0}};
  for (const auto& [code, text, tag] : keys) {
    window->window().sendEvent(keyDown(code, text));
    EXPECT_EQ(window->selectedTool(), tag) << text;
    EXPECT_EQ(window->editor().currentTool(), tag) << text;
  }
  // A modifier makes it another key.
  window->window().sendEvent(keyDown(kKeyR, "r", platform::modifier::Control));
  EXPECT_EQ(window->selectedTool(), 0);
}

TEST_F(ToolShortcuts, PaletteTooltipsNameTheKeysAndFollowChanges) {
  CMToolsView& palette = window->mainView()->toolsBar();
  CMToolbarButton* select = palette.buttonWithTag(0);
  CMToolbarButton* zoom = palette.buttonWithTag(16);
  ASSERT_NE(select, nullptr);
  ASSERT_NE(zoom, nullptr);
  EXPECT_EQ(select->toolTip(), "Select (V)");
  EXPECT_EQ(select->keyEquivalent(), "v");
  EXPECT_EQ(zoom->toolTip(), "Zoom (Z)");
  CMKeyBindingManager& bindings = CMProject::shareProject().keyBindings();
  platform::DictRef zoomRecord = bindings.items()->at(8).dictionary();
  ASSERT_EQ(zoomRecord->get("keyId").intValue(), 15);
  zoomRecord->set("code", 40);  // K
  zoomRecord->set("flags", static_cast<std::int64_t>(platform::modifier::Option));
  platform::NotificationCenter::defaultCenter().post(CMKeyBindingManager::kUpdateNotification);
  EXPECT_EQ(zoom->toolTip(), "Zoom (\u2325K)");
  EXPECT_EQ(zoom->keyEquivalent(), "k");
  EXPECT_EQ(zoom->keyEquivalentModifierMask(), platform::modifier::Option);
  window->window().sendEvent(keyDown(40, "k", platform::modifier::Option));
  EXPECT_EQ(window->selectedTool(), 16);
}

TEST_F(ToolShortcuts, KeysTypeIntoAFocusedTextFieldInsteadOfChoosingTools) {
  newDrawing();
  window->selectTool(12, nullptr);  // the line strip has a width field
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  auto* field = dynamic_cast<platform::TextField*>(
      subviewWithTag(*window->mainView()->topToolbar().subToolView(), 1));
  ASSERT_NE(field, nullptr);
  field->gtkEntry().grab_focus();
  field->gtkEntry().set_text("");
  settle();
  ASSERT_TRUE(field->gtkEntry().is_focus());
  // A real key press, through GDK and GTK's dispatch to the focused entry.
  platform::test::injectKey(field->gtkEntry(), GDK_KEY_PRESS, GDK_KEY_5);
  platform::test::injectKey(field->gtkEntry(), GDK_KEY_RELEASE, GDK_KEY_5);
  platform::test::injectKey(field->gtkEntry(), GDK_KEY_PRESS, GDK_KEY_r);
  platform::test::injectKey(field->gtkEntry(), GDK_KEY_RELEASE, GDK_KEY_r);
  settle();
  EXPECT_EQ(field->stringValue(), "5r");
  EXPECT_EQ(window->selectedTool(), 12);
  // The same key reaching the window another way is refused while the field has the focus.
  window->window().sendEvent(keyDown(kKeyR, "r"));
  EXPECT_EQ(window->selectedTool(), 12);
  // Once the canvas has the focus again the key chooses its tool.
  window->window().host().grab_focus();
  settle();
  window->window().sendEvent(keyDown(kKeyR, "r"));
  EXPECT_EQ(window->selectedTool(), 3);
}

TEST_F(ToolShortcuts, SelectActionsReachTheCanvasByTag) {
  newDrawing();
  std::vector<std::string> calls;
  window->setCanvasCommands(std::make_unique<ui_testing::SpyCommands>(calls));
  const std::vector<std::pair<int, const char*>> table{
      {1, "group"},         {2, "ungroup"},         {3, "aligntop"},      {4, "alignbottom"},   {5, "alignleft"},
      {6, "alignright"},    {7, "flipH"},           {8, "flipV"},         {10, "deletePoint"},  {12, "bringToFront"},
      {13, "bringForward"}, {14, "sendToBack"},     {15, "sendTobackward"}, {16, "pathUnion"}, {17, "pathSubtract"},
      {18, "pathIntersect"}, {19, "pathDifference"}};
  for (const auto& [tag, name] : table) {
    calls.clear();
    window->OnSelectAction(tag);
    EXPECT_EQ(calls, std::vector<std::string>{name}) << tag;
  }
  calls.clear();
  for (const int tag : {0, 11, 20, 100, -1}) window->OnSelectAction(tag);
  EXPECT_TRUE(calls.empty());
  // 9 is the add-point tool, which shows the point strip.
  window->OnSelectAction(9);
  EXPECT_EQ(window->selectedTool(), 17);
  EXPECT_EQ(window->mainView()->topToolbar().subPanelAction(), 17);
  // A click on the strip's own button sends its command; the point type control too.
  window->selectTool(0, nullptr);
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  auto* left = dynamic_cast<platform::Button*>(subviewWithTag(*window->mainView()->topToolbar().subToolView(), 5));
  ASSERT_NE(left, nullptr);
  platform::test::clickButton(left->gtkButton());
  settle();
  EXPECT_EQ(calls, std::vector<std::string>{"alignleft"});
}

TEST_F(ToolShortcuts, ViewModeTogglesAndPersists) {
  newDrawing();
  std::vector<std::string> calls;
  window->setCanvasCommands(std::make_unique<ui_testing::SpyCommands>(calls));
  platform::UserDefaults& settings = CMProject::shareProject().settings();
  settings.setBool(false, "viewMode");
  window->OnSelectAction(101);
  EXPECT_TRUE(settings.boolForKey("viewMode"));
  window->OnViewMode();
  EXPECT_FALSE(settings.boolForKey("viewMode"));
  window->OnSelectAction(101);
  EXPECT_EQ(calls, (std::vector<std::string>{"setViewMode YES", "setViewMode NO", "setViewMode YES"}));
  // Stored: a fresh read of the defaults sees it.
  platform::UserDefaults::resetStandardUserDefaults();
  EXPECT_TRUE(CMProject::shareProject().settings().boolForKey("viewMode"));
}

TEST_F(ToolShortcuts, PointStripFollowsTheSelectedPoint) {
  newDrawing();
  window->selectTool(1, nullptr);
  const platform::View& strip = *window->mainView()->topToolbar().subToolView();
  auto* remove = dynamic_cast<platform::Control*>(subviewWithTag(strip, 10));
  auto* type = dynamic_cast<platform::SegmentedControl*>(subviewWithTag(strip, 11));
  auto* add = dynamic_cast<platform::Control*>(subviewWithTag(strip, 9));
  ASSERT_NE(remove, nullptr);
  ASSERT_NE(type, nullptr);
  ASSERT_NE(add, nullptr);
  // The active canvas is the one that drew last.
  ASSERT_TRUE(platform::test::showAndSettle(window->window()));
  ASSERT_EQ(CMEditorView::activeEditor(), &window->editor());
  window->editor().setSelectedPoint(platform::Dictionary::make({{"type", 12}, {"subtype", 4 | 2}}));
  window->updateSubPanelState();
  EXPECT_TRUE(remove->isEnabled());
  EXPECT_TRUE(type->isEnabled());
  EXPECT_EQ(type->selectedSegment(), 1);
  EXPECT_FALSE(add->isEnabled());  // no layer selected
  window->editor().setSelectedPoint(platform::Dictionary::make({{"type", 12}, {"subtype", 2}}));
  window->updateSubPanelState();
  EXPECT_EQ(type->selectedSegment(), 0);
  window->editor().setSelectedPoint(platform::Dictionary::make({{"type", 13}}));
  window->updateSubPanelState();
  EXPECT_FALSE(remove->isEnabled());
  EXPECT_FALSE(type->isEnabled());
  // Outside point editing nothing changes.
  window->editor().setSelectedPoint(platform::Dictionary::make({{"type", 12}}));
  CMProject::shareProject().setEditMode(0);
  window->updateSubPanelState();
  EXPECT_FALSE(remove->isEnabled());
}

// Real key presses, put on GDK's queue for the window as the X server's would come: GTK hands them to the widget
// with the keyboard focus, and only from there do they reach the views. NumLock is on, as on most desktops.
class RealToolKeys : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    newDrawing();
    ASSERT_TRUE(platform::test::showAndSettle(window->window()));
    settle();
  }
  void press(unsigned keyval) {
    platform::test::injectKey(window->window().host(), GDK_KEY_PRESS, keyval, GDK_MOD2_MASK);
    platform::test::injectKey(window->window().host(), GDK_KEY_RELEASE, keyval, GDK_MOD2_MASK);
    settle();
  }
  canvas_testing::RealPointer pointer() { return {window->window(), window->editor()}; }
  void click(platform::Point onCanvas) {
    pointer().press(onCanvas);
    pointer().release(onCanvas);
    settle();
  }
};

TEST_F(RealToolKeys, EveryToolKeyWorksRightAfterTheStart) {
  const std::vector<std::pair<unsigned, int>> keys{
      {GDK_KEY_r, 3},  {GDK_KEY_o, 8},  {GDK_KEY_l, 12}, {GDK_KEY_t, 5},  {GDK_KEY_s, 11},
      {GDK_KEY_y, 13}, {GDK_KEY_u, 4},  {GDK_KEY_z, 16}, {GDK_KEY_p, 14}, {GDK_KEY_n, 15},
      {GDK_KEY_a, 1},  {GDK_KEY_g, 2},  {GDK_KEY_e, 10}, {GDK_KEY_v, 0}};
  for (const auto& [keyval, tag] : keys) {
    press(keyval);
    EXPECT_EQ(window->selectedTool(), tag) << gdk_keyval_name(keyval);
    EXPECT_EQ(window->editor().currentTool(), tag) << gdk_keyval_name(keyval);
  }
}

TEST_F(RealToolKeys, TheKeysComeBackAfterTextEditing) {
  press(GDK_KEY_t);
  click({100, 100});
  ASSERT_TRUE(window->editor().isEditingText());
  press(GDK_KEY_x);  // typed into the text
  click({400, 300});  // outside the text: the edit ends
  ASSERT_FALSE(window->editor().isEditingText());
  press(GDK_KEY_r);
  EXPECT_EQ(window->selectedTool(), kCMToolRectangle);
}

TEST_F(RealToolKeys, TheKeysComeBackWhenAFocusedFieldGoesAway) {
  press(GDK_KEY_l);  // the line strip has a width field
  auto* field = dynamic_cast<platform::TextField*>(subviewWithTag(*window->mainView()->topToolbar().subToolView(), 1));
  ASSERT_NE(field, nullptr);
  // A click into the field gives it the keyboard focus.
  platform::test::injectButton(field->gtkEntry(), GDK_BUTTON_PRESS, 1, 5, 5);
  platform::test::injectButton(field->gtkEntry(), GDK_BUTTON_RELEASE, 1, 5, 5);
  settle();
  ASSERT_TRUE(field->gtkEntry().is_focus());
  // The palette's buttons leave the focus where it is; the rectangle's strip replaces the line's, field and all.
  platform::test::clickButton(window->mainView()->toolsBar().buttonWithTag(kCMToolRectangle)->gtkButton());
  settle();
  ASSERT_EQ(window->selectedTool(), kCMToolRectangle);
  press(GDK_KEY_o);
  EXPECT_EQ(window->selectedTool(), kCMToolOval);
}

}  // namespace
}  // namespace ui_testing
