#include "ui/CMColorPicker.h"

#include <gtkmm/window.h>

#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/color_panel.h"
#include "platform/ui/image_named.h"
#include "platform/ui/popup_window.h"
#include "platform/ui/system_colors.h"

CMColorPicker* CMColorPicker::activePicker_ = nullptr;

namespace {

constexpr double kImageSide = 13;
const platform::Color kHoverGrey =
    platform::Color::calibrated(0.8666666666666667, 0.8666666666666667, 0.8666666666666667, 1);

Gtk::Window* toplevelOf(platform::View& view) { return dynamic_cast<Gtk::Window*>(view.widget().get_toplevel()); }

}  // namespace

CMColorPicker::CMColorPicker(platform::Rect frame) : Control(frame) {}

CMColorPicker::~CMColorPicker() {
  // The colour panel must not report to a picker that is gone.
  if (activePicker_ == this) deactivate();
}

void CMColorPicker::setColor(const platform::Color& color) {
  color_ = color;
  hasColor_ = true;
  setNeedsDisplay();
}

platform::Rect CMColorPicker::btRect() const {
  const platform::Size size = frame().size;
  return {size.width - size.height, 0, size.height, size.height};
}

bool CMColorPicker::isSelected() {
  if (activePicker_ == this) isSelected_ = true;
  return isSelected_;
}

void CMColorPicker::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const double W = frame().size.width, H = frame().size.height;
  const platform::Rect square = btRect();
  const platform::BezierPath outline = platform::BezierPath::roundedRect({2, 2, W - 4, H - 4}, 4, 4);
  const auto fillClipped = [&](const platform::Rect& rect, const platform::Color& color) {
    context->saveGraphicsState();
    context->clipToPath(outline);
    context->setFillColor(color);
    context->rectFill(rect);
    context->restoreGraphicsState();
  };
  if (isSelected_) {
    fillClipped(square, platform::alternateSelectedControlColor());
  } else if (isHighlighted_) {
    fillClipped(square, kHoverGrey);
  }
  if (const std::shared_ptr<platform::Image> image = platform::imageNamed("color_well_bt")) {
    image->drawInRect({square.origin.x + (square.size.width - kImageSide) / 2,
                       square.origin.y + (square.size.height - kImageSide) / 2, kImageSide, kImageSide},
                      {}, platform::CompositingOperation::SourceOver, 1);
  }
  if (hasColor_) fillClipped({0, 0, W - H + 2, H}, color_);
  platform::BezierPath stroke = outline;
  stroke.setLineWidth(1);
  context->setStrokeColor(platform::Color::white(0.5, 1));
  context->strokePath(stroke);
}

void CMColorPicker::mouseMoved(const platform::Event& event) {
  const bool over = platform::pointInRect(convertPointFromWindow(event.locationInWindow), btRect());
  if (over == isHighlighted_) return;
  isHighlighted_ = over;
  setNeedsDisplay();
}

void CMColorPicker::mouseEntered(const platform::Event& event) { mouseMoved(event); }

void CMColorPicker::mouseExited(const platform::Event&) {
  isHighlighted_ = false;
  setNeedsDisplay();
}

void CMColorPicker::mouseDown(const platform::Event& event) {
  if (!isEnabled()) return;
  if (platform::pointInRect(convertPointFromWindow(event.locationInWindow), btRect())) {
    isSelected_ = true;
    setNeedsDisplay();
  }
}

void CMColorPicker::mouseUp(const platform::Event& event) {
  if (!isEnabled()) return;
  if (platform::pointInRect(convertPointFromWindow(event.locationInWindow), btRect())) {
    if (activePicker_ && activePicker_ != this) activePicker_->closePopup();
    platform::ColorPanel& panel = platform::ColorPanel::shared();
    panel.setCloseHandler([this] { windowWillClose(); });
    if (hasColor_) panel.setColor(color_);
    panel.setTarget(this, [this](platform::ColorPanel& sender) { colorUpdate(sender); });
    activePicker_ = this;
    panel.orderFront(toplevelOf(*this));
  } else {
    showPopupWindow();
  }
  setNeedsDisplay();
}

void CMColorPicker::takeColor(const platform::Color& color) {
  // The action may rebuild the panel and drop this picker: keep it until the change is done.
  const std::shared_ptr<platform::View> self = shared_from_this();
  setColor(color);
  userDidChange();
}

void CMColorPicker::colorUpdate(platform::ColorPanel& sender) { takeColor(sender.color()); }

void CMColorPicker::didChangeColor(const platform::Color& color) { takeColor(color); }

void CMColorPicker::windowWillClose() {
  isSelected_ = false;
  setNeedsDisplay();
}

void CMColorPicker::closePopup() {
  isSelected_ = false;
  if (activePicker_ == this) activePicker_ = nullptr;
  setNeedsDisplay();
}

void CMColorPicker::deactivate() {
  isSelected_ = false;
  platform::ColorPanel& panel = platform::ColorPanel::shared();
  if (panel.target() == this) {
    panel.setTarget(nullptr, nullptr);
    panel.setCloseHandler(nullptr);
  }
  if (activePicker_ == this) activePicker_ = nullptr;
  setNeedsDisplay();
}

void CMColorPicker::showPopupWindow() {
  if (!panelController_) panelController_ = std::make_unique<CMColorPanelController>(this);
  platform::Rect rect = platform::PopupWindow::screenRectOfView(*this);
  rect.origin.y -= bounds().size.height;
  panelController_->openPanel(rect, toplevelOf(*this));
}
