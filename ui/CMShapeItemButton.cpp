#include "ui/CMShapeItemButton.h"

#include <gdk/gdk.h>

#include <cmath>

#include "canvas/CMEditorView.h"
#include "document/CMShapeItem.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image.h"
#include "platform/ui/drag_source.h"
#include "platform/ui/view_host.h"

namespace {

constexpr const char* kPngType = "image/png";
constexpr std::uint16_t kSpaceKey = 49;
constexpr std::uint16_t kReturnKey = 36;

Glib::RefPtr<Gdk::Pixbuf> pixbufOf(const platform::Image& image) {
  cairo_surface_t* surface = image.surface().get();
  if (!surface || image.pixelsWide() <= 0 || image.pixelsHigh() <= 0) return {};
  cairo_surface_flush(surface);
  GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(surface, 0, 0, image.pixelsWide(), image.pixelsHigh());
  return pixbuf ? Glib::wrap(pixbuf) : Glib::RefPtr<Gdk::Pixbuf>();
}

}  // namespace

CMShapeItemButton::CMShapeItemButton(platform::Rect frame) : platform::Control(frame) {
  platform::DragSource::Handlers handlers;
  handlers.draggingEnded = [this](platform::Point point, platform::DragOperation) { draggingEnded(point); };
  handlers.draggingFailed = [this](platform::Point point) { return draggingFailed(point); };
  dragSource_ = std::make_unique<platform::DragSource>(*this, sourceOperationMask(), std::move(handlers));
}

CMShapeItemButton::~CMShapeItemButton() = default;

void CMShapeItemButton::setState(int state) {
  if (state_ == (state ? 1 : 0)) return;
  state_ = state ? 1 : 0;
  setNeedsDisplay();
}

void CMShapeItemButton::setImage(std::shared_ptr<platform::Image> image) {
  image_ = std::move(image);
  setNeedsDisplay();
}

void CMShapeItemButton::drawRect(const platform::Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const platform::Rect whole{0, 0, frame().size.width, frame().size.height};
  double opacity = 1;
  if (highlighted_ || state_ == 1) {
    context->setFillColor(platform::Color::white(highlighted_ ? 0.5 : 0.7, 1));
    context->fillPath(platform::BezierPath::rect(whole));
    opacity = 0.5;
  }
  if (image_) image_->drawInRect(whole, {}, platform::CompositingOperation::SourceOver, opacity);
}

void CMShapeItemButton::mouseDown(const platform::Event& event) {
  if (!isEnabled()) return;
  if (platform::ViewHost* window = host()) window->makeFirstResponder(this);
  pressPoint_ = convertPointFromWindow(event.locationInWindow);
  pressed_ = true;
  highlighted_ = true;
  setNeedsDisplay();
}

void CMShapeItemButton::mouseDragged(const platform::Event& event) {
  if (!pressed_) return;
  const platform::Point point = convertPointFromWindow(event.locationInWindow);
  if (std::hypot(point.x - pressPoint_.x, point.y - pressPoint_.y) < kDragThreshold) return;
  pressed_ = false;
  highlighted_ = false;
  setNeedsDisplay();
  beginDrag();
}

void CMShapeItemButton::mouseUp(const platform::Event&) {
  if (!pressed_) return;
  pressed_ = false;
  highlighted_ = false;
  toggle();
}

void CMShapeItemButton::keyDown(const platform::Event& event) {
  if (isEnabled() && (event.keyCode == kSpaceKey || event.keyCode == kReturnKey)) {
    toggle();
    return;
  }
  platform::Control::keyDown(event);
}

void CMShapeItemButton::toggle() {
  state_ = state_ ? 0 : 1;
  setNeedsDisplay();
  userDidChange();
}

bool CMShapeItemButton::beginDrag() {
  if (!image_) return false;
  platform::Expected<platform::Bytes> png = image_->representation(platform::ImageFileType::Png);
  if (!png) return false;
  platform::Pasteboard pasteboard;
  pasteboard.declareTypes({kPngType});
  pasteboard.setData(std::move(png).value(), kPngType);
  return dragSource_->beginDrag(std::move(pasteboard), pixbufOf(*image_));
}

void CMShapeItemButton::draggingEnded(platform::Point screenPoint) {
  CMEditorView* canvas = CMEditorView::activeEditor();
  const std::shared_ptr<CMLibraryItem> item = data();
  if (canvas && item) canvas->addShape(screenPoint, item->shapeData());
}

bool CMShapeItemButton::draggingFailed(platform::Point screenPoint) {
  CMEditorView* canvas = CMEditorView::activeEditor();
  return canvas && canvas->canAddShape(screenPoint);
}
