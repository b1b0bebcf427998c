#pragma once

// The shared gradient window: a 291 × 308 pop-up under a gradient swatch with the stop editor, the type ("Linear",
// "Radial", "Angle"), the angle slider and its caption, and the grid of the user's stored gradients with "New",
// "Save" and "Remove". It edits the record of the control it serves in place and tells that control of each
// change; while a stored entry is selected every edit is saved into it. The stored list is kept in the standard
// user defaults under "gradients", set at every change and written to disk once per main-loop turn.
//
// It is also the model's gradient editor: a gradient handle dragged on the canvas redraws the stop editor.

#include <memory>

#include "document/CMGradientEditorService.h"
#include "platform/core/value.h"
#include "platform/ui/popup_window.h"
#include "ui/VDGradientControl.h"
#include "ui/VDGradientEditorView.h"
#include "ui/VDGradientMatrix.h"

namespace platform {
class UserDefaults;
class Button;
class Label;
class SegmentedControl;
class Slider;
}  // namespace platform

class VDGradientWindowController final : public CMGradientEditorService,
                                         public VDGradientMatrixDelegate,
                                         public VDGradientEditorViewDelegate {
 public:
  static constexpr double kWidth = 291;
  static constexpr double kHeight = 308;
  static constexpr const char* kGradientsKey = "gradients";

  // The one controller, made on first use.
  static VDGradientWindowController& sharedGradient();
  static const std::shared_ptr<VDGradientWindowController>& sharedGradientPointer();
  ~VDGradientWindowController() override;
  // The list stored under "gradients"; the built-in gradients, stored at once, when there is none.
  static platform::ArrayRef loadGradients(platform::UserDefaults& settings);

  VDGradientWindowControllerDelegate* delegate() const { return delegate_; }
  // The control served; the one served so far is told it is let go. None drops the record too.
  void setDelegate(VDGradientWindowControllerDelegate* delegate);
  // Lets go of the control and the record, telling nobody (the control is going away).
  void detach();
  const platform::DictRef& gradient() const { return gradient_; }
  void setGradient(platform::DictRef gradient);
  void update() override;
  // Opens the pop-up with its top at the rectangle's bottom edge, above the rectangle where that leaves the screen.
  void showPopup(const platform::Rect& rect, Gtk::Window* owner);
  static platform::Rect popupFrame(const platform::Rect& rect, const platform::Rect& screen);
  bool isVisible() const { return window_.isVisible(); }
  void closeWindow() { window_.orderOut(); }

  void selectGradient(const platform::DictRef& gradient) override;
  void didGradientChange() override;
  void didFinishDrag() override;

  void OnGradientType();
  void OnAngleChange();
  void OnNewGradient();
  void OnSaveGradient();
  void OnRemoveGradient();

  const platform::ArrayRef& gradients() const { return gradients_; }
  VDGradientEditorView& gradientEditor() const { return *editor_; }
  VDGradientMatrix& gradientMatrix() const { return *matrix_; }
  platform::SegmentedControl& type() const { return *type_; }
  platform::Slider& angle() const { return *angle_; }
  platform::Label& angleCaption() const { return *angleCaption_; }
  platform::Button& removeButton() const { return *remove_; }
  platform::PopupWindow& window() { return window_; }

 private:
  VDGradientWindowController();
  void buildWindow();
  void copyGradient(const platform::DictRef& source);
  void showRecordControls();
  void updateControls();
  void autoSaveGradient();
  void selectGradientInMatrix();
  // Sets the list in the defaults and has them written once this turn of the main loop is over, or once the
  // stop editor lets go of the stop it drags.
  void storeGradients();
  void queueWrite();

  platform::PopupWindow window_;
  std::shared_ptr<VDGradientEditorView> editor_;
  std::shared_ptr<VDGradientMatrix> matrix_;
  std::shared_ptr<platform::SegmentedControl> type_;
  std::shared_ptr<platform::Slider> angle_;
  std::shared_ptr<platform::Label> angleCaption_;
  std::shared_ptr<platform::Button> remove_;
  platform::DictRef gradient_;
  platform::ArrayRef gradients_;
  VDGradientWindowControllerDelegate* delegate_ = nullptr;
  bool writeQueued_ = false;
  bool writeHeld_ = false;
};
