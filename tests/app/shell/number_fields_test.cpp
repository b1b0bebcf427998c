// Numbers typed into the grid spacing of the preferences and the page size of the new-document window: the whole
// text is read ("1e9" is a billion), what the field cannot take is refused and the field shows again the value in
// use, and each field shows what the drawing will get; a page side typed key by key is read only once it is whole.

#include <gtest/gtest.h>

#include "app/CMNewDocumentWindowController.h"
#include "app/CMPreferenceWindowController.h"
#include "dialog_test_support.h"
#include "document/CMProject.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "shell_fixture.h"
#include "ui_test_harness.h"

namespace shell_testing {
namespace {

using NumberFields = ShellTest;

void typeInto(platform::TextField& field, const std::string& text) {
  field.gtkEntry().set_text(text);
  field.gtkEntry().activate();
}

int storedSpacing() {
  return CMProject::shareProject().settings().dictionaryForKey("grid")->get("spacing").intValue();
}

TEST_F(NumberFields, SpacingAndPageSidesReadTheWholeNumberAndShowWhatIsUsed) {
  CMPreferenceWindowController preferences;
  ASSERT_TRUE(platform::test::showAndSettle(preferences.window()));
  CMNewDocumentWindowController newDocument;
  ASSERT_TRUE(platform::test::showAndSettle(newDocument.window()));
  struct Case {
    const char* typed;
    int spacing;  // 1 to 10,000
    int width;    // 1 to 1,000,000 points
  };
  // Each refused value leaves the one before.
  for (const Case& c : {Case{"25", 25, 25}, Case{"abc", 25, 25}, Case{"0", 25, 25}, Case{"-5", 25, 25},
                        Case{"1e9", 10000, 25}, Case{"7", 7, 7}, Case{"99999999999", 10000, 7},
                        Case{"12.7", 12, 12}, Case{" 300 ", 300, 300}, Case{"1e3", 1000, 1000},
                        Case{"2e4", 10000, 20000}, Case{"1e", 10000, 20000}, Case{"", 10000, 20000}}) {
    typeInto(preferences.spacingField(), c.typed);
    EXPECT_EQ(storedSpacing(), c.spacing) << c.typed;
    EXPECT_EQ(preferences.spacingField().stringValue(), std::to_string(c.spacing)) << c.typed;
    typeInto(newDocument.widthField(), c.typed);
    EXPECT_EQ(CMNewDocumentWindowController::defaultWidth(), c.width) << c.typed;
    EXPECT_EQ(newDocument.widthField().stringValue(), std::to_string(c.width)) << c.typed;
  }
  newDocument.OnCreateDocument();
  settle();
  ASSERT_NE(window->drawing(), nullptr);
  EXPECT_EQ(window->drawing()->data()->get("width").intValue(), 20000);
  EXPECT_EQ(window->drawing()->data()->get("height").intValue(), 500);
}

// Typed key by key through GDK's queue, then Return or a click on Create: the side is read once, whole, by the
// Document panel's rule (1 to 999,999 points), and a refused one leaves the side in use.
TEST_F(NumberFields, APageSideTypedKeyByKeyIsReadWholeByTheDocumentPanelsRule) {
  CMNewDocumentWindowController newDocument;
  struct Case {
    const char* typed;
    bool create;  // else Return
    int width;
  };
  for (const Case& c : {Case{"300", false, 300}, Case{"1e9", true, 300}, Case{"2000000", false, 300},
                        Case{"99999999999", true, 300}, Case{"1000000", false, 300}, Case{"999999", true, 999999},
                        Case{"12.7", false, 12}, Case{"0.5", true, 12}}) {
    SCOPED_TRACE(c.typed);
    newDocument.showWindow();
    ASSERT_TRUE(platform::test::showAndSettle(newDocument.window()));
    Gtk::Entry& field = newDocument.widthField().gtkEntry();
    field.grab_focus();
    dialog_testing::pressKey(field, GDK_KEY_a, GDK_CONTROL_MASK);
    for (unsigned char key : std::string(c.typed)) dialog_testing::pressKey(field, gdk_unicode_to_keyval(key));
    settle();
    if (c.create) {
      std::vector<Gtk::Button*> buttons;
      dialog_testing::collect(&newDocument.window().gtkWindow(), buttons);
      for (Gtk::Button* button : buttons)
        if (button->get_label() == "Create") platform::test::clickButton(*button);
      settle();
      ASSERT_FALSE(newDocument.window().isVisible());
      ASSERT_NE(window->drawing(), nullptr);
      EXPECT_EQ(window->drawing()->data()->get("width").intValue(), c.width);
    } else {
      dialog_testing::pressKey(field, GDK_KEY_Return);
      settle();
    }
    EXPECT_EQ(CMNewDocumentWindowController::defaultWidth(), c.width);
    EXPECT_EQ(newDocument.widthField().stringValue(), std::to_string(c.width));
  }
}

TEST_F(NumberFields, LandscapeOnAFreshProfileTurnsTheSizeShown) {
  CMNewDocumentWindowController newDocument;
  ASSERT_TRUE(platform::test::showAndSettle(newDocument.window()));
  newDocument.heightField().gtkEntry().set_text("700");
  newDocument.orientationControl().gtkSegment(1).set_active(true);
  settle();
  EXPECT_EQ(newDocument.widthField().stringValue(), "700");
  EXPECT_EQ(newDocument.heightField().stringValue(), "500");
  newDocument.OnCreateDocument();
  settle();
  ASSERT_NE(window->drawing(), nullptr);
  EXPECT_EQ(window->drawing()->data()->get("width").intValue(), 700);
  EXPECT_EQ(window->drawing()->data()->get("height").intValue(), 500);
}

}  // namespace
}  // namespace shell_testing
