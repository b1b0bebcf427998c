// The View menu: zoom steps, rulers, grid and the right panel.

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "document/CMProject.h"
#include "ui/CMMainWindowController.h"
#include "ui/CMSplitView.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CPMainView.h"

namespace {
constexpr const char* kShowRuler = "show_ruler";
constexpr const char* kShowGrid = "show_grid";
constexpr const char* kHideRightPanel = "hideRightPanel";

void toggleSetting(const char* key) {
  CMProject& project = CMProject::shareProject();
  project.settings().setBool(!project.settings().boolForKey(key), key);
  project.saveSettings();
}
}  // namespace

std::string CMMainWindowController::rulerTitle() {
  return CMProject::shareProject().settings().boolForKey(kShowRuler) ? "Hide Ruler" : "Show Ruler";
}

std::string CMMainWindowController::gridTitle() {
  return CMProject::shareProject().settings().boolForKey(kShowGrid) ? "Hide Grid" : "Show Grid";
}

void CMMainWindowController::afterZoom() {
  updateTitle();
  mainView_->update();
  selectZoomIndex();
}

void CMMainWindowController::OnZoomIn() {
  if (!document_) return;
  workView_->zoomIn();
  afterZoom();
}

void CMMainWindowController::OnZoomOut() {
  if (!document_) return;
  workView_->zoomOut();
  afterZoom();
}

void CMMainWindowController::OnZoomFit() {
  if (!document_) return;
  workView_->zoomFit(mainView_->frame().size);
  afterZoom();
}

void CMMainWindowController::OnZoom100() {
  if (!document_) return;
  workView_->zoom100();
  afterZoom();
}

void CMMainWindowController::zoomIn(platform::Point canvasPoint) {
  if (!document_) return;
  workView_->zoomIn(editor().convertPointToView(canvasPoint, workView_.get()));
  afterZoom();
}

void CMMainWindowController::zoomOut(platform::Point canvasPoint) {
  if (!document_) return;
  workView_->zoomOut(editor().convertPointToView(canvasPoint, workView_.get()));
  afterZoom();
}

void CMMainWindowController::OnShowRulers() {
  toggleSetting(kShowRuler);
  mainView_->updateWorkSize();
}

void CMMainWindowController::OnShowGrid() {
  toggleSetting(kShowGrid);
  mainView_->updateWorkSize();
  editor().setNeedsDisplay();
}

std::string CMMainWindowController::rightPanelTitle() const {
  return mainView_->splitView().isRightPanelHidden() ? "Show Right Panel" : "Hide Right Panel";
}

void CMMainWindowController::OnShowRightPanel() {
  mainView_->toggleRightPanel();
  // Stored as it is now shown: a drag of the divider may have hidden the panel without a word to the profile.
  CMProject::shareProject().profile().setState(kHideRightPanel, mainView_->splitView().isRightPanelHidden() ? 1 : 0);
  mainView_->update();
  mainView_->topToolbar().layoutSubViews();
}
