#include "shortcuts/KSShortcutView.h"

#include <atk/atk.h>
#include <gtkmm/container.h>
#include <gtkmm/tooltip.h>
#include <gtkmm/window.h>

#include <utility>

#include "platform/core/strings_table.h"
#include "platform/core/user_defaults_controller.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/alert.h"
#include "platform/ui/beep.h"
#include "platform/ui/event_monitor.h"
#include "platform/ui/focus_ring.h"
#include "platform/ui/system_colors.h"
#include "platform/ui/view_host.h"
#include "platform/core/string_utilities.h"
#include "shortcuts/KRCommon.h"

using platform::Event;
using platform::EventType;
using platform::Point;
using platform::Rect;

namespace {

constexpr double kFontSize = 11;
constexpr std::uint16_t kDeleteCode = 51;
constexpr std::uint16_t kForwardDeleteCode = 117;
constexpr std::uint16_t kEscapeCode = 53;
// The program's close and quit keys: Control with W or Q.
constexpr std::uint16_t kWCode = 13;
constexpr std::uint16_t kQCode = 12;

// The one view recording now, process-wide.
KSShortcutView*& recordingView() {
  static KSShortcutView* view = nullptr;
  return view;
}

std::string text(const char* key) { return platform::localizedString(key); }

}  // namespace

KSShortcutView::KSShortcutView(Rect frame) : View(frame), validator_(&KSShortcutValidator::sharedValidator()) {
  Gtk::Widget& shown = widget();
  shown.set_has_tooltip(true);
  shown.signal_query_tooltip().connect([this](int x, int y, bool, const Glib::RefPtr<Gtk::Tooltip>& tooltip) {
    const std::string tip = toolTipAtPoint(gtkToLocal({double(x), double(y)}));
    if (tip.empty()) return false;
    tooltip->set_text(tip);
    return true;
  });
  AtkObject* accessible = gtk_widget_get_accessible(shown.gobj());
  atk_object_set_role(accessible, ATK_ROLE_PUSH_BUTTON);
  atk_object_set_description(accessible, text("To record a new shortcut, click this button, and then type the new "
                                              "shortcut, or press delete to clear an existing shortcut.")
                                             .c_str());
  updateAccessibility();
}

KSShortcutView::~KSShortcutView() {
  removeMonitorAndObserver();
  if (recordingView() == this) recordingView() = nullptr;
}

void KSShortcutView::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled) setHinting(false);
  setRecording(false);
  setNeedsDisplay();
}

void KSShortcutView::setStyle(int style) {
  if (style == style_ || style < 0 || style > 3) return;
  style_ = style;
  setNeedsDisplay();
}

void KSShortcutView::setHinting(bool hinting) {
  if (hinting_ == hinting) return;
  hinting_ = hinting;
  setNeedsDisplay();
}

void KSShortcutView::setShortcutPlaceholder(std::string placeholder) {
  placeholder_ = std::move(placeholder);
  setNeedsDisplay();
}

void KSShortcutView::setRecording(bool recording) {
  if (recording && !enabled_) return;
  if (recording == recording_) return;
  if (recording) {
    // Only one view records at a time.
    if (KSShortcutView* other = recordingView(); other && other != this) other->setRecording(false);
    recordingView() = this;
  } else if (recordingView() == this) {
    recordingView() = nullptr;
  }
  recording_ = recording;
  placeholder_.clear();
  resetToolTips();
  if (recording) {
    installMonitorAndObserver();
  } else {
    removeMonitorAndObserver();
  }
  setNeedsDisplay();
  if (!recording) announce(text(shortcutValue_ ? "Shortcut set" : "Shortcut cleared"));
}

void KSShortcutView::setShortcutValue(std::shared_ptr<const KSShortcut> value) {
  shortcutValue_ = std::move(value);
  resetToolTips();
  updateAccessibility();
  setNeedsDisplay();
  constexpr const char* method = "-[KSShortcutView propagateValue:forBinding:]";
  const std::string binding = std::string("binding \"") + kShortcutValueBinding + "\"";
  bindings_.push(
      kShortcutValueBinding,
      shortcutValue_ ? platform::Value(std::const_pointer_cast<KSShortcut>(shortcutValue_)) : platform::Value(),
      {"WARNING: " + binding + " has value transformer, but it doesn't allow reverse transformations in " + method,
       "ERROR: NSObservedObjectKey was nil for " + binding + " in " + method,
       "ERROR: NSObservedKeyPathKey was nil for " + binding + " in " + method});
  if (valueChange_) {
    const ValueChange change = valueChange_;
    change(*this);
  }
}

void KSShortcutView::getShortcutRect(Rect* shortcutRect, Rect* hintRect) const {
  static constexpr double kHintWidths[] = {23, 25, 26, kFontSize + 4};
  const double hintWidth = kHintWidths[style_];
  const Rect all = bounds();
  const Rect hint{platform::maxX(all) - hintWidth, all.origin.y, hintWidth, all.size.height};
  if (shortcutRect) *shortcutRect = {all.origin.x, all.origin.y, all.size.width - hintWidth, all.size.height};
  if (hintRect) *hintRect = hint;
}

bool KSShortcutView::locationInShortcutRect(Point locationInWindow) const {
  Rect shortcut;
  getShortcutRect(&shortcut, nullptr);
  return platform::pointInRect(convertPointFromWindow(locationInWindow), shortcut);
}

bool KSShortcutView::locationInHintRect(Point locationInWindow) const {
  Rect hint;
  getShortcutRect(nullptr, &hint);
  return platform::pointInRect(convertPointFromWindow(locationInWindow), hint);
}

std::string KSShortcutView::toolTipAtPoint(Point point) const {
  if (!toolTipsShown_) return {};
  Rect shortcut;
  Rect hint;
  getShortcutRect(&shortcut, &hint);
  if (platform::pointInRect(point, hint)) return text("Delete shortcut");
  if (platform::pointInRect(point, shortcut)) return text("Click to record new shortcut");
  return {};
}

void KSShortcutView::resetToolTips() {
  toolTipsShown_ = shortcutValue_ && !recording_ && enabled_;
  widget().trigger_tooltip_query();
}

void KSShortcutView::mouseDown(const Event& event) {
  if (!enabled_) {
    View::mouseDown(event);
    return;
  }
  if (shortcutValue_ && !recording_) {
    if (locationInShortcutRect(event.locationInWindow)) {
      setRecording(true);
    } else {
      setShortcutValue(nullptr);
    }
  } else if (!shortcutValue_ && !recording_) {
    setRecording(true);
  } else if (recording_ && locationInHintRect(event.locationInWindow)) {
    setRecording(false);
  }
}

void KSShortcutView::mouseMoved(const Event& event) {
  if (enabled_) setHinting(locationInHintRect(event.locationInWindow));
}

void KSShortcutView::mouseExited(const Event&) { setHinting(false); }

bool KSShortcutView::becomeFirstResponder() {
  setNeedsDisplay();
  return View::becomeFirstResponder();
}

bool KSShortcutView::resignFirstResponder() {
  setNeedsDisplay();
  return View::resignFirstResponder();
}

void KSShortcutView::drawRect(const Rect&) {
  const std::string title = recording_ ? placeholder_ : shortcutValue_ ? shortcutValue_->description() : std::string();
  drawInRect(bounds(), title, platform::TextAlignment::Center, recording_ ? 1 : 0);
  if (host() && host()->firstResponder() == this) platform::drawFocusRing(*this, bounds());
}

void KSShortcutView::drawInRect(const Rect& rect, const std::string& title, platform::TextAlignment alignment,
                                int state) {
  platform::GraphicsContext* context = platform::GraphicsContext::current();
  if (!context) return;
  // Styles 1 and 2 sit a point lower, as their bezels do.
  const Rect frame = style_ == 1 || style_ == 2 ? platform::offsetRect(rect, 0, 1) : rect;
  const Rect bezel = platform::insetRect(frame, 0.5, 0.5);
  static constexpr double kCornerRadii[] = {4, 11, 6, 0};
  context->saveGraphicsState();
  if (style_ != 3) {
    const platform::BezierPath outline = platform::BezierPath::roundedRect(bezel, kCornerRadii[style_], kCornerRadii[style_]);
    context->setFillColor(state ? platform::alternateSelectedControlColor().highlightWithLevel(0.7)
                                : platform::Color::whiteColor());
    context->fillPath(outline);
    context->setStrokeColor(platform::windowFrameColor());
    context->strokePath(outline);
  }
  Rect shortcut;
  Rect hint;
  getShortcutRect(&shortcut, &hint);
  platform::TextAttributes attributes;
  attributes.font = platform::Font::systemFont(kFontSize);
  attributes.foregroundColor = enabled_ ? platform::Color::blackColor() : platform::disabledControlTextColor();
  attributes.paragraphStyle = platform::ParagraphStyle{alignment, platform::LineBreakMode::TruncatingTail};
  const platform::AttributedString titleText(title, attributes);
  const double height = titleText.size().height;
  titleText.drawInRect({shortcut.origin.x + 4, platform::midY(frame) - height / 2, shortcut.size.width - 4, height});
  // The hint: a cross that clears the shortcut, darker while the pointer is over it.
  if (showsDeleteButton_ && shortcutValue_ && !state && enabled_) {
    const double size = 7;
    const Point centre{platform::midX(hint), platform::midY(frame)};
    platform::BezierPath cross;
    cross.moveTo({centre.x - size / 2, centre.y - size / 2});
    cross.lineTo({centre.x + size / 2, centre.y + size / 2});
    cross.moveTo({centre.x + size / 2, centre.y - size / 2});
    cross.lineTo({centre.x - size / 2, centre.y + size / 2});
    cross.setLineWidth(1.5);
    context->setStrokeColor(hinting_ ? platform::Color::blackColor() : platform::disabledControlTextColor());
    context->strokePath(cross);
  }
  context->restoreGraphicsState();
}

std::optional<std::string> KSShortcutView::associatedUserDefaultsKey() const {
  const platform::Binding* binding = bindings_.infoForBinding(kShortcutValueBinding);
  constexpr std::string_view prefix = "values.";
  if (!binding || binding->keyPath.substr(0, prefix.size()) != prefix) return std::nullopt;
  return binding->keyPath.substr(prefix.size());
}

void KSShortcutView::setAssociatedUserDefaultsKey(const std::string& key,
                                                  std::shared_ptr<const platform::ValueTransformer> transformer) {
  platform::BindingOptions options;
  options.valueTransformer = std::move(transformer);
  bindToDefaults(key, std::move(options));
}

void KSShortcutView::setAssociatedUserDefaultsKeyWithTransformerName(const std::string& key,
                                                                     const std::string& transformerName) {
  platform::BindingOptions options;
  options.valueTransformerName = transformerName;
  bindToDefaults(key, std::move(options));
}

void KSShortcutView::setAssociatedUserDefaultsKey(const std::string& key) {
  setAssociatedUserDefaultsKeyWithTransformerName(key, std::string(platform::kKeyedUnarchiveFromDataTransformerName));
}

void KSShortcutView::bindToDefaults(const std::string& key, platform::BindingOptions options) {
  // Unbound first, so the old key never hears of the new one's value.
  bindings_.unbind(kShortcutValueBinding);
  if (key.empty()) return;
  bindings_.bind(kShortcutValueBinding, &platform::UserDefaultsController::shared(), "values." + key,
                 std::move(options), [this](const platform::Value& value) {
                   const KSShortcut* shortcut = KSShortcut::in(value);
                   setShortcutValue(shortcut ? std::make_shared<const KSShortcut>(*shortcut) : nullptr);
                 });
}

void KSShortcutView::updateAccessibility() {
  const std::string label = shortcutValue_ ? shortcutValue_->description() : text("Empty");
  atk_object_set_name(gtk_widget_get_accessible(widget().gobj()),
                      platform::formatObjects("%@ %@", {label, text("keyboard shortcut")}).c_str());
}

void KSShortcutView::announce(const std::string& message) {
  AtkObject* accessible = gtk_widget_get_accessible(widget().gobj());
  // Only ATK 2.46 and later can announce.
  if (g_signal_lookup("announcement", ATK_TYPE_OBJECT) != 0) {
    g_signal_emit_by_name(accessible, "announcement", message.c_str());
  }
}

void KSShortcutView::installMonitorAndObserver() {
  if (monitor_ == 0) {
    const platform::EventMask mask = platform::eventMaskFromType(EventType::KeyDown) |
                                     platform::eventMaskFromType(EventType::FlagsChanged);
    monitor_ = platform::addLocalEventMonitor(mask, [this](const Event& event) { return handleRecordingEvent(event); });
  }
  if (!resignObserver_.connected()) {
    auto* window = dynamic_cast<Gtk::Window*>(widget().get_toplevel());
    if (window && window->get_is_toplevel()) {
      resignObserver_ = window->property_is_active().signal_changed().connect([this, window] {
        if (!window->property_is_active().get_value()) setRecording(false);
      });
    }
  }
}

void KSShortcutView::removeMonitorAndObserver() {
  if (monitor_ != 0) platform::removeEventMonitor(std::exchange(monitor_, 0));
  resignObserver_.disconnect();
}

bool KSShortcutView::handleRecordingEvent(const Event& event) {
  const KSShortcut shortcut = KSShortcut::fromEvent(event);
  const bool keyDown = event.type == EventType::KeyDown;
  if (keyDown && shortcut.modifierFlags() == 0 &&
      (event.keyCode == kDeleteCode || event.keyCode == kForwardDeleteCode)) {
    setShortcutValue(nullptr);
    setRecording(false);
    return false;
  }
  if (keyDown && shortcut.modifierFlags() == 0 && event.keyCode == kEscapeCode) {
    setRecording(false);
    return false;
  }
  if (keyDown && shortcut.modifierFlags() == kr_flags::Control &&
      (event.keyCode == kWCode || event.keyCode == kQCode)) {
    setRecording(false);
    return true;
  }
  if (!shortcut.keyCodeString().value_or("").empty()) {
    std::string explanation;
    if (!validator_->isShortcutValid(shortcut)) {
      platform::beep();
    } else if (validator_->isShortcutAlreadyTakenBySystem(shortcut, &explanation)) {
      // The alert takes the keyboard: the monitor and the observer step aside until it is answered.
      removeMonitorAndObserver();
      auto alert = platform::Alert::create();
      alert->setAlertStyle(platform::AlertStyle::Critical);
      alert->setMessageText(
          platform::formatObjects(text("The key combination %@ cannot be used"), {shortcut.description()}));
      alert->setInformativeText(explanation);
      alert->addButtonWithTitle(text("OK"));
      alert->runModal();
      setShortcutPlaceholder({});
      if (recording_) installMonitorAndObserver();
    } else {
      setShortcutValue(std::make_shared<const KSShortcut>(shortcut));
      setRecording(false);
    }
  } else {
    setShortcutPlaceholder(shortcut.modifierFlagsString());
  }
  return false;
}
