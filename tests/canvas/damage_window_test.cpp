// A shape dragged with the mouse across a drawing of hundreds of layers, in a real window: the canvas asks GTK to
// draw again only what each step of the drag changes, and the window then shows, pixel for pixel, what drawing the
// whole window anew shows.

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "canvas/CMEditorView.h"
#include "canvas_test_support.h"
#include "document/CMCaches.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "mixed_document_support.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/window.h"
#include "real_pointer_support.h"
#include "ui_test_harness.h"

namespace {

using platform::Point;
using platform::Rect;

// A canvas that counts its redraws and the area GTK asked each to draw.
class CountingCanvas : public CMEditorView {
 public:
  using CMEditorView::CMEditorView;

  void drawRect(const Rect& dirtyRect) override {
    double area = 0;
    cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(platform::GraphicsContext::current()->cairo());
    if (list->status == CAIRO_STATUS_SUCCESS) {
      for (int i = 0; i < list->num_rectangles; ++i) area += list->rectangles[i].width * list->rectangles[i].height;
    } else {
      area = dirtyRect.size.width * dirtyRect.size.height;
    }
    cairo_rectangle_list_destroy(list);
    areas.push_back(area);
    CMEditorView::drawRect(dirtyRect);
  }

  std::vector<double> areas;
};

struct PixbufDeleter {
  void operator()(GdkPixbuf* pixbuf) const { g_object_unref(pixbuf); }
};
using Pixels = std::unique_ptr<GdkPixbuf, PixbufDeleter>;

class DamageWindowTest : public canvas_testing::CanvasTest {
 protected:
  DamageWindowTest() {
    CMCaches::sharedCaches().clean();
    CMProject::shareProject().setEditMode(kCMEditModeObject);
    window_.setContentView(mainView_);
    mainView_->addSubview(canvas_);
  }
  ~DamageWindowTest() override { CMCaches::sharedCaches().clean(); }

  // Runs the main loop until the canvas has drawn again, or has drawn an area of at least `leastArea`, or `seconds`
  // have passed (a draw of these blurred layers under the sanitizers on a loaded machine takes seconds).
  void waitForDrawing(std::size_t drawsBefore, double leastArea = 0, int seconds = 30) {
    const auto drawn = [&] {
      return canvas_->areas.size() > drawsBefore &&
             std::any_of(canvas_->areas.begin() + static_cast<std::ptrdiff_t>(drawsBefore), canvas_->areas.end(),
                         [&](double area) { return area >= leastArea; });
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!drawn() && std::chrono::steady_clock::now() < deadline) {
      if (!g_main_context_iteration(nullptr, FALSE)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    platform::test::processPendingEvents();
  }

  // What the X server shows of the window now.
  Pixels shown() {
    GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(window_.gtkWindow().gobj()));
    return Pixels(gdk_pixbuf_get_from_window(window, 0, 0, 800, 600));
  }

  platform::Window window_{{800, 600}};
  std::shared_ptr<platform::View> mainView_ = std::make_shared<platform::View>(Rect{0, 0, 800, 600});
  std::shared_ptr<CountingCanvas> canvas_ = std::make_shared<CountingCanvas>(
      Rect{50, 40, double{canvas_testing::kViewWidth}, double{canvas_testing::kViewHeight}});
  canvas_testing::RealPointer pointer_{window_, *canvas_};
};

// The first pixel where two pictures of the window differ, or an empty text.
std::string differenceBetween(GdkPixbuf* a, GdkPixbuf* b) {
  const int stride = gdk_pixbuf_get_rowstride(a);
  const int rowBytes = gdk_pixbuf_get_width(a) * gdk_pixbuf_get_n_channels(a);
  for (int y = 0; y < gdk_pixbuf_get_height(a); ++y) {
    const guint8* rowA = gdk_pixbuf_read_pixels(a) + static_cast<std::ptrdiff_t>(y) * stride;
    const guint8* rowB = gdk_pixbuf_read_pixels(b) + static_cast<std::ptrdiff_t>(y) * stride;
    if (std::memcmp(rowA, rowB, static_cast<std::size_t>(rowBytes)) == 0) continue;
    for (int x = 0; x < rowBytes; ++x)
      if (rowA[x] != rowB[x])
        return "first difference at (" + std::to_string(x / gdk_pixbuf_get_n_channels(a)) + ", " +
               std::to_string(y) + ")";
  }
  return {};
}

TEST_F(DamageWindowTest, ADraggedShapeRedrawsLittleAndLeavesWhatAWholeRedrawShows) {
  // A shape with a wide shadow and a blur on top of the 400 mixed layers, many of them shadowed or blurred too.
  const std::shared_ptr<CMDocument> document = canvas_testing::mixedDocument(1, 1, true);
  const platform::DictRef dragged = canvas_testing::filledRectangle(9001, {250, 180, 70, 50}, 200, 40, 40);
  const platform::DictRef shape = dragged->dictionary("shape");
  shape->set("shadow", platform::Dictionary::make({{"use", true},
                                                   {"alpha", 0.6},
                                                   {"blurRadius", 16.0},
                                                   {"offset_x", 9.0},
                                                   {"offset_y", -7.0},
                                                   {"color", canvas_testing::colourRecord(0, 0, 60, 255)}}));
  shape->set("blur", platform::Dictionary::make({{"amount", 0.04}}));
  document->data()->array("layers")->add(dragged);
  canvas_->setDocument(document);
  ASSERT_TRUE(platform::test::showAndSettle(window_));
  const double viewArea = canvas_testing::kViewWidth * canvas_testing::kViewHeight;
  // The window's first exposure may come late on a loaded display: the drag starts once the canvas is drawn whole.
  waitForDrawing(0, viewArea);

  pointer_.press({285, 205});
  pointer_.moveTo({286, 205});
  std::size_t draws = canvas_->areas.size();
  waitForDrawing(draws, 0, 3);  // a move of one pixel may not start the drag yet
  draws = canvas_->areas.size();
  for (int step = 1; step <= 12; ++step) {
    pointer_.moveTo({285.0 + 9 * step, 205.0 + 5 * step});
    waitForDrawing(draws);
    ASSERT_GT(canvas_->areas.size(), draws) << "no redraw after step " << step;
    for (std::size_t draw = draws; draw < canvas_->areas.size(); ++draw)
      EXPECT_LT(canvas_->areas[draw], viewArea / 8) << "step " << step;
    draws = canvas_->areas.size();
  }
  pointer_.release({393, 265});
  waitForDrawing(draws, 0, 3);  // the release may change nothing that is drawn
  EXPECT_EQ(dragged->get("x").doubleValue(), 250 + 108);
  EXPECT_EQ(dragged->get("y").doubleValue(), 180 + 60);

  const Pixels afterDrag = shown();
  draws = canvas_->areas.size();
  window_.gtkWindow().queue_draw();
  waitForDrawing(draws);
  EXPECT_GT(canvas_->areas.back(), viewArea / 2) << "the whole window drawn again";
  const Pixels redrawn = shown();
  ASSERT_TRUE(afterDrag && redrawn);
  EXPECT_EQ(differenceBetween(afterDrag.get(), redrawn.get()), "");
}

}  // namespace
