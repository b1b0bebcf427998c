// The Edit menu: undo and redo with the undo manager's titles, and the
// clipboard and selection commands on the canvas's selected layers.

#include <functional>
#include <memory>

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMLayer.h"
#include "document/CMLayerTree.h"
#include "platform/ui/window.h"
#include "ui/CMMainWindowController.h"

std::vector<platform::DictRef> CMMainWindowController::selectedRecords() const {
  std::vector<platform::DictRef> records;
  for (const std::shared_ptr<CMLayer>& layer : editor().allSelectedLayers()) records.push_back(layer->data());
  return records;
}

bool CMMainWindowController::canUndo() const { return document_ && document_->undoManager().canUndo(); }

bool CMMainWindowController::canRedo() const { return document_ && document_->undoManager().canRedo(); }

std::string CMMainWindowController::undoTitle() const {
  return document_ ? document_->undoManager().undoMenuItemTitle() : std::string("Undo");
}

std::string CMMainWindowController::redoTitle() const {
  return document_ ? document_->undoManager().redoMenuItemTitle() : std::string("Redo");
}

bool CMMainWindowController::hasSelection() const { return document_ && !editor().allSelectedLayers().empty(); }

bool CMMainWindowController::hasLayers() const { return document_ && !editor().layers().empty(); }

bool CMMainWindowController::canPaste() const { return document_ && document_->canPaste(); }

void CMMainWindowController::undo() {
  if (canUndo()) replayStep(false);
}

void CMMainWindowController::redo() {
  if (canRedo()) replayStep(true);
}

void CMMainWindowController::replayStep(bool redoing) {
  // A text being edited in place ends first: its edit is a step of its own, the one undone now.
  if (editor().isEditingText()) editor().endEditingText(platform::Event{});
  CMUndoManager& steps = document_->undoManager();
  if (redoing ? !steps.canRedo() : !steps.canUndo()) return;
  const std::optional<std::int32_t> current =
      CMUndoManager::currentLayerOf(redoing ? steps.redoStack().back() : steps.undoStack().back());
  const CMLayerTree::RecordsById before = CMLayerTree::recordsById(document_->data()->array("layers"));
  if (redoing) {
    document_->redo();
  } else {
    document_->undo();
  }
  bool returned = false;
  const std::vector<platform::DictRef> put = CMLayerTree::putInPlace(document_->data()->array("layers"), before,
                                                                     returned);
  // Layers the step brought back are chosen again, with those it put back as they were (what a Union took in and
  // what it changed), so that the commands act on them as they did before; other steps keep the selection.
  if (!returned) return;
  mainView_->updateEditor();
  editor().selectNewLayers(put, current);
}

void CMMainWindowController::copy() {
  if (hasLayers()) document_->copy(selectedRecords());
}

void CMMainWindowController::cut() {
  if (hasSelection()) document_->cut(selectedRecords());
}

void CMMainWindowController::paste() {
  if (canPaste()) document_->paste();
}

void CMMainWindowController::deleteSelection() {
  if (!hasSelection()) return;
  document_->deleteLayers(selectedRecords());
  editor().closeCurrentEditingOperations();
}

void CMMainWindowController::duplicate() {
  if (hasSelection()) document_->duplicate(selectedRecords());
}

// The canvas selects and never calls back here, so nothing re-enters it; a layers panel that mirrors the
// selection must select its rows under a signal guard for the same reason.
void CMMainWindowController::selectAll() {
  if (!hasLayers()) return;
  editor().selectAll();
  window().makeFirstResponder(mainView());
}
