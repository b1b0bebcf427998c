#pragma once

// NSView: a rectangle in its superview with its own coordinate system, drawn by
// drawRect: into the current graphics context and sent the mouse and key events
// that its window routes to it.
//
// Orientation: a view's frame is in its superview's coordinates, which are y-up
// unless the superview is flipped; the frame is converted to GTK's y-down
// placement once, here, and drawing gets a y-up context (or a flipped one for a
// flipped view) in which text and images stand upright.
//
// Ownership: a superview holds its subviews by shared_ptr; views hold their GTK
// widget. A view destroyed while its widget is inside one of its own handlers
// (a control rebuilding its parent from its action) hands the widget to the main
// queue, which drops it once the handler has returned.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/ui/event.h"

namespace Gtk {
class Widget;
}

namespace platform {

class Cursor;
class ViewHost;
class ViewWidget;

class View : public std::enable_shared_from_this<View> {
 public:
  explicit View(Rect frame = {});
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Geometry. Bounds have the frame's size; their origin shifts the drawing and the subviews.
  Rect frame() const { return frame_; }
  // Every frame change comes through here (setFrameOrigin, setFrameSize).
  virtual void setFrame(const Rect& frame);
  void setFrameOrigin(Point origin);
  void setFrameSize(Size size);
  Rect bounds() const { return {boundsOrigin_, frame_.size}; }
  void setBoundsOrigin(Point origin);
  virtual bool isFlipped() const { return false; }
  bool isHidden() const { return hidden_; }
  void setHidden(bool hidden);

  // Hierarchy.
  View* superview() const { return superview_; }
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  // Moves the view from any previous superview to the top of this one's.
  void addSubview(std::shared_ptr<View> view);
  void removeFromSuperview();
  // The window hosting the hierarchy, or null.
  ViewHost* host() const;
  bool isDescendantOf(const View& view) const;

  // The cursor shown over this view; null shows the superview's.
  void setCursor(std::shared_ptr<Cursor> cursor);
  const std::shared_ptr<Cursor>& cursor() const { return cursor_; }

  // Drawing. A view that draws over its superview may paint outside its frame anywhere over the superview's area
  // (marks that overhang its edges); its drawRect: then gets dirty rectangles reaching past its bounds. It still takes
  // only the events inside its frame.
  void setDrawsOverSuperview(bool drawsOver);
  bool drawsOverSuperview() const { return drawsOverSuperview_; }
  virtual void drawRect(const Rect& dirtyRect);
  void setNeedsDisplay();
  void setNeedsDisplayInRect(const Rect& rect);
  // dataWithPDFInsideRect: / dataWithEPSInsideRect: `rect` (in the view's coordinates) drawn by drawRect: onto a
  // page of the rectangle's size in points, y-up as every surface is, and returned as a one-page PDF or an EPS
  // file. Subviews are not drawn. A rectangle that is empty or not finite is an error.
  Expected<Bytes> dataWithPDFInsideRect(const Rect& rect);
  Expected<Bytes> dataWithEPSInsideRect(const Rect& rect);

  // Conversions. Window coordinates are y-up from the bottom-left of the topmost view
  // (the window's content view); a null view means the window.
  Point convertPointToWindow(Point point) const;
  Point convertPointFromWindow(Point point) const;
  Point convertPointFromView(Point point, const View* view) const;
  Point convertPointToView(Point point, const View* view) const;
  // Between this view's coordinates and its widget's GTK pixels (y down from its top-left).
  Point localToGtk(Point point) const;
  Point gtkToLocal(Point point) const;
  // Where the frame lands in the superview's GTK (y-down, bounds-origin-free) coordinates: its corner on the whole
  // pixel GTK places its widget at.
  Rect frameInGtkParent() const;

  // hitTest: the deepest visible view under a point given in the superview's coordinates.
  virtual View* hitTest(Point pointInSuperview);

  // Responder. The defaults pass the event on to the superview, as NSResponder
  // passes it to the next responder.
  virtual bool acceptsFirstResponder() const { return false; }
  virtual bool becomeFirstResponder() { return true; }
  virtual bool resignFirstResponder() { return true; }
  virtual void mouseDown(const Event& event);
  virtual void mouseDragged(const Event& event);
  virtual void mouseUp(const Event& event);
  virtual void rightMouseDown(const Event& event);
  virtual void rightMouseUp(const Event& event);
  virtual void mouseMoved(const Event& event);
  virtual void mouseEntered(const Event& event);
  virtual void mouseExited(const Event& event);
  virtual void scrollWheel(const Event& event);
  virtual void keyDown(const Event& event);
  virtual void keyUp(const Event& event);
  // A modifier key went down or up; the event carries the modifiers held afterwards.
  virtual void flagsChanged(const Event& event);
  // Every key down is offered to the window's views before the main menu and the first responder see it: true
  // consumes it. The default offers it to the subviews in turn.
  virtual bool performKeyEquivalent(const Event& event);

  // The modal tracking loop of mouseDown: (take events of `mask` until the first
  // left mouse up) as a gesture: `handler` is given each event of the mask,
  // the ending mouse up included; others are dropped until it ends. A broken
  // pointer grab ends it with a mouse up at the last location. Needs a host.
  void trackMouse(EventMask mask, std::function<void(const Event&)> handler);

  // The GTK widget that shows this view. Owned by the view.
  Gtk::Widget& widget();
  ViewWidget& viewWidget() { return *widget_; }

  // Called by ViewWidget: draws this view alone on `cr`, whose origin is the view's top-left.
  void drawOnCairo(void* cairoContext);
  // Where the view may paint, in its widget's pixels (y down from its top-left): its frame, or its superview's.
  Rect paintedAreaInGtk() const;

 protected:
  // resizeSubviewsWithOldSize: called after the frame's size changed (by code, or by the window for its content
  // view). Subviews keep their frames unless a subclass lays them out here.
  virtual void resizeSubviewsWithOldSize(Size oldSize);
  // For views made of a GTK widget (controls): `widget` (managed) fills the view.
  void setContentWidget(Gtk::Widget& widget);

 private:
  friend class ViewHost;
  void placeSubviews();
  // The view's top-left in the topmost view's GTK coordinates.
  Point gtkOriginInRoot() const;
  const View& root() const;
  void setHostForRoot(ViewHost* host) { host_ = host; }

  std::unique_ptr<ViewWidget> widget_;
  std::vector<std::shared_ptr<View>> subviews_;
  std::shared_ptr<Cursor> cursor_;
  View* superview_ = nullptr;
  ViewHost* host_ = nullptr;  // set on the content view only
  Rect frame_;
  Point boundsOrigin_;
  bool hidden_ = false;
  bool drawsOverSuperview_ = false;
};

}  // namespace platform
