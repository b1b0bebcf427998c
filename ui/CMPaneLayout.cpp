#include "ui/CMPaneLayout.h"

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "platform/core/numeric.h"
#include "platform/ui/view.h"
#include "ui/CMPanelBase.h"

namespace {

using platform::Rect;

// Sums are kept as whole numbers, truncated after every addition, so that fractional
// pane sizes never leave hairline gaps that move from one layout to the next.
std::int64_t sumOf(const platform::View* superview, std::initializer_list<int> types, bool heights) {
  std::int64_t sum = 0;
  if (!superview) return 0;
  for (const auto& subview : superview->subviews()) {
    const auto* pane = dynamic_cast<const CMPanelBase*>(subview.get());
    if (!pane || pane->isHidden()) continue;
    for (int type : types) {
      if (pane->paneType() != type) continue;
      const platform::Size size = pane->frame().size;
      sum = platform::saturatingTruncate<std::int64_t>(static_cast<double>(sum) + (heights ? size.height : size.width));
    }
  }
  return sum;
}

// The last visible pane of that type in subview order, or 0 without one.
double lastOf(const platform::View* superview, int type, bool height) {
  double value = 0;
  if (!superview) return 0;
  for (const auto& subview : superview->subviews()) {
    const auto* pane = dynamic_cast<const CMPanelBase*>(subview.get());
    if (!pane || pane->isHidden() || pane->paneType() != type) continue;
    value = height ? pane->frame().size.height : pane->frame().size.width;
  }
  return value;
}

}  // namespace

Rect paneFrame(int paneType, const Rect& current, const platform::View* superview) {
  const Rect s = superview ? superview->frame() : Rect{};
  const double w = s.size.width;
  const double h = s.size.height;
  const auto top = [&] {
    return static_cast<double>(sumOf(superview, {kCMPaneDocumentTabs, kCMPaneTopToolbar}, true));
  };
  const auto bottom = [&] {
    return static_cast<double>(sumOf(superview, {kCMPaneStatusBar, kCMPaneBottomStrip}, true));
  };
  switch (paneType) {
    case kCMPaneDocumentTabs:
      return {current.origin.x, current.origin.y, w, current.size.height};
    case kCMPaneToolPalette: {
      const double b = lastOf(superview, kCMPaneStatusBar, true);
      return {current.origin.x, b, kCMToolPaletteWidth, h - b - top()};
    }
    case kCMPaneStatusBar:
      return {current.origin.x, 0, w, current.size.height};
    case kCMPaneBottomStrip: {
      const double l = lastOf(superview, kCMPaneToolPalette, false);
      const double b = lastOf(superview, kCMPaneStatusBar, true);
      return {l, b, w - l, current.size.height};
    }
    case kCMPaneRightStrip:
      return {w - current.size.width, bottom(), current.size.width, h - bottom() - top()};
    case kCMPaneSplitView: {
      const double l = lastOf(superview, kCMPaneToolPalette, false);
      const double r = lastOf(superview, kCMPaneRightStrip, false);
      return {l, bottom(), w - r - l, h - bottom() - top()};
    }
    case kCMPaneTopToolbar: {
      const double tabs = static_cast<double>(sumOf(superview, {kCMPaneDocumentTabs}, true));
      return {0, h - current.size.height - tabs, w, current.size.height};
    }
    default:
      return current;
  }
}
