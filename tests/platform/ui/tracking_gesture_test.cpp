// Modal tracking loops as gestures: the mask filters, the first left up ends
// them, a broken grab ends them like an up, and queued work runs after.

#include "platform/ui/tracking_gesture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/main_queue.h"
#include "platform/ui/window.h"
#include "recording_view.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

using test::mouseEvent;
using test::RecordingView;

constexpr EventMask kDragAndUp =
    eventMaskFromType(EventType::LeftMouseDragged) | eventMaskFromType(EventType::LeftMouseUp);

TEST(TrackingGesture, DropsEventsOutsideItsMaskAndEndsOnTheFirstLeftUp) {
  std::vector<EventType> seen;
  TrackingGesture gesture(kDragAndUp, [&](const Event& e) { seen.push_back(e.type); }, {});
  EXPECT_TRUE(gesture.feed(mouseEvent(EventType::RightMouseDown, {1, 1})));
  EXPECT_TRUE(gesture.feed(mouseEvent(EventType::MouseMoved, {1, 1})));
  EXPECT_TRUE(gesture.feed(test::keyEvent(EventType::KeyDown, "a", 0)));
  EXPECT_TRUE(gesture.feed(mouseEvent(EventType::LeftMouseDragged, {2, 2})));
  EXPECT_TRUE(gesture.feed(mouseEvent(EventType::RightMouseUp, {2, 2})));  // not the left button
  EXPECT_FALSE(gesture.feed(mouseEvent(EventType::LeftMouseUp, {3, 3})));
  EXPECT_FALSE(gesture.feed(mouseEvent(EventType::LeftMouseDragged, {4, 4})));
  EXPECT_EQ(seen, (std::vector<EventType>{EventType::LeftMouseDragged, EventType::LeftMouseUp}));
  EXPECT_FALSE(gesture.isActive());
}

TEST(TrackingGesture, EndsOnLeftUpEvenWhenTheMaskLacksIt) {
  std::vector<EventType> seen;
  TrackingGesture gesture(eventMaskFromType(EventType::LeftMouseDragged),
                          [&](const Event& e) { seen.push_back(e.type); }, {});
  EXPECT_FALSE(gesture.feed(mouseEvent(EventType::LeftMouseUp, {3, 3})));
  EXPECT_TRUE(seen.empty());
}

TEST(TrackingGesture, BrokenGrabEndsWithAnUpAtTheLastLocation) {
  std::vector<Event> seen;
  TrackingGesture gesture(
      kDragAndUp, [&](const Event& e) { seen.push_back(e); },
      mouseEvent(EventType::LeftMouseDown, {1, 1}, modifier::Shift));
  gesture.feed(mouseEvent(EventType::LeftMouseDragged, {7, 8}, modifier::Shift));
  gesture.feed(test::keyEvent(EventType::KeyDown, "x", 7));  // keys do not move the location
  gesture.breakGrab();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].type, EventType::LeftMouseUp);
  EXPECT_EQ(seen[1].locationInWindow, (Point{7, 8}));
  EXPECT_EQ(seen[1].modifierFlags, modifier::Shift);
  EXPECT_FALSE(gesture.isActive());
  gesture.breakGrab();
  EXPECT_EQ(seen.size(), 2u);
}

class GestureInWindow : public testing::Test {
 protected:
  void SetUp() override {
    root = std::make_shared<RecordingView>(Rect{0, 0, 100, 100}, log, "root.");
    window.setContentView(root);
    root->onMouseDown = [this](const Event&) {
      root->trackMouse(kDragAndUp, [this](const Event& e) {
        steps.push_back(e);
        if (e.type == EventType::LeftMouseUp) dispatchAsync([this] { queuedRan = true; });
      });
    };
    ASSERT_TRUE(test::showAndSettle(window));
  }

  std::vector<RecordingView::Entry> log;
  std::vector<Event> steps;
  bool queuedRan = false;
  Window window{{100, 100}};
  std::shared_ptr<RecordingView> root;
};

TEST_F(GestureInWindow, RealGrabDeliversDragsUntilTheUpThenQueuedWorkRuns) {
  Gtk::Widget& host = window.host();
  test::injectButton(host, GDK_BUTTON_PRESS, 1, 10, 90);
  test::injectButton(host, GDK_BUTTON_PRESS, 3, 10, 90);  // dropped
  test::injectMotion(host, 150, 120, GDK_BUTTON1_MASK);   // outside the window, still delivered
  window.sendEvent(test::keyEvent(EventType::KeyDown, "a", 0));
  test::injectButton(host, GDK_BUTTON_RELEASE, 1, 150, 120);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].type, EventType::LeftMouseDragged);
  EXPECT_EQ(steps[0].locationInWindow, (Point{150, -20}));
  EXPECT_EQ(steps[1].type, EventType::LeftMouseUp);
  // The view saw only the down: the gesture took the rest, and the up's work waits for the main queue.
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].handler, "root.mouseDown");
  EXPECT_FALSE(window.host().isTracking());
  drainMainQueue();
  EXPECT_TRUE(queuedRan);
  window.sendEvent(mouseEvent(EventType::MouseMoved, {5, 5}));
  EXPECT_EQ(log.back().handler, "root.mouseMoved");
}

TEST_F(GestureInWindow, RealGrabBrokenEndsTheGestureLikeAnUp) {
  Gtk::Widget& host = window.host();
  test::injectButton(host, GDK_BUTTON_PRESS, 1, 10, 90);
  test::injectMotion(host, 20, 80, GDK_BUTTON1_MASK);
  test::injectGrabBroken(host);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[1].type, EventType::LeftMouseUp);
  EXPECT_EQ(steps[1].locationInWindow, (Point{20, 20}));
  EXPECT_FALSE(window.host().isTracking());
  drainMainQueue();
  EXPECT_TRUE(queuedRan);
}

TEST(GestureLifetime, AViewRemovedDuringItsGestureLivesUntilTheGestureEnds) {
  Window window({100, 100});
  std::vector<RecordingView::Entry> log;
  auto root = std::make_shared<View>(Rect{0, 0, 100, 100});
  window.setContentView(root);
  std::weak_ptr<View> watcher;
  int steps = 0;
  {
    auto tool = std::make_shared<RecordingView>(Rect{0, 0, 50, 50}, log);
    RecordingView* raw = tool.get();
    raw->onMouseDown = [raw, &steps](const Event&) {
      raw->trackMouse(kDragAndUp, [raw, &steps](const Event&) { steps += raw->frame().size.width > 0 ? 1 : 0; });
    };
    root->addSubview(tool);
    watcher = tool;
  }
  window.sendEvent(mouseEvent(EventType::LeftMouseDown, {10, 10}));
  root->subviews().front()->removeFromSuperview();
  EXPECT_FALSE(watcher.expired());
  window.sendEvent(mouseEvent(EventType::LeftMouseDragged, {20, 20}));
  window.sendEvent(mouseEvent(EventType::LeftMouseUp, {20, 20}));
  EXPECT_EQ(steps, 2);
  EXPECT_TRUE(watcher.expired());
}

}  // namespace
}  // namespace platform
