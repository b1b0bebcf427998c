#include "platform/ui/split_view.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/graphics_context.h"
#include "platform/ui/cursor.h"

namespace platform {

namespace {
// The divider is drawn one pixel wide but grabbed this far on either side.
constexpr double kGrabMargin = 3;
}  // namespace

SplitView::SplitView(Rect frame, std::shared_ptr<View> first, std::shared_ptr<View> second)
    : View(frame), first_(std::move(first)), second_(std::move(second)), position_(frame.size.width / 2) {
  addSubview(first_);
  addSubview(second_);
  position_ = clamped(position_);
  layoutPanes();
  reportedWidth_ = firstPaneWidth();
}

double SplitView::clamped(double position) const {
  const double width = frame().size.width;
  const double highest = std::max(0.0, width - dividerThickness() - minimumSecond_);
  if (!std::isfinite(position)) position = position_;
  return std::clamp(position, std::min(minimumFirst_, highest), highest);
}

void SplitView::setDividerPosition(double position) {
  position_ = clamped(position);
  layoutPanes();
}

void SplitView::setMinimumWidths(double first, double second) {
  minimumFirst_ = std::isfinite(first) ? std::max(0.0, first) : 0;
  minimumSecond_ = std::isfinite(second) ? std::max(0.0, second) : 0;
  setDividerPosition(position_);
}

void SplitView::setSecondPaneCollapsed(bool collapsed) {
  collapsed_ = collapsed;
  layoutPanes();
}

void SplitView::resizeSubviewsWithOldSize(Size) { setDividerPosition(position_); }

void SplitView::layoutPanes() {
  const Size size = frame().size;
  second_->setHidden(collapsed_);
  if (collapsed_) {
    first_->setFrame({0, 0, size.width, size.height});
  } else {
    first_->setFrame({0, 0, position_, size.height});
    const double secondX = position_ + dividerThickness();
    second_->setFrame({secondX, 0, std::max(0.0, size.width - secondX), size.height});
  }
  setNeedsDisplay();
  if (!dragging_) reportWidthIfChanged();
}

void SplitView::reportWidthIfChanged() {
  const double width = firstPaneWidth();
  if (width == reportedWidth_) return;
  reportedWidth_ = width;
  if (widthDidChange_) widthDidChange_(width);
}

bool SplitView::onDivider(Point local) const {
  return !collapsed_ && local.x >= position_ - kGrabMargin && local.x <= position_ + dividerThickness() + kGrabMargin;
}

View* SplitView::hitTest(Point pointInSuperview) {
  View* hit = View::hitTest(pointInSuperview);
  if (!hit) return nullptr;
  // Near the divider the split view itself takes the click, not the pane under it.
  const Point local =
      superview() ? convertPointFromView(pointInSuperview, superview()) : convertPointFromWindow(pointInSuperview);
  return onDivider(local) ? this : hit;
}

void SplitView::mouseMoved(const Event& event) {
  setCursor(onDivider(convertPointFromWindow(event.locationInWindow)) ? Cursor::resizeLeftRight() : nullptr);
}

void SplitView::mouseDown(const Event& event) {
  const Point start = convertPointFromWindow(event.locationInWindow);
  if (!onDivider(start)) return;
  const double grabOffset = start.x - position_;
  dragging_ = true;
  trackMouse(eventMaskFromType(EventType::LeftMouseDragged) | eventMaskFromType(EventType::LeftMouseUp),
             [this, grabOffset](const Event& e) {
               setDividerPosition(convertPointFromWindow(e.locationInWindow).x - grabOffset);
               if (e.type != EventType::LeftMouseUp) return;
               dragging_ = false;
               reportWidthIfChanged();
               if (didMove_) didMove_(position_);
             });
}

void SplitView::drawRect(const Rect&) {
  if (collapsed_) return;
  GraphicsContext* context = GraphicsContext::current();
  if (!context) return;
  context->setFillColor(Color{0.75, 0.75, 0.75, 1});
  context->rectFill({position_, 0, dividerThickness(), frame().size.height});
}

}  // namespace platform
