#include "platform/ui/control.h"

#include <gtkmm/widget.h>

#include "platform/ui/view_widget.h"

namespace platform {

void Control::setContent(Gtk::Widget& widget) {
  content_ = &widget;
  setContentWidget(widget);
}

bool Control::isEnabled() const { return content_ ? content_->get_sensitive() : enabled_; }

void Control::setEnabled(bool enabled) {
  if (content_) {
    content_->set_sensitive(enabled);
  } else if (enabled_ != enabled) {
    enabled_ = enabled;
    setNeedsDisplay();
  }
}

void Control::userDidChange() {
  // Order matters: the scope must outlive `self`, whose release may destroy this control.
  ViewWidget::HandlerScope scope(viewWidget());
  std::shared_ptr<View> self = weak_from_this().lock();
  const Action action = action_;
  if (action) action(*this);
}

}  // namespace platform
