// How the recorder cell looks: style 0, a white field with the combination
// and a remove button that turns into a blue bar with a snap-back arrow while
// recording; style 1, the same looks sliding over each other as recording
// starts and ends. Drawn in the control view's own (unflipped) coordinates.

#include "platform/graphics/attributed_string.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/gradient.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/focus_ring.h"
#include "platform/ui/system_colors.h"
#include "platform/ui/view.h"
#include "platform/ui/view_host.h"
#include "shortcuts/KRRecorderCell.h"
#include "shortcuts/KRSharedImageProvider.h"

using platform::AttributedString;
using platform::BezierPath;
using platform::Color;
using platform::GraphicsContext;
using platform::Point;
using platform::Rect;

namespace {

constexpr double kLabelFontSize = 10;
constexpr double kSmallFontSize = 11;
constexpr const char* kSnapbackImage = "KRSnapback";
constexpr const char* kRemoveImage = "KRRemoveShortcut";

platform::Size imageSize(const char* name) {
  const platform::Image* image = KRSharedImageProvider::supportingImageWithName(name);
  return image ? image->size() : platform::Size{};
}

void drawImage(const std::string& name, Point origin, double fraction) {
  if (const platform::Image* image = KRSharedImageProvider::supportingImageWithName(name)) {
    image->drawAtPoint(origin, {}, platform::CompositingOperation::SourceOver, fraction);
  }
}

platform::Gradient recordingGradient() {
  const Color selected = platform::alternateSelectedControlColor();
  return {selected.shadowWithLevel(0.2).withAlpha(0.9), selected.highlightWithLevel(0.2).withAlpha(0.9)};
}

// Centred, cut short with an ellipsis; the label font in the disabled colour or the small font in black.
AttributedString cellText(const std::string& text, bool dimmed) {
  platform::TextAttributes attributes;
  attributes.paragraphStyle = platform::ParagraphStyle{platform::TextAlignment::Center,
                                                       platform::LineBreakMode::TruncatingTail};
  attributes.font = platform::Font::systemFont(dimmed ? kLabelFontSize : kSmallFontSize);
  attributes.foregroundColor = dimmed ? platform::disabledControlTextColor() : Color::blackColor();
  return AttributedString(text, attributes);
}

void drawWithAlpha(GraphicsContext& context, double alpha, const std::function<void()>& draw) {
  context.saveGraphicsState();
  context.setAlpha(alpha);
  draw();
  context.restoreGraphicsState();
}

}  // namespace

Rect KRRecorderCell::removeButtonRectForFrame(const Rect& frame) const {
  if (isEmpty() || !enabled_) return {};
  const platform::Size size = imageSize(kRemoveImage);
  return {platform::maxX(frame) - size.width - 4, (frame.origin.y + frame.size.height - size.height) / 2, size.width,
          size.height};
}

Rect KRRecorderCell::snapbackRectForFrame(const Rect& frame) const {
  const platform::Size size = imageSize(kSnapbackImage);
  return {platform::maxX(frame) - size.width - 2, (frame.origin.y + frame.size.height - size.height) / 2 + 1,
          size.width, size.height};
}

std::string KRRecorderCell::removeImageName() const {
  std::string name = kRemoveImage;
  if (mouseDown_ && mouseInsideTrackingArea_) return name + "Pressed";
  if (mouseInsideTrackingArea_ || mouseDown_) return name + "Rollover";
  return name;
}

std::string KRRecorderCell::recordingText() const {
  if (validModifierFlags(recordingFlags_)) {
    const std::string glyphs = KRModifierGlyphsForCocoaFlags(recordingFlags_);
    return glyphs.empty() ? KRLocalizedString("Type shortcut") : glyphs;
  }
  return KRLocalizedString(mouseInsideTrackingArea_ ? "Use old shortcut" : "Type shortcut");
}

std::string KRRecorderCell::idleText() const {
  return keyComboString().value_or(KRLocalizedString("Click to record shortcut"));
}

void KRRecorderCell::drawWithFrame(const Rect& frame, platform::View& view) {
  GraphicsContext* context = GraphicsContext::current();
  if (!context) return;
  context->saveGraphicsState();
  if (style_ == 1) {
    drawStyle1(frame);
  } else {
    drawStyle0(frame);
  }
  context->restoreGraphicsState();
  if (isControlFirstResponder() && view.host() && view.host()->has_focus()) platform::drawFocusRing(view, frame);
}

void KRRecorderCell::drawStyle0(const Rect& frame) {
  GraphicsContext& context = *GraphicsContext::current();
  Rect field = frame;
  if (isRecording_) {
    context.clipToRect(frame);
    recordingGradient().drawInRect(context, frame, 90);
    if (mouseInsideTrackingArea_) {
      context.setFillColor(Color(0, 0, 0, mouseDown_ ? 0.4 : 0.2));
      context.fillPath(BezierPath::rect(frame));
    }
    drawImage(kSnapbackImage, snapbackRectForFrame(frame).origin, 1);
    field = {frame.origin.x + 2, frame.origin.y + 2, frame.size.width - 19, frame.size.height - 4};
  }
  context.saveGraphicsState();
  context.clipToRect(field);
  context.setFillColor(Color::whiteColor());
  context.fillPath(BezierPath::rect(field));
  if (!isRecording_) {
    context.setStrokeColor(platform::windowFrameColor());
    context.strokePath(BezierPath::rect(field));
    if (!isEmpty() && enabled_) drawImage(removeImageName(), removeButtonRectForFrame(frame).origin, 1);
  }
  context.restoreGraphicsState();

  const bool dimmed = isRecording_ || isEmpty();
  const AttributedString text = cellText(isRecording_ ? recordingText() : idleText(), dimmed);
  double margin = 6;
  if (isRecording_) {
    margin += snapbackRectForFrame(frame).size.width;
  } else if (!isEmpty()) {
    margin += removeButtonRectForFrame(frame).size.width;
  }
  const double textHeight = text.size().height;
  text.drawInRect({frame.origin.x + 6, -(frame.origin.y + frame.size.height / 2 - textHeight / 2),
                   frame.size.width - 6 - margin, frame.size.height});
}

void KRRecorderCell::drawStyle1(const Rect& cellFrame) {
  GraphicsContext& context = *GraphicsContext::current();
  const Rect frame = platform::insetRect(cellFrame, 0.5, 0.5);
  const double h = frame.size.height;
  double recordingAlpha = 1;
  double idleAlpha = 1;
  double k = 1;
  bool recordingLook = isRecording_;
  if (isAnimatingNow_) {
    const double e = KRAnimationEaseInOut(transitionProgress_);
    recordingLook = true;
    recordingAlpha = isAnimatingTowardsRecording_ ? e : 1 - e;
    idleAlpha = isAnimatingTowardsRecording_ ? 1 - e : e;
    k = isAnimatingTowardsRecording_ ? e : 1 - e;
  }
  // Recording elements sit one frame height below the idle ones; both slide up together as k grows.
  const double shift = recordingLook ? k * h : 0;
  const auto moved = [shift](Rect rect) { return platform::offsetRect(rect, 0, shift); };

  context.setFillColor(Color::whiteColor());
  context.fillPath(BezierPath::rect(frame));
  context.setStrokeColor(platform::windowFrameColor());
  context.strokePath(BezierPath::rect(frame));
  context.clipToRect(frame);

  const Rect snapback = platform::offsetRect(snapbackRectForFrame(frame), 0, -h);
  const Rect area = moved({snapback.origin.x - 1.5, snapback.origin.y - 5, 1.3 * snapback.size.width, h});
  const bool pressed = mouseDown_ && mouseInsideTrackingArea_;
  drawWithAlpha(context, recordingAlpha, [&] {
    context.setStrokeColor(platform::windowFrameColor().shadowWithLevel(0.2));
    context.strokePath(BezierPath::rect(area));
    const platform::Gradient fill(Color::white(pressed ? 0.6 : 0.75, 1), Color::white(pressed ? 0.75 : 0.9, 1));
    fill.drawInRect(context, platform::insetRect(area, -0.5, -0.5), 90);
  });
  drawImage(kSnapbackImage, moved(platform::offsetRect(snapback, -0.5, 0)).origin, recordingAlpha);
  if (!isEmpty() && enabled_) drawImage(removeImageName(), moved(removeButtonRectForFrame(frame)).origin, idleAlpha);

  double recordingTextAlpha = recordingAlpha;
  double idleTextAlpha = idleAlpha;
  Rect idleTextRect = platform::offsetRect(moved(frame), 0, -3);
  if (comboJustChanged_) {
    // The new combination stays where it is while the recording look slides away.
    recordingTextAlpha = 0;
    idleTextAlpha = 1;
    idleTextRect = platform::offsetRect(frame, 0, -3);
  }
  drawWithAlpha(context, recordingTextAlpha, [&] {
    cellText(recordingText(), true).drawInRect(moved(platform::offsetRect(frame, 0, -h - 3)));
  });
  drawWithAlpha(context, idleTextAlpha, [&] { cellText(idleText(), isEmpty()).drawInRect(idleTextRect); });
}
