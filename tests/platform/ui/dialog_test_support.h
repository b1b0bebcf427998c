#pragma once

// Finding GTK's dialogs and their widgets as a user sees them, and keys pressed through GDK's queue.

#include <gtkmm/container.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/menu.h>
#include <gtkmm/menuitem.h>
#include <gtkmm/window.h>

#include <chrono>
#include <functional>
#include <vector>

#include "platform/core/main_queue.h"
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

// A File-menu command chosen from the keyboard (F10 opens the menu, Down goes to the item, Return chooses it), and the
// file dialog it opens, once mapped; null when any step fails.
inline Gtk::FileChooserDialog* openFileDialogFromMenu(Gtk::Window& window, Gtk::MenuItem& command) {
  using namespace std::chrono_literals;
  pressKey(window, GDK_KEY_F10);
  if (!platform::iterateMainLoopUntil([&] { return command.get_mapped(); }, 3s)) return nullptr;
  auto* menu = dynamic_cast<Gtk::Menu*>(command.get_parent());
  if (!menu) return nullptr;
  for (int step = 0; step < 40 && menu->get_selected_item() != &command; ++step) pressKey(*menu, GDK_KEY_Down);
  if (menu->get_selected_item() != &command) return nullptr;
  pressClosingKey(*menu, GDK_KEY_Return);
  Gtk::FileChooserDialog* dialog = nullptr;
  if (!platform::iterateMainLoopUntil([&] { return (dialog = shown<Gtk::FileChooserDialog>()); }, 3s)) return nullptr;
  return platform::iterateMainLoopUntil([&] { return dialog->get_mapped(); }, 3s) ? dialog : nullptr;
}

}  // namespace dialog_testing
