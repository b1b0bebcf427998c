#pragma once

// What NSWindow does for a view hierarchy: holds the content view, turns GTK
// events into Events (AppKit fields, own click counting, window coordinates)
// and sends them to the view they belong to: mouse downs to the view under the
// pointer, drags and ups to the view that took the down, key downs to the
// views' key equivalents, then the menus', then the first responder, other keys
// and modifier changes to the first responder, everything to a running tracking
// gesture while there is one. A Tab that no view takes moves the keyboard focus
// among the GTK controls inside, as in any GTK window.

#include <gtkmm/eventbox.h>

#include <functional>
#include <memory>
#include <optional>

#include "platform/ui/click_counter.h"
#include "platform/ui/event.h"
#include "platform/ui/tracking_gesture.h"

namespace platform {

class Cursor;
class View;

class ViewHost : public Gtk::EventBox {
 public:
  ViewHost();
  ~ViewHost() override;

  void setContentView(std::shared_ptr<View> view);
  View* contentView() const { return contentView_.get(); }

  // sendEvent: the one entry point of events, from the GTK handlers and from tests.
  void sendEvent(const Event& event);
  // Asked first with each key down (the main menu's key equivalents); true consumes the key.
  void setKeyEquivalentHandler(std::function<bool(const Event&)> handler) { keyEquivalents_ = std::move(handler); }

  // makeFirstResponder: false when the current one refuses to resign or the new
  // one to become; null makes the window itself the first responder.
  bool makeFirstResponder(View* view);
  View* firstResponder() const;

  void beginGesture(EventMask mask, std::function<void(const Event&)> handler);
  bool isTracking() const { return gesture_ && gesture_->isActive(); }
  // Shows the cursor of the view under the pointer (resetCursorRects), the arrow without one.
  void updateCursor();
  const Cursor* shownCursor() const { return shownCursor_.get(); }

  // What GTK's grab-broken signal does: ends a running gesture.
  void pointerGrabBroken();
  // A key down passed up the whole responder chain without a view taking it.
  void noResponderFor(const Event& event);

 protected:
  bool on_button_press_event(GdkEventButton* event) override;
  bool on_button_release_event(GdkEventButton* event) override;
  bool on_motion_notify_event(GdkEventMotion* event) override;
  bool on_enter_notify_event(GdkEventCrossing* event) override;
  bool on_leave_notify_event(GdkEventCrossing* event) override;
  bool on_scroll_event(GdkEventScroll* event) override;
  bool on_key_press_event(GdkEventKey* event) override;
  bool on_key_release_event(GdkEventKey* event) override;
  bool on_focus(Gtk::DirectionType direction) override;
  void on_size_allocate(Gtk::Allocation& allocation) override;

 private:
  // An event's place in window coordinates, from the GdkWindow it came in; null for a window outside this one.
  std::optional<Point> windowLocation(GdkWindow* window, double x, double y) const;
  // Whether a drag or release comes from the GdkWindow the views' press came in.
  bool cameFromPressWindow(GdkWindow* window) const;
  Event keyEvent(const GdkEventKey* event, EventType type) const;
  const Gtk::Widget* windowFocus();
  // Whether the window's keyboard focus is on a GTK control inside (a text field), not on the views.
  bool focusIsOnAControl();
  View* viewAt(Point locationInWindow) const;
  void deliverMouse(View* view, const Event& event);
  void updateHover(View* view, const Event& event);

  std::shared_ptr<View> contentView_;
  std::weak_ptr<View> firstResponder_;
  std::weak_ptr<View> mouseDownView_;
  std::weak_ptr<View> hoveredView_;
  std::shared_ptr<TrackingGesture> gesture_;
  std::shared_ptr<Cursor> shownCursor_;
  Glib::RefPtr<Gdk::Window> pressWindow_;
  std::function<bool(const Event&)> keyEquivalents_;
  ClickCounter clickCounter_;
  unsigned heldKeycode_ = 0;
  bool keyLeftUnhandled_ = false;
  // A mouse up carries the count of the press it ends.
  int lastClickCount_ = 1;
};

}  // namespace platform
