// The recorder control in a window: its fixed height, its value and "value"
// binding, and what it draws: probed pixel by pixel after real pointer events
// through GDK's queue.

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/core/log.h"
#include "platform/core/main_queue.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_controller.h"
#include "recorder_fixture.h"

namespace shortcuts_testing {
namespace {

using platform::Dictionary;
using platform::Value;
using platform::modifier::Command;
using platform::modifier::Control;
using platform::test::Pixel;
using platform::test::pixelAt;

class RecorderControl : public RecorderTest {
 protected:
  platform::test::ImageSurface rendered() {
    platform::test::processPendingEvents();
    return platform::test::renderWidget(recorder->widget());
  }
  // The grey of the remove button at a point of its disc clear of the cross: (7, 2) of its 14 × 14 points, y up.
  int removeButtonGrey() {
    const auto image = rendered();
    const Pixel pixel = pixelAt(image.get(), 200 - 18 + 7, 4 + 14 - 3);
    EXPECT_EQ(pixel.red, pixel.blue);
    return pixel.red;
  }
  Gtk::Widget& widget() { return recorder->widget(); }
  // A real motion to a point of the control (its own pixels), waited for: GDK holds motions back until its frame
  // clock flushes events, which nothing else here asks for.
  void moveTo(double x, double y, unsigned state = 0) {
    platform::test::injectMotion(widget(), x, y, state);
    gdk_frame_clock_request_phase(gtk_widget_get_frame_clock(widget().gobj()), GDK_FRAME_CLOCK_PHASE_FLUSH_EVENTS);
    const platform::Point expected = recorder->convertPointToWindow({x, 22 - y});
    platform::iterateMainLoopUntil(
        [&] {
          const platform::Event* current = platform::currentEvent();
          return current && current->locationInWindow == expected;
        },
        std::chrono::milliseconds(2000));
  }
};

bool isWhite(const Pixel& p) { return p.red > 245 && p.green > 245 && p.blue > 245; }

TEST_F(RecorderControl, KeepsItsHeightAndAMinimumWidth) {
  recorder->setFrameSize({30, 40});
  EXPECT_EQ(recorder->frame().size, (platform::Size{50, 22}));
  recorder->setFrame({5, 5, 120, 10});
  EXPECT_EQ(recorder->frame(), (platform::Rect{5, 5, 120, 22}));
  KRRecorderControl made({0, 0, 10, 100});
  EXPECT_EQ(made.frame().size, (platform::Size{50, 22}));
}

TEST_F(RecorderControl, ValueNeedsFlagsACodeAndCharacters) {
  recorder->setAllowsKeyOnly(true);
  recorder->setKeyCombo({0, 40});  // a key-only combination has no value
  EXPECT_TRUE(recorder->objectValue().isNil());
  recorder->setKeyCombo({Command, -1});
  EXPECT_TRUE(recorder->objectValue().isNil());
  recorder->setKeyCombo({Command, 40});
  const Value value = recorder->objectValue();
  ASSERT_TRUE(value.isDictionary());
  EXPECT_EQ(value.dictionary()->keys(), (std::vector<std::string>{"characters", "keyCode", "modifierFlags"}));
  EXPECT_EQ(value.dictionary()->get("characters").string(), "K");
  EXPECT_EQ(value.dictionary()->get("modifierFlags").integerValue(), static_cast<std::int64_t>(Command));

  delegate.changes.clear();
  recorder->setObjectValue(Dictionary::make({{"keyCode", 1}, {"modifierFlags", Control}}));
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Control, 1}));
  recorder->setObjectValue(Dictionary::make({{"keyCode", "40"}, {"modifierFlags", Command}}));
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{0, -1}));
  recorder->setObjectValue(Value("K"));
  EXPECT_EQ(delegate.changes, (std::vector<KRKeyCombo>{{Control, 1}, {0, -1}, {0, -1}}));
}

TEST_F(RecorderControl, ValueBindingWritesIntoTheDefaultsAndFollowsThem) {
  auto& controller = platform::UserDefaultsController::shared();
  recorder->bind(KRRecorderControl::kValueBinding, &controller, "values.zoomKey", std::nullopt);
  startRecording();
  press("z", 6, Control);
  const auto stored = platform::UserDefaults::standardUserDefaults().dictionaryForKey("zoomKey");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->get("characters").string(), "z");
  EXPECT_EQ(stored->get("keyCode").integerValue(), 6);
  EXPECT_EQ(stored->get("modifierFlags").integerValue(), static_cast<std::int64_t>(Control));
  // And the other way.
  controller.setValueForKeyPath(Dictionary::make({{"keyCode", 15}, {"modifierFlags", Command}}), "values.zoomKey");
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Command, 15}));
  recorder->unbind(KRRecorderControl::kValueBinding);
  EXPECT_EQ(recorder->infoForBinding(KRRecorderControl::kValueBinding), nullptr);
}

TEST_F(RecorderControl, BindingWithoutObservedObjectIsLoggedAndWritesNothing) {
  recorder->bind(KRRecorderControl::kValueBinding, nullptr, "values.zoomKey", std::nullopt);
  std::vector<std::string> lines;
  auto previous = platform::setLogSink([&](platform::LogLevel, std::string_view line) { lines.emplace_back(line); });
  recorder->setKeyCombo({Command, 40});
  platform::setLogSink(std::move(previous));
  EXPECT_EQ(lines, std::vector<std::string>{"ERROR: NSObservedObjectKey was nil for value binding in "
                                            "-[KRRecorderControl shortcutRecorderCell:keyComboDidChange:]"});
  EXPECT_TRUE(platform::UserDefaults::standardUserDefaults().objectForKey("zoomKey").isNil());
}

TEST_F(RecorderControl, EmptyCellCentresItsTextAndHasNoRemoveButton) {
  const auto image = rendered();
  ASSERT_EQ(cairo_image_surface_get_height(image.get()), 22);
  // Ink rows inside the field (its one-pixel border aside).
  int top = 22;
  int bottom = -1;
  for (int y = 1; y < 21; ++y) {
    for (int x = 1; x < 199; ++x) {
      if (!isWhite(pixelAt(image.get(), x, y))) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_LE(top, bottom);
  EXPECT_NEAR((top + bottom + 1) / 2.0, 11.0, 1.0) << "ink from row " << top << " to " << bottom;
  for (int y = 4; y < 18; ++y) {
    for (int x = 182; x < 196; ++x) EXPECT_TRUE(isWhite(pixelAt(image.get(), x, y))) << x << ", " << y;
  }
}

TEST_F(RecorderControl, RemoveButtonLightsUpWhenHoveredAndPressedAndEmptiesTheCell) {
  recorder->setKeyCombo({Command, 40});
  delegate.changes.clear();
  EXPECT_EQ(removeButtonGrey(), 191);
  // The middle of the button, in the widget's own pixels.
  const double bx = 189;
  const double by = 11;
  moveTo(100, by);
  EXPECT_EQ(removeButtonGrey(), 191);
  moveTo(bx, by);
  EXPECT_EQ(removeButtonGrey(), 166);
  platform::test::injectButton(widget(), GDK_BUTTON_PRESS, 1, bx, by);
  EXPECT_EQ(removeButtonGrey(), 140);
  moveTo(100, by, GDK_BUTTON1_MASK);  // dragged out: rollover still
  EXPECT_EQ(removeButtonGrey(), 166);
  moveTo(230, by, GDK_BUTTON1_MASK);
  platform::test::injectButton(widget(), GDK_BUTTON_RELEASE, 1, 230, by);  // let go outside the control
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Command, 40}));
  EXPECT_FALSE(recorder->cell().isRecording());

  platform::test::injectButton(widget(), GDK_BUTTON_PRESS, 1, bx, by);
  platform::test::injectButton(widget(), GDK_BUTTON_RELEASE, 1, bx, by);
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{0, -1}));
  EXPECT_EQ(delegate.changes, (std::vector<KRKeyCombo>{KRKeyCombo{0, -1}}));
  EXPECT_FALSE(recorder->cell().isRecording());

  // Disabled, the button is gone.
  recorder->setKeyCombo({Command, 40});
  recorder->setEnabled(false);
  const auto image = rendered();
  EXPECT_TRUE(isWhite(pixelAt(image.get(), 189, 15)));
}

TEST_F(RecorderControl, RecordingShowsTheBarTheFieldAndTheSnapBack) {
  platform::test::injectButton(widget(), GDK_BUTTON_PRESS, 1, 50, 11);
  platform::test::injectButton(widget(), GDK_BUTTON_RELEASE, 1, 50, 11);
  ASSERT_TRUE(recorder->cell().isRecording());
  const auto image = rendered();
  // Outside the field (2, 2, 181, 18) the gradient of the selection colour; inside it white.
  for (const auto& [x, y] : {std::pair{0, 0}, {1, 10}, {100, 0}, {100, 21}, {190, 1}}) {
    const Pixel p = pixelAt(image.get(), x, y);
    EXPECT_GT(p.blue, p.red + 40) << x << ", " << y;
  }
  for (const auto& [x, y] : {std::pair{2, 2}, {3, 10}, {182, 19}, {182, 2}}) {
    EXPECT_TRUE(isWhite(pixelAt(image.get(), x, y))) << x << ", " << y;
  }
  // The arrow: every white pixel right of the field lies inside its outline's hull, (185…195, 4…16).
  int white = 0;
  for (int y = 0; y < 22; ++y) {
    for (int x = 183; x < 200; ++x) {
      if (!isWhite(pixelAt(image.get(), x, y))) continue;
      ++white;
      EXPECT_TRUE(x >= 185 && x <= 195 && y >= 4 && y <= 16) << x << ", " << y;
    }
  }
  EXPECT_GT(white, 10);
  // A click on the arrow ends recording.
  platform::test::injectButton(widget(), GDK_BUTTON_PRESS, 1, 191, 10);
  platform::test::injectButton(widget(), GDK_BUTTON_RELEASE, 1, 191, 10);
  EXPECT_FALSE(recorder->cell().isRecording());
}

TEST_F(RecorderControl, AnimatedStyleSlidesTheRecordingLookIntoPlace) {
  recorder->setStyle(1);
  // Right of the arrow, inside the snap-back area: white while idle, its grey gradient once recording.
  const auto idle = rendered();
  EXPECT_TRUE(isWhite(pixelAt(idle.get(), 197, 11)));
  startRecording();
  const auto recording = rendered();
  const Pixel area = pixelAt(recording.get(), 197, 11);
  EXPECT_EQ(area.red, area.blue);
  EXPECT_GE(area.red, 185);
  EXPECT_LE(area.red, 235);
  // On the animated way back the area slides down out of the frame: its top edge sits k = 1 − ease(progress)
  // frame heights (21 points, the frame inset by 0.5) above where it started, one frame below.
  recorder->setAnimates(true);
  press("\x1B", 53);
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return recorder->cell().transitionProgress() >= 0.4; },
                                             std::chrono::milliseconds(2000)));
  const double k = 1 - KRAnimationEaseInOut(recorder->cell().transitionProgress());
  const auto sliding = platform::test::renderWidget(widget());  // now, before another tick
  int top = 1;  // below the frame's border
  while (top < 21 && isWhite(pixelAt(sliding.get(), 197, top))) ++top;
  EXPECT_NEAR(top, 22 - (21 * k - 0.25), 1.5) << "k " << k;
}

}  // namespace
}  // namespace shortcuts_testing
