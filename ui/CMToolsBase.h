#pragma once

// A strip of square image buttons, vertical (the tool palette) or horizontal
// (the top toolbar). Its elements, in order, are buttons and offset markers:
// a marker of n points leaves a gap, the marker kRightPanelMarker moves the
// buttons after it over the right panel and hides them with that panel.
// A button of tag kPinnedTag keeps its own place at (200, 2).

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "ui/CMPanelBase.h"
#include "ui/CMToolbarButton.h"

class CMSplitView;

class CMToolsBase : public CMPanelBase {
 public:
  static constexpr int kRightPanelMarker = -1;
  static constexpr int kPinnedTag = 100;

  // One element: a button, or (without one) an offset marker.
  struct Element {
    std::shared_ptr<CMToolbarButton> button;
    int offset = 0;
  };

  CMToolsBase(platform::Rect frame, int paneType) : CMPanelBase(frame, paneType) {}

  // A square on/off button as wide as the strip, added and laid out at once.
  std::shared_ptr<CMToolbarButton> addButton(const std::string& toolTip, Glib::RefPtr<Gdk::Pixbuf> image,
                                             Glib::RefPtr<Gdk::Pixbuf> selectedImage, platform::Control::Action action,
                                             int tag);
  void addOffset(int offset) { actions_.push_back({nullptr, offset}); }
  const std::vector<Element>& actions() const { return actions_; }
  // The first button with that tag, or null.
  CMToolbarButton* buttonWithTag(int tag) const;

  virtual void layoutSubViews();

 protected:
  // The split view beside this strip in its superview, or null.
  CMSplitView* splitView() const;

 private:
  void layoutVertical(double width, double height);
  void layoutHorizontal(double width, double height);

  std::vector<Element> actions_;
};
