#pragma once

// Finding GTK's dialogs and their widgets as a user sees them, and keys pressed through GDK's queue.

#include <gtkmm/container.h>
#include <gtkmm/window.h>

#include <functional>
#include <vector>

#include "ui_test_harness.h"

namespace dialog_testing {

// Every widget of the kind inside `widget`, itself included, in the order GTK lists them.
template <class Widget>
void collect(Gtk::Widget* widget, std::vector<Widget*>& found) {
  if (auto* match = dynamic_cast<Widget*>(widget)) found.push_back(match);
  auto* container = dynamic_cast<Gtk::Container*>(widget);
  for (Gtk::Widget* child : container ? container->get_children() : std::vector<Gtk::Widget*>{})
    collect(child, found);
}
template <class Widget>
Widget* find(Gtk::Widget* widget) {
  std::vector<Widget*> found;
  collect(widget, found);
  return found.empty() ? nullptr : found.front();
}
// The first visible top-level window of the kind that is wanted.
template <class Window>
Window* shown(const std::function<bool(Window&)>& wanted = [](Window&) { return true; }) {
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    if (auto* found = dynamic_cast<Window*>(window); found && found->get_visible() && wanted(*found)) return found;
  return nullptr;
}

inline void pressKey(Gtk::Widget& widget, unsigned keyval, unsigned state = 0) {
  platform::test::injectKey(widget, GDK_KEY_PRESS, keyval, state);
  platform::test::injectKey(widget, GDK_KEY_RELEASE, keyval, state);
}
// Return or Escape: the press alone, since the window it closes may be gone before a release could reach it.
inline void pressClosingKey(Gtk::Widget& widget, unsigned keyval) {
  platform::test::injectKey(widget, GDK_KEY_PRESS, keyval);
}

}  // namespace dialog_testing
