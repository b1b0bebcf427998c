#pragma once

// The gradient window's stop editor: the record drawn left to right in a bar, its stops hanging under the bar and
// a midpoint handle above it between each stop and its right neighbour. Dragging a stop moves its position,
// dragging a handle its midpoint; a double click gives the stop's colour to the colour dialog; the context menu
// adds a white stop or deletes the focused one. Every change is made in the record and told to the delegate.

#include <memory>

#include "platform/core/value.h"
#include "platform/graphics/color.h"
#include "platform/ui/menu.h"
#include "platform/ui/view.h"

class VDGradientEditorViewDelegate {
 public:
  virtual ~VDGradientEditorViewDelegate() = default;
  virtual void didGradientChange() = 0;
  // The pointer let go of a stop or handle.
  virtual void didFinishDrag() {}
};

class VDGradientEditorView : public platform::View {
 public:
  enum SelectedType : int { kDragStop = 0, kDragMidpoint = 1, kEditColor = 2 };
  static constexpr int kDeleteTag = 1;

  explicit VDGradientEditorView(platform::Rect frame);
  ~VDGradientEditorView() override;

  const platform::DictRef& gradient() const { return gradient_; }
  // Holds the record and clears the focus.
  void setGradient(platform::DictRef gradient);
  void setDelegate(VDGradientEditorViewDelegate* delegate) { delegate_ = delegate; }
  bool isEnabled() const { return enable_; }
  void setEnable(bool enable);
  void update() { setNeedsDisplay(); }

  // (10, 20, W − 20, H − 40).
  platform::Rect barRect() const;
  // Where a stop's image and a midpoint handle's image stand for a position along the bar.
  platform::Rect stopRect(float pos) const;
  platform::Rect handleRect(float pos) const;
  const platform::DictRef& focusedPoint() const { return focusedPoint_; }
  int selectedType() const { return selectedType_; }
  // A stop or handle is held by the pointer.
  bool isDragging() const { return selectedPoint_ != nullptr; }

  void addColorStop();
  // At least three stops and one focused.
  bool canDeleteStop() const;
  void deleteStop();
  // Into the focused stop.
  void setColor(const platform::Color& color);
  platform::Menu& menu() { return *menu_; }

  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;
  void mouseDragged(const platform::Event& event) override;
  void mouseUp(const platform::Event& event) override;
  void rightMouseDown(const platform::Event& event) override;

 private:
  void changed();

  platform::DictRef gradient_;
  platform::DictRef selectedPoint_;
  platform::DictRef focusedPoint_;
  int selectedType_ = kDragStop;
  float minPos_ = 0;
  float maxPos_ = 0;
  VDGradientEditorViewDelegate* delegate_ = nullptr;
  bool enable_ = true;
  std::unique_ptr<platform::Menu> menu_;
};
