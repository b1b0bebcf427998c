#include "document/CMUndoManager.h"

#include <utility>

#include "platform/core/log.h"
#include "platform/core/string_utilities.h"

namespace {

constexpr const char* kCurrentLayerKey = "current_layer";

}  // namespace

void CMUndoManager::noteCurrentLayer(const platform::DictRef& step, std::optional<std::int32_t> current) const {
  if (current) step->set(kCurrentLayerKey, *current);
}

std::optional<std::int32_t> CMUndoManager::currentLayerOf(const platform::DictRef& step) {
  const platform::Value* current = step ? step->find(kCurrentLayerKey) : nullptr;
  if (!current || !current->isNumber()) return std::nullopt;
  return current->intValue();
}

void CMUndoManager::registerRecord(platform::DictRef record) {
  if (inTransaction_) {
    // The document counts as edited once the transaction is kept (a discarded one leaves it as it was).
    transactionRecords_->add(std::move(record));
    return;
  }
  // Registered before the edit changes anything: the current layer is still the one it acts on.
  if (currentLayer_) noteCurrentLayer(record, currentLayer_());
  undoStack_.push_back(std::move(record));
  redoStack_.clear();
  markEdited();
}

void CMUndoManager::startTransaction(std::string name) {
  if (inTransaction_) platform::logWarning("undo transaction started inside another; the open one is dropped");
  inTransaction_ = true;
  transactionRecords_ = platform::Array::make();
  transactionName_ = std::move(name);
  transactionCurrent_ = currentLayer_ ? currentLayer_() : std::nullopt;
}

void CMUndoManager::endTransaction() {
  if (!inTransaction_) {
    platform::logWarning("undo transaction ended without being started");
    return;
  }
  inTransaction_ = false;
  const bool collected = !transactionRecords_->empty();
  platform::DictRef record =
      platform::Dictionary::make({{"items", std::move(transactionRecords_)}, {"type", kCMUndoTransaction}});
  if (!transactionName_.empty()) record->set("name", std::exchange(transactionName_, {}));
  noteCurrentLayer(record, std::exchange(transactionCurrent_, std::nullopt));
  undoStack_.push_back(std::move(record));
  transactionRecords_ = nullptr;
  // Redo records were made against the tree before this transaction changed it.
  if (collected) {
    redoStack_.clear();
    markEdited();
  }
}

void CMUndoManager::discardTransaction() {
  inTransaction_ = false;
  transactionCurrent_.reset();
  transactionRecords_ = nullptr;
  transactionName_.clear();
}

void CMUndoManager::undo() { replayLast(undoStack_, redoStack_); }

void CMUndoManager::redo() { replayLast(redoStack_, undoStack_); }

void CMUndoManager::replayLast(std::vector<platform::DictRef>& from, std::vector<platform::DictRef>& to) {
  if (from.empty()) return;
  platform::DictRef record = from.back();
  from.pop_back();
  if (!replay_) {
    platform::logWarning("no undo replay installed; the record is dropped");
    return;
  }
  if (platform::DictRef inverse = replay_(record)) {
    noteCurrentLayer(inverse, currentLayerOf(record));
    to.push_back(std::move(inverse));
  }
  markEdited();
}

void CMUndoManager::removeAllActions() {
  undoStack_.clear();
  redoStack_.clear();
}

void CMUndoManager::markEdited() {
  if (editHandler_) editHandler_();
}

platform::ArrayRef CMUndoManager::rootLayers() const { return root_ ? root_->array("layers") : nullptr; }

std::string CMUndoManager::actionCaption(std::int32_t type) {
  switch (type) {
    case kCMUndoEditing:
      return "Editing";
    case kCMUndoAdding:
    case kCMUndoAddingLayers:
      return "Adding";
    case kCMUndoDeleting:
      return "Deleting";
    case kCMUndoRootKeys:
    case kCMUndoLayerKeys:
    case kCMUndoVisibility:
    case kCMUndoPageSize:
    case kCMUndoTransaction:
      return "Modify";
    default:
      return "";
  }
}

std::string CMUndoManager::stepCaption(const platform::DictRef& record) {
  const std::string name = record->get("name").string();
  return name.empty() ? actionCaption(record->get("type").intValue()) : name;
}

std::string CMUndoManager::undoMenuItemTitle() const {
  if (undoStack_.empty()) return "Undo";
  return platform::formatString("Undo - %s", stepCaption(undoStack_.back()).c_str());
}

std::string CMUndoManager::redoMenuItemTitle() const {
  if (redoStack_.empty()) return "Redo";
  return platform::formatString("Redo - %s", stepCaption(redoStack_.back()).c_str());
}
