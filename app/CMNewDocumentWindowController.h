#pragma once

// The new-document window: a blank document of a preset or custom page size
// in either orientation, or a recent or browsed file (the list read each time
// the window shows); it leads on to the templates window. Its choices live in the user defaults, stored as they are
// made, so the next opening proposes them again.

#include <memory>
#include <string>
#include <vector>

namespace platform {
class Button;
class PopUpButton;
class SegmentedControl;
class TextField;
class Window;
}  // namespace platform

class CMNewDocumentWindowController {
 public:
  static constexpr int kDefaultSize = 500;
  // "typeId" values.
  static constexpr int kCreateType = 1;
  static constexpr int kOpenRecentType = 2;
  static constexpr int kCustomPreset = 1;
  // The orientation control's second segment; the first is Portrait.
  static constexpr int kLandscape = 1;

  static CMNewDocumentWindowController& sharedNewDocument();
  CMNewDocumentWindowController();
  ~CMNewDocumentWindowController();
  CMNewDocumentWindowController(const CMNewDocumentWindowController&) = delete;
  CMNewDocumentWindowController& operator=(const CMNewDocumentWindowController&) = delete;

  // Built and filled from the defaults on first use.
  platform::Window& window();
  void showWindow();
  bool firstLauncheMode() const { return firstLauncheMode_; }
  // In first-launch mode creating first closes every open document.
  void setFirstLauncheMode(bool mode);
  void setParamWidth(int width, int height);
  void updateControls();

  void OnCreateDocument();
  void OnClose();
  void OnChangeOrientation();
  void OnFromTemplates();
  void OnPresetChange();
  void OnChangeType();
  void OnBrowser();
  // The templates window closed: this one shows again.
  void didClose();

  // Stored values as read: "typeId" and "preset_selected" 0 count as 1, sizes no page can have as 500.
  static int typeId();
  static int presetSelected();
  static int defaultWidth();
  static int defaultHeight();

  platform::SegmentedControl& typeMatrix() const { return *type_; }
  platform::PopUpButton& presetPopUp() const { return *preset_; }
  platform::TextField& widthField() const { return *width_; }
  platform::TextField& heightField() const { return *height_; }
  platform::PopUpButton& dimensionPopUp() const { return *dimension_; }
  platform::SegmentedControl& orientationControl() const { return *orientation_; }
  platform::PopUpButton& recentFiles() const { return *recent_; }
  platform::Button& browseButton() const { return *browse_; }

 private:
  void loadWindow();
  // The recent drawings into the pop-up, the newest selected.
  void loadRecentFiles();
  // The size fields show the size Create makes.
  void showPageSize();
  // A size field left, Return pressed in it, or Create or an orientation chosen: its whole text, a side the
  // Document panel takes, is stored as "defaultW" or "defaultH" (its fraction dropped); anything else is refused
  // as the panel refuses it, and the field shows the side in use.
  void commitSide(platform::TextField& field);
  void commitSides();
  // The orientation shown and stored follows the sides in use: a wider page is Landscape, a taller one Portrait, and
  // a square one keeps the choice.
  void followSides();
  void create();
  void openRecent();

  std::unique_ptr<platform::Window> window_;
  std::shared_ptr<platform::SegmentedControl> type_;
  std::shared_ptr<platform::PopUpButton> preset_;
  std::shared_ptr<platform::TextField> width_;
  std::shared_ptr<platform::TextField> height_;
  std::shared_ptr<platform::PopUpButton> dimension_;
  std::shared_ptr<platform::SegmentedControl> orientation_;
  std::shared_ptr<platform::PopUpButton> recent_;
  std::shared_ptr<platform::Button> browse_;
  std::vector<std::string> recentPaths_;
  bool firstLauncheMode_ = false;
};
