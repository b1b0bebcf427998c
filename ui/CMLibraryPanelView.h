#pragma once

// The "Shapes" panel: the selected shape library's items as a grid of
// thumbnails (see CMLibraryItemPrototype), a pop-up of the libraries and a
// settings menu with every library command: new, rename, remove, import,
// export, add the canvas's selected shapes or image, delete the items that
// are on, and the built-in libraries. Every change goes through the store,
// which saves it; the grid and the pop-up are refilled after each.
//
// A built-in command puts its library in place of the selected one. Made,
// the panel shows the built-in "StrokeClothes" library: the library of that
// name when the store has one, else a new copy; no library of the user's is
// removed for it. A library is replaced by a built-in one only after the user
// agreed, unless it is a built-in library holding just the built-in items.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/CMShapeLibraries.h"
#include "platform/core/notification_center.h"
#include "ui/CMBasePanelView.h"

class CMLibraryGridView;
class CMToolboxView;

namespace platform {
class Alert;
class Button;
class FilePanel;
class Menu;
class PopUpButton;
class ScrollView;
}  // namespace platform

class CMLibraryPanelView : public CMBasePanelView {
 public:
  static constexpr double kButtonRowHeight = 36;

  struct BuiltInLibrary {
    const char* title;     // the menu item's
    const char* resource;  // library/<resource>.slib
  };
  static const std::vector<BuiltInLibrary>& builtInLibraries();

  CMLibraryPanelView();
  ~CMLibraryPanelView() override;

  // The panel made most recently while it lives, else null.
  static CMLibraryPanelView* sharedLibraryPanel();

  CMShapeLibraries& libraries() { return libraries_; }
  CMLibraryGridView& collectionView() const { return *collectionView_; }
  platform::PopUpButton& librarySelectorView() const { return *librarySelectorView_; }
  platform::Menu& menuSettings() const { return *menuSettings_; }
  CMToolboxView& toolbar() const { return *toolbar_; }
  platform::Button& settingsButton() const { return *settingsButton_; }

  void loadItems();
  void reload();
  void updateLibraryNames();
  void deselectAll();
  bool hasSelectedShape() const;
  // "Error" / "OK" with the text shown as it stands.
  void showAlert(const std::string& text);

  // ---- commands ----
  void OnSettings();
  void OnSelectLibrary();
  void OnNewShapeLibrary();
  void OnRename();
  void OnRemoveShapeLibrary();
  void OnImport();
  void OnExport();
  void OnAddSelectedShapesToLibrary();
  void OnAddSelectedImageToLibrary();
  void OnDeleteShape();
  // A built-in library in place of the selected one (asking first when that is one of the user's).
  void importBuiltIn(const std::string& resource);
  void loadfirstlibrary();

  // The commands' preconditions, as the settings menu shows them.
  bool canRemoveRenameOrExport() const;
  bool canAddSelectedShapes() const;
  bool canDeleteShape() const { return hasSelectedShape(); }

 private:
  void buildSettingsMenu();
  void layout(platform::Size size);
  void fitGrid();
  // Runs the alert as a sheet on the main window (modally without one); `answered` gets the button's answer.
  void runAlert(std::shared_ptr<platform::Alert> alert, std::function<void(int)> answered);
  void askForName(const std::string& informative, const std::string& initial,
                  std::function<void(const std::string&)> accepted);
  // After a new name was offered to the store: the refresh when it took it, else the duplicate-name alert.
  void afterNaming(bool accepted, void (CMLibraryPanelView::*refresh)());
  void askToRemove(const std::string& informative, std::function<void()> confirmed);
  void runFilePanel(std::shared_ptr<platform::FilePanel> panel, std::function<void(platform::FilePanel&)> accepted);
  // Work for after the sheet has gone, dropped if the panel has gone first.
  void later(std::function<void(CMLibraryPanelView&)> work);
  void replaceSelectedWith(const std::shared_ptr<CMShapeLibarary>& library);
  // The library of the built-in file, or null when it is missing or unreadable.
  static std::shared_ptr<CMShapeLibarary> builtInLibrary(const std::string& resource);
  void addSelectedLayers(bool images);
  void showStoreMessages();
  void OnRemoveShape(const void* cell);
  // A built-in library's name with the items of the built-in file of that name: nothing of the user's is in it.
  static bool isUnchangedBuiltIn(const CMShapeLibarary& library);

  CMShapeLibraries libraries_;
  std::shared_ptr<CMToolboxView> toolbar_;
  std::shared_ptr<platform::Button> settingsButton_;
  std::shared_ptr<platform::PopUpButton> librarySelectorView_;
  std::shared_ptr<platform::ScrollView> scrollView_;
  std::shared_ptr<CMLibraryGridView> collectionView_;
  std::unique_ptr<platform::Menu> menuSettings_;
  platform::ObserverToken removeShape_;
  // Sheet completions and queued work hold it weakly: gone, the panel is gone.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
