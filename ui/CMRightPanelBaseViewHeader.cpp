// A section's drawing (its bottom line, name, header buttons and row titles) and its header's pointer handling.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/graphics/attributed_string.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/control.h"
#include "ui/CMRightPanelBaseView.h"

namespace {

using platform::DictRef;
using platform::Point;
using platform::Rect;

const platform::Color kBottomLine = platform::Color::calibrated(200.0 / 255, 200.0 / 255, 200.0 / 255, 1);
const platform::Color kLabelColor = platform::Color::white(0, 0.85);

platform::TextAttributes textAttributes() {
  platform::TextAttributes attributes;
  attributes.font = platform::Font::boldSystemFont(10);
  attributes.foregroundColor = kLabelColor;
  return attributes;
}

platform::TextAttributes buttonAttributes(bool pressed) {
  platform::TextAttributes attributes = textAttributes();
  attributes.foregroundColor = platform::Color::calibrated(95.0 / 255, 129.0 / 255, 232.0 / 255, pressed ? 1.0 : 0.5);
  return attributes;
}

platform::TextAttributes titleAttributes(platform::TextAlignment alignment) {
  platform::TextAttributes attributes;
  attributes.foregroundColor = kLabelColor;
  attributes.paragraphStyle = platform::ParagraphStyle{alignment, platform::LineBreakMode::Clipping};
  return attributes;
}

// A row title or caption in the panel's text size, smaller where it would not fit its width.
platform::AttributedString fittedTitle(const std::string& text, platform::TextAlignment alignment, double width) {
  constexpr double kTitleSize = 12;
  constexpr double kSmallestSize = 7;
  platform::TextAttributes attributes = titleAttributes(alignment);
  attributes.font = platform::Font::systemFont(kTitleSize);
  const double wide = platform::AttributedString(text, attributes).size().width;
  if (wide > width) attributes.font = platform::Font::systemFont(std::max(kSmallestSize, kTitleSize * width / wide));
  return platform::AttributedString(text, attributes);
}

bool contains(const Rect& rect, Point point) {
  return point.x >= rect.origin.x && point.x < rect.origin.x + rect.size.width && point.y >= rect.origin.y &&
         point.y < rect.origin.y + rect.size.height;
}

constexpr double kTitleColumn = 80;
constexpr const char* kHide = "Hide";
constexpr const char* kShow = "Show";
constexpr const char* kDelete = "Delete";
constexpr const char* kNew = "New";

}  // namespace

CMRightPanelBaseView::HeaderButtons CMRightPanelBaseView::headerButtons() const {
  const double W = frame().size.width, H = frame().size.height;
  HeaderButtons buttons;
  const platform::Size hide = platform::AttributedString(itemsIsHidden_ ? kShow : kHide, textAttributes()).size();
  buttons.hide = {W - hide.width - 8, H - hide.height - 3, hide.width + 8, 20};
  if (hasRemoveButton_) {
    const platform::Size size = platform::AttributedString(kDelete, textAttributes()).size();
    buttons.remove = Rect{W - 50 - (size.width - 8), H - 2 * (size.height - 3), size.width, 20};
  }
  if (hasAddButton_) {
    const platform::Size size = platform::AttributedString(kNew, textAttributes()).size();
    const double d = hasRemoveButton_ ? 95 : 50;
    buttons.add = Rect{W - d - (size.width - 8), H - 2 * (size.height - 3), size.width, 20};
  }
  return buttons;
}

void CMRightPanelBaseView::drawRect(const Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->setFillColor(kBottomLine);
  context->rectFill({0, 0, frame().size.width, 1});
  drawName();
  if (drawRightButton_) drawRightButton();
  drawTitles();
}

void CMRightPanelBaseView::drawName() const {
  const platform::AttributedString name(name_, textAttributes());
  name.drawAtPoint({8, frame().size.height - name.size().height - 3});
}

void CMRightPanelBaseView::drawRightButton() const {
  const double W = frame().size.width, H = frame().size.height;
  const auto label = [&](const char* text, bool pressed, double rightInset) {
    const platform::AttributedString string(text, buttonAttributes(pressed));
    const platform::Size size = string.size();
    string.drawAtPoint({rightInset < 0 ? W - size.width - 8 : W - rightInset - (size.width - 8), H - size.height - 3});
  };
  label(itemsIsHidden_ ? kShow : kHide, isHideButtonPressed_, -1);
  if (hasRemoveButton_) label(kDelete, isDeleteButtonPressed_, 50);
  if (hasAddButton_) label(kNew, isNewButtonPressed_, hasRemoveButton_ ? 95 : 50);
}

void CMRightPanelBaseView::drawTitles() const {
  const double W = frame().size.width, H = frame().size.height;
  double offset = 0;
  for (const DictRef& record : parameters_) {
    const int type = record->get("control_type").intValue();
    bool drawsTitle = true;
    if (type == kAlternatives) {
      drawsTitle = false;
      if (const platform::ArrayRef members = record->array("items")) {
        for (const platform::Value& member : *members) {
          const platform::Control* control = findControlForDict(member.dictionary());
          if (control && !control->isHidden()) drawsTitle = true;
        }
      }
    }
    if (drawsTitle) {
      const platform::AttributedString title =
          fittedTitle(record->get("name").string(), platform::TextAlignment::Right, kTitleColumn);
      const double t = title.size().height;
      title.drawInRect({0, H - offset - t - 40, kTitleColumn, 28});
    }
    if (type == kColumns && record->get("control_subtype").intValue() != 1) {
      const platform::ArrayRef members = record->array("items");
      const double n = members ? static_cast<double>(members->size()) : 0;
      for (std::size_t i = 0; members && i < members->size(); ++i) {
        const DictRef member = members->at(i).dictionary();
        if (!member) continue;
        const platform::AttributedString caption =
            fittedTitle(member->get("name").string(), platform::TextAlignment::Center, (W - 80) / n);
        const double t = caption.size().height;
        caption.drawInRect({80 + static_cast<double>(i) * (W - 80) / n, H - offset - t - 58, (W - 80) / n, 28});
      }
    }
    offset += rowHeight(record);
  }
}

bool CMRightPanelBaseView::headerStripContains(Point point) const {
  const double W = frame().size.width, H = frame().size.height;
  return contains({0, H - kHeaderHeight, W, kHeaderHeight}, point);
}

void CMRightPanelBaseView::mouseEntered(const platform::Event& event) { mouseMoved(event); }

void CMRightPanelBaseView::mouseMoved(const platform::Event& event) {
  const bool over = headerStripContains(convertPointFromWindow(event.locationInWindow));
  if (over == drawRightButton_ || (!over && isMouseDowning_)) return;
  drawRightButton_ = over;
  setNeedsDisplay();
}

void CMRightPanelBaseView::mouseExited(const platform::Event&) {
  if (isMouseDowning_ || !drawRightButton_) return;
  drawRightButton_ = false;
  setNeedsDisplay();
}

void CMRightPanelBaseView::mouseDown(const platform::Event& event) {
  const Point point = convertPointFromWindow(event.locationInWindow);
  const HeaderButtons buttons = headerButtons();
  isHideButtonPressed_ = isNewButtonPressed_ = isDeleteButtonPressed_ = false;
  if (contains(buttons.hide, point)) {
    isHideButtonPressed_ = true;
  } else if (buttons.remove && contains(*buttons.remove, point)) {
    isDeleteButtonPressed_ = true;
  } else if (buttons.add && contains(*buttons.add, point)) {
    isNewButtonPressed_ = true;
  }
  if (isHideButtonPressed_ || isDeleteButtonPressed_ || isNewButtonPressed_) {
    isMouseDowning_ = true;
    drawRightButton_ = true;
    setNeedsDisplay();
  }
}

void CMRightPanelBaseView::mouseDragged(const platform::Event& event) {
  if (!isMouseDowning_) return;
  const Point point = convertPointFromWindow(event.locationInWindow);
  const HeaderButtons buttons = headerButtons();
  isHideButtonPressed_ = contains(buttons.hide, point);
  isNewButtonPressed_ = buttons.add && contains(*buttons.add, point);
  setNeedsDisplay();
}

void CMRightPanelBaseView::mouseUp(const platform::Event& event) {
  // The delegate may rebuild its panel, and this section with it: keep it until the release is handled.
  const std::shared_ptr<platform::View> self = shared_from_this();
  const Point point = convertPointFromWindow(event.locationInWindow);
  isHideButtonPressed_ = isNewButtonPressed_ = isDeleteButtonPressed_ = isMouseDowning_ = false;
  if (headerStripContains(point)) {
    const HeaderButtons buttons = headerButtons();
    if (delegate_ && contains(buttons.hide, point)) {
      delegate_->didHide(*this);
    } else if (delegate_ && buttons.add && contains(*buttons.add, point)) {
      delegate_->didNew(*this);
    } else if (delegate_ && buttons.remove && contains(*buttons.remove, point)) {
      delegate_->didDelete(*this);
    }
  } else {
    drawRightButton_ = false;
  }
  setNeedsDisplay();
}
