#pragma once

// A hand on the mouse for end-to-end tests: real GDK button and motion events,
// given at points of a flipped canvas, put on GDK's queue for the window's host
// widget so they pass GTK's dispatch like a user's. Needs the window shown.

#include <gdk/gdk.h>

#include <cstdint>

#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "ui_test_harness.h"

namespace canvas_testing {

class RealPointer {
 public:
  RealPointer(platform::Window& window, const platform::View& canvas) : window_(window), canvas_(canvas) {}

  void press(platform::Point onCanvas, unsigned state = 0) {
    const platform::Point at = inHost(onCanvas);
    // Presses 400 ms apart never make a double click.
    platform::test::injectButton(window_.host(), GDK_BUTTON_PRESS, 1, at.x, at.y, state, clock() += 400);
    platform::test::processPendingEvents();
  }
  void moveTo(platform::Point onCanvas, unsigned state = 0) {
    const platform::Point at = inHost(onCanvas);
    platform::test::injectMotion(window_.host(), at.x, at.y, GDK_BUTTON1_MASK | state, clock() += 20);
    platform::test::processPendingEvents();
  }
  void release(platform::Point onCanvas, unsigned state = 0) {
    const platform::Point at = inHost(onCanvas);
    platform::test::injectButton(window_.host(), GDK_BUTTON_RELEASE, 1, at.x, at.y, GDK_BUTTON1_MASK | state,
                                 clock() += 20);
    platform::test::processPendingEvents();
  }
  // Two clicks at the point, close enough in time to make a double click.
  void doubleClick(platform::Point onCanvas) {
    press(onCanvas);
    release(onCanvas);
    const platform::Point at = inHost(onCanvas);
    platform::test::injectButton(window_.host(), GDK_BUTTON_PRESS, 1, at.x, at.y, 0, clock() += 100);
    platform::test::injectButton(window_.host(), GDK_BUTTON_RELEASE, 1, at.x, at.y, GDK_BUTTON1_MASK, clock() += 20);
    platform::test::processPendingEvents();
  }
  // A press, motions half way and to the end, and the release there.
  void drag(platform::Point from, platform::Point to, unsigned state = 0) {
    press(from, state);
    moveTo({(from.x + to.x) / 2, (from.y + to.y) / 2}, state);
    moveTo(to, state);
    release(to, state);
  }

 private:
  // The content view is y-up; GDK locates events y-down in the host widget.
  platform::Point inHost(platform::Point onCanvas) const {
    const platform::Point inWindow = canvas_.convertPointToWindow(onCanvas);
    return {inWindow.x, window_.host().get_allocated_height() - inWindow.y};
  }
  // One clock for every test of the process: GDK pairs presses into double clicks by their times.
  static std::uint32_t& clock() {
    static std::uint32_t now = 100000;
    return now;
  }

  platform::Window& window_;
  const platform::View& canvas_;
};

}  // namespace canvas_testing
