#pragma once

// What the document model asks of the main window controller. The window layer
// installs its controller at start-up; until something is installed (headless
// tools, most tests) the requests go to a stand-in that does nothing.

#include <memory>
#include <vector>

#include "platform/core/value.h"

class CMBaseDocument;

class CMMainWindowService {
 public:
  virtual ~CMMainWindowService() = default;

  // Asks for a redraw of the canvas. Edits and undo replay call it synchronously,
  // in the middle of their work: queue the redraw, never draw here.
  virtual void updateEditor() = 0;
  // Rebuilds title, canvas, panels and zoom control for the current document.
  virtual void updateDocument() = 0;
  // The selected layer record, or null.
  virtual platform::DictRef selectedLayer() = 0;
  virtual std::shared_ptr<CMBaseDocument> document() = 0;
  // Showing another document must empty the id-keyed image cache and forget the selection.
  virtual void setDocument(std::shared_ptr<CMBaseDocument> document) = 0;
  // Layers the model has just added to the document (pasted, duplicated) become the whole selection where it is
  // shown. Called once the edit is complete; nothing happens by default.
  virtual void selectAddedLayers(const CMBaseDocument& document, const std::vector<platform::DictRef>& records);

  // The installed controller, or the stand-in.
  static CMMainWindowService& shared();
  // Installs a controller (null restores the stand-in); returns the previous one.
  static std::shared_ptr<CMMainWindowService> install(std::shared_ptr<CMMainWindowService> service);
};
