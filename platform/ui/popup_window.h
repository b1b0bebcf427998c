#pragma once

// A borderless window that pops up over the main window (a balloon, a pop-up editor): placed at a rectangle of the
// screen given y-up, as AppKit gives it, and holding a view. It tells its owner when it should go away: the keyboard
// focus left it, or Escape was pressed in it.
//
// Screen coordinates: y-up points of the monitor holding the main window, the origin at its bottom-left corner.

#include <functional>
#include <memory>

#include "platform/core/geometry.h"
#include "platform/ui/window.h"

namespace Gtk {
class Window;
}

namespace platform {

class View;

class PopupWindow {
 public:
  enum class ResignReason { FocusLost, Cancelled };

  explicit PopupWindow(Size size);
  ~PopupWindow();
  PopupWindow(const PopupWindow&) = delete;
  PopupWindow& operator=(const PopupWindow&) = delete;

  void setContentView(std::shared_ptr<View> view) { window_.setContentView(std::move(view)); }
  View* contentView() const { return window_.contentView(); }
  // Told once per showing when the window should close; the window stays up until orderOut.
  void setDidResign(std::function<void(ResignReason)> handler) { didResign_ = std::move(handler); }

  // Moves the window to the screen rectangle and shows it above `owner`, taking the keyboard focus.
  void orderFront(const Rect& screenFrame, Gtk::Window* owner);
  void orderOut();
  bool isVisible() const { return window_.isVisible(); }
  // Where the window stands now, in screen coordinates.
  Rect frame() const;
  Window& window() { return window_; }

  // The monitor holding the window (the first monitor without one), as (0, 0, width, height).
  static Rect screenFrame(Gtk::Window* window);
  // The view's bounds in screen coordinates; the zero rectangle for a view in no window.
  static Rect screenRectOfView(View& view);

 private:
  void resign(ResignReason reason);

  Window window_;
  std::function<void(ResignReason)> didResign_;
  bool resigned_ = false;
};

}  // namespace platform
