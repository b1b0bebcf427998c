#pragma once

// The thumbnail of a library item: an on/off control drawn by hand and a drag
// source. A press released where it started toggles it (as Space or Return
// do); a press that moves past the drag threshold drags a copy of the item to
// the canvas instead, which adds it where the drag ends.

#include <memory>

#include "platform/ui/control.h"
#include "platform/ui/drag_operation.h"

class CMLibraryItem;

namespace platform {
class DragSource;
class Image;
}  // namespace platform

class CMShapeItemButton : public platform::Control {
 public:
  static constexpr double kDragThreshold = 4;

  explicit CMShapeItemButton(platform::Rect frame);
  ~CMShapeItemButton() override;

  // 0 off, 1 on; setting it sends nothing.
  int state() const { return state_; }
  void setState(int state);
  // While a press that may become a click is held.
  bool isHighlighted() const { return highlighted_; }
  const std::shared_ptr<platform::Image>& image() const { return image_; }
  void setImage(std::shared_ptr<platform::Image> image);
  // The item shown; the button does not keep it alive.
  std::shared_ptr<CMLibraryItem> data() const { return data_.lock(); }
  void setData(const std::shared_ptr<CMLibraryItem>& item) { data_ = item; }

  void drawRect(const platform::Rect& dirtyRect) override;
  bool acceptsFirstResponder() const override { return true; }
  void mouseDown(const platform::Event& event) override;
  void mouseDragged(const platform::Event& event) override;
  void mouseUp(const platform::Event& event) override;
  void keyDown(const platform::Event& event) override;

  // ---- dragging source ----
  static constexpr platform::DragOperation sourceOperationMask() { return platform::drag_operation::Copy; }
  // Every drag ends by offering the item to the active canvas at the end point (screen pixels).
  void draggingEnded(platform::Point screenPoint);
  // A drag no destination took: true when the canvas will take the shape, so the image does not slide back.
  bool draggingFailed(platform::Point screenPoint);
  platform::DragSource& dragSource() { return *dragSource_; }

 private:
  void toggle();
  bool beginDrag();

  std::unique_ptr<platform::DragSource> dragSource_;
  std::shared_ptr<platform::Image> image_;
  std::weak_ptr<CMLibraryItem> data_;
  platform::Point pressPoint_;
  int state_ = 0;
  bool highlighted_ = false;
  bool pressed_ = false;
};
