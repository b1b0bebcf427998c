#pragma once

// The one editing window: owns it and its menus, shows one document at a time,
// keeps the current tool and layer, and is the hub through which the model and
// the canvas ask for refreshes (it is their installed main-window services).
// Edit and View commands validate before the menu shows and again when they
// run, since a keyboard accelerator reaches the command without a menu.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/CMCanvasWindowService.h"
#include "document/CMMainWindowPresenter.h"
#include "document/CMMainWindowService.h"
#include "platform/core/notification_center.h"
#include "platform/core/value.h"
#include "platform/ui/control.h"
#include "ui/CMCanvasCommands.h"
#include "ui/CMPanelWindow.h"
#include "ui/CMToolOptionStrips.h"
#include "ui/CPMainView.h"

class CMBasePanelView;
class CMDocument;
class CMDocumentDialogs;
class CMLayersPanelView;
class CMOptionsPanelView;
class CMLibraryPanelView;
class CMPicturePanelView;
class CMEditorView;
class CMFrameEditorView;
class CMLayer;

namespace platform {
class Document;
class Menu;
class MenuBar;
class PopUpButton;
class Window;
}  // namespace platform

class CMMainWindowController final : public CMMainWindowService,
                                     public CMMainWindowPresenter,
                                     public CMCanvasWindowService,
                                     public CMPanelWindow,
                                     public std::enable_shared_from_this<CMMainWindowController> {
 public:
  static constexpr double kScreenWidthInset = 120;
  static constexpr double kScreenHeightInset = 140;

  // Builds the hidden window: main screen size less 120 × 140, centred when shown.
  CMMainWindowController();
  ~CMMainWindowController() override;
  CMMainWindowController(const CMMainWindowController&) = delete;
  CMMainWindowController& operator=(const CMMainWindowController&) = delete;

  // The installed controller; one is made and installed on the first call when none is.
  static std::shared_ptr<CMMainWindowController> sharedWindowController();
  // Becomes the shared controller, the model's, the canvas's and the panels' main window, and shows the Window menu
  // of the installed document controller: install that first.
  void installAsServices();
  // Gives up those places again (they return to their stand-ins) when this controller holds them.
  void uninstall();

  platform::Window& window() const { return *window_; }
  CPMainView* mainView() override { return mainView_.get(); }
  CMFrameEditorView& workView() const { return *workView_; }
  CMEditorView& editor() const;
  platform::MenuBar& mainMenu() const { return *menuBar_; }
  platform::Menu& arrangeMenu() const { return *arrangeMenu_; }
  CMDocumentDialogs& dialogs() const { return *dialogs_; }
  const std::shared_ptr<CMDocumentDialogs>& sharedDialogs() const { return dialogs_; }
  std::shared_ptr<CMDocument> drawing() const { return document_; }

  // ---- CMMainWindowService ----
  // Queued: the model calls it in the middle of its edits.
  void updateEditor() override;
  void updateDocument() override;
  platform::DictRef selectedLayer() override { return selectedLayer_; }
  std::shared_ptr<CMBaseDocument> document() override;
  void setDocument(std::shared_ptr<CMBaseDocument> document) override;
  // The canvas makes its layer objects for the copies at once and selects them alone.
  void selectAddedLayers(const CMBaseDocument& document, const std::vector<platform::DictRef>& records) override;

  // ---- CMMainWindowPresenter ----
  void showWindow() override;
  void orderOut() override;
  void updateDocumentTabs() override;

  // ---- CMCanvasWindowService ----
  using CMCanvasWindowService::selectLayer;
  // Keeps the record as the current layer and shows it in the panels (the layers panel unless it sent it); a sender
  // other than the canvas has the canvas select it too.
  void selectLayer(const platform::DictRef& record, const void* sender) override;
  // The layers panel reads its rows again, keeping its selection.
  void updateProperties() override;
  // The one way the canvas's selection reaches the panels: the first record becomes the current layer, which the
  // style panel shows; the layers panel (unless it sent them) selects exactly these rows.
  void showSelection(const std::vector<platform::DictRef>& records, const void* sender) override;
  // The layers panel selects all its rows.
  void didSelectAll() override;
  bool isAltPressed() override;
  void zoomIn(platform::Point canvasPoint) override;
  void zoomOut(platform::Point canvasPoint) override;
  void showArrangeMenu(platform::Point canvasPoint, platform::View& view) override;
  void selectTool(int tag, const platform::DictRef& data) override;
  void setScrollPosition(platform::Point relative) override;

  // ---- CMPanelWindow ----
  // The first record becomes the current layer; a sender other than the canvas has the canvas select them all.
  void selectLayers(const std::vector<platform::DictRef>& records, const void* sender) override;
  bool isShiftPressed() override;
  void groupLayers(const std::vector<platform::DictRef>& records) override;
  void ungroupLayers(const std::vector<platform::DictRef>& records) override;
  platform::Window* sheetParent() override { return window_.get(); }

  // Refresh hub.
  void update();
  // The sectioned panels place their sections again (after every layout of the main view).
  void updatePanel();
  void setSelectedLayer(platform::DictRef record) { selectedLayer_ = std::move(record); }
  int selectedTool() const noexcept { return selectedTool_; }

  // File menu (new documents come from the application shell).
  void OnOpenDocument();
  void OnSaveDocument();
  void OnSaveDocumentAs();
  void OnCloseDocument();
  void OnPrint();

  // Edit menu; each does nothing when its condition does not hold.
  bool canUndo() const;
  bool canRedo() const;
  std::string undoTitle() const;
  std::string redoTitle() const;
  bool hasSelection() const;
  bool hasLayers() const;
  bool canPaste() const;
  void undo();
  void redo();
  void copy();
  void cut();
  void paste();
  void deleteSelection();
  void duplicate();
  void selectAll();

  // View menu.
  void OnZoomIn();
  void OnZoomOut();
  void OnZoomFit();
  void OnZoom100();
  void OnShowRulers();
  void OnShowGrid();
  void OnShowRightPanel();
  static std::string rulerTitle();
  static std::string gridTitle();
  // The right panel command says what it will do: show the panel when it is hidden, hide it when it shows.
  std::string rightPanelTitle() const;

  // ---- right panels (CMMainWindowPanels.cpp) ----
  // Shows the panel of the project's right panel type (2 page, 3 layers, 4 layer style), made on first show.
  void updateRightPanel();
  // Hides the panel shown so far and shows this one, its view added to the right pane when `add`.
  void showPanel(CMBasePanelView* panel, bool add);
  void loadDefaultPanels();
  void setAssignDocumentForPanels(const std::shared_ptr<CMDocument>& document);
  void setPropertyForPanel(const platform::DictRef& record, const void* sender);
  CMLayersPanelView* layersPanel() const { return layersPanel_.get(); }
  CMPicturePanelView* picturePanel() const { return picturePanel_.get(); }
  CMOptionsPanelView* stylePanel() const { return stylePanel_.get(); }
  CMLibraryPanelView* libraryPanel() const { return libraryPanel_.get(); }
  CMBasePanelView* selectedPanel() const { return selectedPanel_; }

  // ---- toolbars, option strips and tool keys (CMMainWindowToolbars.cpp, CMMainWindowToolActions.cpp) ----
  void OnToolAction(const platform::Control& sender) { selectTool(sender.tag(), nullptr); }
  void OnRightPanelShowType(int type);
  // Tooltips and key equivalents of the palette's buttons from the key-binding table.
  void OnUpdateKeyBinding();
  // A tool key id 1…15 chooses its tool; other ids do nothing.
  void OnToolActionFromShotkeys(int keyId);
  // The tool's option strip into the top toolbar.
  void showAdditionControls(int tool);
  // The point-editing strip's controls follow the canvas's selected point and layer (edit mode 1 only).
  void updateSubPanelState();
  // The select and point strips' commands by tag; 9 chooses tool 17, 101 flips the view mode.
  void OnSelectAction(int tag);
  // Flips and stores "viewMode" and gives it to the canvas.
  void OnViewMode();
  void OnChangeZoom(int index);
  // The zoom pop-up of the current strip, or null.
  platform::PopUpButton* zoomControl() const;
  // Where the strips' canvas commands go (the shown canvas by default); tests watch them there.
  void setCanvasCommands(std::unique_ptr<CMCanvasCommands> commands) { canvasCommands_ = std::move(commands); }

 private:
  void buildMenus();
  void buildFileMenu();
  void buildEditMenu();
  void buildViewMenu();
  void buildWindowMenu();
  void buildHelpMenu();
  void buildArrangeMenu();
  // The arrange commands, each sending its strip tag through OnSelectAction.
  void addArrangeItems(platform::Menu& menu);
  void rebuildWindowMenu();
  std::shared_ptr<platform::Document> shownDocument() const;
  void afterZoom();
  // Window title and the main window's Window-menu entry.
  void updateTitle();
  std::vector<platform::DictRef> selectedRecords() const;
  // Runs an undo or a redo; the layers it brings back become the selection in every view.
  void replayStep(bool redoing);
  // Toolbars: the palette's tool buttons, the right-panel buttons, the strip of tool 0 and the tool keys; once.
  void createToolbars();
  // A bound key chooses its tool unless a text field has the focus.
  bool performToolShortcut(const platform::Event& event);
  bool textHasFocus() const;
  // The zoom pop-up shows the frame view's zoom step.
  void selectZoomIndex();

  std::unique_ptr<platform::Window> window_;
  std::shared_ptr<CMFrameEditorView> workView_;
  std::shared_ptr<CPMainView> mainView_;
  std::shared_ptr<platform::MenuBar> menuBar_;
  std::unique_ptr<platform::Menu> arrangeMenu_;
  platform::Menu* windowMenu_ = nullptr;
  std::shared_ptr<CMDocumentDialogs> dialogs_;
  std::shared_ptr<CMDocument> document_;
  platform::DictRef selectedLayer_;
  platform::ObserverToken layersChanged_;
  platform::ObserverToken tabsChanged_;
  platform::ObserverToken documentsChanged_;
  int selectedTool_ = 0;
  bool editorUpdateQueued_ = false;
  // Toolbars.
  std::unique_ptr<CMToolOptionStrips> optionStrips_;
  std::unique_ptr<CMCanvasCommands> canvasCommands_;
  platform::ObserverToken keyBindingsChanged_;
  // Right panels, each made on first show.
  std::shared_ptr<CMLayersPanelView> layersPanel_;
  std::shared_ptr<CMPicturePanelView> picturePanel_;
  std::shared_ptr<CMOptionsPanelView> stylePanel_;
  std::shared_ptr<CMLibraryPanelView> libraryPanel_;
  CMBasePanelView* selectedPanel_ = nullptr;
  // Held while this controller takes the tool keys: the key-binding manager outlives it.
  std::shared_ptr<bool> toolKeysReceiver_ = std::make_shared<bool>(true);
};
