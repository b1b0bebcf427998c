// Choosing and releasing tools, and the cursor each tool shows.

#include <array>

#include "canvas/CMCanvasWindowService.h"
#include "canvas/CMEditorView.h"
#include "document/CMLayer.h"
#include "platform/ui/cursor.h"
#include "platform/ui/image_named.h"
#include "platform/ui/view_host.h"

void CMEditorView::selectTool(int tag, platform::DictRef data) {
  toolsData_ = nullptr;
  saveCurve();
  setBezierMode(0);
  selectTool_ = tag;
  toolsData_ = std::move(data);
  updateCursor();
  if (tag >= kCMToolRectangle) {
    // Group-selection flags stay: only the primary selection makes way for the new tool.
    for (const auto& layer : layers()) layer->setSelected(false);
    setNeedsDisplay();
  } else {
    if (tag == kCMToolPathPoints)
      for (const auto& layer : selectedLayers()) layer->prepareEditing();
    // The chosen layer shows the handles of the new tool, which are the ones a press now takes.
    setNeedsDisplay();
  }
}

void CMEditorView::releaseTool(int tag) {
  selectTool(tag, nullptr);
  CMCanvasWindowService::shared().selectTool(tag, nullptr);
  setNeedsDisplay();
}

void CMEditorView::closeCurrentEditingOperations() {
  curveAddedLayer_ = nullptr;  // the next pen click starts a new layer
  setNeedsDisplay();
}

void CMEditorView::setBezierMode(int mode) {
  bezierMode_ = mode;
  updateCursor();  // the pen cursor follows the sub-mode
}

void CMEditorView::createCustomCursors() {
  struct Entry {
    int type;
    const char* image;
    platform::Point hotSpot;
  };
  static constexpr std::array<Entry, 6> kTable{{
      {kCursorPenAdd, "pencursoradd", {7, 0}},
      {kCursorPen, "pencursor", {11, 0}},
      {kCursorPenClose, "pencursorclose", {7, 0}},
      {kCursorPenDelete, "pencursordelete", {7, 0}},
      {kCursorZoomIn, "zoomInCursor", {7, 0}},
      {kCursorZoomOut, "zoomOutCursor", {7, 0}},
  }};
  customCursors_.clear();
  for (const Entry& entry : kTable)
    if (const auto image = platform::pixbufNamed(entry.image))
      customCursors_.push_back({entry.type, platform::Cursor::fromImage(image, entry.hotSpot)});
}

std::shared_ptr<platform::Cursor> CMEditorView::findCursor(int type) const {
  for (const CustomCursor& entry : customCursors_)
    if (entry.type == type) return entry.cursor;
  return nullptr;
}

std::shared_ptr<platform::Cursor> CMEditorView::toolCursor() const {
  switch (selectTool_) {
    case kCMToolSelect:
    case kCMToolPathPoints:
    case kCMToolGradient:
      return platform::Cursor::arrow();
    case kCMToolRectangle:
    case kCMToolRoundRectangle:
    case kCMToolText:
    case kCMToolLibraryShape:
    case kCMToolOval:
    case 9:
    case kCMToolEraser:
    case kCMToolStar:
    case kCMToolLine:
    case kCMToolPolygon:
    case kCMToolPencil:
      return platform::Cursor::crosshair();
    case kCMToolPen:
      return findCursor(bezierMode_);
    case kCMToolZoom:
      return findCursor(CMCanvasWindowService::shared().isAltPressed() ? kCursorZoomOut : kCursorZoomIn);
    case kCMToolAddBezierPoint:
      return findCursor(kCursorPenAdd);
    default:
      return nullptr;
  }
}

void CMEditorView::updateCursor() {
  setCursor(toolCursor());
  if (platform::ViewHost* window = host()) window->updateCursor();
}
