#include "ui/CMStatusBarView.h"

#include "document/CMStyle.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/graphics_context.h"

namespace {
const platform::Color kBarGrey{0.197, 0.197, 0.197, 1};
const platform::Color kTextColour{0.85, 0.85, 0.85, 1};
constexpr double kTextInset = 8;
}  // namespace

CMStatusBarView::CMStatusBarView() : CMPanelBase({0, 0, 100, kHeight}, kCMPaneStatusBar) {}

void CMStatusBarView::setText(const std::string& text) {
  text_ = text;
  setNeedsDisplay();
}

void CMStatusBarView::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Size size = frame().size;
  context->setFillColor(kBarGrey);
  context->rectFill(bounds());
  if (!text_.empty()) {
    platform::TextAttributes attributes;
    attributes.foregroundColor = kTextColour;
    platform::AttributedString(text_, attributes)
        .drawInRect({kTextInset, 0, size.width - 2 * kTextInset, size.height - 4});
  }
  const CMDeviceColor line = CMStyle::lineColor();
  context->setFillColor(platform::Color::device(line.red, line.green, line.blue, line.alpha));
  context->rectFill({0, size.height - 1, size.width, 1});
}
