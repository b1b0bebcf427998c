// Shapes dragged from the library: the drag source asks the active editor whether a screen point lies on the page
// and hands it the shape when the drag ends. Screen points are in GDK's root-window pixels.

#include "canvas/CMEditorView.h"

bool CMEditorView::canAddShape(platform::Point screenPoint) const {
  const platform::Point point = canvasPointFromScreen(screenPoint);
  return point.x >= 0 && point.y >= 0 && point.x < frame().size.width && point.y < frame().size.height;
}

void CMEditorView::addShape(platform::Point screenPoint, const platform::DictRef& shapeData) {
  addShare(shapeData, screenPoint, completion([](CMEditorView& view) { view.releaseTool(); }));
}
