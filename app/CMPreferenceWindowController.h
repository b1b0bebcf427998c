#pragma once

// The preferences window: the canvas's display settings on one tab (grid,
// rulers, ruler units, grid spacing and ticks) and the tool keys on the other,
// one shortcut recorder per tool. Giving a tool a key another tool has takes
// the key from that tool. Made on first use and kept.

#include <memory>
#include <optional>
#include <string>

#include "platform/core/geometry.h"
#include "shortcuts/KRRecorderControl.h"

namespace platform {
class Button;
class Control;
class PopUpButton;
class ScrollView;
class TabView;
class TextField;
class View;
class Window;
}  // namespace platform

class CMPreferenceWindowController final : public KRRecorderControlDelegate {
 public:
  static constexpr double kRowHeight = 27;
  // Grid spacing and tick count keep within these: a larger number typed stores the upper bound, a smaller one or
  // text that is no number is refused.
  static constexpr int kMinimumGridValue = 1;
  static constexpr int kMaximumGridValue = 10000;
  enum Tag { kShowGridTag = 0, kShowRulerTag = 1, kSpacingTag = 2, kTickCountTag = 3 };

  static CMPreferenceWindowController& sharedPreference();
  CMPreferenceWindowController();
  ~CMPreferenceWindowController();
  CMPreferenceWindowController(const CMPreferenceWindowController&) = delete;
  CMPreferenceWindowController& operator=(const CMPreferenceWindowController&) = delete;

  // The window, built and filled from the settings on first use.
  platform::Window& window();
  bool isWindowLoaded() const { return window_ != nullptr; }
  void showWindow();
  // Selects the tab now when the window exists, else once it is built.
  void selectTab(int index);

  // Display settings by the sender's tag.
  void OnAction(platform::Control& sender);
  void OnUnitsChanges(platform::Control& sender);
  // Tab choices: tag 1 the display tab, 2 the key tab.
  void OnShowTab(int tag);

  // The key table.
  int numberOfRowsInTableView() const;
  // The row view of a record: its title and its recorder (tag 2, index = row).
  std::shared_ptr<platform::View> viewForTableColumn(int row);
  double heightOfRow(int) const { return kRowHeight; }
  void reloadData();
  void reloadRow(int row);
  KRRecorderControl* recorderForRow(int row) const;

  // Controls, for the window's users and tests.
  platform::TabView& tabView() const { return *tabView_; }
  platform::Button& showGridBox() const { return *showGrid_; }
  platform::Button& showRulerBox() const { return *showRuler_; }
  platform::PopUpButton& unitsPopUp() const { return *units_; }
  platform::TextField& spacingField() const { return *spacing_; }
  platform::TextField& tickField() const { return *ticks_; }

  // KRRecorderControlDelegate: a new key for the recorder's row, taken from any other row that had it.
  void shortcutRecorderKeyComboDidChange(KRRecorderControl& recorder, KRKeyCombo combo) override;

  // A typed grid value as stored: the whole text read as a number, its fraction dropped, no more than the upper
  // bound; nothing for a refused one.
  static std::optional<int> gridValueForText(const std::string& text);

 private:
  void loadWindow();
  std::shared_ptr<platform::View> makeDisplayTab(platform::Size size);
  std::shared_ptr<platform::View> makeKeysTab(platform::Size size);
  void storeGridValue(platform::TextField& field, const char* key);
  void updateWorkSize();

  std::unique_ptr<platform::Window> window_;
  std::shared_ptr<platform::TabView> tabView_;
  std::shared_ptr<platform::Button> showGrid_;
  std::shared_ptr<platform::Button> showRuler_;
  std::shared_ptr<platform::PopUpButton> units_;
  std::shared_ptr<platform::TextField> spacing_;
  std::shared_ptr<platform::TextField> ticks_;
  std::shared_ptr<platform::ScrollView> keyTable_;
  std::shared_ptr<platform::View> rows_;
  int selectedTab_ = -1;
};
