// Controls send their action for the user's changes only: every change made
// from code runs under the signal guard.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/button.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "platform/ui/stepper.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

class Controls : public testing::Test {
 protected:
  void SetUp() override {
    root = std::make_shared<View>(Rect{0, 0, 400, 300});
    window.setContentView(root);
  }
  // Adds the control, counts its actions and shows the window.
  template <typename T>
  std::shared_ptr<T> install(std::shared_ptr<T> control) {
    control->setAction([this](Control& sender) {
      ++actions;
      lastSender = &sender;
    });
    root->addSubview(control);
    EXPECT_TRUE(test::showAndSettle(window));
    return control;
  }

  Window window{{400, 300}};
  std::shared_ptr<View> root;
  int actions = 0;
  Control* lastSender = nullptr;
};

TEST_F(Controls, MomentaryButtonSendsOnAClickOnly) {
  auto button = install(std::make_shared<Button>(Rect{10, 10, 120, 40}, ButtonType::MomentaryPush, "Go"));
  button->setTag(7);
  button->setTitle("Again");
  EXPECT_EQ(actions, 0);
  test::clickButton(button->gtkButton());
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(lastSender, button.get());
  EXPECT_EQ(lastSender->tag(), 7);
}

TEST_F(Controls, CheckBoxSetByCodeIsSilentAndAClickSendsOnce) {
  auto box = install(std::make_shared<Button>(Rect{10, 10, 120, 40}, ButtonType::Switch, "Mask"));
  box->setState(1);
  box->setState(0);
  box->setState(1);
  EXPECT_EQ(actions, 0);
  EXPECT_EQ(box->state(), 1);
  test::clickButton(box->gtkButton());
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(box->state(), 0);
}

TEST_F(Controls, ToggleButtonSwapsToItsAlternateImageWhileOn) {
  auto off = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 16, 16);
  auto on = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, true, 8, 16, 16);
  auto toggle = install(std::make_shared<Button>(Rect{10, 10, 40, 40}, ButtonType::Toggle));
  toggle->setImage(off);
  toggle->setAlternateImage(on);
  auto* image = dynamic_cast<Gtk::Image*>(toggle->gtkButton().get_image());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->get_pixbuf(), off);
  toggle->setState(1);
  EXPECT_EQ(image->get_pixbuf(), on);
  EXPECT_EQ(actions, 0);
  test::clickButton(toggle->gtkButton());
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(toggle->state(), 0);
  EXPECT_EQ(image->get_pixbuf(), off);
}

TEST_F(Controls, SliderSetByCodeIsSilentAndAUserStepSendsOnce) {
  auto slider = install(std::make_shared<Slider>(Rect{10, 10, 200, 30}, 0, 100, 50));
  slider->setDoubleValue(75);
  slider->setDoubleValue(250);  // clamped
  slider->setDoubleValue(std::nan(""));
  slider->setRange(0, 10);
  EXPECT_EQ(actions, 0);
  EXPECT_EQ(slider->doubleValue(), 10);
  slider->setDoubleValue(5);
  // The keyboard's step: the same signal path as the user's drag.
  g_signal_emit_by_name(slider->gtkScale().gobj(), "move-slider", GTK_SCROLL_STEP_BACKWARD);
  EXPECT_EQ(actions, 1);
  EXPECT_LT(slider->doubleValue(), 5);
}

TEST_F(Controls, PopUpSelectionByCodeIsSilentAndByTheWidgetSendsOnce) {
  auto popUp = install(std::make_shared<PopUpButton>(Rect{10, 10, 150, 30}));
  popUp->addItemsWithTitles({"12.5%", "25%", "50%"});
  popUp->selectItemWithTitle("25%");
  popUp->selectItemAtIndex(9);  // out of range: nothing selected
  EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
  popUp->selectItemAtIndex(2);
  EXPECT_EQ(actions, 0);
  EXPECT_EQ(popUp->titleOfSelectedItem(), "50%");
  popUp->gtkComboBox().set_active(0);  // what the menu does when the user picks
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(popUp->titleOfSelectedItem(), "12.5%");
  popUp->removeAllItems();
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(popUp->titleOfSelectedItem(), "");
}

TEST_F(Controls, SegmentedControlSendsOncePerUserSelection) {
  auto segments = install(
      std::make_shared<SegmentedControl>(Rect{10, 10, 240, 30}, std::vector<std::string>{"Left", "Center", "Right"}));
  segments->setSelectedSegment(2);
  segments->setSelectedSegment(5);
  EXPECT_EQ(actions, 0);
  EXPECT_EQ(segments->selectedSegment(), 2);
  test::clickButton(segments->gtkSegment(0));
  // Two buttons toggled (2 off, 0 on); one action.
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(segments->selectedSegment(), 0);
  EXPECT_EQ(segments->labelForSegment(1), "Center");
}

TEST_F(Controls, NumberFieldsWriteAndReadPointsUnderADecimalCommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the de_DE.UTF-8 locale (locales-all) is needed";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  auto field = install(std::make_shared<TextField>(Rect{10, 10, 120, 30}));
  NumberFormat format;
  format.minimumFractionDigits = 1;
  format.maximumFractionDigits = 3;
  format.suffix = "%";
  field->setNumberFormat(format);
  field->setDoubleValue(42.2);
  EXPECT_EQ(field->stringValue(), "42.2%");
  field->setDoubleValue(100);
  EXPECT_EQ(field->stringValue(), "100.0%");
  EXPECT_EQ(field->doubleValue(), 100);
  field->gtkEntry().set_text("2.5");  // the user types
  field->gtkEntry().activate();
  EXPECT_EQ(field->stringValue(), "2.5%");
  EXPECT_EQ(field->doubleValue(), 2.5);
  std::setlocale(LC_ALL, previous.c_str());
}

TEST_F(Controls, NumberFieldSendsOnEndOfEditingAndRevertsInvalidText) {
  auto field = install(std::make_shared<TextField>(Rect{10, 10, 120, 30}));
  NumberFormat format;
  format.maximumFractionDigits = 1;
  format.minimum = 0;
  format.maximum = 100;
  format.suffix = "%";
  field->setNumberFormat(format);
  int edits = 0;
  field->setTextDidChange([&](TextField&) { ++edits; });
  field->setDoubleValue(42.25);
  EXPECT_EQ(field->stringValue(), "42.2%");  // 42.25 rounds to even in binary: 42.2
  EXPECT_EQ(actions, 0);
  EXPECT_EQ(edits, 0);

  field->gtkEntry().set_text("150");  // the user types
  EXPECT_EQ(edits, 1);
  field->gtkEntry().activate();
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(field->stringValue(), "100%");
  EXPECT_EQ(field->doubleValue(), 100);

  field->gtkEntry().set_text("abc");
  field->gtkEntry().activate();
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(field->stringValue(), "100%");
}

TEST_F(Controls, StepperClicksStepWithinTheRange) {
  auto stepper = install(std::make_shared<Stepper>(Rect{10, 10, 20, 40}, 0, 2, 1));
  // Both arrows fit in the frame.
  const Gtk::Allocation frame = stepper->widget().get_allocation();
  const Gtk::Allocation down = stepper->gtkDownButton().get_allocation();
  EXPECT_LE(down.get_y() + down.get_height(), frame.get_y() + frame.get_height());
  EXPECT_GT(down.get_height(), 0);
  stepper->setDoubleValue(1);
  EXPECT_EQ(actions, 0);
  test::clickButton(stepper->gtkUpButton());
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(stepper->doubleValue(), 2);
  stepper->step(1);  // at the top: stays
  EXPECT_EQ(stepper->doubleValue(), 2);
  stepper->setValueWraps(true);
  stepper->step(1);
  EXPECT_EQ(stepper->doubleValue(), 0);
  stepper->step(-1);
  EXPECT_EQ(stepper->doubleValue(), 2);
  EXPECT_EQ(actions, 4);
}

}  // namespace
}  // namespace platform
