// Shapes dragged from the library: the drag source asks the active editor whether a screen point lies on the page
// and hands it the shape when the drag ends. Screen points are in GDK's root-window pixels.

#include <gdkmm/window.h>

#include "canvas/CMEditorView.h"
#include "platform/ui/view_host.h"

bool CMEditorView::canAddShape(platform::Point screenPoint) const {
  platform::Point inWindow{0, 0};
  platform::ViewHost* window = host();
  if (window && window->contentView() && window->get_window()) {
    int originX = 0;
    int originY = 0;
    window->get_window()->get_origin(originX, originY);
    inWindow = window->contentView()->gtkToLocal({screenPoint.x - originX, screenPoint.y - originY});
  }
  const platform::Point point = convertPointFromWindow(inWindow);
  return point.x >= 0 && point.y >= 0 && point.x < frame().size.width && point.y < frame().size.height;
}

void CMEditorView::addShape(platform::Point screenPoint, const platform::DictRef& shapeData) {
  addShare(shapeData, screenPoint, completion([](CMEditorView& view) { view.releaseTool(); }));
}
