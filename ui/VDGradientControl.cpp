#include "ui/VDGradientControl.h"

#include <gtkmm/window.h>

#include "document/VDGradientDraw.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/popup_window.h"
#include "ui/VDGradientWindowController.h"

VDGradientControl::~VDGradientControl() {
  VDGradientWindowController& window = VDGradientWindowController::sharedGradient();
  if (window.delegate() == this) window.detach();
}

void VDGradientControl::setGradient(platform::DictRef gradient) {
  gradient_ = std::move(gradient);
  recordIsCurrent();
  setNeedsDisplay();
}

void VDGradientControl::recordIsCurrent() { before_ = gradient_ ? platform::dictionaryCopy(gradient_) : nullptr; }

void VDGradientControl::didGradientChanged() {
  // The action may rebuild the panel and drop this control: keep it until the change is done.
  const std::shared_ptr<platform::View> self = shared_from_this();
  previous_ = before_;
  recordIsCurrent();
  setNeedsDisplay();
  userDidChange();
}

void VDGradientControl::didGradientClose() {
  isActive_ = false;
  setNeedsDisplay();
}

void VDGradientControl::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Rect rect{0, 0, frame().size.width, frame().size.height};
  if (gradient_) VDGradientDraw::drawGradient(*context, rect, gradient_, false);
  if (!isActive_) return;
  platform::BezierPath outline = platform::BezierPath::rect(rect);
  outline.setLineWidth(1);
  context->setStrokeColor(platform::Color::blackColor());
  context->strokePath(outline);
}

void VDGradientControl::mouseDown(const platform::Event&) {
  if (!isEnabled()) return;
  isActive_ = true;
  VDGradientWindowController& window = VDGradientWindowController::sharedGradient();
  window.setGradient(gradient_);
  window.setDelegate(this);
  platform::Rect rect = platform::PopupWindow::screenRectOfView(*this);
  rect.origin.y -= bounds().size.height;
  window.showPopup(rect, dynamic_cast<Gtk::Window*>(widget().get_toplevel()));
  setNeedsDisplay();
}
