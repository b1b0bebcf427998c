#include "ui/CMViewTags.h"

int tagOfView(const platform::View& view) {
  const auto* control = dynamic_cast<const platform::Control*>(&view);
  return control ? control->tag() : 0;
}

platform::View* subviewWithTag(const platform::View& parent, int tag) {
  for (const auto& subview : parent.subviews())
    if (tagOfView(*subview) == tag) return subview.get();
  return nullptr;
}

