// The right panels' section framework: rows built from parameter records in their places with their tags, values
// read and the user's changes reported by property id (through the controls' own GTK signals), hider rules, the
// header's buttons pressed with real GDK events, collapse states kept per name, sections stacked in the work view,
// and one undo record per editing run.

#include <gtkmm/comboboxtext.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/CMNotificationNames.h"
#include "document/CMProject.h"
#include "panel_test_support.h"
#include "platform/graphics/font.h"
#include "platform/ui/button.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/slider.h"
#include "platform/ui/stepper.h"
#include "platform/ui/text_field.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/CMRightPanelBaseView.h"

namespace {

using platform::Array;
using platform::Dictionary;
using platform::DictRef;
using platform::Rect;
using Section = CMRightPanelBaseView;

DictRef row(const char* name, int type, int propertyId) {
  return Dictionary::make({{"name", name}, {"control_type", type}, {"property_id", propertyId}});
}

DictRef ranged(DictRef record, int low, int high) {
  record->set("min", low);
  record->set("max", high);
  return record;
}

DictRef withItems(DictRef record, std::vector<platform::Value> items) {
  record->set("items", Array::make(std::move(items)));
  return record;
}

// Answers from a table of values and keeps what the section reports.
class SpyDelegate : public CMRightPanelBaseViewDelegate {
 public:
  CMPanelValue findValue(int propertyId, int) override {
    const auto found = values.find(propertyId);
    if (found == values.end()) return {};
    return found->second;
  }
  void setValue(const CMPanelValue& value, int propertyId, int) override { sent.push_back({propertyId, value}); }
  bool isEnable(int, int) override { return true; }
  void didHide(Section&) override { actions.push_back("hide"); }
  void didNew(Section&) override { actions.push_back("new"); }
  void didDelete(Section&) override { actions.push_back("delete"); }

  std::map<int, CMPanelValue> values;
  std::vector<std::pair<int, CMPanelValue>> sent;
  std::vector<std::string> actions;
};

class PanelSections : public panel_testing::PanelTest {
 protected:
  std::shared_ptr<Section> section(std::vector<DictRef> records, double width = 200) {
    auto made = std::make_shared<Section>(Rect{0, 0, width, Section::sectionHeight(records)});
    made->setDelegate(&delegate);
    made->setParameters(std::move(records));
    return made;
  }
  template <typename T>
  static T& control(const Section& section, int tag) {
    return dynamic_cast<T&>(*section.controlWithTag(tag));
  }
  static void expectFrame(const platform::View& view, Rect expected) {
    EXPECT_NEAR(view.frame().origin.x, expected.origin.x, 1e-9);
    EXPECT_NEAR(view.frame().origin.y, expected.origin.y, 1e-9);
    EXPECT_NEAR(view.frame().size.width, expected.size.width, 1e-9);
    EXPECT_NEAR(view.frame().size.height, expected.size.height, 1e-9);
  }
  double lastSentNumber() {
    return delegate.sent.empty() ? NAN : panelValueAsValue(delegate.sent.back().second).doubleValue();
  }

  SpyDelegate delegate;
};

TEST_F(PanelSections, RowsTakeTheirHeightsPlacesAndTagsInBuildOrder) {
  const std::vector<DictRef> records{
      ranged(row("Opacity", Section::kSlider, 1), 0, 100),
      [] {
        DictRef font = withItems(row("Font", Section::kColumns, 0),
                                 {row("Name", Section::kPopUp, 2), row("Size", Section::kNumber, 3)});
        font->set("control_subtype", 1);
        return font;
      }(),
      withItems(row("Style", Section::kColumns, 0),
                {row("A", Section::kCheckBox, 4), row("B", Section::kCheckBox, 5), row("C", Section::kCheckBox, 6)}),
      withItems(row("Color", Section::kAlternatives, 0),
                {row("Color", Section::kColor, 7), row("Color", Section::kGradient, 8)}),
  };
  EXPECT_EQ(Section::sectionHeight(records), 144);
  EXPECT_EQ(Section::sectionHeight({}), 20);
  auto made = section(records);
  const double H = 144;
  // Slider row: slider, field, stepper.
  expectFrame(*made->controlWithTag(100), {85, H - 40, 110 - 86, 20});
  expectFrame(*made->controlWithTag(101), {85 + 110 - 86, H - 40, 68, 20});
  expectFrame(*made->controlWithTag(102), {85 + 110 - 19, H - 41, 19, 22});
  // Two members: the pop-up wide, the number field and its stepper in a 50-point column at the right end.
  expectFrame(*made->controlWithTag(103), {83, H - 68 - 1, 60, 22});
  expectFrame(*made->controlWithTag(104), {145, H - 68, 50 - 18, 20});
  expectFrame(*made->controlWithTag(105), {145 + 50 - 19, H - 69, 19, 22});
  // Three columns of 110 / 3.
  for (int i = 0; i < 3; ++i) expectFrame(*made->controlWithTag(106 + i), {85 + i * 110.0 / 3, H - 96, 110.0 / 3, 20});
  // Alternatives share the row.
  expectFrame(*made->controlWithTag(109), {85, H - 136 - 3, 70, 26});
  expectFrame(*made->controlWithTag(110), {85, H - 136, 60, 20});
  EXPECT_EQ(made->controls().size(), 11u);
  EXPECT_EQ(made->findControlForDict(records[3]->array("items")->at(1).dictionary()), made->controlWithTag(110));

  // A wider section places the same controls again by their tags; the gradient swatch keeps its frame.
  made->setFrame({0, 0, 300, H});
  expectFrame(*made->controlWithTag(100), {85, H - 40, 210 - 86, 20});
  expectFrame(*made->controlWithTag(106), {85, H - 96, 70, 20});
  expectFrame(*made->controlWithTag(107), {155, H - 96, 70, 20});
  expectFrame(*made->controlWithTag(110), {85, H - 136, 60, 20});
}

TEST_F(PanelSections, NestedRowsAndUnknownTypesBuildNothing) {
  DictRef nested = withItems(row("Outer", Section::kColumns, 0),
                             {row("Inner", Section::kColumns, 0), row("Plain", Section::kCheckBox, 1)});
  auto made = section({nested, row("Odd", 11, 2), row("Negative", -1, 3)});
  ASSERT_EQ(made->controls().size(), 1u);
  EXPECT_EQ(made->controls()[0].parameter, nested->array("items")->at(1).dictionary());
}

TEST_F(PanelSections, ChangesAreSentAsTheirRowsTakeThem) {
  DictRef unranged = row("Width", Section::kNumber, 2);
  auto made = section({ranged(row("Opacity", Section::kSlider, 1), 0, 100), unranged,
                       withItems(row("Mode", Section::kPopUp, 3), {"One", "Two", "Three"}),
                       row("Face", Section::kFont, 4), row("Check", Section::kCheckBox, 5)});
  showInWindow(made, {200, made->frame().size.height});
  auto& slider = control<platform::Slider>(*made, 100);
  slider.gtkScale().set_value(45.7);
  ASSERT_EQ(delegate.sent.size(), 1u);
  EXPECT_EQ(delegate.sent[0].first, 1);
  EXPECT_EQ(lastSentNumber(), 45) << "sliders send whole numbers";
  EXPECT_TRUE(panelValueAsValue(delegate.sent[0].second).isReal32());

  auto& field = control<platform::TextField>(*made, 101);
  field.gtkEntry().set_text("150");
  field.gtkEntry().activate();
  EXPECT_EQ(lastSentNumber(), 100) << "a ranged field clamps";
  for (const char* refused : {"abc", "nan", "1e999", ""}) {
    const std::size_t before = delegate.sent.size();
    field.gtkEntry().set_text(refused);
    field.gtkEntry().activate();
    EXPECT_EQ(delegate.sent.size(), before) << refused;
  }

  auto& stepper = control<platform::Stepper>(*made, 104);
  EXPECT_EQ(stepper.minValue(), -999999);
  EXPECT_EQ(stepper.maxValue(), 999999);
  auto& width = control<platform::TextField>(*made, 103);
  width.gtkEntry().set_text("-999999");
  width.gtkEntry().activate();
  EXPECT_EQ(lastSentNumber(), -999999);
  const std::size_t before = delegate.sent.size();
  width.gtkEntry().set_text("1000000");
  width.gtkEntry().activate();
  EXPECT_EQ(delegate.sent.size(), before) << "an unranged field takes what its stepper reaches";

  control<platform::PopUpButton>(*made, 105).gtkComboBox().set_active(2);
  EXPECT_EQ(panelValueAsValue(delegate.sent.back().second).intValue(), 2);
  EXPECT_TRUE(panelValueAsValue(delegate.sent.back().second).isInteger());
  auto& face = control<platform::PopUpButton>(*made, 106);
  ASSERT_GT(face.numberOfItems(), 0);
  EXPECT_EQ(face.numberOfItems(), static_cast<int>(Section::fontNames().size()));
  face.gtkComboBox().set_active(0);
  EXPECT_EQ(panelValueAsValue(delegate.sent.back().second).string(), Section::fontNames()[0]);
  EXPECT_TRUE(platform::Font::withName(Section::fontNames()[0], 10)) << "a face name the fonts know";
  platform::test::clickButton(control<platform::Button>(*made, 107).gtkButton());
  EXPECT_TRUE(panelValueAsValue(delegate.sent.back().second).boolValue());

  const std::size_t sentBefore = delegate.sent.size();
  delegate.values[1] = platform::Value(30.0F);
  delegate.values[3] = platform::Value(1);
  delegate.values[4] = platform::Value("no such face");
  made->updateValues();
  EXPECT_EQ(delegate.sent.size(), sentBefore) << "reading values sends nothing";
  EXPECT_EQ(slider.doubleValue(), 30);
  EXPECT_EQ(field.stringValue(), "30");
  EXPECT_EQ(control<platform::PopUpButton>(*made, 105).indexOfSelectedItem(), 1);
  // A face the list does not hold (a family that is not installed) is shown by the name kept, until the next.
  EXPECT_EQ(face.titleOfSelectedItem(), "no such face");
  EXPECT_EQ(face.numberOfItems(), static_cast<int>(Section::fontNames().size()) + 1);
  delegate.values[4] = platform::Value(Section::fontNames()[0]);
  made->updateValues();
  EXPECT_EQ(face.indexOfSelectedItem(), 0);
  EXPECT_EQ(face.numberOfItems(), static_cast<int>(Section::fontNames().size()));
}

TEST_F(PanelSections, AlternativesShowTheMemberOfTheValueAndTheirTitleOnlyWithIt) {
  DictRef colour = row("Color", Section::kColor, 10);
  colour->set("hider_prperty_id", 9);
  colour->set("hider_value", 1);
  DictRef gradient = row("Color", Section::kGradient, 11);
  gradient->set("hider_prperty_id", 9);
  gradient->set("hider_value", 3);
  DictRef alternatives = withItems(row("Color", Section::kAlternatives, 0), {colour, gradient});
  alternatives->set("hider", 9);
  delegate.values[10] = platform::Color(1, 0, 0, 1);
  delegate.values[9] = platform::Value(1);
  auto made = section({alternatives});
  showInWindow(made, {200, made->frame().size.height});

  // Title ink: dark pixels in the title column (x < 80) of the row.
  const auto titleInk = [&] {
    made->updateValues();
    const auto surface = panel_testing::renderSettled(made->widget());
    int dark = 0;
    for (int x = 0; x < 80; ++x)
      for (int y = 20; y < 48; ++y) {
        const platform::test::Pixel pixel = platform::test::pixelAt(surface.get(), x, y);
        if (pixel.alpha > 100 && pixel.red < 120) ++dark;
      }
    return dark;
  };
  EXPECT_FALSE(made->controlWithTag(100)->isHidden());
  EXPECT_TRUE(made->controlWithTag(101)->isHidden());
  EXPECT_GT(titleInk(), 10);
  delegate.values[9] = platform::Value(3);
  EXPECT_GT(titleInk(), 10);
  EXPECT_TRUE(made->controlWithTag(100)->isHidden());
  EXPECT_FALSE(made->controlWithTag(101)->isHidden());
  delegate.values[9] = platform::Value(0);
  EXPECT_EQ(titleInk(), 0) << "no member shows, so no title";
  EXPECT_TRUE(made->controlWithTag(100)->isHidden());
  EXPECT_TRUE(made->controlWithTag(101)->isHidden());
}

TEST_F(PanelSections, HeaderButtonsActOnTheReleaseWhereverThePressWas) {
  auto made = section({row("Check", Section::kCheckBox, 1)});
  made->setHasAddButton(true);
  made->setHasRemoveButton(true);
  showInWindow(made, {200, made->frame().size.height});
  const Section::HeaderButtons buttons = made->headerButtons();
  ASSERT_TRUE(buttons.add && buttons.remove);
  const auto centre = [](const Rect& rect) {
    return platform::Point{rect.origin.x + rect.size.width / 2, rect.origin.y + 10};
  };
  const auto press = [&](platform::Point at, GdkEventType type) {
    const platform::Point pixel = made->localToGtk(at);
    if (type == GDK_MOTION_NOTIFY) {
      platform::test::injectMotion(made->widget(), pixel.x, pixel.y, GDK_BUTTON1_MASK);
    } else {
      platform::test::injectButton(made->widget(), type, 1, pixel.x, pixel.y);
    }
    panel_testing::settle();
  };
  press(centre(buttons.hide), GDK_BUTTON_PRESS);
  press(centre(*buttons.add), GDK_MOTION_NOTIFY);
  press(centre(*buttons.add), GDK_BUTTON_RELEASE);
  EXPECT_EQ(delegate.actions, (std::vector<std::string>{"new"}));

  press(centre(*buttons.remove), GDK_BUTTON_PRESS);
  press({100, 5}, GDK_MOTION_NOTIFY);
  press({100, 5}, GDK_BUTTON_RELEASE);
  EXPECT_EQ(delegate.actions.size(), 1u) << "a release outside the header does nothing";
  EXPECT_FALSE(made->drawsHeaderButtons());

  press(centre(*buttons.remove), GDK_BUTTON_PRESS);
  press(centre(*buttons.remove), GDK_BUTTON_RELEASE);
  press(centre(buttons.hide), GDK_BUTTON_PRESS);
  press(centre(buttons.hide), GDK_BUTTON_RELEASE);
  EXPECT_EQ(delegate.actions, (std::vector<std::string>{"new", "delete", "hide"}));
}

// A panel of two editable sections over two records, registering undo as the panels do.
class RecordPanel : public CMOptionsPanelView {
 public:
  explicit RecordPanel(std::shared_ptr<CMDocument> drawing) {
    setDocument(std::move(drawing));
    for (const char* name : {"Stroke", "Fill"}) {
      DictRef opacity = ranged(row("Opacity", CMRightPanelBaseView::kSlider, 41), 0, 100);
      auto made = createView({opacity, row("Width", CMRightPanelBaseView::kNumber, 18)});
      made->setHasAddButton(true);
      addSection(name, made);
    }
    createSections();
  }
  CMPanelValue findValue(int propertyId, int) override {
    return platform::Value(edited ? edited->get(key(propertyId)).floatValue() : 0.0F);
  }
  void setValue(const CMPanelValue& value, int propertyId, int index) override {
    if (!edited) return;
    if (beginWrite(propertyId, index, edited)) {
      document()->undoManager().regUndoDictionary(
          kCMUndoLayerKeys, Dictionary::make({{"obj", edited}, {"keys", Array::make({key(propertyId)})}}));
    }
    edited->set(key(propertyId), panelValueAsValue(value));
  }
  bool isEnable(int, int) override { return true; }
  void didNew(CMRightPanelBaseView&) override {
    // As the style panel does: every section is made again.
    removeSections();
    for (const char* name : {"Stroke", "Fill"}) addSection(name, createView({row("Check", 2, 1)}));
    createSections();
  }
  static const char* key(int propertyId) { return propertyId == 41 ? "alpha" : "lineWidth"; }

  DictRef edited;
};

class EditingRuns : public panel_testing::PanelTest {
 protected:
  void SetUp() override {
    first = document_testing::layer(1);
    second = document_testing::layer(2);
    for (const DictRef& record : {first, second}) {
      record->set("alpha", 100.0F);
      record->set("lineWidth", 1.0F);
    }
    document = panel_testing::documentWith(document_testing::rootWith({first, second}));
    panel = std::make_unique<RecordPanel>(document);
    panel->edited = first;
    showInWindow(panel->view(), {250, 300});
  }
  Section& section(std::size_t index) { return *panel->views()[index]; }
  platform::Slider& opacity(std::size_t index) {
    return dynamic_cast<platform::Slider&>(*section(index).controlWithTag(100));
  }
  std::size_t undoCount() { return document->undoManager().undoCount(); }

  DictRef first;
  DictRef second;
  std::shared_ptr<CMDocument> document;
  std::unique_ptr<RecordPanel> panel;
};

TEST_F(EditingRuns, OneUndoRecordARunAndEveryWriteMarksTheDocument) {
  for (int step = 1; step <= 10; ++step) opacity(0).gtkScale().set_value(step * 5);
  EXPECT_EQ(undoCount(), 1u) << "ten slider steps, one run";
  EXPECT_EQ(first->get("alpha").floatValue(), 50);
  document->setDirty(false);
  opacity(0).gtkScale().set_value(60);
  EXPECT_EQ(undoCount(), 1u);
  EXPECT_TRUE(document->dirty()) << "a write inside the run marks the document too";

  platform::NotificationCenter::defaultCenter().post(kNotificationEndTextEditing);
  opacity(0).gtkScale().set_value(70);
  EXPECT_EQ(undoCount(), 2u) << "a field that ended editing ends the run";

  auto& width = dynamic_cast<platform::TextField&>(*section(0).controlWithTag(103));
  width.gtkEntry().set_text("70");
  width.gtkEntry().activate();
  EXPECT_EQ(undoCount(), 3u) << "another property, another run";
  opacity(0).gtkScale().set_value(75);
  EXPECT_EQ(undoCount(), 4u) << "the field's end of editing ended its run";

  panel->edited = second;
  opacity(0).gtkScale().set_value(80);
  EXPECT_EQ(undoCount(), 5u) << "the same property on another layer starts a run";
  document->undo();
  document->undo();
  EXPECT_EQ(first->get("alpha").floatValue(), 70);
}

TEST_F(EditingRuns, SectionsStackTopDownAndKeepTheirCollapseStatePerName) {
  CMGlobalProfile& profile = CMProject::shareProject().profile();
  const double full = section(0).frame().size.height;
  EXPECT_EQ(full, 20 + 28 + 28);
  EXPECT_EQ(section(0).frame().origin.y, 0);
  EXPECT_EQ(section(1).frame().origin.y, full);
  EXPECT_EQ(panel->workView().frame().size.height, 2 * full);
  EXPECT_EQ(section(0).frame().size.width, panel->scrollView().contentView().frame().size.width);

  const Section::HeaderButtons buttons = section(0).headerButtons();
  click(section(0), {buttons.hide.origin.x + 4, buttons.hide.origin.y + 8});
  EXPECT_EQ(profile.integerForKey("right_panel_Stroke_show"), 1);
  EXPECT_TRUE(section(0).itemsIsHidden());
  EXPECT_EQ(section(0).frame().size.height, 20);
  EXPECT_EQ(section(1).frame().origin.y, 20);
  EXPECT_TRUE(opacity(0).isHidden());

  // A new "Stroke" section opens collapsed; the header's New rebuilds every section from inside its own release.
  const Section::HeaderButtons fillButtons = section(1).headerButtons();
  click(section(1), {fillButtons.add->origin.x + 4, fillButtons.add->origin.y + 8});
  ASSERT_EQ(panel->views().size(), 2u);
  EXPECT_TRUE(section(0).itemsIsHidden());
  EXPECT_FALSE(section(1).itemsIsHidden());

  panel->didHide(section(0));
  EXPECT_EQ(profile.integerForKey("right_panel_Stroke_show"), 0);
  EXPECT_FALSE(section(0).controlWithTag(100)->isHidden());
}

TEST(PanelColors, ColourRecordsTakeComponentsTimes255InOrder) {
  const DictRef record = Dictionary::make();
  CMBasePanelView::setColorDict(record, platform::Color(0.5, 0.25, 1, 0.2));
  ASSERT_EQ(record->keys(), (std::vector<std::string>{"a", "r", "g", "b"}));
  EXPECT_DOUBLE_EQ(record->get("a").doubleValue(), 51);
  EXPECT_DOUBLE_EQ(record->get("r").doubleValue(), 127.5);
  EXPECT_DOUBLE_EQ(record->get("g").doubleValue(), 63.75);
  EXPECT_DOUBLE_EQ(record->get("b").doubleValue(), 255);
}

}  // namespace
