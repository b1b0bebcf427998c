// Path-point commands of the point option strip; each is one undo step of the shape's "points".

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"

namespace {

void registerPoints(CMDocument& document, CMLayer& layer) {
  const platform::DictRef shape = layer.data()->dictionary("shape");
  if (!shape) return;
  document.undoManager().regUndoDictionary(
      5, platform::Dictionary::make({{"obj", shape}, {"keys", platform::Array::make({"points"})}}));
}

}  // namespace

void CMEditorView::deletePoint() {
  if (!selectedLayer_ || !selectedPoint_ || !document_) return;
  registerPoints(*document_, *selectedLayer_);
  selectedLayer_->removePoint(selectedPoint_);
}

void CMEditorView::addPoint(platform::Point point) {
  if (!selectedLayer_ || !document_) return;
  registerPoints(*document_, *selectedLayer_);
  selectedLayer_->addPoint(point);
}

void CMEditorView::changePointType(std::int32_t type) {
  if (!selectedLayer_ || !document_) return;
  registerPoints(*document_, *selectedLayer_);
  selectedLayer_->changePointType(type, selectedPoint_);
}
