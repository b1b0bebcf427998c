// Mouse events by tool tag.

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "platform/ui/view_host.h"

void CMEditorView::takeKeys() {
  // The main view hands the keys to customKeyDown.
  if (platform::ViewHost* window = host()) {
    if (window->get_can_focus()) window->grab_focus();
    if (platform::View* mainView = CMCanvasWindowService::shared().mainView()) window->makeFirstResponder(mainView);
  }
}

void CMEditorView::mouseDown(const platform::Event& event) {
  // Keys must reach the canvas after any click on it.
  takeKeys();
  switch (selectTool_) {
    case kCMToolSelect:
    case kCMToolPathPoints:
    case kCMToolGradient:
      dispatchSelectTool(event);
      break;
    case kCMToolRectangle:
      addRectangle(event, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolRoundRectangle:
      addRoundRectangle(event, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolText:
      startEditingText(event);
      break;
    case kCMToolLibraryShape:
      addShare(event, toolsData_, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolOval:
      addOval(event, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolEraser:
      erase(event, [] {});
      break;
    case kCMToolStar:
      addStar(event, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolLine:
      addLine(event, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolPolygon:
      addPolygon(event, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolPen:
      addBetheier(event, [] {});
      break;
    case kCMToolPencil:
      addPencil(event, completion([](CMEditorView& view) { view.releaseTool(); }));
      break;
    case kCMToolZoom: {
      const platform::Point point = convertPointFromWindow(event.locationInWindow);
      CMCanvasWindowService& controller = CMCanvasWindowService::shared();
      if (controller.isAltPressed())
        controller.zoomOut(point);
      else
        controller.zoomIn(point);
      break;
    }
    case kCMToolAddBezierPoint:
      addBetherPoint(event, completion([](CMEditorView& view) { view.releaseTool(kCMToolPathPoints); }));
      break;
    default:
      break;  // 6, 9 and 18 on have no gesture
  }
}

void CMEditorView::dispatchSelectTool(const platform::Event& event) {
  if (selectItem(event)) setNeedsDisplay();
  if (event.clickCount >= 2) {
    dbClick(event);
    return;
  }
  if (!moveItem(event)) selectArea(event);
}

// Only the pen takes its drags outside a loop of its own.
void CMEditorView::mouseDragged(const platform::Event& event) {
  if (selectTool_ == kCMToolPen) mouseDraggedBezheir(event);
}

void CMEditorView::mouseMoved(const platform::Event& event) {
  if (selectTool_ == kCMToolPen) mouseMovedBezheir(event);
}

void CMEditorView::mouseUp(const platform::Event& event) {
  if (selectTool_ == kCMToolPen) mouseUpBezheir(event);
}

void CMEditorView::rightMouseDown(const platform::Event& event) {
  if (selectTool_ != kCMToolSelect) {
    // A right click ends any other tool instead of opening the menu.
    releaseTool();
    CMCanvasWindowService::shared().selectTool(kCMToolSelect, nullptr);
    setNeedsDisplay();
    return;
  }
  CMCanvasWindowService::shared().showArrangeMenu(convertPointFromWindow(event.locationInWindow), *this);
}
