#include "ui/VDGradientMatrix.h"

#include "document/VDGradientDraw.h"
#include "platform/core/numeric.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

void VDGradientMatrix::setEnable(bool enable) {
  enable_ = enable;
  setNeedsDisplay();
}

int VDGradientMatrix::columns() const { return platform::saturatingTruncate<int>(frame().size.width / kCell); }

int VDGradientMatrix::count() const { return gradients_ ? static_cast<int>(gradients_->size()) : 0; }

platform::Rect VDGradientMatrix::cellRect(int index) const {
  const int C = columns();
  const int column = index % C;
  const int row = index / C;
  return {1 + kCell * column, frame().size.height - kCell * (row + 1) - 1, kCell, kCell};
}

void VDGradientMatrix::drawRect(const platform::Rect& dirtyRect) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context || columns() < 1) return;
  for (int i = 0; i < count(); ++i) {
    const platform::Rect cell = cellRect(i);
    if (!platform::intersectsRect(cell, dirtyRect) && !platform::containsRect(dirtyRect, cell)) continue;
    if (i == selectedGradient_ && enable_) {
      context->setFillColor(platform::Color::calibrated(0, 0, 1, 1));
      context->rectFill({cell.origin.x - 1, cell.origin.y - 1, cell.size.width + 2, cell.size.height + 2});
    }
    if (const platform::DictRef gradient = gradients_->at(static_cast<std::size_t>(i)).dictionary())
      VDGradientDraw::drawGradient(
          *context, {cell.origin.x + 4, cell.origin.y + 4, cell.size.width - 8, cell.size.height - 8}, gradient, false);
  }
}

void VDGradientMatrix::mouseDown(const platform::Event& event) {
  if (!enable_ || columns() < 1) return;
  const platform::Point point = convertPointFromWindow(event.locationInWindow);
  for (int i = 0; i < count(); ++i) {
    if (!platform::pointInRect(point, cellRect(i))) continue;
    selectedGradient_ = i;
    if (delegate_)
      if (const platform::DictRef gradient = gradients_->at(static_cast<std::size_t>(i)).dictionary())
        delegate_->selectGradient(gradient);
    setNeedsDisplay();
    return;
  }
}
