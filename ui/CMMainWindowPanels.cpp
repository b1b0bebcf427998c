// The right panels: made on first show, one shown at a time in the right pane, given the shown document, and kept
// in step with the canvas's selection, which comes here whole whenever it changes.

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "platform/core/log.h"
#include "ui/CMLayersPanelView.h"
#include "ui/CMLibraryPanelView.h"
#include "ui/CMMainWindowController.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/CMPicturePanelView.h"
#include "ui/CMRightPanelView.h"
#include "ui/CMSplitView.h"

namespace {

constexpr std::int32_t kPagePanel = 2;
constexpr std::int32_t kLayersPanel = 3;
constexpr std::int32_t kStylePanel = 4;
constexpr std::int32_t kLibraryPanel = 5;

}  // namespace

void CMMainWindowController::updateRightPanel() {
  CMBasePanelView* panel = nullptr;
  bool made = false;
  switch (CMProject::shareProject().rightPanelShowType()) {
    case kPagePanel:
      made = !picturePanel_;
      if (made) picturePanel_ = std::make_shared<CMPicturePanelView>();
      panel = picturePanel_.get();
      break;
    case kLayersPanel:
      made = !layersPanel_;
      if (made) layersPanel_ = std::make_shared<CMLayersPanelView>();
      panel = layersPanel_.get();
      break;
    case kStylePanel:
      made = !stylePanel_;
      if (made) stylePanel_ = std::make_shared<CMOptionsPanelView>();
      panel = stylePanel_.get();
      break;
    case kLibraryPanel:
      made = !libraryPanel_;
      if (made) libraryPanel_ = std::make_shared<CMLibraryPanelView>();
      panel = libraryPanel_.get();
      break;
    default:
      // Any other panel type leaves the pane empty.
      break;
  }
  showPanel(panel, made);
  // A panel made now has heard nothing of the selection so far.
  if (made) showSelection(editor().selectionRecords(), &editor());
  mainView_->layout();
}

void CMMainWindowController::showPanel(CMBasePanelView* panel, bool add) {
  if (selectedPanel_ && selectedPanel_ != panel) selectedPanel_->view()->setHidden(true);
  selectedPanel_ = panel;
  if (!panel) return;
  if (panel->document() != document_) panel->setDocument(document_);
  panel->show(true);
  if (add) {
    CMRightPanelView& pane = mainView_->splitView().rightPanelView();
    const platform::Size size = pane.frame().size;
    panel->view()->setFrame({0, 0, size.width, size.height});
    pane.addSubview(panel->view());
  } else {
    panel->view()->setHidden(false);
  }
}

void CMMainWindowController::loadDefaultPanels() {
  switch (CMProject::shareProject().rightPanelShowType()) {
    case kPagePanel:
      if (picturePanel_) showPanel(picturePanel_.get(), false);
      break;
    case kLayersPanel:
      if (layersPanel_) showPanel(layersPanel_.get(), false);
      break;
    case kStylePanel:
      if (stylePanel_) showPanel(stylePanel_.get(), false);
      break;
    case kLibraryPanel:
      if (libraryPanel_) showPanel(libraryPanel_.get(), false);
      break;
    default:
      break;
  }
}

void CMMainWindowController::setAssignDocumentForPanels(const std::shared_ptr<CMDocument>& document) {
  if (layersPanel_) layersPanel_->setDocument(document);
  if (picturePanel_) picturePanel_->setDocument(document);
  if (stylePanel_) stylePanel_->setDocument(document);
}

void CMMainWindowController::setPropertyForPanel(const platform::DictRef& record, const void* sender) {
  if (layersPanel_ && sender != layersPanel_.get()) layersPanel_->selectLayer(record);
  if (stylePanel_) stylePanel_->selectLayer(record);
}

void CMMainWindowController::updateProperties() {
  if (!layersPanel_) return;
  layersPanel_->update();
  platform::log(platform::LogLevel::Debug, "Layers Panel Updated");
}

void CMMainWindowController::showSelection(const std::vector<platform::DictRef>& records, const void* sender) {
  selectedLayer_ = records.empty() ? platform::DictRef() : records.front();
  if (layersPanel_ && sender != layersPanel_.get()) layersPanel_->showSelection(records);
  if (stylePanel_) stylePanel_->selectLayer(selectedLayer_);
  updateSubPanelState();
}

void CMMainWindowController::updatePanel() {
  if (picturePanel_) picturePanel_->updateFrame();
}

void CMMainWindowController::didSelectAll() {
  if (layersPanel_) layersPanel_->selectAll();
}

void CMMainWindowController::groupLayers(const std::vector<platform::DictRef>& records) { editor().group(records); }

void CMMainWindowController::ungroupLayers(const std::vector<platform::DictRef>& records) {
  editor().ungroup(records);
}
