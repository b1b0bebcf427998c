// Views drawn by GTK in a real window: frames land where y-up geometry says,
// fills follow the view's orientation and text stands upright either way.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/main_queue.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/menu_bar.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

using test::pixelAt;

// Fills `area` (in its own coordinates) with opaque red.
class FillView : public View {
 public:
  FillView(Rect frame, Rect area, bool flipped = false) : View(frame), area_(area), flipped_(flipped) {}
  bool isFlipped() const override { return flipped_; }
  void drawRect(const Rect&) override {
    GraphicsContext* context = GraphicsContext::current();
    ASSERT_NE(context, nullptr);
    context->setFillColor({1, 0, 0, 1});
    context->rectFill(area_);
  }

 private:
  Rect area_;
  bool flipped_;
};

class TextView : public View {
 public:
  TextView(Rect frame, bool flipped) : View(frame), flipped_(flipped) {}
  bool isFlipped() const override { return flipped_; }
  void drawRect(const Rect&) override {
    TextAttributes attributes;
    attributes.font = Font::systemFont(60);
    attributes.foregroundColor = Color{0, 0, 0, 1};
    AttributedString("T", attributes).drawInRect(bounds());
  }

 private:
  bool flipped_;
};

bool isRed(const test::Pixel& p) { return p.alpha == 255 && p.red == 255 && p.green == 0 && p.blue == 0; }

TEST(ViewRendering, UnflippedChildFrameLandsAtGtkY70AndIsPainted) {
  Window window({100, 100});
  auto root = std::make_shared<View>(Rect{0, 0, 100, 100});
  auto child = std::make_shared<FillView>(Rect{10, 10, 50, 20}, Rect{0, 0, 50, 20});
  root->addSubview(child);
  window.setContentView(root);
  ASSERT_TRUE(test::showAndSettle(window));
  ASSERT_EQ(root->frame().size, (Size{100, 100}));

  const Gtk::Allocation rootAllocation = root->widget().get_allocation();
  const Gtk::Allocation childAllocation = child->widget().get_allocation();
  EXPECT_EQ(childAllocation.get_x() - rootAllocation.get_x(), 10);
  EXPECT_EQ(childAllocation.get_y() - rootAllocation.get_y(), 70);
  EXPECT_EQ(childAllocation.get_height(), 20);

  auto image = test::renderWidget(root->widget());
  EXPECT_TRUE(isRed(pixelAt(image.get(), 10, 70)));
  EXPECT_TRUE(isRed(pixelAt(image.get(), 59, 89)));
  EXPECT_EQ(pixelAt(image.get(), 35, 69).alpha, 0);
  EXPECT_EQ(pixelAt(image.get(), 35, 90).alpha, 0);
  EXPECT_EQ(pixelAt(image.get(), 9, 80).alpha, 0);
  EXPECT_EQ(pixelAt(image.get(), 60, 80).alpha, 0);
}

TEST(ViewRendering, YUpFillPaintsTheBottomRowsAndFlippedTheTop) {
  Window window({100, 100});
  auto root = std::make_shared<View>(Rect{0, 0, 100, 100});
  auto up = std::make_shared<FillView>(Rect{0, 0, 40, 40}, Rect{0, 0, 10, 10});
  auto down = std::make_shared<FillView>(Rect{50, 0, 40, 40}, Rect{0, 0, 10, 10}, true);
  root->addSubview(up);
  root->addSubview(down);
  window.setContentView(root);
  ASSERT_TRUE(test::showAndSettle(window));
  auto image = test::renderWidget(root->widget());
  // Both children sit at the window's bottom (GTK rows 60…99).
  EXPECT_TRUE(isRed(pixelAt(image.get(), 5, 95)));  // y-up: the child's bottom-left
  EXPECT_EQ(pixelAt(image.get(), 5, 65).alpha, 0);
  EXPECT_TRUE(isRed(pixelAt(image.get(), 55, 65)));  // flipped: the child's top-left
  EXPECT_EQ(pixelAt(image.get(), 55, 95).alpha, 0);
}

// Rows of a rendered "T", top to bottom: the crossbar (wide) must come before the stem (narrow).
void expectUprightT(bool flipped) {
  Window window({120, 120});
  auto root = std::make_shared<View>(Rect{0, 0, 120, 120});
  auto text = std::make_shared<TextView>(Rect{0, 0, 120, 120}, flipped);
  root->addSubview(text);
  window.setContentView(root);
  ASSERT_TRUE(test::showAndSettle(window));
  auto image = test::renderWidget(root->widget());
  int firstInkRow = -1;
  int lastInkRow = -1;
  auto inkWidth = [&](int y) {
    int count = 0;
    for (int x = 0; x < 120; ++x) count += pixelAt(image.get(), x, y).alpha > 128 ? 1 : 0;
    return count;
  };
  for (int y = 0; y < 120; ++y) {
    if (inkWidth(y) == 0) continue;
    if (firstInkRow < 0) firstInkRow = y;
    lastInkRow = y;
  }
  ASSERT_GE(firstInkRow, 0) << "no ink";
  ASSERT_GT(lastInkRow - firstInkRow, 20);
  EXPECT_GT(inkWidth(firstInkRow + 2), 2 * inkWidth(lastInkRow - 2));
  // drawInRect: starts at the rectangle's top in both orientations.
  EXPECT_LT(firstInkRow, 40);
}

TEST(ViewRendering, TextInAnUnflippedViewIsNotMirrored) { expectUprightT(false); }
TEST(ViewRendering, TextInAFlippedViewIsNotMirrored) { expectUprightT(true); }

// Keeps the rectangles GTK asks it to draw.
class DirtyRecordingView : public View {
 public:
  using View::View;
  bool isFlipped() const override { return true; }
  void drawRect(const Rect& dirtyRect) override { drawn.push_back(dirtyRect); }
  std::vector<Rect> drawn;
};

TEST(ViewRendering, ARectangleMarkedForDisplayIsDrawnWhereverTheViewSits) {
  Window window(Size{300, 300});
  auto outer = std::make_shared<View>(Rect{40, 30, 200, 250});
  auto inner = std::make_shared<DirtyRecordingView>(Rect{20, 10, 150, 200});
  outer->addSubview(inner);
  window.contentView()->addSubview(outer);
  ASSERT_TRUE(test::showAndSettle(window));
  inner->drawn.clear();
  inner->setNeedsDisplayInRect({10, 100, 50, 24});
  iterateMainLoopUntil([&] { return !inner->drawn.empty(); }, std::chrono::milliseconds(2000));
  ASSERT_FALSE(inner->drawn.empty()) << "the marked part is drawn";
  const Rect dirty = inner->drawn.front();
  EXPECT_LE(dirty.origin.y, 100);
  EXPECT_GE(dirty.origin.y + dirty.size.height, 124);
  EXPECT_LE(dirty.origin.x, 10);
  EXPECT_LT(dirty.size.height, 200) << "only that part";
}

TEST(ViewRendering, ContentViewFollowsTheWindowAndKeepsChildrenAtTheBottom) {
  Window window({100, 100});
  auto root = std::make_shared<View>(Rect{0, 0, 100, 100});
  auto child = std::make_shared<FillView>(Rect{0, 0, 10, 10}, Rect{0, 0, 10, 10});
  root->addSubview(child);
  window.setContentView(root);
  ASSERT_TRUE(test::showAndSettle(window));
  window.gtkWindow().resize(100, 150);
  ASSERT_TRUE(iterateMainLoopUntil([&] { return root->frame().size.height == 150; }, std::chrono::seconds(5)));
  test::processPendingEvents();
  const Gtk::Allocation childAllocation = child->widget().get_allocation();
  EXPECT_EQ(childAllocation.get_y() - root->widget().get_allocation().get_y(), 140);
}

TEST(ViewRendering, WindowSnapshotShowsTheContentBelowTheMenuBar) {
  Window window({100, 100});
  auto root = std::make_shared<FillView>(Rect{0, 0, 100, 100}, Rect{0, 0, 100, 100});
  window.setContentView(root);
  auto bar = std::make_shared<MenuBar>();
  bar->addMenu("File");
  window.setMainMenu(bar);
  ASSERT_TRUE(test::showAndSettle(window));
  auto image = test::snapshotWindow(window);
  const int barHeight = bar->gtkMenuBar().get_allocated_height();
  ASSERT_GT(barHeight, 0);
  EXPECT_EQ(cairo_image_surface_get_height(image.get()), window.gtkWindow().get_allocated_height());
  EXPECT_FALSE(isRed(pixelAt(image.get(), 50, barHeight / 2)));
  EXPECT_TRUE(isRed(pixelAt(image.get(), 50, barHeight + 1)));
  EXPECT_TRUE(isRed(pixelAt(image.get(), 99, cairo_image_surface_get_height(image.get()) - 1)));
}

}  // namespace
}  // namespace platform
