#include "ui/VDGradientEditorView.h"

#include <algorithm>

#include "document/VDGradientDraw.h"
#include "platform/core/log.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/color_panel.h"
#include "platform/ui/image_named.h"
#include "ui/CMColorPicker.h"
#include "ui/VDGradientRecords.h"

namespace {

using platform::DictRef;
using platform::Rect;
using VDGradientRecords::number;

struct Marker {
  std::shared_ptr<platform::Image> image;
  platform::Size size{9, 9};
};

// Without the picture a 9-point square stands in for hit tests.
Marker loadMarker(const char* name) {
  Marker made;
  made.image = platform::imageNamed(name);
  if (made.image) made.size = made.image->size();
  return made;
}

const Marker& topMarker() {
  static const Marker top = loadMarker("top_marker");
  return top;
}

const Marker& bottomMarker() {
  static const Marker bottom = loadMarker("bottom_marker");
  return bottom;
}

void drawMarker(const Marker& picture, const Rect& rect) {
  if (picture.image) picture.image->drawInRect(rect, {}, platform::CompositingOperation::SourceOver, 1);
}

}  // namespace

VDGradientEditorView::VDGradientEditorView(platform::Rect frame)
    : View(frame), menu_(std::make_unique<platform::Menu>()) {
  menu_->addItem("Add Stop", [this](platform::MenuItem&) { addColorStop(); });
  platform::MenuItem& remove = menu_->addItem("Delete Stop", [this](platform::MenuItem&) { deleteStop(); });
  remove.setTag(kDeleteTag);
  remove.setValidator([this](platform::MenuItem&) { return canDeleteStop(); });
}

VDGradientEditorView::~VDGradientEditorView() {
  platform::ColorPanel& panel = platform::ColorPanel::shared();
  if (panel.target() == this) panel.setTarget(nullptr, nullptr);
}

void VDGradientEditorView::setGradient(DictRef gradient) {
  gradient_ = std::move(gradient);
  focusedPoint_ = nullptr;
  selectedPoint_ = nullptr;
  setNeedsDisplay();
}

void VDGradientEditorView::setEnable(bool enable) {
  enable_ = enable;
  setNeedsDisplay();
}

Rect VDGradientEditorView::barRect() const {
  const platform::Size size = frame().size;
  return {10, 20, size.width - 20, size.height - 40};
}

Rect VDGradientEditorView::stopRect(float pos) const {
  const Rect bar = barRect();
  const platform::Size size = bottomMarker().size;
  const float along = pos * static_cast<float>(bar.size.width);
  return {bar.origin.x + along - size.width / 2, bar.origin.y - size.height, size.width, size.height};
}

Rect VDGradientEditorView::handleRect(float pos) const {
  const Rect bar = barRect();
  const platform::Size size = topMarker().size;
  const float along = pos * static_cast<float>(bar.size.width);
  return {bar.origin.x + along - size.width / 2, bar.origin.y + bar.size.height, size.width, size.height};
}

void VDGradientEditorView::drawRect(const Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  if (!gradient_) {
    platform::log(platform::LogLevel::Debug, "gradient not set");
    return;
  }
  const Rect bar = barRect();
  VDGradientDraw::drawGradient(*context, bar, gradient_, true);
  const std::vector<DictRef> sorted = VDGradientRecords::sortedStops(gradient_);
  const std::vector<std::size_t> neighbours = VDGradientRecords::rightNeighbours(sorted);
  for (std::size_t i = 0; i < sorted.size(); ++i)
    if (neighbours[i] != VDGradientRecords::kNoNeighbour)
      drawMarker(topMarker(), handleRect(VDGradientRecords::handlePosition(sorted[i], sorted[neighbours[i]])));
  for (const DictRef& stop : VDGradientRecords::stopsOf(gradient_)) {
    const Rect place = stopRect(number(stop, "pos"));
    drawMarker(bottomMarker(), place);
    context->setFillColor(platform::Color::device(number(stop, "red"), number(stop, "green"), number(stop, "blue"), 1));
    context->rectFill({place.origin.x + 2, place.origin.y + 2, 7, 5});
  }
}

void VDGradientEditorView::mouseDown(const platform::Event& event) {
  if (!enable_ || !gradient_) return;
  const platform::Point point = convertPointFromWindow(event.locationInWindow);
  for (const DictRef& stop : VDGradientRecords::stopsOf(gradient_)) {
    if (!platform::pointInRect(point, stopRect(number(stop, "pos")))) continue;
    focusedPoint_ = stop;
    if (event.clickCount >= 2) {
      selectedType_ = kEditColor;
      if (CMColorPicker* picker = CMColorPicker::activePicker()) picker->closePopup();
      platform::ColorPanel& panel = platform::ColorPanel::shared();
      panel.setCloseHandler(nullptr);
      panel.setColor(platform::Color::device(number(stop, "red"), number(stop, "green"), number(stop, "blue"), 1));
      panel.setTarget(this, [this](platform::ColorPanel& sender) { setColor(sender.color()); });
      panel.orderFront(nullptr);
    } else {
      selectedPoint_ = stop;
      selectedType_ = kDragStop;
    }
    break;
  }
  const std::vector<DictRef> sorted = VDGradientRecords::sortedStops(gradient_);
  const std::vector<std::size_t> neighbours = VDGradientRecords::rightNeighbours(sorted);
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (neighbours[i] == VDGradientRecords::kNoNeighbour) continue;
    const DictRef& right = sorted[neighbours[i]];
    if (!platform::pointInRect(point, handleRect(VDGradientRecords::handlePosition(sorted[i], right)))) continue;
    selectedPoint_ = sorted[i];
    selectedType_ = kDragMidpoint;
    minPos_ = number(sorted[i], "pos");
    maxPos_ = number(right, "pos");
    break;
  }
  setNeedsDisplay();
}

void VDGradientEditorView::mouseDragged(const platform::Event& event) {
  if (!enable_ || !selectedPoint_) return;
  const Rect bar = barRect();
  const double along = convertPointFromWindow(event.locationInWindow).x - bar.origin.x;
  const float v = along > bar.size.width ? 1.0F : along <= 0 ? 0.0F : static_cast<float>(along / bar.size.width);
  if (selectedType_ == kDragStop) {
    selectedPoint_->set("pos", v);
  } else if (selectedType_ == kDragMidpoint && maxPos_ != minPos_) {
    // Stops at one place have no room between them: their midpoint stays.
    selectedPoint_->set("mix", std::clamp((v - minPos_) / (maxPos_ - minPos_), 0.0F, 1.0F));
  }
  changed();
}

void VDGradientEditorView::mouseUp(const platform::Event&) {
  if (!enable_ || !selectedPoint_) return;
  selectedPoint_ = nullptr;
  if (delegate_) delegate_->didFinishDrag();
}

void VDGradientEditorView::rightMouseDown(const platform::Event&) {
  if (!enable_ || !gradient_) return;
  menu_->update();
  menu_->popUpAtPointer();
}

void VDGradientEditorView::changed() {
  if (delegate_) delegate_->didGradientChange();
  setNeedsDisplay();
}

void VDGradientEditorView::addColorStop() {
  if (!gradient_) return;
  focusedPoint_ = VDGradientRecords::addStop(gradient_);
  changed();
}

bool VDGradientEditorView::canDeleteStop() const {
  return focusedPoint_ && VDGradientRecords::stopsOf(gradient_).size() >= 3;
}

void VDGradientEditorView::deleteStop() {
  if (!canDeleteStop()) return;
  VDGradientRecords::deleteStop(gradient_, focusedPoint_);
  focusedPoint_ = nullptr;
  selectedPoint_ = nullptr;
  changed();
}

void VDGradientEditorView::setColor(const platform::Color& color) {
  if (!focusedPoint_) return;
  focusedPoint_->set("red", static_cast<float>(color.red()));
  focusedPoint_->set("green", static_cast<float>(color.green()));
  focusedPoint_->set("blue", static_cast<float>(color.blue()));
  changed();
}
