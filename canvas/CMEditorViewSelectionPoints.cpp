// Path-point commands of the point option strip; each is one undo step of the layer's shape.

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"

void CMEditorView::deletePoint() {
  if (!selectedLayer_ || !selectedPoint_ || !document_) return;
  document_->undoManager().regUndoShape(selectedLayer_->data());
  selectedLayer_->removePoint(selectedPoint_);
}

void CMEditorView::addPoint(platform::Point point) {
  if (!selectedLayer_ || !document_) return;
  document_->undoManager().regUndoShape(selectedLayer_->data());
  selectedLayer_->addPoint(documentPoint(point));  // the layer takes document units, as a dragged point does
}

void CMEditorView::changePointType(std::int32_t type) {
  if (!selectedLayer_ || !document_) return;
  document_->undoManager().regUndoShape(selectedLayer_->data());
  selectedLayer_->changePointType(type, selectedPoint_);
}
