// A layer dragged in the layers list with the real pointer (the X server's test extension): GTK's own drag from
// the table to itself reorders the document, and undo puts the order back.

#include <gtest/gtest.h>

#include <vector>

#include "main_window_fixture.h"
#include "platform/ui/button.h"
#include "real_clicks.h"
#include "ui/CMLayersPanelView.h"
#include "ui/CMTopToolbarView.h"
#include "ui_test_harness.h"

namespace ui_testing {
namespace {

class LayersDrag : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!platform::test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";
    MainWindowTest::SetUp();
    document = newDrawing();
    ASSERT_NE(document, nullptr);
    platform::ArrayRef layers = document->data()->array("layers");
    for (int id = 1; id <= 4; ++id)
      layers->add(platform::Dictionary::make({{"id", id}, {"type", 0}, {"visible", true}, {"name", "L" + std::to_string(id)}}));
    window->updateDocument();
    ASSERT_TRUE(platform::test::showAndSettle(window->window()));
    auto* button = dynamic_cast<platform::Button*>(window->mainView()->topToolbar().buttonWithTag(3));
    ASSERT_NE(button, nullptr);
    platform::test::clickOn(button->gtkButton());
    settle();
    ASSERT_NE(window->layersPanel(), nullptr);
  }

  void pointerTo(double x, double y) {
    int screenX = 0;
    int screenY = 0;
    platform::View& table = window->layersPanel()->tableView();
    const platform::Point pixel = table.localToGtk({x, y});
    platform::test::screenPointOf(table.widget(), static_cast<int>(pixel.x), static_cast<int>(pixel.y), screenX,
                                  screenY);
    platform::test::fakePointerMotion(screenX, screenY);
    platform::test::settleFor(60'000);
  }

  std::shared_ptr<CMDocument> document;
};

TEST_F(LayersDrag, ARowDraggedBelowAnotherMovesItsLayerThere) {
  constexpr double row = CMLayersPanelView::kRowHeight;
  pointerTo(100, row * 0.5);
  platform::test::fakeButton(1, true);
  platform::test::settleFor(100'000);
  for (double y = row * 0.5 + 4; y <= row * 3; y += 6) pointerTo(100, y);
  pointerTo(100, row * 3);
  ASSERT_TRUE(platform::test::settleUntil([&] { return window->layersPanel()->tableView().dropGap() == 3u; }))
      << "the drop line shows under row 2";
  platform::test::fakeButton(1, false);
  ASSERT_TRUE(platform::test::settleUntil([&] { return layerIds(document).front() == "2"; }));
  EXPECT_EQ(layerIds(document), (std::vector<std::string>{"2", "3", "1", "4"}));
  EXPECT_FALSE(window->layersPanel()->tableView().dropGap());
  document->undo();
  settle();
  EXPECT_EQ(layerIds(document), (std::vector<std::string>{"1", "2", "3", "4"}));
}

}  // namespace
}  // namespace ui_testing
