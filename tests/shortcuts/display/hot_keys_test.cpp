// Global hot keys on this test's own X server: registered shortcuts fire
// their actions on key presses from the X test extension, whatever the lock
// keys; another client's grab is refused without harm; the binder follows a
// user-defaults key; under Wayland nothing registers and the program says so.

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"
#include "platform/core/main_queue.h"
#include "platform/core/user_defaults_controller.h"
#include "recorder_fixture.h"
#include "shortcuts/KSShortcutBinder.h"
#include "shortcuts/KSShortcutMonitor.h"
#include "x_test_keyboard.h"
#include "x_test_pointer.h"

namespace shortcuts_testing {
namespace {

using namespace std::chrono_literals;
using platform::Value;
using platform::modifier::Command;
using platform::modifier::Control;
using platform::modifier::Option;
using platform::modifier::Shift;

constexpr unsigned kControlMask = 1u << 2;
constexpr unsigned kMod1Mask = 1u << 3;

// Runs the main loop (and what the actions queued) for a moment, with round trips to the X server.
void settle() {
  platform::iterateMainLoopUntil(
      [] {
        platform::test::syncWithXServer();
        return false;
      },
      150ms);
}

class HotKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform::test::hasXTestExtension()) GTEST_SKIP() << "no X test extension";
    ASSERT_TRUE(shortcuts::test::setKeyboardLayout("us"));
    ASSERT_TRUE(KSShortcutMonitor::isAvailable()) << KSShortcutMonitor::unavailableReason();
  }
  void TearDown() override { shortcuts::test::setLocks(false, false); }
  void press(unsigned keysym, std::initializer_list<unsigned> modifiers) {
    ASSERT_TRUE(shortcuts::test::tapKey(keysym, modifiers));
    settle();
  }

  FreshSettings settings;
  KSShortcutMonitor monitor;
};

TEST_F(HotKeys, FireOncePerPressWhateverTheLocksAndStopWhenUnregistered) {
  int fired = 0;
  const KSShortcut controlOptionK(40, Control | Option);
  ASSERT_TRUE(monitor.registerShortcut(controlOptionK, [&] { ++fired; }));
  EXPECT_TRUE(monitor.isShortcutRegistered(controlOptionK));
  press(XK_k, {XK_Control_L, XK_Alt_L});
  EXPECT_EQ(fired, 1);
  for (const auto& [numLock, capsLock] : {std::pair{true, false}, {false, true}, {true, true}}) {
    shortcuts::test::setLocks(numLock, capsLock);
    press(XK_k, {XK_Control_L, XK_Alt_L});
  }
  shortcuts::test::setLocks(false, false);
  EXPECT_EQ(fired, 4);
  press(XK_k, {XK_Control_L});  // not the combination
  press(XK_k, {XK_Control_L, XK_Alt_L, XK_Shift_L});
  EXPECT_EQ(fired, 4);
  monitor.unregisterShortcut(&controlOptionK);
  EXPECT_FALSE(monitor.isShortcutRegistered(controlOptionK));
  press(XK_k, {XK_Control_L, XK_Alt_L});
  EXPECT_EQ(fired, 4);
}

TEST_F(HotKeys, EachShortcutRunsOnlyItsOwnActionAndTheLastRegistrationStands) {
  std::vector<std::string> ran;
  ASSERT_TRUE(monitor.registerShortcut(KSShortcut(40, Control | Option), [&] { ran.push_back("first"); }));
  ASSERT_TRUE(monitor.registerShortcut(KSShortcut(37, Control | Shift), [&] { ran.push_back("second"); }));
  press(XK_l, {XK_Control_L, XK_Shift_L});
  press(XK_k, {XK_Control_L, XK_Alt_L});
  EXPECT_EQ(ran, (std::vector<std::string>{"second", "first"}));
  ASSERT_TRUE(monitor.registerShortcut(KSShortcut(40, Control | Option), [&] { ran.push_back("again"); }));
  press(XK_k, {XK_Control_L, XK_Alt_L});
  EXPECT_EQ(ran.back(), "again");
  EXPECT_EQ(ran.size(), 3u);
  monitor.unregisterAllShortcuts();
  press(XK_l, {XK_Control_L, XK_Shift_L});
  EXPECT_EQ(ran.size(), 3u);
  EXPECT_FALSE(monitor.registerShortcut(KSShortcut(KSShortcut::kNotFound, Control), [] {}));
  EXPECT_FALSE(monitor.registerShortcut(KSShortcut(52, Control), [] {}));  // no key has that code
}

TEST_F(HotKeys, KeyAnotherClientHoldsIsRefusedAndTheProgramLives) {
  const shortcuts::test::OtherClientGrab grab(shortcuts::test::keycodeForKeysym(XK_k), kControlMask | kMod1Mask);
  ASSERT_TRUE(grab.holds());
  int fired = 0;
  EXPECT_FALSE(monitor.registerShortcut(KSShortcut(40, Control | Option), [&] { ++fired; }));
  EXPECT_FALSE(monitor.isShortcutRegistered(KSShortcut(40, Control | Option)));
  // None of its lock variants is left behind: with the other client gone the key is free again.
  EXPECT_TRUE(monitor.registerShortcut(KSShortcut(40, Control | Option | Shift), [&] { ++fired; }));
}

TEST_F(HotKeys, BinderFollowsItsDefaultsKey) {
  KSShortcutBinder binder(monitor);
  int fired = 0;
  auto& controller = platform::UserDefaultsController::shared();
  const auto store = [&](const KSShortcut& shortcut) {
    controller.setValueForKeyPath(
        Value(platform::archivedDataWithRootObject(Value(std::make_shared<KSShortcut>(shortcut)))),
        "values.toggleHud");
  };
  binder.registerDefaultShortcuts({{"toggleHud", KSShortcut(40, Control | Option)}});
  binder.bindShortcutWithDefaultsKey("toggleHud", [&] { ++fired; });
  EXPECT_TRUE(binder.isRegisteredAction("toggleHud"));
  EXPECT_TRUE(monitor.isShortcutRegistered(KSShortcut(40, Control | Option)));  // the registered default
  press(XK_k, {XK_Control_L, XK_Alt_L});
  EXPECT_EQ(fired, 1);

  store(KSShortcut(37, Control | Option));
  EXPECT_FALSE(monitor.isShortcutRegistered(KSShortcut(40, Control | Option)));
  EXPECT_TRUE(monitor.isShortcutRegistered(KSShortcut(37, Control | Option)));
  EXPECT_EQ(*KSShortcut::in(binder.valueForUndefinedKey("toggleHud")), KSShortcut(37, Control | Option));
  press(XK_k, {XK_Control_L, XK_Alt_L});
  press(XK_l, {XK_Control_L, XK_Alt_L});
  EXPECT_EQ(fired, 2);

  controller.setValueForKeyPath(Value(), "values.toggleHud");  // back to the registered default
  EXPECT_TRUE(monitor.isShortcutRegistered(KSShortcut(40, Control | Option)));
  controller.setValueForKeyPath(Value(platform::Bytes{1, 2, 3}), "values.toggleHud");  // unreadable: nothing
  EXPECT_FALSE(monitor.isShortcutRegistered(KSShortcut(40, Control | Option)));
  press(XK_k, {XK_Control_L, XK_Alt_L});
  EXPECT_EQ(fired, 2);

  store(KSShortcut(40, Command));
  binder.breakBindingWithDefaultsKey("toggleHud");
  EXPECT_FALSE(binder.isRegisteredAction("toggleHud"));
  EXPECT_FALSE(monitor.isShortcutRegistered(KSShortcut(40, Command)));
  store(KSShortcut(41, Command));
  EXPECT_FALSE(monitor.isShortcutRegistered(KSShortcut(41, Command)));
}

TEST(HotKeysOnWayland, RegistrationAnswersNoAndSaysWhyOnce) {
  // A child process, so the session type is the child's alone; it touches no display.
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    setenv("XDG_SESSION_TYPE", "wayland", 1);
    int warnings = 0;
    std::string said;
    platform::setLogSink([&](platform::LogLevel, std::string_view line) {
      ++warnings;
      said = line;
    });
    KSShortcutMonitor& monitor = KSShortcutMonitor::sharedMonitor();
    const bool first = monitor.registerShortcut(KSShortcut(40, Control), [] {});
    const bool second = monitor.registerShortcut(KSShortcut(41, Control), [] {});
    const bool ok = !first && !second && warnings == 1 && !KSShortcutMonitor::isAvailable() &&
                    said == "Global hot keys are not available on Wayland." &&
                    KSShortcutMonitor::unavailableReason() == said;
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace shortcuts_testing
