// Events from real GdkEvents and from the window's entry point reach the right
// view with AppKit's fields.

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/key_translation.h"
#include "platform/ui/window.h"
#include "recording_view.h"
#include "ui_test_harness.h"

namespace platform {
namespace {

using test::RecordingView;

class EventDispatch : public testing::Test {
 protected:
  void SetUp() override {
    root = std::make_shared<RecordingView>(Rect{0, 0, 100, 100}, log, "root.");
    view = std::make_shared<RecordingView>(Rect{0, 0, 50, 50}, log);
    root->addSubview(view);
    window.setContentView(root);
    ASSERT_TRUE(test::showAndSettle(window));
    log.clear();
    clearCurrentEvent();
  }

  std::vector<std::string> handlers() const {
    std::vector<std::string> names;
    for (const auto& entry : log) names.push_back(entry.handler);
    return names;
  }

  Gtk::Widget& host() { return window.host(); }

  std::vector<RecordingView::Entry> log;
  Window window{{100, 100}};
  std::shared_ptr<RecordingView> root;
  std::shared_ptr<RecordingView> view;
};

using Handlers = std::vector<std::string>;

TEST_F(EventDispatch, RealPressesAreCountedByTheLayer) {
  const std::uint32_t t = 50000;
  // GTK time of the first press; GDK's own double-press events must not add clicks.
  test::injectButton(host(), GDK_BUTTON_PRESS, 1, 10, 90, 0, t);
  test::injectButton(host(), GDK_BUTTON_RELEASE, 1, 10, 90, 0, t + 50);
  test::injectButton(host(), GDK_BUTTON_PRESS, 1, 11, 91, 0, t + 150);
  test::injectButton(host(), GDK_2BUTTON_PRESS, 1, 11, 91, 0, t + 150);
  test::injectMotion(host(), 12, 91, GDK_BUTTON1_MASK, t + 160);
  test::injectButton(host(), GDK_BUTTON_RELEASE, 1, 12, 91, 0, t + 200);
  test::injectButton(host(), GDK_BUTTON_PRESS, 1, 12, 91, 0, t + 3000);
  ASSERT_EQ(handlers(), (Handlers{"mouseDown", "mouseUp", "mouseDown", "mouseDragged", "mouseUp", "mouseDown"}));
  EXPECT_EQ(log[0].event.clickCount, 1);
  EXPECT_EQ(log[1].event.clickCount, 1);
  EXPECT_EQ(log[2].event.clickCount, 2);
  EXPECT_EQ(log[4].event.clickCount, 2);  // the up counts as its press did, a drag between notwithstanding
  EXPECT_EQ(log[5].event.clickCount, 1);
}

TEST_F(EventDispatch, RealPressCarriesWindowLocationAndModifierBits) {
  test::injectButton(host(), GDK_BUTTON_PRESS, 1, 30, 80, GDK_SHIFT_MASK | GDK_MOD1_MASK);
  ASSERT_EQ(handlers(), (Handlers{"mouseDown"}));
  EXPECT_EQ(log[0].event.type, EventType::LeftMouseDown);
  EXPECT_EQ(log[0].event.locationInWindow, (Point{30, 20}));  // y up from the window's bottom
  EXPECT_EQ(log[0].event.modifierFlags, (1u << 17) | (1u << 19));
  EXPECT_EQ(log[0].event.buttonNumber, 0);
}

TEST_F(EventDispatch, RightButtonGoesToRightMouseHandlers) {
  test::injectButton(host(), GDK_BUTTON_PRESS, 3, 10, 90);
  test::injectButton(host(), GDK_BUTTON_RELEASE, 3, 10, 90);
  ASSERT_EQ(handlers(), (Handlers{"rightMouseDown", "rightMouseUp"}));
  EXPECT_EQ(log[0].event.type, EventType::RightMouseDown);
  EXPECT_EQ(log[0].event.buttonNumber, 1);
}

TEST_F(EventDispatch, DragsAndUpGoToTheViewThatTookTheDown) {
  test::injectButton(host(), GDK_BUTTON_PRESS, 1, 10, 90);
  test::injectMotion(host(), 90, 10, GDK_BUTTON1_MASK);  // over the root now
  test::injectButton(host(), GDK_BUTTON_RELEASE, 1, 90, 10);
  test::injectButton(host(), GDK_BUTTON_PRESS, 1, 90, 10);
  EXPECT_EQ(handlers(), (Handlers{"mouseDown", "mouseDragged", "mouseUp", "root.mouseDown"}));
  EXPECT_EQ(log[1].event.type, EventType::LeftMouseDragged);
  EXPECT_EQ(log[1].event.locationInWindow, (Point{90, 90}));
}

TEST_F(EventDispatch, MovesSendEnteredAndExitedOnlyOnChange) {
  window.sendEvent(test::mouseEvent(EventType::MouseMoved, {10, 10}));
  window.sendEvent(test::mouseEvent(EventType::MouseMoved, {12, 10}));
  window.sendEvent(test::mouseEvent(EventType::MouseMoved, {80, 80}));
  window.sendEvent(test::mouseEvent(EventType::MouseExited, {200, 80}));
  EXPECT_EQ(handlers(), (Handlers{"mouseEntered", "mouseMoved", "mouseMoved", "mouseExited", "root.mouseEntered",
                                  "root.mouseMoved", "root.mouseExited"}));
}

TEST_F(EventDispatch, KeysReachTheFirstResponderWithAppKitCharacters) {
  view->setAcceptsFirstResponder(true);
  ASSERT_TRUE(window.makeFirstResponder(view.get()));
  test::processPendingEvents();
  test::injectKey(host(), GDK_KEY_PRESS, GDK_KEY_KP_2);
  test::injectKey(host(), GDK_KEY_PRESS, GDK_KEY_BackSpace);
  test::injectKey(host(), GDK_KEY_PRESS, GDK_KEY_KP_Delete);
  ASSERT_EQ(handlers(), (Handlers{"keyDown", "keyDown", "keyDown"}));
  EXPECT_EQ(log[0].event.charactersIgnoringModifiers, utf8FromCodePoint(function_key::DownArrow));
  EXPECT_EQ(log[1].event.characters, "\x7F");
  EXPECT_EQ(log[2].event.characters, utf8FromCodePoint(0xF728));
}

TEST_F(EventDispatch, ModifierKeysReachTheFirstResponderWithTheStateAfterThem) {
  view->setAcceptsFirstResponder(true);
  ASSERT_TRUE(window.makeFirstResponder(view.get()));
  test::processPendingEvents();
  // X gives the state before the key: none on the press, Control on the release.
  test::injectKey(host(), GDK_KEY_PRESS, GDK_KEY_Control_L);
  test::injectKey(host(), GDK_KEY_PRESS, GDK_KEY_Shift_R, GDK_CONTROL_MASK);
  test::injectKey(host(), GDK_KEY_RELEASE, GDK_KEY_Control_L, GDK_CONTROL_MASK | GDK_SHIFT_MASK);
  test::injectKey(host(), GDK_KEY_PRESS, GDK_KEY_Caps_Lock, GDK_SHIFT_MASK);
  test::injectKey(host(), GDK_KEY_RELEASE, GDK_KEY_Caps_Lock, GDK_SHIFT_MASK | GDK_LOCK_MASK);
  ASSERT_EQ(handlers(), (Handlers{"flagsChanged", "flagsChanged", "flagsChanged", "flagsChanged", "flagsChanged"}));
  EXPECT_EQ(log[0].event.modifierFlags, modifier::Control);
  EXPECT_EQ(log[0].event.keyCode, 59);
  EXPECT_EQ(log[1].event.modifierFlags, modifier::Control | modifier::Shift);
  EXPECT_EQ(log[1].event.keyCode, 60);
  EXPECT_EQ(log[2].event.modifierFlags, modifier::Shift);
  EXPECT_EQ(log[3].event.modifierFlags, modifier::Shift | modifier::CapsLock);
  EXPECT_EQ(log[4].event.modifierFlags, modifier::Shift | modifier::CapsLock);
}

TEST_F(EventDispatch, ViewsSeeKeyEquivalentsBeforeTheFirstResponder) {
  view->setAcceptsFirstResponder(true);
  ASSERT_TRUE(window.makeFirstResponder(view.get()));
  root->setTakesKeyEquivalents(true);
  window.sendEvent(test::keyEvent(EventType::KeyDown, "s", 1, modifier::Control));
  window.sendEvent(test::keyEvent(EventType::KeyUp, "s", 1, modifier::Control));
  EXPECT_EQ(handlers(), (Handlers{"root.performKeyEquivalent", "keyUp"}));
  log.clear();
  root->setTakesKeyEquivalents(false);
  view->setTakesKeyEquivalents(true);  // a subview is asked too
  window.sendEvent(test::keyEvent(EventType::KeyDown, "s", 1, modifier::Control));
  view->setHidden(true);  // a hidden one is not
  window.sendEvent(test::keyEvent(EventType::KeyDown, "s", 1, modifier::Control));
  EXPECT_EQ(handlers(), (Handlers{"performKeyEquivalent", "keyDown"}));
}

TEST_F(EventDispatch, UnhandledKeysPassUpTheResponderChain) {
  view->setAcceptsFirstResponder(true);
  view->setPassesKeysOn(true);
  ASSERT_TRUE(window.makeFirstResponder(view.get()));
  window.sendEvent(test::keyEvent(EventType::KeyDown, "a", 0));
  EXPECT_EQ(handlers(), (Handlers{"keyDown", "root.keyDown"}));
}

TEST_F(EventDispatch, FirstResponderChangesNeedConsentOnBothSides) {
  EXPECT_FALSE(window.makeFirstResponder(view.get()));  // does not accept
  EXPECT_EQ(window.firstResponder(), nullptr);
  view->setAcceptsFirstResponder(true);
  root->setAcceptsFirstResponder(true);
  ASSERT_TRUE(window.makeFirstResponder(view.get()));
  view->setResigns(false);
  EXPECT_FALSE(window.makeFirstResponder(root.get()));
  EXPECT_EQ(window.firstResponder(), view.get());
  view->setResigns(true);
  // A click on an accepting view makes it first responder.
  window.sendEvent(test::mouseEvent(EventType::LeftMouseDown, {90, 90}));
  EXPECT_EQ(window.firstResponder(), root.get());
  EXPECT_TRUE(window.makeFirstResponder(nullptr));
  EXPECT_EQ(window.firstResponder(), nullptr);
}

TEST_F(EventDispatch, TheLastEventStaysCurrent) {
  EXPECT_EQ(currentEvent(), nullptr);
  EXPECT_EQ(currentModifierFlags(), 0u);
  window.sendEvent(test::mouseEvent(EventType::LeftMouseDown, {10, 10}, modifier::Shift));
  ASSERT_NE(currentEvent(), nullptr);
  EXPECT_EQ(currentEvent()->type, EventType::LeftMouseDown);
  test::processPendingEvents();
  EXPECT_EQ(currentModifierFlags(), modifier::Shift);
  window.sendEvent(test::mouseEvent(EventType::LeftMouseUp, {10, 10}));
  EXPECT_EQ(currentEvent()->type, EventType::LeftMouseUp);
  EXPECT_EQ(currentModifierFlags(), 0u);
}

TEST_F(EventDispatch, AViewRemovedByItsOwnHandlerIsNotTouchedAfterwards) {
  std::weak_ptr<View> watcher = view;
  RecordingView* raw = view.get();
  raw->onMouseDown = [raw](const Event&) { raw->removeFromSuperview(); };
  view.reset();
  window.sendEvent(test::mouseEvent(EventType::LeftMouseDown, {10, 10}));
  EXPECT_TRUE(watcher.expired());
  EXPECT_TRUE(root->subviews().empty());
  // The drag belongs to the freed view: it goes nowhere, not to the freed view nor to the view under it.
  window.sendEvent(test::mouseEvent(EventType::LeftMouseDragged, {90, 90}));
  window.sendEvent(test::mouseEvent(EventType::LeftMouseUp, {90, 90}));
  EXPECT_EQ(handlers(), (Handlers{"mouseDown"}));
}

}  // namespace
}  // namespace platform
