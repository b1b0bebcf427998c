// The Document panel: the page size with and without its ratio kept, refused sizes, the transparent page, one undo
// record per committed width, values read again when undo changes the page, and "Save Ratio" kept per user.

#include <memory>
#include <string>

#include "document/CMNotificationNames.h"
#include "document/CMProject.h"
#include "panel_test_support.h"
#include "platform/ui/button.h"
#include "platform/ui/number_format.h"
#include "platform/ui/text_field.h"
#include "ui/CMPicturePanelView.h"

namespace {

using platform::Dictionary;
using platform::DictRef;

class PagePanel : public panel_testing::PanelTest {
 protected:
  void SetUp() override {
    colour = Dictionary::make({{"r", 255}, {"g", 255}, {"b", 255}, {"a", 128}});
    root = Dictionary::make({{"layers", platform::Array::make()},
                             {"width", 600.0F},
                             {"height", 400.0F},
                             {"background", Dictionary::make({{"bg_color", colour}})}});
    document = panel_testing::documentWith(root);
    panel = std::make_unique<CMPicturePanelView>();
    panel->setDocument(document);
    showInWindow(panel->view(), {250, 300});
  }

  CMRightPanelBaseView& resolution() { return *panel->views()[0]; }
  CMRightPanelBaseView& background() { return *panel->views()[1]; }
  // Size row: width field 100, its stepper 101, height field 102, its stepper 103; Save Ratio 104.
  platform::TextField& field(int tag) { return dynamic_cast<platform::TextField&>(*resolution().controlWithTag(tag)); }
  platform::Button& saveRatio() { return dynamic_cast<platform::Button&>(*resolution().controlWithTag(104)); }
  platform::Button& transparent() { return dynamic_cast<platform::Button&>(*background().controlWithTag(100)); }
  void type(int tag, const std::string& text) {
    field(tag).gtkEntry().set_text(text);
    field(tag).gtkEntry().activate();
    panel_testing::settle();
  }
  float side(const char* key) { return root->get(key).floatValue(); }
  std::size_t undoCount() { return document->undoManager().undoCount(); }

  DictRef colour;
  DictRef root;
  std::shared_ptr<CMDocument> document;
  std::unique_ptr<CMPicturePanelView> panel;
};

TEST_F(PagePanel, TheRatioIsKeptUntilSaveRatioIsOff) {
  EXPECT_EQ(field(100).stringValue(), "600");
  EXPECT_EQ(saveRatio().state(), 1);
  type(100, "300");
  EXPECT_EQ(side("width"), 300);
  EXPECT_EQ(side("height"), 200);
  EXPECT_EQ(field(102).stringValue(), "200");
  EXPECT_TRUE(root->get("width").isReal32());

  platform::test::clickButton(saveRatio().gtkButton());
  panel_testing::settle();
  EXPECT_TRUE(CMProject::shareProject().profile().boolForKey("not_save_ratio"));
  type(102, "100");
  EXPECT_EQ(side("width"), 300);
  EXPECT_EQ(side("height"), 100);
  EXPECT_TRUE(model_.window().shown == document) << "the window shows the page again";
}

TEST_F(PagePanel, SidesOutsideThePageLimitsWriteNothing) {
  for (const char* refused : {"0", "-5", "abc", "2000000", "0.5"}) {
    type(100, refused);
    EXPECT_EQ(side("width"), 600) << refused;
    EXPECT_EQ(field(100).stringValue(), "600") << refused;
  }
  EXPECT_EQ(undoCount(), 0u);
  type(100, "1000000");
  EXPECT_EQ(side("width"), 600) << "past what the field's stepper reaches";
  type(100, "999999");
  EXPECT_EQ(side("width"), 999999);
}

TEST_F(PagePanel, AZeroSideLeavesTheOtherAsItIs) {
  root->set("height", 0.0F);
  panel->updateSections();
  type(100, "300");
  EXPECT_EQ(side("width"), 300);
  EXPECT_EQ(side("height"), 0);
}

TEST_F(PagePanel, TransparentIsExactlyAlphaZero) {
  EXPECT_EQ(transparent().state(), 0) << "an alpha of 128 is not transparent";
  platform::test::clickButton(transparent().gtkButton());
  panel_testing::settle();
  EXPECT_EQ(colour->get("a").doubleValue(), 0);
  platform::test::clickButton(transparent().gtkButton());
  panel_testing::settle();
  EXPECT_EQ(colour->get("a").doubleValue(), 255);
  EXPECT_EQ(undoCount(), 2u) << "each click registers the background";
  document->undo();
  panel_testing::settle();
  EXPECT_EQ(root->dictionary("background")->dictionary("bg_color")->get("a").doubleValue(), 0);
  EXPECT_EQ(transparent().state(), 1) << "undo's page notification reads the values again";
}

TEST_F(PagePanel, EachCommittedWidthIsOneUndoRecord) {
  type(100, "500");
  type(100, "400");
  type(100, "300");
  ASSERT_EQ(undoCount(), 3u);
  EXPECT_EQ(document->undoManager().undoStack().back()->get("type").intValue(), kCMUndoPageSize);
  document->undo();
  panel_testing::settle();
  EXPECT_EQ(side("width"), 400);
  EXPECT_EQ(field(100).stringValue(), "400");
  EXPECT_EQ(field(102).stringValue(), platform::NumberFormat{}.format(side("height")));
}

TEST_F(PagePanel, ColoursWriteTheBackgroundInOneRun) {
  panel->setValue(platform::Color(1, 0, 0, 1), CMPicturePanelView::kColor, 0);
  panel->setValue(platform::Color(0, 0, 1, 1), CMPicturePanelView::kColor, 0);
  EXPECT_EQ(undoCount(), 1u);
  EXPECT_EQ(colour->get("b").doubleValue(), 255);
  EXPECT_EQ(colour->get("r").doubleValue(), 0);
}

TEST_F(PagePanel, SaveRatioIsTheUsersForEveryDocument) {
  platform::test::clickButton(saveRatio().gtkButton());
  panel_testing::settle();
  CMProject::resetSharedProject();
  EXPECT_TRUE(CMProject::shareProject().profile().boolForKey("not_save_ratio"));
  CMPicturePanelView another;
  another.setDocument(panel_testing::documentWith(document_testing::rootWith({})));
  EXPECT_EQ(panelValueAsValue(another.findValue(CMPicturePanelView::kSaveRatio, 0)).boolValue(), false);
}

}  // namespace
