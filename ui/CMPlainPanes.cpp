#include "ui/CMPlainPanes.h"

#include "platform/graphics/graphics_context.h"

namespace {
// The dark greys of the main window's bars.
const platform::Color kToolbarGrey{0.27, 0.27, 0.27, 1};
const platform::Color kPaletteGrey{0.239, 0.239, 0.239, 1};
const platform::Color kTabsGrey{0.2, 0.2, 0.2, 1};
}  // namespace

void CMFilledPane::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->setFillColor(fill_);
  context->rectFill(bounds());
}

CMToolsView::CMToolsView() : CMFilledPane({0, 0, kCMToolPaletteWidth, 100}, kCMPaneToolPalette, kPaletteGrey) {}

CMTopToolbarView::CMTopToolbarView() : CMFilledPane({0, 0, 100, kHeight}, kCMPaneTopToolbar, kToolbarGrey) {}

CMDocumentSelectorView::CMDocumentSelectorView()
    : CMFilledPane({0, 0, 100, kHeight}, kCMPaneDocumentTabs, kTabsGrey) {}

void CMDocumentSelectorView::layoutPane() {
  // The pane layout keeps the strip's y, so pin it to the top edge first.
  const double top = superview() ? superview()->frame().size.height : 0;
  setFrameOrigin({frame().origin.x, top - frame().size.height});
  CMPanelBase::layoutPane();
}
