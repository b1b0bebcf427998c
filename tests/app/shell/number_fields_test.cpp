// Numbers typed into the grid spacing of the preferences and the page size of the new-document window: the whole
// text is read ("1e9" is a billion), what the field cannot take is refused and the field shows again the value in
// use, and each field shows what the drawing will get.

#include <gtest/gtest.h>

#include "app/CMNewDocumentWindowController.h"
#include "app/CMPreferenceWindowController.h"
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
