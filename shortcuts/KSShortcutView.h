#pragma once

// A second shortcut recorder, a plain view: a click starts recording, and a
// process-wide key monitor takes the next key with a modifier that makes it a
// valid shortcut no one else uses. Delete clears, Escape stops, the window
// losing focus stops. Its value can be bound to a user-defaults key. It looks
// like a button: the shortcut, or while recording the modifiers held; a hint
// area at its right end clears it.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <sigc++/connection.h>

#include "platform/core/binding.h"
#include "platform/graphics/text_attributes.h"
#include "platform/ui/view.h"
#include "shortcuts/KSShortcut.h"
#include "shortcuts/KSShortcutValidator.h"

class KSShortcutView : public platform::View {
 public:
  using ValueChange = std::function<void(KSShortcutView&)>;
  static constexpr const char* kShortcutValueBinding = "shortcutValue";

  explicit KSShortcutView(platform::Rect frame);
  ~KSShortcutView() override;

  bool isFlipped() const override { return true; }

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);
  // 0 to 3; other values change nothing.
  int style() const { return style_; }
  void setStyle(int style);
  bool isRecording() const { return recording_; }
  void setRecording(bool recording);
  std::shared_ptr<const KSShortcut> shortcutValue() const { return shortcutValue_; }
  void setShortcutValue(std::shared_ptr<const KSShortcut> value);
  const std::string& shortcutPlaceholder() const { return placeholder_; }
  void setShortcutPlaceholder(std::string placeholder);
  KSShortcutValidator& shortcutValidator() const { return *validator_; }
  void setShortcutValidator(KSShortcutValidator& validator) { validator_ = &validator; }
  const ValueChange& shortcutValueChange() const { return valueChange_; }
  void setShortcutValueChange(ValueChange change) { valueChange_ = std::move(change); }
  bool showsDeleteButton() const { return showsDeleteButton_; }
  void setShowsDeleteButton(bool shows) { showsDeleteButton_ = shows; }
  bool isHinting() const { return hinting_; }
  void setHinting(bool hinting);
  bool acceptsFirstResponder() const override { return acceptsFirstResponder_; }
  void setAcceptsFirstResponder(bool accepts) { acceptsFirstResponder_ = accepts; }

  // The shortcut area and the hint area at the right end (23, 25, 26 wide by style; font size + 4 when flat).
  void getShortcutRect(platform::Rect* shortcutRect, platform::Rect* hintRect) const;
  bool locationInShortcutRect(platform::Point locationInWindow) const;
  bool locationInHintRect(platform::Point locationInWindow) const;
  // The tool tip over a point of the view: "Click to record new shortcut" or "Delete shortcut", or none.
  std::string toolTipAtPoint(platform::Point point) const;

  void mouseDown(const platform::Event& event) override;
  void mouseMoved(const platform::Event& event) override;
  void mouseExited(const platform::Event& event) override;
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  void drawRect(const platform::Rect& dirtyRect) override;
  // The button cell's look in a rectangle: title, alignment, on (1) or off (0).
  void drawInRect(const platform::Rect& rect, const std::string& title, platform::TextAlignment alignment, int state);

  // The value bound to "values.<key>" of the shared user-defaults controller, through a transformer (by default
  // the keyed-archive one); an empty key unbinds.
  std::optional<std::string> associatedUserDefaultsKey() const;
  void setAssociatedUserDefaultsKey(const std::string& key,
                                    std::shared_ptr<const platform::ValueTransformer> transformer);
  void setAssociatedUserDefaultsKeyWithTransformerName(const std::string& key, const std::string& transformerName);
  void setAssociatedUserDefaultsKey(const std::string& key);

 private:
  void bindToDefaults(const std::string& key, platform::BindingOptions options);
  void resetToolTips();
  void updateAccessibility();
  void announce(const std::string& text);
  void installMonitorAndObserver();
  void removeMonitorAndObserver();
  // The monitor's verdict on one key or modifier event while recording: false swallows it.
  bool handleRecordingEvent(const platform::Event& event);

  bool acceptsFirstResponder_ = false;
  bool recording_ = false;
  bool enabled_ = true;
  bool hinting_ = false;
  bool showsDeleteButton_ = true;
  int style_ = 0;
  std::shared_ptr<const KSShortcut> shortcutValue_;
  KSShortcutValidator* validator_;
  ValueChange valueChange_;
  std::string placeholder_;
  bool toolTipsShown_ = false;
  platform::Bindings bindings_;
  int monitor_ = 0;
  sigc::connection resignObserver_;
};
