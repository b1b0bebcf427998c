// Library items dragged onto the canvas with the real pointer (the X server's test extension): GTK's own drag
// from the thumbnail ends on the canvas, which adds a copy where the drag ended.

#include <gtest/gtest.h>

#include "canvas/CMFrameEditorView.h"
#include "main_window_fixture.h"
#include "platform/ui/button.h"
#include "real_clicks.h"
#include "ui/CMLibraryGridView.h"
#include "ui/CMLibraryItemPrototype.h"
#include "ui/CMLibraryPanelView.h"
#include "ui/CMShapeItemButton.h"
#include "ui/CMTopToolbarView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

class LibraryDrag : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!platform::test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";
    MainWindowTest::SetUp();
    document = newDrawing();
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(platform::test::showAndSettle(window->window()));
    auto* button = dynamic_cast<platform::Button*>(window->mainView()->topToolbar().buttonWithTag(5));
    ASSERT_NE(button, nullptr);
    platform::test::clickOn(button->gtkButton());
    settle();
    ASSERT_NE(window->libraryPanel(), nullptr);
    ASSERT_FALSE(window->libraryPanel()->collectionView().items().empty());
  }

  std::size_t layerCount() const { return document->data()->array("layers")->size(); }
  platform::DictRef lastLayer() const { return document->data()->array("layers")->last().dictionary(); }
  CMLibraryItemPrototype& cell(std::size_t index) { return *window->libraryPanel()->collectionView().items().at(index); }

  // The root-window pixel of a point of a view (its own coordinates).
  static void onScreen(platform::View& view, platform::Point point, int& x, int& y) {
    const platform::Point pixel = view.localToGtk(point);
    platform::test::screenPointOf(view.widget(), static_cast<int>(pixel.x), static_cast<int>(pixel.y), x, y);
  }
  // A canvas point shown in the middle of the work view, whatever the zoom and scrolling.
  platform::Point visibleCanvasPoint() {
    int x = 0;
    int y = 0;
    platform::test::centreOnScreen(window->workView().widget(), x, y);
    int originX = 0;
    int originY = 0;
    platform::test::screenPointOf(window->editor().widget(), 0, 0, originX, originY);
    return window->editor().gtkToLocal({double(x - originX), double(y - originY)});
  }

  // Presses on the item's thumbnail, moves in small steps to the screen point and lets go there.
  void drag(std::size_t index, int toX, int toY) {
    int x = 0;
    int y = 0;
    onScreen(cell(index).view()->button(), {40, 40}, x, y);
    platform::test::fakePointerMotion(x, y);
    platform::test::settleFor(80'000);
    platform::test::fakeButton(1, true);
    platform::test::settleFor(80'000);
    for (int step = 1; step <= 12; ++step) {
      platform::test::fakePointerMotion(x + (toX - x) * step / 12, y + (toY - y) * step / 12);
      platform::test::settleFor(30'000);
    }
    platform::test::fakeButton(1, false);
    platform::test::settleFor(300'000);
    settle();
  }

  std::shared_ptr<CMDocument> document;
};

TEST_F(LibraryDrag, ADropAddsACopyCentredOnTheDropPointInDocumentUnits) {
  for (const int zoomIndex : {4, 5}) {  // 100 % and 200 %
    SCOPED_TRACE(zoomIndex);
    window->workView().setZoomIndex(zoomIndex);
    platform::test::settleFor(300'000);  // GTK lays the larger canvas out on its next frames
    const float zoom = window->editor().zoom();
    const platform::Point target = visibleCanvasPoint();
    int x = 0;
    int y = 0;
    onScreen(window->editor(), target, x, y);
    const platform::DictRef libraryRecord = platform::dictionaryCopy(cell(1).shapeItem()->shapeData());
    const std::size_t before = layerCount();
    drag(1, x, y);
    ASSERT_TRUE(platform::test::settleUntil([&] { return layerCount() == before + 1; }));
    // Centred on the drop point, in document units.
    const auto middle = [&](const char* origin, const char* side) {
      return lastLayer()->get(origin).doubleValue() + lastLayer()->get(side).doubleValue() / 2;
    };
    EXPECT_NEAR(middle("x", "width"), target.x / zoom, 1.5 / zoom);
    EXPECT_NEAR(middle("y", "height"), target.y / zoom, 1.5 / zoom);
    EXPECT_TRUE(cell(1).shapeItem()->shapeData()->isEqual(*libraryRecord)) << "the library keeps its own record";
    EXPECT_NE(lastLayer(), cell(1).shapeItem()->shapeData());
    document->undo();
    settle();
    EXPECT_EQ(layerCount(), before);
  }
}

TEST_F(LibraryDrag, ADragEndingOffTheCanvasAddsNothingAndSlidesBack) {
  int x = 0;
  int y = 0;
  onScreen(cell(3).view()->button(), {40, 40}, x, y);  // another cell of the grid
  const std::size_t before = layerCount();
  drag(0, x, y);
  EXPECT_EQ(layerCount(), before);
  CMShapeItemButton& button = cell(0).view()->button();
  EXPECT_FALSE(button.draggingFailed({double(x), double(y)}));
  onScreen(window->editor(), visibleCanvasPoint(), x, y);
  EXPECT_TRUE(button.draggingFailed({double(x), double(y)}));
}

TEST_F(LibraryDrag, TheLibraryToolPlacesTheChosenItemWhereTheMouseGoesUp) {
  int x = 0;
  int y = 0;
  onScreen(cell(2).view()->button(), {40, 40}, x, y);
  platform::test::clickOnScreen(x, y);
  ASSERT_EQ(window->editor().currentTool(), kCMToolLibraryShape);
  const std::size_t before = layerCount();
  onScreen(window->editor(), visibleCanvasPoint(), x, y);
  platform::test::clickOnScreen(x, y);
  ASSERT_TRUE(platform::test::settleUntil([&] { return layerCount() == before + 1; }));
  EXPECT_TRUE(lastLayer()->dictionary("shape")->array("points")->size() ==
              cell(2).shapeItem()->shapeData()->dictionary("shape")->array("points")->size());
}

}  // namespace
}  // namespace ui_testing
