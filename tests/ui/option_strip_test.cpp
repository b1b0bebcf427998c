// The option strips: controls in the places the layout asks for, values from
// the profile shown without sending anything, and only the user's changes
// written back (widths below 1 and text that is no number ignored).

#include <gtkmm/comboboxtext.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../document/document_test_support.h"
#include "document/CMProject.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/stepper.h"
#include "platform/ui/text_field.h"
#include "ui/CMToolOptionStrips.h"
#include "ui/CMViewTags.h"

namespace {

using platform::Rect;

class OptionStrip : public testing::Test {
 protected:
  OptionStrip()
      : strips_(CMToolOptionStrips::Commands{
            [this](int tag) { commands.push_back("select " + std::to_string(tag)); },
            [this](int type) { commands.push_back("point type " + std::to_string(type)); },
            [this](int index) { commands.push_back("zoom " + std::to_string(index)); },
        }) {}

  std::shared_ptr<platform::View> strip(int tool) { return strips_.makeStrip(tool, 1200, 4); }

  // The strip's control of that kind and tag; the test stops when there is none.
  template <typename T>
  static T& control(const platform::View& strip, int tag) {
    for (const auto& subview : strip.subviews()) {
      auto* found = dynamic_cast<T*>(subview.get());
      if (found && found->tag() == tag) return *found;
    }
    throw std::runtime_error("no control of tag " + std::to_string(tag));
  }

  static std::vector<const platform::Label*> labels(const platform::View& strip) {
    std::vector<const platform::Label*> found;
    for (const auto& subview : strip.subviews())
      if (const auto* label = dynamic_cast<const platform::Label*>(subview.get())) found.push_back(label);
    return found;
  }

  static void expectFrame(const platform::View& view, Rect expected) {
    const Rect frame = view.frame();
    EXPECT_DOUBLE_EQ(frame.origin.x, expected.origin.x);
    EXPECT_DOUBLE_EQ(frame.origin.y, expected.origin.y);
    EXPECT_DOUBLE_EQ(frame.size.width, expected.size.width);
    EXPECT_DOUBLE_EQ(frame.size.height, expected.size.height);
  }

  // The truncated right edge of a label: where the controls after it are measured from.
  static double rightEdge(const platform::Label& label) {
    return static_cast<int>(label.frame().origin.x + label.frame().size.width);
  }

  CMGlobalProfile& profile() { return CMProject::shareProject().profile(); }

  document_testing::ScratchFolders folders_;
  std::vector<std::string> commands;
  CMToolOptionStrips strips_;
};

TEST_F(OptionStrip, SelectStripLaysOutItsThreeGroupsFromTheLabels) {
  auto select = strip(0);
  const auto texts = labels(*select);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0]->stringValue(), "Align:");
  EXPECT_EQ(texts[1]->stringValue(), "Flip:");
  EXPECT_EQ(texts[2]->stringValue(), "Geometry:");
  const double l1 = rightEdge(*texts[0]);
  EXPECT_DOUBLE_EQ(texts[0]->frame().origin.x, 10);
  EXPECT_DOUBLE_EQ(texts[1]->frame().origin.x, l1 + 160);
  const double l2 = rightEdge(*texts[1]);
  EXPECT_DOUBLE_EQ(texts[2]->frame().origin.x, l2 + 90);
  const double l3 = rightEdge(*texts[2]);
  for (const platform::Label* label : texts) {
    // Centred on the 35-point strip, one point up.
    EXPECT_DOUBLE_EQ(label->frame().origin.y, (35 - label->frame().size.height) / 2 + 1);
  }
  const std::vector<std::pair<int, double>> buttons{{5, l1},       {6, l1 + 33},  {3, l1 + 70},  {4, l1 + 103},
                                                    {7, l2},       {8, l2 + 33},  {16, l3},      {17, l3 + 33},
                                                    {18, l3 + 66}, {19, l3 + 99}};
  for (const auto& [tag, offset] : buttons) expectFrame(control<platform::Button>(*select, tag), {offset + 8, 2, 32, 32});
  // Buttons that would overlap would break every later place; check the first flip button clears the align group.
  EXPECT_GT(l2, l1 + 103 + 8 + 32);
}

TEST_F(OptionStrip, SelectStripButtonsSendTheirTags) {
  auto select = strip(0);
  for (const int tag : {5, 19, 7}) control<platform::Button>(*select, tag).gtkButton().clicked();
  EXPECT_EQ(commands, (std::vector<std::string>{"select 5", "select 19", "select 7"}));
  // Commands, not states: nothing stays pressed.
  EXPECT_EQ(control<platform::Button>(*select, 5).state(), 0);
}

TEST_F(OptionStrip, PointStripStartsDisabledAndSendsThePointType) {
  for (const int tool : {1, 17}) {
    commands.clear();
    auto points = strip(tool);
    auto& add = control<platform::Button>(*points, 9);
    auto& remove = control<platform::Button>(*points, 10);
    auto& type = control<platform::SegmentedControl>(*points, 11);
    expectFrame(add, {8, 2, 32, 32});
    expectFrame(remove, {41, 2, 32, 32});
    expectFrame(type, {80, 4.5, 200, 26});
    EXPECT_FALSE(add.isEnabled());
    EXPECT_FALSE(remove.isEnabled());
    ASSERT_EQ(type.segmentCount(), 2);
    EXPECT_EQ(type.labelForSegment(0), "Line");
    EXPECT_EQ(type.labelForSegment(1), "Curve");
    type.gtkSegment(1).set_active(true);
    EXPECT_EQ(commands, std::vector<std::string>{"point type 1"}) << tool;
  }
}

TEST_F(OptionStrip, StarAndPolygonSegmentsShowAndStoreTheCount) {
  profile().setInteger(2, "star_angles");
  profile().setInteger(5, "polygon_sides");
  auto star = strip(11);
  auto polygon = strip(13);
  auto* corners = dynamic_cast<platform::SegmentedControl*>(star->subviews().front().get());
  auto* sides = dynamic_cast<platform::SegmentedControl*>(polygon->subviews().front().get());
  ASSERT_NE(corners, nullptr);
  ASSERT_NE(sides, nullptr);
  expectFrame(*corners, {10, 4.5, 500, 26});
  expectFrame(*sides, {10, 4.5, 400, 26});
  ASSERT_EQ(corners->segmentCount(), 6);
  ASSERT_EQ(sides->segmentCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(corners->labelForSegment(i), std::to_string(i + 3) + " cornels");
    EXPECT_EQ(sides->labelForSegment(i), std::to_string(i + 3) + " sides");
  }
  EXPECT_EQ(corners->selectedSegment(), 2);
  EXPECT_EQ(sides->selectedSegment(), 5);
  corners->gtkSegment(4).set_active(true);
  sides->gtkSegment(0).set_active(true);
  EXPECT_EQ(profile().integerForKey("star_angles"), 4);
  EXPECT_EQ(profile().integerForKey("polygon_sides"), 0);
  // A stored count out of range is shown as no count of its own and left as it is.
  profile().setInteger(9, "star_angles");
  auto odd = strip(11);
  EXPECT_NE(dynamic_cast<platform::SegmentedControl&>(*odd->subviews().front()).selectedSegment(), 9);
  EXPECT_EQ(profile().integerForKey("star_angles"), 9);
}

TEST_F(OptionStrip, ArrowStyleIsEnabledOnlyWithArrows) {
  profile().setInteger(0, "line_arrow_type");
  profile().setInteger(3, "line_arrow_style");
  auto line = strip(12);
  auto& style = control<platform::PopUpButton>(*line, 2);
  auto* type = dynamic_cast<platform::PopUpButton*>(line->subviews()[1].get());
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(type->indexOfSelectedItem(), 0);
  EXPECT_EQ(style.titleOfSelectedItem(), "Diamond");
  EXPECT_FALSE(style.isEnabled());
  type->gtkComboBox().set_active(1);  // "One Arrow"
  EXPECT_EQ(profile().integerForKey("line_arrow_type"), 1);
  EXPECT_TRUE(style.isEnabled());
  style.gtkComboBox().set_active(4);
  EXPECT_EQ(profile().integerForKey("line_arrow_style"), 4);
  type->gtkComboBox().set_active(0);  // "Line"
  EXPECT_FALSE(style.isEnabled());
  // Built with two arrows stored, the style is enabled from the start.
  profile().setInteger(2, "line_arrow_type");
  auto again = strip(12);
  EXPECT_TRUE(control<platform::PopUpButton>(*again, 2).isEnabled());
  EXPECT_EQ(std::vector<std::string>{}, commands);
}

TEST_F(OptionStrip, LineWidthAppliesWhileTypingAndIgnoresNonsense) {
  profile().setInteger(3, "line_width");
  for (const int tool : {12, 14, 15, 10}) {
    profile().setInteger(3, "line_width");
    auto widths = strip(tool);
    auto& field = control<platform::TextField>(*widths, 1);
    auto& stepper = control<platform::Stepper>(*widths, 1);
    EXPECT_EQ(field.stringValue(), "3");
    EXPECT_DOUBLE_EQ(stepper.doubleValue(), 3);
    EXPECT_DOUBLE_EQ(stepper.minValue(), 1);
    EXPECT_DOUBLE_EQ(stepper.maxValue(), 1000);
    EXPECT_DOUBLE_EQ(stepper.frame().origin.x, field.frame().origin.x + 30);
    expectFrame(field, {field.frame().origin.x, 7.5, 30, 20});
    field.gtkEntry().set_text("7");
    EXPECT_EQ(profile().integerForKey("line_width"), 7) << tool;
    EXPECT_DOUBLE_EQ(stepper.doubleValue(), 7);
    for (const char* nonsense : {"", "0", "abc", "-4"}) {
      field.gtkEntry().set_text(nonsense);
      EXPECT_EQ(profile().integerForKey("line_width"), 7) << '"' << nonsense << '"';
      EXPECT_DOUBLE_EQ(stepper.doubleValue(), 7);
    }
  }
}

TEST_F(OptionStrip, RoundWidthAppliesOnReturnOnly) {
  profile().setInteger(12, "round_width");
  auto round = strip(4);
  auto& field = control<platform::TextField>(*round, 3);
  auto& stepper = control<platform::Stepper>(*round, 3);
  ASSERT_EQ(labels(*round).size(), 1u);
  EXPECT_DOUBLE_EQ(field.frame().origin.x, rightEdge(*labels(*round)[0]));
  EXPECT_EQ(field.stringValue(), "12");
  field.gtkEntry().set_text("7");
  EXPECT_EQ(profile().integerForKey("round_width"), 12);
  EXPECT_DOUBLE_EQ(stepper.doubleValue(), 12);
  field.gtkEntry().activate();
  EXPECT_EQ(profile().integerForKey("round_width"), 7);
  EXPECT_DOUBLE_EQ(stepper.doubleValue(), 7);
  for (const char* nonsense : {"0", "", "wide"}) {
    field.gtkEntry().set_text(nonsense);
    field.gtkEntry().activate();
    EXPECT_EQ(profile().integerForKey("round_width"), 7) << '"' << nonsense << '"';
    EXPECT_DOUBLE_EQ(stepper.doubleValue(), 7);
  }
}

TEST_F(OptionStrip, SteppersWriteTheWidthAndShowItInTheField) {
  profile().setInteger(999, "line_width");
  auto line = strip(12);
  auto& field = control<platform::TextField>(*line, 1);
  auto& stepper = control<platform::Stepper>(*line, 1);
  stepper.gtkUpButton().clicked();
  EXPECT_EQ(profile().integerForKey("line_width"), 1000);
  EXPECT_EQ(field.stringValue(), "1000");
  stepper.gtkUpButton().clicked();  // the top of the range holds
  EXPECT_EQ(profile().integerForKey("line_width"), 1000);
  profile().setInteger(1, "round_width");
  auto round = strip(4);
  auto& roundStepper = control<platform::Stepper>(*round, 3);
  roundStepper.gtkDownButton().clicked();  // the bottom holds too
  EXPECT_EQ(profile().integerForKey("round_width"), 1);
  roundStepper.gtkUpButton().clicked();
  EXPECT_EQ(profile().integerForKey("round_width"), 2);
  EXPECT_EQ(control<platform::TextField>(*round, 3).stringValue(), "2");
  // The line strip's field was not touched by the round strip's stepper.
  EXPECT_EQ(field.stringValue(), "1000");
}

TEST_F(OptionStrip, BuildingAStripWritesNothingAndSendsNothing) {
  profile().setInteger(3, "line_width");
  profile().setInteger(5, "round_width");
  profile().setInteger(2, "line_arrow_type");
  profile().setInteger(1, "star_angles");
  const std::filesystem::path file = profile().filePath();
  ASSERT_TRUE(std::filesystem::exists(file));
  std::filesystem::remove(file);
  for (const int tool : {0, 1, 3, 4, 5, 10, 11, 12, 13, 14, 15, 16, 17}) {
    auto built = strip(tool);
    auto& zoom = control<platform::PopUpButton>(*built, 100);
    expectFrame(zoom, {1200 - 80, 4.5, 80, 26});
    EXPECT_EQ(zoom.titleOfSelectedItem(), "100%");
  }
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(commands.empty());
  // The user's zoom choice is sent.
  auto any = strip(3);
  control<platform::PopUpButton>(*any, 100).gtkComboBox().set_active(6);
  EXPECT_EQ(commands, std::vector<std::string>{"zoom 6"});
}

TEST_F(OptionStrip, ToolsWithoutOptionsGetTheZoomAlone) {
  for (const int tool : {3, 5, 7, 8, 16}) {
    auto plain = strip(tool);
    ASSERT_EQ(plain->subviews().size(), 1u) << tool;
    EXPECT_EQ(tagOfView(*plain->subviews().front()), 100);
  }
}

}  // namespace
