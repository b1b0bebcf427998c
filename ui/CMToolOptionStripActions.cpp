// What the option strips' controls do: tool parameters into the profile, the
// width field and its stepper kept in step.

#include <cstdio>

#include "document/CMProject.h"
#include "platform/core/numeric.h"
#include "platform/core/string_conversions.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/stepper.h"
#include "platform/ui/text_field.h"
#include "ui/CMToolOptionStrips.h"
#include "ui/CMViewTags.h"

namespace {

CMGlobalProfile& profile() { return CMProject::shareProject().profile(); }

// The control's siblings of type T with its tag.
template <typename T, typename Visit>
void forSiblings(const platform::Control& control, Visit visit) {
  if (!control.superview()) return;
  for (const auto& sibling : control.superview()->subviews()) {
    auto* typed = dynamic_cast<T*>(sibling.get());
    if (typed && typed != &control && typed->tag() == control.tag()) visit(*typed);
  }
}

}  // namespace

void CMToolOptionStrips::enableLineTools(platform::View& strip) {
  const bool arrows = profile().integerForKey("line_arrow_type") != 0;
  for (const auto& subview : strip.subviews()) {
    if (tagOfView(*subview) != kCMStripArrowStyleTag) continue;
    if (auto* control = dynamic_cast<platform::Control*>(subview.get())) control->setEnabled(arrows);
  }
}

void CMToolOptionStrips::OnStarType(platform::SegmentedControl& sender) {
  profile().setInteger(sender.selectedSegment(), "star_angles");
}

void CMToolOptionStrips::OnPolygonType(platform::SegmentedControl& sender) {
  profile().setInteger(sender.selectedSegment(), "polygon_sides");
}

void CMToolOptionStrips::OnLineType(platform::PopUpButton& sender) {
  profile().setInteger(sender.indexOfSelectedItem(), "line_arrow_type");
  if (sender.superview()) enableLineTools(*sender.superview());
}

void CMToolOptionStrips::OnLineArrowStyle(platform::PopUpButton& sender) {
  profile().setInteger(sender.indexOfSelectedItem(), "line_arrow_style");
}

void CMToolOptionStrips::controlTextDidChange(platform::TextField& sender) {
  if (sender.tag() == kCMStripLineWidthTag) OnLineWidth(sender);
}

void CMToolOptionStrips::applyWidthFromField(platform::TextField& field, const char* key) {
  // Empty text and text that is no number read as 0: ignored, as is anything below 1.
  const std::int32_t value = platform::stringIntValue(field.stringValue());
  if (value < 1) return;
  profile().setInteger(value, key);
  forSiblings<platform::Stepper>(field, [value](platform::Stepper& stepper) { stepper.setDoubleValue(value); });
}

void CMToolOptionStrips::applyWidthFromStepper(platform::Stepper& stepper, const char* key) {
  const double value = stepper.doubleValue();
  if (!(value >= 1)) return;
  const std::int32_t width = platform::saturatingTruncate<std::int32_t>(value);
  profile().setInteger(width, key);
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(width));
  forSiblings<platform::TextField>(stepper, [&text](platform::TextField& field) { field.setStringValue(text); });
}
