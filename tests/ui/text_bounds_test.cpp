// A text layer's size and bounds are those of its laid-out text in the main window, at several zooms and in both
// view modes, and while a label is typed with the Text tool: the style panel's Width and Height, the handles the
// canvas draws around it and the bounds and selection frame of the groups holding it, judged against Pango laying
// out the same text on its own and against the ink of the drawn glyphs.

#include <algorithm>
#include <cmath>
#include <string>

#include "../canvas/real_pointer_support.h"
#include "../document/laid_out_text.h"
#include "canvas/CMZoomSteps.h"
#include "document/CMProject.h"
#include "main_window_fixture.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/button.h"
#include "platform/ui/number_format.h"
#include "platform/ui/text_field.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/CMToolsView.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CPMainView.h"

namespace ui_testing {
namespace {

using platform::DictRef;
using platform::Point;
using platform::Rect;

// A rectangle of the canvas turned about its centre, as the canvas turns a rotated layer's frame.
struct Turned {
  Rect rect;
  double radians = 0;

  Point centre() const { return {rect.origin.x + rect.size.width / 2, rect.origin.y + rect.size.height / 2}; }
  Point turn(Point p, double sign = 1) const {
    const double c = std::cos(sign * radians), s = std::sin(sign * radians);
    const Point o = centre();
    return {o.x + (p.x - o.x) * c - (p.y - o.y) * s, o.y + (p.x - o.x) * s + (p.y - o.y) * c};
  }
};

bool isInk(const platform::test::Pixel& p) { return p.alpha > 200 && std::max({p.red, p.green, p.blue}) < 110; }
// The outline of the resize handles (0, 50, 255) and the dashed frame (60, 160, 255), told apart however much of
// a pixel a smoothed line covers: over white, green rises above red by a fifth and a half of what red lacks.
double greenOverRed(const platform::test::Pixel& p) {
  return p.blue >= 240 && p.red <= 215 ? (p.green - p.red) / (255.0 - p.red) : -1;
}
bool isHandle(const platform::test::Pixel& p) { return greenOverRed(p) > 0.1 && greenOverRed(p) < 0.3; }
bool isFrame(const platform::test::Pixel& p) { return greenOverRed(p) > 0.4; }

// A text record of the program's defaults at (x, y).
DictRef textRecord(std::int64_t id, Point at, const char* text, const char* font, double size) {
  DictRef record = CMProject::defaultObject("text");
  record->set("id", id);
  record->set("x", at.x);
  record->set("y", at.y);
  record->set("text", text);
  record->dictionary("style")->set("fontName", font);
  record->dictionary("style")->set("fontSize", size);
  return record;
}

class TextBounds : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    document = newDrawingOnScreen();
    ASSERT_NE(document, nullptr);
    auto* style = dynamic_cast<platform::Button*>(window->mainView()->topToolbar().buttonWithTag(4));
    ASSERT_NE(style, nullptr);
    platform::test::clickButton(style->gtkButton());
    settle();
  }

  CMEditorView& canvas() { return window->editor(); }
  // The style panel's text field of the property, as it reads.
  std::string field(int propertyId) {
    for (const auto& section : window->stylePanel()->views())
      for (const auto& entry : section->controls())
        if (entry.parameter->get("property_id").intValue() == propertyId)
          if (auto* found = dynamic_cast<platform::TextField*>(entry.control.get())) return found->stringValue();
    return "none";
  }
  void expectPanelShows(const document_testing::LaidOutText& laid) {
    EXPECT_EQ(field(CMLayerStyleParameters::kWidth), platform::NumberFormat{}.format(laid.width));
    EXPECT_EQ(field(CMLayerStyleParameters::kHeight), platform::NumberFormat{}.format(laid.height));
  }
  // A document rectangle where the canvas shows it, turned by the layer's angle.
  Turned onCanvas(const Rect& rect, double degrees) {
    const platform::AffineTransform zoom = canvas().zoomTransform();
    const Point from = zoom.transformPoint(rect.origin);
    const Point to = zoom.transformPoint({rect.origin.x + rect.size.width, rect.origin.y + rect.size.height});
    return {{from.x, from.y, to.x - from.x, to.y - from.y}, degrees * M_PI / 180};
  }
  // Every pixel of the canvas as drawn now for which `take` holds, in the frame's unturned axes.
  template <typename Take>
  std::vector<Point> pixels(const Turned& frame, Take take) {
    settle();
    const auto image = platform::test::renderWidget(canvas().widget());
    std::vector<Point> found;
    for (int y = 0; y < cairo_image_surface_get_height(image.get()); ++y)
      for (int x = 0; x < cairo_image_surface_get_width(image.get()); ++x)
        if (take(platform::test::pixelAt(image.get(), x, y))) found.push_back(frame.turn({x + 0.5, y - 0.5}, -1));
    return found;
  }
  // How many of the points lie within `reach` of the point.
  static int near(const std::vector<Point>& points, Point at, double reach) {
    return static_cast<int>(std::count_if(points.begin(), points.end(), [&](Point p) {
      return std::abs(p.x - at.x) <= reach && std::abs(p.y - at.y) <= reach;
    }));
  }
  static std::vector<Point> corners(const Rect& r) {
    return {r.origin, {r.origin.x + r.size.width, r.origin.y}, {r.origin.x, r.origin.y + r.size.height},
            {r.origin.x + r.size.width, r.origin.y + r.size.height}};
  }
  void expectHandlesAtCorners(const Turned& frame) {
    const std::vector<Point> handles = pixels(frame, isHandle);
    for (const Point& corner : corners(frame.rect))
      EXPECT_GE(near(handles, corner, 5), 6) << corner.x << ", " << corner.y;
  }
  // The glyphs' ink lies inside the frame and spans it but for the side bearings and the room above and below.
  void expectInkFills(const Turned& frame, double fontSize, double zoom) {
    const std::vector<Point> ink = pixels(frame, isInk);
    ASSERT_FALSE(ink.empty());
    const auto [left, right] = std::minmax_element(ink.begin(), ink.end(), [](Point a, Point b) { return a.x < b.x; });
    const auto [top, bottom] = std::minmax_element(ink.begin(), ink.end(), [](Point a, Point b) { return a.y < b.y; });
    const Rect& r = frame.rect;
    EXPECT_GE(left->x, r.origin.x - 2);
    EXPECT_GE(top->y, r.origin.y - 2);
    EXPECT_LE(right->x, r.origin.x + r.size.width + 2);
    EXPECT_LE(bottom->y, r.origin.y + r.size.height + 2);
    EXPECT_GE(right->x - left->x, r.size.width - 0.25 * fontSize * zoom - 2) << "the text is laid out whole";
    EXPECT_GE(bottom->y - top->y, 0.4 * r.size.height);
  }

  std::shared_ptr<CMDocument> document;
};

TEST_F(TextBounds, SizeHandlesAndGroupBoundsAreThoseOfTheLaidOutText) {
  struct Case {
    const char* text;
    const char* font;
    double size;
    const char* anchor;
    double rotate;
    int depth;  // groups around the text
    float zoom;
    bool vector;
  };
  const Case cases[] = {
      {"T-shirt front, cotton", "Sans", 24, "", 0, 0, 1, false},
      {"T-shirt front, cotton", "Sans", 24, "", 0, 1, 0.5f, true},
      {"T-shirt front, cotton", "Sans", 24, "end", 0, 0, 2, true},
      {"Pocket\nSleeve hem", "DejaVu Serif", 18, "middle", 0, 1, 2, false},
      {"Collar", "DejaVu Sans Mono", 30, "", 30, 2, 1, false},
      {"Back yoke", "DejaVu Sans", 12, "end", -45, 1, 3, true},
      {"Hem", "Sans", 40, "middle", 90, 0, 0.5f, false},
      {"Left\nfront\nplacket", "DejaVu Serif", 16, "", 12, 2, 0.75f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.zoom) + (c.vector ? " in vector view" : ""));
    const document_testing::LaidOutText laid = document_testing::layOut(c.text, c.font, c.size);
    const double x = 300, y = 160;
    const double left = x - (c.anchor == std::string("end") ? laid.width : *c.anchor ? laid.width / 2 : 0);
    const Rect textRect{left, y, laid.width, laid.height};
    const DictRef text = textRecord(1, {x, y}, c.text, c.font, c.size);
    text->set("text-anchor", c.anchor);
    text->set("rotate", c.rotate);
    // Groups around it, a red label beside it in the innermost one.
    const document_testing::LaidOutText labelLaid = document_testing::layOut("Label", "Sans", 14);
    const Rect labelRect{60, 420, labelLaid.width, labelLaid.height};
    DictRef outer = text;
    for (int level = 0; level < c.depth; ++level) {
      const DictRef group = CMProject::defaultObject("group");
      group->set("id", 10 + level);
      group->array("items")->add(outer);
      if (level == 0) {
        const DictRef label = textRecord(2, labelRect.origin, "Label", "Sans", 14);
        label->dictionary("style")->set("foregroundColor", platform::Dictionary::make({{"r", 255}, {"a", 255}}));
        group->array("items")->add(label);
      }
      outer = group;
    }
    document->data()->set("layers", platform::Array::make({outer}));
    window->updateDocument();
    if (canvas().viewMode() != c.vector) window->OnViewMode();
    window->OnChangeZoom(*CMZoomStepIndex(c.zoom));
    settle();
    ASSERT_EQ(canvas().zoom(), c.zoom);
    const Turned frame = onCanvas(textRect, c.rotate);

    canvas().clickOutside();
    expectInkFills(frame, c.size, c.zoom);

    window->selectLayer(text, nullptr);
    settle();
    expectPanelShows(laid);
    expectHandlesAtCorners(frame);

    if (c.depth == 0) continue;
    Rect bounds;
    CMDocument::parseLayers(platform::Array::make({outer}), bounds);
    const Rect expected = platform::unionRect(textRect, labelRect);
    EXPECT_NEAR(platform::minX(bounds), platform::minX(expected), 1e-3);
    EXPECT_NEAR(platform::minY(bounds), platform::minY(expected), 1e-3);
    EXPECT_NEAR(platform::maxX(bounds), platform::maxX(expected), 1e-3);
    EXPECT_NEAR(platform::maxY(bounds), platform::maxY(expected), 1e-3);
    // Selected as part of its group, the text shows its frame among the group's, as the label beside it does: no
    // handles of its own.
    window->selectLayer(outer, nullptr);
    const std::vector<Point> marks = pixels(frame, isFrame);
    for (const Point& corner : corners(frame.rect))
      EXPECT_GE(near(marks, corner, 3), 2) << corner.x << ", " << corner.y;
    EXPECT_TRUE(pixels(frame, isHandle).empty());
  }
}

TEST_F(TextBounds, ALabelTypedWithTheTextToolShowsTheSizeOfItsTextAndItsHandlesAroundIt) {
  for (const auto& element : window->mainView()->toolsBar().actions())
    if (element.button->tag() == kCMToolText) platform::test::clickButton(element.button->gtkButton());
  settle();
  ASSERT_EQ(canvas().currentTool(), kCMToolText);
  canvas_testing::RealPointer hand(window->window(), canvas());
  hand.press({60, 80});
  hand.release({60, 80});
  settle();
  ASSERT_TRUE(canvas().isEditingText());
  const std::string label = "T-shirt front, cotton";
  for (const char letter : label) {
    platform::test::injectKey(canvas().widget(), GDK_KEY_PRESS, static_cast<unsigned>(letter));
    platform::test::injectKey(canvas().widget(), GDK_KEY_RELEASE, static_cast<unsigned>(letter));
  }
  settle();
  // While it is typed.
  const document_testing::LaidOutText laid = document_testing::layOut(label, "Sans", 24);
  expectPanelShows(laid);

  // A press outside ends the edit and leaves the label selected.
  hand.press({400, 450});
  hand.release({400, 450});
  settle();
  ASSERT_FALSE(canvas().isEditingText());
  expectPanelShows(laid);
  const Turned frame = onCanvas({60, 80, laid.width, laid.height}, 0);
  expectHandlesAtCorners(frame);
  canvas().clickOutside();
  expectInkFills(frame, 24, 1);
}

}  // namespace
}  // namespace ui_testing
