// At every zoom, in a window of odd size (the centred page lands on a half pixel) with rulers, real GDK events land
// where the pixels show the page: its corner is found in the picture, never through the views' own conversions.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "canvas_test_support.h"
#include "document/CMLayer.h"
#include "platform/core/geometry_strings.h"
#include "platform/ui/scroll_view.h"
#include "real_pointer_support.h"

namespace {

using platform::test::pixelAt;

class PointerAgreement : public canvas_testing::CanvasTest, public testing::WithParamInterface<float> {};

TEST_P(PointerAgreement, TheRulersTheDrawingAndTheStoredPlacesAreWhereThePointerIs) {
  const double z = GetParam();
  settings().setBool(true, "show_ruler");
  settings().setInteger(0, "unit_index");
  platform::Window window({701, 531});
  auto scrollView = std::make_shared<platform::ScrollView>(platform::Rect{0, 0, 701, 531});
  auto frameView = std::make_shared<CMFrameEditorView>();
  scrollView->setDocumentView(frameView);
  window.setContentView(scrollView);
  frameView->awakeFromNib();
  // A bar 1 unit high at y 100.5 (across two pixel rows at 100 %) and a rectangle at (100, 60) on a green page.
  frameView->setDocument(
      canvas_testing::documentWith(240, 180, float(z), canvas_testing::colourRecord(10, 200, 30, 255),
                                   {canvas_testing::filledRectangle(1, {8, 100.5, 132, 1}, 0, 0, 0),
                                    canvas_testing::filledRectangle(2, {100, 60, 40, 30}, 0, 0, 255)}));
  const platform::Size shown = scrollView->documentVisibleRect().size, canvas = frameView->getCanvasSize();
  frameView->setFrameSize({std::max(shown.width, canvas.width), std::max(shown.height, canvas.height)});
  ASSERT_TRUE(platform::test::showAndSettle(window));
  const auto image = platform::test::renderWidget(window.host());
  const auto is = [&](int x, int y, int r, int g, int b) {
    const platform::test::Pixel p = pixelAt(image.get(), x, y);
    return p.red == r && p.green == g && p.blue == b;
  };
  int x0 = 0, y0 = 0;
  while (!is(x0, y0, 10, 200, 30) && y0 < 531) x0 = (x0 + 1) % 701, y0 += x0 == 0;
  // The rulers' zero ticks stand on the page's first column and row (every tick crosses row or column 14); at 25 %
  // the ruler shows every third tick, counted from its end.
  const auto tickAlone = [&](int x, int y, int dx, int dy) {
    return is(x, y, 100, 100, 100) && !is(x - dx, y - dy, 100, 100, 100) && !is(x + dx, y + dy, 100, 100, 100);
  };
  EXPECT_TRUE(z == 0.25 || (tickAlone(x0, 14, 1, 0) && tickAlone(14, y0, 0, 1)));
  // The bar drawn sharp, on no more rows than its height at the zoom fills; a click on each of them selects it.
  std::set<int> rows;
  for (int y = y0; y < y0 + int(110 * z); ++y)
    if (!is(x0 + int(60 * z), y, 10, 200, 30)) rows.insert(y);
  ASSERT_TRUE(!rows.empty() && rows.size() <= std::max(2u, unsigned(z))) << rows.size();
  EXPECT_EQ(*rows.begin(), y0 + int(100.5 * z));
  // Clicks and drags at page points, through the content view, y-up from the window's bottom.
  canvas_testing::RealPointer hand(window, *scrollView);
  const auto at = [&](double x, double y) { return platform::Point{x0 + x * z, 531 - (y0 + y * z)}; };
  const auto click = [&](double x, double y) {
    frameView->editor().clickOutside();
    hand.press(at(x, y));
    hand.release(at(x, y));
    return frameView->editor().selectedLayer() ? frameView->editor().selectedLayer()->layerId() : 0;
  };
  for (const int row : rows) EXPECT_EQ(click(60, (row - y0) / z), 1) << row;
  const auto place = [](const std::shared_ptr<CMLayer>& layer, std::vector<const char*> keys) {
    std::vector<double> values;
    for (const char* key : keys) values.push_back(layer->data()->get(key).doubleValue());
    return values;
  };
  // A rectangle dragged with the tool is stored where it was drawn; one turned with its handle stays where it was.
  frameView->editor().selectTool(kCMToolRectangle, nullptr);
  hand.drag(at(32, 24), at(96, 72));
  EXPECT_EQ(place(frameView->editor().layers().back(), {"x", "y", "width", "height"}),
            (std::vector<double>{32, 24, 64, 48}));
  ASSERT_EQ(click(120, 75), 2);
  const auto turned = frameView->editor().selectedLayer();
  const platform::ArrayRef handles = turned->editingPoints();
  for (const platform::Value& handle : *handles)
    if (handle.dictionary()->get("type").intValue() == kCMHandleRotateTop) {
      const platform::Point p = platform::pointFromString(handle.dictionary()->get("point").string());
      hand.drag(at(p.x, p.y), at(p.x + 30 / z, p.y));
    }
  EXPECT_NE(place(turned, {"rotate"})[0], 0);
  EXPECT_EQ(place(turned, {"x", "y"}), (std::vector<double>{100, 60}));
}

INSTANTIATE_TEST_SUITE_P(Zooms, PointerAgreement, testing::Values(0.25f, 0.5f, 1.0f, 2.0f, 4.0f));

}  // namespace
