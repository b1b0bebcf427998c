#include "platform/ui/view_widget.h"

#include <algorithm>
#include <cmath>

#include "platform/core/numeric.h"
#include "platform/ui/view.h"

namespace platform {

int pixelsFromLength(double length) { return saturatingTruncate<int>(std::floor(length + 0.5)); }

ViewWidget::ViewWidget(View& owner) : owner_(&owner) {}

void ViewWidget::setContent(Gtk::Widget& content) {
  if (content_) remove(*content_);
  content_ = &content;
  put(content, 0, 0);
  content.show();
}

bool ViewWidget::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
  if (owner_) owner_->drawOnCairo(cr->cobj());
  // Subviews are clipped to their superview, as AppKit clips them (a scrolled document overhangs its clip view).
  cr->rectangle(0, 0, get_allocated_width(), get_allocated_height());
  cr->clip();
  return Gtk::Fixed::on_draw(cr);
}

void ViewWidget::on_size_allocate(Gtk::Allocation& allocation) {
  set_allocation(allocation);
  if (!owner_) return;
  if (owner_->drawsOverSuperview()) {
    // GTK draws and invalidates a widget over its clip, which may reach past its allocation.
    const Rect painted = owner_->paintedAreaInGtk();
    set_clip(Gtk::Allocation(allocation.get_x() + pixelsFromLength(painted.origin.x),
                             allocation.get_y() + pixelsFromLength(painted.origin.y),
                             std::max(1, pixelsFromLength(painted.size.width)),
                             std::max(1, pixelsFromLength(painted.size.height))));
  }
  // A window-less widget's children are allocated in the same GdkWindow coordinates as it is.
  for (const auto& subview : owner_->subviews()) {
    Gtk::Widget& child = subview->widget();
    if (!child.get_visible()) continue;
    const Rect placed = subview->frameInGtkParent();
    Gtk::Requisition minimum;
    Gtk::Requisition natural;
    child.get_preferred_size(minimum, natural);
    Gtk::Allocation childAllocation(
        allocation.get_x() + pixelsFromLength(placed.origin.x), allocation.get_y() + pixelsFromLength(placed.origin.y),
        std::max(1, pixelsFromLength(placed.size.width)), std::max(1, pixelsFromLength(placed.size.height)));
    child.size_allocate(childAllocation);
  }
  if (content_ && content_->get_visible()) {
    Gtk::Requisition minimum;
    Gtk::Requisition natural;
    content_->get_preferred_size(minimum, natural);
    content_->size_allocate(allocation);
  }
}

void ViewWidget::get_preferred_width_vfunc(int& minimum, int& natural) const {
  natural = owner_ ? std::max(0, pixelsFromLength(owner_->frame().size.width)) : 0;
  // The content view follows its window, so it must not hold the window's size up.
  minimum = owner_ && owner_->superview() ? natural : 1;
}

void ViewWidget::get_preferred_height_vfunc(int& minimum, int& natural) const {
  natural = owner_ ? std::max(0, pixelsFromLength(owner_->frame().size.height)) : 0;
  minimum = owner_ && owner_->superview() ? natural : 1;
}

}  // namespace platform
