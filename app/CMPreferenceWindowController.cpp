#include "app/CMPreferenceWindowController.h"

#include <algorithm>

#include "app/CMWindowLayout.h"
#include "document/CMKeyBindingManager.h"
#include "document/CMProject.h"
#include "platform/core/numeric.h"
#include "platform/core/string_conversions.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/tab_view.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "ui/CMMainWindowController.h"
#include "ui/CPMainView.h"

namespace {

constexpr platform::Size kWindowSize{460, 420};
constexpr int kRecorderTag = 2;
constexpr const char* kUnitTitles[] = {"Points", "Centimeters", "Inches", "Picas"};

// One record of the key table: the tool's name and its recorder.
class KeyRowView : public CMFlippedView {
 public:
  KeyRowView(platform::Rect frame, const std::string& title, std::shared_ptr<KRRecorderControl> recorder)
      : CMFlippedView(frame), recorder_(std::move(recorder)) {
    addSubview(std::make_shared<platform::Label>(platform::Rect{12, 4, 180, 20}, title));
    recorder_->setTag(kRecorderTag);
    addSubview(recorder_);
  }
  KRRecorderControl& recorder() const { return *recorder_; }

 private:
  std::shared_ptr<KRRecorderControl> recorder_;
};

platform::UserDefaults& settings() { return CMProject::shareProject().settings(); }

}  // namespace

CMPreferenceWindowController& CMPreferenceWindowController::sharedPreference() {
  static CMPreferenceWindowController controller;
  return controller;
}

CMPreferenceWindowController::CMPreferenceWindowController() = default;
CMPreferenceWindowController::~CMPreferenceWindowController() = default;

platform::Window& CMPreferenceWindowController::window() {
  if (!window_) loadWindow();
  return *window_;
}

void CMPreferenceWindowController::showWindow() {
  showCentred(window());
}

void CMPreferenceWindowController::loadWindow() {
  window_ = std::make_unique<platform::Window>(kWindowSize, "Preferences");
  auto content = std::make_shared<CMFlippedView>(platform::Rect{{0, 0}, kWindowSize});
  tabView_ = std::make_shared<platform::TabView>(platform::Rect{{0, 0}, kWindowSize});
  const platform::Size pageSize{kWindowSize.width, kWindowSize.height - platform::TabView::kTabHeight};
  tabView_->addTabViewItem("Display", makeDisplayTab(pageSize));
  tabView_->addTabViewItem("Shortcuts", makeKeysTab(pageSize));
  tabView_->setDidSelect([this](int index) { OnShowTab(index + 1); });
  content->addSubview(tabView_);
  window_->setContentView(content);
  window_->gtkWindow().set_resizable(false);
  reloadData();
  if (selectedTab_ >= 0) tabView_->selectTabViewItemAtIndex(selectedTab_);
  selectedTab_ = -1;
}

std::shared_ptr<platform::View> CMPreferenceWindowController::makeDisplayTab(platform::Size size) {
  platform::UserDefaults& defaults = settings();
  auto tab = std::make_shared<CMFlippedView>(platform::Rect{{0, 0}, size});
  const auto act = [this](platform::Control& sender) { OnAction(sender); };
  showGrid_ = std::make_shared<platform::Button>(platform::Rect{24, 20, 200, 24}, platform::ButtonType::Switch,
                                                 "Show grid");
  showGrid_->setTag(kShowGridTag);
  showGrid_->setState(defaults.boolForKey("show_grid") ? 1 : 0);
  showGrid_->setAction(act);
  showRuler_ = std::make_shared<platform::Button>(platform::Rect{24, 52, 200, 24}, platform::ButtonType::Switch,
                                                  "Show rulers");
  showRuler_->setTag(kShowRulerTag);
  showRuler_->setState(defaults.boolForKey("show_ruler") ? 1 : 0);
  showRuler_->setAction(act);
  units_ = std::make_shared<platform::PopUpButton>(platform::Rect{160, 84, 160, 28});
  for (int tag = 0; tag < 4; ++tag) {
    units_->addItemWithTitle(kUnitTitles[tag]);
    units_->setTagOfItemAtIndex(tag, tag);
  }
  units_->selectItemWithTag(static_cast<int>(defaults.integerForKey("unit_index")));
  units_->setEnabled(showRuler_->state() == 1);
  units_->setAction([this](platform::Control& sender) { OnUnitsChanges(sender); });

  const platform::DictRef grid = defaults.dictionaryForKey("grid");
  spacing_ = std::make_shared<platform::TextField>(platform::Rect{160, 124, 100, 26});
  spacing_->setTag(kSpacingTag);
  spacing_->setStringValue(std::to_string(grid ? grid->get("spacing").intValue() : 0));
  spacing_->setAction(act);
  ticks_ = std::make_shared<platform::TextField>(platform::Rect{160, 160, 100, 26});
  ticks_->setTag(kTickCountTag);
  ticks_->setStringValue(std::to_string(grid ? grid->get("tick_count").intValue() : 0));
  ticks_->setAction(act);

  tab->addSubview(showGrid_);
  tab->addSubview(showRuler_);
  tab->addSubview(std::make_shared<platform::Label>(platform::Rect{24, 88, 130, 20}, "Ruler units:"));
  tab->addSubview(units_);
  tab->addSubview(std::make_shared<platform::Label>(platform::Rect{24, 128, 130, 20}, "Grid spacing:"));
  tab->addSubview(spacing_);
  tab->addSubview(std::make_shared<platform::Label>(platform::Rect{24, 164, 130, 20}, "Grid ticks:"));
  tab->addSubview(ticks_);
  return tab;
}

std::shared_ptr<platform::View> CMPreferenceWindowController::makeKeysTab(platform::Size size) {
  auto tab = std::make_shared<CMFlippedView>(platform::Rect{{0, 0}, size});
  keyTable_ = std::make_shared<platform::ScrollView>(platform::Rect{12, 12, size.width - 24, size.height - 24});
  keyTable_->setHasHorizontalScroller(false);
  rows_ = std::make_shared<CMFlippedView>(platform::Rect{0, 0, size.width - 40, 0});
  keyTable_->setDocumentView(rows_);
  tab->addSubview(keyTable_);
  return tab;
}

void CMPreferenceWindowController::selectTab(int index) {
  if (tabView_) {
    tabView_->selectTabViewItemAtIndex(index);
  } else {
    selectedTab_ = index;
  }
}

void CMPreferenceWindowController::updateWorkSize() {
  if (CPMainView* view = CMMainWindowController::sharedWindowController()->mainView()) view->updateWorkSize();
}

std::optional<int> CMPreferenceWindowController::gridValueForText(const std::string& text) {
  const std::optional<double> value = platform::wholeNumberValue(text);
  if (!value || !(*value >= kMinimumGridValue)) return std::nullopt;
  return platform::saturatingTruncate<int>(std::min<double>(*value, kMaximumGridValue));
}

void CMPreferenceWindowController::storeGridValue(platform::TextField& field, const char* key) {
  const std::optional<int> typed = gridValueForText(field.stringValue());
  const platform::DictRef stored = settings().dictionaryForKey("grid");
  // A refused value leaves the one in use.
  const int value = typed ? *typed : (stored ? stored->get(key).intValue() : 0);
  field.setStringValue(std::to_string(value));
  if (!typed) return;
  platform::DictRef grid = stored ? platform::dictionaryCopy(stored) : platform::Dictionary::make();
  grid->set(key, value);
  settings().setObject(platform::Value(grid), "grid");
  CMMainWindowController::sharedWindowController()->updateEditor();
}

void CMPreferenceWindowController::OnAction(platform::Control& sender) {
  switch (sender.tag()) {
    case kShowGridTag:
      settings().setBool(showGrid_->state() == 1, "show_grid");
      updateWorkSize();
      break;
    case kShowRulerTag:
      settings().setBool(showRuler_->state() == 1, "show_ruler");
      units_->setEnabled(showRuler_->state() == 1);
      updateWorkSize();
      break;
    case kSpacingTag:
      storeGridValue(*spacing_, "spacing");
      break;
    case kTickCountTag:
      storeGridValue(*ticks_, "tick_count");
      break;
    default:
      return;
  }
  CMProject::shareProject().saveSettings();
}

void CMPreferenceWindowController::OnUnitsChanges(platform::Control&) {
  settings().setInteger(units_->selectedTag(), "unit_index");
  CMProject::shareProject().saveSettings();
  updateWorkSize();
}

void CMPreferenceWindowController::OnShowTab(int tag) {
  if ((tag == 1 || tag == 2) && tabView_ && tabView_->indexOfSelectedTabViewItem() != tag - 1)
    tabView_->selectTabViewItemAtIndex(tag - 1);
}

int CMPreferenceWindowController::numberOfRowsInTableView() const {
  return static_cast<int>(CMProject::shareProject().keyBindings().items()->size());
}

std::shared_ptr<platform::View> CMPreferenceWindowController::viewForTableColumn(int row) {
  const platform::DictRef record = CMProject::shareProject().keyBindings().items()->at(row).dictionary();
  const double width = rows_ ? rows_->frame().size.width : 400;
  auto recorder = std::make_shared<KRRecorderControl>(platform::Rect{200, 2, std::max(60.0, width - 212), 22});
  recorder->setIndex(row);
  recorder->setStyle(0);
  recorder->setAllowsKeyOnly(true);
  recorder->cell().setKeyCombo2(
      {record->get("flags").unsignedIntValue(), static_cast<std::int64_t>(record->get("code").integerValue())});
  recorder->setNeedsDisplay();
  recorder->setDelegate(this);
  return std::make_shared<KeyRowView>(platform::Rect{0, row * kRowHeight, width, kRowHeight},
                                      record->get("title").string(), recorder);
}

void CMPreferenceWindowController::reloadData() {
  if (!rows_) return;
  while (!rows_->subviews().empty()) rows_->subviews().back()->removeFromSuperview();
  const int count = numberOfRowsInTableView();
  rows_->setFrameSize({rows_->frame().size.width, count * kRowHeight});
  for (int row = 0; row < count; ++row) rows_->addSubview(viewForTableColumn(row));
}

void CMPreferenceWindowController::reloadRow(int row) {
  KRRecorderControl* recorder = recorderForRow(row);
  if (!recorder) return;
  const platform::DictRef record = CMProject::shareProject().keyBindings().items()->at(row).dictionary();
  recorder->cell().setKeyCombo2(
      {record->get("flags").unsignedIntValue(), static_cast<std::int64_t>(record->get("code").integerValue())});
  recorder->setNeedsDisplay();
}

KRRecorderControl* CMPreferenceWindowController::recorderForRow(int row) const {
  if (!rows_ || row < 0 || row >= static_cast<int>(rows_->subviews().size())) return nullptr;
  auto* view = dynamic_cast<KeyRowView*>(rows_->subviews()[static_cast<std::size_t>(row)].get());
  return view ? &view->recorder() : nullptr;
}

void CMPreferenceWindowController::shortcutRecorderKeyComboDidChange(KRRecorderControl& recorder, KRKeyCombo combo) {
  CMKeyBindingManager& bindings = CMProject::shareProject().keyBindings();
  const platform::ArrayRef& items = bindings.items();
  const int index = recorder.index();
  if (index < 0 || index >= static_cast<int>(items->size())) return;
  const auto code = static_cast<std::int32_t>(combo.code);
  const auto flags = static_cast<std::int32_t>(combo.flags);
  const platform::DictRef changed = items->at(index).dictionary();
  changed->set("code", static_cast<std::int64_t>(combo.code));
  changed->set("flags", static_cast<std::int64_t>(combo.flags));
  for (int row = 0; row < static_cast<int>(items->size()); ++row) {
    const platform::DictRef record = items->at(row).dictionary();
    if (row == index || !record) continue;
    if (static_cast<std::int32_t>(record->get("code").integerValue()) != code ||
        static_cast<std::int32_t>(record->get("flags").integerValue()) != flags)
      continue;
    record->set("code", -1);
    record->set("flags", 0);
    reloadRow(row);
  }
  bindings.save();
}
