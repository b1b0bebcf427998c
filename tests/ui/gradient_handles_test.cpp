// The gradient tool's handles dragged with real GDK events on a rectangle filled red to blue, at 50, 100 and 200 % and
// on a turned layer: the stored centre and radius are where the pointer put them, a handle is picked up again where
// it is drawn, and the canvas, the PNG export, the PDF export read by pdftoppm and the SVG export read by rsvg-convert
// all show the gradient that a hand computation of the pointer's places gives.

#include <gdk/gdkkeysyms.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numbers>
#include <string>

#include "../../platform/core/scratch_folder.h"
#include "io/export/CMExportManager.h"
#include "platform/core/files.h"
#include "platform/ui/pop_up_button.h"
#include "selection_fixture.h"

namespace ui_testing {
namespace {

struct HandleDrag {
  const char* name;
  float zoom;
  double rotate;  // degrees, clockwise on the page
  int type;       // 1 radial, 0 left to right
  // Where the pointer takes the centre handle, from the frame's middle, and then the radius handle, from the new
  // centre: along the layer's own axes, in page units.
  Point centreBy, radiusBy;
};
void PrintTo(const HandleDrag& row, std::ostream* os) { *os << row.name; }

class GradientHandles : public SelectionAfterEdits, public testing::WithParamInterface<HandleDrag> {};

// In the middle of the new drawing's page, which the canvas shows at every zoom.
constexpr Rect kFrame{340, 260, 120, 80};
constexpr Point kMiddle{400, 300};

// A point of the layer's own axes turned by the layer's angle about the frame's middle onto the page (y down).
Point onPage(Point inLayer, double degrees) {
  const double a = degrees * std::numbers::pi / 180, dx = inLayer.x - kMiddle.x, dy = inLayer.y - kMiddle.y;
  return {kMiddle.x + dx * std::cos(a) - dy * std::sin(a), kMiddle.y + dx * std::sin(a) + dy * std::cos(a)};
}

struct Expected {
  int type;
  double fx, fy, factor;
  // The share of the way from red to blue at a point of the layer's own axes; below 0 off the frame's inside.
  double share(Point p) const {
    const double w = kFrame.size.width, h = kFrame.size.height;
    if (std::abs(p.x - kMiddle.x) > w / 2 - 3 || std::abs(p.y - kMiddle.y) > h / 2 - 3) return -1;
    if (type == 0) {  // narrowed about the shifted middle
      const double start = kFrame.origin.x + (1 - factor) * w / 2 + fx * w;
      return std::clamp((p.x - start) / (factor * w), 0.0, 1.0);
    }
    // An ellipse of the frame's proportions whose shorter half axis is half the diagonal times the factor.
    const double s = std::min(w, h), dx = p.x - kMiddle.x - fx * w, dy = p.y - kMiddle.y - fy * h;
    return std::clamp(std::hypot(dx * s / w, dy * s / h) / (std::hypot(w, h) / 2 * factor), 0.0, 1.0);
  }
};

// A picture's red and blue (given a pixel, y down) differ from the expected ones by 2 on average and 8 at most, over
// every third pixel inside the frame; `scale` is pixels per page unit.
void expectTheGradient(const std::function<std::pair<int, int>(int, int)>& redAndBlue, double scale, double rotate,
                       const Expected& expected, const std::string& picture) {
  double total = 0;
  int worst = 0, count = 0;
  for (int y = static_cast<int>((kMiddle.y - 80) * scale); y < (kMiddle.y + 80) * scale; y += 3)
    for (int x = static_cast<int>((kMiddle.x - 80) * scale); x < (kMiddle.x + 80) * scale; x += 3) {
      const double share = expected.share(onPage({(x + 0.5) / scale, (y + 0.5) / scale}, -rotate));
      if (share < 0) continue;
      const auto [red, blue] = redAndBlue(x, y);
      const int error = std::max(std::abs(red - static_cast<int>(std::lround(255 * (1 - share)))),
                                 std::abs(blue - static_cast<int>(std::lround(255 * share))));
      total += error, worst = std::max(worst, error), ++count;
    }
  EXPECT_LE(count ? total / count : 255, 2) << picture;
  EXPECT_LE(worst, 8) << picture;
}

TEST_P(GradientHandles, FollowThePointerAndEveryPictureShowsTheGradientTheyGive) {
  const HandleDrag& row = GetParam();
  const auto stop = [](double pos) { return platform::Dictionary::make({{"pos", pos}, {"red", 1 - pos}, {"blue", pos}}); };
  const DictRef gradient = platform::Dictionary::make(
      {{"type", row.type}, {"radius_factor", 1.0}, {"markers", platform::Array::make({stop(0), stop(1)})}});
  const DictRef record = rectangle(1, kFrame);
  record->dictionary("shape")->set("fill",
                                   platform::Dictionary::make({{"use", true}, {"type", 3}, {"gradient", gradient}}));
  record->set("rotate", row.rotate);
  record->set("alpha", 1.0);
  records()->add(record);
  window->updateDocument();
  settle();
  for (int step = 0; step < 4 && document->data()->get("zoom").floatValue() != row.zoom; ++step)
    choose("View", document->data()->get("zoom").floatValue() < row.zoom ? "Zoom In" : "Zoom Out");
  ASSERT_EQ(document->data()->get("zoom").floatValue(), row.zoom);

  // Chosen with the select tool, then G, and the handles dragged: the centre, then the radius handle four tenths of
  // the width to its right.
  const double z = row.zoom, w = kFrame.size.width, h = kFrame.size.height, within = 0.6 / z;
  const auto screen = [&](Point inLayer) {
    const Point p = onPage(inLayer, row.rotate);
    return Point{p.x * z, p.y * z};
  };
  clickCanvas(screen(kMiddle));
  ASSERT_EQ(window->editor().selectedLayers().size(), 1u) << "the click chose the layer";
  platform::test::injectKey(window->editor().widget(), GDK_KEY_PRESS, GDK_KEY_g);
  settle();
  ASSERT_EQ(window->selectedTool(), kCMToolGradient);
  // The screen shows the centre handle at once, white over the gradient's red middle.
  const Point at = window->editor().convertPointToWindow(screen(kMiddle));
  Gtk::Widget& host = window->window().host();
  int x = 0, y = 0;
  gtk_widget_translate_coordinates(host.gobj(), GTK_WIDGET(window->window().gtkWindow().gobj()), int(at.x),
                                   host.get_allocated_height() - int(at.y), &x, &y);
  GdkWindow* const onScreen = gtk_widget_get_window(GTK_WIDGET(window->window().gtkWindow().gobj()));
  const auto handleShown = [&] {
    const std::unique_ptr<GdkPixbuf, decltype(&g_object_unref)> shown(
        gdk_pixbuf_get_from_window(onScreen, x - 6, y - 6, 13, 13), g_object_unref);
    bool found = false;
    for (int i = 0; shown && i < 13 * 13; ++i) {
      const guint8* p = gdk_pixbuf_read_pixels(shown.get()) + (i / 13) * gdk_pixbuf_get_rowstride(shown.get()) +
                        (i % 13) * gdk_pixbuf_get_n_channels(shown.get());
      found |= p[0] > 230 && p[1] > 230 && p[2] > 230;
    }
    return found;
  };
  EXPECT_TRUE(platform::iterateMainLoopUntil(handleShown, std::chrono::seconds(10)));
  // A left-to-right gradient keeps its height; only the distance along the layer counts for the radius.
  const Point centre{kMiddle.x + row.centreBy.x, kMiddle.y + (row.type == 0 ? 0 : row.centreBy.y)};
  hand().drag(screen(kMiddle), screen({kMiddle.x + row.centreBy.x, kMiddle.y + row.centreBy.y}));
  hand().drag(screen({centre.x + 0.4 * w, centre.y}), screen({centre.x + row.radiusBy.x, centre.y + row.radiusBy.y}));
  settle();
  EXPECT_NEAR(gradient->get("fx").doubleValue(), row.centreBy.x / w, within / w);
  EXPECT_NEAR(gradient->get("fy").doubleValue(), (centre.y - kMiddle.y) / h, within / h);
  EXPECT_NEAR(gradient->get("radius_factor").doubleValue(), row.radiusBy.x / (0.4 * w), within / (0.4 * w));
  // Picked up again where it stands and taken 6 further out.
  hand().drag(screen({centre.x + row.radiusBy.x, centre.y}), screen({centre.x + row.radiusBy.x + 6, centre.y}));
  settle();
  EXPECT_NEAR(gradient->get("radius_factor").doubleValue(), (row.radiusBy.x + 6) / (0.4 * w), within / (0.4 * w));
  const Expected expected{row.type, gradient->get("fx").doubleValue(), gradient->get("fy").doubleValue(),
                          gradient->get("radius_factor").doubleValue()};

  // The selection given up with V and a click on the empty page, so that no handle covers the fill.
  platform::test::injectKey(window->editor().widget(), GDK_KEY_PRESS, GDK_KEY_v);
  clickCanvas({(kMiddle.x - 110) * z, (kMiddle.y - 80) * z});
  ASSERT_TRUE(window->editor().selectedLayers().empty());
  const auto shot = platform::test::renderWidget(window->editor().widget());
  const auto canvas = [&](int x, int y) {
    const platform::test::Pixel p = platform::test::pixelAt(shot.get(), x, y);
    return std::pair{p.red, p.blue};
  };
  expectTheGradient(canvas, z, row.rotate, expected, "canvas");

  // Each export read back by a reader of its own (ImageMagick for the PNG) at a pixel a page unit.
  const int width = document->data()->get("width").intValue(), height = document->data()->get("height").intValue();
  platform::testing::ScratchFolder scratch;
  const struct {
    int tag;
    const char *file, *reader;
  } exports[] = {{4, "page.png", "convert page.png"},
                 {1, "page.pdf", "pdftoppm -r 72 -png -singlefile page.pdf page && convert page.png"},
                 {8, "page.svg", "rsvg-convert -o page.png page.svg && convert page.png"}};
  for (const auto& [tag, file, reader] : exports) {
    auto manager = std::make_shared<CMExportManager>();
    ASSERT_TRUE(manager->formatPopUp().selectItemWithTag(tag));
    const platform::Expected<platform::Bytes> data = manager->generate(*document);
    ASSERT_TRUE(data.ok() && platform::writeFileAtomically(scratch / file, data.value()).ok()) << file;
    const std::string command = "cd '" + scratch.path().string() + "' && " + reader + " -depth 8 rgba:page.rgba";
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << reader;
    const std::string rgba = platform::testing::readTextFile(scratch / "page.rgba");
    ASSERT_EQ(rgba.size(), std::size_t(width) * height * 4) << reader;
    const auto exported = [&](int x, int y) {
      const auto at = [&](int c) { return int(static_cast<unsigned char>(rgba[(std::size_t(y) * width + x) * 4 + c])); };
      return std::pair{at(0), at(2)};
    };
    expectTheGradient(exported, 1, row.rotate, expected, reader);
  }
}

INSTANTIATE_TEST_SUITE_P(ZoomsAndTurns, GradientHandles,
                         testing::Values(HandleDrag{"RadialAt50Turned30", 0.5f, 30, 1, {-24, 10}, {70, 8}},
                                         HandleDrag{"RadialAt100Turned30", 1.0f, 30, 1, {18, -12}, {30, -6}},
                                         HandleDrag{"RadialAt200Turned30", 2.0f, 30, 1, {-20, 8}, {22, 5}},
                                         HandleDrag{"RadialAt200", 2.0f, 0, 1, {24, 12}, {58, 0}},
                                         HandleDrag{"RadialAt50", 0.5f, 0, 1, {-30, -15}, {26, 10}},
                                         HandleDrag{"LeftToRightAt50Turned30", 0.5f, 30, 0, {-16, 10}, {30, 4}},
                                         HandleDrag{"LeftToRightAt100Turned30", 1.0f, 30, 0, {12, -8}, {40, 0}},
                                         HandleDrag{"LeftToRightAt200Turned30", 2.0f, 30, 0, {-10, 6}, {28, -4}}),
                         [](const testing::TestParamInfo<HandleDrag>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ui_testing
