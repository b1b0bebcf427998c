#include "platform/ui/gdk_event_translation.h"

#include <gdk/gdkkeysyms.h>

#include "platform/ui/key_translation.h"

namespace platform {

ModifierFlags modifierFlagsFromGdk(unsigned state) {
  ModifierFlags flags = 0;
  if (state & GDK_SHIFT_MASK) flags |= modifier::Shift;
  if (state & GDK_LOCK_MASK) flags |= modifier::CapsLock;
  if (state & GDK_CONTROL_MASK) flags |= modifier::Control;
  if (state & GDK_MOD1_MASK) flags |= modifier::Option;
  if (state & (GDK_SUPER_MASK | GDK_META_MASK)) flags |= modifier::Command;
  return flags;
}

unsigned unshiftedKeyval(const GdkEventKey* event) {
  GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
  guint keyval = 0;
  // NumLock stays: the keypad's digits are what its keys type unmodified while it is on.
  const auto numLock = GdkModifierType(event->state & GDK_MOD2_MASK);
  if (keymap && gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode, numLock, event->group, &keyval,
                                                    nullptr, nullptr, nullptr)) {
    return keyval;
  }
  return event->keyval;
}

namespace {

// The modifier a modifier key sets while it is down (Caps Lock: while it is locked).
ModifierFlags modifierOfKey(unsigned keyval) {
  switch (keyval) {
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
      return modifier::Shift;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
      return modifier::Control;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
      return modifier::Option;
    case GDK_KEY_Super_L:
    case GDK_KEY_Super_R:
    case GDK_KEY_Meta_L:
    case GDK_KEY_Meta_R:
      return modifier::Command;
    case GDK_KEY_Caps_Lock:
      return modifier::CapsLock;
    default:
      return 0;
  }
}

}  // namespace

Event keyEventFromGdk(const GdkEventKey* event, EventType type) {
  Event result;
  const KeyIdentity key = identifyKey(event->keyval, unshiftedKeyval(event), event->hardware_keycode);
  result.modifierFlags = modifierFlagsFromGdk(event->state) | key.extraFlags;
  if (event->is_modifier) {
    // X reports the state before the key; AppKit's flags-changed event carries the state after it.
    result.type = EventType::FlagsChanged;
    const ModifierFlags changed = modifierOfKey(event->keyval);
    if (changed == modifier::CapsLock) {
      if (type == EventType::KeyDown) result.modifierFlags ^= changed;  // its release leaves the lock as it is
    } else if (type == EventType::KeyDown) {
      result.modifierFlags |= changed;
    } else {
      result.modifierFlags &= ~changed;
    }
  } else {
    result.type = type;
  }
  result.timestamp = event->time / 1000.0;
  result.keyCode = key.keyCode;
  result.characters = key.characters;
  result.charactersIgnoringModifiers = key.charactersIgnoringModifiers;
  return result;
}

int buttonNumberFromGdk(unsigned button) {
  switch (button) {
    case 1:
      return 0;
    case 3:
      return 1;
    case 2:
      return 2;
    default:
      return button > 0 ? static_cast<int>(button < 1000 ? button : 1000) - 1 : 0;
  }
}

namespace {

Point locationInToplevel(GdkWindow* window, double x, double y) {
  if (!window) return {x, y};
  GdkWindow* toplevel = gdk_window_get_toplevel(window);
  int originX = 0;
  int originY = 0;
  int toplevelX = 0;
  int toplevelY = 0;
  gdk_window_get_origin(window, &originX, &originY);
  gdk_window_get_origin(toplevel, &toplevelX, &toplevelY);
  const double height = gdk_window_get_height(toplevel);
  return {x + originX - toplevelX, height - (y + originY - toplevelY)};
}

EventType buttonEventType(unsigned button, bool down) {
  if (button == 1) return down ? EventType::LeftMouseDown : EventType::LeftMouseUp;
  if (button == 3) return down ? EventType::RightMouseDown : EventType::RightMouseUp;
  return down ? EventType::OtherMouseDown : EventType::OtherMouseUp;
}

}  // namespace

std::optional<Event> eventFromGdkForMonitors(const GdkEvent* event) {
  switch (event->type) {
    case GDK_BUTTON_PRESS:
    case GDK_BUTTON_RELEASE: {
      const GdkEventButton& b = event->button;
      Event result;
      result.type = buttonEventType(b.button, event->type == GDK_BUTTON_PRESS);
      result.locationInWindow = locationInToplevel(b.window, b.x, b.y);
      result.modifierFlags = modifierFlagsFromGdk(b.state);
      result.timestamp = b.time / 1000.0;
      result.buttonNumber = buttonNumberFromGdk(b.button);
      result.clickCount = 1;
      return result;
    }
    case GDK_MOTION_NOTIFY: {
      const GdkEventMotion& m = event->motion;
      Event result;
      result.type = (m.state & GDK_BUTTON1_MASK)   ? EventType::LeftMouseDragged
                    : (m.state & GDK_BUTTON3_MASK) ? EventType::RightMouseDragged
                                                   : EventType::MouseMoved;
      result.locationInWindow = locationInToplevel(m.window, m.x, m.y);
      result.modifierFlags = modifierFlagsFromGdk(m.state);
      result.timestamp = m.time / 1000.0;
      return result;
    }
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE:
      return keyEventFromGdk(&event->key, event->type == GDK_KEY_PRESS ? EventType::KeyDown : EventType::KeyUp);
    case GDK_SCROLL: {
      const GdkEventScroll& s = event->scroll;
      Event result;
      result.type = EventType::ScrollWheel;
      result.locationInWindow = locationInToplevel(s.window, s.x, s.y);
      result.modifierFlags = modifierFlagsFromGdk(s.state);
      result.timestamp = s.time / 1000.0;
      return result;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace platform
