#include "ui/CMToolsBase.h"

#include "platform/core/numeric.h"
#include "ui/CMSplitView.h"

std::shared_ptr<CMToolbarButton> CMToolsBase::addButton(const std::string& toolTip, Glib::RefPtr<Gdk::Pixbuf> image,
                                                        Glib::RefPtr<Gdk::Pixbuf> selectedImage,
                                                        platform::Control::Action action, int tag) {
  const double side = frame().size.width;
  auto button = std::make_shared<CMToolbarButton>(platform::Rect{0, 0, side, side});
  button->setToolTip(toolTip);
  button->setImages(std::move(image), std::move(selectedImage));
  button->setAction(std::move(action));
  button->setTag(tag);
  addSubview(button);
  actions_.push_back({button, 0});
  layoutSubViews();
  return button;
}

CMToolbarButton* CMToolsBase::buttonWithTag(int tag) const {
  for (const Element& element : actions_)
    if (element.button && element.button->tag() == tag) return element.button.get();
  return nullptr;
}

CMSplitView* CMToolsBase::splitView() const {
  if (!superview()) return nullptr;
  for (const auto& sibling : superview()->subviews())
    if (auto* split = dynamic_cast<CMSplitView*>(sibling.get())) return split;
  return nullptr;
}

void CMToolsBase::layoutSubViews() {
  const platform::Size size = frame().size;
  if (size.width < size.height) {
    layoutVertical(size.width, size.height);
  } else {
    layoutHorizontal(size.width, size.height);
  }
}

void CMToolsBase::layoutVertical(double width, double height) {
  const double side = platform::saturatingTruncate<int>(width - 3);
  double taken = 0;
  for (const Element& element : actions_) {
    if (!element.button) continue;
    if (element.button->tag() == kPinnedTag) {
      element.button->setFrame({200, 2, side, side});
      continue;
    }
    // y-up: the first button sits 1 point under the top edge.
    element.button->setFrame({1, height - side - taken - 1, side, side});
    taken += side + 1;
  }
}

void CMToolsBase::layoutHorizontal(double width, double height) {
  const double side = platform::saturatingTruncate<int>(height - 3);
  double x = 1;
  bool hidden = false;
  for (const Element& element : actions_) {
    if (element.button) {
      if (element.button->tag() == kPinnedTag) {
        element.button->setFrame({200, 2, side, side});
        continue;
      }
      element.button->setFrame({x, 2, side, side});
      element.button->setHidden(hidden);
      x += side + 1;
    } else if (element.offset == kRightPanelMarker) {
      const CMSplitView* split = splitView();
      const double panel = split ? split->rightPanelWidth() : 0;
      // Centred over the right panel as if three buttons followed; the fourth runs on to the right.
      x = platform::saturatingTruncate<int>((panel - 3 * side) * 0.5 + (width - panel) - 12);
      hidden = split && split->isRightPanelHidden();
    } else {
      x += element.offset;
    }
  }
}
