// The records the layer commands work on, chosen by the selection flags of the drawer's layer objects, and the
// fresh layer objects the commands measure and edit them with.

#include "canvas/CMEditorView.h"
#include "document/CMDrawer.h"
#include "document/CMLayer.h"

CMEditorView::Records CMEditorView::selectedRecords(bool (*wanted)(const CMLayer& layer)) const {
  // The drawer holds no group objects: every record here is a shape, image or text layer.
  Records records;
  for (auto layer = layers().rbegin(); layer != layers().rend(); ++layer) {
    if (wanted(**layer)) records.push_back((*layer)->data());
  }
  return records;
}

CMEditorView::Records CMEditorView::groupSelectedRecords() const {
  return selectedRecords([](const CMLayer& layer) { return layer.selectedAsPartOfGroup(); });
}

CMEditorView::Records CMEditorView::layers2() const {
  return selectedRecords([](const CMLayer& layer) { return layer.selectedAsPartOfGroup() && !layer.selected(); });
}

CMEditorView::Records CMEditorView::layerSelected() const {
  return selectedRecords([](const CMLayer& layer) { return layer.selected(); });
}

std::shared_ptr<CMLayer> CMEditorView::layerFromDictionary(const platform::DictRef& record) {
  if (!record) return nullptr;
  // A new object takes the record's pending redraw for itself; the canvas's own objects must still see it.
  const bool pendingRedraw = record->get("dirty").boolValue();
  std::shared_ptr<CMLayer> layer = CMDrawer::makeLayer(record, 1.0f);
  if (pendingRedraw) record->set("dirty", true);
  return layer;
}
