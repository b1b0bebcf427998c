#include "platform/ui/segmented_control.h"

#include <gtkmm/stylecontext.h>

namespace platform {

SegmentedControl::SegmentedControl(Rect frame, const std::vector<std::string>& labels)
    : Control(frame), box_(Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL)) {
  box_->get_style_context()->add_class("linked");
  box_->set_homogeneous(true);
  Gtk::RadioButton::Group group;
  for (const auto& label : labels) {
    auto* segment = Gtk::make_managed<Gtk::RadioButton>(group, label);
    segment->set_mode(false);  // a button, not a radio indicator
    box_->pack_start(*segment);
    segment->show();
    segments_.push_back(segment);
    keepConnection(segment->signal_toggled().connect([this, segment] {
      if (segment->get_active()) userDidChange();
    }));
  }
  setContent(*box_);
}

int SegmentedControl::selectedSegment() const {
  for (std::size_t i = 0; i < segments_.size(); ++i) {
    if (segments_[i]->get_active()) return static_cast<int>(i);
  }
  return -1;
}

void SegmentedControl::setSelectedSegment(int index) {
  if (index < 0 || index >= segmentCount()) return;
  auto blocked = guard();
  segments_[static_cast<std::size_t>(index)]->set_active(true);
}

std::string SegmentedControl::labelForSegment(int index) const {
  if (index < 0 || index >= segmentCount()) return {};
  return segments_[static_cast<std::size_t>(index)]->get_label();
}

void SegmentedControl::setLabel(const std::string& label, int index) {
  if (index < 0 || index >= segmentCount()) return;
  segments_[static_cast<std::size_t>(index)]->set_label(label);
}

}  // namespace platform
