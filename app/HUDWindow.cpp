#include "app/HUDWindow.h"

#include <gdkmm/display.h>
#include <gdkmm/screen.h>
#include <gdkmm/seat.h>

#include <cmath>

#include "document/CMInnerShadow.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/color.h"
#include "platform/graphics/font.h"
#include "platform/graphics/gradient.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"
#include "platform/graphics/shadow.h"
#include "platform/ui/event.h"
#include "platform/ui/window.h"

namespace {

using platform::BezierPath;
using platform::Color;
using platform::Point;
using platform::Rect;

const Color kBody = Color::white(0.15, 0.96);
const Color kTitleBarEnd = Color::device(0.239, 0.239, 0.239, 1);
const Color kTitleText = Color::white(0.7, 1);
constexpr double kTitleFontSize = 11;

double roundHalfAway(double value) { return std::round(value); }

// Follows the left button from a mouse down: `done` runs with whether it came up inside the view.
void trackClick(platform::View& view, std::function<void(bool highlighted)> changed, std::function<void()> clicked) {
  const platform::EventMask mask = platform::eventMaskFromType(platform::EventType::LeftMouseDragged) |
                                   platform::eventMaskFromType(platform::EventType::LeftMouseUp);
  changed(true);
  view.trackMouse(mask, [&view, changed, clicked](const platform::Event& event) {
    const bool inside = platform::pointInRect(view.convertPointFromWindow(event.locationInWindow), view.bounds());
    if (event.type == platform::EventType::LeftMouseDragged) return changed(inside);
    changed(false);
    if (inside) clicked();
  });
}

platform::TextAttributes hudTextAttributes(platform::Shadow shadow) {
  platform::TextAttributes attributes;
  attributes.font = platform::Font::systemFont(kTitleFontSize);
  attributes.foregroundColor = Color::white(0.85, 1);
  attributes.shadow = shadow;
  return attributes;
}

}  // namespace

// ---- close button ----

std::array<Point, 4> HUDWindowButtonCell::crossLines(const Rect& frame) {
  const Rect r = platform::insetRect(frame, 1.5, 1.5);
  const double a = std::floor(r.size.width * 0.5253219888177297) - 1;
  const double c = roundHalfAway((r.size.width - a) / 2);
  return {Point{c + 1, a + c}, Point{a + c + 1, c}, Point{a + c + 1, a + c}, Point{c + 1, c}};
}

void HUDWindowButtonCell::drawWithFrame(const Rect& frame, bool highlighted) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const Rect r = platform::insetRect(frame, 1.5, 1.5);
  BezierPath ring = BezierPath::ovalInRect({r.origin.x, 1.5, r.size.width, r.size.height});
  context->setStrokeColor(Color::white(1, 0.1));
  context->strokePath(ring);
  const BezierPath button = BezierPath::ovalInRect({r.origin.x, 0.5, r.size.width, r.size.height});
  platform::Gradient(Color::white(0.07, 1), Color::white(0.22, 1)).drawInBezierPath(*context, button, 270);
  context->setStrokeColor(Color::white(0.04, 1));
  context->strokePath(button);
  const std::array<Point, 4> cross = crossLines(frame);
  BezierPath strokes;
  strokes.moveTo(cross[0]);
  strokes.lineTo(cross[1]);
  strokes.moveTo(cross[2]);
  strokes.lineTo(cross[3]);
  strokes.setLineWidth(2);
  context->setStrokeColor(Color::white(0.45, 1));
  context->strokePath(strokes);
  const double c = cross[3].y;
  context->saveGraphicsState();
  context->clipToRect({r.origin.x, 0.5, r.size.width, c});
  fillWithInnerShadow(button, platform::Shadow{{0, 0}, 1, Color::white(1, 0.1)});
  context->restoreGraphicsState();
  if (highlighted) {
    context->setFillColor(Color::white(0, 0.3));
    context->fillPath(button);
  }
}

void HUDWindowButtonCell::drawRect(const Rect&) { drawWithFrame(bounds(), highlighted_); }

void HUDWindowButtonCell::mouseDown(const platform::Event&) {
  trackClick(
      *this,
      [this](bool highlighted) {
        highlighted_ = highlighted;
        setNeedsDisplay();
      },
      [this] { userDidChange(); });
}

// ---- frame view ----

void HUDWindowFrameView::setTitle(std::string title) {
  title_ = std::move(title);
  setNeedsDisplay();
}

void HUDWindowFrameView::drawRect(const Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  const Rect b = bounds();
  const Rect outlineRect = platform::insetRect(b, 0.5, 0.5);
  const BezierPath outline = BezierPath::roundedRect(outlineRect, kCornerRadius, kCornerRadius);
  context->saveGraphicsState();
  context->clipToPath(outline);
  const Rect titleBar{0, b.size.height - kTitleBarHeight, b.size.width, kTitleBarHeight};
  platform::Gradient(kBody, kTitleBarEnd).drawInRect(*context, titleBar, 90);
  drawTitleInRect(titleBar);
  context->setFillColor(kBody);
  context->rectFill({0, 0, b.size.width, b.size.height - kTitleBarHeight});
  Rect highlight = platform::insetRect(outlineRect, 0, 0.5);
  highlight.origin.y -= 50;
  highlight.size.height += 50;
  context->setStrokeColor(Color::white(1, 0.2));
  context->strokePath(BezierPath::roundedRect(highlight, kCornerRadius, kCornerRadius));
  context->restoreGraphicsState();
  context->setStrokeColor(Color::white(0, 1));
  context->strokePath(outline);
}

void HUDWindowFrameView::drawTitleInRect(const Rect& titleBar) const {
  if (title_.empty()) return;
  platform::TextAttributes attributes = hudTextAttributes(platform::Shadow{{0, 1}, 1, Color::white(0, 1)});
  attributes.foregroundColor = kTitleText;
  platform::ParagraphStyle centred;
  centred.alignment = platform::TextAlignment::Center;
  attributes.paragraphStyle = centred;
  const platform::AttributedString text(title_, attributes);
  const double height = text.size().height;
  text.drawInRect(platform::integralRect(
      {0, titleBar.origin.y + titleBar.size.height / 2 - height / 2, titleBar.size.width, height}));
}

void HUDWindowFrameView::mouseDown(const platform::Event& event) {
  if (drag_) drag_(event);
}

// ---- window ----

HUDWindow::HUDWindow(platform::Size size, const std::string& title)
    : window_(std::make_unique<platform::Window>(size, title)),
      frameView_(std::make_shared<HUDWindowFrameView>(Rect{{0, 0}, size})),
      closeButton_(std::make_shared<HUDWindowButtonCell>(
          Rect{5, size.height - 23, HUDWindowButtonCell::kSize, HUDWindowButtonCell::kSize})) {
  Gtk::Window& gtk = window_->gtkWindow();
  gtk.set_decorated(false);
  gtk.set_resizable(false);
  gtk.set_app_paintable(true);
  const Glib::RefPtr<Gdk::Screen> screen = gtk.get_screen();
  const bool composited = screen && screen->is_composited() && screen->get_rgba_visual();
  if (composited) gtk_widget_set_visual(GTK_WIDGET(gtk.gobj()), screen->get_rgba_visual()->gobj());
  // Outside the rounded frame: clear where a compositor blends the window, black where none does.
  gtk.signal_draw().connect(
      [composited](const Cairo::RefPtr<Cairo::Context>& cr) {
        cr->save();
        cr->set_operator(Cairo::OPERATOR_SOURCE);
        cr->set_source_rgba(0, 0, 0, composited ? 0 : 1);
        cr->paint();
        cr->restore();
        return false;
      },
      false);
  frameView_->setTitle(title);
  frameView_->setDragHandler([this](const platform::Event&) {
    Gtk::Window& moved = window_->gtkWindow();
    int x = 0;
    int y = 0;
    Glib::RefPtr<Gdk::Display> display = moved.get_display();
    if (!display || !display->get_default_seat()) return;
    display->get_default_seat()->get_pointer()->get_position(x, y);
    moved.begin_move_drag(1, x, y, GDK_CURRENT_TIME);
  });
  closeButton_->setAction([this](platform::Control&) { close(); });
  frameView_->addSubview(closeButton_);
  window_->setContentView(frameView_);
}

HUDWindow::~HUDWindow() = default;

void HUDWindow::setContentView(std::shared_ptr<platform::View> view) {
  if (view == customContentView_) return;
  if (customContentView_) customContentView_->removeFromSuperview();
  customContentView_ = std::move(view);
  if (!customContentView_) return;
  const platform::Size size = frameView_->frame().size;
  customContentView_->setFrame({0, 0, size.width, size.height - HUDWindowFrameView::kTitleBarHeight});
  // Under the close button, so the button keeps its clicks.
  frameView_->addSubview(customContentView_);
  closeButton_->removeFromSuperview();
  frameView_->addSubview(closeButton_);
}

void HUDWindow::setTitle(const std::string& title) {
  window_->setTitle(title);
  frameView_->setTitle(title);
}

void HUDWindow::close() { window_->hide(); }

// ---- buttons and check boxes ----

HUDButtonCell::HUDButtonCell(Rect frame, Type type, std::string title)
    : Control(frame), type_(type), title_(std::move(title)) {}

void HUDButtonCell::setButtonType(Type type) {
  type_ = type;
  setNeedsDisplay();
}

void HUDButtonCell::setState(int state) {
  state_ = state;
  setNeedsDisplay();
}

void HUDButtonCell::setKeyEquivalent(std::string key) {
  keyEquivalent_ = std::move(key);
  setNeedsDisplay();
}

void HUDButtonCell::setEnabled(bool enabled) {
  Control::setEnabled(enabled);
  setNeedsDisplay();
}

void HUDButtonCell::mouseDown(const platform::Event&) {
  if (!isEnabled()) return;
  trackClick(
      *this,
      [this](bool highlighted) {
        highlighted_ = highlighted;
        setNeedsDisplay();
      },
      [this] {
        if (type_ == Type::CheckBox) state_ = state_ == 1 ? 0 : 1;
        userDidChange();
      });
}

void HUDButtonCell::drawRect(const Rect&) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  context->saveGraphicsState();
  // Disabled cells fade: 0.7 in single precision, as the context keeps it.
  if (!isEnabled()) context->setAlpha(static_cast<float>(0.7));
  const Rect frame = bounds();
  if (type_ == Type::CheckBox) {
    const Rect box{frame.origin.x, frame.origin.y + (frame.size.height - 16) / 2, 16, 16};
    drawCheckboxBezel(box);
    drawCheckboxTitle({box.origin.x + box.size.width, frame.origin.y, frame.size.width - box.size.width,
                       frame.size.height});
  } else {
    drawButtonBezel(frame);
    drawButtonTitle(frame);
  }
  if (highlighted_ && bezelPath_) {
    context->setFillColor(Color::white(0, 0.3));
    context->fillPath(*bezelPath_);
  }
  context->restoreGraphicsState();
}

void HUDButtonCell::drawButtonBezel(const Rect& frame) {
  platform::GraphicsContext& context = *platform::GraphicsContext::current();
  Rect rect = platform::insetRect(frame, 0.5, 0.5);
  rect.size.height -= 1;
  const BezierPath outline = BezierPath::roundedRect(rect, 3, 3);
  bezelPath_ = outline;
  const bool blue = shouldDrawBlueButton();
  const platform::Gradient fill = blue ? platform::Gradient(Color::device(0, 0.31, 0.78, 1), Color::device(0, 0.53, 0.87, 1))
                                       : platform::Gradient(Color::white(0.15, 1), Color::white(0.22, 1));
  fill.drawInBezierPath(context, outline, 270);
  context.saveGraphicsState();
  context.setShadow(platform::Shadow{{0, -1}, 1, Color::white(1, 0.05)});
  context.setStrokeColor(Color::white(0, 1));
  context.strokePath(outline);
  context.restoreGraphicsState();
  Rect edge = platform::insetRect(frame, -0.5, 1);
  edge.size.height *= 2;
  context.saveGraphicsState();
  context.clipToPath(BezierPath::roundedRect(edge, 3, 3));
  context.setStrokeColor(Color::white(1, blue ? 0.25 : 0.05));
  context.strokePath(outline);
  context.restoreGraphicsState();
}

void HUDButtonCell::drawCheckboxBezel(const Rect& frame) {
  drawButtonBezel({frame.origin.x, frame.origin.y, frame.size.width - 2, frame.size.height - 1});
  if (state_ != 1 && state_ != kMixedState) return;
  platform::GraphicsContext& context = *platform::GraphicsContext::current();
  BezierPath mark = checkmarkPathForRect({frame.origin.x, frame.origin.y, frame.size.width - 2, frame.size.height - 1},
                                         state_ == kMixedState);
  mark.setLineWidth(2);
  context.saveGraphicsState();
  context.setShadow(platform::Shadow{{0, 0}, 3, Color::white(0, 0.75)});
  context.setStrokeColor(Color::white(0.78, 1));
  context.strokePath(mark);
  context.restoreGraphicsState();
}

BezierPath HUDButtonCell::checkmarkPathForRect(const Rect& rect, bool mixed) {
  const double x = rect.origin.x;
  const double y = rect.origin.y;
  const double w = rect.size.width;
  const double m = roundHalfAway(y + rect.size.height / 2);
  BezierPath path;
  if (mixed) {
    path.moveTo({x + 4, m});
    path.lineTo({x + w - 4, m});
  } else {
    // The tick of a flipped box turned for this one, whose y runs up, and kept inside the box wherever it is.
    const double h = rect.size.height;
    path.moveTo({x + w, y + h});
    path.lineTo({roundHalfAway(x + w / 2), y + h - (m + 1 - y)});
    path.lineTo({x + 4, y + h - roundHalfAway((m + 1 - y) / 2)});
  }
  return path;
}

Rect HUDButtonCell::drawButtonTitle(const Rect& frame) const {
  const platform::Shadow shadow = shouldDrawBlueButton() ? platform::Shadow{{0, -1}, 2, Color::white(0, 0.6)}
                                                         : platform::Shadow{{0, 1}, 1, Color::white(0, 1)};
  const platform::AttributedString text(title_, hudTextAttributes(shadow));
  const platform::Size size = text.size();
  const Rect centred{frame.origin.x + frame.size.width / 2 - size.width / 2,
                     frame.origin.y + frame.size.height / 2 - size.height / 2, size.width, size.height};
  text.drawInRect(platform::integralRect(centred));
  return centred;
}

Rect HUDButtonCell::drawCheckboxTitle(const Rect& frame) const {
  const platform::AttributedString text(title_, hudTextAttributes(platform::Shadow{{0, 1}, 1, Color::white(0, 1)}));
  const platform::Size size = text.size();
  const Rect rect{frame.origin.x + 3, frame.origin.y + frame.size.height / 2 - size.height / 2, size.width,
                  size.height};
  text.drawInRect(platform::integralRect(rect));
  return rect;
}
