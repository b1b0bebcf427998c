#pragma once

// What the canvas asks of the main window controller. The window layer installs
// its controller at start-up; until one is installed (tests, the off-screen
// canvas) the requests go to a stand-in that does nothing.

#include <memory>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

class CMLayer;

namespace platform {
class View;
}

class CMCanvasWindowService {
 public:
  virtual ~CMCanvasWindowService() = default;

  // The main window's content view, which takes the keys the canvas handles; null when there is none.
  virtual platform::View* mainView() = 0;
  // The canvas (or another sender) chose a layer record (a group record too); null clears the choice.
  virtual void selectLayer(const platform::DictRef& record, const void* sender) = 0;
  // The same with the layer object's record.
  void selectLayer(const std::shared_ptr<CMLayer>& layer, const void* sender);
  virtual void updateProperties() = 0;
  // The canvas's selection is now exactly these records, the first the current layer: the panels show them. Sent
  // whenever a click, a band, a command or a rebuild after undo changes it. By default the first is chosen as
  // selectLayer chooses it and the properties are read again.
  virtual void showSelection(const std::vector<platform::DictRef>& records, const void* sender);
  // The canvas selected every layer: the panels follow (the layers panel selects all its rows).
  virtual void didSelectAll() = 0;
  virtual bool isAltPressed() = 0;
  // The zoom tool's clicks, in canvas coordinates.
  virtual void zoomIn(platform::Point canvasPoint) = 0;
  virtual void zoomOut(platform::Point canvasPoint) = 0;
  // The context menu of the select tool at a canvas point.
  virtual void showArrangeMenu(platform::Point canvasPoint, platform::View& view) = 0;
  // Sets the edit mode, the option strip and the tool buttons, then passes the tool back to the canvas.
  virtual void selectTool(int tag, const platform::DictRef& data) = 0;
  // Relative scroll position (0…1 on each axis) the work area applies at its next layout.
  virtual void setScrollPosition(platform::Point relative) = 0;

  // The installed controller, or the stand-in.
  static CMCanvasWindowService& shared();
  // Installs a controller (null restores the stand-in); returns the previous one.
  static std::shared_ptr<CMCanvasWindowService> install(std::shared_ptr<CMCanvasWindowService> service);
};
