#pragma once

// A canvas without a window for the drawing fuzz target: it holds one document and its
// drawer, draws into a small image, measures every layer object and runs edits chosen
// by the fuzz input through the document and the layer objects in the order the canvas
// and the main window do (select, register the undo step, edit, deselect), rebuilding
// the layer objects after each edit as the canvas does. Of the canvas's layer commands
// only the boolean path commands are here: group, ungroup, flip, align and order are
// the view's own methods and need a display.

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>
#include <string>
#include <vector>

#include "document/CMDocument.h"
#include "document/CMDrawer.h"

class DrawingSession {
 public:
  explicit DrawingSession(std::shared_ptr<CMDocument> document);

  // Draws at zoom 1 and 4 in cached and vector view mode and asks every layer object
  // for its frame, display rectangle, path and handles.
  void drawEveryWay(bool designMode);
  // One edit chosen by the input; returns its name for the failure report.
  std::string editOnce(FuzzedDataProvider& input);
  // Clears the selection so that point editing ends.
  void deselectAll();

 private:
  void rebuild();
  void drawOnce(bool designMode);
  void measure();
  std::shared_ptr<CMLayer> pickLayer(FuzzedDataProvider& input);
  std::vector<platform::DictRef> pickRecords(FuzzedDataProvider& input);

  std::string dragHandle(FuzzedDataProvider& input);
  std::string moveLayer(FuzzedDataProvider& input, bool byKey);
  std::string editPoints(FuzzedDataProvider& input);
  std::string addLayer(FuzzedDataProvider& input);
  std::string editLayerList(FuzzedDataProvider& input);
  std::string combinePaths(FuzzedDataProvider& input);

  std::shared_ptr<CMDocument> document_;
  CMDrawer drawer_;
  bool vectorViewMode_ = false;
  float zoom_ = 1;
};
