#include "ui/CMColorPanelController.h"

#include <algorithm>
#include <cmath>

#include "platform/core/geometry_strings.h"
#include "platform/core/log.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/event.h"

namespace {

constexpr double kArrowHeight = 8;
constexpr double kArrowHalfWidth = 6;
constexpr double kCorner = 6;

}  // namespace

void CMColorPanelBackgroundView::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Rect b = bounds();
  const double x = b.origin.x + 1, y = b.origin.y + 1, right = x + b.size.width - 2;
  const double top = y + b.size.height - 2, body = top - kArrowHeight, a = arrowX_;
  platform::BezierPath path;
  path.moveTo({a, top});
  path.lineTo({a + kArrowHalfWidth, body});
  path.lineTo({right - kCorner, body});
  path.curveTo({right, body - kCorner}, {right, body}, {right, body});
  path.lineTo({right, y + kCorner});
  path.curveTo({right - kCorner, y}, {right, y}, {right, y});
  path.lineTo({x + kCorner, y});
  path.curveTo({x, y + kCorner}, {x, y}, {x, y});
  path.lineTo({x, body - kCorner});
  path.curveTo({x + kCorner, body}, {x, body}, {x, body});
  path.lineTo({a - kArrowHalfWidth, body});
  path.closePath();
  context->setFillColor(platform::Color::white(1, 1));
  context->fillPath(path);
  context->saveGraphicsState();
  platform::BezierPath clip = platform::BezierPath::rect(b);
  clip.appendPath(path);
  context->clipToPath(clip);
  path.setLineWidth(2);
  context->setStrokeColor(platform::Color::white(1, 1));
  context->strokePath(path);
  context->restoreGraphicsState();
}

CMColorPanelController::CMColorPanelController(CMColorPanelControllerDelegate* delegate)
    : delegate_(delegate), window_({kWidth, kHeight}) {
  auto background = std::make_shared<CMColorPanelBackgroundView>(platform::Rect{0, 0, kWidth, kHeight});
  grid_ = std::make_shared<CMColorGridView>(platform::Rect{5, 3, kWidth - 10, kHeight - kArrowHeight - 6});
  grid_->setDelegate(this);
  background->addSubview(grid_);
  window_.setContentView(background);
  window_.setDidResign([this](platform::PopupWindow::ResignReason) { closeWindow(); });
}

platform::Rect CMColorPanelController::targetFrame(const platform::Rect& rect) {
  const float x = std::round(static_cast<float>(rect.origin.x + rect.size.width / 2 - kWidth / 2));
  return {x, rect.origin.y + rect.size.height - kHeight, kWidth, kHeight};
}

void CMColorPanelController::openPanel(const platform::Rect& rect, Gtk::Window* owner) {
  grid_->preopen();
  platform::Rect target = targetFrame(rect);
  // The whole balloon on the screen: beside the screen's left or right edge it moves in.
  const platform::Rect screen = platform::PopupWindow::screenFrame(owner);
  target.origin.x = std::clamp(target.origin.x, 0.0, std::max(0.0, screen.size.width - target.size.width));
  // Shift with Option held logs where the balloon goes, for checking its placement on odd screen layouts.
  constexpr platform::ModifierFlags kShiftOption = platform::modifier::Shift | platform::modifier::Option;
  const platform::Event* event = platform::currentEvent();
  if (event && event->type == platform::EventType::LeftMouseDown &&
      (event->modifierFlags & platform::modifier::DeviceIndependentMask) == kShiftOption) {
    platform::log(platform::LogLevel::Warning, "Icon is at " + platform::stringFromRect(rect) +
                                                   "\n\tMenu is on screen " +
                                                   platform::stringFromRect(platform::PopupWindow::screenFrame(owner)) +
                                                   "\n\tWill be animated to " + platform::stringFromRect(target));
  }
  window_.orderFront(target, owner);
}

void CMColorPanelController::didSelectColor(const platform::Color& color) {
  window_.orderOut();
  if (delegate_) delegate_->didChangeColor(color);
}
