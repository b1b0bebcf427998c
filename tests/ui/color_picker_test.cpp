// The colour picker: its button square and drawing, the balloon of fixed colours placed under it and chosen from
// with real clicks, the shared colour dialog serving one picker at a time (also through its own editor), a picker
// let go when another control of its section changes or when it is destroyed, and one undo record for a run of
// colours in the Document panel.

#include <gtkmm/colorchooserdialog.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "panel_test_support.h"
#include "platform/ui/color_panel.h"
#include "platform/ui/popup_window.h"
#include "platform/ui/slider.h"
#include "platform/ui/system_colors.h"
#include "ui/CMColorGridView.h"
#include "ui/CMColorPicker.h"
#include "ui/CMPicturePanelView.h"
#include "ui/CMRightPanelBaseView.h"

namespace {

using platform::Color;
using platform::Rect;
using platform::test::pixelAt;

void expectRect(const Rect& actual, const Rect& expected) {
  EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-4);
  EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-4);
  EXPECT_NEAR(actual.size.width, expected.size.width, 1e-4);
  EXPECT_NEAR(actual.size.height, expected.size.height, 1e-4);
}

int byte(double component) { return static_cast<int>(std::lround(component * 255)); }

void expectPixel(const platform::test::Pixel& pixel, int red, int green, int blue, const std::string& what) {
  EXPECT_NEAR(pixel.red, red, 2) << what;
  EXPECT_NEAR(pixel.green, green, 2) << what;
  EXPECT_NEAR(pixel.blue, blue, 2) << what;
  EXPECT_EQ(pixel.alpha, 255) << what;
}

TEST(ColorPickerGeometry, ButtonSquareGridCellsAndBalloonPlacement) {
  CMColorPicker picker({0, 0, 70, 20});
  expectRect(picker.btRect(), {50, 0, 20, 20});
  picker.setFrame({5, 5, 100, 30});
  expectRect(picker.btRect(), {70, 0, 30, 30});

  CMColorGridView grid({0, 0, 130, 85});
  ASSERT_EQ(grid.colors().size(), 29u);
  expectRect(grid.cellRect(7), {26, 51, 18, 13});
  expectRect(grid.raisedCellRect(7), {23, 48, 24, 19});
  expectRect(grid.cellRect(0), {6, 66, 18, 13});
  expectRect(grid.cellRect(28), {86, 6, 18, 13});
  EXPECT_EQ(grid.cellAt({35, 57}), 7);
  EXPECT_EQ(grid.cellAt({25, 57}), -1) << "the gap between cells";
  EXPECT_EQ(grid.cellAt({115, 10}), -1) << "the thirtieth cell is empty";
  const Color seventh = grid.colors()[7];
  EXPECT_EQ(byte(seventh.red()), 108);
  EXPECT_EQ(byte(seventh.green()), 225);
  EXPECT_EQ(byte(seventh.blue()), 206);
  grid.addColor("zz12ff");
  EXPECT_EQ(byte(grid.colors().back().red()), 0) << "a pair that does not scan reads 0";
  EXPECT_EQ(byte(grid.colors().back().green()), 18);
  EXPECT_EQ(byte(grid.colors().back().blue()), 255);

  struct Case {
    Rect control;
    double x;
  };
  // x = R.x + R.w/2 − 140, halves rounded away from zero.
  for (const Case& c : {Case{{100, 300, 70, 20}, -5}, Case{{100.5, 300, 70, 20}, -5}, Case{{100.5, 300, 71, 20}, -4},
                        Case{{-0.5, 300, 70, 20}, -106}, Case{{400, 300, 70, 20}, 295}}) {
    const Rect target = CMColorPanelController::targetFrame(c.control);
    EXPECT_EQ(target.origin.x, c.x) << c.control.origin.x << " " << c.control.size.width;
    EXPECT_EQ(target.origin.y, c.control.origin.y + c.control.size.height - 122);
    EXPECT_EQ(target.size.width, 280);
    EXPECT_EQ(target.size.height, 122);
  }
}

class ColorPickers : public panel_testing::PanelTest {
 protected:
  void SetUp() override {
    root = std::make_shared<platform::View>(Rect{0, 0, 300, 200});
    first = std::make_shared<CMColorPicker>(Rect{40, 120, 70, 20});
    second = std::make_shared<CMColorPicker>(Rect{40, 60, 70, 20});
    for (const auto& picker : {first, second}) {
      picker->setColor(Color::calibrated(1, 0, 0, 1));
      root->addSubview(picker);
    }
    first->setAction([this](platform::Control&) { ++firstSent; });
    second->setAction([this](platform::Control&) { ++secondSent; });
    showInWindow(root, {300, 200});
    panel_testing::awaitFocus(window().gtkWindow());
  }
  void TearDown() override {
    platform::ColorPanel::shared().close();
    panel_testing::settle();
  }

  static void press(platform::View& view, platform::Point point) {
    const platform::Point pixel = view.localToGtk(point);
    platform::test::injectButton(view.widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y);
    panel_testing::settle();
  }
  static void release(platform::View& view, platform::Point point) {
    const platform::Point pixel = view.localToGtk(point);
    platform::test::injectButton(view.widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y);
    panel_testing::settle();
  }
  static platform::Point centre(const Rect& rect) {
    return {rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2};
  }
  // GDK holds the latest motion back until another comes: the same motion twice lets the first through.
  static void move(platform::View& view, platform::Point point) {
    const platform::Point pixel = view.localToGtk(point);
    platform::test::injectMotion(view.widget(), pixel.x, pixel.y, 0);
    platform::test::injectMotion(view.widget(), pixel.x, pixel.y, 0);
    platform::iterateMainLoopUntil([] { return false; }, std::chrono::milliseconds(60));
    panel_testing::settle();
  }
  static platform::test::Pixel squarePixel(CMColorPicker& picker) {
    // Inside the square, right of the swatch's 2 points and left of the button image.
    return pixelAt(panel_testing::renderSettled(picker.widget()).get(), 52, 10);
  }
  static void dialogPicks(const Color& color) {
    Gdk::RGBA rgba;
    rgba.set_rgba(color.red(), color.green(), color.blue(), 1);
    platform::ColorPanel::shared().dialog().set_rgba(rgba);
    panel_testing::settle();
  }

  std::shared_ptr<platform::View> root;
  std::shared_ptr<CMColorPicker> first;
  std::shared_ptr<CMColorPicker> second;
  int firstSent = 0;
  int secondSent = 0;
};

TEST_F(ColorPickers, DrawsTheSwatchTheHoverAndTheOutline) {
  const auto idle = panel_testing::renderSettled(first->widget());
  expectPixel(pixelAt(idle.get(), 10, 10), 255, 0, 0, "the swatch");
  EXPECT_EQ(pixelAt(idle.get(), 52, 10).alpha, 0) << "the square without hover";
  const platform::test::Pixel outline = pixelAt(idle.get(), 1, 10);
  EXPECT_GT(outline.alpha, 60) << "the outline's half pixel outside the swatch";
  EXPECT_NEAR(outline.red, 128, 3);
  EXPECT_NEAR(outline.green, 128, 3);

  move(*first, {60, 10});
  EXPECT_TRUE(first->isHighlighted());
  expectPixel(squarePixel(*first), 221, 221, 221, "hover grey 0.867");
  move(*first, {10, 10});
  EXPECT_FALSE(first->isHighlighted());
}

TEST_F(ColorPickers, TheBalloonOpensUnderTheSwatchAndReportsOneChosenColour) {
  int originX = 0;
  int originY = 0;
  window().gtkWindow().get_window()->get_origin(originX, originY);
  click(*first, {10, 10});
  ASSERT_NE(first->panelController(), nullptr);
  platform::PopupWindow& balloon = first->panelController()->window();
  ASSERT_TRUE(balloon.isVisible());
  // Other tests' windows on the same display may take the focus at any time: only Escape closes the balloon here.
  CMColorPanelController& controller = *first->panelController();
  balloon.setDidResign([&controller](platform::PopupWindow::ResignReason reason) {
    if (reason == platform::PopupWindow::ResignReason::Cancelled) controller.closeWindow();
  });
  panel_testing::settle();
  // Centred under the control: the picker's left edge 40 in a window whose content is 200 high, its bottom at 120;
  // beside the screen's left edge, moved in to show whole.
  int x = 0;
  int y = 0;
  balloon.window().gtkWindow().get_position(x, y);
  EXPECT_EQ(x, std::max(0, originX + 40 + 35 - 140));
  EXPECT_EQ(y, originY + (200 - 120));
  int width = 0;
  int height = 0;
  balloon.window().gtkWindow().get_size(width, height);
  EXPECT_EQ(width, 280);
  EXPECT_EQ(height, 122);

  CMColorGridView& grid = first->panelController()->colorsGridView();
  // Pressed on one swatch, released on another: nothing.
  press(grid, centre(grid.cellRect(7)));
  EXPECT_TRUE(grid.drawSelected());
  release(grid, centre(grid.cellRect(8)));
  EXPECT_EQ(firstSent, 0);
  EXPECT_TRUE(balloon.isVisible());
  // The thirtieth cell is inert.
  const Rect empty{grid.cellRect(28).origin.x + grid.cellRect(1).origin.x - grid.cellRect(0).origin.x,
                   grid.cellRect(28).origin.y, grid.cellRect(28).size.width, grid.cellRect(28).size.height};
  press(grid, centre(empty));
  release(grid, centre(empty));
  EXPECT_EQ(firstSent, 0);

  press(grid, centre(grid.cellRect(7)));
  release(grid, centre(grid.cellRect(7)));
  EXPECT_EQ(firstSent, 1);
  EXPECT_FALSE(balloon.isVisible());
  EXPECT_EQ(byte(first->color().red()), 108);
  EXPECT_EQ(byte(first->color().green()), 225);
  EXPECT_EQ(byte(first->color().blue()), 206);
  expectPixel(pixelAt(panel_testing::renderSettled(first->widget()).get(), 10, 10), 108, 225, 206, "the new swatch");

  click(*first, {10, 10});
  EXPECT_TRUE(balloon.isVisible()) << "the same balloon opens again";
  EXPECT_EQ(grid.selected(), -1) << "with no swatch pressed";
  platform::test::injectKey(grid.widget(), GDK_KEY_PRESS, GDK_KEY_Escape);
  panel_testing::settle();
  EXPECT_FALSE(balloon.isVisible()) << "Escape closes it";
  EXPECT_EQ(firstSent, 1);
}

TEST_F(ColorPickers, TheColourDialogServesTheLastPickerWhoseSquareWasClicked) {
  const Color selectedColor = platform::alternateSelectedControlColor();
  click(*first, {60, 10});
  EXPECT_EQ(CMColorPicker::activePicker(), first.get());
  EXPECT_TRUE(platform::ColorPanel::shared().isVisible());
  expectPixel(squarePixel(*first), byte(selectedColor.red()), byte(selectedColor.green()), byte(selectedColor.blue()),
              "pressed look");
  click(*second, {60, 10});
  EXPECT_EQ(CMColorPicker::activePicker(), second.get());
  EXPECT_EQ(squarePixel(*first).alpha, 0) << "the first lost its pressed look";
  EXPECT_FALSE(first->isSelected());

  dialogPicks(Color::calibrated(0, 0, 1, 1));
  EXPECT_EQ(firstSent, 0);
  EXPECT_EQ(secondSent, 1);
  EXPECT_EQ(second->color(), Color::calibrated(0, 0, 1, 1));
  EXPECT_EQ(first->color(), Color::calibrated(1, 0, 0, 1));

  platform::ColorPanel::shared().close();
  panel_testing::settle();
  EXPECT_EQ(squarePixel(*second).alpha, 0) << "closing the dialog clears the pressed look";
}

// GTK's colour editor: the first widget of the type under the dialog, internal children included.
Gtk::Widget* findByTypeName(Gtk::Widget& top, const std::string& typeName) {
  std::vector<Gtk::Widget*> pending{&top};
  while (!pending.empty()) {
    Gtk::Widget* widget = pending.back();
    pending.pop_back();
    if (G_OBJECT_TYPE_NAME(widget->gobj()) == typeName) return widget;
    if (auto* container = dynamic_cast<Gtk::Container*>(widget))
      gtk_container_forall(
          container->gobj(),
          [](GtkWidget* child, gpointer data) {
            static_cast<std::vector<Gtk::Widget*>*>(data)->push_back(Glib::wrap(child));
          },
          &pending);
  }
  return nullptr;
}

TEST_F(ColorPickers, DraggingInTheDialogsEditorReportsEveryStep) {
  click(*first, {60, 10});
  Gtk::ColorChooserDialog& dialog = platform::ColorPanel::shared().dialog();
  panel_testing::settle();
  Gtk::Widget* found = findByTypeName(dialog, "GtkColorPlane");
  ASSERT_NE(found, nullptr) << "the dialog shows its editor";
  Gtk::Widget& plane = *found;
  platform::iterateMainLoopUntil([&] { return plane.get_mapped() && plane.get_allocated_width() > 10; },
                                 std::chrono::milliseconds(3000));
  const int w = plane.get_allocated_width();
  const int h = plane.get_allocated_height();
  platform::test::injectButton(plane, GDK_BUTTON_PRESS, 1, w * 0.9, h * 0.2);
  panel_testing::settle();
  const int afterPress = firstSent;
  platform::test::injectMotion(plane, w * 0.5, h * 0.5, GDK_BUTTON1_MASK);
  panel_testing::settle();
  platform::test::injectButton(plane, GDK_BUTTON_RELEASE, 1, w * 0.5, h * 0.5);
  panel_testing::settle();
  EXPECT_GE(afterPress, 1) << "the press reported a colour";
  EXPECT_GT(firstSent, afterPress) << "the drag reported another";
  EXPECT_NE(first->color(), Color::calibrated(1, 0, 0, 1));
}

TEST_F(ColorPickers, OtherControlsOfTheSectionAndDestructionLetTheDialogGo) {
  class Delegate : public CMRightPanelBaseViewDelegate {
   public:
    CMPanelValue findValue(int, int) override { return {}; }
    void setValue(const CMPanelValue& value, int propertyId, int) override {
      if (std::holds_alternative<Color>(value)) ++colours;
      last = propertyId;
    }
    bool isEnable(int, int) override { return true; }
    void didHide(CMRightPanelBaseView&) override {}
    void didNew(CMRightPanelBaseView&) override {}
    void didDelete(CMRightPanelBaseView&) override {}
    int colours = 0;
    int last = 0;
  } delegate;
  const auto row = [](const char* name, int type, int id) {
    return platform::Dictionary::make(
        {{"name", name}, {"control_type", type}, {"property_id", id}, {"min", 0}, {"max", 100}});
  };
  std::vector<platform::DictRef> rows{row("Opacity", CMRightPanelBaseView::kSlider, 1),
                                      row("Color", CMRightPanelBaseView::kColor, 2)};
  auto section = std::make_shared<CMRightPanelBaseView>(Rect{0, 0, 200, CMRightPanelBaseView::sectionHeight(rows)});
  section->setDelegate(&delegate);
  section->setParameters(rows);
  root->addSubview(section);
  panel_testing::settle();
  auto& picker = dynamic_cast<CMColorPicker&>(*section->controlWithTag(103));
  click(picker, {60, 10});
  ASSERT_EQ(CMColorPicker::activePicker(), &picker);
  dialogPicks(Color::calibrated(0, 1, 0, 1));
  EXPECT_EQ(delegate.colours, 1);
  EXPECT_EQ(delegate.last, 2);

  dynamic_cast<platform::Slider&>(*section->controlWithTag(100)).gtkScale().set_value(40);
  panel_testing::settle();
  EXPECT_EQ(delegate.last, 1);
  EXPECT_EQ(CMColorPicker::activePicker(), nullptr);
  dialogPicks(Color::calibrated(0, 0, 1, 1));
  EXPECT_EQ(delegate.colours, 1) << "the slider let the dialog go";

  auto& again = dynamic_cast<CMColorPicker&>(*section->controlWithTag(103));
  click(again, {60, 10});
  ASSERT_EQ(CMColorPicker::activePicker(), &again);
  section->removeFromSuperview();
  section.reset();
  panel_testing::settle();
  EXPECT_EQ(CMColorPicker::activePicker(), nullptr);
  EXPECT_EQ(platform::ColorPanel::shared().target(), nullptr);
  dialogPicks(Color::calibrated(1, 1, 0, 1));
  EXPECT_EQ(delegate.colours, 1) << "nothing reaches a destroyed picker";
}

class PageColour : public panel_testing::PanelTest {};

TEST_F(PageColour, ARunOfDialogColoursRegistersOneUndoRecord) {
  const platform::DictRef colour = platform::Dictionary::make({{"r", 255}, {"g", 255}, {"b", 255}, {"a", 255}});
  const platform::DictRef page =
      platform::Dictionary::make({{"layers", platform::Array::make()},
                                  {"width", 600.0F},
                                  {"height", 400.0F},
                                  {"background", platform::Dictionary::make({{"bg_color", colour}})}});
  auto document = panel_testing::documentWith(page);
  CMPicturePanelView panel;
  panel.setDocument(document);
  showInWindow(panel.view(), {250, 300});
  auto& picker = dynamic_cast<CMColorPicker&>(*panel.views()[1]->controlWithTag(101));
  click(picker, {60, 10});
  for (int step = 0; step < 5; ++step) {
    Gdk::RGBA rgba;
    rgba.set_rgba(step / 10.0, 0.5, 0.25, 1);
    platform::ColorPanel::shared().dialog().set_rgba(rgba);
    panel_testing::settle();
  }
  EXPECT_EQ(document->undoManager().undoCount(), 1u);
  EXPECT_FLOAT_EQ(colour->get("r").floatValue(), 0.4F * 255);
  EXPECT_FLOAT_EQ(colour->get("g").floatValue(), 0.5F * 255);
  EXPECT_TRUE(document->dirty());
  document->undoManager().undo();
  EXPECT_FLOAT_EQ(page->dictionary("background")->dictionary("bg_color")->get("r").floatValue(), 255);
  platform::ColorPanel::shared().close();
}

}  // namespace
