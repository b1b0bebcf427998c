#include "shortcuts/KRRecorderCell.h"

#include <glib.h>

#include <utility>

#include "platform/core/numeric.h"
#include "platform/core/user_defaults_controller.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/alert.h"
#include "platform/ui/beep.h"
#include "platform/ui/key_translation.h"
#include "platform/ui/keyboard_grab.h"
#include "platform/ui/view.h"
#include "platform/ui/view_host.h"

using platform::Event;
using platform::EventType;
using platform::Point;
using platform::Rect;
using platform::Value;

namespace {

constexpr std::uint64_t kRecordableFlags = KRRecorderCell::kDefaultAllowedFlags;  // 0x9E0000

std::string autosaveKeyPath(const std::string& name) { return "values.KeyRecorder " + name; }

// Whatever program can make a cell can read one from an archive.
[[maybe_unused]] const bool archiveCoderRegistered = [] {
  KRRecorderCell::registerArchiveCoder();
  return true;
}();

}  // namespace

KRRecorderCell::KRRecorderCell() = default;

KRRecorderCell::~KRRecorderCell() = default;

std::shared_ptr<KRRecorderCell> KRRecorderCell::copy() const {
  auto copy = std::make_shared<KRRecorderCell>();
  copy->enabled_ = enabled_;
  copy->autosaveName_ = autosaveName_;
  copy->style_ = style_;
  copy->isAnimating_ = isAnimating_;
  copy->keyCombo_ = keyCombo_;
  copy->hasKeyChars_ = hasKeyChars_;
  copy->keyChars_ = keyChars_;
  copy->keyCharsIgnoringModifiers_ = keyCharsIgnoringModifiers_;
  copy->allowedFlags_ = allowedFlags_;
  copy->requiredFlags_ = requiredFlags_;
  copy->allowsKeyOnly_ = allowsKeyOnly_;
  copy->escapeKeysRecord_ = escapeKeysRecord_;
  copy->cancelCharacterSet_ = cancelCharacterSet_;
  copy->delegate_ = delegate_;
  copy->globalHotKeys_ = globalHotKeys_;
  return copy;
}

void KRRecorderCell::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  resetTrackingRects();
  setNeedsDisplay();
}

std::uint64_t KRRecorderCell::filteredCocoaFlags(std::uint64_t flags) const {
  return ((flags & allowedFlags_) | requiredFlags_) & kRecordableFlags;
}

bool KRRecorderCell::validModifierFlags(std::uint64_t flags) const {
  if (allowsKeyOnly_ || (flags & kr_flags::Modifiers)) return true;
  return (flags & kr_flags::Function) != 0;
}

bool KRRecorderCell::isEmpty() const {
  if (keyCombo_.code < 0 || !validModifierFlags(keyCombo_.flags)) return true;
  return !KRKeyNameForKeyCode(keyCombo_.code);
}

void KRRecorderCell::setAllowedFlags(std::uint64_t flags) {
  allowedFlags_ = flags;
  refilterFlags();
}

void KRRecorderCell::setRequiredFlags(std::uint64_t flags) {
  requiredFlags_ = flags;
  refilterFlags();
}

void KRRecorderCell::refilterFlags() {
  if (isRecording_) {
    recordingFlags_ = filteredCocoaFlags(platform::currentModifierFlags());
  } else {
    const std::uint64_t filtered = filteredCocoaFlags(keyCombo_.flags);
    if (filtered != keyCombo_.flags && keyCombo_.code >= 0) {
      keyCombo_.flags = filtered;
      tellDelegate();
      saveCombo();
    }
  }
  setNeedsDisplay();
}

void KRRecorderCell::setAllowsKeyOnlyEscapeKeysRecord(bool allows, bool record) {
  allowsKeyOnly_ = allows;
  escapeKeysRecord_ = record;
  setNeedsDisplay();
}

void KRRecorderCell::setKeyCombo(KRKeyCombo combo) {
  setKeyCombo2(combo);
  tellDelegate();
  saveCombo();
}

void KRRecorderCell::setKeyCombo2(KRKeyCombo combo) {
  keyCombo_ = {filteredCocoaFlags(combo.flags), combo.code};
  hasKeyChars_ = false;
  setNeedsDisplay();
}

std::optional<std::string> KRRecorderCell::keyComboString() const {
  if (isEmpty()) return std::nullopt;
  return KRKeyComboStringForCocoaFlags(keyCombo_.flags, keyCombo_.code);
}

std::string KRRecorderCell::keyChars() const {
  return hasKeyChars_ ? keyChars_ : KRKeyNameForKeyCode(keyCombo_.code).value_or("");
}

std::string KRRecorderCell::keyCharsIgnoringModifiers() const {
  return hasKeyChars_ ? keyCharsIgnoringModifiers_ : KRCharacterForKeyCodeAndCocoaFlags(keyCombo_.code, keyCombo_.flags);
}

bool KRRecorderCell::performKeyEquivalent(const Event& event) {
  const std::uint64_t filtered = filteredCocoaFlags(event.modifierFlags);
  const bool cancel = cancelCharacterSet_.contains(event.keyCode);
  // Cancel keys are judged by the modifiers really held: with a required modifier, Escape alone still cancels.
  const bool valid = validModifierFlags(cancel ? event.modifierFlags : filtered);
  if (!isRecording_) {
    if (event.characters == " " && enabled_) {
      startRecordingTransition();
      return true;
    }
    return notConsumed(event);
  }
  if (!cancel && !valid) return notConsumed(event);
  if (cancel && !valid) {
    finishRecordingUnchanged();
    return true;
  }
  if (cancel && (filtered & ~kr_flags::Function) == 0 && allowsKeyOnly_ && !escapeKeysRecord_) {
    finishRecordingUnchanged();
    return true;
  }
  recordKey(event);
  return true;
}

void KRRecorderCell::recordKey(const Event& event) {
  // A key that types nothing (a dead key), or one without a place on the keyboard, cannot be stored.
  if (KRUppercaseString(event.charactersIgnoringModifiers).empty() || event.keyCode == platform::UnknownKeyCode) {
    platform::beep();
    finishRecordingUnchanged();
    return;
  }
  const std::uint64_t filtered = filteredCocoaFlags(event.modifierFlags);
  platform::Error error;
  if (validator_.isKeyCodeAndFlagsTaken(event.keyCode, KRCocoaToCarbonFlags(filtered), &error)) {
    auto alert = platform::Alert::alertWithNonRecoverableError(error);
    alert->setAlertStyle(platform::AlertStyle::Critical);
    alert->runModal();
    // Recording goes on with whatever is held now.
    if (const Event* current = platform::currentEvent()) flagsChanged(*current);
    return;
  }
  keyCombo_ = {filtered, event.keyCode};
  hasKeyChars_ = true;
  keyChars_ = event.characters;
  keyCharsIgnoringModifiers_ = event.charactersIgnoringModifiers;
  tellDelegate();
  saveCombo();
  comboJustChanged_ = true;
  recordingFlags_ = 0;
  endRecordingTransition();
  resetTrackingRects();
  setNeedsDisplay();
}

void KRRecorderCell::finishRecordingUnchanged() {
  recordingFlags_ = 0;
  endRecordingTransition();
  resetTrackingRects();
  setNeedsDisplay();
}

bool KRRecorderCell::notConsumed(const Event& event) {
  if (isControlFirstResponder() && !event.characters.empty() && event.characters.front() == ' ' && enabled_) {
    startRecordingTransition();
  }
  return false;
}

void KRRecorderCell::flagsChanged(const Event& event) {
  if (!isRecording_) return;
  recordingFlags_ = filteredCocoaFlags(event.modifierFlags);
  setNeedsDisplay();
}

bool KRRecorderCell::becomeFirstResponder() {
  resetTrackingRects();
  setNeedsDisplay();
  return true;
}

bool KRRecorderCell::resignFirstResponder() {
  if (isRecording_) endRecordingTransition();
  resetTrackingRects();
  setNeedsDisplay();
  return true;
}

bool KRRecorderCell::trackMouse(const Event& mouseDown, const Rect& cellFrame, platform::View& view) {
  const Rect button = isRecording_ ? snapbackRectForFrame(cellFrame) : removeButtonRectForFrame(cellFrame);
  Rect left = cellFrame;
  if (!platform::isEmptyRect(button)) left.size.width -= button.size.width + 4;
  if (mouseDown.isMouseDown() &&
      platform::pointInRect(view.convertPointFromWindow(mouseDown.locationInWindow), button)) {
    mouseDown_ = true;
    view.setNeedsDisplay();
  }
  const platform::EventMask mask = platform::eventMaskFromType(EventType::LeftMouseDragged) |
                                   platform::eventMaskFromType(EventType::LeftMouseUp);
  view.trackMouse(mask, [self = shared_from_this(), button, left, &view](const Event& event) {
    const Point point = view.convertPointFromWindow(event.locationInWindow);
    const bool inButton = platform::pointInRect(point, button);
    if (event.type == EventType::LeftMouseDragged) {
      self->mouseInsideTrackingArea_ = inButton;
      view.setNeedsDisplay();
      return;
    }
    self->mouseDown_ = false;
    self->mouseInsideTrackingArea_ = inButton;
    if (inButton) {
      if (self->isRecording_) {
        self->endRecordingTransition();
      } else {
        self->setKeyCombo({0, -1});
      }
    } else if (platform::pointInRect(point, left) && !self->isRecording_ && self->enabled_) {
      self->startRecordingTransition();
    }
    if (self->enabled_ && view.host()) view.host()->makeFirstResponder(&view);
    self->resetTrackingRects();
    view.setNeedsDisplay();
  });
  return true;
}

Rect KRRecorderCell::trackingRect() const {
  if (!enabled_ || !controlView_) return {};
  const Rect bounds = controlView_->bounds();
  return isRecording_ ? snapbackRectForFrame(bounds) : removeButtonRectForFrame(bounds);
}

void KRRecorderCell::resetTrackingRects() {
  const Event* current = platform::currentEvent();
  if (!enabled_ || !controlView_ || !current) {
    mouseInsideTrackingArea_ = false;
    return;
  }
  mouseInsideTrackingArea_ =
      platform::pointInRect(controlView_->convertPointFromWindow(current->locationInWindow), trackingRect());
}

void KRRecorderCell::mouseEntered() {
  mouseInsideTrackingArea_ = true;
  setNeedsDisplay();
}

void KRRecorderCell::mouseExited() {
  mouseInsideTrackingArea_ = false;
  setNeedsDisplay();
}

void KRRecorderCell::startRecordingTransition() { runTransition(true); }

void KRRecorderCell::endRecordingTransition() { runTransition(false); }

void KRRecorderCell::runTransition(bool towardsRecording) {
  if (!(isAnimating_ && styleSupportsAnimation(style_))) {
    if (towardsRecording) {
      startRecording();
    } else {
      endRecording();
    }
    return;
  }
  isAnimatingTowardsRecording_ = towardsRecording;
  isAnimatingNow_ = true;
  transitionProgress_ = 0;
  scheduleTick();
}

void KRRecorderCell::scheduleTick() {
  ticks_.cancelPreviousPerformRequests();
  ticks_.performAfterDelay(kTickInterval, [this] { tick(); });
}

void KRRecorderCell::tick() {
  transitionProgress_ += kTickProgress;
  if (transitionProgress_ < 0.998) {
    setNeedsDisplay();
    scheduleTick();
    return;
  }
  isAnimatingNow_ = false;
  transitionProgress_ = 0;
  if (isAnimatingTowardsRecording_) {
    startRecording();
  } else {
    endRecording();
  }
}

void KRRecorderCell::startRecording() {
  const bool wasRecording = isRecording_;
  isRecording_ = true;
  recordingFlags_ = filteredCocoaFlags(0);
  setNeedsDisplay();
  if (globalHotKeys_ && !wasRecording && controlView_) hotKeyModeToken_ = platform::KeyboardGrab::begin(*controlView_);
}

void KRRecorderCell::endRecording() {
  isRecording_ = false;
  comboJustChanged_ = false;
  setNeedsDisplay();
  hotKeyModeToken_.reset();
}

void KRRecorderCell::tellDelegate() {
  if (delegate_) delegate_->shortcutRecorderCellKeyComboDidChange(*this, keyCombo_);
}

void KRRecorderCell::saveCombo() {
  if (autosaveName_.empty()) return;
  auto stored = platform::Dictionary::make({{"keyCode", static_cast<std::int16_t>(keyCombo_.code)},
                                            {"modifierFlags", keyCombo_.flags},
                                            {"modifiers", KRCocoaToCarbonFlags(keyCombo_.flags)}});
  if (hasKeyChars_) {
    stored->set("keyChars", keyChars_);
    stored->set("keyCharsIgnoringModifiers", keyCharsIgnoringModifiers_);
  }
  platform::UserDefaultsController::shared().setValueForKeyPath(Value(stored), autosaveKeyPath(autosaveName_));
}

void KRRecorderCell::loadCombo() {
  if (autosaveName_.empty()) return;
  const platform::DictRef stored =
      platform::UserDefaultsController::shared().valueForKeyPath(autosaveKeyPath(autosaveName_)).dictionary();
  // The defaults file is edited by hand at times: anything but numbers where numbers belong empties the cell.
  KRKeyCombo combo;
  hasKeyChars_ = false;
  const auto numberOrMissing = [](const Value* value) { return !value || value->isNumber(); };
  const Value* code = stored ? stored->find("keyCode") : nullptr;
  const Value* flags = stored ? stored->find("modifierFlags") : nullptr;
  const Value* carbon = stored ? stored->find("modifiers") : nullptr;
  if (code && code->isNumber() && numberOrMissing(flags) && (flags || numberOrMissing(carbon))) {
    combo.code = platform::saturatingTruncate<std::int16_t>(code->doubleValue());
    if (flags) {
      combo.flags = static_cast<std::uint64_t>(flags->integerValue());
    } else if (carbon) {
      combo.flags = KRCarbonToCocoaFlags(carbon->unsignedIntValue());
    }
    if (const Value* chars = stored->find("keyChars"); chars && chars->isString()) {
      hasKeyChars_ = true;
      keyChars_ = chars->string();
      keyCharsIgnoringModifiers_ = stored->get("keyCharsIgnoringModifiers").string();
    }
  }
  keyCombo_ = {filteredCocoaFlags(combo.flags), combo.code};
  tellDelegate();
  setNeedsDisplay();
}

void KRRecorderCell::setNeedsDisplay() {
  if (controlView_) controlView_->setNeedsDisplay();
}

bool KRRecorderCell::isControlFirstResponder() const {
  return controlView_ && controlView_->host() && controlView_->host()->firstResponder() == controlView_;
}

bool KRRecorderCell::shortcutValidatorIsKeyCodeAndFlagsTaken(KRValidator&, std::int64_t code, std::uint64_t flags,
                                                             std::optional<std::string>& reason) {
  return delegate_ && delegate_->shortcutRecorderCellIsKeyCodeAndFlagsTaken(*this, code, flags, reason);
}
