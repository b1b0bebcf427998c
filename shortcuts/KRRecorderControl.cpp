#include "shortcuts/KRRecorderControl.h"

#include <algorithm>
#include <utility>

#include "platform/graphics/rect_functions.h"
#include "platform/ui/view_host.h"

using platform::Event;
using platform::Rect;
using platform::Value;

KRRecorderControl::KRRecorderControl(Rect frame, std::shared_ptr<KRRecorderCell> cell)
    : platform::Control(fixedFrame(frame)), cell_(cell ? std::move(cell) : std::make_shared<KRRecorderCell>()) {
  cell_->setControlView(this);
  cell_->setDelegate(this);
  cell_->setEnabled(isEnabled());
}

KRRecorderControl::~KRRecorderControl() {
  cell_->setControlView(nullptr);
  cell_->setDelegate(nullptr);
}

Rect KRRecorderControl::fixedFrame(Rect frame) {
  frame.size.width = std::max(frame.size.width, kMinimumWidth);
  frame.size.height = kHeight;
  return frame;
}

void KRRecorderControl::setFrame(const Rect& frame) {
  platform::Control::setFrame(fixedFrame(frame));
  cell_->resetTrackingRects();
}

void KRRecorderControl::setEnabled(bool enabled) {
  platform::Control::setEnabled(enabled);
  cell_->setEnabled(enabled);
}

bool KRRecorderControl::isFirstResponder() const { return host() && host()->firstResponder() == this; }

bool KRRecorderControl::becomeFirstResponder() {
  const bool became = cell_->becomeFirstResponder();
  if (became) setNeedsDisplay();
  return became;
}

bool KRRecorderControl::resignFirstResponder() {
  const bool resigned = cell_->resignFirstResponder();
  if (resigned) setNeedsDisplay();
  return resigned;
}

bool KRRecorderControl::performKeyEquivalent(const Event& event) {
  if (isFirstResponder() && cell_->performKeyEquivalent(event)) return true;
  return platform::Control::performKeyEquivalent(event);
}

void KRRecorderControl::keyDown(const Event& event) {
  if (!cell_->performKeyEquivalent(event)) platform::Control::keyDown(event);
}

void KRRecorderControl::flagsChanged(const Event& event) { cell_->flagsChanged(event); }

void KRRecorderControl::mouseDown(const Event& event) { cell_->trackMouse(event, bounds(), *this); }

void KRRecorderControl::followPointer(platform::Point locationInWindow) {
  const bool inside = platform::pointInRect(convertPointFromWindow(locationInWindow), cell_->trackingRect());
  if (inside == cell_->mouseInsideTrackingArea()) return;
  if (inside) {
    cell_->mouseEntered();
  } else {
    cell_->mouseExited();
  }
}

void KRRecorderControl::mouseMoved(const Event& event) { followPointer(event.locationInWindow); }

void KRRecorderControl::mouseExited(const Event&) {
  if (cell_->mouseInsideTrackingArea()) cell_->mouseExited();
}

void KRRecorderControl::drawRect(const Rect&) { cell_->drawWithFrame(bounds(), *this); }

Value KRRecorderControl::objectValue() const {
  const KRKeyCombo combo = cell_->keyCombo();
  if (combo.code == -1 || combo.flags == 0) return {};
  // Built the way a dictionary literal of Foundation is: it stops at the first missing object.
  auto value = platform::Dictionary::make();
  const std::string characters = cell_->keyCharsIgnoringModifiers();
  if (characters.empty()) return Value(value);
  value->set("characters", characters);
  value->set("keyCode", combo.code);
  value->set("modifierFlags", combo.flags);
  return Value(value);
}

void KRRecorderControl::setObjectValue(const Value& value) { cell_->setKeyCombo(keyComboForObjectValue(value)); }

KRKeyCombo KRRecorderControl::keyComboForObjectValue(const Value& value) {
  const platform::DictRef dictionary = value.dictionary();
  const Value code = dictionary ? dictionary->get("keyCode") : Value();
  const Value flags = dictionary ? dictionary->get("modifierFlags") : Value();
  if (!code.isNumber() || !flags.isNumber()) return {0, -1};
  return {static_cast<std::uint64_t>(flags.integerValue()), code.integerValue()};
}

void KRRecorderControl::bind(const std::string& name, platform::KeyValueObserving* object, std::string keyPath,
                             std::optional<platform::BindingOptions> options) {
  bindings_.bind(name, object, std::move(keyPath), std::move(options), [this, name](const Value& value) {
    if (name == kValueBinding) setObjectValue(value);
  });
}

void KRRecorderControl::shortcutRecorderCellKeyComboDidChange(KRRecorderCell&, KRKeyCombo combo) {
  if (delegate_) delegate_->shortcutRecorderKeyComboDidChange(*this, combo);
  constexpr const char* method = "-[KRRecorderControl shortcutRecorderCell:keyComboDidChange:]";
  static const platform::BindingPushMessages messages{
      std::string("WARNING: value has value transformer, but it doesn't allow reverse transformations in ") + method,
      std::string("ERROR: NSObservedObjectKey was nil for value binding in ") + method,
      std::string("ERROR: NSObservedKeyPathKey was nil for value binding in ") + method};
  bindings_.push(kValueBinding, objectValue(), messages);
}

bool KRRecorderControl::shortcutRecorderCellIsKeyCodeAndFlagsTaken(KRRecorderCell&, std::int64_t code,
                                                                   std::uint64_t flags,
                                                                   std::optional<std::string>& reason) {
  return delegate_ && delegate_->shortcutRecorderIsKeyCodeAndFlagsTaken(*this, code, flags, reason);
}
