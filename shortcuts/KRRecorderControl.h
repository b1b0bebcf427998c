#pragma once

// The shortcut recorder as a view: a control 22 points high (at least 50
// wide) that owns one recorder cell, hands it keyboard, mouse and focus
// changes, passes its callbacks on to its own delegate and publishes the
// combination through its "value" binding as {"characters", "keyCode",
// "modifierFlags"}.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/binding.h"
#include "platform/ui/control.h"
#include "shortcuts/KRRecorderCell.h"

class KRRecorderControl;

class KRRecorderControlDelegate {
 public:
  virtual void shortcutRecorderKeyComboDidChange(KRRecorderControl&, KRKeyCombo) {}
  // Cocoa flags. Default: nothing is taken.
  virtual bool shortcutRecorderIsKeyCodeAndFlagsTaken(KRRecorderControl&, std::int64_t /*code*/,
                                                      std::uint64_t /*flags*/, std::optional<std::string>& /*reason*/) {
    return false;
  }

 protected:
  ~KRRecorderControlDelegate() = default;
};

class KRRecorderControl : public platform::Control, public KRRecorderCellDelegate {
 public:
  static constexpr double kHeight = 22;
  static constexpr double kMinimumWidth = 50;
  static constexpr const char* kValueBinding = "value";

  explicit KRRecorderControl(platform::Rect frame, std::shared_ptr<KRRecorderCell> cell = nullptr);
  ~KRRecorderControl() override;

  KRRecorderCell& cell() { return *cell_; }
  const KRRecorderCell& cell() const { return *cell_; }

  // At least 50 wide, always 22 high, whatever is asked.
  void setFrame(const platform::Rect& frame) override;
  void setEnabled(bool enabled) override;

  bool acceptsFirstResponder() const override { return true; }
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  bool performKeyEquivalent(const platform::Event& event) override;
  void keyDown(const platform::Event& event) override;
  void flagsChanged(const platform::Event& event) override;
  void mouseDown(const platform::Event& event) override;
  void mouseMoved(const platform::Event& event) override;
  void mouseExited(const platform::Event& event) override;
  void drawRect(const platform::Rect& dirtyRect) override;

  // What the cell keeps, forwarded.
  bool animates() const { return cell_->animates(); }
  void setAnimates(bool animates) { cell_->setAnimates(animates); }
  int style() const { return cell_->style(); }
  void setStyle(int style) { cell_->setStyle(style); }
  std::uint64_t allowedFlags() const { return cell_->allowedFlags(); }
  void setAllowedFlags(std::uint64_t flags) { cell_->setAllowedFlags(flags); }
  std::uint64_t requiredFlags() const { return cell_->requiredFlags(); }
  void setRequiredFlags(std::uint64_t flags) { cell_->setRequiredFlags(flags); }
  bool allowsKeyOnly() const { return cell_->allowsKeyOnly(); }
  // Also stops escape keys recording, which the cell's own setter leaves alone.
  void setAllowsKeyOnly(bool allows) { cell_->setAllowsKeyOnlyEscapeKeysRecord(allows, false); }
  void setAllowsKeyOnlyEscapeKeysRecord(bool allows, bool record) {
    cell_->setAllowsKeyOnlyEscapeKeysRecord(allows, record);
  }
  bool escapeKeysRecord() const { return cell_->escapeKeysRecord(); }
  void setEscapeKeysRecord(bool record) { cell_->setEscapeKeysRecord(record); }
  bool canCaptureGlobalHotKeys() const { return cell_->canCaptureGlobalHotKeys(); }
  void setCanCaptureGlobalHotKeys(bool capture) { cell_->setCanCaptureGlobalHotKeys(capture); }
  KRKeyCombo keyCombo() const { return cell_->keyCombo(); }
  void setKeyCombo(KRKeyCombo combo) { cell_->setKeyCombo(combo); }
  const std::string& autosaveName() const { return cell_->autosaveName(); }
  void setAutosaveName(std::string name) { cell_->setAutosaveName(std::move(name)); }
  std::optional<std::string> keyComboString() const { return cell_->keyComboString(); }
  std::string keyChars() const { return cell_->keyChars(); }
  std::string keyCharsIgnoringModifiers() const { return cell_->keyCharsIgnoringModifiers(); }
  void resetTrackingRects() { cell_->resetTrackingRects(); }
  static std::uint32_t cocoaToCarbonFlags(std::uint64_t flags) { return KRCocoaToCarbonFlags(flags); }
  static std::uint64_t carbonToCocoaFlags(std::uint32_t flags) { return KRCarbonToCocoaFlags(flags); }

  // Nil for flags 0 or code -1; otherwise {"characters", "keyCode", "modifierFlags"}, which stops (empty) at a
  // combination without characters.
  platform::Value objectValue() const;
  // A dictionary with numbers under "keyCode" and "modifierFlags" sets that combination; anything else empties.
  void setObjectValue(const platform::Value& value);
  // The combination setObjectValue sets, before the cell filters its flags.
  static KRKeyCombo keyComboForObjectValue(const platform::Value& value);

  // The "value" binding (both ways).
  void bind(const std::string& name, platform::KeyValueObserving* object, std::string keyPath,
            std::optional<platform::BindingOptions> options);
  void unbind(const std::string& name) { bindings_.unbind(name); }
  const platform::Binding* infoForBinding(const std::string& name) const { return bindings_.infoForBinding(name); }

  int index() const { return index_; }
  void setIndex(int index) { index_ = index; }
  KRRecorderControlDelegate* delegate() const { return delegate_; }
  void setDelegate(KRRecorderControlDelegate* delegate) { delegate_ = delegate; }

  void shortcutRecorderCellKeyComboDidChange(KRRecorderCell& cell, KRKeyCombo combo) override;
  bool shortcutRecorderCellIsKeyCodeAndFlagsTaken(KRRecorderCell& cell, std::int64_t code, std::uint64_t flags,
                                                  std::optional<std::string>& reason) override;

 private:
  static platform::Rect fixedFrame(platform::Rect frame);
  bool isFirstResponder() const;
  void followPointer(platform::Point locationInWindow);

  std::shared_ptr<KRRecorderCell> cell_;
  platform::Bindings bindings_;
  KRRecorderControlDelegate* delegate_ = nullptr;  // not owned
  int index_ = 0;
};
