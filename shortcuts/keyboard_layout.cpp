#include "shortcuts/keyboard_layout.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <gdk/gdk.h>
#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>

#include <memory>
#include <utility>
#include <vector>

namespace shortcuts {
namespace {

GdkKeymap* keymap() {
  GdkDisplay* display = gdk_display_get_default();
  return display ? gdk_keymap_get_for_display(display) : nullptr;
}

Display* xDisplay() {
  GdkDisplay* display = gdk_display_get_default();
  return display && GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_xdisplay(display) : nullptr;
}

unsigned numLockMask() {
  Display* display = xDisplay();
  // The modifier NumLock sets; Mod2 on nearly every X server.
  const unsigned mask = display ? XkbKeysymToModifiers(display, XK_Num_Lock) : 0;
  return mask ? mask : static_cast<unsigned>(GDK_MOD2_MASK);
}

std::vector<std::function<void()>>& layoutObservers() {
  static std::vector<std::function<void()>> observers;
  return observers;
}

void tellLayoutObservers() {
  for (const auto& observer : layoutObservers()) observer();
}

}  // namespace

std::optional<unsigned> levelZeroKeyval(unsigned xKeycode, int group, bool numLock) {
  GdkKeymap* map = keymap();
  guint keyval = 0;
  const auto state = GdkModifierType(numLock ? numLockMask() : 0);
  if (!map || !gdk_keymap_translate_keyboard_state(map, xKeycode, state, group, &keyval, nullptr, nullptr, nullptr)) {
    return std::nullopt;
  }
  return keyval;
}

int currentKeyboardGroup() {
  Display* display = xDisplay();
  XkbStateRec state{};
  if (!display || XkbGetState(display, XkbUseCoreKbd, &state) != Success) return 0;
  return state.group;
}

std::optional<int> asciiCapableGroup(unsigned xKeycode) {
  GdkKeymap* map = keymap();
  GdkKeymapKey* keys = nullptr;
  guint* keyvals = nullptr;
  gint count = 0;
  if (!map || !gdk_keymap_get_entries_for_keycode(map, xKeycode, &keys, &keyvals, &count)) return std::nullopt;
  std::optional<int> found;
  for (gint i = 0; i < count; ++i) {
    if (keys[i].level != 0) continue;
    const gunichar character = gdk_keyval_to_unicode(keyvals[i]);
    if (character >= 0x20 && character < 0x7F && (!found || keys[i].group < *found)) found = keys[i].group;
  }
  g_free(keys);
  g_free(keyvals);
  return found;
}

void observeKeyboardLayoutChanges(std::function<void()> handler) {
  static bool connected = false;
  static int lastGroup = 0;
  layoutObservers().push_back(std::move(handler));
  GdkKeymap* map = keymap();
  if (connected || !map) return;
  connected = true;
  lastGroup = currentKeyboardGroup();
  g_signal_connect(map, "keys-changed", G_CALLBACK(+[](GdkKeymap*, gpointer) {
                     lastGroup = currentKeyboardGroup();
                     tellLayoutObservers();
                   }),
                   nullptr);
  // The chosen group travels with the modifier state; only a change of group is a change of layout.
  g_signal_connect(map, "state-changed", G_CALLBACK(+[](GdkKeymap*, gpointer) {
                     const int group = currentKeyboardGroup();
                     if (group == std::exchange(lastGroup, group)) return;
                     tellLayoutObservers();
                   }),
                   nullptr);
}

char32_t spacingAccentOfDeadKey(unsigned keyval) {
  switch (keyval) {
    case GDK_KEY_dead_grave:
      return U'`';
    case GDK_KEY_dead_acute:
      return U'\u00B4';
    case GDK_KEY_dead_circumflex:
      return U'^';
    case GDK_KEY_dead_tilde:
      return U'~';
    case GDK_KEY_dead_diaeresis:
      return U'\u00A8';
    case GDK_KEY_dead_macron:
      return U'\u00AF';
    case GDK_KEY_dead_breve:
      return U'\u02D8';
    case GDK_KEY_dead_abovedot:
      return U'\u02D9';
    case GDK_KEY_dead_abovering:
      return U'\u02DA';
    case GDK_KEY_dead_doubleacute:
      return U'\u02DD';
    case GDK_KEY_dead_caron:
      return U'\u02C7';
    case GDK_KEY_dead_cedilla:
      return U'\u00B8';
    case GDK_KEY_dead_ogonek:
      return U'\u02DB';
    default:
      return 0;
  }
}

}  // namespace shortcuts
