#include "platform/ui/view_host.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/settings.h>
#include <gtkmm/window.h>

#include <utility>

#include "platform/ui/cursor.h"
#include "platform/ui/gdk_event_translation.h"
#include "platform/ui/view.h"
#include "platform/ui/view_widget.h"

namespace platform {

namespace {

ClickCounter systemClickCounter() {
  auto settings = Gtk::Settings::get_default();
  const int time = settings ? settings->property_gtk_double_click_time().get_value() : 400;
  const int distance = settings ? settings->property_gtk_double_click_distance().get_value() : 5;
  return ClickCounter(static_cast<std::uint32_t>(time > 0 ? time : 0), distance > 0 ? distance : 0);
}

// Keeps the target alive while it handles an event that may remove it from the hierarchy.
std::shared_ptr<View> retained(View* view) { return view ? view->weak_from_this().lock() : nullptr; }

}  // namespace

ViewHost::ViewHost() : clickCounter_(systemClickCounter()) {
  set_visible_window(true);
  set_above_child(false);
  set_can_focus(true);
  add_events(Gdk::BUTTON_PRESS_MASK | Gdk::BUTTON_RELEASE_MASK | Gdk::POINTER_MOTION_MASK | Gdk::ENTER_NOTIFY_MASK |
             Gdk::LEAVE_NOTIFY_MASK | Gdk::SCROLL_MASK | Gdk::SMOOTH_SCROLL_MASK | Gdk::KEY_PRESS_MASK |
             Gdk::KEY_RELEASE_MASK);
  signal_grab_broken_event().connect([this](GdkEventGrabBroken*) {
    pointerGrabBroken();
    return true;
  });
}

ViewHost::~ViewHost() {
  if (contentView_) contentView_->setHostForRoot(nullptr);
}

void ViewHost::setContentView(std::shared_ptr<View> view) {
  if (contentView_) {
    contentView_->setHostForRoot(nullptr);
    remove();
  }
  contentView_ = std::move(view);
  if (!contentView_) return;
  contentView_->removeFromSuperview();
  contentView_->setHostForRoot(this);
  add(contentView_->widget());
}

View* ViewHost::firstResponder() const { return firstResponder_.lock().get(); }

bool ViewHost::makeFirstResponder(View* view) {
  View* current = firstResponder();
  if (current != view) {
    if (current && !current->resignFirstResponder()) return false;
    firstResponder_.reset();
    if (!view) return true;
    if (!view->acceptsFirstResponder() || !view->becomeFirstResponder()) return false;
    firstResponder_ = view->weak_from_this();
  }
  // The views' keys come through this widget: it takes the keyboard focus back from a GTK widget (a text field) even
  // when the first responder stays the same.
  if (view && get_realized() && !has_focus()) grab_focus();
  return true;
}

void ViewHost::beginGesture(EventMask mask, std::function<void(const Event&)> handler) {
  const Event* start = currentEvent();
  gesture_ = std::make_shared<TrackingGesture>(mask, std::move(handler), start ? *start : Event{});
}

void ViewHost::pointerGrabBroken() {
  if (!isTracking()) return;
  std::shared_ptr<TrackingGesture> gesture = gesture_;
  gesture->breakGrab();
  if (gesture_ == gesture) gesture_.reset();
  mouseDownView_.reset();
  pressWindow_.reset();
}

View* ViewHost::viewAt(Point locationInWindow) const {
  return contentView_ ? contentView_->hitTest(locationInWindow) : nullptr;
}

void ViewHost::deliverMouse(View* view, const Event& event) {
  std::shared_ptr<View> target = retained(view);
  if (!view) return;
  switch (event.type) {
    case EventType::LeftMouseDown:
    case EventType::OtherMouseDown:
      view->mouseDown(event);
      break;
    case EventType::LeftMouseDragged:
    case EventType::RightMouseDragged:
    case EventType::OtherMouseDragged:
      view->mouseDragged(event);
      break;
    case EventType::LeftMouseUp:
    case EventType::OtherMouseUp:
      view->mouseUp(event);
      break;
    case EventType::RightMouseDown:
      view->rightMouseDown(event);
      break;
    case EventType::RightMouseUp:
      view->rightMouseUp(event);
      break;
    case EventType::MouseMoved:
      view->mouseMoved(event);
      break;
    case EventType::ScrollWheel:
      view->scrollWheel(event);
      break;
    default:
      break;
  }
}

void ViewHost::updateCursor() {
  std::shared_ptr<Cursor> wanted;
  for (View* v = hoveredView_.lock().get(); v && !wanted; v = v->superview()) wanted = v->cursor();
  if (!wanted) wanted = Cursor::arrow();
  if (wanted == shownCursor_) return;
  shownCursor_ = wanted;
  if (Glib::RefPtr<Gdk::Window> window = get_window()) window->set_cursor(wanted->gdkCursor(get_display()));
}

void ViewHost::updateHover(View* view, const Event& event) {
  std::shared_ptr<View> previous = hoveredView_.lock();
  if (previous.get() == view) return;
  // Cursors change on crossing, before the views hear of it.
  hoveredView_ = view ? view->weak_from_this() : std::weak_ptr<View>();
  updateCursor();
  if (previous) {
    Event exited = event;
    exited.type = EventType::MouseExited;
    previous->mouseExited(exited);
  }
  if (std::shared_ptr<View> next = retained(view)) {
    Event entered = event;
    entered.type = EventType::MouseEntered;
    next->mouseEntered(entered);
  }
}

void ViewHost::sendEvent(const Event& event) {
  setCurrentEvent(event);
  if (isTracking()) {
    std::shared_ptr<TrackingGesture> gesture = gesture_;
    if (!gesture->feed(event) && gesture_ == gesture) {
      gesture_.reset();
      mouseDownView_.reset();
    }
    return;
  }
  if (event.isMouseDown()) {
    View* target = viewAt(event.locationInWindow);
    mouseDownView_ = target ? target->weak_from_this() : std::weak_ptr<View>();
    if (target && target->acceptsFirstResponder()) makeFirstResponder(target);
    deliverMouse(target, event);
    return;
  }
  if (event.isMouseDrag() || event.isMouseUp()) {
    // Drags and the up belong to the view that took the down; without one they reach nobody.
    std::shared_ptr<View> target = mouseDownView_.lock();
    if (event.isMouseUp()) mouseDownView_.reset();
    deliverMouse(target.get(), event);
    return;
  }
  switch (event.type) {
    case EventType::MouseMoved: {
      View* target = viewAt(event.locationInWindow);
      updateHover(target, event);
      deliverMouse(target, event);
      break;
    }
    case EventType::MouseEntered:
      updateHover(viewAt(event.locationInWindow), event);
      break;
    case EventType::MouseExited:
      updateHover(nullptr, event);
      break;
    case EventType::ScrollWheel:
      deliverMouse(viewAt(event.locationInWindow), event);
      break;
    case EventType::KeyDown:
    case EventType::KeyUp:
    case EventType::FlagsChanged: {
      if (event.type == EventType::KeyDown) {
        if (std::shared_ptr<View> content = contentView_; content && content->performKeyEquivalent(event)) break;
        if (keyEquivalents_ && keyEquivalents_(event)) break;
      }
      std::shared_ptr<View> target = firstResponder_.lock();
      if (!target) target = contentView_;
      if (!target) break;
      if (event.type == EventType::KeyDown) {
        target->keyDown(event);
      } else if (event.type == EventType::KeyUp) {
        target->keyUp(event);
      } else {
        target->flagsChanged(event);
      }
      break;
    }
    default:
      break;
  }
}

std::optional<Point> ViewHost::windowLocation(GdkWindow* window, double x, double y) const {
  // Events that GTK widgets inside the window passed on carry their own GdkWindow's coordinates.
  const GdkWindow* own = get_window() ? get_window()->gobj() : nullptr;
  for (; window && window != own; window = gdk_window_get_parent(window))
    gdk_window_coords_to_parent(window, x, y, &x, &y);
  if (!own || window != own) return std::nullopt;
  const double height = contentView_ ? contentView_->frame().size.height : get_allocated_height();
  return Point{x, height - y};
}

namespace {

constexpr unsigned kButtonMasks = GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK | GDK_BUTTON4_MASK |
                                  GDK_BUTTON5_MASK;

unsigned buttonMask(unsigned button) { return button >= 1 && button <= 5 ? GDK_BUTTON1_MASK << (button - 1) : 0; }

}  // namespace

bool ViewHost::cameFromPressWindow(GdkWindow* window) const {
  // X reports a press's motion and release to the window that took it; another window's come from a press that a
  // GTK widget took (a control's), which none of the views saw.
  return pressWindow_ && pressWindow_->gobj() == window;
}

bool ViewHost::on_button_press_event(GdkEventButton* event) {
  // GTK's own double and triple presses come after the plain ones; the counter has seen those.
  if (event->type != GDK_BUTTON_PRESS) return true;
  const std::optional<Point> location = windowLocation(event->window, event->x, event->y);
  if (!location) return false;
  pressWindow_ = Glib::wrap(event->window, true);
  Event result;
  result.type = event->button == 1   ? EventType::LeftMouseDown
                : event->button == 3 ? EventType::RightMouseDown
                                     : EventType::OtherMouseDown;
  result.locationInWindow = *location;
  result.modifierFlags = modifierFlagsFromGdk(event->state);
  result.timestamp = event->time / 1000.0;
  result.buttonNumber = buttonNumberFromGdk(event->button);
  result.clickCount = clickCounter_.press(event->time, *location, result.buttonNumber);
  lastClickCount_ = result.clickCount;
  sendEvent(result);
  return true;
}

bool ViewHost::on_button_release_event(GdkEventButton* event) {
  if (!cameFromPressWindow(event->window)) return true;
  const std::optional<Point> location = windowLocation(event->window, event->x, event->y);
  if (!location) return true;
  Event result;
  result.type = event->button == 1   ? EventType::LeftMouseUp
                : event->button == 3 ? EventType::RightMouseUp
                                     : EventType::OtherMouseUp;
  result.locationInWindow = *location;
  result.modifierFlags = modifierFlagsFromGdk(event->state);
  result.timestamp = event->time / 1000.0;
  result.buttonNumber = buttonNumberFromGdk(event->button);
  result.clickCount = lastClickCount_;
  // The last button up ends the press (the state is the one before the release).
  if ((event->state & kButtonMasks & ~buttonMask(event->button)) == 0) pressWindow_.reset();
  sendEvent(result);
  return true;
}

bool ViewHost::on_motion_notify_event(GdkEventMotion* event) {
  Event result;
  result.type = (event->state & GDK_BUTTON1_MASK)   ? EventType::LeftMouseDragged
                : (event->state & GDK_BUTTON3_MASK) ? EventType::RightMouseDragged
                : (event->state & GDK_BUTTON2_MASK) ? EventType::OtherMouseDragged
                                                    : EventType::MouseMoved;
  if (result.isMouseDrag() && !cameFromPressWindow(event->window)) return true;
  const std::optional<Point> location = windowLocation(event->window, event->x, event->y);
  if (!location) return true;
  result.locationInWindow = *location;
  result.modifierFlags = modifierFlagsFromGdk(event->state);
  result.timestamp = event->time / 1000.0;
  sendEvent(result);
  return true;
}

bool ViewHost::on_enter_notify_event(GdkEventCrossing* event) {
  const std::optional<Point> location = windowLocation(event->window, event->x, event->y);
  if (!location) return true;
  Event result;
  result.type = EventType::MouseEntered;
  result.locationInWindow = *location;
  result.modifierFlags = modifierFlagsFromGdk(event->state);
  result.timestamp = event->time / 1000.0;
  sendEvent(result);
  return true;
}

bool ViewHost::on_leave_notify_event(GdkEventCrossing* event) {
  // Leaving for a child window (a control's) or during a grab is not leaving the window.
  if (event->detail == GDK_NOTIFY_INFERIOR || event->mode != GDK_CROSSING_NORMAL) return true;
  const std::optional<Point> location = windowLocation(event->window, event->x, event->y);
  if (!location) return true;
  Event result;
  result.type = EventType::MouseExited;
  result.locationInWindow = *location;
  result.modifierFlags = modifierFlagsFromGdk(event->state);
  result.timestamp = event->time / 1000.0;
  sendEvent(result);
  return true;
}

bool ViewHost::on_scroll_event(GdkEventScroll* event) {
  const std::optional<Point> location = windowLocation(event->window, event->x, event->y);
  if (!location) return true;
  Event result;
  result.type = EventType::ScrollWheel;
  result.locationInWindow = *location;
  result.modifierFlags = modifierFlagsFromGdk(event->state);
  result.timestamp = event->time / 1000.0;
  switch (event->direction) {
    case GDK_SCROLL_UP:
      result.deltaY = 1;
      break;
    case GDK_SCROLL_DOWN:
      result.deltaY = -1;
      break;
    case GDK_SCROLL_LEFT:
      result.deltaX = 1;
      break;
    case GDK_SCROLL_RIGHT:
      result.deltaX = -1;
      break;
    case GDK_SCROLL_SMOOTH:
      result.deltaX = -event->delta_x;
      result.deltaY = -event->delta_y;
      break;
  }
  sendEvent(result);
  return true;
}

void ViewHost::noResponderFor(const Event& event) {
  if (event.type == EventType::KeyDown) keyLeftUnhandled_ = true;
}

namespace {

// Tab and Shift+Tab: the keys GTK's windows move the focus with from one control to the next.
bool movesFocus(const GdkEventKey* event) {
  const bool tab = event->keyval == GDK_KEY_Tab || event->keyval == GDK_KEY_ISO_Left_Tab ||
                   event->keyval == GDK_KEY_KP_Tab;
  return tab && (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK)) == 0;
}

}  // namespace

bool ViewHost::on_key_press_event(GdkEventKey* event) {
  // A Tab a control inside left unhandled (a text field's): the control is the one the user types in, not the
  // views' first responder, and the window's key bindings move the focus on from it.
  if (movesFocus(event) && focusIsOnAControl()) return false;
  Event result = keyEventFromGdk(event, EventType::KeyDown);
  result.isARepeat = heldKeycode_ == event->hardware_keycode;
  heldKeycode_ = event->hardware_keycode;
  result.locationInWindow = currentEvent() ? currentEvent()->locationInWindow : Point{};
  keyLeftUnhandled_ = false;
  sendEvent(result);
  // Left to the window, whose key bindings move the focus on (a text field left so commits what was typed).
  return !(keyLeftUnhandled_ && movesFocus(event));
}

const Gtk::Widget* ViewHost::windowFocus() {
  auto* window = dynamic_cast<Gtk::Window*>(get_toplevel());
  return window ? window->get_focus() : nullptr;
}

bool ViewHost::focusIsOnAControl() {
  const Gtk::Widget* focus = windowFocus();
  return focus && focus != this && focus->is_ancestor(*this);
}

bool ViewHost::on_focus(Gtk::DirectionType direction) {
  // A focusable container takes the focus itself and never passes it to its children: Tab goes from the views (this
  // widget) to the first control inside (Shift+Tab to the last), from control to control, and from the last back to
  // the views. Focus that lies nowhere yet, as in a window just shown, goes to the views, as it always has.
  const bool tabbing = direction == Gtk::DIR_TAB_FORWARD || direction == Gtk::DIR_TAB_BACKWARD;
  if (tabbing && (is_focus() || focusIsOnAControl())) {
    if (Gtk::Widget* child = get_child(); child && child->child_focus(direction)) return true;
  }
  if (is_focus()) return false;
  grab_focus();
  return true;
}

bool ViewHost::on_key_release_event(GdkEventKey* event) {
  if (heldKeycode_ == event->hardware_keycode) heldKeycode_ = 0;
  Event result = keyEventFromGdk(event, EventType::KeyUp);
  result.locationInWindow = currentEvent() ? currentEvent()->locationInWindow : Point{};
  sendEvent(result);
  return true;
}

void ViewHost::on_size_allocate(Gtk::Allocation& allocation) {
  // The content view follows the window's size, as NSWindow's does.
  if (contentView_) {
    const Size oldSize = contentView_->frame_.size;
    const Size newSize{double(allocation.get_width()), double(allocation.get_height())};
    // Set directly: the allocation under way already places the content view there.
    contentView_->frame_.size = newSize;
    if (oldSize != newSize) contentView_->resizeSubviewsWithOldSize(oldSize);
  }
  Gtk::EventBox::on_size_allocate(allocation);
}

}  // namespace platform
