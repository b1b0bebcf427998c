#include "ui/VDGradientWindowController.h"

#include <cmath>

#include "document/CMProject.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/log.h"
#include "platform/core/main_queue.h"
#include "platform/core/numeric.h"
#include "platform/core/string_utilities.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/event.h"
#include "platform/ui/label.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "ui/VDGradientRecords.h"

namespace {

using platform::DictRef;
using platform::Rect;

constexpr int kAngleType = 2;
constexpr int kRemoveTag = 1;

}  // namespace

const std::shared_ptr<VDGradientWindowController>& VDGradientWindowController::sharedGradientPointer() {
  static const std::shared_ptr<VDGradientWindowController> shared(new VDGradientWindowController());
  return shared;
}

VDGradientWindowController& VDGradientWindowController::sharedGradient() { return *sharedGradientPointer(); }

platform::ArrayRef VDGradientWindowController::loadGradients(platform::UserDefaults& settings) {
  const platform::Value stored = settings.objectForKey(kGradientsKey);
  if (platform::ArrayRef list = VDGradientRecords::storedGradients(stored)) return list;
  if (!stored.isNil()) platform::logWarning("the stored gradients are not a list; the built-in ones take their place");
  platform::ArrayRef list = VDGradientRecords::builtInGradients();
  settings.setObject(platform::Value(platform::arrayCopy(list)), kGradientsKey);
  if (const platform::Status written = settings.synchronize(); !written)
    platform::logWarning("the stored gradients could not be written");
  return list;
}

VDGradientWindowController::VDGradientWindowController()
    : window_({kWidth, kHeight}), gradients_(loadGradients(CMProject::shareProject().settings())) {
  buildWindow();
  window_.setDidResign([this](platform::PopupWindow::ResignReason) { closeWindow(); });
  setGradient(nullptr);
}

VDGradientWindowController::~VDGradientWindowController() = default;

void VDGradientWindowController::buildWindow() {
  auto content = std::make_shared<platform::View>(Rect{0, 0, kWidth, kHeight});
  type_ = std::make_shared<platform::SegmentedControl>(Rect{10, 274, 271, 24},
                                                       std::vector<std::string>{"Linear", "Radial", "Angle"});
  type_->setAction([this](platform::Control&) { OnGradientType(); });
  editor_ = std::make_shared<VDGradientEditorView>(Rect{0, 198, kWidth, 70});
  editor_->setDelegate(this);
  angle_ = std::make_shared<platform::Slider>(Rect{10, 166, 190, 30}, 0, 360, 0);
  angle_->setAction([this](platform::Control&) { OnAngleChange(); });
  angleCaption_ = std::make_shared<platform::Label>(Rect{205, 170, 80, 22}, "Angle: 0");
  matrix_ = std::make_shared<VDGradientMatrix>(Rect{10, 42, 271, 124});
  matrix_->setGradients(gradients_);
  matrix_->setDelegate(this);
  auto add = std::make_shared<platform::Button>(Rect{10, 8, 80, 28}, platform::ButtonType::MomentaryPush, "New");
  add->setAction([this](platform::Control&) { OnNewGradient(); });
  auto save = std::make_shared<platform::Button>(Rect{100, 8, 80, 28}, platform::ButtonType::MomentaryPush, "Save");
  save->setAction([this](platform::Control&) { OnSaveGradient(); });
  remove_ = std::make_shared<platform::Button>(Rect{190, 8, 91, 28}, platform::ButtonType::MomentaryPush, "Remove");
  remove_->setTag(kRemoveTag);
  remove_->setAction([this](platform::Control&) { OnRemoveGradient(); });
  for (const std::shared_ptr<platform::View>& view :
       std::vector<std::shared_ptr<platform::View>>{type_, editor_, angle_, angleCaption_, matrix_, add, save, remove_})
    content->addSubview(view);
  window_.setContentView(content);
}

void VDGradientWindowController::setDelegate(VDGradientWindowControllerDelegate* delegate) {
  if (delegate_ && delegate_ != delegate) delegate_->didGradientClose();
  delegate_ = delegate;
  if (!delegate) gradient_ = nullptr;
}

void VDGradientWindowController::detach() {
  delegate_ = nullptr;
  setGradient(nullptr);
  closeWindow();
}

void VDGradientWindowController::setGradient(DictRef gradient) {
  gradient_ = std::move(gradient);
  // Records read from a file may share one list of stops (a gradient used by many shapes): the editor changes
  // stops in place, so the record it edits gets stops of its own first.
  if (const platform::ArrayRef markers = gradient_ ? gradient_->array("markers") : nullptr) {
    gradient_->set("markers", platform::arrayCopy(markers));
  }
  const bool editing = gradient_ != nullptr;
  matrix_->setEnable(editing);
  editor_->setEnable(editing);
  type_->setEnabled(editing);
  editor_->setGradient(gradient_);
  if (!editing) {
    angle_->setEnabled(false);
    angleCaption_->gtkLabel().set_sensitive(true);
    return;
  }
  showRecordControls();
  selectGradientInMatrix();
}

void VDGradientWindowController::showRecordControls() {
  type_->setSelectedSegment(platform::saturatingTruncate<int>(VDGradientRecords::number(gradient_, "type")));
  const int degrees = platform::saturatingTruncate<int>(VDGradientRecords::number(gradient_, "angle"));
  angle_->setDoubleValue(degrees);
  angleCaption_->setStringValue(platform::formatString("Angle: %d", degrees));
  updateControls();
  editor_->update();
}

void VDGradientWindowController::updateControls() {
  const bool angled = VDGradientRecords::number(gradient_, "type") == kAngleType;
  angle_->setEnabled(angled);
  // The caption reads as secondary while the angle does not apply.
  angleCaption_->gtkLabel().set_sensitive(angled);
  remove_->setEnabled(!gradients_->empty());
}

void VDGradientWindowController::selectGradientInMatrix() {
  matrix_->setSelectedGradient(-1);
  for (std::size_t i = 0; i < gradients_->size(); ++i) {
    if (VDGradientRecords::isEqualGradient(gradients_->at(i).dictionary(), gradient_)) {
      matrix_->setSelectedGradient(static_cast<int>(i));
      break;
    }
  }
  matrix_->setNeedsDisplay();
}

void VDGradientWindowController::update() {
  if (!gradient_) return;
  if (auto* control = dynamic_cast<VDGradientControl*>(delegate_)) control->recordIsCurrent();
  editor_->update();
}

Rect VDGradientWindowController::popupFrame(const Rect& rect, const Rect& screen) {
  double x = std::round(static_cast<float>(rect.origin.x + rect.size.width / 2 - kWidth / 2));
  double y = rect.origin.y + rect.size.height - kHeight;
  if (y < 0) y = rect.origin.y + 2 * rect.size.height;
  if (x < 0) x = 0;
  // As the placement has always been: the control's width, not the pop-up's, is kept from the right edge.
  if (x + rect.size.width > screen.size.width) x = screen.size.width - rect.size.width;
  return {x, y, kWidth, kHeight};
}

void VDGradientWindowController::showPopup(const Rect& rect, Gtk::Window* owner) {
  const Rect screen = platform::PopupWindow::screenFrame(owner);
  const Rect target = popupFrame(rect, screen);
  constexpr platform::ModifierFlags kShiftOption = platform::modifier::Shift | platform::modifier::Option;
  const platform::Event* event = platform::currentEvent();
  if (event && event->type == platform::EventType::LeftMouseDown &&
      (event->modifierFlags & platform::modifier::DeviceIndependentMask) == kShiftOption) {
    platform::log(platform::LogLevel::Warning, "Icon is at " + platform::stringFromRect(rect) +
                                                   "\n\tMenu is on screen " + platform::stringFromRect(screen) +
                                                   "\n\tWill be animated to " + platform::stringFromRect(target));
  }
  window_.orderFront(target, owner);
}

void VDGradientWindowController::copyGradient(const DictRef& source) {
  VDGradientRecords::copyGradient(gradient_, source);
  showRecordControls();
}

void VDGradientWindowController::selectGradient(const DictRef& source) {
  if (!gradient_) return;
  copyGradient(source);
  didGradientChange();
}

void VDGradientWindowController::didGradientChange() {
  matrix_->setNeedsDisplay();
  if (delegate_) delegate_->didGradientChanged();
  autoSaveGradient();
}

void VDGradientWindowController::autoSaveGradient() {
  if (matrix_->selectedGradient() >= 0) OnSaveGradient();
}

void VDGradientWindowController::OnGradientType() {
  if (!gradient_) return;
  gradient_->set("type", static_cast<std::int64_t>(type_->selectedSegment()));
  didGradientChange();
  updateControls();
}

void VDGradientWindowController::OnAngleChange() {
  if (!gradient_) return;
  const int degrees = platform::saturatingTruncate<int>(angle_->doubleValue());
  gradient_->set("angle", static_cast<std::int64_t>(degrees));
  angleCaption_->setStringValue(platform::formatString("Angle: %d", degrees));
  didGradientChange();
  updateControls();
}

void VDGradientWindowController::OnNewGradient() {
  gradients_->add(VDGradientRecords::newGradientFrom(gradient_));
  matrix_->setSelectedGradient(static_cast<int>(gradients_->size()) - 1);
  matrix_->setNeedsDisplay();
  updateControls();
  storeGradients();
}

void VDGradientWindowController::OnSaveGradient() {
  const int selected = matrix_->selectedGradient();
  if (selected < 0 || static_cast<std::size_t>(selected) >= gradients_->size()) {
    OnNewGradient();
    return;
  }
  const DictRef entry = gradients_->at(static_cast<std::size_t>(selected)).dictionary();
  DictRef saved = entry ? platform::dictionaryCopy(entry) : platform::Dictionary::make();
  VDGradientRecords::copyGradient(saved, gradient_);
  gradients_->set(static_cast<std::size_t>(selected), saved);
  matrix_->setNeedsDisplay();
  storeGradients();
}

void VDGradientWindowController::OnRemoveGradient() {
  const int selected = matrix_->selectedGradient();
  if (selected < 0 || static_cast<std::size_t>(selected) >= gradients_->size()) return;
  // The entry and every other equal to it.
  gradients_->remove(gradients_->at(static_cast<std::size_t>(selected)));
  if (matrix_->selectedGradient() >= static_cast<int>(gradients_->size()))
    matrix_->setSelectedGradient(static_cast<int>(gradients_->size()) - 1);
  matrix_->setNeedsDisplay();
  updateControls();
  storeGradients();
}

void VDGradientWindowController::storeGradients() {
  platform::UserDefaults& settings = CMProject::shareProject().settings();
  settings.setObject(platform::Value(platform::arrayCopy(gradients_)), kGradientsKey);
  if (editor_->isDragging()) {
    writeHeld_ = true;
    return;
  }
  queueWrite();
}

void VDGradientWindowController::didFinishDrag() {
  if (!writeHeld_) return;
  writeHeld_ = false;
  queueWrite();
}

void VDGradientWindowController::queueWrite() {
  if (writeQueued_) return;
  writeQueued_ = true;
  platform::dispatchAsync([this] {
    writeQueued_ = false;
    if (const platform::Status written = CMProject::shareProject().settings().synchronize(); !written)
      platform::logWarning("the stored gradients could not be written");
  });
}
