// Local event monitors see real events before any widget and may swallow them.

#include "platform/ui/event_monitor.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/window.h"
#include "recording_view.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

using test::RecordingView;

class EventMonitors : public testing::Test {
 protected:
  void SetUp() override {
    root = std::make_shared<RecordingView>(Rect{0, 0, 100, 100}, log, "view.");
    window.setContentView(root);
    ASSERT_TRUE(test::showAndSettle(window));
  }
  void TearDown() override {
    for (int identifier : monitors) removeEventMonitor(identifier);
  }
  int add(EventMask mask, LocalMonitorHandler handler) {
    monitors.push_back(addLocalEventMonitor(mask, std::move(handler)));
    return monitors.back();
  }
  void press() {
    test::injectButton(window.host(), GDK_BUTTON_PRESS, 1, 30, 40);
    test::injectButton(window.host(), GDK_BUTTON_RELEASE, 1, 30, 40);
  }

  std::vector<RecordingView::Entry> log;
  std::vector<int> monitors;
  Window window{{100, 100}};
  std::shared_ptr<RecordingView> root;
};

TEST_F(EventMonitors, SeeThePressBeforeTheView) {
  add(eventMaskFromType(EventType::LeftMouseDown), [&](const Event& e) {
    log.push_back({"monitor", e});
    return true;
  });
  press();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0].handler, "monitor");
  EXPECT_EQ(log[0].event.locationInWindow, (Point{30, 60}));
  EXPECT_EQ(log[1].handler, "view.mouseDown");
  EXPECT_EQ(log.back().handler, "view.mouseUp");
}

TEST_F(EventMonitors, CanSwallowAnEvent) {
  add(eventMaskFromType(EventType::LeftMouseDown), [](const Event&) { return false; });
  int laterCalls = 0;
  add(AnyEventMask, [&](const Event&) {
    ++laterCalls;
    return true;
  });
  press();
  // The view never had the down, so the up is not its own either; the monitors still see it.
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(laterCalls, 1);  // only the up reached the second monitor
}

TEST_F(EventMonitors, RemovedOrUnmaskedMonitorsAreNotAsked) {
  int calls = 0;
  const int removed = add(AnyEventMask, [&](const Event&) {
    ++calls;
    return false;
  });
  add(eventMaskFromType(EventType::KeyDown), [&](const Event&) {
    ++calls;
    return false;
  });
  removeEventMonitor(removed);
  removeEventMonitor(12345);
  press();
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(EventMonitors, AMonitorMayRemoveAnotherWhileRunning) {
  int second = 0;
  int secondCalls = 0;
  add(AnyEventMask, [&](const Event&) {
    removeEventMonitor(second);
    return true;
  });
  second = add(AnyEventMask, [&](const Event&) {
    ++secondCalls;
    return true;
  });
  press();
  EXPECT_EQ(secondCalls, 0);
  EXPECT_EQ(log.size(), 2u);
}

}  // namespace
}  // namespace platform
