#include "platform/ui/view.h"

#include <gtkmm/container.h>

#include <algorithm>
#include <utility>

#include "platform/core/main_queue.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/view_host.h"
#include "platform/ui/view_widget.h"

namespace platform {

View::View(Rect frame) : widget_(std::make_unique<ViewWidget>(*this)), frame_(frame) { widget_->show(); }

View::~View() {
  for (const auto& subview : subviews_) subview->superview_ = nullptr;
  widget_->detachOwner();
  if (auto* parent = widget_->get_parent()) parent->remove(*widget_);
  if (widget_->inHandler()) {
    // Still inside one of its own signal handlers: let GTK finish with it first.
    std::shared_ptr<ViewWidget> keptAlive(std::move(widget_));
    dispatchAsync([keptAlive] {});
  }
}

Gtk::Widget& View::widget() { return *widget_; }

void View::setContentWidget(Gtk::Widget& widget) { widget_->setContent(widget); }

void View::setFrame(const Rect& frame) {
  const Size oldSize = frame_.size;
  frame_ = frame;
  widget_->queue_resize();
  widget_->queue_draw();
  if (oldSize != frame.size) resizeSubviewsWithOldSize(oldSize);
}

void View::resizeSubviewsWithOldSize(Size) {}

void View::setFrameOrigin(Point origin) { setFrame({origin, frame_.size}); }

void View::setFrameSize(Size size) { setFrame({frame_.origin, size}); }

void View::setBoundsOrigin(Point origin) {
  boundsOrigin_ = origin;
  widget_->queue_resize();
  widget_->queue_draw();
}

void View::setHidden(bool hidden) {
  hidden_ = hidden;
  widget_->set_visible(!hidden);
}

void View::addSubview(std::shared_ptr<View> view) {
  if (!view || view.get() == this || isDescendantOf(*view)) return;
  // Keep the view alive while it moves between superviews.
  std::shared_ptr<View> moving = view;
  moving->removeFromSuperview();
  moving->superview_ = this;
  subviews_.push_back(moving);
  widget_->put(moving->widget(), 0, 0);
  widget_->queue_resize();
}

void View::removeFromSuperview() {
  View* parent = superview_;
  if (!parent) return;
  superview_ = nullptr;
  parent->widget_->remove(*widget_);
  auto& siblings = parent->subviews_;
  auto found = std::find_if(siblings.begin(), siblings.end(), [this](const auto& s) { return s.get() == this; });
  if (found == siblings.end()) return;
  // Erasing may drop the last reference to this view: move it out first and let it go last.
  std::shared_ptr<View> self = std::move(*found);
  siblings.erase(found);
  parent->widget_->queue_resize();
}

const View& View::root() const {
  const View* view = this;
  while (view->superview_) view = view->superview_;
  return *view;
}

ViewHost* View::host() const { return root().host_; }

bool View::isDescendantOf(const View& view) const {
  for (const View* v = this; v; v = v->superview_) {
    if (v == &view) return true;
  }
  return false;
}

void View::setCursor(std::shared_ptr<Cursor> cursor) {
  cursor_ = std::move(cursor);
  if (ViewHost* window = host()) window->updateCursor();
}

void View::drawRect(const Rect&) {}

void View::setNeedsDisplay() { widget_->queue_draw(); }

void View::setNeedsDisplayInRect(const Rect& rect) {
  const Point a = localToGtk(rect.origin);
  const Point b = localToGtk({rect.origin.x + rect.size.width, rect.origin.y + rect.size.height});
  const int x = pixelsFromLength(std::min(a.x, b.x) - 0.5);
  const int y = pixelsFromLength(std::min(a.y, b.y) - 0.5);
  const int right = pixelsFromLength(std::max(a.x, b.x) + 0.5);
  const int bottom = pixelsFromLength(std::max(a.y, b.y) + 0.5);
  if (right <= x || bottom <= y) return;
  // GTK takes the area of a window-less widget in its GdkWindow's coordinates, where the widget starts at its
  // allocation's corner.
  int offsetX = 0;
  int offsetY = 0;
  if (!widget_->get_has_window()) {
    const Gtk::Allocation allocation = widget_->get_allocation();
    offsetX = allocation.get_x();
    offsetY = allocation.get_y();
  }
  widget_->queue_draw_area(x + offsetX, y + offsetY, right - x, bottom - y);
}

void View::setDrawsOverSuperview(bool drawsOver) {
  drawsOverSuperview_ = drawsOver;
  widget_->queue_resize();
}

Rect View::paintedAreaInGtk() const {
  if (!drawsOverSuperview_ || !superview_) return {0, 0, frame_.size.width, frame_.size.height};
  const Rect placed = frameInGtkParent();
  return {-placed.origin.x, -placed.origin.y, superview_->frame_.size.width, superview_->frame_.size.height};
}

void View::drawOnCairo(void* cairoContext) {
  auto* cr = static_cast<cairo_t*>(cairoContext);
  cairo_save(cr);
  const Rect painted = paintedAreaInGtk();
  cairo_rectangle(cr, painted.origin.x, painted.origin.y, painted.size.width, painted.size.height);
  cairo_clip(cr);
  {
    GraphicsContext context(cr, frame_.size.height, isFlipped());
    context.translateCTM(-boundsOrigin_.x, -boundsOrigin_.y);
    CurrentContextScope focus(context);
    drawRect(context.clipBoundingBox());
  }
  cairo_restore(cr);
}

Point View::localToGtk(Point point) const {
  const double y = point.y - boundsOrigin_.y;
  return {point.x - boundsOrigin_.x, isFlipped() ? y : frame_.size.height - y};
}

Point View::gtkToLocal(Point point) const {
  const double y = isFlipped() ? point.y : frame_.size.height - point.y;
  return {point.x + boundsOrigin_.x, y + boundsOrigin_.y};
}

Rect View::frameInGtkParent() const {
  if (!superview_) return {0, 0, frame_.size.width, frame_.size.height};
  // The corner that is the top-left on screen: the frame's origin under a flipped superview, its top otherwise.
  const double top = superview_->isFlipped() ? frame_.origin.y : frame_.origin.y + frame_.size.height;
  const Point corner = superview_->localToGtk({frame_.origin.x, top});
  // GTK places widgets on whole pixels: events and conversions must count from where the view is drawn.
  return {{static_cast<double>(pixelsFromLength(corner.x)), static_cast<double>(pixelsFromLength(corner.y))},
          frame_.size};
}

Point View::gtkOriginInRoot() const {
  Point origin;
  for (const View* v = this; v->superview_; v = v->superview_) {
    const Rect placed = v->frameInGtkParent();
    origin.x += placed.origin.x;
    origin.y += placed.origin.y;
  }
  return origin;
}

Point View::convertPointToWindow(Point point) const {
  const Point gtk = localToGtk(point);
  const Point origin = gtkOriginInRoot();
  return {gtk.x + origin.x, root().frame_.size.height - (gtk.y + origin.y)};
}

Point View::convertPointFromWindow(Point point) const {
  const Point origin = gtkOriginInRoot();
  return gtkToLocal({point.x - origin.x, root().frame_.size.height - point.y - origin.y});
}

Point View::convertPointFromView(Point point, const View* view) const {
  return convertPointFromWindow(view ? view->convertPointToWindow(point) : point);
}

Point View::convertPointToView(Point point, const View* view) const {
  const Point window = convertPointToWindow(point);
  return view ? view->convertPointFromWindow(window) : window;
}

View* View::hitTest(Point pointInSuperview) {
  if (hidden_) return nullptr;
  // Through GTK coordinates, so a flipped view in an unflipped superview (or the reverse) converts right.
  Point gtk;
  if (superview_) {
    const Point inParent = superview_->localToGtk(pointInSuperview);
    const Rect placed = frameInGtkParent();
    gtk = {inParent.x - placed.origin.x, inParent.y - placed.origin.y};
  } else {
    gtk = {pointInSuperview.x, frame_.size.height - pointInSuperview.y};
  }
  if (!(gtk.x >= 0 && gtk.x < frame_.size.width && gtk.y >= 0 && gtk.y < frame_.size.height)) return nullptr;
  const Point local = gtkToLocal(gtk);
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    if (View* hit = (*it)->hitTest(local)) return hit;
  }
  return this;
}

void View::mouseDown(const Event& event) {
  if (superview_) superview_->mouseDown(event);
}
void View::mouseDragged(const Event& event) {
  if (superview_) superview_->mouseDragged(event);
}
void View::mouseUp(const Event& event) {
  if (superview_) superview_->mouseUp(event);
}
void View::rightMouseDown(const Event& event) {
  if (superview_) superview_->rightMouseDown(event);
}
void View::rightMouseUp(const Event& event) {
  if (superview_) superview_->rightMouseUp(event);
}
void View::mouseMoved(const Event& event) {
  if (superview_) superview_->mouseMoved(event);
}
// Entered and exited belong to the view that tracks the area; they are not passed on.
void View::mouseEntered(const Event&) {}
void View::mouseExited(const Event&) {}
void View::scrollWheel(const Event& event) {
  if (superview_) superview_->scrollWheel(event);
}
void View::keyDown(const Event& event) {
  if (superview_) {
    superview_->keyDown(event);
  } else if (host_) {
    host_->noResponderFor(event);
  }
}
void View::keyUp(const Event& event) {
  if (superview_) superview_->keyUp(event);
}
void View::flagsChanged(const Event& event) {
  if (superview_) superview_->flagsChanged(event);
}

bool View::performKeyEquivalent(const Event& event) {
  // A copy: a subview's answer may change the hierarchy.
  const std::vector<std::shared_ptr<View>> subviews = subviews_;
  for (const auto& subview : subviews) {
    if (!subview->isHidden() && subview->performKeyEquivalent(event)) return true;
  }
  return false;
}

void View::trackMouse(EventMask mask, std::function<void(const Event&)> handler) {
  ViewHost* window = host();
  if (!window) return;
  // The gesture keeps the view alive until it ends, as the loop inside mouseDown: did.
  window->beginGesture(mask, [self = weak_from_this().lock(), handler = std::move(handler)](const Event& event) {
    if (handler) handler(event);
  });
}

}  // namespace platform
