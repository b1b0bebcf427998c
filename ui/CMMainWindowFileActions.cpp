// The File menu on the document controller: every question it asks goes
// through the dialogs of this window, every failure ends in the "Error" alert.

#include "document/CMDocument.h"
#include "document/CMDocumentManager.h"
#include "platform/core/document_controller.h"
#include "platform/ui/window.h"
#include "ui/CMDocumentDialogs.h"
#include "ui/CMDocumentPrinting.h"
#include "ui/CMMainWindowController.h"

void CMMainWindowController::OnOpenDocument() { platform::DocumentController::shared().openDocumentWithPanel(); }

void CMMainWindowController::OnSaveDocument() {
  if (!document_) return;
  // The name in the title changes with a first save.
  platform::DocumentController::shared().saveDocument(shownDocument(), [weak = weak_from_this()](bool) {
    if (const auto self = weak.lock()) self->updateTitle();
  });
}

void CMMainWindowController::OnSaveDocumentAs() {
  if (!document_) return;
  platform::DocumentController::shared().saveDocumentAs(shownDocument(), [weak = weak_from_this()](bool) {
    if (const auto self = weak.lock()) self->updateTitle();
  });
}

void CMMainWindowController::OnCloseDocument() {
  if (document_) CMDocumentManager::sharedDocumentManager().closeDocument(shownDocument());
}

void CMMainWindowController::OnPrint() {
  if (!document_) return;
  platform::Status printed =
      printDocument(*document_, window_->gtkWindow(), Gtk::PRINT_OPERATION_ACTION_PRINT_DIALOG);
  if (!printed) dialogs_->presentError(printed.error());
}
