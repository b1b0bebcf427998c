#pragma once

// One section of a right panel, built from panel parameter records (one
// record a row): a title column, the rows' controls, and a header with the
// section's name and its "Hide"/"Show", "New" and "Delete" buttons. The
// section knows nothing of the document: it asks its delegate, by property id
// and slot index, whether a row is enabled and what it shows, and tells it
// what the user set. The view is not flipped: rows run down from the top.
//
// Control types: 0 text, 1 pop-up, 2 check box, 3 slider with field and
// stepper, 4 number field and stepper (with an optional pop-up), 5 colour,
// 6 columns, 7 gradient, 8 alternatives in one place, 9 segments, 10 font.
// Controls get tags 100, 101, … in the order built, and are found by them
// again whenever the section is laid out.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/ui/view.h"
#include "ui/CMPanelValue.h"

namespace platform {
class Control;
}

class CMRightPanelBaseView;

class CMRightPanelBaseViewDelegate {
 public:
  virtual ~CMRightPanelBaseViewDelegate() = default;
  virtual CMPanelValue findValue(int propertyId, int index) = 0;
  virtual void setValue(const CMPanelValue& value, int propertyId, int index) = 0;
  virtual bool isEnable(int propertyId, int index) = 0;
  // The header's buttons.
  virtual void didHide(CMRightPanelBaseView& section) = 0;
  virtual void didNew(CMRightPanelBaseView& section) = 0;
  virtual void didDelete(CMRightPanelBaseView& section) = 0;
};

class CMRightPanelBaseView : public platform::View {
 public:
  static constexpr int kFirstTag = 100;
  static constexpr double kHeaderHeight = 20;
  static constexpr double kTitleWidth = 85;
  // A stepper whose row gives no range runs within this.
  static constexpr double kUnrangedLimit = 999999;

  enum ControlType : int {
    kText = 0,
    kPopUp = 1,
    kCheckBox = 2,
    kSlider = 3,
    kNumber = 4,
    kColor = 5,
    kColumns = 6,
    kGradient = 7,
    kAlternatives = 8,
    kSegments = 9,
    kFont = 10,
  };

  // One control built, with the record it serves.
  struct ControlEntry {
    std::shared_ptr<platform::Control> control;
    platform::DictRef parameter;
  };

  explicit CMRightPanelBaseView(platform::Rect frame);

  // Builds every row's controls, then reads their values.
  void setParameters(std::vector<platform::DictRef> parameters);
  const std::vector<platform::DictRef>& parameters() const { return parameters_; }
  const std::vector<ControlEntry>& controls() const { return controls_; }
  // Enabled states and values from the delegate, then the hider rules.
  void updateValues();
  // A control whose parameter has a "hider_prperty_id" shows only while that property's value is its "hider_value".
  void hideControls();
  void setItemsIsHidden(bool hidden);
  bool itemsIsHidden() const { return itemsIsHidden_; }
  // The action of every control: the value the user set goes to the delegate.
  void controlChanged(platform::Control& sender);
  // The first control serving that very record, or null.
  platform::Control* findControlForDict(const platform::DictRef& record) const;
  platform::Control* controlWithTag(int tag) const;
  // 40 for columns with captions, else 28.
  static double rowHeight(const platform::DictRef& record);
  // The height of a section of these rows: their heights and the header's 20.
  static double sectionHeight(const std::vector<platform::DictRef>& records);
  // The names of the installed faces, read once per process.
  static const std::vector<std::string>& fontNames();

  const std::string& name() const { return name_; }
  void setName(std::string name);
  CMRightPanelBaseViewDelegate* delegate() const { return delegate_; }
  void setDelegate(CMRightPanelBaseViewDelegate* delegate) { delegate_ = delegate; }
  bool hasAddButton() const { return hasAddButton_; }
  void setHasAddButton(bool has) { hasAddButton_ = has; }
  bool hasRemoveButton() const { return hasRemoveButton_; }
  void setHasRemoveButton(bool has) { hasRemoveButton_ = has; }
  int indexOfSection() const { return indexOfSection_; }
  void setIndexOfSection(int index) { indexOfSection_ = index; }
  int panelType() const { return panelType_; }
  void setPanelType(int type) { panelType_ = type; }
  bool drawsHeaderButtons() const { return drawRightButton_; }

  // Header buttons: hit rectangles as drawn now (y-up, in the section's coordinates).
  struct HeaderButtons {
    platform::Rect hide;
    std::optional<platform::Rect> remove;
    std::optional<platform::Rect> add;
  };
  HeaderButtons headerButtons() const;

  void setFrame(const platform::Rect& frame) override;
  void drawRect(const platform::Rect& dirtyRect) override;
  void mouseDown(const platform::Event& event) override;
  void mouseDragged(const platform::Event& event) override;
  void mouseUp(const platform::Event& event) override;
  void mouseMoved(const platform::Event& event) override;
  void mouseEntered(const platform::Event& event) override;
  void mouseExited(const platform::Event& event) override;

 private:
  // Walks the rows for a frame size, giving each record that builds controls its rectangle: a row's own, or a
  // member's of columns and alternatives (whose members do not nest).
  template <typename Place>
  void walkRows(platform::Size size, Place place) const;
  void addControl(const platform::DictRef& record, const platform::Rect& rect, int& tag);
  void layoutControl(const platform::DictRef& record, const platform::Rect& rect, int& tag);
  void layoutControls();
  void addEntry(std::shared_ptr<platform::Control> control, const platform::DictRef& parameter, int& tag);
  void showValue(platform::Control& control, const CMPanelValue& value);
  void drawName() const;
  void drawRightButton() const;
  void drawTitles() const;
  bool headerStripContains(platform::Point point) const;
  void textEndedEditing(platform::Control& field);

  std::vector<platform::DictRef> parameters_;
  std::vector<ControlEntry> controls_;
  std::string name_;
  CMRightPanelBaseViewDelegate* delegate_ = nullptr;
  bool hasAddButton_ = false;
  bool hasRemoveButton_ = false;
  int indexOfSection_ = 0;
  int panelType_ = 0;
  bool itemsIsHidden_ = false;
  bool drawRightButton_ = false;
  bool isHideButtonPressed_ = false;
  bool isNewButtonPressed_ = false;
  bool isDeleteButtonPressed_ = false;
  bool isMouseDowning_ = false;
};
