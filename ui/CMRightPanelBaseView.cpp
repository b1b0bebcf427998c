// Building and laying out a section's rows.

#include "ui/CMRightPanelBaseView.h"

#include <algorithm>
#include <utility>

#include "platform/graphics/font.h"
#include "platform/ui/button.h"
#include "platform/ui/number_format.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "platform/ui/stepper.h"
#include "platform/ui/text_field.h"
#include "ui/CMColorPicker.h"
#include "ui/VDGradientControl.h"

namespace {

using platform::DictRef;
using platform::Rect;

constexpr double kRowTop = 40;       // from the section's top to the first row's bottom edge
constexpr double kRowInset = 90;     // the title column and the right margin
constexpr double kRowHeight = 28;
constexpr double kCaptionedRowHeight = 40;
constexpr double kSliderRoom = 86;   // the slider's field and stepper
constexpr double kFieldWidth = 68;   // room for "-179.57" in the theme's padding
constexpr double kStepperWidth = 19;
constexpr double kStepperHeight = 22;
constexpr double kExControlWidth = 68;
constexpr double kExControlRoom = 60;
constexpr double kColorWidth = 70;
constexpr double kGradientWidth = 60;
constexpr double kSecondMemberWidth = 50;

int controlType(const DictRef& record) { return record->get("control_type").intValue(); }

bool isRow(const DictRef& record) {
  const int type = controlType(record);
  return type == CMRightPanelBaseView::kColumns || type == CMRightPanelBaseView::kAlternatives;
}

std::vector<DictRef> membersOf(const DictRef& record) {
  std::vector<DictRef> members;
  if (const platform::ArrayRef items = record->array("items"))
    for (const platform::Value& item : *items)
      if (DictRef member = item.dictionary()) members.push_back(std::move(member));
  return members;
}

std::vector<std::string> titlesOf(const DictRef& record) {
  std::vector<std::string> titles;
  if (const platform::ArrayRef items = record ? record->array("items") : nullptr)
    for (const platform::Value& item : *items) titles.push_back(item.string());
  return titles;
}

// The slider's and stepper's range: "min".."max", each 0 when absent.
std::pair<double, double> rangeOf(const DictRef& record) {
  return {record->get("min").doubleValue(), record->get("max").doubleValue()};
}

double stepperMinimum(const DictRef& record) {
  const auto [low, high] = rangeOf(record);
  return low == high ? -CMRightPanelBaseView::kUnrangedLimit : low;
}

double stepperMaximum(const DictRef& record) {
  const auto [low, high] = rangeOf(record);
  return low == high ? CMRightPanelBaseView::kUnrangedLimit : high;
}

// The frames of the controls a record builds in its rectangle, in tag order.
std::vector<Rect> controlFrames(const DictRef& record, const Rect& r, double sectionWidth) {
  const double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height;
  switch (controlType(record)) {
    case CMRightPanelBaseView::kText:
    case CMRightPanelBaseView::kCheckBox:
    case CMRightPanelBaseView::kSegments:
      return {r};
    case CMRightPanelBaseView::kPopUp:
    case CMRightPanelBaseView::kFont:
      return {{x - 2, y - 1, w, h + 2}};
    case CMRightPanelBaseView::kSlider:
      return {{x, y, w - kSliderRoom, h},
              {x + w - kSliderRoom, y, kFieldWidth, h},
              {x + w - kStepperWidth, y - 1, kStepperWidth, kStepperHeight}};
    case CMRightPanelBaseView::kNumber: {
      const bool ex = record->dictionary("ex_control") != nullptr;
      const double e = ex ? kExControlRoom : 0;
      std::vector<Rect> frames;
      if (ex) frames.push_back({sectionWidth - kExControlWidth, y - 1, kExControlWidth, h + 2});
      frames.push_back({x, y, w - 18 - e, h});
      frames.push_back({x + w - kStepperWidth - e, y - 1, kStepperWidth, kStepperHeight});
      return frames;
    }
    case CMRightPanelBaseView::kColor:
      return {{x, y - 3, kColorWidth, h + 6}};
    case CMRightPanelBaseView::kGradient:
      return {{x, y, kGradientWidth, h}};
    default:
      return {};
  }
}

}  // namespace

CMRightPanelBaseView::CMRightPanelBaseView(platform::Rect frame) : View(frame) {}

double CMRightPanelBaseView::rowHeight(const DictRef& record) {
  return controlType(record) == kColumns && record->get("control_subtype").intValue() != 1 ? kCaptionedRowHeight
                                                                                            : kRowHeight;
}

double CMRightPanelBaseView::sectionHeight(const std::vector<DictRef>& records) {
  double height = kHeaderHeight;
  for (const DictRef& record : records) height += rowHeight(record);
  return height;
}

const std::vector<std::string>& CMRightPanelBaseView::fontNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> found;
    for (const platform::Font& font : platform::Font::availableFonts()) found.push_back(font.fontName());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
  }();
  return names;
}

void CMRightPanelBaseView::setName(std::string name) {
  name_ = std::move(name);
  setNeedsDisplay();
}

template <typename Place>
void CMRightPanelBaseView::walkRows(platform::Size size, Place place) const {
  const double W = size.width, H = size.height;
  double offset = 0;
  for (const DictRef& record : parameters_) {
    const double y = H - kRowTop - offset;
    const Rect row{kTitleWidth, y, W - kRowInset, 20};
    if (controlType(record) == kColumns) {
      const std::vector<DictRef> members = membersOf(record);
      if (record->get("control_subtype").intValue() == 1) {
        // Two members: a wide first one and a narrow second at the right end.
        if (!members.empty() && !isRow(members[0])) place(members[0], Rect{kTitleWidth, y, W - 140, 20});
        if (members.size() > 1 && !isRow(members[1]))
          place(members[1], Rect{W - 55, y, kSecondMemberWidth, 20});
      } else {
        const double column = (W - kRowInset) / static_cast<double>(std::max<std::size_t>(members.size(), 1));
        for (std::size_t i = 0; i < members.size(); ++i)
          if (!isRow(members[i])) place(members[i], Rect{kTitleWidth + static_cast<double>(i) * column, y, column, 20});
      }
    } else if (controlType(record) == kAlternatives) {
      for (const DictRef& member : membersOf(record))
        if (!isRow(member)) place(member, row);
    } else {
      place(record, row);
    }
    offset += rowHeight(record);
  }
}

void CMRightPanelBaseView::setParameters(std::vector<DictRef> parameters) {
  for (const ControlEntry& entry : controls_) entry.control->removeFromSuperview();
  controls_.clear();
  parameters_.clear();
  for (DictRef& record : parameters)
    if (record) parameters_.push_back(std::move(record));
  int tag = kFirstTag;
  walkRows(frame().size, [&](const DictRef& record, const Rect& rect) { addControl(record, rect, tag); });
  updateValues();
}

void CMRightPanelBaseView::addEntry(std::shared_ptr<platform::Control> control, const DictRef& parameter, int& tag) {
  control->setTag(tag++);
  if (dynamic_cast<platform::TextField*>(control.get())) {
    control->setAction([this](platform::Control& sender) { textEndedEditing(sender); });
  } else {
    control->setAction([this](platform::Control& sender) { controlChanged(sender); });
  }
  control->setHidden(itemsIsHidden_);
  addSubview(control);
  controls_.push_back({std::move(control), parameter});
}

void CMRightPanelBaseView::addControl(const DictRef& record, const Rect& rect, int& tag) {
  const std::vector<Rect> frames = controlFrames(record, rect, frame().size.width);
  const auto numberField = [&](const Rect& fieldFrame) {
    auto field = std::make_shared<platform::TextField>(fieldFrame);
    field->setNumberFormat(platform::NumberFormat{});
    return field;
  };
  switch (controlType(record)) {
    case kText:
      addEntry(std::make_shared<platform::TextField>(frames[0]), record, tag);
      break;
    case kPopUp:
    case kFont: {
      auto popUp = std::make_shared<platform::PopUpButton>(frames[0]);
      popUp->setSmallControlSize();
      popUp->addItemsWithTitles(controlType(record) == kFont ? fontNames() : titlesOf(record));
      addEntry(popUp, record, tag);
      break;
    }
    case kCheckBox:
      addEntry(std::make_shared<platform::Button>(frames[0], platform::ButtonType::Switch,
                                                  record->get("control_title").string()),
               record, tag);
      break;
    case kSlider: {
      const auto [low, high] = rangeOf(record);
      auto slider = std::make_shared<platform::Slider>(frames[0], low, high, low);
      slider->setMiniControlSize();
      addEntry(slider, record, tag);
      addEntry(numberField(frames[1]), record, tag);
      addEntry(std::make_shared<platform::Stepper>(frames[2], low, high, 1), record, tag);
      break;
    }
    case kNumber: {
      std::size_t next = 0;
      if (const DictRef ex = record->dictionary("ex_control")) {
        auto popUp = std::make_shared<platform::PopUpButton>(frames[next++]);
        popUp->setSmallControlSize();
        popUp->addItemsWithTitles(titlesOf(ex));
        addEntry(popUp, ex, tag);
      }
      addEntry(numberField(frames[next]), record, tag);
      addEntry(std::make_shared<platform::Stepper>(frames[next + 1], stepperMinimum(record), stepperMaximum(record), 1),
               record, tag);
      break;
    }
    case kColor:
      addEntry(std::make_shared<CMColorPicker>(frames[0]), record, tag);
      break;
    case kGradient:
      addEntry(std::make_shared<VDGradientControl>(frames[0]), record, tag);
      break;
    case kSegments:
      addEntry(std::make_shared<platform::SegmentedControl>(frames[0], titlesOf(record)), record, tag);
      break;
    default:
      break;
  }
}

void CMRightPanelBaseView::layoutControl(const DictRef& record, const Rect& rect, int& tag) {
  for (const Rect& controlFrame : controlFrames(record, rect, frame().size.width)) {
    platform::Control* control = controlWithTag(tag++);
    // Gradient swatches keep the frame they were built with.
    if (control && controlType(record) != kGradient) control->setFrame(controlFrame);
  }
}

void CMRightPanelBaseView::layoutControls() {
  int tag = kFirstTag;
  walkRows(frame().size, [&](const DictRef& record, const Rect& rect) { layoutControl(record, rect, tag); });
  hideControls();
}

void CMRightPanelBaseView::setFrame(const Rect& frame) {
  View::setFrame(frame);
  layoutControls();
}

platform::Control* CMRightPanelBaseView::controlWithTag(int tag) const {
  for (const ControlEntry& entry : controls_)
    if (entry.control->tag() == tag) return entry.control.get();
  return nullptr;
}

platform::Control* CMRightPanelBaseView::findControlForDict(const DictRef& record) const {
  for (const ControlEntry& entry : controls_)
    if (entry.parameter == record) return entry.control.get();
  return nullptr;
}

void CMRightPanelBaseView::setItemsIsHidden(bool hidden) {
  itemsIsHidden_ = hidden;
  for (const auto& subview : subviews()) subview->setHidden(hidden);
  if (!hidden) hideControls();
  setNeedsDisplay();
}
