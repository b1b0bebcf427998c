// The recorder used as a user uses it: a real click, then keys pressed on the
// X server's keyboard through the X test extension, delivered by GTK.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "platform/core/main_queue.h"
#include "platform/ui/window.h"
#include "recorder_fixture.h"
#include "shortcuts/KRRecorderControl.h"
#include "ui_test_harness.h"
#include "x_test_keyboard.h"
#include "x_test_pointer.h"

namespace shortcuts_testing {
namespace {

using namespace std::chrono_literals;
using platform::modifier::Control;

// Runs the main loop, with round trips to the X server, until `done` or the time-out.
template <typename Predicate>
bool settleUntil(Predicate done, std::chrono::milliseconds timeout = 3000ms) {
  return platform::iterateMainLoopUntil(
      [&] {
        platform::test::syncWithXServer();
        return done();
      },
      timeout);
}

void settle() { settleUntil([] { return false; }, 100ms); }

class RecorderKeyboard : public RecorderTest {
 protected:
  void SetUp() override {
    if (!platform::test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";
    ASSERT_TRUE(shortcuts::test::setKeyboardLayout("us"));
    RecorderTest::SetUp();
    shortcuts::test::focusWindow(window.gtkWindow().get_window()->gobj());
    ASSERT_TRUE(settleUntil([&] { return window.gtkWindow().property_is_active().get_value(); }));
  }

  // A real click in the middle of the recorder's text area.
  void clickRecorder() {
    int originX = 0;
    int originY = 0;
    window.gtkWindow().get_window()->get_origin(originX, originY);
    int x = 0;
    int y = 0;
    recorder->widget().translate_coordinates(window.gtkWindow(), 60, 11, x, y);
    platform::test::fakePointerMotion(originX + x, originY + y);
    settle();
    platform::test::fakeButton(1, true);
    settle();
    platform::test::fakeButton(1, false);
    settle();
  }
};

TEST_F(RecorderKeyboard, ClickThenControlKRecordsAndEscapeLeavesItAlone) {
  clickRecorder();
  ASSERT_TRUE(recorder->cell().isRecording());
  ASSERT_TRUE(shortcuts::test::tapKey(XK_space));
  settle();
  EXPECT_TRUE(recorder->cell().isRecording());  // a space alone is no combination
  ASSERT_TRUE(shortcuts::test::tapKey(XK_k, {XK_Control_L}));
  ASSERT_TRUE(settleUntil([&] { return !recorder->cell().isRecording(); }));
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Control, 40}));
  EXPECT_EQ(recorder->keyComboString().value_or(""), "\u2303K");
  EXPECT_EQ(recorder->keyChars(), "k");

  clickRecorder();
  ASSERT_TRUE(recorder->cell().isRecording());
  ASSERT_TRUE(shortcuts::test::tapKey(XK_Escape));
  ASSERT_TRUE(settleUntil([&] { return !recorder->cell().isRecording(); }));
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Control, 40}));
}

TEST_F(RecorderKeyboard, DeadKeyRingsTheBellAndRecordsNothing) {
  ASSERT_TRUE(shortcuts::test::setKeyboardLayout("de"));
  settle();
  shortcuts::test::startCountingBells();
  clickRecorder();
  ASSERT_TRUE(recorder->cell().isRecording());
  ASSERT_TRUE(shortcuts::test::tapKey(XK_dead_acute, {XK_Control_L}));
  ASSERT_TRUE(settleUntil([&] { return !recorder->cell().isRecording(); }));
  EXPECT_TRUE(settleUntil([] { return shortcuts::test::bellsRung() == 1; }, 1000ms));
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{0, -1}));
  ASSERT_TRUE(shortcuts::test::setKeyboardLayout("us"));
}

TEST_F(RecorderKeyboard, CapturingRecorderTakesKeysAnotherClientHasGrabbed) {
  // Another program's global shortcut for Control+Alt+J.
  const shortcuts::test::OtherClientGrab grab(shortcuts::test::keycodeForKeysym(XK_j), 0x4 | 0x8);
  ASSERT_TRUE(grab.holds());
  recorder->setCanCaptureGlobalHotKeys(true);
  clickRecorder();
  ASSERT_TRUE(recorder->cell().isRecording());
  settle();
  ASSERT_TRUE(shortcuts::test::tapKey(XK_j, {XK_Control_L, XK_Alt_L}));
  ASSERT_TRUE(settleUntil([&] { return !recorder->cell().isRecording(); }));
  EXPECT_EQ(recorder->keyCombo(), (KRKeyCombo{Control | platform::modifier::Option, 38}));
}

}  // namespace
}  // namespace shortcuts_testing
