// The option strip of the current tool, its commands and the zoom pop-up.

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "document/CMLayer.h"
#include "document/CMPointTypes.h"
#include "document/CMProject.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "ui/CMMainWindowController.h"
#include "ui/CMTopToolbarView.h"
#include "ui/CMViewTags.h"
#include "ui/CPMainView.h"

namespace {
constexpr const char* kViewModeKey = "viewMode";
}  // namespace

void CMMainWindowController::showAdditionControls(int tool) {
  CMTopToolbarView& toolbar = mainView_->topToolbar();
  toolbar.insertSubTools(optionStrips_->makeStrip(tool, toolbar.frame().size.width, workView_->zoomIndex()), tool);
  if (tool == kCMToolPathPoints || tool == kCMToolAddBezierPoint) updateSubPanelState();
}

platform::PopUpButton* CMMainWindowController::zoomControl() const {
  const platform::View* strip = mainView_->topToolbar().subToolView();
  return strip ? dynamic_cast<platform::PopUpButton*>(subviewWithTag(*strip, kCMStripZoomTag)) : nullptr;
}

void CMMainWindowController::selectZoomIndex() {
  if (platform::PopUpButton* zoom = zoomControl()) zoom->selectItemAtIndex(workView_->zoomIndex());
}

void CMMainWindowController::OnChangeZoom(int index) {
  if (!document_) {
    selectZoomIndex();  // nothing to zoom: the pop-up goes back to the step in force
    return;
  }
  workView_->setZoomIndex(index);
  updateTitle();
  mainView_->update();
}

void CMMainWindowController::updateSubPanelState() {
  if (CMProject::shareProject().editMode() != kCMEditModePathPoints) return;
  const platform::View* strip = mainView_->topToolbar().subToolView();
  if (!strip) return;
  const CMEditorView* canvas = CMEditorView::activeEditor();
  auto* deleteButton = dynamic_cast<platform::Control*>(subviewWithTag(*strip, kCMStripDeletePointTag));
  auto* pointType = dynamic_cast<platform::SegmentedControl*>(subviewWithTag(*strip, kCMStripPointTypeTag));
  if (deleteButton) {
    const platform::DictRef point = canvas ? canvas->selectedPoint() : nullptr;
    const bool onPoint = point && point->get("type").intValue() == kCMHandlePathPoint;
    deleteButton->setEnabled(onPoint);
    if (pointType) {
      pointType->setEnabled(onPoint);
      if (onPoint) pointType->setSelectedSegment((point->get("subtype").intValue() & kCMPointCurve) ? 1 : 0);
    }
  }
  if (auto* addButton = dynamic_cast<platform::Control*>(subviewWithTag(*strip, kCMStripAddPointTag)))
    addButton->setEnabled(canvas && canvas->selectedLayer());
}

void CMMainWindowController::OnViewMode() {
  platform::UserDefaults& settings = CMProject::shareProject().settings();
  const bool viewMode = !settings.boolForKey(kViewModeKey);
  settings.setBool(viewMode, kViewModeKey);
  canvasCommands_->setViewMode(viewMode);
  settings.synchronize();
}

void CMMainWindowController::OnSelectAction(int tag) {
  CMCanvasCommands& canvas = *canvasCommands_;
  switch (tag) {
    case 1: canvas.group(); break;
    case 2: canvas.ungroup(); break;
    case 3: canvas.aligntop(); break;
    case 4: canvas.alignbottom(); break;
    case 5: canvas.alignleft(); break;
    case 6: canvas.alignright(); break;
    case 7: canvas.flipH(); break;
    case 8: canvas.flipV(); break;
    case 9: selectTool(kCMToolAddBezierPoint, nullptr); break;
    case 10: canvas.deletePoint(); break;
    case 12: canvas.bringToFront(); break;
    case 13: canvas.bringForward(); break;
    case 14: canvas.sendToBack(); break;
    case 15: canvas.sendTobackward(); break;
    case 16: canvas.pathUnion(); break;
    case 17: canvas.pathSubtract(); break;
    case 18: canvas.pathIntersect(); break;
    case 19: canvas.pathDifference(); break;
    case 101: OnViewMode(); break;
    default: break;
  }
}
