#pragma once

// What the right panels ask of the main window: the selection they make goes
// to the canvas through it, and the rename sheet hangs on its window. The
// main window controller installs itself; until then a stand-in does nothing.

#include <memory>
#include <vector>

#include "platform/core/value.h"

namespace platform {
class Window;
}

class CMPanelWindow {
 public:
  virtual ~CMPanelWindow() = default;

  // The records chosen in a panel (the first becomes the current layer); the sender is the panel.
  virtual void selectLayers(const std::vector<platform::DictRef>& records, const void* sender) = 0;
  virtual bool isShiftPressed() = 0;
  // The canvas's group and ungroup of records.
  virtual void groupLayers(const std::vector<platform::DictRef>& records) = 0;
  virtual void ungroupLayers(const std::vector<platform::DictRef>& records) = 0;
  // The window sheets hang on, or null.
  virtual platform::Window* sheetParent() = 0;

  static CMPanelWindow& shared();
  // Installs a window (null restores the stand-in); returns the previous one.
  static std::shared_ptr<CMPanelWindow> install(std::shared_ptr<CMPanelWindow> window);
};
