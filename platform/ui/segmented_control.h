#pragma once

// NSSegmentedControl (select-one): linked radio buttons drawn as buttons, one
// action per user selection (GTK toggles two buttons per change; only the one
// turning on counts).

#include <gtkmm/box.h>
#include <gtkmm/radiobutton.h>

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace platform {

class SegmentedControl : public Control {
 public:
  SegmentedControl(Rect frame, const std::vector<std::string>& labels);

  int segmentCount() const { return static_cast<int>(segments_.size()); }
  // -1 when none is selected.
  int selectedSegment() const;
  // Out-of-range indexes are ignored.
  void setSelectedSegment(int index);
  std::string labelForSegment(int index) const;
  void setLabel(const std::string& label, int index);

  Gtk::RadioButton& gtkSegment(int index) { return *segments_.at(static_cast<std::size_t>(index)); }

 private:
  Gtk::Box* box_;                            // managed
  std::vector<Gtk::RadioButton*> segments_;  // managed by box_
};

}  // namespace platform
