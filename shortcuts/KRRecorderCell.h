#pragma once

// The shortcut recorder's cell: one key combination, recorded from the
// keyboard, filtered, validated and told to a delegate; kept in the user
// defaults under an autosave name. A click or the space bar starts recording;
// the next acceptable key becomes the combination; Escape, Delete and Forward
// Delete alone end it unchanged. The cell is fed platform events by its
// control view and draws into it (KRRecorderCellDrawing.cpp).
//
// States: idle, starting (style 1 with animation: 11 ticks of 1/30 s),
// recording, ending. While recording the window holds the keyboard, so the
// desktop's shortcuts can be recorded (canCaptureGlobalHotKeys).

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/core/delayed_perform.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/ui/event.h"
#include "shortcuts/KRCommon.h"
#include "shortcuts/KRValidator.h"

namespace platform {
class KeyboardGrab;
class View;
}  // namespace platform

// Cocoa modifier flags, then a virtual key code; empty is flags 0 with code -1.
struct KRKeyCombo {
  std::uint64_t flags = 0;
  std::int64_t code = -1;
  friend bool operator==(const KRKeyCombo&, const KRKeyCombo&) = default;
};

class KRRecorderCell;

class KRRecorderCellDelegate {
 public:
  virtual void shortcutRecorderCellKeyComboDidChange(KRRecorderCell&, KRKeyCombo) {}
  // Cocoa flags. Default: nothing is taken.
  virtual bool shortcutRecorderCellIsKeyCodeAndFlagsTaken(KRRecorderCell&, std::int64_t /*code*/,
                                                          std::uint64_t /*flags*/,
                                                          std::optional<std::string>& /*reason*/) {
    return false;
  }

 protected:
  ~KRRecorderCellDelegate() = default;
};

class KRRecorderCell : public platform::Object,
                       public KRValidatorDelegate,
                       public std::enable_shared_from_this<KRRecorderCell> {
 public:
  static constexpr std::string_view kClassName = "KRRecorderCell";
  static constexpr std::uint64_t kDefaultAllowedFlags = kr_flags::Modifiers | kr_flags::Function;  // 0x9E0000
  static constexpr double kTickInterval = 1.0 / 30.0;
  static constexpr double kTickProgress = 2.0 / 21.0;

  KRRecorderCell();
  ~KRRecorderCell() override;
  KRRecorderCell(const KRRecorderCell&) = delete;
  KRRecorderCell& operator=(const KRRecorderCell&) = delete;
  std::string_view className() const noexcept override { return kClassName; }
  // copyWithZone: every field, sharing the autosave name and delegate; not recording, no view.
  std::shared_ptr<KRRecorderCell> copy() const;

  // The view the cell draws in and takes events from (not owned).
  void setControlView(platform::View* view) { controlView_ = view; }
  platform::View* controlView() const { return controlView_; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // 1 animates the start and end of recording; anything else is 0.
  int style() const { return style_; }
  void setStyle(int style) { style_ = style == 1 ? 1 : 0; }
  static bool styleSupportsAnimation(int style) { return style == 1; }
  bool animates() const { return isAnimating_; }
  void setAnimates(bool animates) { isAnimating_ = animates; }

  std::uint64_t allowedFlags() const { return allowedFlags_; }
  void setAllowedFlags(std::uint64_t flags);
  std::uint64_t requiredFlags() const { return requiredFlags_; }
  void setRequiredFlags(std::uint64_t flags);
  bool allowsKeyOnly() const { return allowsKeyOnly_; }
  void setAllowsKeyOnly(bool allows) { allowsKeyOnly_ = allows; }
  bool escapeKeysRecord() const { return escapeKeysRecord_; }
  void setEscapeKeysRecord(bool record) { escapeKeysRecord_ = record; }
  void setAllowsKeyOnlyEscapeKeysRecord(bool allows, bool record);
  bool canCaptureGlobalHotKeys() const { return globalHotKeys_; }
  void setCanCaptureGlobalHotKeys(bool capture) { globalHotKeys_ = capture; }

  // "KeyRecorder <name>" in the user defaults; setting neither loads nor saves.
  const std::string& autosaveName() const { return autosaveName_; }
  void setAutosaveName(std::string name) { autosaveName_ = std::move(name); }

  KRRecorderCellDelegate* delegate() const { return delegate_; }
  void setDelegate(KRRecorderCellDelegate* delegate) { delegate_ = delegate; }
  KRValidator& validator() { return validator_; }

  KRKeyCombo keyCombo() const { return keyCombo_; }
  // Filters the flags, tells the delegate, saves and redraws.
  void setKeyCombo(KRKeyCombo combo);
  // The same without telling the delegate: showing a stored combination.
  void setKeyCombo2(KRKeyCombo combo);
  // Glyphs and key name; nothing for an empty cell.
  std::optional<std::string> keyComboString() const;
  std::string keyChars() const;
  std::string keyCharsIgnoringModifiers() const;

  // ((flags & allowed) | required) & 0x9E0000.
  std::uint64_t filteredCocoaFlags(std::uint64_t flags) const;
  bool validModifierFlags(std::uint64_t flags) const;
  // A negative code, flags that are not valid or a key without a name.
  bool isEmpty() const;

  // Keyboard input from the control view: true when the key was used.
  bool performKeyEquivalent(const platform::Event& event);
  void flagsChanged(const platform::Event& event);

  bool becomeFirstResponder();
  bool resignFirstResponder();
  // A mouse down in the cell's frame (in the control view): follows the button until it is released.
  bool trackMouse(const platform::Event& mouseDown, const platform::Rect& cellFrame, platform::View& view);
  // The button whose hovering the cell follows, in the control view's bounds (the snap-back while recording,
  // the remove button otherwise); empty for a disabled cell.
  platform::Rect trackingRect() const;
  void resetTrackingRects();
  void mouseEntered();
  void mouseExited();

  bool isRecording() const { return isRecording_; }
  bool isAnimatingNow() const { return isAnimatingNow_; }
  double transitionProgress() const { return transitionProgress_; }
  std::uint64_t recordingFlags() const { return recordingFlags_; }
  bool mouseInsideTrackingArea() const { return mouseInsideTrackingArea_; }
  bool isMouseDown() const { return mouseDown_; }

  // The remove button (empty for an empty or disabled cell) and the snap-back arrow in a frame.
  platform::Rect removeButtonRectForFrame(const platform::Rect& frame) const;
  platform::Rect snapbackRectForFrame(const platform::Rect& frame) const;
  // drawWithFrame:inView:, into the current graphics context.
  void drawWithFrame(const platform::Rect& frame, platform::View& view);

  bool shortcutValidatorIsKeyCodeAndFlagsTaken(KRValidator& validator, std::int64_t code, std::uint64_t flags,
                                               std::optional<std::string>& reason) override;

  // Makes cells readable from keyed archives (class "KRRecorderCell"); done before any cell is made.
  static void registerArchiveCoder();

  // Reads the combination stored under the autosave name, as decoding does last: the empty combination when
  // nothing readable is stored.
  void loadCombo();

 private:
  friend class KRRecorderCellCoder;

  void startRecordingTransition();
  void endRecordingTransition();
  void runTransition(bool towardsRecording);
  // After the allowed or required flags changed: what is held while recording, else the combination itself.
  void refilterFlags();
  void scheduleTick();
  void tick();
  void startRecording();
  void endRecording();
  void finishRecordingUnchanged();
  void recordKey(const platform::Event& event);
  bool notConsumed(const platform::Event& event);
  void tellDelegate();
  void saveCombo();
  void setNeedsDisplay();
  bool isControlFirstResponder() const;
  std::string removeImageName() const;
  void drawStyle0(const platform::Rect& frame);
  void drawStyle1(const platform::Rect& frame);
  std::string recordingText() const;
  std::string idleText() const;

  platform::View* controlView_ = nullptr;
  bool enabled_ = true;
  std::string autosaveName_;
  bool isRecording_ = false;
  bool mouseInsideTrackingArea_ = false;
  bool mouseDown_ = false;
  int style_ = 0;
  bool isAnimating_ = false;
  double transitionProgress_ = 0;
  bool isAnimatingNow_ = false;
  bool isAnimatingTowardsRecording_ = false;
  bool comboJustChanged_ = false;
  KRKeyCombo keyCombo_;
  bool hasKeyChars_ = false;
  std::string keyChars_;
  std::string keyCharsIgnoringModifiers_;
  std::uint64_t allowedFlags_ = kDefaultAllowedFlags;
  std::uint64_t requiredFlags_ = 0;
  std::uint64_t recordingFlags_ = 0;
  bool allowsKeyOnly_ = false;
  bool escapeKeysRecord_ = false;
  std::set<std::uint16_t> cancelCharacterSet_{53, 51, 117};  // Escape, Delete, Forward Delete
  KRValidator validator_{this};
  KRRecorderCellDelegate* delegate_ = nullptr;  // not owned
  bool globalHotKeys_ = false;
  std::unique_ptr<platform::KeyboardGrab> hotKeyModeToken_;
  platform::DelayedPerformer ticks_;
};
