#include "platform/ui/label.h"

namespace platform {

Label::Label(Rect frame, const std::string& text) : View(frame), label_(Gtk::make_managed<Gtk::Label>(text)) {
  label_->set_xalign(0);
  label_->set_ellipsize(Pango::ELLIPSIZE_END);
  setContentWidget(*label_);
}

}  // namespace platform
