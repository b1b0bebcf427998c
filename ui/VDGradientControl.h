#pragma once

// The gradient rows' swatch: draws its gradient record and, clicked, opens the shared gradient window on that
// record, framed in black while the window serves it. The window edits the record in place; each change is sent
// through the action, with a copy of the record as it was just before for undo.

#include "platform/core/value.h"
#include "platform/ui/control.h"

class VDGradientWindowControllerDelegate {
 public:
  virtual ~VDGradientWindowControllerDelegate() = default;
  virtual void didGradientChanged() = 0;
  virtual void didGradientClose() = 0;
};

class VDGradientControl : public platform::Control, public VDGradientWindowControllerDelegate {
 public:
  explicit VDGradientControl(platform::Rect frame) : Control(frame) {}
  // The shared window lets go of a control that is gone.
  ~VDGradientControl() override;

  const platform::DictRef& gradient() const { return gradient_; }
  void setGradient(platform::DictRef gradient);
  bool isActive() const { return isActive_; }
  // The record as it was before the change last sent.
  const platform::DictRef& previousGradient() const { return previous_; }
  // The record changed elsewhere (a handle dragged on the canvas): what it is now counts as before the next change.
  void recordIsCurrent();

  void didGradientChanged() override;
  void didGradientClose() override;
  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;

 private:
  platform::DictRef gradient_;
  platform::DictRef before_;
  platform::DictRef previous_;
  bool isActive_ = false;
};
